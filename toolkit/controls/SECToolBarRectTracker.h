// SECToolBarRectTracker: the frame a dragged toolbar button follows: the button's
// rectangle with a hatched border, drawn as a drag frame one pixel under the handle size.
#pragma once
#include <afxwin.h>

#include "CRectTracker.h"

class SECToolBarRectTracker : public CRectTracker {
 public:
  explicit SECToolBarRectTracker(LPCRECT lpRect) : CRectTracker(lpRect, hatchedBorder) {}
  void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) override {
    CRectTracker::DrawTrackerRect(lpRect, pWndClipTo, pDC, pWnd);
  }
};
