// Capture sequencing: one still capture from the shutter to the finished picture, the
// choice between the single-frame readout and the pixel shift, the shift run itself and
// the frame start.
#include <algorithm>

#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "CaptureFormat.h"
#include "ColourReconstruction.h"
#include "SettingsBlock.h"
#include "Timing.h"

namespace {

constexpr DWORD kModeGrey = 0x40, kModeNoTimer = 0x400, kModeAutoExposure = 0x10000, kModeReconfigure = 0x100000,
                kModeShiftRule = 0x200000, kModeFields = 0x1000;
constexpr int kCaptureWatch = 1;  // the frame timer (0) restarts at every re-arm

bool ShortExposure(const tCameraSettings& s, LONG revision) {
  return (s.ExpMode == 1 && s.ExpParam > 0) || (s.ExpMode == 2 && s.ExpParam == 1) || revision == 225;
}
bool LongExposure(const tCameraSettings& s) { return s.ExpMode == 2 && s.ExpParam > 1; }

struct SensorRect {
  LONG x, y, width, height;
};
// The sensor's rectangle of a picture rectangle in the transfer mode.
SensorRect ToSensor(const tCameraSettings& s, RECT r) {
  SensorRect out{r.left, r.top, r.right - r.left, r.bottom - r.top};
  auto scale = [&](auto op) { out = {op(out.x), op(out.y), op(out.width), op(out.height)}; };
  if (s.TranMode == 1) scale([](LONG v) { return v * 2; });
  if (s.TranMode == 4) scale([](LONG v) { return v / 2; });
  if (s.TranMode >= 5 && s.TranMode <= 7) scale([](LONG v) { return v / 3; });
  return out;
}

LONG PictureStrideOf(const CTrueImage& image) {
  return image.m_nStride > 0 ? image.m_nStride : RowStride(image.m_nWidth, 3);
}

// Whether the image's header already describes a picture of the rectangle.
bool HeaderFits(const CTrueImage& image, RECT rect, const tCameraSettings& s) {
  LONG w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (s.Mode & kModeRotate) std::swap(w, h);
  const CameraGeometry& g = Geometry();
  if (w <= 0 || h <= 0 || (g.MaxWidth > 0 && (w > g.MaxWidth || h > g.MaxHeight))) return false;
  return image.m_nWidth == w && image.m_nHeight == h && image.m_nStride == RowStride(w, 3) &&
         image.m_Bitmap.bmWidth == w && image.m_Bitmap.bmHeight == h && image.m_Bitmap.bmWidthBytes == RowStride(w, 3);
}

LONG TimeValue(const tCameraSettings& s) {
  return (s.Mode & kModeNoTimer) ? 0 : std::max<LONG>(1, ElapsedMs(kCaptureWatch));
}

}  // namespace

void CCameraCtrl::TakePurpose(const CTrueImage* image) {
  const tCameraSettings& s = Settings();
  const LONG purpose = image ? image->m_nReserved : 0;
  m_PreviewCapture = purpose < 10;
  m_ColourCapture = purpose > 0;
  m_Hold = purpose > 0 && purpose < 10;
  m_Enhancement.enabled = m_ColourCapture;
  if (s.Mode & kModeShiftRule)
    m_ShiftInFrame = s.ExpMode == 1 || (s.ExpMode == 2 && s.ExpParam == 1);
  else
    m_ShiftInFrame = purpose == 0;
  if (m_PreviewCapture && m_CaptureOptionB) m_ShiftInFrame = false;
}

