#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ColourReconstruction.h"
#include "HandPlanes.h"

using namespace vexcam;
using vexcam::test::HandPlanes;
using vexcam::test::Picture;

namespace {

ColourContext Context(const HandPlanes& planes, DWORD mode = 0) { return vexcam::test::StandardContext(planes, mode); }

// A sample value that tells plane, row and column apart.
BYTE Sample(int p, LONG r, LONG x) { return BYTE(10 + 40 * p + 3 * r + x); }

HandPlanes Distinct(LONG w, LONG h) {
  HandPlanes planes(w, h);
  for (int p = 0; p < 4; ++p)
    for (LONG r = 0; r < planes.rows; ++r)
      for (LONG x = 0; x < planes.bytes; ++x) planes.At(p, r, x) = Sample(p, r, x);
  return planes;
}

struct Rgb {
  int b, g, r;
  bool operator==(const Rgb&) const = default;
};
Rgb At(Picture& pic, LONG r, LONG x) { return {pic.Px(r, x)[0], pic.Px(r, x)[1], pic.Px(r, x)[2]}; }

}  // namespace

TEST(ModeSlots, MirrorFlipAndSwapRearrangeTheSlotList) {
  struct Case {
    DWORD mode;
    std::vector<int> slots;
  } cases[] = {{0, {0, 1, 2, 3}}, {0x4, {1, 0, 3, 2}}, {0x8, {2, 3, 0, 1}}, {0xC, {3, 2, 1, 0}}, {0x10, {1, 3, 0, 2}}};
  for (const Case& c : cases) {
    int s[4];
    ModeSlots(c.mode, s);
    EXPECT_EQ(std::vector<int>(s, s + 4), c.slots) << "Mode " << c.mode;
  }
}

// Every reconstruction of a flat grey field stays that grey, in every orientation, with
// the chroma step of both board generations.
TEST(Reconstruction, FlatGreyStaysGreyForEveryMethod) {
  const LONG w = 12, h = 10;
  HandPlanes planes(w, h, 100);
  GreenStatsState green;
  for (DWORD mode : {0u, 0x4u, 0x8u, 0x10u, 0x1Cu})
    for (LONG revision : {216, 217}) {
      ColourContext c = Context(planes, mode);
      c.revision = revision;
      c.green = &green;
      auto check = [&](const std::string& name, LONG pw, LONG ph, auto run) {
        Picture pic(pw, ph, 7);
        ASSERT_EQ(run(pic), 1) << name;
        for (LONG r = 0; r < ph; ++r)
          for (LONG x = 0; x < pw; ++x)
            ASSERT_EQ(At(pic, r, x), (Rgb{100, 100, 100})) << name << " mode " << mode << " rev " << revision
                                                           << " at " << r << "," << x;
      };
      for (int method : {0, 1, 2, 10, 11, 12})
        check("method " + std::to_string(method), w, h,
              [&](Picture& p) { return Reconstruct(c, method, p.bits.data(), w, h, p.stride); });
      for (int method : {0, 1, 2, 10, 11, 12})
        check("18 positions, method " + std::to_string(method), w, h,
              [&](Picture& p) { return RGBFromShift18(c, method, p.bits.data(), w, h, p.stride); });
      check("raw", w, h, [&](Picture& p) { return RGBFromPlanesRaw(c, p.bits.data(), w, h, p.stride); });
      check("half size", w / 2, h / 2, [&](Picture& p) { return RGBHalfSize(c, p.bits.data(), w / 2, h / 2, p.stride); });
      for (bool parity : {false, true})
        for (bool combine : {false, true}) {
          ColourContext s = c;
          s.frameParity = parity, s.combineOption = combine, s.statisticsFlag = true;
          check("shift cells", w, h, [&](Picture& p) { return RGBFromShiftCells(s, p.bits.data(), w, h, p.stride); });
          check("shift half size", w / 2, h / 2,
                [&](Picture& p) { return RGBHalfSizeShift(s, p.bits.data(), w / 2, h / 2, p.stride); });
        }
    }
}

