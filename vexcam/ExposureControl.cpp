// Exposure of the camera: the exposure registers of model 0xA with the switch between
// normal and long exposures, the shutter step codes, the restart of an exposure and the
// automatic exposure that follows the picture's brightness from frame to frame.
#include <algorithm>

#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "SettingsBlock.h"
#include "Timing.h"

namespace {

constexpr DWORD kExposureNormal = 0x1300, kExposureLong = 0x13FF;
constexpr DWORD kModeAutoExposure = 0x10000, kModeRaw = 0x20000;
constexpr LONG kLongUnitsMax = 12;

LONG CounterNow(DWORD base) { return LONG(ReadStatus(base, 0) >> 16); }

}  // namespace

void CCameraCtrl::SetExposure(LONG exposure, LONG mode) {
  if (!ModelA()) return;
  tCameraSettings& s = Settings();
  const LONG e = exposure % 2048;
  if (m_Revision >= 217) {
    s.ExposureLong = mode == 1 || (mode == 2 && e <= kLongUnitsMax) ? 0 : 1;
    if (!WaitHandshake("SetExposure")) return;
    if (s.bPCI) WritePortD(s.PCIaddress, 0, s.ExposureLong ? kExposureLong : kExposureNormal);
  }
  if (mode == 1 || mode == 2) {
    if (!SendAddrCmmndPCI(15, BYTE((e % 32) * 8))) return;
    if (!SendAddrCmmnd(16, BYTE(e / 32 + (mode == 1 ? 128 : 64)))) return;
  } else if (mode == 0 || mode == 3) {
    if (!SendAddrCmmnd(16, 0)) return;
  }

  // Entering a long exposure restarts the frame once the registers are in; leaving one
  // waits for a frame boundary first.
  const bool isLong = mode == 2 && e > 1 && m_Revision >= 217;
  if (isLong) {
    Sleep(83);
    RearmExposure();
  } else if (m_PreviousLong) {
    WaitSyncPhase(0);
    WaitSyncPhase(1);
    RearmExposure();
  }
  m_PreviousLong = isLong;
  if (!(m_PreviewCapture && (s.Mode & kModeAutoExposure))) m_ExposureChanged = true;
}

void CCameraCtrl::SetShutterStep(LONG code) {
  tCameraSettings& s = Settings();
  const LONG model = CameraModel(s.CameraVer);
  if (model == 5) {
    SendAddrCmmnd(12, BYTE(code)) && SendAddrCmmnd(12, BYTE(code));
    s.ExpParam = -1;
    return;
  }
  if (model != 0xA) return;
  static constexpr LONG kLong[6] = {24, 12, 6, 3, 2, 1};                        // codes -6 .. -1
  static constexpr LONG kShort[10] = {500, 250, 125, 50, 25, 12, 6, 3, 2, 1};  // codes 0 .. 9
  if (code == -7) {
    if (s.ExpParam > 0)
      SetExposure(s.ExpParam, 2);
    else
      SetExposure(-7, 1);
  } else if (code >= -6 && code <= -1) {
    SetExposure(kLong[code + 6], 2);
  } else if (code >= 0 && code <= 9) {
    SetExposure(kShort[code], 1);
  } else if (code == 10) {
    if (s.ExpParam == 0) s.ExpParam = 500;
    SetExposure(s.ExpParam, 1);
  } else if (code == 11) {
    SetExposure(0, 1);
  } else {
    SetExposure(code, code > 0 ? 2 : 1);
  }
}

void CCameraCtrl::RestartExposure(LONG flag) {
  tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  const DWORD base = s.PCIaddress;
  if (ModelA() && s.ExpMode == 2 && s.ExpParam > 1) {
    if (m_Revision >= 217) {
      SetExposure(1, 1);
      SetExposure(s.ExpParam, 2);
      return;
    }
    // The older camera takes exposure changes only early in a frame: each step waits for
    // a frame to begin and its counter to pass the first lines.
    const LONG budget = DeviceState().portReadsPerHalfSecond;
    auto waitPast = [&](LONG line) {
      for (LONG i = 0; i < budget; ++i) {
        if (!WaitSyncPhase(0)) return;
        if (CounterNow(base) > line) return;
      }
    };
    auto step = [&](LONG e, LONG mode) {
      WaitSyncPhase(1);
      waitPast(g.LineOffset);
      SetExposure(e, mode);
      WaitSyncPhase(0);
    };
    if (flag > 0) step(1, 1);
    step(1, 2);
    step(s.ExpParam, s.ExpMode);
    waitPast((m_WindowTop + g.LineOffset) / 2 + 1);
    m_LineMarks[0] = m_LineMarks[1];
    m_LineMarks[1] = DeviceState().lastLine;
    StartStopwatch(0);
    return;
  }
  if (s.PCIaddress == kNoBoard || g.LinesPerFrame <= 0) return;
  // Sleep until shortly before the frame reaches the window's first line.
  LONG first = CounterNow(base), second = CounterNow(base);
  const LONG counter = first != second ? std::min(first, second) : first;
  // Transfer modes 1 and 2 keep any zoom; one the readout cannot use counts as 1.0 here.
  const double zoom = s.zoom >= 0.01 && s.zoom <= 100 ? s.zoom : 1.0;
  const LONG target = LONG(((m_WindowTop + g.LineOffset) / 2 + 4) / zoom);
  LONG lines = target - counter;
  if (lines <= 0) lines += g.LinesPerFrame;
  const LONG ms = g.FramePeriodMs * lines / g.LinesPerFrame + g.FramePeriodMs - 10;
  if (ms > 0) Sleep(DWORD(ms));
}

