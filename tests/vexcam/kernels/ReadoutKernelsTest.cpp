#include "ReadoutKernels.h"

#include <gtest/gtest.h>

#include "../ReadoutPicture.h"

#include <array>
#include <vector>

using namespace vexcam;

namespace {

struct Tables {
  BYTE lut[256];
  const BYTE* lanes[4] = {lut, lut, lut, lut};
  explicit Tables(int divisor = 1) {
    for (int v = 0; v < 256; ++v) lut[v] = BYTE(v / divisor);
  }
};

using Picture = vexcam::test::ReadoutPicture;
using vexcam::test::Bgr;

}  // namespace

TEST(ReadoutKernels, PixelRulesOfOneCell) {
  const BYTE cell[4] = {100, 40, 200, 110};  // g0, b, r, g1
  struct Case {
    PixelRule rule;
    bool invertRaw;
    int divisor;
    Bgr expected;
  } cases[] = {
      {PixelRule::Plain, false, 1, {40, 105, 200}},
      {PixelRule::Chroma, false, 1, {24, 102, 223}},
      {PixelRule::Negative, false, 1, {215, 150, 55}},
      {PixelRule::Grey, false, 1, {120, 120, 120}},
      {PixelRule::NegativeGrey, false, 1, {134, 134, 134}},
      // Negative complements after the table, inverted before it: not the same picture.
      {PixelRule::Negative, false, 2, {235, 202, 155}},
      {PixelRule::Plain, true, 2, {107, 74, 27}},
  };
  for (const Case& c : cases) {
    Tables t(c.divisor);
    Picture pic(1, 1);
    WriteLine({false, c.rule, c.invertRaw}, t.lanes, cell, 1, 0, pic.Target(0));
    EXPECT_EQ(pic.Px(0, 0), c.expected) << int(c.rule) << " inverted " << c.invertRaw;
  }
}

TEST(ReadoutKernels, GreyOfMidSamplesIsMid) {
  const BYTE cell[4] = {0x80, 0x80, 0x80, 0x80};
  Tables t;
  Picture pic(1, 1);
  WriteLine({false, PixelRule::Grey}, t.lanes, cell, 1, 0, pic.Target(0));
  EXPECT_EQ(pic.Px(0, 0), (Bgr{128, 128, 128}));
}

TEST(ReadoutKernels, HalfSizeOrientations) {
  // Two lines of two cells; the blue byte names the cell.
  const BYTE line0[8] = {0, 1, 0, 0, 0, 2, 0, 0};
  const BYTE line1[8] = {0, 3, 0, 0, 0, 4, 0, 0};
  struct Case {
    DWORD orientation;
    int topLeft, topRight, bottomLeft, bottomRight;
  } cases[] = {{0, 1, 2, 3, 4}, {0x8, 2, 1, 4, 3}, {0x4, 3, 4, 1, 2}, {0xC, 4, 3, 2, 1}};
  Tables t;
  for (const Case& c : cases) {
    Picture pic(2, 2);
    WriteLine({}, t.lanes, line0, 2, 0, pic.Target(c.orientation));
    WriteLine({}, t.lanes, line1, 2, 1, pic.Target(c.orientation));
    EXPECT_EQ(pic.Px(0, 0)[0], c.topLeft) << c.orientation;
    EXPECT_EQ(pic.Px(0, 1)[0], c.topRight) << c.orientation;
    EXPECT_EQ(pic.Px(1, 0)[0], c.bottomLeft) << c.orientation;
    EXPECT_EQ(pic.Px(1, 1)[0], c.bottomRight) << c.orientation;
  }
}

TEST(ReadoutKernels, MirroredOddWidthStartsAtLastPixel) {
  // Width 3: stride 12, bytes 9..11 are padding. Four cells: one more than the row holds.
  const BYTE cells[16] = {0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 9, 0, 0};
  Tables t;
  Picture pic(3, 1);
  WriteLine({}, t.lanes, cells, 4, 0, pic.Target(0x8));
  EXPECT_EQ(pic.Px(0, 2)[0], 1);
  EXPECT_EQ(pic.Px(0, 0)[0], 3);
  for (int i = 9; i < 12; ++i) EXPECT_EQ(pic.bits[size_t(i)], 0xEE) << i;
}

TEST(ReadoutKernels, LinesBeyondThePictureAreNotWritten) {
  const BYTE cell[4] = {1, 2, 3, 4};
  Tables t;
  Picture pic(2, 2);
  const std::vector<BYTE> before = pic.bits;
  WriteLine({}, t.lanes, cell, 1, 2, pic.Target(0));
  WriteLine({true}, t.lanes, cell, 1, 1, pic.Target(0x4));
  EXPECT_EQ(pic.bits, before);
}