LONG CCameraCtrl::OnShutter(CTrueImage* image, RECT rect, LONG) {
  tCameraSettings& s = Settings();
  if (!CheckCameraPower() || !image) return -1;
  m_pImage = image;
  s.TranMode = std::clamp<LONG>(s.TranMode, 0, CameraSubType(s.CameraVer) == 6 ? 7 : 4);

  RECT whole = rect;  // an empty rectangle: the whole frame of the transfer mode
  if (::FormatImage(nullptr, whole, s) != 1) return kRectTooLarge;
  if (!HeaderFits(*image, whole, s)) {
    ::FormatImage(image, whole, s);
    // Pixel memory of another size would be written past its end: the new size gets its own.
    image->CreateDIB();
  }
  if (!image->m_pBits) image->CreateDIB();
  if (!image->m_pBits) return -1;

  if (s.Mode & kModeReconfigure) {
    ConfigureModel();
    s.Mode &= ~kModeReconfigure;
  }
  // The same picture rectangle in another transfer mode or zoom is another sensor window.
  const bool cached = EqualRect(&whole, &m_LastRect) && m_WindowTranMode == s.TranMode && m_WindowZoom == s.zoom;
  if (!cached || !s.bPCI) {
    m_WindowTranMode = s.TranMode, m_WindowZoom = s.zoom;
    const LONG set = SetupCapture(image, whole, false);
    if (set != 1) {
      m_LastRect = {};  // set up again next time
      return set == kRectTooLarge ? kRectTooLarge : -1;
    }
  } else if (s.bAbort) {
    DestroyProgress();
  }
  CopyLevelSettings();
  if (s.Mode & kModeKeepRaw) return ContinueFrame(image, true);

  // Live frames follow each other: the next one exposes while this one is read out.
  m_Overlap = image->m_nReserved < 10;
  const LONG result = CaptureImage(image, m_LastRect);
  // Only a finished capture counts towards the mean time; the frame waits' sleeps are
  // not part of it.
  LONG stored = result;
  if (result > 0) {
    stored = std::max<LONG>(1, result - m_ExpectedWaitMs);
    m_CaptureTimes.Add(stored);
    m_MeanCaptureMs = m_CaptureTimes.Mean();
  }
  m_ExpectedWaitMs = 0;
  if (s.bAbort) return 0;
  return stored;
}

LONG CCameraCtrl::CaptureImage(CTrueImage* image, RECT rect) {
  tCameraSettings& s = Settings();
  TakePurpose(image);
  m_pImage = image;
  if (s.zoom != 0.5 && s.zoom != 1.0) s.zoom = 1.0;
  if (!s.bPCI) return CapturePortBoard(image, rect);

  LONG result = 0;
  bool shifted = true;
  const LONG option = m_PreviewCapture ? m_CaptureOptionB : m_CaptureOptionA;
  if (!option && ShortExposure(s, m_Revision) && !(s.Mode & kModeRotate)) {
    const bool half = s.zoom == 0.5;
    const LONG r = m_Revision;
    const bool old = r >= 211 && r <= 224;
    shifted = false;
    if (!m_ColourCapture && s.TranMode == 1)
      result = half && r >= 211 ? DispatchHalfZoomHalf(image, rect) : DispatchHalf(image, rect);
    else if (!m_ColourCapture && s.TranMode == 2 && half && old)
      result = DispatchFullZoomHalf(image, rect);
    else if (!m_ColourCapture && s.TranMode == 2 && half && r == 225) {
      s.zoom = 1.0;
      s.TranMode = 1;
      result = DispatchHalf(image, rect);
    } else if (!m_ColourCapture && s.TranMode == 2 && !half && r >= 212)
      result = DispatchFull(image, rect);
    else if (m_ColourCapture && s.TranMode == 1)
      result = half && old ? DispatchHalfZoomHalf(image, rect) : DispatchHalf(image, rect);
    else
      shifted = true;
  }
  if (shifted) result = CaptureShifted(image, rect);

  if (m_ColourCapture && !shifted && result > 0 && image && image->m_pBits) {
    CopyLevelSettings();
    ApplyLevels(image->m_pBits, image->m_nWidth, image->m_nHeight, PictureStrideOf(*image));
  }
  if (result == 0 && !s.bAbort) s.Camera_Status = -13;
  if (m_Revision >= 217 && !m_PreviewCapture) RearmExposure();
  return result;
}

// The picture from the planes of a single-position capture, by transfer mode.
static LONG BuildSinglePicture(CCameraCtrl& cam, CTrueImage& image) {
  tCameraSettings& s = Settings();
  BYTE* bits = image.m_pBits;
  const LONG w = image.m_nWidth, h = image.m_nHeight, stride = PictureStrideOf(image);
  LONG done = 1;
  if (s.TranMode == 2)
    done = vexcam::Reconstruct(cam.ColourJob(), cam.m_ColourCapture ? s.InterPolationMethod : 0, bits, w, h, stride);
  else if (s.TranMode == 1)
    done = (s.Mode & kModeFields) ? cam.RGBHalfSizeShift(bits, w, h, stride) : cam.RGBHalfSize(bits, w, h, stride);
  else
    return cam.RGBFromPlanesRaw(bits, w, h, stride);
  if (!done) return 0;
  if (s.Mode & kModeGrey) ConvertToGrey(w, h, bits);
  cam.ApplyLevels(bits, w, h, stride);
  return 1;
}

