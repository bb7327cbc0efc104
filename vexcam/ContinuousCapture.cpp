// Continuous capture. Not in yet: no frame is ever ready.
#include "CameraCtrl.h"

LONG CCameraCtrl::ContinueFrame(CTrueImage*) { return 0; }