// Where each plane's sample lands for each orientation: Mode's bits move the planes'
// phases, and the mosaic shows exactly one measured channel a pixel.
TEST(Reconstruction, MosaicPlacesEachPlaneByOrientation) {
  struct Case {
    DWORD mode;
    int planeAt[2][2];  // [row][column] of the 2 x 2 cell
  } cases[] = {
      {0, {{0, 2}, {1, 3}}},
      {0x4, {{1, 3}, {0, 2}}},
      {0x8, {{2, 0}, {3, 1}}},
      {0x10, {{1, 0}, {3, 2}}},
  };
  const int channel[4] = {1, 0, 2, 1};  // default roles: green1, blue, red, green2
  for (const Case& k : cases) {
    HandPlanes planes = Distinct(4, 4);
    ColourContext c = Context(planes, k.mode);
    Picture pic(4, 4, 0xEE);
    ASSERT_EQ(RGBMosaic(c, pic.bits.data(), 4, 4, pic.stride), 1);
    for (LONG r = 0; r < 4; ++r)
      for (LONG x = 0; x < 4; ++x) {
        int p = k.planeAt[r & 1][x & 1];
        int want[3] = {0, 0, 0};
        want[channel[p]] = Sample(p, r, x);
        EXPECT_EQ(At(pic, r, x), (Rgb{want[0], want[1], want[2]})) << "mode " << k.mode << " at " << r << "," << x;
      }
    // Row 0 of the planes is the last row in memory.
    if (k.mode == 0) {
      EXPECT_EQ(pic.bits[size_t(3 * pic.stride) + 1], Sample(0, 0, 0));
    }
  }
}

TEST(Reconstruction, BilinearFillsFromNeighboursAndMirrorsAtTheEdges) {
  HandPlanes planes = Distinct(4, 4);
  ColourContext c = Context(planes);
  Picture pic(4, 4);
  ASSERT_EQ(InterpolateBilinear(c, pic.bits.data(), 4, 4, pic.stride), 1);
  struct Case {
    LONG r, x;
    Rgb want;
  } cases[] = {
      {0, 0, {53, 10, 91}},   // first green, top-left: row -1 and column -1 read row 1 and column 1
      {1, 0, {53, 73, 94}},   // blue: green from four neighbours, red from the diagonals
      {2, 1, {57, 77, 97}},   // red: blue from the diagonals
      {3, 3, {61, 142, 99}},  // second green, bottom-right: held at the last row and column
  };
  for (const Case& k : cases) EXPECT_EQ(At(pic, k.r, k.x), k.want) << k.r << "," << k.x;
}

TEST(Reconstruction, ChromaStepByBoardRevision) {
  struct Case {
    LONG revision;
    Rgb in, out;
  } cases[] = {
      {216, {100, 120, 140}, {98, 120, 142}},
      {217, {100, 120, 140}, {95, 120, 145}},
      {217, {255, 0, 0}, {255, 0, 0}},   // 318 and -31 clamp
      {216, {0, 255, 0}, {0, 255, 0}},
  };
  for (const Case& k : cases) {
    BYTE px[3] = {BYTE(k.in.b), BYTE(k.in.g), BYTE(k.in.r)};
    ChromaPixel(px, k.revision);
    EXPECT_EQ((Rgb{px[0], px[1], px[2]}), k.out) << k.revision;
  }
}

TEST(Reconstruction, ChromaStepCoversThePadPixelOfEveryRow) {
  // Width 3: the stride of 12 bytes holds a fourth, padding pixel, which the step covers.
  Picture pic(3, 2, 0);
  for (LONG r = 0; r < 2; ++r) pic.Px(r, 3)[0] = 200, pic.Px(r, 3)[1] = 100;
  ChromaEnhance(pic.bits.data(), 2, pic.stride, 217);
  for (LONG r = 0; r < 2; ++r) EXPECT_EQ((Rgb{pic.Px(r, 3)[0], pic.Px(r, 3)[1], pic.Px(r, 3)[2]}), (Rgb{225, 100, 0}));
}

TEST(Reconstruction, RawTakesTheLargerGreen) {
  HandPlanes planes(2, 2, 0);
  planes.At(0, 0, 0) = 10, planes.At(3, 0, 0) = 200, planes.At(1, 0, 0) = 30, planes.At(2, 0, 0) = 40;
  ColourContext c = Context(planes, 0x1C);  // no phases and no Mode here
  Picture pic(2, 2);
  ASSERT_EQ(RGBFromPlanesRaw(c, pic.bits.data(), 2, 2, pic.stride), 1);
  EXPECT_EQ(At(pic, 0, 0), (Rgb{30, 200, 40}));
}

