// Camera control over the board: status, power and the power check. The command
// protocol (register writes, the handshake with its recovery, model configuration) is
// not in yet: until it is, a handshake reports a camera that does not answer, register
// writes send nothing, and the power check finds the board but no ready camera.
#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "SettingsBlock.h"
#include "Timing.h"

BOOL CCameraCtrl::WaitHandshake(LPCSTR) {
  tCameraSettings& s = Settings();
  if (s.PCIaddress == kNoBoard) return FALSE;
  if (s.Mode & kModeSimulate) {
    Delay(0.001);
    return TRUE;
  }
  return FALSE;
}

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
  return ready;
}

void CCameraCtrl::WinSet(LONG, LONG, LONG top, LONG) {
  m_WindowTop = top;
  m_WindowChanged = true;
}

void CCameraCtrl::PowerOn() {
  tCameraSettings& s = Settings();
  if (s.bPCI) WritePortD(s.PCIaddress, 0, 0xB00);
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
  LONG previous = s.CameraVer;
  LONG presetBoard = s.BoardNumber;
  s.CameraVer = 1;
  if (!SearchPCIAndSetGETA()) {
    if (s.Camera_Status == 0) s.Camera_Status = presetBoard ? -12 : s.BoardCount == 0 ? -10 : -11;
  } else if (s.Camera_Status == 0) {
    s.Camera_Status = -12;  // the camera is not configured yet
  }
  PowerOff();
  s.BoardNumber = 0;
  s.PCIaddress = kNoBoard;
  s.CameraVer = previous;
  return FALSE;
}

void CCameraCtrl::SetCDSGain(const LONG*) {}
void CCameraCtrl::SetBlackLevel(const LONG*) {}
void CCameraCtrl::SetAGCGain(const LONG*) {}
void CCameraCtrl::SetAdTop(LONG) {}
void CCameraCtrl::WriteCDSParamToEEPROM(LONG) {}

void CCameraCtrl::FreePlaneStore() {
  for (auto& plane : m_Planes) plane.clear();
  m_RawLines.clear();
}
