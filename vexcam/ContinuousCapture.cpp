// Continuous capture for the live document camera: a fast frame per call while the scene
// moves; after two still frames the pixel-shift mode builds the fine picture one position
// per call, and any movement goes back to live frames.
#include <algorithm>
#include <cstring>

#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "CaptureFormat.h"
#include "ColourReconstruction.h"
#include "Levels.h"
#include "SettingsBlock.h"

namespace {

constexpr int kSampleRows = 23;
constexpr LONG kLive = 2;

// Line k (1..23) of the frame's sample rows.
LONG SampleLine(int k) { return Geometry().LineCount / 24 * k; }

}  // namespace

void CCameraCtrl::SaveSampleRows() {
  const size_t bytes = size_t(std::max<LONG>(0, 2 * Geometry().FrameWidth));
  if (m_SampleRows.size() <= size_t(kSampleRows)) return;
  for (int k = 1; k <= kSampleRows; ++k) {
    const size_t line = size_t(SampleLine(k));
    std::vector<BYTE>& saved = m_SampleRows[size_t(k)];
    if (line < m_RawLines.size() && m_RawLines[line].size() >= bytes)
      saved.assign(m_RawLines[line].begin(), m_RawLines[line].begin() + ptrdiff_t(bytes));
    else
      saved.clear();  // a frame without this line: nothing to compare against
  }
}

LONG CCameraCtrl::DetectChange() {
  if (!m_ChangeReady) return m_ChangeResult;
  const tCameraSettings& s = Settings();
  const LONG width = Geometry().FrameWidth;
  const size_t bytes = size_t(std::max<LONG>(0, 2 * width));
  const LONG step = std::max<LONG>(1, m_NoiseStep);
  const LONG allowed = s.MotionDetCount + 10;
  std::fill(std::begin(m_Histogram), std::end(m_Histogram), 0u);

  LONG hits = 0;
  bool changed = false;
  for (int k = 1; k <= kSampleRows && !changed; ++k) {
    const size_t line = size_t(SampleLine(k));
    if (size_t(k) >= m_SampleRows.size() || line >= m_RawLines.size()) continue;
    const std::vector<BYTE>& saved = m_SampleRows[size_t(k)];
    const std::vector<BYTE>& current = m_RawLines[line];
    if (saved.size() < bytes || current.size() < bytes) continue;
    LONG previous = 0;
    for (LONG x = 5; x < width - 7; x += 2) {
      const size_t i = size_t(2 * x);
      const LONG d = (saved[i] + saved[i + 2] - current[i] - current[i + 2]) / step;
      ++m_Histogram[current[i]];
      if (d != 0 && previous != 0 && (d > 0) == (previous > 0) && ++hits > allowed) {
        changed = true;
        break;
      }
      previous = d;
    }
  }

  // A change shows at once; stillness only once two computations agree.
  if (changed)
    m_ChangeResult = 1;
  else if (!m_ChangePrevious)
    m_ChangeResult = 0;
  m_ChangePrevious = changed ? 1 : 0;

  int lowest = 256, highest = -1;
  for (int v = 0; v < 256; ++v)
    if (m_Histogram[v]) lowest = std::min(lowest, v), highest = v;
  const int spread = highest >= lowest ? highest - lowest : 0;
  m_NoiseStep = std::max(spread, 16) / 2;
  return m_ChangeResult;
}

LONG CCameraCtrl::ContinueFrame(CTrueImage* image, bool fromShutter) {
  tCameraSettings& s = Settings();
  const LONG r = s.bPCI ? ContinueFramePCI(image) : ContinueFramePort(image);
  if (r < 0) return m_NextPosition;  // nothing was read: neither still nor moved
  if (r > 0) {
    m_NextPosition = 0;
    s.TranMode = kLive;
    m_StillCount = 0;
    return 0;
  }
  if (fromShutter) m_StillCount = std::min<LONG>(m_StillCount + 1, 3);
  if (s.TranMode == kLive) {
    m_NextPosition = 0;
    if (!fromShutter) m_StillCount = std::min<LONG>(m_StillCount + 1, 3);
    if (m_StillCount > 1) {
      s.TranMode = s.OHPTranMode;
      if (!fromShutter) m_StillCount = 0;
    }
  }
  return m_NextPosition;
}

