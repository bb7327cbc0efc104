// The copy of the level, edge and contrast settings that every reconstruction reads:
// values of the transfer mode's resolution, or of the grey picture.
#include "CameraCtrl.h"
#include "SettingsBlock.h"

void CCameraCtrl::CopyLevelSettings() {
  const tCameraSettings& s = Settings();
  vexcam::Enhancement& e = m_Enhancement;
  e.autoLevel = s.bAutoLevel != 0;
  e.edgeApp = s.bEdgeApp != 0;
  e.extraCont = s.bExtraCont != 0;
  e.threshold = ModelA() ? 12 : 48;
  const bool grey = (s.Mode & 0x40) != 0;
  const LONG mode = s.TranMode;
  if (mode >= 4 && mode <= 7) {
    const LONG level = grey ? s.nAutoLevelBw : s.nAutoLevelHigh;
    const LONG edge = grey ? s.EdgeAppLevelBw : s.EdgeAppLevelHigh;
    const LONG contrast = grey ? s.ContrastLevelBw : s.ContrastLevelHigh;
    const bool finest = mode >= 5;
    e.cut = int(level);
    e.wa = int(edge * (finest ? 32 : 16));
    e.wb = int(edge * (finest ? 16 : 8));
    e.contrast = int(contrast * 8);
  } else if ((mode >= 1 && mode <= 3) || grey) {
    e.cut = int(grey ? s.nAutoLevelBw : s.nAutoLevelStd);
    e.wa = int((grey ? s.EdgeAppLevelBw : s.EdgeAppLevelStd) * 8);
    e.wb = 0;
    e.contrast = int((grey ? s.ContrastLevelBw : s.ContrastLevelStd) * 8);
  }
  // A raw colour capture (transfer mode 0) keeps the values it had.
}
