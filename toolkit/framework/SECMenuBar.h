// SECMenuBar: the toolbar that stands in for a frame's window menu. Here it is the bar's
// identity (its run-time class, so the toolbar dialogs treat it as the menu bar: always
// shown, never renamed) and its reset, which customising calls.
#pragma once
#include "controls/SECCustomToolBar.h"

class SECMenuBar : public SECCustomToolBar {
  DECLARE_DYNCREATE(SECMenuBar)
 public:
  // The control id a frame gives its menu bar.
  static constexpr UINT kMenuBarID = 0xE8FF;

  SECMenuBar() = default;
  // Puts back the buttons of the menu the bar shows, as customising found them.
  virtual void ResetMenus();
};
