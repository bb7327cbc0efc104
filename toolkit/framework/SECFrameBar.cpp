#include "SECFrameBar.h"

IMPLEMENT_DYNCREATE(SECFrameBar, SECControlBar)

BEGIN_MESSAGE_MAP(SECFrameBar, SECControlBar)
  ON_WM_DESTROY()
  ON_WM_PARENTNOTIFY()
  ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

// The bar's own window translation only: the control bar's would route the frame's keys.
BOOL SECFrameBar::PreTranslateMessage(MSG* pMsg) { return CWnd::PreTranslateMessage(pMsg); }

void SECFrameBar::OnDestroy() { SECControlBar::OnDestroy(); }

void SECFrameBar::OnParentNotify(UINT message, LPARAM lParam) { CWnd::OnParentNotify(message, lParam); }

int SECFrameBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  if (IsFloating()) {
    if (CWnd* top = GetTopLevelParent()) top->SetActiveWindow();
    return MA_ACTIVATE;
  }
  return static_cast<int>(Default());
}
