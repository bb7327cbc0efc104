// Where the multi-frame readout puts a board line's samples in the four colour planes:
// the phases of a shift position, the placement by Mode's orientation bits, the signal
// check of a frame and the frame averaging.
#pragma once
#include <cstdint>

#include "PlaneSet.h"

namespace vexcam {

// Plane units per cell half (g) and the span over which mirrored steps reverse (S).
struct ShiftGrid {
  LONG step = 1, span = 2;
};
ShiftGrid GridOf(LONG factor);

// Row and column phase of each plane at one shift position.
struct PositionPhases {
  int row[4] = {}, column[4] = {};
};
// Phases of position p of a factor-f capture; schedule[p] is its column step. Mode bits
// 0x1 and 0x2 mirror the row and column steps.
PositionPhases PhasesOf(const PhaseTable& column, const PhaseTable& row, const BYTE schedule[36], LONG factor, LONG p,
                        DWORD mode);

// One line's placement: sample k of a cell, through its level table, goes to plane k.
struct LinePlacement {
  PlaneSet planes;
  PositionPhases phases;
  LONG grid = 1;             // g
  LONG width = 0, height = 0;  // the kernel's width and height arguments
  DWORD mode = 0;
  bool negative = false;     // 255 - level
  const BYTE* lut[4] = {};   // level table of each byte lane
};
// Places `count` cell words of board line `line`; placements outside the planes are skipped.
void PlaceLine(const LinePlacement& p, const BYTE* cells, LONG count, LONG line);

// The signal latch: set once the OR of a line's raw words carries a byte at the threshold,
// in this line and the one before.
struct SignalLatch {
  bool set = false;
  uint32_t current = 0, previous = 0;
  void Reset() { *this = SignalLatch{}; }
  // ORs the cells (all but the first three and the last two; every second with `sparse`)
  // and checks both accumulators against the threshold.
  void Check(const BYTE* cells, LONG count, bool sparse, int threshold);
};

// Frame averaging: byte sums of `count` frames and their integer mean.
void Accumulate(uint16_t* sums, const BYTE* bytes, LONG n);
void AverageInto(BYTE* out, const uint16_t* sums, LONG n, LONG frames);

}  // namespace vexcam
