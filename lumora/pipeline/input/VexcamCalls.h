// The camera library's exports that the camera input calls, gathered in one table. The
// stage reaches the library only through it, so a test can put in an answer the
// simulated camera cannot give.
#pragma once
#include <windows.h>

#include "tCameraSettings.h"

class CTrueImage;

struct tVexcamCalls {
  int(WINAPI* GetMallocSize)(CTrueImage* image, RECT rect, tCameraSettings* settings);
  int(WINAPI* OnShutter)(CTrueImage* image, RECT rect, int flag, tCameraSettings* settings);
  int(WINAPI* CheckCameraPower)(tCameraSettings* settings);
  int(WINAPI* SetExposure)(tCameraSettings* settings);
  int(WINAPI* SetCDSGain)(const LONG* gains, tCameraSettings* settings);
  int(WINAPI* WhiteBalance)(CTrueImage* image, RECT rect, tCameraSettings* settings);
  int(WINAPI* CheckStatus)(tCameraSettings* settings);
  int(WINAPI* PowerOff)(tCameraSettings* settings);
};

// The exports of the loaded Vexcam library.
const tVexcamCalls& VexcamLibraryCalls();
