#include "MonitorBar.h"

BEGIN_MESSAGE_MAP(CMonitorBar, CProgressCtrl)
ON_WM_PAINT()
END_MESSAGE_MAP()

CMonitorBar::CMonitorBar() {
  m_brush.CreateSolidBrush(m_crBar);
  m_pen.CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
}

CMonitorBar::~CMonitorBar() = default;

int CMonitorBar::Round(double x) {
  const int n = static_cast<int>(x);
  return x - n >= 0.5 ? n + 1 : n;
}

void CMonitorBar::SetRange(int nLower, int nUpper) {
  m_nLower = std::min(nLower, nUpper);
  m_nUpper = std::max(nLower, nUpper);
}

int CMonitorBar::SetPos(int nPos) {
  const int previous = m_nPos;
  const int relative = nPos - m_nLower;
  m_nPos = relative < 0 ? 0 : relative;
  if (relative > m_nPeak) m_nPeak = relative;
  if (GetSafeHwnd()) InvalidateRect(nullptr, TRUE);
  return previous;
}

void CMonitorBar::SetBarColor(COLORREF color) {
  m_crBar = color;
  m_brush.DeleteObject();
  m_brush.CreateSolidBrush(color);
}

void CMonitorBar::Repaint() {
  if (!GetSafeHwnd()) return;
  InvalidateRect(nullptr, TRUE);
  UpdateWindow();
}

void CMonitorBar::ClearAll() {
  m_nPos = m_nPeak = 0;
  Repaint();
}

void CMonitorBar::ClearPos() {
  m_nPos = 0;
  Repaint();
}

void CMonitorBar::ClearPeak() {
  m_nPeak = 0;
  Repaint();
}

void CMonitorBar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  // Equal bounds have no scale: the bar stays empty.
  const int span = m_nUpper - m_nLower;
  if (span <= 0) return;
  const double scale = static_cast<double>(client.Width()) / span;
  CRect fill(0, 1, Round(m_nPos * scale), client.Height() - 1);
  dc.FillRect(&fill, &m_brush);
  CPen* old = dc.SelectObject(&m_pen);
  const int x = Round(m_nPeak * scale);
  dc.MoveTo(x, 1);
  dc.LineTo(x, client.Height() - 1);
  dc.SelectObject(old);
}
