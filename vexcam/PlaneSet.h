// The colour planes as the picture kernels see them, and what else they read of the
// camera object: plane roles, colour phases, progress and the green statistics state.
// The kernels take this small view so they run on the camera's planes and on planes
// built by hand alike.
#pragma once
#include <cstdint>
#include <functional>

#include "WinTypes.h"

namespace vexcam {

// Four planes of 8-bit samples reached through row tables. Every plane has `rows` rows of
// `rowBytes` addressable samples; kernels never reach outside that.
struct PlaneSet {
  BYTE* const* row[4] = {};
  LONG rows = 0;
  LONG rowBytes = 0;
  bool Ready() const { return row[0] && row[1] && row[2] && row[3] && rows > 0 && rowBytes > 0; }
};

// Which plane carries which colour (green1: the green on the red rows).
struct PlaneRoles {
  int blue = 1, red = 2, green1 = 0, green2 = 3;
};

// Row and column phase (0 or 1) of each plane inside a 2 x 2 cell.
struct Phases {
  int cp[4] = {0, 0, 1, 1};
  int rp[4] = {0, 1, 0, 1};
};

// The colour-phase tables of the camera object: [plane][grid size][step].
using PhaseTable = int16_t[4][7][6];

// Phases of the single-shot kernels: table entry 24 (or `entry`), made 0 or 1, then
// rearranged by the mirror, flip and swap bits of Mode.
Phases SingleShotPhases(const PhaseTable& column, const PhaseTable& row, DWORD mode, int columnEntry = 24,
                        int rowEntry = 24);

// The slot list [s0..s3] that Mode's bits 0x8, 0x4 and 0x10 make of [0, 1, 2, 3].
void ModeSlots(DWORD mode, int slots[4]);

// Kept between calls of the green statistics.
struct GreenStatsState {
  double ratio = 0.0;
  LONG history[8] = {5000, 5000, 5000, 5000, 5000, 5000, 5000, 5000};
  LONG reference = 0;
};

// Answers a percentage with 1 (go on) or 0 (the user cancelled).
using ProgressFn = std::function<int(int percent)>;

// Everything a reconstruction kernel reads besides the picture.
struct ColourContext {
  PlaneSet planes;
  PlaneRoles roles;
  Phases phases;
  LONG revision = 0;
  DWORD mode = 0;
  double zoom = 1.0;
  const DWORD* abort = nullptr;  // the block's bAbort
  bool enhancementFollows = false;
  bool statisticsFlag = false;   // green statistics requested
  bool combineOption = false;    // pixel-shift frames combined on request
  bool preview = false;
  bool frameParity = false;
  GreenStatsState* green = nullptr;
  ProgressFn progress;
  int threads = 0;  // threads a pass is shared among; 0: all of the library's pool

  int Report(int percent) const { return progress ? progress(percent) : 1; }
  bool Aborted() const { return abort && *abort; }
};

// Bottom-up pictures: plane row r is memory row height - 1 - r.
inline BYTE* PictureRow(BYTE* bits, LONG stride, LONG height, LONG r) {
  return bits + ptrdiff_t(height - 1 - r) * stride;
}

inline int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// The step at which kernels report progress.
inline LONG ProgressStep(LONG height) { return height / 48 > 10 ? height / 48 : 10; }

}  // namespace vexcam
