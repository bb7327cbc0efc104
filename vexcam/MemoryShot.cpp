// Captures through the line stores: frames read whole into the store of their shift
// position (older boards, the factory steps, the memory shot), the picture built from a
// caller's raw lines, the accumulated long exposure, and the port-probed board's capture.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "CaptureFormat.h"
#include "ColourReconstruction.h"
#include "SettingsBlock.h"
#include "Timing.h"

namespace {

constexpr DWORD kModeGrey = 0x40, kModeNoTimer = 0x400, kModeRaw = 0x20000, kModeNoWindow = 0x800;
constexpr int kCaptureWatch = 1;

LONG StoreBlock(const CCameraCtrl& cam, LONG position) {
  const LONG f = std::clamp<LONG>(cam.m_ShiftFactor, 1, 6);
  position = std::clamp<LONG>(position, 0, f * f - 1);
  return cam.m_Shift.order[f][position] + 6 * (position / f);
}

// Copies `bytes` of a line into row `row` of a position's store, as far as both reach.
void StoreLine(CCameraCtrl& cam, LONG block, LONG row, const BYTE* line, LONG bytes) {
  if (block < 0 || block >= 36 || row < 0 || row >= LONG(cam.m_LineRows[block].size())) return;
  const LONG n = std::clamp<LONG>(bytes, 0, cam.m_LineStoreBytes[block]);
  std::memcpy(cam.m_LineRows[block][size_t(row)], line, size_t(n));
}

// Folds a line into a store row as the running mean of `frame` frames.
void FoldLine(CCameraCtrl& cam, LONG block, LONG row, const BYTE* line, LONG bytes, LONG frame) {
  if (block < 0 || block >= 36 || row < 0 || row >= LONG(cam.m_LineRows[block].size()) || frame < 1) return;
  const LONG n = std::clamp<LONG>(bytes, 0, cam.m_LineStoreBytes[block]);
  BYTE* out = cam.m_LineRows[block][size_t(row)];
  for (LONG i = 0; i < n; ++i) out[i] = BYTE((out[i] * (frame - 1) + line[i]) / frame);
}

LONG TimeValue(const tCameraSettings& s) {
  return (s.Mode & kModeNoTimer) ? 0 : std::max<LONG>(1, ElapsedMs(kCaptureWatch));
}

}  // namespace

// The data port: the PCI board's at offset 4, the port-probed board's where the search found it.
static DWORD DataPort(const CCameraCtrl& cam) {
  const tCameraSettings& s = Settings();
  return s.bPCI ? s.PCIaddress + 4 : cam.m_PortBase;
}

// The port-probed board has no frame wait of its own: its status shows the exposed frame.
static void WaitPortFrame(const CCameraCtrl& cam) {
  const LONG budget = DeviceState().portReadsPerHalfSecond;
  const DWORD status = cam.m_PortBase - 4;
  for (LONG i = 0; i < budget && !Settings().bAbort; ++i)
    if (ReadPortB(status, 0) & 2) return;
}

// One board line of the window (from cell x / 2) into the line buffer, through the line
// read or, on the port-probed board, the data port; null when the read failed.
static const BYTE* ReadStoreLine(CCameraCtrl& cam, LONG x, LONG line) {
  const tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  if (!cam.m_pLineBuffer || x < 0) return nullptr;
  const LONG lead = s.bPCI ? 0 : g.PortWindowOffset;
  const LONG words = std::min<LONG>(g.LineBytes > 0 ? g.LineBytes / 4 : 646, 1024);
  if (s.bPCI) {
    if (!cam.ReadLine(cam.m_pLineBuffer, line)) return nullptr;
  } else if (!ReadPortBlock(DataPort(cam), reinterpret_cast<DWORD*>(cam.m_pLineBuffer), DWORD(words))) {
    return nullptr;
  }
  const LONG first = x / 2 + lead;
  if (4 * first >= 4096) return nullptr;
  return cam.m_pLineBuffer + 4 * first;
}

