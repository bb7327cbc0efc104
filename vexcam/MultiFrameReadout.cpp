// The multi-frame readout: one sub-frame of a shift position off the board into the four
// colour planes at the phases of its position, with the next exposure and the actuator's
// move overlapping the readout and the progress of the run.
#include <algorithm>
#include <cstring>

#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "CaptureFormat.h"
#include "ProgressWindows.h"
#include "SettingsBlock.h"
#include "Timing.h"

namespace {

constexpr LONG kLineBufferBytes = 4096;
constexpr DWORD kModeRaw = 0x20000, kModeNoWindow = 0x800;
// 257 frames of 255 still fit a 16-bit sum.
constexpr LONG kMaxAveragedFrames = 257;

enum class Pass { Head, Tail, Whole };

LONG PositionsOfRun(LONG tranMode) {
  switch (tranMode) {
    case 3: return 4;
    case 4: return 16;
    case 5: return 9;
    case 6: case 7: return 36;
    default: return 1;
  }
}

LONG LineCounter() { return LONG(ReadStatus(Settings().PCIaddress, 0) >> 16); }

// Waits (within the poll budget) until the sensor is past the line where a new exposure
// may be armed.
void WaitArmingLine() {
  const LONG arming = Geometry().SettleLine;
  for (PollBudget budget; !Settings().bAbort && !budget.Spend();)
    if (LineCounter() > arming) return;
}

bool LongExposure(const tCameraSettings& s) { return s.ExpMode == 2 && s.ExpParam > 1; }

}  // namespace

// The window's cells of window line `line` in the line buffer; at zoom 0.5 every second
// cell is kept. Null when the read failed or the window does not fit the buffer.
static const BYTE* ReadWindowLine(CCameraCtrl& cam, LONG x, LONG cells, LONG line) {
  const bool half = Settings().zoom == 0.5;
  const LONG lastWord = half ? x + 1 + 2 * cells : x / 2 + cells;
  if (x < 0 || cells < 0 || 4 * lastWord > kLineBufferBytes || !cam.m_pLineBuffer) return nullptr;
  if (!cam.ReadLine(cam.m_pLineBuffer, line + 1)) return nullptr;
  auto* words = reinterpret_cast<DWORD*>(cam.m_pLineBuffer);
  if (half)
    for (LONG i = 0; i < cells; ++i) words[x / 2 + i] = words[x + 1 + 2 * i];
  return cam.m_pLineBuffer + 4 * (x / 2);
}

static vexcam::LinePlacement PlacementOf(CCameraCtrl& cam, LONG width, LONG height) {
  const tCameraSettings& s = Settings();
  vexcam::LinePlacement p;
  p.planes = cam.PlaneView();
  const LONG f = std::clamp<LONG>(cam.m_ShiftFactor, 1, 6);
  p.phases = vexcam::PhasesOf(cam.m_PhaseColumn, cam.m_PhaseRow, cam.m_SubFrameSteps[f], f, cam.m_FramePosition, s.Mode);
  p.grid = vexcam::GridOf(f).step;
  p.width = width, p.height = height;
  p.mode = s.Mode;
  p.negative = (s.Mode & kModeInverted) != 0;
  const LONG gain = std::clamp<LONG>(s.GainLv, 0, 2);
  for (int k = 0; k < 4; ++k) p.lut[k] = cam.ChannelLut[gain][cam.m_LaneOrder[k] & 3];
  return p;
}

// The actuator's move while the lines still arrive: on to the position after the next
// one, so that it stands there when that frame's exposure begins.
static void MoveDuringReadout(CCameraCtrl& cam) {
  const tCameraSettings& s = Settings();
  const LONG f = cam.m_ShiftFactor, n = cam.m_SubNext;
  LONG target = 0;
  if (n + 1 < f * f) {
    if (s.TranMode == 6) {
      const bool rowEven = (n / f) % 2 == 0, nextRowEven = ((n + 2) / f) % 2 == 0;
      target = rowEven && !nextRowEven ? n + 3 : !rowEven && nextRowEven ? n + 1 : n + 2;
    } else if (s.TranMode > 2) {
      target = n + 1;
    } else if (cam.m_Hold) {
      target = cam.m_SubCurrent;
    } else {
      return;
    }
  }
  cam.MoveToPosition(target, TRUE);
}

