#include <gtest/gtest.h>

#include <vector>

#include "HandPlanes.h"
#include "Levels.h"

using namespace vexcam;
using vexcam::test::HandPlanes;
using vexcam::test::Picture;

TEST(LevelStatistics, CutAndSingleBinPictures) {
  struct Case {
    std::vector<std::pair<int, unsigned>> bins;
    int cut, contrast;
    int black;
    double scale;
  } cases[] = {
      {{{60, 100}}, 0, 0, 60, 255.0 / 68},                  // one bin below 128: hi stays 128
      {{{60, 100}}, 0, 16, 68, 255.0 / 52},                 // C moves the black point by C / 2
      {{{20, 1}, {50, 98}, {230, 1}}, 0, 0, 20, 255.0 / 210},  // cut 0: first and last non-empty bins
      {{{20, 1}, {50, 98}, {230, 1}}, 10, 0, 50, 255.0 / 78},  // 1 per mille of 100 cuts the single outliers
      {{{200, 10}}, 0, 0, 127, 255.0 / 73},                 // lo is at most 127
      {{}, 0, 40, 20, 255.0 / 215},                         // nothing sampled: the contrast mapping
  };
  for (const Case& k : cases) {
    unsigned hist[256] = {}, n = 0;
    for (auto [bin, count] : k.bins) hist[bin] = count, n += count;
    LevelPoint lp = HistogramLevels(hist, n, k.cut, k.contrast);
    EXPECT_EQ(lp.black, k.black);
    EXPECT_DOUBLE_EQ(lp.scale, k.scale);
  }
}

TEST(LevelStatistics, PlaneVersionAveragesTheFourPlanesOnEveryFourthSample) {
  HandPlanes planes(32, 32, 0);
  for (int p = 0; p < 4; ++p)
    for (LONG r = 0; r < planes.rows; ++r)
      for (LONG x = 0; x < planes.bytes; ++x) planes.At(p, r, x) = BYTE(40 + 20 * p);  // mean 70
  // A bright sample off the grid is not seen.
  planes.At(0, 26, 5) = 255;
  LevelPoint lp = PlaneLevelStats(planes.View(), 32, 32, 0, 0);
  EXPECT_EQ(lp.black, 70);
  EXPECT_DOUBLE_EQ(lp.scale, 255.0 / 58);
  EXPECT_EQ(PlaneLevelStats(PlaneSet{}, 32, 32, 0, 8).black, 4);
}

TEST(EdgeStrength, CoringAndWeights) {
  struct Case {
    int centre, ring1, ring2, want;
  } cases[] = {
      {100, 90, 80, 15},   // L1 80, L2 160: (56 * 32 + 32 * 64) / 256
      {50, 60, 70, -15},   // the mirror image
      {100, 90, 110, 0},   // L1 and L2 of different signs
      {100, 97, 96, 0},    // inside the coring threshold
  };
  for (const Case& k : cases) {
    BYTE grid[5][5];
    for (int r = 0; r < 5; ++r)
      for (int x = 0; x < 5; ++x) grid[r][x] = BYTE((r == 2 && x == 2) ? k.centre : (r % 2 == 0 && x % 2 == 0) ? k.ring2 : k.ring1);
    const BYTE* rows[5] = {grid[0], grid[1], grid[2], grid[3], grid[4]};
    EXPECT_EQ(EdgeStrength(rows, 2, 48, 64, 32), k.want) << k.centre;
  }
}

TEST(ApplyLevels, ContrastMappingClampsBothEnds) {
  Enhancement e;
  e.enabled = e.extraCont = true;
  e.contrast = 40;  // black 20, gain trunc(255 / 215 * 256) = 303
  Picture pic(4, 1);
  const BYTE in[4] = {10, 100, 235, 255};
  for (int x = 0; x < 4; ++x) pic.Px(0, x)[0] = pic.Px(0, x)[1] = pic.Px(0, x)[2] = in[x];
  ASSERT_EQ(ApplyLevels(PlaneSet{}, e, nullptr, pic.bits.data(), 4, 1, pic.stride), 1);
  const BYTE want[4] = {0, 94, 254, 255};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(pic.Px(0, x)[1], want[x]) << int(in[x]);
}

