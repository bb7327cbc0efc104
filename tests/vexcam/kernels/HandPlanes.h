// Hand-built colour planes and pictures for the kernel tests.
#pragma once
#include <vector>

#include "ColourReconstruction.h"
#include "PlaneSet.h"

namespace vexcam::test {

// Four planes of w x h samples plus a margin, every sample `fill`.
struct HandPlanes {
  HandPlanes(LONG w, LONG h, BYTE fill = 0, LONG margin = 2) : rows(h + margin), bytes(w + margin) {
    for (int p = 0; p < 4; ++p) {
      memory[p].assign(size_t(rows * bytes), fill);
      for (LONG r = 0; r < rows; ++r) table[p].push_back(memory[p].data() + r * bytes);
    }
  }
  BYTE& At(int p, LONG r, LONG x) { return table[p][size_t(r)][x]; }
  PlaneSet View() const {
    PlaneSet v;
    for (int p = 0; p < 4; ++p) v.row[p] = table[p].data();
    v.rows = rows, v.rowBytes = bytes;
    return v;
  }
  LONG rows, bytes;
  std::vector<BYTE> memory[4];
  std::vector<BYTE*> table[4];
};

// A bottom-up 24-bit picture; Px(r, x) addresses picture row r from the top.
struct Picture {
  Picture(LONG w, LONG h, BYTE fill = 0) : width(w), height(h), stride((3 * w + 3) & ~3), bits(size_t(stride * h), fill) {}
  BYTE* Px(LONG r, LONG x) { return bits.data() + (height - 1 - r) * stride + 3 * x; }
  LONG width, height, stride;
  std::vector<BYTE> bits;
};

// Phase tables whose entry 24 puts plane 0 at (0, 0), 1 at (1, 0), 2 at (0, 1), 3 at (1, 1).
inline void StandardPhaseTables(PhaseTable& column, PhaseTable& row) {
  for (int p = 0; p < 4; ++p)
    for (int g = 0; g < 7; ++g)
      for (int k = 0; k < 6; ++k) column[p][g][k] = row[p][g][k] = 0;
  for (int p = 0; p < 4; ++p) {
    column[p][4][0] = int16_t(p >= 2 ? 2 : 0);
    row[p][4][0] = int16_t(p % 2 ? 2 : 0);
  }
}

// A context of the planes with the standard phases, the orientation bits of `mode` and
// board revision 217.
inline ColourContext StandardContext(const HandPlanes& planes, DWORD mode = 0) {
  ColourContext c;
  c.planes = planes.View();
  PhaseTable column, row;
  StandardPhaseTables(column, row);
  c.phases = SingleShotPhases(column, row, mode);
  c.mode = mode;
  c.revision = 217;
  return c;
}

}  // namespace vexcam::test