namespace {

// The sensor window of the caller's picture rectangle in the transfer mode.
struct Window {
  LONG x, y, width, height;
};
Window SensorWindow(const tCameraSettings& s, RECT r) {
  Window w{r.left, r.top, r.right - r.left, r.bottom - r.top};
  auto scale = [&](LONG num, LONG den) { w = {w.x * num / den, w.y * num / den, w.width * num / den, w.height * num / den}; };
  if (s.TranMode == 1) scale(2, 1);
  if (s.TranMode == 4) scale(1, 2);
  if (s.TranMode >= 5 && s.TranMode <= 7) scale(1, 3);
  return w;
}

// Keeps every line the readout reads for the change detection, while a frame is read.
class LineKeeper {
 public:
  explicit LineKeeper(CCameraCtrl& camera) : m_Camera(camera) {
    m_Camera.m_RawLines.clear();
    m_Camera.m_KeepLines = true;
  }
  ~LineKeeper() { m_Camera.m_KeepLines = false; }
  LineKeeper(const LineKeeper&) = delete;
  LineKeeper& operator=(const LineKeeper&) = delete;

 private:
  CCameraCtrl& m_Camera;
};

constexpr DWORD kModeShiftRule = 0x200000;

}  // namespace

// Live frames are previews whose picture is built from the planes and always enhanced.
static void TakeContinuousPurpose(CCameraCtrl& cam) {
  const tCameraSettings& s = Settings();
  cam.m_PreviewCapture = true;
  cam.m_Overlap = false;  // each position's frame is started for it
  cam.m_Hold = true;
  cam.m_ColourCapture = false;
  cam.m_Enhancement.enabled = true;
  cam.m_ShiftInFrame = s.TranMode < 3;
  if (s.Mode & kModeShiftRule) cam.m_ShiftInFrame = s.ExpMode == 1 || (s.ExpMode == 2 && s.ExpParam == 1);
  if (cam.m_CaptureOptionB) cam.m_ShiftInFrame = false;
}

// The window is the one of the current transfer mode: a change of mode sets it up anew.
static bool WindowReady(CCameraCtrl& cam, CTrueImage* image) {
  const tCameraSettings& s = Settings();
  if (!image || !image->m_pBits || IsRectEmpty(&cam.m_LastRect)) return false;
  if (cam.m_WindowTranMode == s.TranMode && cam.m_WindowZoom == s.zoom) return true;
  cam.m_WindowTranMode = s.TranMode, cam.m_WindowZoom = s.zoom;
  return cam.SetupCapture(image, cam.m_LastRect, false) == 1 && image->m_pBits;
}

LONG CCameraCtrl::ContinueFramePCI(CTrueImage* image) {
  tCameraSettings& s = Settings();
  if (!WindowReady(*this, image)) return -1;
  m_pImage = image;
  TakeContinuousPurpose(*this);
  const Window w = SensorWindow(s, m_LastRect);
  const LONG f = ShiftFactor(s.TranMode), cells = f * f;
  BYTE* bits = image->m_pBits;
  const LONG width = image->m_nWidth, height = image->m_nHeight, stride = RowStride(width, 3);
  auto read = [&](LONG position) {
    LineKeeper keep(*this);
    if (m_Revision >= 212) return ReadSubFrame(w.x, w.width, w.height, position, position);
    if (!ReadMemoryShot(w.x, w.y, w.width, w.height, 0, position, position + 1)) return LONG(0);
    if (cells == 1)
      PlanesFromSubFrame(0, 0, w.width + 2, w.height + 2);
    else
      MergeContinuousFrame(m_Shift.order[f][position], position / f, f, width, height);
    return LONG(1);
  };

  if (cells == 1) {
    m_ShiftFactor = 1;
    m_NextPosition = 0;
    if (s.TranMode == 1) {
      StartFrame();
      if (!read(0)) return -1;
      m_ChangeReady = true;
      RGBHalfSize(bits, width, height, stride);
      return 0;  // the half-size frame makes no change test
    }
    StartFrame();
    SaveSampleRows();
    if (s.TranMode == 0) m_ChangeReady = false;
    if (!read(0)) return -1;
    const LONG moved = DetectChange();
    return EndSingleFrame(moved, bits, width, height, stride);
  }

  m_ShiftFactor = f;
  const LONG i = std::clamp<LONG>(m_NextPosition, 0, cells - 1), column = m_Shift.order[f][i];
  if (i == 0) {
    MoveToPosition(0, TRUE);
    if (CameraModel(s.CameraVer) == 5) {
      StartFrame();
      WaitFrameReady();
      DrainLine(Geometry().LineBytes);
    }
  } else if ((s.CameraVer & 3) == 1 && column == 0) {
    StartFrame();
    WaitFrameReady();
    DrainLine(Geometry().LineBytes);
  }
  m_ChangeReady = column != 0;  // each new row starts a new comparison
  SaveSampleRows();
  if (!read(i)) return -1;
  const LONG moved = DetectChange();
  if (ModelA() && (s.Mode & 0x10000)) {
    LONG mean = 0, peak = 0;
    PictureExposureStats(bits, width, height, &mean, &peak);
    AdjustAutoExposure(mean, peak, 250, 254);
  }
  const LONG next = (i + 1) % cells;
  if (moved)
    SetActuator(0, 0);
  else if (next != 0)
    MoveToPosition(next, TRUE);
  return EndShiftPosition(next, moved, bits, width, height, stride);
}

