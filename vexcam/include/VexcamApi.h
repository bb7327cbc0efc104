// The camera library's exports. Each takes the caller's settings block last; the block
// is repaired (never refused), used for the call and not kept afterwards.
#pragma once
#include "WinTypes.h"
#include "tCameraSettings.h"

class CTrueImage;

#define KQ_API extern "C" __attribute__((visibility("default")))

KQ_API int WINAPI KQ_GetMallocSize(CTrueImage* image, RECT rect, tCameraSettings* settings);
KQ_API int WINAPI KQ_OnShutter(CTrueImage* image, RECT rect, int flag, tCameraSettings* settings);
KQ_API int WINAPI KQ_SetCDSGain(const LONG* gains, tCameraSettings* settings);
KQ_API int WINAPI KQ_SetExposure(tCameraSettings* settings);
KQ_API int WINAPI KQ_CheckCameraPower(tCameraSettings* settings);
KQ_API int WINAPI KQ_PowerOff(tCameraSettings* settings);
KQ_API int WINAPI KQ_PowerOn(tCameraSettings* settings);
KQ_API int WINAPI KQ_WhiteBalance(CTrueImage* image, RECT rect, tCameraSettings* settings);
KQ_API int WINAPI KQ_WriteCDSParamToEEPROM(int value, tCameraSettings* settings);
KQ_API int WINAPI KQ_SetAdTop(tCameraSettings* settings);
KQ_API int WINAPI KQ_CheckStatus(tCameraSettings* settings);
KQ_API int WINAPI KQ_MemoryShot(DWORD* buffer, CTrueImage* image, RECT rect, tCameraSettings* settings);
KQ_API int WINAPI KQ_ImageFromBuffer(WORD* raw, CTrueImage* image, RECT rect, tCameraSettings* settings);
KQ_API int WINAPI KQ_SetAGCGain(const LONG* gains, tCameraSettings* settings);
KQ_API int WINAPI KQ_RGBplaneUnit_Factory(int a, int b, int c, int rows, tCameraSettings* settings);
KQ_API int WINAPI KQ_CaptureImage_Factory(int left, int top, int right, int bottom, int type,
                                          tCameraSettings* settings);
KQ_API int WINAPI KQ_BitsArrayFromPlanesRaw(BYTE* rows, int width, int height, int stride,
                                            tCameraSettings* settings);
KQ_API int WINAPI KQ_OHPContinue(CTrueImage* image, tCameraSettings* settings);
