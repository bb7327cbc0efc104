#include <gtest/gtest.h>

#include <vector>

#include "HandPlanes.h"
#include "PlaneMerge.h"

using namespace vexcam;
using vexcam::test::HandPlanes;

namespace {

// A sub-frame store whose rows are 12 bytes; rows not set are missing.
struct HandFrames {
  HandFrames() : table(size_t(SubFrameStore::kBlocks * SubFrameStore::kBlockRows), nullptr) {}
  std::vector<BYTE>& Row(LONG block, LONG r) {
    auto& row = memory.emplace_back(12, 0);
    table[size_t(block * SubFrameStore::kBlockRows + r)] = row.data();
    return row;
  }
  SubFrameStore View() const { return {table.data(), 12}; }
  std::vector<std::vector<BYTE>> memory;
  std::vector<BYTE*> table;
};

struct Tables {
  PhaseTable column{}, row{};
  StepTable steps{};
  LevelTables lut{};
  Tables() {
    for (auto& gain : lut)
      for (auto& lane : gain)
        for (int v = 0; v < 256; ++v) lane[v] = BYTE(v);
  }
};

MergeJob Job(const HandPlanes& planes, const HandFrames& frames, const Tables& t) {
  MergeJob j;
  j.planes = planes.View();
  j.frames = frames.View();
  j.column = &t.column;
  j.row = &t.row;
  j.steps = &t.steps;
  j.lut = &t.lut;
  j.maxWidth = j.maxHeight = 64;
  return j;
}

}  // namespace

TEST(PlaneFill, SplitsCellWordsThroughTheLevelTables) {
  HandPlanes planes(8, 8, 0x77);
  HandFrames frames;
  Tables t;
  vexcam::test::StandardPhaseTables(t.column, t.row);
  t.column[0][4][3] = -2;  // entry 27: plane 0 moves to column phase 1 under Mode 0x2
  for (int v = 0; v < 256; ++v) t.lut[1][2][v] = BYTE(255 - v);
  for (LONG y = 0; y < 2; ++y) {
    auto& row = frames.Row(13, y);  // column step 1, row step 2
    for (int i = 0; i < 12; ++i) row[size_t(i)] = BYTE(10 * y + i + 1);
  }
  MergeJob job = Job(planes, frames, t);
  job.gainLv = 1;
  job.lanes[2] = 2, job.lanes[1] = 2;  // planes 1 and 2 use the inverting lane
  // A row length beyond 64 K keeps only its low part: 65536 + 6 bytes make 3 cells.
  ASSERT_EQ(PlanesFromSubFrame(job, 1, 2, 65536 + 6, 4), 1);
  EXPECT_EQ(planes.At(0, 2, 2), 10 + 4 + 1);        // cell (1, 1), byte 0 at (2y, 2x)
  EXPECT_EQ(planes.At(1, 3, 2), 255 - (10 + 5 + 1)); // byte 1 at (2y + 1, 2x), through the table
  EXPECT_EQ(planes.At(2, 2, 3), 255 - (10 + 6 + 1)); // byte 2 at (2y, 2x + 1)
  EXPECT_EQ(planes.At(3, 3, 5), 10 + 11 + 1);       // cell (1, 2), byte 3
  EXPECT_EQ(planes.At(0, 1, 1), 0);                 // cleared before the fill
  EXPECT_EQ(planes.At(0, 5, 1), 0x77);              // below the given rows: untouched
  EXPECT_EQ(planes.At(0, 0, 7), 0);                 // cleared over the whole given length
  job.mode = 0x2;
  ASSERT_EQ(PlanesFromSubFrame(job, 1, 2, 6, 4), 1);
  EXPECT_EQ(planes.At(0, 2, 3), 10 + 4 + 1);
}

TEST(PlaneFill, OversizedRequestsStayInsideThePlanes) {
  HandPlanes planes(4, 4, 0);
  HandFrames frames;
  Tables t;
  frames.Row(0, 0);
  MergeJob job = Job(planes, frames, t);
  EXPECT_EQ(PlanesFromSubFrame(job, 0, 0, 1 << 30, 1 << 20), 1);
  EXPECT_EQ(PlanesFromSubFrame(job, 9, 9, 8, 8), 1);     // no such block: the planes are just cleared
  EXPECT_EQ(PlanesFromSubFrame(job, -3, -1, -8, -8), 1);
  job.planes = PlaneSet{};
  EXPECT_EQ(PlanesFromSubFrame(job, 0, 0, 8, 8), 0);
}

// One position: each cell's bytes 2.. land bottom-up, turned by the orientation bits.
TEST(SubFrameMerge, PlacesCellsByOrientation) {
  struct Case {
    DWORD mode;
    LONG row, col;    // where plane 1's sample of cell (x 1, y 0) lands in a 4 x 4 raster
    LONG row0, col0;  // and plane 3's sample of cell (0, 0)
  } cases[] = {{0, 3, 2, 3, 0}, {0x4, 0, 2, 0, 0}, {0x8, 3, 1, 3, 3}, {0x10, 1, 3, 3, 3}, {0x18, 2, 3, 0, 3}};
  for (const Case& k : cases) {
    HandPlanes planes(4, 4, 0x77);
    HandFrames frames;
    Tables t;
    auto& row = frames.Row(0, 0);
    for (int i = 0; i < 12; ++i) row[size_t(i)] = BYTE(i + 1);
    MergeJob job = Job(planes, frames, t);
    job.mode = k.mode;
    MergeSubFrames(job, 1, 1, 4, 4);
    EXPECT_EQ(planes.At(1, k.row, k.col), 4 + 3 + 1) << "mode " << k.mode;  // byte 2 + 1 of word 1
    // Plane 3 of cell 0 reads the first bytes of the next word.
    EXPECT_EQ(planes.At(3, k.row0, k.col0), 5 + 1) << "mode " << k.mode;
  }
}

