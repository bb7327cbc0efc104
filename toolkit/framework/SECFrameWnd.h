// SECFrameWnd: the class library's frame window. Here it docks, re-docks and floats
// bars through the library's own operations (on the library's dock bars when they are
// there); the rest of the library frame grows on this class.
#pragma once
#include <afxext.h>

class SECDockBar;

class SECFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(SECFrameWnd)
 public:
  SECFrameWnd() = default;

  virtual SECDockBar* CreateDockBar();
  virtual void FloatBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
};

namespace sec_frame {
// The dock-bar map of the library's frames: id and bar style, top, bottom, left, right.
struct DockBarEntry {
  UINT id;
  DWORD style;
};
inline constexpr DockBarEntry kDockBarMap[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
};
// The steps both library frames share.
void DockBar(CFrameWnd& frame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect);
void ReDockBar(CFrameWnd& frame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect);
void FloatBar(CFrameWnd& frame, CControlBar* pBar, CPoint point, DWORD dwStyle);
}  // namespace sec_frame
