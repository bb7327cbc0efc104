// What every still capture and the white-balance measurement do before the first frame:
// the picture format, the sensor window of the transfer mode, and arming the board.
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "CaptureFormat.h"
#include "SettingsBlock.h"

LONG CCameraCtrl::FormatImage(CTrueImage* image, RECT& rect) { return ::FormatImage(image, rect, Settings()); }

LONG CCameraCtrl::SetupCapture(CTrueImage* image, RECT rect, bool whiteBalance) {
  tCameraSettings& s = Settings();
  if (m_pProgress && (!whiteBalance || s.bAbort)) DestroyProgress();

  LONG f = ShiftFactor(s.TranMode), positions = f * f;
  if (FormatImage(image, rect) != 1) return kRectTooLarge;
  m_LastRect = rect;  // the window the board is set up for
  if (whiteBalance && image) image->CreateDIB();

  LONG x = rect.left, y = rect.top, w = rect.right - rect.left, h = rect.bottom - rect.top;
  auto scale = [&](auto op) { x = op(x), y = op(y), w = op(w), h = op(h); };
  if (s.TranMode == 4) scale([](LONG v) { return v / 2; });
  if (s.TranMode == 1) scale([](LONG v) { return v * 2; });
  if (s.TranMode >= 5 && s.TranMode <= 7) scale([](LONG v) { return v / 3; });
  if ((s.TranMode == 1 || s.TranMode == 2) && s.zoom == 0.5) scale([](LONG v) { return v * 2; });

  bool keepRaw = s.Mode & kModeKeepRaw;
  bool modelA = CameraModel(s.CameraVer) == 0xA;
  if (keepRaw && image) {
    if (s.TranMode == 4) image->m_dZoom = modelA ? 0.5 : 1.0;
    else if (s.TranMode >= 5) image->m_dZoom = modelA ? 1.0 / 3.0 : 2.0 / 3.0;
    else if ((s.TranMode == 1 || s.TranMode == 2) && CameraModel(s.CameraVer) == 5) image->m_dZoom = 2.0;
  }

  if (positions == 1) {
    if (keepRaw) WinSet(x, x + w + 2, y, y + h);
    else if (s.TranMode == 2) WinSet(x, x + w + 2, y, y + h + 2);
    else WinSet(x, x + w, y, y + h);
  } else if (keepRaw) {
    if (positions != 36 || whiteBalance) WinSet(x, x + w + 2, y, y + h + 2);
  } else if (positions == 4) {
    WinSet(x - 2, x + w + 2, y, y + h + 2);
  } else {
    WinSet(x - 2, x + w + 2, y - 2, y + h + 4);
  }

  if (s.PCIaddress == kNoBoard || s.Camera_Status != 0) return 0;
  if (s.bISA)
    StartFrame();
  else
    MoveToPosition(0, TRUE);

  if (modelA && (whiteBalance || m_Revision < 217)) {
    StartFrame();
    if (s.bPCI) {
      WaitFrameReady();
      if (!image || !image->m_pBits) return 0;
    } else {
      WaitCameraReady();
    }
    DrainLine(Geometry().LineBytes);
  }
  return 1;
}
