// Gains, black levels, A/D top and the camera's EEPROM: register sequences sent after the
// power check. A send that fails ends its sequence.
#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "SettingsBlock.h"
#include "Timing.h"

namespace {

constexpr DWORD kExposureNormal = 0x1300, kExposureLong = 0x13FF;

// Puts Command_Repeat back however the sequence that changed it ends.
class RepeatOverride {
 public:
  RepeatOverride(tCameraSettings& s, LONG repeat) : m_Settings(s), m_Saved(s.Command_Repeat) {
    s.Command_Repeat = repeat;
  }
  ~RepeatOverride() { m_Settings.Command_Repeat = m_Saved; }
  RepeatOverride(const RepeatOverride&) = delete;
  RepeatOverride& operator=(const RepeatOverride&) = delete;

 private:
  tCameraSettings& m_Settings;
  LONG m_Saved;
};

}  // namespace

void CCameraCtrl::SetCameraCtrl(LONG value) {
  if ((Settings().CameraVer & 3) == 3 && value != 0x80) SendAddrCmmnd(10, BYTE(value));
}

void CCameraCtrl::SetAGCGain(const LONG* gains) {
  if (!CheckCameraPower()) return;
  static constexpr WORD kOrder[4] = {7, 6, 9, 8};
  for (int i = 0; i < 4; ++i)
    if (!SendAddrCmmnd(kOrder[i], BYTE(gains ? gains[i] : 0))) return;
}

void CCameraCtrl::SetAdTop(LONG value) {
  if (!CheckCameraPower()) return;
  SendAddrCmmnd(ModelA() ? 17 : 24, BYTE(value));
}

BOOL CCameraCtrl::SetCDSGain(const LONG* gains) {
  if (!CheckCameraPower()) return FALSE;
  tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  if (ModelA()) {
    // The camera's register counts down from 215 as the gain rises.
    auto code = [&](int reg) { return BYTE(215 - 2 * gains[g.GainChannel[reg - 2]] / 3); };
    if (!SendAddrCmmndPCI(2, code(2)) || !SendAddrCmmndPCI(3, code(3)) || !SendAddrCmmndPCI(4, code(4)) ||
        !SendAddrCmmnd(5, code(5)))
      return FALSE;
  } else {
    auto value = [&](int reg) { return BYTE(gains[g.GainChannel[reg - 2]]); };
    for (WORD reg = 2; reg <= 4; ++reg)
      if (!SendAddrCmmndPCI(reg, value(reg)) || !SendAddrCmmndPCI(reg, value(reg))) return FALSE;
    if (!SendAddrCmmndPCI(5, value(5)) || !SendAddrCmmnd(5, value(5))) return FALSE;
  }
  if (!SendAddrCmmndPCI(11, (s.Mode & 0x80) ? 1 : 0)) return FALSE;
  if (!WaitHandshake("SetCDSGain")) return FALSE;
  if (s.bPCI) WritePortD(s.PCIaddress, 0, s.ExposureLong ? kExposureLong : kExposureNormal);
  if (m_Revision >= 211) {
    WaitSyncPhase(2);
    Delay(0.001);
  }
  return TRUE;
}

void CCameraCtrl::SetBlackLevel(const LONG* levels) {
  if (!CheckCameraPower()) return;
  const CameraGeometry& g = Geometry();
  auto level = [&](int i) { return BYTE(levels[g.BlackChannel[i]]); };
  if (ModelA()) {
    if (!SendAddrCmmndPCI(6, level(0)) || !SendAddrCmmndPCI(7, level(1)) || !SendAddrCmmndPCI(8, level(2)) ||
        !SendAddrCmmnd(9, level(3)))
      return;
  } else {
    if (!SendAddrCmmndPCI(21, level(1)) || !SendAddrCmmndPCI(20, level(0)) || !SendAddrCmmndPCI(22, level(2)) ||
        !SendAddrCmmndPCI(23, level(3)))
      return;
  }
  if (m_Revision >= 211) {
    WaitSyncPhase(2);
    Delay(0.001);
  }
}

void CCameraCtrl::WriteCDSParamToEEPROM(LONG value) {
  tCameraSettings& s = Settings();
  if (CameraModel(s.CameraVer) != 5) {
    // The strobe sequence that makes the camera store its gains and black levels.
    for (BYTE strobe : {0, 16, 0, 32, 0, 64, 0})
      if (!SendAddrCmmnd(12, strobe)) return;
    return;
  }
  if (!(value & 0x70)) return;
  if (!SendAddrCmmndPCI(11, 2)) return;
  {
    RepeatOverride once(s, 1);
    const BYTE e = BYTE(s.ExpMode);
    for (BYTE data : {e, BYTE(e + 128), e, BYTE(e + value), e})
      if (!SendAddrCmmnd(12, data)) return;
  }
  SendAddrCmmndPCI(11, 0);
}