static LONG ReadPlaneLines(CCameraCtrl& cam, Pass pass, LONG x, LONG width, LONG height, LONG first, LONG& end) {
  tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  if (!cam.PlaneView().Ready()) return 0;
  if (x < 0 || width < 0 || height < 0 || width > g.FrameWidth + 16 || height > g.FrameHeight + 6) return 0;
  CCameraCtrl::StoreLease lease(cam);
  const vexcam::LinePlacement placement = PlacementOf(cam, width, height);
  const LONG cells = width / 2;
  const LONG d = cam.m_ShiftFactor == 1
                     ? vexcam::NextExposurePoint(height, height / 2, 0.88, g.FramePeriodMs, cam.m_MeanCaptureMs)
                     : height / 16;
  const bool stats = pass != Pass::Whole;
  if (pass == Pass::Head) cam.m_Signal.Reset();
  if (stats) cam.m_GreenPairs.Clear();
  const LONG windowPair = (cam.m_WindowTop + g.LineOffset) / 2;

  bool compare = false;
  for (LONG L = first; L < end; ++L) {
    const BYTE* window = ReadWindowLine(cam, x, cells, L);
    if (!window) return 0;
    if (pass == Pass::Head) cam.CheckSignal(window, cells);
    vexcam::PlaceLine(placement, window, cells, L);
    if (stats) {
      if (compare) cam.m_GreenPairs.Gather(cam.m_SavedLine.data() + 4 * (x / 2), window, cells);
      compare = (cam.m_SavedLineCounter + L) % 16 == 0;
      if (compare) std::memcpy(cam.m_SavedLine.data(), cam.m_pLineBuffer, kLineBufferBytes);
    }
    if (cam.m_Overlap || pass == Pass::Head) {
      const LONG counter = LineCounter();
      if (cam.m_Overlap && L == d && !cam.m_ExposureStarted && counter <= g.SettleLine &&
          cam.m_Target[0] == cam.m_SubNext) {
        cam.StartFrame();
        cam.m_ExposureStarted = true;
      }
      if (cam.m_Overlap && !cam.m_MoveDone && cam.m_ExposureStarted && counter > g.SettleLine &&
          cam.m_SubNext != cam.m_SubCurrent)
        MoveDuringReadout(cam);
      if (pass == Pass::Head && counter >= windowPair + end && L + 1 < end) {
        end = L + 1;  // the sensor is past the head: the tail reads on from here
        return 1;
      }
    }
  }
  if (pass == Pass::Tail) {
    if (cam.m_Overlap && cam.m_Signal.set && LongExposure(s) && cam.m_Revision < 217 && !cam.m_ExposureStarted) {
      cam.StartFrame();
      cam.m_ExposureStarted = true;
    }
    if (!(s.Mode & kModeRaw)) {
      const LONG gain = std::clamp<LONG>(s.GainLv, 0, 2);
      vexcam::UpdateGreenBalance(cam.m_GreenPairs, cam.m_Overlap, cam.ChannelLut[gain][cam.m_LaneOrder[0] & 3],
                                 cam.ChannelLut[gain][cam.m_LaneOrder[3] & 3]);
    }
  }
  return 1;
}

void CCameraCtrl::PlaceWindowLine(const BYTE* cells, LONG count, LONG line, LONG width, LONG height) {
  vexcam::PlaceLine(PlacementOf(*this, width, height), cells, count, line);
}

void CCameraCtrl::CheckSignal(const BYTE* cells, LONG count) {
  const tCameraSettings& s = Settings();
  const int threshold = s.zoom == 0.5 || s.GainLv > 0 ? 128 : 64;
  m_Signal.Check(cells, count, s.zoom == 0.5, threshold);
}

