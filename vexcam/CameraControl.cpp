// Camera status, power and the power check that finds the board, brings the camera up
// and configures the library for it.
#include <cmath>

#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "SettingsBlock.h"
#include "Timing.h"

namespace {

constexpr DWORD kExposureNormal = 0x1300, kExposureLong = 0x13FF, kRun = 0x1400;
constexpr LONG kConfiguredLowBits = 0xE;  // the power check configures model 0xA

}  // namespace

DWORD CCameraCtrl::ReadCameraStatus() {
  tCameraSettings& s = Settings();
  if (s.PCIaddress == kNoBoard) return 0;
  if (s.bISA) return ReadPortB(s.PCIaddress + 384, 0);
  if (!s.bPCI) return 0;
  DWORD status = ReadStatus(s.PCIaddress, 0);
  if (m_Revision >= 211 && m_Revision != 225) {
    if (status & 8) m_TriggerLatch = 1;
  } else {
    m_TriggerLatch = 0;
  }
  return status;
}

BOOL CCameraCtrl::WaitCameraReady() {
  tCameraSettings& s = Settings();
  BOOL ready = WaitHandshake("WaitCameraReady");
  if (s.bISA) WritePortB(s.PCIaddress + 387, 0, 0);
  if (s.bPCI) WritePortD(s.PCIaddress, 4, 1);
  if (m_Revision >= 211) m_Armed = false;
  return ready;
}

void CCameraCtrl::PowerOn() {
  tCameraSettings& s = Settings();
  if (s.bPCI && s.PCIaddress != kNoBoard) WritePortD(s.PCIaddress, 0, 0xB00);
  s.bSwitched = 1;
}

void CCameraCtrl::PowerOff() {
  tCameraSettings& s = Settings();
  if (s.bPCI && s.PCIaddress != kNoBoard) WritePortD(s.PCIaddress, 0, 0xB10);
  s.bSwitched = 0;
  FreePlaneStore();
}

