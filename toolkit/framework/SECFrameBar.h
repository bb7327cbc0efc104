// SECFrameBar: a control bar that lives inside a floating frame; the saved dock state
// leaves it out. Clicking it while it floats activates the application's frame.
#pragma once
#include "controls/SECControlBar.h"

class SECFrameBar : public SECControlBar {
  DECLARE_DYNCREATE(SECFrameBar)
 public:
  SECFrameBar() = default;

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg void OnDestroy();
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()
};
