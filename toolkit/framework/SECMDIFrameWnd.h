// SECMDIFrameWnd: the class library's MDI frame. The stand-in has no MDI frame yet, so
// it stands on the framework frame; here it docks, re-docks and floats bars like
// SECFrameWnd, floats a bar "in the main window" through FloatControlBarInMDIChild, and
// raises its bar-move flag while a bar moves in or out of it.
#pragma once
#include "SECFrameWnd.h"

class SECMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(SECMDIFrameWnd)
 public:
  SECMDIFrameWnd() = default;

  virtual void FloatBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  // Floats the bar inside the main window; a point with a negative coordinate asks for
  // the next place of the cascade. Without MDI children the bar floats as usual.
  virtual void FloatControlBarInMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);

  BOOL m_bBarMoveInProgress = FALSE;
};