BOOL CCameraCtrl::CheckCameraPower() {
  if (m_Searching) return FALSE;
  tCameraSettings& s = Settings();
  CameraGeometry& g = Geometry();
  BoardDeviceState& d = DeviceState();
  const LONG previous = s.CameraVer;
  if (s.bAbort) RearmExposure();

  if (s.AveragingCount > 0) {
    try {
      if (m_AverageBytes.empty()) m_AverageBytes.assign(513 * 3072, 0);
      if (m_AverageWords.empty()) m_AverageWords.assign(513 * 6144, 0);
    } catch (const std::bad_alloc&) {
      return FALSE;
    }
  } else {
    std::vector<BYTE>().swap(m_AverageBytes);
    std::vector<BYTE>().swap(m_AverageWords);
  }

  auto configure = [&] {
    if (!ConfigureModel()) {
      s.Camera_Status = -12;  // a geometry the library cannot work with: no capture runs
      return false;
    }
    if (!AllocLineStore() || !AllocSampleRows()) return false;
    LoadShiftTables(CameraSubType(s.CameraVer) == 6 || CameraModel(s.CameraVer) != 5);
    return true;
  };

  // Fast path: a camera checked before and still answering.
  if (s.Camera_Status == 0 && s.PCIaddress != kNoBoard && (s.bPCI != 0) != (s.bISA != 0) && m_StatusMask != 0 &&
      s.bSwitched && previous > 1) {
    if (s.CameraVer != m_ConfiguredVer || !m_GeometryValid) {
      if (!configure()) return FALSE;
      m_ConfiguredVer = s.CameraVer;
      m_LastRect = {};
    }
    return TRUE;
  }

  g.SubType = CameraSubType(previous);
  const LONG presetBoard = s.BoardNumber;
  s.CameraVer = 1;
  if (!SearchPCIAndSetGETA()) {
    if (s.Camera_Status == 0) s.Camera_Status = presetBoard ? -12 : s.BoardCount == 0 ? -10 : -11;
    if (s.Camera_Status == -15 && m_Revision >= 217 && s.PCIaddress != kNoBoard) {
      if (SHORT fault = FaultStatus(ReadPortD(s.PCIaddress, 12))) s.Camera_Status = fault;
    }
    PowerOff();
    s.BoardNumber = 0;
    s.PCIaddress = kNoBoard;
    s.CameraVer = previous;
    return FALSE;
  }

  m_StatusMask = m_Revision < 211 ? 9 : 1;
  const bool simulate = s.Mode & kModeSimulate;
  if (s.bPCI) {
    bool ready = false;
    if (simulate) {
      Delay(0.001);
      s.bSwitched = 1;
      ready = true;
    } else {
      for (LONG i = 0; i < d.portReadsPerHalfSecond && !ready; ++i) ready = ReadyStatus(ReadStatus(s.PCIaddress, 0));
    }
    if (!ready) {
      s.Camera_Status = -12;
      PowerOff();
      s.CameraVer = previous;
      return FALSE;
    }
  }
  s.CameraVer = 1;
  m_BoardModeFlag = (m_Revision <= 210 && ((s.Mode & 1) || (ReadCameraStatus() & 4))) || m_Revision == 225;
  if (!WaitHandshake("CheckCameraPower")) return FALSE;

  const LONG offset = g.LineOffset;
  bool sent = m_Revision >= 217 ? SendAddrCmmndPCI(15, 168) && SendAddrCmmnd(16, 143) &&
                                      SendAddrCmmndMACH(3, BYTE(offset % 256))
                                : SendAddrCmmndPCI(13, BYTE(offset % 256));
  if (sent && m_Revision != 225) {
    sent = m_Revision >= 217   ? SendAddrCmmndMACH(2, BYTE(offset / 256))
           : m_Revision >= 211 ? SendAddrCmmndPCI(14, BYTE(offset / 256))
                               : SendAddrCmmnd(14, BYTE(offset / 256));
  }
  if (!sent) return FALSE;
  if (s.bISA) return FALSE;  // the port-probed board carries no configured camera

  // Frame timing of the sensor: clocks per line and clock rows per frame of the variant,
  // at the frame rate of the camera.
  const double rate = simulate && (previous & 0x2000) ? 15.0 : 12.0;
  // The camera last configured tells the variant; a board of revision 217 or later always
  // carries it, and its clock figures hold from the first start on (not only once a start
  // has stored the variant), so every start times the frames alike.
  const bool variant = ((previous >> 12) & 0xF) != 0 || m_Revision >= 217;
  LONG clocks = variant ? 1790 : 1616;
  const LONG rows = variant ? 1068 : 1044;
  s.FrameClockCount = LONG(clocks * rows * rate * 0.002);
  g.LinesPerFrame = rows / 2;
  s.ShiftPositions[0][0][0][0] = LONG(std::lround(rate));
  const bool newBoard = m_Revision >= 217;
  clocks = newBoard ? 1790 : 1616;
  g.ClocksPerLine = clocks;
  g.FramePeriodMs = LONG(0.002 / (newBoard ? 46 : 40) * clocks * rows);
  const LONG model = 0xA, subType = 6;
  g.SubType = subType;
  s.CameraVer = 1 | model << 8 | kConfiguredLowBits | (newBoard ? 1 : 0) << 12 | subType << 4;
  if (!configure()) return FALSE;

  if (s.CameraVer & 2) {
    s.Camera_Ctrl = 0x80;
  } else {
    s.Camera_Ctrl = 0;
    UseLinearShiftCodes();
  }
  m_ConfiguredVer = s.CameraVer;
  m_LastRect = {};
  SetCameraCtrl(s.Camera_Ctrl);

  SetCDSGain(s.WBGain[s.GainLv]);
  if (s.Camera_Status != 0) return FALSE;
  if (!(s.CameraVer & 4))
    SetShutterStep(s.ExpMode);
  else if (ModelA())
    SetBlackLevel(s.BB_Lev[s.GainLv]);
  if (s.Camera_Status != 0) return FALSE;

  if (ModelA()) {
    s.AdTop = m_Revision < 217 ? 124 : 132;
    // The camera works with the A/D top the block holds, the value that is kept and read
    // back at the next start, not with the one the configuration sent before it.
    if (!SendAddrCmmndPCI(17, BYTE(s.AdTop))) return FALSE;
    SetExposure(1, 2);
    if (!WaitHandshake("CheckCameraPower")) return FALSE;
    WritePortD(s.PCIaddress, 0, s.ExposureLong ? kExposureLong : kExposureNormal);
    if (!WaitHandshake("CheckCameraPower")) return FALSE;
    WritePortD(s.PCIaddress, 0, kRun);
  }
  return s.Camera_Status == 0;
}