static LONG WindowBytes(LONG x) {
  const LONG line = Geometry().LineBytes > 0 ? Geometry().LineBytes : 2584;
  return std::max<LONG>(0, line - 4 * (x / 2));
}

// Frame periods between the last two re-arms. The timer alone truncates a wait of two
// periods that came a little early to one; the line counter at each re-arm gives the part
// of a frame exactly, and the timer only picks the number of whole frames around it.
LONG CCameraCtrl::FramesSinceLastRearm() const {
  const CameraGeometry& g = Geometry();
  if (g.FramePeriodMs <= 0) return 1;
  if (g.LinesPerFrame <= 0) return std::max<LONG>(1, m_LastFrameMs / g.FramePeriodMs);
  const LONG perFrame = g.LinesPerFrame;
  const LONG part = ((m_LineMarks[1] - m_LineMarks[0]) % perFrame + perFrame) % perFrame;
  const double timed = double(m_LastFrameMs) * perFrame / g.FramePeriodMs;
  const LONG whole = std::max<LONG>(0, LONG(std::lround((timed - part) / perFrame)));
  const LONG lines = whole * perFrame + part;
  return std::max<LONG>(1, LONG(std::lround(double(lines) / perFrame)));
}

BOOL CCameraCtrl::CheckExposureAccumulated() {
  const tCameraSettings& s = Settings();
  m_ExposureUnits += FramesSinceLastRearm();
  if (s.ExpParam > 0 && m_ExposureUnits >= s.ExpParam) {
    if (++m_Overshoots >= 2) m_ExposureUnits = s.ExpParam;
  }
  const bool level = m_Signal.set;
  const bool complete = level || (m_ExposureUnits >= s.ExpParam && (m_Overshoots > 1 || s.ExpParam > 3));
  if (complete) m_ExposureUnits = 0, m_Overshoots = 0;
  m_ExposureComplete = complete;
  return complete ? TRUE : FALSE;
}

LONG CCameraCtrl::ReadMemoryShot(LONG x, LONG, LONG width, LONG height, LONG mode, LONG first, LONG last) {
  tCameraSettings& s = Settings();
  const LONG f = std::clamp<LONG>(m_ShiftFactor, 1, 6);
  m_BatchFirst = first, m_BatchLast = last;
  m_SubCurrent = m_FramePosition = first;
  StartFrame();
  if (m_Revision < 211) {
    WaitFrameReady();
    if (!m_pImage || !m_pImage->m_pBits) return 0;
  }
  const LONG block = StoreBlock(*this, first);
  bool complete = !(ModelA() && s.ExpMode == 2 && s.ExpParam > 1 && m_Revision < 217);
  if (ModelA() && mode == 0 && f > 1 && complete) {
    if (m_Revision >= 211) WaitSyncPhase(2);
    MoveToPosition(last < f * f ? last : 0, TRUE);
  }
  if (!m_LineBlock && !AllocLineStore()) return 0;
  if (m_Revision >= 211 && !WaitFrameReady()) return 0;
  StoreLease lease(*this);
  const LONG lines = height / 2 + 1, bytes = std::min<LONG>(2 * width + 8, WindowBytes(x));
  LONG progress = 0;
  const bool shown = !(s.Mode & kModeNoWindow) &&
                     ((!m_PreviewCapture && (s.ExpMode == 2 || s.TranMode > 2)) || (s.ExpMode == 2 && s.ExpParam > 12));
  // A shift position's frame also goes straight into the planes: the stores of the
  // positions past the first may be shorter than a frame.
  const bool place = f > 1;
  for (LONG frame = 1;; ++frame) {
    for (LONG L = 0; L < lines; ++L) {
      const BYTE* line = ReadStoreLine(*this, x, L + 1);
      if (!line) return 0;
      StoreLine(*this, block, L, line, bytes);
      if (place) PlaceWindowLine(line, width / 2 + 1, L, width + 2, height);
    }
    progress += 100;
    if (!complete && LONG(m_LineRows[block].size()) > 3) {
      // Line 3 tells whether the long exposure has reached the sensor yet.
      const BYTE* row = m_LineRows[block][3];
      const int threshold = int(m_DarkLevel) + 32 + 8 * int(s.GainLv);
      for (LONG i = width / 4; i < 3 * width / 4 && i < m_LineStoreBytes[block]; i += 3)
        if (row[i] > threshold) complete = true;
      if (complete && f > 1) MoveToPosition(last < f * f ? last : 0, TRUE);
    }
    if (shown) {
      const LONG positions = f * f;
      const LONG percent = complete ? last * 100 / std::max<LONG>(1, positions) : progress / std::max<LONG>(1, s.ExpParam);
      if (!(s.Mode & kModeRaw)) s.Progress[complete ? 1 : 0] = BYTE(std::clamp<LONG>(percent, 0, 255));
      if (!UpdateProgress(int(percent)) || s.bAbort) return 0;
    }
    if (complete || frame >= s.ExpParam + 3) break;
    StartFrame();
    if (!WaitFrameReady()) return 0;
  }
  m_ExposureComplete = complete;
  // Further frames averaged into the store.
  const LONG extra = ModelA() && s.ExpMode == 2 ? 0 : std::clamp<LONG>(s.AveragingCount, 0, 255);
  for (LONG n = 2; n <= extra + 1; ++n) {
    if (ModelA() && n == extra + 1 && f > 1) MoveToPosition(last < f * f ? last : 0, TRUE);
    StartFrame();
    if (!WaitFrameReady()) return 0;
    for (LONG L = 0; L < lines; ++L) {
      const BYTE* line = ReadStoreLine(*this, x, L + 1);
      if (!line) return 0;
      FoldLine(*this, block, L, line, bytes, n);
      if (place && L < LONG(m_LineRows[block].size()) && m_LineStoreBytes[block] >= 4 * (width / 2 + 1))
        PlaceWindowLine(m_LineRows[block][size_t(L)], width / 2 + 1, L, width + 2, height);
    }
  }
  return s.bAbort ? 0 : 1;
}