LONG CCameraCtrl::ContinueFramePort(CTrueImage* image) {
  tCameraSettings& s = Settings();
  if (!WindowReady(*this, image)) return -1;
  m_pImage = image;
  TakeContinuousPurpose(*this);
  const Window w = SensorWindow(s, m_LastRect);
  const LONG f = ShiftFactor(s.TranMode), cells = f * f;
  BYTE* bits = image->m_pBits;
  const LONG width = image->m_nWidth, height = image->m_nHeight, stride = RowStride(width, 3);
  auto read = [&](LONG row, LONG column, LONG extraWidth, LONG extraHeight, LONG repeat) {
    LineKeeper keep(*this);
    return ReadLinesToStore(row, column, w.x, w.width + extraWidth, w.height + extraHeight, repeat);
  };

  if (cells == 1) {
    m_ShiftFactor = 1;
    m_NextPosition = 0;
    if (s.TranMode == 1) {
      StartFrame();
      if (!read(0, 0, 0, 0, 0)) return -1;
      PlanesFromSubFrame(0, 0, w.width, w.height);
      m_ChangeReady = true;
      RGBHalfSize(bits, width, height, stride);
      return 0;
    }
    StartFrame();
    SaveSampleRows();
    if (s.TranMode == 0) m_ChangeReady = false;
    if (!read(0, 0, 2, 0, s.TranMode == 0 ? 1 : 0)) return -1;
    const LONG moved = DetectChange();
    PlanesFromSubFrame(0, 0, w.width + 2, w.height);
    return EndSingleFrame(moved, bits, width, height, stride);
  }
  if (cells != 4 && cells != 16) return -1;  // the port board serves 2 x 2 and 4 x 4 only

  m_ShiftFactor = f;
  const LONG i = std::clamp<LONG>(m_NextPosition, 0, cells - 1), row = i / f, column = m_Shift.order[f][i];
  m_ChangeReady = column != 0;
  SaveSampleRows();
  if (!read(row, column, 2, 2, 0)) return -1;
  const LONG moved = DetectChange();
  const LONG next = (i + 1) % cells;
  if (!moved) {
    MergeContinuousFrame(column, row, f, width, height);
    MoveToPosition(next, TRUE);
  } else {
    SetActuator(0, 0);
  }
  return EndShiftPosition(next, moved, bits, width, height, stride);
}

// Starts the next position's frame; after the last position of a still scene the merged
// planes become the picture.
LONG CCameraCtrl::EndShiftPosition(LONG next, LONG moved, BYTE* bits, LONG width, LONG height, LONG stride) {
  StartFrame();
  m_NextPosition = next;
  if (next != 0 || moved) return moved;
  SetActuator(0, 0);
  CopyLevelSettings();
  if (Settings().Mode & 0x40)
    GreyFromPlanes(bits, width, height, stride);
  else
    RGBFromPlanes(bits, width, height, stride);
  return 0;
}

// The picture of a one-position frame: raw planes in transfer mode 0, else reconstructed.
LONG CCameraCtrl::EndSingleFrame(LONG moved, BYTE* bits, LONG width, LONG height, LONG stride) {
  const tCameraSettings& s = Settings();
  if (s.TranMode == 0) {
    RGBFromPlanesRaw(bits, width, height, stride);
    return moved;
  }
  m_ChangeReady = true;
  vexcam::Reconstruct(ColourJob(), 0, bits, width, height, stride);
  if (s.Mode & 0x40) ConvertToGrey(width, height, bits);
  return moved;
}