TEST(Reconstruction, MethodsFourToNineLeaveThePicture) {
  HandPlanes planes(4, 4, 100);
  ColourContext c = Context(planes);
  for (int method = 4; method <= 9; ++method) {
    Picture pic(4, 4, 0x5A);
    EXPECT_EQ(Reconstruct(c, method, pic.bits.data(), 4, 4, pic.stride), 1);
    EXPECT_EQ(pic.bits, std::vector<BYTE>(pic.bits.size(), 0x5A)) << method;
  }
}

TEST(Reconstruction, NothingIsWrittenWithoutPlanesOrAfterAbort) {
  HandPlanes planes(4, 4, 100);
  ColourContext none;
  DWORD abort = 1;
  ColourContext aborted = Context(planes);
  aborted.abort = &abort;
  Picture pic(4, 4, 0x5A);
  EXPECT_EQ(RGBMosaic(none, pic.bits.data(), 4, 4, pic.stride), 0);
  EXPECT_EQ(RGBFromCells(none, pic.bits.data(), 4, 4, pic.stride), 0);
  EXPECT_EQ(RGBFromCells(aborted, pic.bits.data(), 4, 4, pic.stride), 0);
  EXPECT_EQ(RGBFromShiftCells(aborted, pic.bits.data(), 4, 4, pic.stride), 0);
  EXPECT_EQ(RGBHalfSize(none, pic.bits.data(), 2, 2, pic.stride), 0);
  EXPECT_EQ(RGBFromPlanesRaw(none, pic.bits.data(), 4, 4, pic.stride), 0);
  EXPECT_EQ(pic.bits, std::vector<BYTE>(pic.bits.size(), 0x5A));
}

// Cell replication: at zoom 0.5 every colour stays in its own cell; otherwise a colour of
// column phase 1 moves one pixel right, and the first and last cells keep fixed columns.
TEST(Reconstruction, CellReplicationByZoom) {
  const LONG w = 6;
  HandPlanes planes(w, 2, 0);
  for (LONG j = 0; j < w; j += 2) {
    planes.At(2, 0, j + 1) = BYTE(50 + j);  // red, phase 1
    planes.At(1, 1, j) = BYTE(100 + j);     // blue, phase 0
  }
  ColourContext c = Context(planes);
  c.revision = 216;  // no chroma correction
  for (double zoom : {0.5, 1.0}) {
    c.zoom = zoom;
    Picture pic(w, 2);
    ASSERT_EQ(RGBFromCells(c, pic.bits.data(), w, 2, pic.stride), 1);
    std::vector<int> red, blue;
    for (LONG x = 0; x < w; ++x) red.push_back(pic.Px(0, x)[2]), blue.push_back(pic.Px(1, x)[0]);
    EXPECT_EQ(blue, (std::vector<int>{100, 100, 102, 102, 104, 104})) << zoom;
    if (zoom == 0.5) {
      EXPECT_EQ(red, (std::vector<int>{50, 50, 52, 52, 54, 54}));
    } else {
      EXPECT_EQ(red, (std::vector<int>{50, 50, 50, 52, 54, 54}));
    }
  }
}

TEST(Reconstruction, CellsOfAFourPixelRowAreBothFixed) {
  HandPlanes planes(4, 2, 0);
  planes.At(2, 0, 1) = 50, planes.At(2, 0, 3) = 52;
  ColourContext c = Context(planes);
  Picture pic(4, 2);
  ASSERT_EQ(RGBFromCells(c, pic.bits.data(), 4, 2, pic.stride), 1);
  std::vector<int> red;
  for (LONG x = 0; x < 4; ++x) red.push_back(pic.Px(0, x)[2]);
  EXPECT_EQ(red, (std::vector<int>{50, 50, 52, 52}));
}

