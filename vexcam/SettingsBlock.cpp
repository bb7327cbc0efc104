#include "SettingsBlock.h"

#include <algorithm>

#include "windows.h"

namespace {
// Each thread's export works on its own caller's block: the trigger poll's export on its
// thread must not take or drop the block of a capture running on another.
thread_local tCameraSettings* current = nullptr;
// Routines reached outside an export (start-up) read a block of defaults.
tCameraSettings& Fallback() {
  static tCameraSettings block = [] {
    tCameraSettings s{};
    s.PCIaddress = kNoBoard;
    s.zoom = 1.0;
    s.CameraVer = 0xA6F;
    s.BoardRevision = 1;
    s.BoardCount = 1;
    return s;
  }();
  return block;
}
}  // namespace

tCameraSettings& Settings() { return current ? *current : Fallback(); }
void UseSettings(tCameraSettings* settings) { current = settings; }
bool HaveSettings() { return current != nullptr; }

void NormaliseSettings(tCameraSettings& s) {
  if (s.zoom != 0.5 && s.zoom != 1.0 && s.TranMode != 1 && s.TranMode != 2) s.zoom = 1.0;

  if (s.GainLv < 0) {
    s.GainLv = 0;
  } else if (s.GainLv > 2) {
    for (int i = 0; i < 3; ++i) Beep(1000, 0);
    s.GainLv = 2;
  }

  s.TranMode = std::clamp<LONG>(s.TranMode, 0, CameraSubType(s.CameraVer) == 6 ? 7 : 4);

  if (CameraModel(s.CameraVer) == 0xA) {
    s.ExpMode = std::clamp<LONG>(s.ExpMode, 1, 3);
    if (s.ExpParam < 0) s.ExpParam = 0;
    if (s.ExpMode == 1) s.ExpParam = std::min<LONG>(s.ExpParam, s.BoardRevision < 217 ? 1043 : 1067);
    if (s.ExpMode == 2) s.ExpParam = std::min<LONG>(s.ExpParam, 2047);
  } else if (s.ExpMode < 0 || s.ExpMode > 7) {
    s.ExpMode = 1;
  }
}
