// White balance. Not in yet: the measurement finds no ready camera.
#include "CameraCtrl.h"

LONG CCameraCtrl::WhiteBalance(CTrueImage*, RECT, LONG) { return -1; }