static void AutoExposureAfter(CCameraCtrl& cam, CTrueImage& image) {
  const tCameraSettings& s = Settings();
  if (!cam.ModelA() || !(s.Mode & kModeAutoExposure)) return;
  LONG mean = 0, peak = 0;
  cam.PictureExposureStats(image.m_pBits, image.m_nWidth, image.m_nHeight, &mean, &peak);
  cam.AdjustAutoExposure(mean, peak, 250, 254);
}

LONG CCameraCtrl::CaptureShifted(CTrueImage* image, RECT rect) {
  tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  CopyLevelSettings();
  const LONG f = ShiftFactor(s.TranMode), cells = f * f;
  const SensorRect r = ToSensor(s, rect);
  if (r.width > g.FrameWidth + 8 || r.height > g.FrameHeight + 8) return kRectTooLarge;
  if (!image || !image->m_pBits) return 0;
  const bool option = (m_PreviewCapture ? m_CaptureOptionB : m_CaptureOptionA) != 0;
  if (!m_PreviewCapture && m_CaptureOptionA) {
    WaitSyncPhase(2);
    MoveToPosition(0, TRUE);
    WaitSyncPhase(1);
    WaitSyncPhase(0);
    m_MoveDone = false;
  }
  m_ShiftFactor = f;
  m_FrameCounter = 0;
  const bool timed = !(s.Mode & kModeNoTimer);

  if (cells == 1) {
    if (!m_PreviewCapture) {
      RestartExposure(1);
      if (!(m_Revision >= 217 && LongExposure(s))) StartFrame();
    } else if (m_ExposureChanged) {
      RestartExposure(1);
      StartFrame();
      if (m_Revision >= 217 && LongExposure(s)) {
        WaitSyncPhase(0);
        WaitSyncPhase(1);
      }
    }
    if (timed) StartStopwatch(kCaptureWatch);
    LONG read;
    if (m_Revision >= 212) {
      if (option && s.zoom == 1.0) {
        // The diagonal pair: positions 0 and 3 of the 2 x 2 grid, read as two fields.
        m_ShiftFactor = 2;
        s.Mode |= kModeFields;
        const LONG a = m_DiagonalStart ? 3 : 0, b = 3 - a;
        read = ReadSubFrame(r.x, r.width, r.height, a, b);
        if (read && !m_PreviewCapture) read = ReadSubFrame(r.x, r.width, r.height, b, a);
        m_DiagonalStart = !m_DiagonalStart;
        s.Mode &= ~kModeFields;
        m_ShiftFactor = 1;
      } else {
        read = ReadSubFrame(r.x, r.width, r.height, 0, 0);
      }
    } else {
      read = ReadMemoryShot(r.x, r.y, r.width, r.height, 0, 0, 1);
      if (read) PlanesFromSubFrame(0, 0, r.width + 2, r.height + 2);
    }
    if (!read || s.bAbort) return 0;
    if (ModelA() && m_Revision < 217 && s.TranMode == 2 && !m_ExposureComplete) return -1;
    const LONG elapsed = TimeValue(s);
    if (!BuildSinglePicture(*this, *image) || s.bAbort) return 0;
    AutoExposureAfter(*this, *image);
    if (!m_PreviewCapture) DestroyProgress();
    return elapsed;
  }

  const bool longExposure = LongExposure(s);
  auto settle = [this] {
    SetActuator(200, 200);
    Sleep(35);
    SetActuator(0, 0);
    Sleep(35);
    MoveToPosition(0, TRUE);
  };
  m_BatchFirst = 0, m_BatchLast = 1;
  m_Armed = false;
  if (m_Revision < 217) {
    if (ModelA() && longExposure)
      SetExposure(1, 1);
    else
      WaitSyncPhase(1);
    settle();
    WaitSyncPhase(0);
    WaitSyncPhase(2);
    m_MoveDone = false;
    RestartExposure(1);
    StartFrame();
    if (m_Revision < 211) {
      WaitFrameReady();
      DrainLine(g.LineBytes);
      if (!image->m_pBits) return 0;
    }
    if (timed) StartStopwatch(kCaptureWatch);
  } else {
    if (longExposure) SetExposure(1, 1);
    settle();
    if (!longExposure) m_MoveDone = false;
    WaitSyncPhase(1);
    if (longExposure) {
      SetExposure(s.ExpParam, 2);
      if (timed) StartStopwatch(kCaptureWatch);
    } else {
      if (timed) StartStopwatch(kCaptureWatch);
      StartFrame();
    }
  }

  m_ShiftRunning = true;
  const LONG step = s.TranMode == 6 ? 2 : 1;
  const bool checker = step == 2 && (s.CameraVer & 3) == 3;
  auto stop = [this] {
    m_ShiftRunning = false;
    SetActuator(0, 0);
    return 0;
  };
  for (LONG i = 0; i < cells; i += step) {
    const LONG first = i + (checker ? (i / f) % 2 : 0);
    if ((s.CameraVer & 3) == 1 && m_Shift.order[f][first] == 0 && first / f > 0) {
      StartFrame();
      if (m_Revision < 211) WaitFrameReady();
      DrainLine(g.LineBytes);
    }
    LONG read;
    if (ModelA()) {
      const LONG last = checker ? (i + 2) + ((i + 2) / f) % 2 : first + step;
      m_BatchFirst = first, m_BatchLast = last;
      if (m_Revision >= 212) {
        read = ReadSubFrame(r.x, r.width, r.height, first, last < cells ? last : 0);
      } else {
        read = ReadMemoryShot(r.x, r.y, r.width, r.height, 0, first, last);
      }
    } else {
      if (m_Revision < 211 && r.height < g.FrameHeight / 4 && r.y < g.FrameHeight / 2) {
        StartFrame();
        WaitFrameReady();
        DrainLine(g.LineBytes);
      }
      read = ReadMemoryShot(r.x, r.y, r.width, r.height, 0, first, first + 1);
    }
    if (!read || s.bAbort) return stop();
  }
  m_ShiftRunning = false;
  const LONG elapsed = TimeValue(s);
  RearmExposure();

  BYTE* bits = image->m_pBits;
  const LONG w = image->m_nWidth, h = image->m_nHeight, stride = PictureStrideOf(*image);
  const LONG positions = s.TranMode == 6 ? 18 : cells;
  LONG built;
  if (positions == 9 || positions == 18) {
    built = positions == 9 ? ReconstructPlanes(bits, w, h, stride) : RGBFromShift18(bits, w, h, stride);
    if (built && !s.bAbort) {
      if (s.Mode & kModeGrey) ConvertToGrey(w, h, bits);
      ApplyLevels(bits, w, h, stride);
    }
  } else {
    built = (s.Mode & kModeGrey) ? GreyFromPlanes(bits, w, h, stride) : RGBFromPlanes(bits, w, h, stride);
  }
  if (!built || s.bAbort) return stop();
  SetActuator(0, 0);
  if (!m_PreviewCapture) DestroyProgress();
  return elapsed;
}

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