TEST(SubFrameMerge, PositionCountsChooseTheSubFrames) {
  struct Case {
    LONG positions, cameraVer;
  } cases[] = {{18, 0}, {18, 3}, {36, 0}, {5, 0}, {0, 0}};
  for (const Case& k : cases) {
    HandPlanes planes(6, 6, 0);
    HandFrames frames;
    Tables t;
    for (int p = 0; p < 4; ++p)
      for (int s = 0; s < 6; ++s) t.column[p][6][s] = t.row[p][6][s] = int16_t(s);
    for (int sub = 0; sub < 36; ++sub) {
      t.steps[6][sub] = BYTE(sub % 6);
      auto& row = frames.Row(sub, 0);
      std::fill(row.begin(), row.end(), BYTE(sub + 1));
    }
    MergeJob job = Job(planes, frames, t);
    job.cameraVer = k.cameraVer;
    job.tranMode = 6;
    MergeSubFrames(job, k.positions, 1, 2, 2);
    // Sub-frame 6t + s puts its blue at row 5 - t, column s.
    for (LONG tt = 0; tt < 6; ++tt)
      for (LONG s = 0; s < 6; ++s) {
        bool merged = k.positions == 36 || (k.positions == 18 && (s + (k.cameraVer == 3 ? tt : 0)) % 2 == 0);
        EXPECT_EQ(planes.At(1, 5 - tt, s), merged ? 6 * tt + s + 1 : 0)
            << k.positions << " positions, camera " << k.cameraVer << ", sub-frame " << 6 * tt + s;
      }
  }
}

TEST(SubFrameMerge, GreensAverageInTheLowerHalfOfAnEvenGrid) {
  for (LONG tranMode : {0, 6}) {
    HandPlanes planes(2, 2, 100);
    HandFrames frames;
    Tables t;
    t.steps[2][2] = 0;  // sub-frame 2: column step 0, row step 1, block 6
    auto& row = frames.Row(6, 0);
    std::fill(row.begin(), row.end(), BYTE(51));
    MergeJob job = Job(planes, frames, t);
    job.tranMode = tranMode;
    MergeSubFrame(job, 2, 2, 2, 2);
    EXPECT_EQ(planes.At(0, 1, 0), tranMode == 6 ? 51 : 75) << tranMode;  // green: floor of the mean
    EXPECT_EQ(planes.At(1, 1, 0), 51) << tranMode;                        // blue overwrites
  }
}

TEST(SubFrameMerge, RefusesSizesBeyondTheMaximum) {
  HandPlanes planes(4, 4, 0x77);
  HandFrames frames;
  Tables t;
  auto& row = frames.Row(0, 0);
  std::fill(row.begin(), row.end(), BYTE(1));
  MergeJob job = Job(planes, frames, t);
  job.maxWidth = job.maxHeight = 2;
  job.tranMode = 6;
  MergeSubFrame(job, 4, 4, 1, 0);
  MergeSubFrames(job, 1, 1, -4, 4);
  MergeContinuousFrame(job, 0, 0, 1, 4, 4);
  for (int p = 0; p < 4; ++p) EXPECT_EQ(planes.memory[p], std::vector<BYTE>(planes.memory[p].size(), 0x77));
}

TEST(SubFrameMerge, LutKernelSkipsPlacementsAboveTheFirstRow) {
  HandPlanes planes(4, 4, 0);
  HandFrames frames;
  Tables t;
  for (int v = 0; v < 256; ++v) t.lut[0][0][v] = BYTE(v + 100);
  t.steps[2][3] = 1;  // sub-frame 3 would read block 7, but model 6 always reads block 0
  for (LONG y = 0; y < 2; ++y) {
    auto& row = frames.Row(0, y);
    for (int i = 0; i < 12; ++i) row[size_t(i)] = BYTE(10 * y + i);
  }
  MergeJob job = Job(planes, frames, t);
  job.cameraVer = 0x600;
  MergeSubFramesLut(job, 2, 1, 2, 2);
  // Cells x 0..1 and rows 0..1 inclusive; row y = 1 lands at row -1 and is skipped.
  EXPECT_EQ(planes.At(0, 1, 0), 100 + 0);
  EXPECT_EQ(planes.At(0, 1, 2), 100 + 4);
  EXPECT_EQ(planes.At(3, 1, 2), 7);
}

TEST(ContinuousFrame, PlacesAtTheHalvedPhasesOfScaleOne) {
  HandPlanes planes(4, 4, 0);
  HandFrames frames;
  Tables t;
  vexcam::test::StandardPhaseTables(t.column, t.row);
  auto& row = frames.Row(0, 0);
  for (int i = 0; i < 12; ++i) row[size_t(i)] = BYTE(i + 1);
  MergeJob job = Job(planes, frames, t);
  MergeContinuousFrame(job, 0, 0, 1, 4, 4);
  // Plane 3 has phases (1, 1): row 4 - 0 - 1 - 1, column 1 + 2x; byte 5 of the cell.
  EXPECT_EQ(planes.At(3, 2, 1), 6);
  EXPECT_EQ(planes.At(3, 2, 3), 10);
  EXPECT_EQ(planes.At(0, 3, 0), 3);
}