LONG CCameraCtrl::ReadFramePlanesHead(LONG x, LONG width, LONG height, LONG first, LONG& end) {
  return ReadPlaneLines(*this, Pass::Head, x, width, height, first, end);
}

LONG CCameraCtrl::ReadFramePlanesTail(LONG x, LONG width, LONG height, LONG first, LONG end) {
  return ReadPlaneLines(*this, Pass::Tail, x, width, height, first, end);
}

LONG CCameraCtrl::ReadFramePlanes(LONG x, LONG width, LONG height, LONG first, LONG end) {
  return ReadPlaneLines(*this, Pass::Whole, x, width, height, first, end);
}

LONG CCameraCtrl::AccumulateFrames(LONG x, LONG width, LONG height, LONG first, LONG end) {
  const tCameraSettings& s = Settings();
  const LONG frames = std::clamp<LONG>(s.AveragingCount, 1, kMaxAveragedFrames);
  const LONG cells = width / 2, bytes = 4 * cells, lines = end - first;
  if (lines <= 0 || cells <= 0 || height < 0) return 0;
  m_FrameSums.assign(size_t(lines) * size_t(bytes), 0);
  m_AveragedLines.assign(size_t(lines) * size_t(bytes), 0);
  for (LONG n = 1; n <= frames; ++n) {
    for (LONG L = first; L < end; ++L) {
      const BYTE* window = ReadWindowLine(*this, x, cells, L);
      if (!window) return 0;
      vexcam::Accumulate(m_FrameSums.data() + size_t(L - first) * bytes, window, bytes);
    }
    if (n == frames) break;
    // The last frame was exposed before this move: the actuator goes on to the next position.
    if (n == frames - 1 && m_ShiftFactor > 1 && m_SubNext != m_SubCurrent) MoveToPosition(m_SubNext, TRUE);
    if (!WaitFrameReady()) return 0;
  }
  vexcam::AverageInto(m_AveragedLines.data(), m_FrameSums.data(), LONG(m_FrameSums.size()), frames);
  return 1;
}

LONG CCameraCtrl::ReadFramePlanesAveraged(LONG x, LONG width, LONG height, LONG first, LONG end) {
  const CameraGeometry& g = Geometry();
  if (!PlaneView().Ready()) return 0;
  if (x < 0 || width < 0 || height < 0 || width > g.FrameWidth + 16 || height > g.FrameHeight + 6) return 0;
  StoreLease lease(*this);
  if (!AccumulateFrames(x, width, height, first, end)) return 0;
  const vexcam::LinePlacement placement = PlacementOf(*this, width, height);
  const LONG cells = width / 2;
  for (LONG L = first; L < end; ++L)
    vexcam::PlaceLine(placement, m_AveragedLines.data() + size_t(L - first) * size_t(4 * cells), cells, L);
  return 1;
}

// Planes for the sub-frame: allocated when missing; a raw capture starts from clear planes.
static bool PreparePlanes(CCameraCtrl& cam) {
  if (!cam.PlaneView().Ready()) cam.AllocLineStore();
  const vexcam::PlaneSet planes = cam.PlaneView();
  if (!planes.Ready()) return false;
  if (Settings().TranMode == 0)
    for (int k = 0; k < 4; ++k)
      for (LONG r = 0; r < planes.rows; ++r) std::memset(planes.row[k][r], 0, size_t(planes.rowBytes));
  return true;
}

