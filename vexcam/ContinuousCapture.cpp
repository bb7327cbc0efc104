// Continuous capture for the live document camera: a fast frame per call while the scene
// moves; after two still frames the pixel-shift mode builds the fine picture one position
// per call, and any movement goes back to live frames.
#include <algorithm>
#include <cstring>

#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "CaptureFormat.h"
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

LONG CCameraCtrl::ContinueFrame(CTrueImage* image) {
  tCameraSettings& s = Settings();
  const LONG r = s.bPCI ? ContinueFramePCI(image) : ContinueFramePort(image);
  if (r < 0) return m_NextPosition;  // nothing was read: neither still nor moved
  if (r > 0) {
    m_NextPosition = 0;
    s.TranMode = kLive;
    m_StillCount = 0;
    return 0;
  }
  if (s.TranMode == kLive) {
    m_NextPosition = 0;
    m_StillCount = std::min<LONG>(m_StillCount + 1, 3);
    if (m_StillCount > 1) {
      s.TranMode = s.OHPTranMode;
      m_StillCount = 0;
    }
  }
  return m_NextPosition;
}

// The frame readouts come with the capture sequencing; until then no frame is read.
LONG CCameraCtrl::ContinueFramePCI(CTrueImage*) { return -1; }

LONG CCameraCtrl::ContinueFramePort(CTrueImage*) { return -1; }
