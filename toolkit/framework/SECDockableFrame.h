// SECDockableFrame: a document frame that lives docked in a control bar of the main MDI
// frame, or floats with it. Here it has its class; the frame's own handling comes with the
// rest of the dockable windows.
#pragma once
#include "SECFrameWnd.h"

class SECDockableFrame : public SECFrameWnd {
  DECLARE_DYNCREATE(SECDockableFrame)
 public:
  SECDockableFrame() = default;
};