// On the older boards a shift capture that moves the actuator inside the frame wait must
// know where the frame just taken was exposed: an actuator that moved on a frame period
// before (and the sensor already past the window's first line), or two periods before,
// stood at its new target for this frame. Such a frame is taken again where it belongs.
void CCameraCtrl::InFrameMove() {
  if (m_ShiftFactor <= 1 || !m_ShiftInFrame || m_Revision >= 217) return;
  const tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  const BoardDeviceState& d = DeviceState();
  double sinceMove = 0;  // ms since the last actuator move
  if (d.hasCounter && d.counterFrequency > 0) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    sinceMove = double(now.QuadPart - m_MoveTicks) * 1000.0 / double(d.counterFrequency);
  }
  const double period = g.FramePeriodMs;
  const LONG counter = LONG(ReadStatus(s.PCIaddress, 0) >> 16);
  const bool movedBefore =
      (sinceMove > period && counter > (m_WindowTop + g.LineOffset) / 2) || sinceMove > 2 * period;
  if (!movedBefore) {
    m_FramePosition = m_Target[1];
    return;
  }
  m_FramePosition = m_Target[0];
  if (m_FramePosition == m_Target[1]) return;

  const LONG positions = m_ShiftFactor * m_ShiftFactor;
  MoveToPosition(m_Target[2], FALSE);
  DrainLine(g.LineBytes);
  WaitSyncPhase(2);
  m_FramePosition = m_Target[1];
  MoveToPosition(m_Target[1], TRUE);
  WaitSyncPhase(1);
  WaitSyncPhase(2);
  StartFrame();
  MoveToPosition(m_BatchLast < positions ? m_BatchLast : 0, TRUE);
  for (PollBudget budget; !(ReadStatus(s.PCIaddress, 0) & 2) && !budget.Spend() && !s.bAbort;) {
  }
  RearmExposure();
  m_MoveDone = false;
  m_ShiftInFrame = false;
}
