#include "PlanePlacement.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The camera object's phase tables: column (p >= 2 ? s : 0) - k r, row (p odd ? s : 0) - k r,
// with (s, r) per grid size.
struct Tables {
  vexcam::PhaseTable column{}, row{};
  BYTE schedule[36] = {};
  Tables() {
    static constexpr int kStart[7] = {0, 1, 1, 3, 2, 5, 3}, kStep[7] = {0, 1, 1, 2, 1, 2, 1};
    for (int m = 1; m <= 6; ++m)
      for (int p = 0; p < 4; ++p)
        for (int k = 0; k < 6; ++k) {
          column[p][m][k] = int16_t((p >= 2 ? kStart[m] : 0) - k * kStep[m]);
          row[p][m][k] = int16_t((p % 2 ? kStart[m] : 0) - k * kStep[m]);
        }
  }
};

// Planes of `size` x `size` samples filled with 0xEE.
struct Planes {
  explicit Planes(LONG size) : n(size) {
    for (int k = 0; k < 4; ++k) {
      memory[k].assign(size_t(n * n), 0xEE);
      for (LONG r = 0; r < n; ++r) rows[k].push_back(memory[k].data() + r * n);
      set.row[k] = rows[k].data();
    }
    set.rows = set.rowBytes = n;
  }
  BYTE At(int k, LONG r, LONG c) const { return memory[k][size_t(r * n + c)]; }
  LONG n;
  std::vector<BYTE> memory[4];
  std::vector<BYTE*> rows[4];
  vexcam::PlaneSet set;
};

BYTE kIdentity[256];
const bool kFilled = [] {
  for (int v = 0; v < 256; ++v) kIdentity[v] = BYTE(v);
  return true;
}();

// Position 0 of a 3 x 3 shift on planes of the given size, window side `side`.
vexcam::LinePlacement AtFirstOfNine(const Tables& t, const Planes& planes, LONG side, DWORD mode,
                                    const BYTE* lut = kIdentity) {
  vexcam::LinePlacement p;
  p.planes = planes.set;
  p.phases = vexcam::PhasesOf(t.column, t.row, t.schedule, 3, 0, 0);
  p.grid = 3;
  p.width = p.height = side;
  p.mode = mode;
  for (auto& table : p.lut) table = lut;
  return p;
}

}  // namespace

TEST(PlanePlacement, PhasesByPositionAndMirror) {
  const Tables t;
  struct Case {
    LONG factor, position;
    BYTE step;  // the position's column step
    DWORD mode;
    int row0, column2;  // row phase of plane 0, column phase of plane 2
  } cases[] = {
      {3, 0, 0, 0, 0, 3},
      {3, 4, 1, 0, -2, 1},      // row 1, column step 1: two plane units each
      {4, 5, 1, 0x1, -2, 1},    // mirrored rows of 4: index 3 - 1
      {2, 0, 0, 0x1, -2, 1},    // mirrored rows of 2: index 2 - 0
      {2, 1, 1, 0x2, 0, 0},     // mirrored columns of 2: index 2 - 1
  };
  for (const Case& c : cases) {
    BYTE schedule[36] = {};
    schedule[c.position] = c.step;
    const auto p = vexcam::PhasesOf(t.column, t.row, schedule, c.factor, c.position, c.mode);
    EXPECT_EQ(p.row[0], c.row0) << c.factor << " " << c.position;
    EXPECT_EQ(p.column[2], c.column2) << c.factor << " " << c.position;
  }
}

TEST(PlanePlacement, CellsLandByOrientation) {
  const Tables t;
  struct Case {
    DWORD mode;
    LONG row, column;  // where sample 0 of cell (line 1, cell 1) lands, at F = 3
  } cases[] = {
      {0, 6, 6},
      {0x8, 6, (8 - 2 - 3) * 3},  // W = 8
      {0x4, (8 - 2 - 1) * 3, 6},  // H = 8
      {0xC, 15, 9},
      {0x10, 6, 15},
      {0x14, 6, 6},
      {0x18, 9, 15},
      {0x1C, 9, 6},
  };
  for (const Case& c : cases) {
    Planes planes(24);
    const vexcam::LinePlacement p = AtFirstOfNine(t, planes, 8, c.mode);
    const BYTE cells[8] = {1, 2, 3, 4, 0x55, 6, 7, 8};
    vexcam::PlaceLine(p, cells, 2, 1);
    EXPECT_EQ(planes.At(0, c.row, c.column), 0x55) << std::hex << c.mode;
  }
}

TEST(PlanePlacement, NegativeAndLevelTablesAndEdges) {
  const Tables t;
  Planes planes(6);
  BYTE doubled[256];
  for (int v = 0; v < 256; ++v) doubled[v] = BYTE(std::min(255, 2 * v));
  vexcam::LinePlacement p = AtFirstOfNine(t, planes, 4, 0, doubled);
  p.negative = true;
  const BYTE cells[8] = {10, 20, 30, 40, 50, 60, 70, 80};
  vexcam::PlaceLine(p, cells, 2, 0);  // cell 1 lands at column 6: outside, skipped
  EXPECT_EQ(planes.At(0, 0, 0), 255 - 20);
  EXPECT_EQ(planes.At(3, 3, 3), 255 - 80);
  for (LONG r = 0; r < 6; ++r) EXPECT_EQ(planes.At(1, r, 5), 0xEE) << r;
}

TEST(SignalLatch, BothAccumulatorsMustReachTheThreshold) {
  struct Case {
    BYTE previous, current;
    int threshold;
    bool set;
  } cases[] = {{127, 200, 64, true}, {127, 200, 128, false}, {63, 200, 64, false}};
  for (const Case& c : cases) {
    vexcam::SignalLatch latch;
    std::vector<BYTE> line(4 * 10, 0);
    line[4 * 5 + 1] = c.previous;
    latch.Check(line.data(), 10, false, c.threshold);
    EXPECT_FALSE(latch.set);
    line[4 * 5 + 1] = c.current;
    latch.Check(line.data(), 10, false, c.threshold);
    EXPECT_EQ(latch.set, c.set) << int(c.previous) << " " << c.threshold;
  }
}

TEST(SignalLatch, EdgeCellsDoNotCount) {
  vexcam::SignalLatch latch;
  std::vector<BYTE> line(4 * 10, 0);
  for (int j : {0, 1, 2, 8, 9}) line[4 * size_t(j)] = 255;
  latch.Check(line.data(), 10, false, 64);
  latch.Check(line.data(), 10, false, 64);
  EXPECT_FALSE(latch.set);
}

TEST(FrameAveraging, MeanOfTheFrames) {
  struct Case {
    std::vector<BYTE> frames;
    BYTE mean;
  } cases[] = {{{10, 11, 12, 13}, 11}, {std::vector<BYTE>(257, 255), 255}, {{0}, 0}};
  for (const Case& c : cases) {
    uint16_t sum = 0;
    for (BYTE v : c.frames) vexcam::Accumulate(&sum, &v, 1);
    BYTE out = 0xEE;
    vexcam::AverageInto(&out, &sum, 1, LONG(c.frames.size()));
    EXPECT_EQ(out, c.mean) << c.frames.size();
  }
}
