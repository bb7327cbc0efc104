#include "ScaleDetailsButton.h"

#include "AnnColorButton.h"

void CScaleDetailsButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  const DRAWITEMSTRUCT& di = *lpDrawItemStruct;
  const bool sunken = (di.itemAction & ODA_SELECT) && (di.itemState & ODS_FOCUS) && (di.itemState & ODS_SELECTED);
  CDC* dc = CDC::FromHandle(di.hDC);
  const CRect r(di.rcItem);
  CAnnColorButton::DrawFace(*dc, r, sunken);

  CString text;
  GetWindowText(text);
  CFont* oldFont = GetFont() ? dc->SelectObject(GetFont()) : nullptr;
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  CRect place = r;
  dc->DrawText(text, &place, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  dc->SetBkMode(oldMode);
  if (oldFont) dc->SelectObject(oldFont);

  // The triangle follows the dialog's flag, so a redraw never turns it the wrong way.
  const int h = r.Height(), x = r.left, y = r.top;
  const POINT up[] = {{x + 10, y + 2}, {x + 5, y + h - 3}, {x + 16, y + h - 3}};
  const POINT down[] = {{x + 5, y + 2}, {x + 16, y + 2}, {x + 10, y + h - 3}};
  CGdiObject* oldBrush = dc->SelectStockObject(BLACK_BRUSH);
  CGdiObject* oldPen = dc->SelectStockObject(BLACK_PEN);
  dc->Polygon(m_bExpanded ? up : down, 3);
  dc->SelectObject(oldPen);
  dc->SelectObject(oldBrush);
}
