#include "CRectTracker.h"

#include <algorithm>
#include <cstdlib>

#include "CDockContext.h"

UINT CRectTracker::GetHandleMask() const {
  // Corner handles always; side handles only where the rectangle is long enough.
  UINT mask = 0x0F;
  const int size = m_nHandleSize * 3;
  if (std::abs(m_rect.Width()) - size > 4) mask |= 0x50;
  if (std::abs(m_rect.Height()) - size > 4) mask |= 0xA0;
  return mask;
}

int CRectTracker::GetHandleSize(LPCRECT lpRect) const {
  CRect rect = lpRect ? CRect(lpRect) : m_rect;
  rect.NormalizeRect();
  int size = m_nHandleSize;
  if (!(m_nStyle & resizeOutside)) size = std::min(size, std::min(rect.Width(), rect.Height()) / 2);
  return std::max(size, 0);
}

int CRectTracker::HitTest(CPoint point) const {
  CRect rect = m_rect;
  rect.NormalizeRect();
  if (m_nStyle & (resizeInside | resizeOutside)) {
    const int size = GetHandleSize();
    const CRect handles[4] = {
        CRect(rect.left, rect.top, rect.left + size, rect.top + size),
        CRect(rect.right - size, rect.top, rect.right, rect.top + size),
        CRect(rect.right - size, rect.bottom - size, rect.right, rect.bottom),
        CRect(rect.left, rect.bottom - size, rect.left + size, rect.bottom)};
    for (int i = 0; i < 4; ++i)
      if ((GetHandleMask() & (1u << i)) && handles[i].PtInRect(point)) return i;
  }
  return rect.PtInRect(point) ? hitMiddle : hitNothing;
}

void CRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) {
  CRect rect = lpRect;
  rect.NormalizeRect();
  // The rectangle is in the tracked window's client coordinates; the clip window draws it.
  if (pWndClipTo && pWnd) {
    pWnd->ClientToScreen(&rect);
    pWndClipTo->ScreenToClient(&rect);
  }
  const int frame = std::max(GetHandleSize() - 1, 1);
  const CSize size(frame, frame);
  if (m_bFinalErase) {
    CRect none;
    pDC->DrawDragRect(&none, CSize(0, 0), &m_rectLast, m_sizeLast);
  } else {
    pDC->DrawDragRect(&rect, size, m_bErase ? nullptr : &m_rectLast, m_sizeLast);
  }
  m_rectLast = rect;
  m_sizeLast = size;
}

BOOL CRectTracker::Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert, CWnd* pWndClipTo) {
  if (!pWnd || !pWnd->m_hWnd || ::GetCapture()) return FALSE;
  const int hit = HitTest(point);
  if (hit == hitNothing) return FALSE;
  m_bAllowInvert = bAllowInvert;
  const CRect saved = m_rect;
  CPoint start = point;
  pWnd->ClientToScreen(&start);
  CWnd* clip = pWndClipTo ? pWndClipTo : CWnd::GetDesktopWindow();
  const HDC hdc = ::GetDCEx(clip->m_hWnd, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
  CDC* dc = CDC::FromHandle(hdc);
  m_bErase = TRUE;
  m_bFinalErase = FALSE;
  m_rectLast.SetRectEmpty();
  m_sizeLast = CSize(0, 0);
  bool drawn = false;
  auto draw = [&] {
    DrawTrackerRect(&m_rect, clip, dc, pWnd);
    m_bErase = FALSE;
    drawn = true;
  };
  auto erase = [&] {
    if (!drawn) return;
    m_bFinalErase = TRUE;
    DrawTrackerRect(&m_rect, clip, dc, pWnd);
    m_bFinalErase = FALSE;
    drawn = false;
  };
  pWnd->SetCapture();
  const BOOL ended = plat::afx::RunTrackLoop(
      pWnd->m_hWnd,
      {[&](CPoint screen) {
         const CRect old = m_rect;
         CRect next = saved;
         if (hit == hitMiddle) next.OffsetRect(screen - start);
         AdjustRect(hit, &next);
         if (next == m_rect && drawn) return;
         m_rect = next;
         OnChangedRect(old);
         draw();
       },
       [&] { erase(); }, [](UINT, BOOL) {}, [&] { erase(); }});
  if (::GetCapture() == pWnd->m_hWnd) ::ReleaseCapture();
  ::ReleaseDC(clip->m_hWnd, hdc);
  if (!ended) {
    m_rect = saved;
    return FALSE;
  }
  return m_rect != saved;
}