LONG CCameraCtrl::ReadLinesToStore(LONG row, LONG column, LONG x, LONG width, LONG height, LONG repeat) {
  if (!Settings().bPCI) WaitPortFrame(*this);
  WaitCameraReady();
  if (!m_LineBlock && !AllocLineStore()) return 0;
  StoreLease lease(*this);
  const LONG block = column + 6 * row, lines = height / 2 + 1;
  const LONG bytes = std::min<LONG>(2 * width + 8, WindowBytes(x));
  // The line above the window comes first and is dropped.
  if (!ReadStoreLine(*this, x, 0)) return 0;
  const bool place = m_ShiftFactor > 1;  // the caller named the position in m_SubCurrent
  for (LONG L = 0; L < lines; ++L) {
    const BYTE* line = ReadStoreLine(*this, x, L + 1);
    if (!line) return 0;
    StoreLine(*this, block, L, line, bytes);
    if (place) PlaceWindowLine(line, width / 2, L, width, height);
  }
  if (block == 0) m_LineRowsSpare = m_LineRows[0];
  for (LONG n = 2; n <= repeat + 1; ++n) {
    StartFrame();
    if (!Settings().bPCI) WaitPortFrame(*this);
    WaitCameraReady();
    if (!ReadStoreLine(*this, x, 0)) return 0;
    for (LONG L = 0; L < lines; ++L) {
      const BYTE* line = ReadStoreLine(*this, x, L + 1);
      if (!line) return 0;
      FoldLine(*this, block, L, line, bytes, n);
    }
  }
  return 1;
}

// The picture from the plane fill of store (0, 0), by transfer mode and purpose.
static LONG PictureFromStore(CCameraCtrl& cam, CTrueImage& image, LONG width, LONG height) {
  const tCameraSettings& s = Settings();
  const LONG stride = image.m_nStride > 0 ? image.m_nStride : RowStride(image.m_nWidth, 3);
  cam.PlanesFromSubFrame(0, 0, width, height);
  BYTE* bits = image.m_pBits;
  const LONG w = image.m_nWidth, h = image.m_nHeight;
  if (s.TranMode == 1) return cam.RGBHalfSize(bits, w, h, stride);
  if (s.TranMode == 0) return cam.RGBFromPlanesRaw(bits, w, h, stride);
  return vexcam::Reconstruct(cam.ColourJob(), cam.m_ColourCapture ? s.InterPolationMethod : 0, bits, w, h, stride);
}