TEST(ApplyLevels, RunsOnlyWhenSomethingIsAsked) {
  struct Case {
    bool enabled, autoLevel, extraCont;
    int contrast;
  } cases[] = {
      {true, false, false, 40},  // C counts only with extra contrast
      {true, false, true, 0},
      {false, true, true, 40},   // the capture's switch is off
  };
  for (const Case& k : cases) {
    Enhancement e;
    e.enabled = k.enabled, e.autoLevel = k.autoLevel, e.extraCont = k.extraCont, e.contrast = k.contrast;
    Picture pic(8, 8, 77);
    EXPECT_EQ(ApplyLevels(PlaneSet{}, e, nullptr, pic.bits.data(), 8, 8, pic.stride), 1);
    EXPECT_EQ(pic.bits, std::vector<BYTE>(pic.bits.size(), 77));
  }
}

TEST(ApplyLevels, EdgeStepSharpensInnerPixelsOnly) {
  Enhancement e;
  e.enabled = e.edgeApp = true;
  e.threshold = 0, e.wa = 256, e.wb = 0;
  Picture pic(5, 5, 100);
  pic.Px(2, 2)[0] = pic.Px(2, 2)[1] = pic.Px(2, 2)[2] = 120;
  HandPlanes planes(5, 5);
  ASSERT_EQ(ApplyLevels(planes.View(), e, nullptr, pic.bits.data(), 5, 5, pic.stride), 1);
  // Centre: L1 = L2 = 160, s = 160 (within the limit (135 * 256) / 120); c' = (416 * 120) >> 8.
  EXPECT_EQ(pic.Px(2, 2)[1], 195);
  EXPECT_EQ(pic.Px(2, 2)[0], 195);  // blue keeps its difference from green
  // The border (all but the centre of a 5 x 5 picture) keeps its values under the identity map.
  EXPECT_EQ(pic.Px(1, 1)[1], 100);
  EXPECT_EQ(pic.Px(0, 0)[1], 100);
  // The green copy went into plane 0.
  EXPECT_EQ(planes.At(0, 2, 2), 120);
}

TEST(ApplyLevels, ProgressIsTheSecondHalfAndACancelStops) {
  Enhancement e;
  e.enabled = e.extraCont = true;
  e.contrast = 40;
  Picture pic(4, 100, 100);
  std::vector<int> seen;
  ProgressFn record = [&](int p) { return seen.push_back(p), 1; };
  ASSERT_EQ(ApplyLevels(PlaneSet{}, e, record, pic.bits.data(), 4, 100, pic.stride), 1);
  EXPECT_EQ(seen.front(), 50);
  EXPECT_EQ(seen.back(), 95);
  EXPECT_EQ(seen.size(), 10u);
  Picture again(4, 100, 100);
  ProgressFn cancel = [](int) { return 0; };
  EXPECT_EQ(ApplyLevels(PlaneSet{}, e, cancel, again.bits.data(), 4, 100, again.stride), 0);
  EXPECT_NE(again.bits[0], 100);                      // memory row 0 was mapped
  EXPECT_EQ(again.bits[size_t(again.stride)], 100);  // row 1 was not
}

