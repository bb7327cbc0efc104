#include "SECDTButtonGadget.h"

#include "LoadBitmapWithSysColors.h"
#include "SECAuxData.h"

IMPLEMENT_DYNCREATE(SECDTButtonGadget, SECDTGadget)

BOOL SECDTButtonGadget::Initialise(SECDateTimeCtrl* pCtrl, UINT nBitmapID, int nID) {
  SECDTGadget::Initialise(pCtrl, nID);
  m_nBitmapID = nBitmapID;
  return LoadBitmapWithSysColors(m_bitmap, MAKEINTRESOURCE(nBitmapID));
}

void SECDTButtonGadget::CalcSize(CDC&) { m_rect.SetRect(0, 0, 16, -1); }

void SECDTButtonGadget::Draw(CDC& dc) {
  const BOOL bPressed = (m_nState & Pressed) != 0;
  CRect r = m_rect;
  dc.FillSolidRect(&r, secData.clrBtnFace);
  if (bPressed) {
    dc.Draw3dRect(&r, secData.clrBtnShadow, secData.clrBtnShadow);
    r.DeflateRect(1, 1);
    dc.Draw3dRect(&r, secData.clrBtnFace, secData.clrBtnFace);
  } else {
    dc.Draw3dRect(&r, secData.clrBtnFace, secData.clrWindowFrame);
    r.DeflateRect(1, 1);
    dc.Draw3dRect(&r, secData.clrBtnHilite, secData.clrBtnShadow);
  }
  BITMAP bm{};
  if (!m_bitmap.GetSafeHandle() || !m_bitmap.GetBitmap(&bm)) return;
  CDC memDC;
  if (!memDC.CreateCompatibleDC(&dc)) return;
  CBitmap* pOld = memDC.SelectObject(&m_bitmap);
  const int shift = bPressed ? 1 : 0;
  const int x = m_rect.left + (m_rect.Width() - bm.bmWidth) / 2 + shift;
  const int y = m_rect.top + (m_rect.Height() - bm.bmHeight) / 2 + shift;
  dc.BitBlt(x, y, bm.bmWidth, bm.bmHeight, &memDC, 0, 0, SRCCOPY);
  memDC.SelectObject(pOld);
}

void SECDTButtonGadget::OnLButtonDown(UINT, CPoint) {
  m_nState = Tracking | Pressed;
  Invalidate(TRUE);
  CaptureMouse(TRUE);
}

void SECDTButtonGadget::OnMouseMove(UINT, CPoint point) {
  if (!(m_nState & Tracking)) return;
  const int state = m_rect.PtInRect(point) ? (Tracking | Pressed) : Tracking;
  if (state != m_nState) {
    m_nState = state;
    Invalidate(TRUE);
  }
}

void SECDTButtonGadget::OnLButtonUp(UINT, CPoint point) {
  if (!(m_nState & Tracking)) return;
  CaptureMouse(FALSE);
  if (m_rect.PtInRect(point)) Notify(CodeButton, 0);
  m_nState = 0;
  Invalidate(TRUE);
}

void SECDTButtonGadget::OnCancelMode() {
  if (!m_nState) return;
  CaptureMouse(FALSE);
  m_nState = 0;
  Invalidate(TRUE);
}

void SECDTButtonGadget::OnSysColorChange() {
  m_bitmap.DeleteObject();
  LoadBitmapWithSysColors(m_bitmap, MAKEINTRESOURCE(m_nBitmapID));
}