TEST(ReadoutKernels, FullSizeCells) {
  const BYTE cells[8] = {10, 20, 30, 40, 50, 60, 70, 80};
  struct Case {
    ReadoutKind kind;
    Bgr px[2][4];  // rows 0 and 1, columns 0..3
  } cases[] = {
      // The lower-left pixel borrows the lower green of the cell to its left.
      {{true, PixelRule::Plain},
       {{{20, 10, 30}, {20, 10, 30}, {60, 50, 70}, {60, 50, 70}},
        {{20, 40, 30}, {20, 40, 30}, {60, 40, 70}, {60, 80, 70}}}},
      {{true, PixelRule::Plain, false, true},
       {{{15, 7, 35}, {15, 7, 35}, {55, 47, 75}, {55, 47, 75}},
        {{15, 43, 35}, {15, 43, 35}, {55, 34, 75}, {55, 83, 75}}}},
      {{true, PixelRule::Grey},
       {{{25, 25, 25}, {25, 25, 25}, {65, 65, 65}, {65, 65, 65}},
        {{25, 25, 25}, {25, 25, 25}, {65, 65, 65}, {65, 65, 65}}}},
      {{true, PixelRule::Plain, false, false, true},
       {{{20, 25, 30}, {20, 25, 30}, {60, 65, 70}, {60, 65, 70}},
        {{20, 25, 30}, {20, 25, 30}, {60, 65, 70}, {60, 65, 70}}}},
  };
  Tables t;
  for (const Case& c : cases) {
    Picture pic(4, 2);
    WriteLine(c.kind, t.lanes, cells, 2, 0, pic.Target(0));
    for (int r = 0; r < 2; ++r)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(pic.Px(r, x), c.px[r][x]) << int(c.kind.rule) << " " << r << "," << x;
  }
}

TEST(ReadoutKernels, FullSizeMirroredAndFlipped) {
  const BYTE cells[8] = {10, 20, 30, 40, 50, 60, 70, 80};
  Tables t;
  Picture pic(4, 2);
  WriteLine({true}, t.lanes, cells, 2, 0, pic.Target(0xC));
  // The whole picture turned: the lower row of cell 0 is now the top row, on the right.
  EXPECT_EQ(pic.Px(0, 3), (Bgr{20, 40, 30}));
  EXPECT_EQ(pic.Px(0, 0), (Bgr{60, 80, 70}));
  EXPECT_EQ(pic.Px(1, 0), (Bgr{60, 50, 70}));
}

TEST(ReadoutKernels, NextExposurePoint) {
  struct Case {
    LONG a, n, frame, mean, expected;
  } cases[] = {
      {1024, 512, 100, 200, 308},     // the rest of the readout lasts 0.8 frame
      {1024, 512, 100, 80, 64},       // capture faster than the frame: a sixteenth
      {1024, 512, 100, 81, 64},       // point too early: raised to a sixteenth
      {1024, 512, 100, 100000, 511},  // never past the last line
      {1024, 512, 0, 0, 64},          // no timing yet
  };
  for (const Case& c : cases)
    EXPECT_EQ(NextExposurePoint(c.a, c.n, 0.8, c.frame, c.mean), c.expected) << c.frame << "/" << c.mean;
}

TEST(ReadoutKernels, GreenPairsCountFlatCellsOnly) {
  const BYTE saved[8] = {100, 0, 0, 50, 101, 0, 0, 52};
  const BYTE flat[8] = {102, 0, 0, 51, 0, 0, 0, 0};
  const BYTE edge[8] = {110, 0, 0, 51, 0, 0, 0, 0};
  GreenPairs pairs;
  pairs.Gather(saved, flat, 2);
  EXPECT_EQ(pairs.count[50], 2u);
  EXPECT_EQ(pairs.sum[50], 101u + 101u);
  pairs.Clear();
  pairs.Gather(saved, edge, 2);
  EXPECT_EQ(pairs.count[50], 0u);
}

TEST(ReadoutKernels, GreenBalanceRetunesLowerTable) {
  BYTE upper[256];
  for (int v = 0; v < 256; ++v) upper[v] = BYTE(v);
  GreenPairs pairs;
  pairs.count[50] = 101, pairs.sum[50] = 101 * 54;   // enough samples: delta 4
  pairs.count[80] = 100, pairs.sum[80] = 100 * 90;   // not enough
  struct Case {
    bool overlap;
    int at50, at60, at80;
  } cases[] = {{false, 54, 7, 7}, {true, 54, 64, 83}};
  for (const Case& c : cases) {
    BYTE lower[256];
    std::fill(std::begin(lower), std::end(lower), BYTE(7));
    UpdateGreenBalance(pairs, c.overlap, upper, lower);
    EXPECT_EQ(lower[50], c.at50) << c.overlap;
    EXPECT_EQ(lower[60], c.at60) << c.overlap;
    EXPECT_EQ(lower[80], c.at80) << c.overlap;
  }
}