LONG CCameraCtrl::ReadSubFrame(LONG x, LONG width, LONG height, LONG current, LONG next) {
  tCameraSettings& s = Settings();
  if (m_Revision >= 217 && !(s.Mode & kModeRaw)) return ReadSubFrameNew(x, width, height, current, next);
  m_SubCurrent = current, m_SubNext = next;
  m_FramePosition = current;
  const LONG f = m_ShiftFactor;
  LONG headEnd = (s.Mode & kModeRotate) ? height / 8 : 5 * std::max<LONG>(1, height / 16);
  if (f == 1 && !m_Overlap) StartFrame();
  if (!PreparePlanes(*this)) return 0;
  m_WholeFrame = !LongExposure(s);
  if (m_Revision < 211) {
    WaitFrameReady();
    if (!m_pImage || !m_pImage->m_pBits) return 0;
  }
  if (f > 1 && m_WholeFrame && !m_MoveDone) {
    if (m_Revision >= 211) WaitArmingLine();
    if (!(m_Hold && m_WhiteBalanceRun)) StartFrame();
    MoveToPosition(next, TRUE);
  }
  if (m_Revision >= 211 && !WaitFrameReady()) return 0;
  m_ExposureStarted = false;
  const LONG end = height / 2 + 1;
  if (!ReadFramePlanesHead(x, width + 2, height, 0, headEnd)) return 0;
  if (m_WholeFrame || CheckExposureAccumulated()) {
    if (!ReadFramePlanesTail(x, width + 2, height, headEnd, end)) return 0;
  }
  m_FrameCounter += 100;
  if (!m_WholeFrame) {
    // A frame of a longer exposure: the next one begins at once.
    StartFrame();
    m_ExposureStarted = true;
  } else if (next != current && !m_ExposureStarted && f != 2) {
    StartFrame();
    m_ExposureStarted = true;
  }
  return SubFrameProgress();
}

LONG CCameraCtrl::ReadSubFrameNew(LONG x, LONG width, LONG height, LONG current, LONG next) {
  tCameraSettings& s = Settings();
  m_SubCurrent = current, m_SubNext = next;
  m_FramePosition = current;
  const LONG f = m_ShiftFactor;
  const bool averaged = s.AveragingCount > 0;
  if (f == 1 && !m_Overlap) StartFrame();
  if (!PreparePlanes(*this)) return 0;
  m_WholeFrame = true;
  if (f > 1 && !m_MoveDone) {
    WaitArmingLine();
    if (!(m_Hold && m_WhiteBalanceRun)) StartFrame();
    // Averaged frames move on before their last frame instead.
    if (!averaged) MoveToPosition(next, TRUE);
  }
  if (f > 1 && LongExposure(s)) {
    WaitSyncPhase(1);
    WaitSyncPhase(0);
    if (!averaged) MoveToPosition(next, TRUE);
  }
  if (!WaitFrameReady()) return 0;
  m_ExposureStarted = false;
  const LONG end = height / 2 + 1;
  const LONG read = averaged ? ReadFramePlanesAveraged(x, width + 2, height, 0, end)
                             : ReadFramePlanes(x, width + 2, height, 0, end);
  if (!read) return 0;
  m_FrameCounter += 100;
  if (next != current && !m_ExposureStarted && !(f == 2 && LongExposure(s))) {
    StartFrame();
    m_ExposureStarted = true;
  }
  return SubFrameProgress();
}

LONG CCameraCtrl::SubFrameProgress() {
  tCameraSettings& s = Settings();
  if (!m_Hold && (s.ExpMode == 2 || s.TranMode >= 3)) {
    if (!m_pProgress && !(s.Mode & kModeNoWindow)) m_pProgress = std::make_unique<CReadoutProgressWnd>(GetActiveWindow());
    if (m_pProgress) m_pProgress->Pump();
    if (s.bAbort) {
      DestroyProgress();
      return 0;
    }
    const LONG positions = PositionsOfRun(s.TranMode);
    const LONG percent =
        m_SubNext != 0 ? m_SubNext * 100 / positions : m_FrameCounter / std::max<LONG>(1, s.ExpParam);
    if (m_pProgress) m_pProgress->DrawBar1(int(percent));
    if (!(s.Mode & kModeRaw)) s.Progress[m_SubNext != 0 ? 1 : 0] = BYTE(std::clamp<LONG>(percent, 0, 255));
  }
  return s.bAbort ? 0 : 1;
}
