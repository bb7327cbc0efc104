#include "StaticFilespec.h"

BEGIN_MESSAGE_MAP(CStaticFilespec, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

void CStaticFilespec::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  CString text;
  GetWindowText(text);
  // The dialog's font, as the static control itself would use.
  CFont* font = GetParent() ? GetParent()->GetFont() : nullptr;
  CFont* old = font ? dc.SelectObject(font) : nullptr;
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  const UINT ellipsis = m_bPathEllipsis ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS;
  dc.DrawText(text, &rc, m_format | DT_SINGLELINE | ellipsis);
  if (old) dc.SelectObject(old);
}
