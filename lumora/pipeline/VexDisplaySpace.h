// The live picture as the camera delivers it and as the panes show it: the eight
// rotation and reversal modes (0 and anything outside 1-7 leave it as it is) on the
// 640 x 512 grid, turned to 512 x 640 by the odd modes.
#pragma once
#include <windows.h>

namespace vexspace {

POINT PictureToDisplay(POINT picture, SHORT mode);
POINT DisplayToPicture(POINT display, SHORT mode);

}  // namespace vexspace
