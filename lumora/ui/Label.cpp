#include "Label.h"

#include <cstring>

#include "TextFit.h"

namespace {
constexpr UINT_PTR kFlashTimer = 1;
constexpr UINT kFlashMillis = 500;
constexpr UINT kRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
}  // namespace

BEGIN_MESSAGE_MAP(CLabel, CStatic)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
ON_WM_SETCURSOR()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CLabel::CLabel()
    : m_crText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_hBrush(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE))),
      m_hAltBrush(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE))) {
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof m_lf, &m_lf);
  m_font.CreateFontIndirect(&m_lf);
}

CLabel::~CLabel() {
  if (m_hBrush) ::DeleteObject(m_hBrush);
  if (m_hAltBrush) ::DeleteObject(m_hAltBrush);
}

void CLabel::OnDestroy() {
  if (m_bFlashing) KillTimer(kFlashTimer);
  m_bFlashing = 0;
  CStatic::OnDestroy();
}

void CLabel::ReconstructFont() {
  m_font.DeleteObject();
  m_font.CreateFontIndirect(&m_lf);
  Redraw();
}

void CLabel::Redraw() {
  if (GetSafeHwnd()) RedrawWindow(nullptr, nullptr, kRedraw);
}

CLabel& CLabel::SetText(const CString& text) {
  if (GetSafeHwnd()) SetWindowText(text);
  return *this;
}

CLabel& CLabel::SetTextColor(COLORREF color) {
  m_crText = color;
  Redraw();
  return *this;
}

CLabel& CLabel::SetBkColor(COLORREF color) {
  if (m_hBrush) ::DeleteObject(m_hBrush);
  m_hBrush = ::CreateSolidBrush(color);
  return *this;
}

CLabel& CLabel::SetFontBold(BOOL bold) {
  m_lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  ReconstructFont();
  return *this;
}

CLabel& CLabel::SetFontItalic(BOOL italic) {
  m_lf.lfItalic = static_cast<BYTE>(italic ? 1 : 0);
  ReconstructFont();
  return *this;
}

CLabel& CLabel::SetFontUnderline(BOOL underline) {
  m_lf.lfUnderline = static_cast<BYTE>(underline ? 1 : 0);
  ReconstructFont();
  return *this;
}

CLabel& CLabel::SetFontSize(int points) {
  m_lf.lfHeight = -points;
  ReconstructFont();
  return *this;
}

CLabel& CLabel::SetFontName(const CString& name) {
  // The face name field holds 31 bytes and its terminator; a longer name keeps its
  // whole characters only.
  const char* text = name;
  const size_t kept = textfit::WholeCharacters(text, std::strlen(text), LF_FACESIZE - 1);
  std::memcpy(m_lf.lfFaceName, text, kept);
  m_lf.lfFaceName[kept] = '\0';
  ReconstructFont();
  return *this;
}

CLabel& CLabel::SetSunken(BOOL sunken) {
  if (GetSafeHwnd())
    ModifyStyleEx(sunken ? 0 : WS_EX_STATICEDGE, sunken ? WS_EX_STATICEDGE : 0, SWP_DRAWFRAME);
  return *this;
}

CLabel& CLabel::SetBorder(BOOL border) {
  if (GetSafeHwnd()) ModifyStyle(border ? 0 : WS_BORDER, border ? WS_BORDER : 0, SWP_DRAWFRAME);
  return *this;
}

CLabel& CLabel::FlashText(BOOL on) {
  if (m_bFlashing) {
    // Whatever phase the timer left, the text comes back.
    if (m_nFlashKind == kText && GetSafeHwnd()) SetWindowText(m_strSaved);
    if (GetSafeHwnd()) KillTimer(kFlashTimer);
    m_bFlashing = 0;
    m_nFlashKind = kNone;
  }
  if (on && GetSafeHwnd()) {
    GetWindowText(m_strSaved);
    m_nPhase = 0;
    m_bFlashing = 1;
    SetTimer(kFlashTimer, kFlashMillis);
    m_nFlashKind = kText;
  }
  return *this;
}

CLabel& CLabel::FlashBackground(BOOL on) {
  if (m_bFlashing) {
    if (m_nFlashKind == kText && GetSafeHwnd()) SetWindowText(m_strSaved);
    if (GetSafeHwnd()) KillTimer(kFlashTimer);
    m_bFlashing = 0;
    m_nFlashKind = kNone;
    Redraw();
  }
  if (on && GetSafeHwnd()) {
    m_nPhase = 0;
    m_bFlashing = 1;
    SetTimer(kFlashTimer, kFlashMillis);
    m_nFlashKind = kBackground;
  }
  return *this;
}

CLabel& CLabel::SetLink(BOOL link) {
  m_bLink = link ? 1 : 0;
  if (GetSafeHwnd()) ModifyStyle(link ? 0 : SS_NOTIFY, link ? SS_NOTIFY : 0);
  return *this;
}

CLabel& CLabel::SetLinkCursor(HCURSOR cursor) {
  m_hCursor = cursor;
  return *this;
}

HBRUSH CLabel::CtlColor(CDC* pDC, UINT nCtlColor) {
  if (nCtlColor != CTLCOLOR_STATIC) return nullptr;
  pDC->SelectObject(&m_font);
  pDC->SetTextColor(m_crText);
  pDC->SetBkMode(TRANSPARENT);
  if (m_nFlashKind == kBackground && m_nPhase == 0) return m_hAltBrush;
  return m_hBrush;
}

void CLabel::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kFlashTimer) {
    CStatic::OnTimer(nIDEvent);
    return;
  }
  const int was = m_nPhase;
  m_nPhase = was ? 0 : 1;
  if (m_nFlashKind == kText)
    SetWindowText(was == 1 ? m_strSaved : CString());
  else if (m_nFlashKind == kBackground)
    Redraw();
}

void CLabel::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_bLink) {
    CString text;
    GetWindowText(text);
    ::ShellExecuteA(nullptr, "open", text, nullptr, nullptr, SW_SHOWNORMAL);
  }
  CStatic::OnLButtonDown(nFlags, point);
}

BOOL CLabel::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_hCursor) {
    ::SetCursor(m_hCursor);
    return TRUE;
  }
  return CStatic::OnSetCursor(pWnd, nHitTest, message);
}