TEST(Reconstruction, PlanesSmallerThanThePictureAreNotOverrun) {
  HandPlanes planes(4, 4, 100, 0);  // no margin at all
  ColourContext c = Context(planes, 0x1C);
  GreenStatsState green;
  c.green = &green;
  Picture pic(8, 8, 0x5A);
  for (int method : {0, 2, 3, 11}) EXPECT_EQ(Reconstruct(c, method, pic.bits.data(), 8, 8, pic.stride), 1);
  EXPECT_EQ(RGBHalfSize(c, pic.bits.data(), 8, 8, pic.stride), 1);
  EXPECT_EQ(RGBFromShift18(c, 2, pic.bits.data(), 8, 8, pic.stride), 1);
  EXPECT_EQ(RGBFromPlanesRaw(c, pic.bits.data(), 8, 8, pic.stride), 1);
  EXPECT_EQ(GreenStatistics(c, 8, 8), 0);
}

// ---- progress

TEST(ReconstructionProgress, ReportsEveryStepRowsAndHalvesBeforeAnEnhancement) {
  struct Case {
    LONG height;
    bool enhancement;
    std::vector<int> first;
    size_t count;
  } cases[] = {
      {100, false, {9, 10, 19, 20}, 20},
      {100, true, {4, 5, 9, 10}, 20},
      {960, false, {1, 2, 4, 4}, 96},  // step 20: rows 18, 19, 38, 39 of 960
  };
  for (const Case& k : cases) {
    HandPlanes planes(8, k.height, 100);
    ColourContext c = Context(planes);
    c.enhancementFollows = k.enhancement;
    std::vector<int> seen;
    c.progress = [&](int p) { return seen.push_back(p), 1; };
    Picture pic(8, k.height);
    ASSERT_EQ(InterpolateBilinear(c, pic.bits.data(), 8, k.height, pic.stride), 1);
    EXPECT_EQ(std::vector<int>(seen.begin(), seen.begin() + 4), k.first) << k.height;
    EXPECT_EQ(seen.size(), k.count) << k.height;
    EXPECT_EQ(seen.back(), k.enhancement ? 50 : 100);
  }
}

TEST(ReconstructionProgress, ACancelStopsAtOnceAndLeavesTheRestOfThePicture) {
  const LONG h = 100;
  HandPlanes planes(8, h, 100);
  for (int method : {11, 12}) {
    ColourContext c = Context(planes);
    int calls = 0;
    c.progress = [&](int) { return ++calls, 0; };
    Picture pic(8, h, 0xEE);
    EXPECT_EQ(Reconstruct(c, method, pic.bits.data(), 8, h, pic.stride), 0) << method;
    EXPECT_EQ(calls, 1);
    // The first report comes after row 8: row 9 has only the measured channel.
    EXPECT_EQ(pic.Px(8, 0)[0], 100);
    EXPECT_EQ(pic.Px(9, 1)[0], 0xEE) << method;
  }
}

TEST(ReconstructionProgress, HalfSizeReportsBeforeItsRows) {
  HandPlanes planes(8, 200, 100);
  ColourContext c = Context(planes);
  std::vector<int> seen;
  c.progress = [&](int p) { return seen.push_back(p), 1; };
  Picture pic(4, 100);
  ASSERT_EQ(RGBHalfSize(c, pic.bits.data(), 4, 100, pic.stride), 1);
  // (2k) mod 10 < 2 before rows 0, 5, 10, ...
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(std::vector<int>(seen.begin(), seen.begin() + 3), (std::vector<int>{0, 5, 10}));
  EXPECT_EQ(seen.size(), 20u);
}

TEST(ReconstructionProgress, MosaicAndCellsReportTheirOwnWay) {
  HandPlanes planes(4, 101, 100);
  ColourContext c = Context(planes);
  std::vector<int> seen;
  c.progress = [&](int p) { return seen.push_back(p), 1; };
  Picture pic(4, 101);
  ASSERT_EQ(RGBMosaic(c, pic.bits.data(), 4, 101, pic.stride), 1);
  EXPECT_EQ(seen, (std::vector<int>{0, 50, 100}));  // after the pairs at rows 0, 50 and 100
  seen.clear();
  ASSERT_EQ(RGBFromCells(c, pic.bits.data(), 4, 101, pic.stride), 1);
  EXPECT_EQ(seen, (std::vector<int>{100}));  // odd height: once, at the end
  seen.clear();
  ASSERT_EQ(RGBFromCells(c, pic.bits.data(), 4, 100, pic.stride), 1);
  EXPECT_TRUE(seen.empty());
}

