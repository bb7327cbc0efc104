// The settings block of the export that is running, and its normalisation: every export
// repairs out-of-range values in the caller's block before it uses it.
#pragma once
#include "tCameraSettings.h"

// The block of the export running on this thread; owned by the caller.
tCameraSettings& Settings();
void UseSettings(tCameraSettings* settings);
bool HaveSettings();

// Clamps zoom, gain level, transfer mode and exposure into their ranges. Never fails.
void NormaliseSettings(tCameraSettings& s);

// Camera identity fields of CameraVer.
inline LONG CameraSubType(LONG cameraVer) { return (cameraVer >> 4) & 0xF; }
inline LONG CameraModel(LONG cameraVer) { return (cameraVer >> 8) & 0xF; }
constexpr DWORD kNoBoard = 0xFFFFFFFF;

// Option bits of Mode that the board layer reads.
enum : DWORD {
  kModeRotate = 0x10,
  kModeInverted = 0x20,
  kModeSimulate = 0x100,
  kModeKeepRaw = 0x8000,
};
