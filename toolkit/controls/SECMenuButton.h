// SECMenuButton: a bitmap button that shows a popup menu under itself when clicked and
// sends the chosen command to its parent. The menu opens only after the button's own
// click processing has finished (capture released, parent told).
#pragma once
#include "SECBitmapButton.h"

class SECMenuButton : public SECBitmapButton {
  DECLARE_DYNAMIC(SECMenuButton)
 public:
  // The menu shown: popup `nSubMenu` of menu resource `nIDMenu`. FALSE when it is missing.
  BOOL AttachMenu(UINT nIDMenu, int nSubMenu = 0);

 protected:
  void OnInput() override;
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  CMenu m_menu;
  int m_nSubMenu = 0;
};
