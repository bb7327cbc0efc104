// What the last capture was taken with; written into the saved picture's texts.
#pragma once
#include <windows.h>

struct tShotParameters {
  LONG version;        // program version
  LONG fineMode;
  LONG resizeCode;     // resize size + 1, or 0 without resizing
  LONG contrastOffset, levelOffset, sharpnessOffset;  // 0 without automatic enhancement
  LONG direction, flip, colorMode, sensitivity;
  LONG exposure;       // seconds of a long exposure, or minus the exposure step
  LONG retouched;      // set once the retouch has worked on the picture
};