// ---- green statistics

TEST(GreenStatistics, AgreeingGreensAnswerZeroAndDisagreeingOne) {
  HandPlanes planes(64, 64, 120);
  ColourContext c = Context(planes);
  GreenStatsState green;
  c.green = &green;
  // The history starts high: the first calls settle the reference level.
  for (int i = 0; i < 8; ++i) GreenStatistics(c, 64, 64);
  EXPECT_EQ(GreenStatistics(c, 64, 64), 0);
  EXPECT_EQ(green.history[7], 0);
  for (LONG r = 0; r < planes.rows; ++r)
    for (LONG x = 0; x < planes.bytes; ++x) planes.At(3, r, x) = BYTE(((r + x) & 1) ? 40 : 200);
  EXPECT_EQ(GreenStatistics(c, 64, 64), 1);
}

TEST(GreenStatistics, AnEmptyWindowChangesNothing) {
  HandPlanes planes(4, 4, 120);
  ColourContext c = Context(planes);
  GreenStatsState green;
  c.green = &green;
  EXPECT_EQ(GreenStatistics(c, 0, 0), 1);
  EXPECT_EQ(green.history[7], 5000);
  EXPECT_EQ(green.ratio, 0.0);
}

// The edge-directed kernel interpolates green along an edge, not across it.
TEST(Reconstruction, AdaptiveGreenFollowsTheEdge) {
  struct Case {
    const char* what;
    int dx, dy;  // green gradient across columns and rows
    int want;    // green at the blue pixel (3, 2)
  } cases[] = {
      {"columns differ: vertical", 20, 0, 40},    // (U + D) / 2 = (40 + 40) / 2
      {"rows differ: horizontal", 0, 20, 60},     // (L + R) / 2 = (60 + 60) / 2
      {"flat: four neighbours", 0, 0, 0},
  };
  for (const Case& k : cases) {
    HandPlanes planes(6, 6, 100);
    for (LONG r = 0; r < planes.rows; ++r)
      for (LONG x = 0; x < planes.bytes; ++x) planes.At(0, r, x) = planes.At(3, r, x) = BYTE(k.dx * x + k.dy * r);
    ColourContext c = Context(planes);
    Picture pic(6, 6);
    ASSERT_EQ(InterpolateAdaptive(c, pic.bits.data(), 6, 6, pic.stride), 1);
    EXPECT_EQ(pic.Px(3, 2)[1], k.want) << k.what;
  }
}

// Pixel-shift half size: plain, read at the partners' phases, or both frames combined.
TEST(Reconstruction, HalfSizeShiftByCombineRuleAndParity) {
  struct Case {
    const char* what;
    bool combine, preview, parity;
    Rgb want;
  } cases[] = {
      {"plain", false, false, false, {49, 72, 95}},         // B 53, G (10 + 134) / 2, R 91
      {"partner phases", false, false, true, {46, 72, 98}},  // B 51, G (14 + 130) / 2, R 93
      {"combined", true, false, true, {47, 72, 97}},         // B 52, G 288 >> 2, R 92
      {"preview is never combined", true, true, false, {49, 72, 95}},
  };
  for (const Case& k : cases) {
    HandPlanes planes = Distinct(4, 4);
    ColourContext c = Context(planes);
    c.combineOption = k.combine, c.preview = k.preview, c.frameParity = k.parity;
    Picture pic(2, 2);
    ASSERT_EQ(RGBHalfSizeShift(c, pic.bits.data(), 2, 2, pic.stride), 1);
    EXPECT_EQ(At(pic, 0, 0), k.want) << k.what;
  }
}

// Swapped width and height: the first green sits on the blue rows, so it takes the second
// green's neighbours (red above and below, blue beside it).
TEST(Reconstruction, BilinearUnderSwapExchangesTheGreens) {
  HandPlanes planes = Distinct(4, 4);
  ColourContext c = Context(planes, 0x10);
  Picture pic(4, 4);
  ASSERT_EQ(InterpolateBilinear(c, pic.bits.data(), 4, 4, pic.stride), 1);
  EXPECT_EQ(At(pic, 0, 1), (Rgb{51, 11, 94}));  // blue (50 + 52) / 2, red from row 1 twice
}