void CCameraCtrl::AdjustAutoExposure(LONG, LONG level, LONG low, LONG high) {
  tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  const LONG lineMax = 2 * g.LinesPerFrame - 1;
  bool stepped = false;
  if (s.ExposureLong) {
    low = 2 * low - high;
    if (!(s.Mode & kModeRaw)) s.ExpMode = 1;
  }
  // Hysteresis: a step is made only after `frames` frames on the same side of the band.
  auto bright = [&](LONG frames) {
    if (m_AutoCounter < 0) {
      m_AutoCounter = 0;
      m_Overshoot = true;
    }
    return ++m_AutoCounter >= frames;
  };
  auto dark = [&](LONG frames) {
    if (m_AutoCounter > 0) m_AutoCounter = 0;
    return --m_AutoCounter <= -frames;
  };

  if (s.ExpMode == 2) {
    if (m_Overshoot) low = std::min(low, high - high / std::max<LONG>(s.ExpParam, 8));
    if (level > high) {
      if (bright(3)) {
        stepped = true;
        if (--s.ExpParam <= 0) {
          s.ExpMode = 1;
          s.ExpParam = lineMax;
          SetExposure(s.ExpParam, 1);
        } else {
          s.ExpParam = std::clamp<LONG>(s.ExpParam, 1, kLongUnitsMax);
          SetExposure(s.ExpParam, 2);
          if (s.ExpParam == 1) {
            // Back at one unit: let the camera run a clean frame at the new exposure.
            m_AutoCounter = 0;
            WaitSyncPhase(1);
            StartFrame();
            DrainLine(g.LineBytes);
            WaitSyncPhase(2);
            StartFrame();
          }
        }
      }
    } else if (level < low) {
      if (dark(2)) {
        stepped = true;
        m_Overshoot = false;
        s.ExpParam = std::clamp<LONG>(s.ExpParam + 1, 1, kLongUnitsMax);
        SetExposure(s.ExpParam, 2);
      }
    } else {
      m_AutoCounter = 0;
    }
  } else if (s.ExpMode == 1) {
    if (level > high) {
      if (bright(2)) {
        LONG a, b;
        if (level >= 255) {
          a = 4 * (level - low);
          b = (level - low) * s.ExpParam / (s.ExposureLong ? 256 : 128);
        } else {
          a = 2 * (level - low);
          b = (level - high) * s.ExpParam / 256;
        }
        const LONG step = std::max<LONG>(1, std::min(a, b));
        if (s.ExpParam <= 1) {
          s.ExpParam = 1;
        } else {
          stepped = true;
          s.ExpParam -= step;
          SetExposure(s.ExpParam, 1);
        }
      }
    } else if (level < low) {
      if (dark(2)) {
        stepped = true;
        const LONG d = low - level;
        s.ExpParam += std::max<LONG>(1, std::min(d, d * s.ExpParam / 256));
        if (s.ExpParam > lineMax) {
          if (s.Mode & kModeRaw) {
            // Past the longest exposure in lines: continue in frame units.
            s.ExpMode = 2;
            s.ExpParam = 1;
            SetExposure(1, 2);
            DrainLine(g.LineBytes);
            StartFrame();
            WaitSyncPhase(0);
            DrainLine(g.LineBytes);
            WaitSyncPhase(1);
            StartFrame();
            WaitSyncPhase(0);
          } else {
            s.ExpParam = lineMax;
            SetExposure(s.ExpParam, 1);
          }
        } else {
          s.ExpParam = std::max<LONG>(s.ExpParam, 4);
          SetExposure(s.ExpParam, 1);
        }
      }
    } else {
      m_AutoCounter = 0;
    }
  }
  if (!stepped) m_Signal.set = true;
}
