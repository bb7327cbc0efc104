// White balance. Not in yet: the measurement finds no ready camera and the correction
// curves stay as they are.
#include "CameraCtrl.h"

LONG CCameraCtrl::WhiteBalance(CTrueImage*, RECT, LONG) { return -1; }
void CCameraCtrl::BuildLevelCurves(LONG) {}
