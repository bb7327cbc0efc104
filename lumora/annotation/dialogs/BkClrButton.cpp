#include "BkClrButton.h"

#include "AnnColorButton.h"

void CBkClrButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  const DRAWITEMSTRUCT& di = *lpDrawItemStruct;
  const bool pressed = (di.itemState & ODS_SELECTED) != 0;
  CDC* dc = CDC::FromHandle(di.hDC);
  const CRect r(di.rcItem);
  CAnnColorButton::DrawFace(*dc, r, pressed);
  CRect inner(r.left + 2, r.top + 2, r.right - 3, r.bottom - 3);
  if (pressed) inner.OffsetRect(1, 1);
  dc->FillSolidRect(&inner, m_bkColor);

  CString text;
  GetWindowText(text);
  CFont* oldFont = GetFont() ? dc->SelectObject(GetFont()) : nullptr;
  const COLORREF oldColor = dc->SetTextColor(m_textColor);
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  CRect place = r;
  if (pressed) place.OffsetRect(1, 1);
  dc->DrawText(text, &place, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  dc->SetBkMode(oldMode);
  dc->SetTextColor(oldColor);
  if (oldFont) dc->SelectObject(oldFont);
}