TEST(PlanePictures, ColourFromPlanesAppliesChromaThenLevels) {
  HandPlanes planes(6, 6, 0);
  for (LONG r = 0; r < planes.rows; ++r)
    for (LONG x = 0; x < planes.bytes; ++x)
      planes.At(1, r, x) = 100, planes.At(0, r, x) = 110, planes.At(3, r, x) = 130, planes.At(2, r, x) = 140;
  PlaneRoles roles;
  Enhancement e;
  ProgressFn none;
  Picture pic(6, 6);
  ASSERT_EQ(RGBFromPlanes({planes.View(), roles, e, 217, 5, none}, pic.bits.data(), 6, 6, pic.stride), 1);
  // Greens averaged to 120; chroma /4 /8 /4 with no level mapping.
  EXPECT_EQ(pic.Px(3, 3)[0], 95);
  EXPECT_EQ(pic.Px(3, 3)[1], 120);
  EXPECT_EQ(pic.Px(3, 3)[2], 145);
  EXPECT_EQ(planes.At(0, 3, 3), 120);
  e.contrast = 40;
  ASSERT_EQ(RGBFromPlanes({planes.View(), roles, e, 216, 5, none}, pic.bits.data(), 6, 6, pic.stride), 1);
  // The first call left the first green plane at 120, so it averages to 125 now.
  EXPECT_EQ(pic.Px(3, 3)[1], ((125 - 20) * 303) >> 8);
  Picture untouched(6, 6, 9);
  ASSERT_EQ(RGBFromPlanes({planes.View(), roles, e, 217, 1, none}, untouched.bits.data(), 6, 6, untouched.stride), 1);
  EXPECT_EQ(untouched.bits, std::vector<BYTE>(untouched.bits.size(), 9));
}

TEST(PlanePictures, GreyFromPlanesUsesTheLuminanceOfTheFourPlanes) {
  HandPlanes planes(6, 6, 0);
  const BYTE value[4] = {80, 40, 200, 80};  // A = 80: 50 + 10 + 40 + 5
  for (int p = 0; p < 4; ++p)
    for (LONG r = 0; r < planes.rows; ++r)
      for (LONG x = 0; x < planes.bytes; ++x) planes.At(p, r, x) = value[p];
  PlaneRoles roles;
  Enhancement e;
  ProgressFn none;
  Picture pic(6, 6);
  ASSERT_EQ(GreyFromPlanes({planes.View(), roles, e, 217, 5, none}, pic.bits.data(), 6, 6, pic.stride), 1);
  for (int ch = 0; ch < 3; ++ch) EXPECT_EQ(pic.Px(2, 4)[ch], 105);
}

TEST(ExposureStatistics, CentralWindowAndTheSmallestCut) {
  struct Case {
    LONG w, h;
    BYTE fill;
    DWORD mode;
    LONG mean, peak;
  } cases[] = {
      {16, 16, 200, 0, 200, 200},
      {16, 16, 200, 0x20, 55, 55},  // complemented data
      {8, 4, 200, 0, 200, 0},       // six samples never pass a cut of 10
  };
  for (const Case& k : cases) {
    Picture pic(k.w, k.h, k.fill);
    LONG mean = -1, peak = -1;
    PictureExposureStats(pic.bits.data(), k.w, k.h, k.mode, 0, &mean, &peak);
    EXPECT_EQ(mean, k.mean) << k.w << "x" << k.h;
    EXPECT_EQ(peak, k.peak) << k.w << "x" << k.h;
  }
  Picture green(8, 8, 0);
  for (LONG r = 0; r < 8; ++r)
    for (LONG x = 0; x < 8; ++x) green.Px(r, x)[1] = 60;
  LONG mean = 0, peak = 0;
  GreenExposureStats(green.bits.data(), 8, 8, 0, &mean, &peak);
  EXPECT_EQ(mean, 120);  // twice the mean green
  EXPECT_EQ(peak, 60);
  LONG emptyMean = -1, emptyPeak = -1;
  PictureExposureStats(green.bits.data(), 0, 0, 0, 0, &emptyMean, &emptyPeak);
  EXPECT_EQ(emptyMean, 0);
  EXPECT_EQ(emptyPeak, 0);
}

TEST(GreyConversion, WeightsFiveTwoOne) {
  struct Case {
    BYTE b, g, r, y;
  } cases[] = {{255, 255, 255, 255}, {0, 0, 255, 63}, {255, 0, 0, 31}, {0, 255, 0, 159}};
  for (const Case& k : cases) {
    Picture pic(1, 1);
    pic.Px(0, 0)[0] = k.b, pic.Px(0, 0)[1] = k.g, pic.Px(0, 0)[2] = k.r;
    ConvertToGrey(1, 1, pic.bits.data());
    for (int ch = 0; ch < 3; ++ch) EXPECT_EQ(pic.Px(0, 0)[ch], k.y);
  }
}
