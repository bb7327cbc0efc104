// Capture sequencing: the frame start here; the still capture sequencer is not in yet:
// a capture reports a camera that is not ready, the factory steps do nothing and no
// in-frame move is made.
#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "SettingsBlock.h"
#include "Timing.h"

LONG CCameraCtrl::OnShutter(CTrueImage*, RECT, LONG) { return -1; }
LONG CCameraCtrl::CaptureFactory(RECT, LONG) { return 0; }
LONG CCameraCtrl::MemoryShot(DWORD*, CTrueImage*, RECT) { return 1; }
LONG CCameraCtrl::ImageFromBuffer(WORD*, CTrueImage*, RECT) { return 1; }
void CCameraCtrl::InFrameMove() {}

// Starts the sensor's next frame: through the camera's register 11 on older boards, the
// board's own frame register from revision 217.
void CCameraCtrl::StartFrame() {
  tCameraSettings& s = Settings();
  if (!s.bPCI) {
    WritePortB(s.PCIaddress + 394, 0, 0);
    return;
  }
  if (m_Revision >= 211 && m_Armed) RearmExposure();
  const bool nt = DeviceState().nt && m_Revision >= 217;
  const bool preview = m_PreviewCapture && !m_BoardModeFlag;
  const BYTE base = BYTE((nt ? 0x20 : 0) | (preview ? 0x10 : 0));
  const bool half = m_Revision >= 211 && s.zoom == 0.5;
  const BYTE extra = half ? 0x40 : 0;
  if (s.Mode & 0x80)
    SendAddrCmmnd(11, BYTE(base + 0x81 + extra));
  else if (m_Revision >= 217)
    WritePortD(s.PCIaddress, 24, DWORD(1) << 8 | BYTE(base + extra));
  else
    SendAddrCmmnd(11, BYTE(base + 0x80 + extra));
  if (m_Revision >= 211)
    m_Armed = true;
  else
    StartStopwatch(0);
  if (!m_LineBlock) AllocLineStore();
}
