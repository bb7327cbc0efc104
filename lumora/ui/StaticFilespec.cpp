#include "StaticFilespec.h"

#include <string>

BEGIN_MESSAGE_MAP(CStaticFilespec, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

void CStaticFilespec::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  CString text;
  GetWindowText(text);
  // The dialog's font, as the static control itself would use; without one, the font
  // controls draw with (not the DC's system font, which is taller than the line).
  CWnd* parent = GetParent();
  HFONT font = parent ? reinterpret_cast<HFONT>(parent->SendMessage(WM_GETFONT)) : nullptr;
  HGDIOBJ old = ::SelectObject(dc.m_hDC, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  // DrawTextEx works on its own copy: the window text stays whole.
  std::string work(static_cast<LPCSTR>(text));
  work.resize(work.size() + 8);
  const UINT ellipsis = m_bPathEllipsis ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS;
  ::DrawTextExA(dc.m_hDC, work.data(), text.GetLength(), &rc, m_dwFormat | ellipsis, nullptr);
  ::SelectObject(dc.m_hDC, old);
}

BOOL CStaticFilespec::OnEraseBkgnd(CDC* pDC) {
  CRect rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
  return TRUE;
}

LRESULT CStaticFilespec::OnSetText(WPARAM wParam, LPARAM lParam) {
  Default();
  // A new path is drawn at once.
  Invalidate(TRUE);
  return TRUE;
}
