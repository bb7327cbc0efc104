// CRectTracker: a rectangle the user moves or sizes with the mouse. Tracking runs a
// modal loop with the mouse captured; the rectangle is drawn as a drag frame on the clip
// window (the desktop when none is given).
#pragma once
#include "afxwin.h"

class CRectTracker {
 public:
  enum StyleFlags {
    solidLine = 1,
    dottedLine = 2,
    hatchedBorder = 4,
    resizeInside = 8,
    resizeOutside = 16,
    hatchInside = 32,
  };
  enum TrackerHit {
    hitNothing = -1,
    hitTopLeft = 0,
    hitTopRight = 1,
    hitBottomRight = 2,
    hitBottomLeft = 3,
    hitTop = 4,
    hitRight = 5,
    hitBottom = 6,
    hitLeft = 7,
    hitMiddle = 8,
  };

  CRectTracker() = default;
  CRectTracker(LPCRECT lpSrcRect, UINT nStyle) : m_rect(lpSrcRect), m_nStyle(nStyle) {}
  virtual ~CRectTracker() = default;

  // Which part of the tracker `point` (client coordinates of the tracked window) is on.
  int HitTest(CPoint point) const;
  // Follows the mouse from `point` until the button is released (TRUE when the
  // rectangle changed) or Escape / a right click cancels (FALSE, rectangle restored).
  BOOL Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert = FALSE, CWnd* pWndClipTo = nullptr);

  virtual void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd);
  virtual void AdjustRect(int nHandle, LPRECT lpRect) {}
  virtual void OnChangedRect(const CRect& rectOld) {}
  virtual UINT GetHandleMask() const;
  virtual int GetHandleSize(LPCRECT lpRect = nullptr) const;

  CRect m_rect;
  UINT m_nStyle = 0;
  int m_nHandleSize = 7;
  CSize m_sizeMin{0, 0};

 protected:
  BOOL m_bAllowInvert = FALSE;
  CRect m_rectLast;
  CSize m_sizeLast{0, 0};
  BOOL m_bErase = FALSE;
  BOOL m_bFinalErase = FALSE;
};
