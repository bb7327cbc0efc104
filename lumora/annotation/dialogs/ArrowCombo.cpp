#include "ArrowCombo.h"

void CArrowCombo::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  const DRAWITEMSTRUCT& di = *lpDrawItemStruct;
  const bool selected = (di.itemState & ODS_SELECTED) != 0;
  const bool entire = (di.itemAction & ODA_DRAWENTIRE) != 0;
  const bool selectChange = (di.itemAction & ODA_SELECT) != 0;
  COLORREF back, line;
  bool frame = false;
  if (selected && (entire || selectChange)) {
    const COLORREF hi = GetSysColor(COLOR_HIGHLIGHT);
    back = hi;
    line = RGB(255, 255, 255);
    frame = true;
  } else if (entire || selectChange) {
    back = RGB(255, 255, 255);
    line = RGB(0, 0, 0);
  } else {
    return;  // a focus change alone leaves the picture as it is
  }
  CDC* dc = CDC::FromHandle(di.hDC);
  CRect r(di.rcItem);
  dc->FillSolidRect(&r, back);
  if (frame) {
    const COLORREF hi = GetSysColor(COLOR_HIGHLIGHT);
    CBrush inverse(RGB(255 - GetRValue(hi), 255 - GetGValue(hi), 255 - GetBValue(hi)));
    dc->FrameRect(&r, &inverse);
  }
  const DWORD_PTR type = di.itemID == static_cast<UINT>(-1) ? 0 : di.itemData;
  if (type < 1 || type > 4) return;
  const int w = r.Width(), h = r.Height();
  const int mid = r.top + h / 2, left = r.left + w / 10, right = r.right - w / 10, d = h / 3;
  CPen pen(PS_SOLID, 1, line);
  CPen* oldPen = dc->SelectObject(&pen);
  dc->MoveTo(left, mid);
  dc->LineTo(right, mid);
  if (type == 2 || type == 4) {
    dc->MoveTo(right, mid);
    dc->LineTo(right - d, mid - d);
    dc->MoveTo(right, mid);
    dc->LineTo(right - d, mid + d);
  }
  if (type == 3 || type == 4) {
    dc->MoveTo(left, mid);
    dc->LineTo(left + d, mid - d);
    dc->MoveTo(left, mid);
    dc->LineTo(left + d, mid + d);
  }
  dc->SelectObject(oldPen);
}
