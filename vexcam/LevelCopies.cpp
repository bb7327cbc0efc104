// The copy of the level, edge and contrast settings that every capture makes before its
// picture is built: the values of the transfer mode's resolution, or of the grey picture.
#include "CameraCtrl.h"
#include "SettingsBlock.h"

namespace {
constexpr DWORD kModeGrey = 0x40;
}  // namespace

void CCameraCtrl::CopyLevelSettings() {
  const tCameraSettings& s = Settings();
  vexcam::Enhancement& e = m_Enhancement;
  e.autoLevel = s.bAutoLevel != 0;
  e.edgeApp = s.bEdgeApp != 0;
  e.extraCont = s.bExtraCont != 0;
  e.threshold = ModelA() ? 12 : 48;

  const bool grey = s.Mode & kModeGrey;
  const LONG mode = s.TranMode == 0 && grey ? 1 : s.TranMode;
  LONG level, edge, contrast;
  if (mode >= 4 && mode <= 7) {
    level = grey ? s.nAutoLevelBw : s.nAutoLevelHigh;
    edge = grey ? s.EdgeAppLevelBw : s.EdgeAppLevelHigh;
    contrast = grey ? s.ContrastLevelBw : s.ContrastLevelHigh;
  } else if (mode >= 1 && mode <= 3) {
    level = grey ? s.nAutoLevelBw : s.nAutoLevelStd;
    edge = grey ? s.EdgeAppLevelBw : s.EdgeAppLevelStd;
    contrast = grey ? s.ContrastLevelBw : s.ContrastLevelStd;
  } else {
    return;  // raw planes keep the values of the last capture
  }
  e.cut = level;
  e.contrast = contrast * 8;
  if (mode == 4) {
    e.wa = edge * 16, e.wb = edge * 8;
  } else if (mode >= 5) {
    e.wa = edge * 32, e.wb = edge * 16;
  } else {
    e.wa = edge * 8, e.wb = 0;
  }
}
