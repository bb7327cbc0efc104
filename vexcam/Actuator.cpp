// The sensor actuator of the pixel shift: raw targets, grid positions of the current
// factor and the bookkeeping of where it stands.
#include <algorithm>

#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "SettingsBlock.h"

namespace {

bool Model5Pci(const tCameraSettings& s) { return CameraModel(s.CameraVer) == 5 && s.bPCI; }

}  // namespace

// The readout places each position's samples by its column step: the column the
// actuator visits there.
static void CopySchedule(CCameraCtrl& cam) {
  std::copy(&cam.m_Shift.order[0][0], &cam.m_Shift.order[0][0] + 7 * 36, &cam.m_SubFrameSteps[0][0]);
}

void CCameraCtrl::LoadShiftTables(bool fullSet) {
  m_Shift.Build(fullSet);
  CopySchedule(*this);
}

void CCameraCtrl::UseLinearShiftCodes() {
  m_Shift.UseLinear();
  CopySchedule(*this);
}

BOOL CCameraCtrl::SetActuator(LONG x, LONG y) {
  tCameraSettings& s = Settings();
  const bool model5 = Model5Pci(s);
  if (model5) StartFrame();
  BOOL ok = SendAddrCmmndPCI(10, 0);
  if (model5) ok = SendAddrCmmnd(11, 2) && ok;
  ok = SendAddrCmmndPCI(0, BYTE(std::clamp<LONG>(x, 0, 255))) && ok;
  ok = SendAddrCmmndPCI(1, BYTE(std::clamp<LONG>(y, 0, 255))) && ok;
  if (model5) ok = SendAddrCmmnd(11, 0) && ok;
  return ok ? 1 : 0;
}

BOOL CCameraCtrl::MoveToPosition(LONG index, BOOL bookkeeping) {
  tCameraSettings& s = Settings();
  const bool model5 = Model5Pci(s);
  if (model5) SendAddrCmmnd(11, 2);
  if (bookkeeping) {
    m_Target[2] = m_Target[1];
    m_Target[1] = m_Target[0];
  }
  const BOOL moved = DriveActuator(index);
  m_MoveDone = moved != 0;
  if (bookkeeping) m_Target[0] = index;
  if (DeviceState().hasCounter) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    m_MoveTicks = now.QuadPart;
  }
  if (model5) SendAddrCmmnd(11, 0);
  return moved;
}

BOOL CCameraCtrl::DriveActuator(LONG index) {
  if (!CheckCameraPower()) return 0;
  const tCameraSettings& s = Settings();
  const LONG f = std::clamp<LONG>(m_ShiftFactor, 1, 6);
  if (index < 0 || index >= f * f) return 0;  // outside the grid: nothing to drive to
  const LONG row = index / f, column = m_Shift.order[f][index];
  auto targets = [&] {
    return SendAddrCmmndPCI(0, BYTE(s.ShiftPositions[f][0][row][column])) &&
           SendAddrCmmndPCI(1, BYTE(s.ShiftPositions[f][1][row][column]));
  };
  if (s.Camera_Ctrl == 0) return targets() ? 1 : 0;
  const LONG code = m_Shift.code[f][index];
  if (s.CameraVer > 1379) return SendAddrCmmndPCI(10, BYTE((code / 7) * 8 + s.Camera_Ctrl + code % 7)) ? 1 : 0;
  if ((f <= 4 && m_Revision < 211) || m_Revision == 225) return SendAddrCmmndPCI(10, BYTE(code + s.Camera_Ctrl)) ? 1 : 0;
  const bool ok = SendAddrCmmndPCI(10, 0) && targets() && SendAddrCmmndPCI(10, BYTE(s.Camera_Ctrl));
  return ok ? 1 : 0;
}
