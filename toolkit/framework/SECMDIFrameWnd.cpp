#include "SECMDIFrameWnd.h"

IMPLEMENT_DYNCREATE(SECMDIFrameWnd, CFrameWnd)

void SECMDIFrameWnd::FloatBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  sec_frame::FloatBar(*this, pBar, point, dwStyle);
}

void SECMDIFrameWnd::FloatControlBarInMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  FloatBar(pBar, point, dwStyle);
}

void SECMDIFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  auto* dock = nDockBarID ? static_cast<CDockBar*>(GetControlBar(nDockBarID)) : nullptr;
  sec_frame::DockBar(*this, pBar, dock, lpRect);
}

void SECMDIFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  sec_frame::DockBar(*this, pBar, pDockBar, lpRect);
}

void SECMDIFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  sec_frame::ReDockBar(*this, pBar, pDockBar, lpRect);
}
