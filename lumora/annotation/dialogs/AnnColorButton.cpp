#include "AnnColorButton.h"

void CAnnColorButton::DrawFace(CDC& dc, const CRect& rect, bool sunken) {
  dc.FillSolidRect(&rect, GetSysColor(COLOR_BTNFACE));
  CRect r = rect;
  if (sunken) {
    dc.Draw3dRect(&r, RGB(0, 0, 0), RGB(0, 0, 0));
    r.DeflateRect(1, 1);
    dc.Draw3dRect(&r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
  } else {
    dc.Draw3dRect(&r, RGB(255, 255, 255), RGB(0, 0, 0));
    r.DeflateRect(1, 1);
    dc.Draw3dRect(&r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
  }
}

void CAnnColorButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  const DRAWITEMSTRUCT& di = *lpDrawItemStruct;
  // Only a press seen as a selection change, with the focus, shows the button down.
  const bool sunken = (di.itemAction & ODA_SELECT) && (di.itemState & ODS_FOCUS) && (di.itemState & ODS_SELECTED);
  CDC* dc = CDC::FromHandle(di.hDC);
  const CRect r(di.rcItem);
  DrawFace(*dc, r, sunken);
  CRect swatch(r.left + r.Width() / 4, r.top + r.Height() / 6, r.right - r.Width() / 4, r.bottom - r.Height() / 6);
  if (sunken) swatch.OffsetRect(1, 1);
  CBrush brush(m_color);
  CBrush* oldBrush = dc->SelectObject(&brush);
  CGdiObject* oldPen = dc->SelectStockObject(BLACK_PEN);
  dc->Rectangle(&swatch);
  dc->SelectObject(oldPen);
  dc->SelectObject(oldBrush);
}