LONG CCameraCtrl::MemoryShot(DWORD* buffer, CTrueImage* image, RECT rect) {
  tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  m_pImage = image;
  const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return 1;
  if (!EqualRect(&rect, &m_LastRect)) WinSet(rect.left, rect.right, rect.top, rect.bottom);
  StartFrame();
  if (s.bPCI) {
    if (WaitFrameReady() && m_pImage && m_pImage->m_pBits) {
      if (m_LineBlock || AllocLineStore()) {
        StoreLease lease(*this);
        for (LONG L = 0; L < height / 2 + 1; ++L) {
          const BYTE* line = ReadStoreLine(*this, rect.left, L + 1);
          if (!line) break;
          StoreLine(*this, 0, L, line, std::min<LONG>(2 * width, WindowBytes(rect.left)));
        }
      }
    }
  } else if (buffer) {
    WaitPortFrame(*this);
    WaitCameraReady();
    auto* out = reinterpret_cast<BYTE*>(buffer);
    const LONG words = (2 * width + 3) / 4;
    std::vector<DWORD> scratch(size_t(std::max<LONG>(words, 1)));
    for (LONG L = 0; L < height / 2 + 1; ++L, out += 2 * width) {
      ReadPortBlock(DataPort(*this), scratch.data(), DWORD(words));
      std::memcpy(out, scratch.data(), size_t(2 * width));
    }
  }
  (void)g;
  m_LastRect = rect;
  return 1;
}

LONG CCameraCtrl::ImageFromBuffer(WORD* raw, CTrueImage* image, RECT rect) {
  m_pImage = image;
  const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (!raw || !image || !image->m_pBits || width <= 0 || height <= 0) return 1;
  if (!m_LineBlock && !AllocLineStore()) return 1;
  {
    StoreLease lease(*this);
    const BYTE* source = reinterpret_cast<const BYTE*>(raw);
    for (LONG r = 0; r < height / 2; ++r) StoreLine(*this, 0, r, source + size_t(r) * size_t(2 * width), 2 * width);
  }
  PictureFromStore(*this, *image, width, height);
  return 1;
}

LONG CCameraCtrl::CaptureFactory(RECT rect, LONG count) {
  tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  const LONG f = count == 4 ? 2 : count == 9 ? 3 : count == 16 ? 4 : count == 18 || count == 36 ? 6 : 1;
  m_ShiftFactor = f;
  WinSet(rect.left, rect.right, rect.top, rect.bottom);
  WaitSyncPhase(1);
  SetActuator(200, 200);
  Sleep(35);
  SetActuator(0, 0);
  Sleep(20);
  MoveToPosition(0, TRUE);
  WaitSyncPhase(0);
  WaitSyncPhase(1);
  StartFrame();
  if (s.bPCI) {
    WaitFrameReady();
    if (m_pImage && !m_pImage->m_pBits) return 0;
    DrainLine(g.LineBytes);
  } else {
    WaitPortFrame(*this);
    WaitCameraReady();
    ReadStoreLine(*this, 0, 0);
  }
  const LONG x = rect.left, width = rect.right - rect.left, height = rect.bottom - rect.top;
  const LONG step = count == 18 ? 2 : 1;
  const bool checker = step == 2 && (s.CameraVer & 3) == 3;
  m_ShiftRunning = true;
  for (LONG i = 0; i < f * f; i += step) {
    const LONG first = i + (checker ? (i / f) % 2 : 0);
    const LONG last = checker ? (i + 2) + ((i + 2) / f) % 2 : first + step;
    if ((s.CameraVer & 3) == 1 && m_Shift.order[f][first] == 0 && first / f > 0) {
      StartFrame();
      if (s.bPCI) DrainLine(g.LineBytes);  // the port board's read drops its own line
    }
    LONG read;
    if (s.bPCI) {
      read = ReadMemoryShot(x, rect.top, width, height, 0, first, last);
    } else {
      MoveToPosition(last < f * f ? last : 0, TRUE);
      m_SubCurrent = m_FramePosition = first;
      read = ReadLinesToStore(first / f, m_Shift.order[f][first], x, width, height, 0);
      StartFrame();
    }
    if (!read || s.bAbort) break;
  }
  m_ShiftRunning = false;
  SetActuator(0, 0);
  return 1;
}

