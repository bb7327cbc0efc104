// Pictures from the colour planes and the plane fill. Not in yet: without planes there
// is nothing to build, so the kernels write nothing.
#include "CameraCtrl.h"

LONG CCameraCtrl::RGBFromPlanesRaw(BYTE*, LONG, LONG, LONG) { return 0; }
LONG CCameraCtrl::FillPlanesFromUnits(LONG, LONG, LONG, LONG) { return 0; }
