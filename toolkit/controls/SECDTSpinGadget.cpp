#include "SECDTSpinGadget.h"

#include <algorithm>

#include "SECAuxData.h"

IMPLEMENT_DYNCREATE(SECDTSpinGadget, SECDTGadget)

namespace {
constexpr UINT kFirstDelay = 500;
constexpr UINT kRepeatRate = 100;
}  // namespace

void SECDTSpinGadget::CalcSize(CDC&) { m_rect.SetRect(0, 0, 16, -1); }

CRect SECDTSpinGadget::UpRect() const {
  return CRect(m_rect.left, m_rect.top, m_rect.right, m_rect.top + m_rect.Height() / 2);
}

CRect SECDTSpinGadget::DownRect() const {
  return CRect(m_rect.left, m_rect.top + m_rect.Height() / 2, m_rect.right, m_rect.bottom);
}

void SECDTSpinGadget::Draw(CDC& dc) {
  dc.FillSolidRect(&m_rect, secData.clrBtnFace);
  DrawHalf(dc, UpRect(), (m_nState & UpPressed) != 0, TRUE);
  DrawHalf(dc, DownRect(), (m_nState & DownPressed) != 0, FALSE);
}

void SECDTSpinGadget::DrawHalf(CDC& dc, const CRect& rect, BOOL bPressed, BOOL bUp) {
  CRect r = rect;
  if (bPressed) {
    dc.Draw3dRect(&r, secData.clrBtnShadow, secData.clrBtnHilite);
    r.DeflateRect(1, 1);
    dc.Draw3dRect(&r, secData.clrWindowFrame, secData.clrBtnFace);
  } else {
    dc.Draw3dRect(&r, secData.clrBtnFace, secData.clrWindowFrame);
    r.DeflateRect(1, 1);
    dc.Draw3dRect(&r, secData.clrBtnHilite, secData.clrBtnShadow);
  }
  r.DeflateRect(1, 1);
  if (r.IsRectEmpty()) return;
  const int c = std::min(r.Height() / 4 + 1, 4);
  const int shift = bPressed ? 1 : 0;
  const int cx = r.left + r.Width() / 2 + shift;
  if (c < 2) {
    dc.SetPixel(cx, r.top + r.Height() / 2 + shift, RGB(0, 0, 0));
    return;
  }
  // Filled rows of 1, 3, ... 2c-1 pixels, the point up or down.
  const int top = r.top + (r.Height() - c) / 2 + shift;
  const COLORREF oldBk = dc.GetBkColor();
  for (int row = 0; row < c; ++row) {
    const int half = bUp ? row : c - 1 - row;
    dc.FillSolidRect(cx - half, top + row, 2 * half + 1, 1, RGB(0, 0, 0));
  }
  dc.SetBkColor(oldBk);
}

void SECDTSpinGadget::OnLButtonDown(UINT, CPoint point) {
  const BOOL bUp = UpRect().PtInRect(point);
  if (!bUp && !DownRect().PtInRect(point)) return;
  CaptureMouse(TRUE);
  m_nState = bUp ? (UpPressed | TrackUp) : (DownPressed | TrackDown);
  Notify(bUp ? CodeSpinUp : CodeSpinDown, 1);
  Invalidate(TRUE);
  StartTimer(kFirstDelay);
  m_nState |= TimerOn | FirstDelay;
  m_nRepeat = 0;
}

void SECDTSpinGadget::OnTimer() {
  if (!(m_nState & (UpPressed | DownPressed))) return;
  if (m_nState & FirstDelay) {
    m_nState &= ~FirstDelay;
    StartTimer(kRepeatRate);
  }
  ++m_nRepeat;
  const int step = m_nRepeat <= 20 ? 1 : m_nRepeat <= 50 ? 2 : 5;
  Notify((m_nState & UpPressed) ? CodeSpinUp : CodeSpinDown, step);
}

void SECDTSpinGadget::OnMouseMove(UINT, CPoint point) {
  if (!(m_nState & (TrackUp | TrackDown))) return;
  const BOOL bUp = (m_nState & TrackUp) != 0;
  const int pressedBit = bUp ? UpPressed : DownPressed;
  const BOOL bOver = (bUp ? UpRect() : DownRect()).PtInRect(point);
  if (bOver && !(m_nState & pressedBit)) {
    m_nState = (m_nState | pressedBit | TimerOn) & ~FirstDelay;
    StartTimer(kRepeatRate);
    Invalidate(TRUE);
  } else if (!bOver && (m_nState & pressedBit)) {
    m_nState &= ~(pressedBit | TimerOn | FirstDelay);
    StopTimer();
    Invalidate(TRUE);
  }
}

void SECDTSpinGadget::OnLButtonUp(UINT, CPoint) { Release(); }

void SECDTSpinGadget::OnCancelMode() { Release(); }

void SECDTSpinGadget::Release() {
  if (!m_nState) return;
  CaptureMouse(FALSE);
  m_nState = 0;
  StopTimer();
  Invalidate(TRUE);
}