LONG CCameraCtrl::CapturePortBoard(CTrueImage* image, RECT rect) {
  tCameraSettings& s = Settings();
  const LONG f = ShiftFactor(s.TranMode), cells = f * f;
  LONG x = rect.left, w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (s.TranMode == 1) x *= 2, w *= 2, h *= 2;
  if (s.TranMode == 4) x /= 2, w /= 2, h /= 2;
  if (s.TranMode >= 5) x /= 3, w /= 3, h /= 3;
  if (!image || !image->m_pBits) return 0;
  m_ShiftFactor = f;
  const bool timed = !(s.Mode & kModeNoTimer);
  if (timed) StartStopwatch(kCaptureWatch);
  BYTE* bits = image->m_pBits;
  const LONG pw = image->m_nWidth, ph = image->m_nHeight;
  const LONG stride = image->m_nStride > 0 ? image->m_nStride : RowStride(pw, 3);
  LONG elapsed = 0, built = 0;
  if (cells == 1) {
    if (s.TranMode == 2 && !WaitHandshake("CaptureImage")) return 0;
    const LONG read = ReadLinesToStore(0, 0, x, s.TranMode == 1 ? w : w + 2, h, s.TranMode == 1 ? 0 : s.AveragingCount);
    StartFrame();
    if (!read || s.bAbort) return 0;
    elapsed = TimeValue(s);
    built = PictureFromStore(*this, *image, s.TranMode == 1 ? w : w + 2, h);
  } else {
    SetActuator(200, 200);
    Sleep(5);
    SetActuator(0, 0);
    Sleep(5);
    MoveToPosition(0, TRUE);
    StartFrame();
    if (timed) StartStopwatch(kCaptureWatch);
    m_ShiftRunning = true;
    const LONG step = s.TranMode == 6 ? 2 : 1;
    const bool checker = step == 2 && (s.CameraVer & 3) == 3;
    for (LONG i = 0; i < cells; i += step) {
      const LONG first = i + (checker ? (i / f) % 2 : 0);
      const LONG next = i + step < cells ? (i + step) + (checker ? ((i + step) / f) % 2 : 0) : 0;
      // The next position's move goes out while this frame's lines are read: the frame
      // was exposed where the actuator stood when it began.
      MoveToPosition(next, TRUE);
      m_SubCurrent = m_FramePosition = first;
      const LONG read = ReadLinesToStore(first / f, m_Shift.order[f][first], x, w + 2, h, 0);
      StartFrame();
      if (!read || s.bAbort) {
        m_ShiftRunning = false;
        SetActuator(0, 0);
        return 0;
      }
    }
    m_ShiftRunning = false;
    elapsed = TimeValue(s);
    const LONG positions = s.TranMode == 6 ? 18 : cells;
    if (positions == 9)
      built = ReconstructPlanes(bits, pw, ph, stride);
    else if (positions == 18)
      built = RGBFromShift18(bits, pw, ph, stride);
    else
      built = (s.Mode & kModeGrey) ? GreyFromPlanes(bits, pw, ph, stride) : RGBFromPlanes(bits, pw, ph, stride);
    SetActuator(0, 0);
  }
  if (!built || s.bAbort) return 0;
  if (!m_PreviewCapture) DestroyProgress();
  if ((s.Mode & kModeGrey) && (cells == 1 || cells == 9 || s.TranMode == 6)) ConvertToGrey(pw, ph, bits);
  return elapsed;
}
