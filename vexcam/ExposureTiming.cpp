// Frame timing: the re-arm of the next frame, the wait for an exposed frame and the
// waits on the board's sync phases.
#include <algorithm>

#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "SettingsBlock.h"
#include "Timing.h"

namespace {
// Status bit of the board: the frame in its memory was taken before its exposure was through.
constexpr DWORD kStatusShortFrame = 0x10;
constexpr int kFrameRetakes = 3;

// Whether the counter passed `line` between two reads (it counts up and starts over).
bool Crossed(LONG before, LONG after, LONG line) {
  if (before <= after) return before < line && line <= after;
  return before < line || line <= after;
}
}  // namespace

BOOL CCameraCtrl::RearmExposure() {
  tCameraSettings& s = Settings();
  if (m_Revision >= 211) {
    m_LastFrameMs = ElapsedMs(0);
    StartStopwatch(0);
  }
  if (s.bPCI && s.PCIaddress != kNoBoard) WritePortD(s.PCIaddress, 4, 1);
  if (m_Revision >= 211) {
    m_LineMarks[0] = m_LineMarks[1];
    m_LineMarks[1] = DeviceState().lastLine;
    m_Armed = false;
  }
  return TRUE;
}

// Waits until the started frame is exposed and in the board, re-arms the next one and
// reads the line above the window, so the readout can begin with the first line.
BOOL CCameraCtrl::WaitFrameReady() {
  tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  const BoardDeviceState& d = DeviceState();
  const DWORD base = s.PCIaddress;
  const LONG pair = (m_WindowTop + g.LineOffset) / 2;
  // Transfer modes 1 and 2 keep any zoom; one the readout cannot use counts as 1.0 here.
  const double zoom = s.zoom >= 0.01 && s.zoom <= 100 ? s.zoom : 1.0;
  const int64_t factor = m_Revision >= 217 && s.ExpMode == 2 && s.ExpParam > 4 ? s.ExpParam : 1;
  bool budgetSpent = false;
  int retakes = 0;
  for (;;) {
    if (m_Revision >= 211 && !m_Armed) StartFrame();
    PollBudget budget(factor);
    bool ready = false;
    LONG counter = 0;
    do {
      if (s.bAbort) return FALSE;
      const DWORD status = ReadStatus(base, 0);
      counter = LONG(status >> 16);
      if (budget.Reads() == 0) {
        // Sleep through most of the frame: the counter tells how far it still has to go.
        if (!m_ShiftRunning && g.FramePeriodMs > 0 && g.LinesPerFrame > 0 && m_Revision < 217) {
          LONG lines = LONG((pair + 4) / zoom) - counter;
          if (lines < 0) lines += g.LinesPerFrame;
          const LONG ms = g.FramePeriodMs * lines / g.LinesPerFrame;
          m_ExpectedWaitMs = s.ExpMode == 1 ? ms : m_ExpectedWaitMs + ms;
          if (ms > 10) Sleep(DWORD(ms - 10));
        }
        if (m_Revision < 211 && (s.Mode & kModeSimulate) && (status & 2)) Delay(0.001);
      }
      ready = m_Revision >= 211 ? (status & 2) != 0 : (status & 3) == 2;
    } while (!ready && !budget.Spend());
    if (!ready) {
      StartFrame();
      return FALSE;
    }

    bool lost = false;
    if (m_Revision >= 217) {
      // Not while the sensor passes the window's first lines: the board is taking them.
      const LONG low = LONG((pair - 3) / zoom), high = LONG((pair + 5) / zoom);
      PollBudget passing(factor);
      while (counter > low && counter < high && !(budgetSpent = passing.Spend()))
        counter = LONG(ReadStatus(base, 0) >> 16);
      lost = counter >= g.LinesPerFrame && g.LinesPerFrame > 0;
    }
    RearmExposure();
    // A frame the board took before its exposure was through is no picture: it is taken
    // again, a few times at most, as a lost frame is.
    if (!lost && s.bPCI && (ReadStatus(base, 0) & kStatusShortFrame)) {
      if (++retakes > kFrameRetakes) {
        s.Camera_Status = -13;
        return FALSE;
      }
      lost = true;
    }
    if (!lost) break;
    WaitSyncPhase(1);
    StartFrame();
  }

  if (!(m_Revision >= 217 && s.ExpMode == 2 && s.ExpParam > 1)) m_MoveDone = false;
  m_FrameMarks[0] = m_FrameMarks[1] = 0;
  InFrameMove();

  if (m_Revision >= 212 && !d.transferBusy) {
    if (s.zoom == 0.5)
      DrainLine(g.LineBytes);
    else
      ReadLine(m_pLineBuffer, 0);
  } else if (m_Revision == 210 && !d.nt) {
    for (int i = 0; i < 4; ++i) ReadStatus(base, 0);
    DrainLine(4);
  }
  if (budgetSpent) StartFrame();
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
  const bool longWait = (kind == 1 || kind == 3) && m_Revision >= 217 && s.ExpMode == 2 && s.ExpParam > 4;
  PollBudget budget(longWait ? s.ExpParam : 1);
  DWORD base = s.PCIaddress;
  bool first = true;
  LONG previous = 0;
  do {
    // A long exposure's sync comes only as it ends: a capture's stop does not wait for it.
    if (longWait && !m_Searching && s.bAbort) return FALSE;
    DWORD status = ReadStatus(base, 0);
    LONG counter = LONG(status >> 16);
    if (first && kind >= 1 && s.ExpMode == 1 && g.LinesPerFrame > 0) {
      LONG remaining = std::max<LONG>(0, (kind == 2 ? g.SettleLine : g.LinesPerFrame) - counter);
      LONG ms = g.FramePeriodMs * remaining / g.LinesPerFrame - 10;
      if (ms > 10) Sleep(DWORD(ms));
    }
    // On a busy machine a read may come too late for the one settle line or for the few
    // lines of the sync phase: a counter that went past the line, or started a new frame
    // since the last read, counts as having reached it.
    const bool wrapped = !first && counter < previous;
    if (kind == 2) {
      if (counter == g.SettleLine || (!first && Crossed(previous, counter, g.SettleLine))) kind = 3;
      previous = counter;
      first = false;
      continue;
    }
    first = false;
    previous = counter;
    bool sync = status & 4;
    if (kind == 0 ? !sync : (sync || wrapped)) return TRUE;
    if (kind == 3 && g.LinesPerFrame > 0 && counter > g.LinesPerFrame + 10) return TRUE;
  } while (!budget.Spend());
  s.Camera_Status = -13;
  return FALSE;
}
