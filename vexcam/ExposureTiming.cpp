// Exposure and frame timing. The sync-phase wait is complete; the exposure commands and
// the frame wait come with the command protocol: until then exposure changes send
// nothing and no frame is ever ready.
#include <algorithm>

#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "SettingsBlock.h"
#include "Timing.h"

void CCameraCtrl::SetExposure(LONG, LONG) {}
void CCameraCtrl::SetShutterStep(LONG) {}
BOOL CCameraCtrl::WaitFrameReady() { return FALSE; }

BOOL CCameraCtrl::RearmExposure() {
  tCameraSettings& s = Settings();
  if (s.bPCI && s.PCIaddress != kNoBoard) WritePortD(s.PCIaddress, 4, 1);
  return TRUE;
}

// Kind 0 waits for the sync phase (status bit 2) to end, 1 for it to begin; 3 as 1, or
// until the counter runs past the frame; 2 first waits for the settle line, then as 3.
BOOL CCameraCtrl::WaitSyncPhase(int kind) {
  if (m_Revision < 211) return TRUE;
  tCameraSettings& s = Settings();
  if (s.Mode & kModeSimulate) {
    Sleep(kind == 3 ? 83 : 1);
    return TRUE;
  }
  const CameraGeometry& g = Geometry();
  int64_t budget = DeviceState().portReadsPerHalfSecond;
  if ((kind == 1 || kind == 3) && m_Revision >= 217 && s.ExpMode == 2 && s.ExpParam > 4) budget *= s.ExpParam;
  DWORD base = s.PCIaddress;
  bool first = true;
  for (int64_t reads = 0; reads < budget; ++reads) {
    DWORD status = ReadStatus(base, 0);
    LONG counter = LONG(status >> 16);
    if (first && kind >= 1 && s.ExpMode == 1 && g.LinesPerFrame > 0) {
      LONG remaining = std::max<LONG>(0, (kind == 2 ? g.SettleLine : g.LinesPerFrame) - counter);
      LONG ms = g.FramePeriodMs * remaining / g.LinesPerFrame - 10;
      if (ms > 10) Sleep(DWORD(ms));
    }
    first = false;
    if (kind == 2) {
      if (counter == g.SettleLine) kind = 3;
      continue;
    }
    bool sync = status & 4;
    if (kind == 0 ? !sync : sync) return TRUE;
    if (kind == 3 && g.LinesPerFrame > 0 && counter > g.LinesPerFrame + 10) return TRUE;
  }
  s.Camera_Status = -13;
  return FALSE;
}
