#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "Pictures.h"
#include "imaging/Geometry.h"

using namespace plat::imaging;
using namespace imagingtest;

TEST(Crop, TakesTheRectangleClippedToThePicture) {
  const Dib in = Noise(10, 8);
  struct Case {
    int l, t, w, h, ew, eh, ex, ey;
  } cases[] = {
      {2, 3, 4, 2, 4, 2, 2, 3},     // inside
      {0, 0, 10, 8, 10, 8, 0, 0},   // whole
      {-3, -2, 6, 5, 3, 3, 0, 0},   // over the top left
      {7, 6, 10, 10, 3, 2, 7, 6},   // over the bottom right
  };
  for (const Case& c : cases) {
    Dib out;
    ASSERT_EQ(Crop(in, c.l, c.t, c.w, c.h, &out), status::kOk);
    ASSERT_EQ(out.Width(), c.ew);
    ASSERT_EQ(out.Height(), c.eh);
    for (int y = 0; y < c.eh; ++y)
      for (int x = 0; x < c.ew; ++x) ASSERT_EQ(out.GetPixel(x, y), in.GetPixel(c.ex + x, c.ey + y));
  }
}

TEST(Crop, RefusesEmptyOrOutsideRectangles) {
  const Dib in = Noise(10, 8);
  Dib out;
  EXPECT_EQ(Crop(in, 0, 0, 0, 5, &out), status::kInvalidArgument);
  EXPECT_EQ(Crop(in, 0, 0, -4, 5, &out), status::kInvalidArgument);
  EXPECT_EQ(Crop(in, 10, 0, 4, 5, &out), status::kInvalidArgument);
  EXPECT_EQ(Crop(Dib(), 0, 0, 4, 5, &out), status::kNoImage);
}

TEST(Resize, GivesExactSizesAndFlatStaysFlat) {
  struct Case {
    int w, h, nw, nh, bits;
  } cases[] = {{1280, 1024, 320, 256, 24}, {1280, 1024, 100, 80, 24}, {2250, 1500, 1687, 1125, 24},
               {64, 48, 200, 150, 24},     {7, 5, 3, 11, 8},           {5, 5, 1, 1, 24}};
  for (ResizeFilter f : {ResizeFilter::Smooth, ResizeFilter::Nearest}) {
    for (const Case& c : cases) {
      const Dib in = Flat(c.w, c.h, c.bits, 201, 37, 99);
      Dib out;
      ASSERT_EQ(Resize(in, c.nw, c.nh, f, &out), status::kOk);
      ASSERT_EQ(out.Width(), c.nw);
      ASSERT_EQ(out.Height(), c.nh);
      ASSERT_EQ(out.Bits(), c.bits);
      EXPECT_EQ(MaxDiff(out, Flat(c.nw, c.nh, c.bits, 201, 37, 99)), 0) << c.w << "->" << c.nw;
    }
  }
}

TEST(Resize, SmoothShrinkAveragesTheCoveredArea) {
  // 2 x 2 blocks of 0 and 100 shrink to their mean.
  Dib in = Flat(4, 2, 8, 0);
  in.Row(0)[1] = in.Row(1)[0] = 100;
  in.Row(0)[2] = in.Row(0)[3] = in.Row(1)[2] = in.Row(1)[3] = 200;
  Dib out;
  ASSERT_EQ(Resize(in, 2, 1, ResizeFilter::Smooth, &out), status::kOk);
  EXPECT_EQ(out.Row(0)[0], 50);
  EXPECT_EQ(out.Row(0)[1], 200);
}

TEST(Resize, SameSizeAndNearestDoublingKeepEverySample) {
  const Dib in = Noise(13, 9);
  Dib same, twice;
  ASSERT_EQ(Resize(in, 13, 9, ResizeFilter::Smooth, &same), status::kOk);
  EXPECT_TRUE(same.SamePixels(in));
  ASSERT_EQ(Resize(in, 26, 18, ResizeFilter::Nearest, &twice), status::kOk);
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 26; ++x) ASSERT_EQ(twice.GetPixel(x, y), in.GetPixel(x / 2, y / 2));
}

TEST(Resize, RefusesSizesBelowOnePixel) {
  Dib out;
  EXPECT_EQ(Resize(Noise(4, 4), 0, 4, ResizeFilter::Smooth, &out), status::kInvalidArgument);
}

TEST(Rotate, QuarterTurnsMovePixelsExactlyAndSwapTheSize) {
  const Dib in = Noise(5, 3);
  Dib cw, ccw, half, full;
  ASSERT_EQ(Rotate(in, 9000, true, 0, &cw), status::kOk);
  ASSERT_EQ(Rotate(in, -9000, true, 0, &ccw), status::kOk);
  ASSERT_EQ(Rotate(in, 18000, true, 0, &half), status::kOk);
  ASSERT_EQ(Rotate(in, 36000, true, 0, &full), status::kOk);
  ASSERT_EQ(cw.Width(), 3);
  ASSERT_EQ(cw.Height(), 5);
  ASSERT_EQ(ccw.Width(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      // Clockwise: the top-left corner goes to the top right.
      ASSERT_EQ(cw.GetPixel(2 - y, x), in.GetPixel(x, y));
      ASSERT_EQ(ccw.GetPixel(y, 4 - x), in.GetPixel(x, y));
      ASSERT_EQ(half.GetPixel(4 - x, 2 - y), in.GetPixel(x, y));
    }
  EXPECT_TRUE(full.SamePixels(in));
  Dib back;
  ASSERT_EQ(RotateQuarters(cw, -1, &back), status::kOk);
  EXPECT_TRUE(back.SamePixels(in));
}

TEST(Rotate, QuarterTurnOfALargeGreyPictureRoundTrips) {
  const Dib in = Noise(300, 170, 8);
  Dib a, b, c, d;
  ASSERT_EQ(RotateQuarters(in, 1, &a), status::kOk);
  ASSERT_EQ(RotateQuarters(a, 1, &b), status::kOk);
  ASSERT_EQ(RotateQuarters(b, 1, &c), status::kOk);
  ASSERT_EQ(RotateQuarters(c, 1, &d), status::kOk);
  EXPECT_TRUE(d.SamePixels(in));
}

TEST(Rotate, AnyAngleGrowsToHoldThePictureAndFillsTheCorners) {
  const Dib in = Flat(100, 50, 24, 10, 20, 30);
  Dib grown, kept;
  const COLORREF fill = RGB(255, 0, 128);
  ASSERT_EQ(Rotate(in, 4500, true, fill, &grown), status::kOk);
  EXPECT_EQ(grown.Width(), 107);  // ceil((100 + 50) * cos 45)
  EXPECT_EQ(grown.Height(), 107);
  EXPECT_EQ(grown.GetPixel(0, 0), LONG(fill));
  EXPECT_EQ(grown.GetPixel(53, 53), LONG(RGB(30, 20, 10)));
  ASSERT_EQ(Rotate(in, -3000, false, fill, &kept), status::kOk);
  EXPECT_EQ(kept.Width(), 100);
  EXPECT_EQ(kept.Height(), 50);
  EXPECT_EQ(kept.GetPixel(0, 0), LONG(fill));
  EXPECT_EQ(kept.GetPixel(50, 25), LONG(RGB(30, 20, 10)));
}

TEST(Rotate, TurningByAnAngleAndBackKeepsTheMiddle) {
  const Dib in = Gradient(80, 60);
  for (LONG angle : {1000, 3000, 13500, -6000}) {
    Dib there, back;
    ASSERT_EQ(Rotate(in, angle, false, 0, &there), status::kOk);
    ASSERT_EQ(Rotate(there, -angle, false, 0, &back), status::kOk);
    ASSERT_EQ(back.Width(), 80);
    int worst = 0;
    for (int y = 25; y < 35; ++y)
      for (int i = 35 * 3; i < 45 * 3; ++i) worst = std::max(worst, std::abs(back.Row(y)[i] - in.Row(y)[i]));
    EXPECT_LE(worst, 3) << angle;  // two linear interpolations of smooth ramps
  }
}

TEST(Rotate, QuarterTurnWithoutGrowingKeepsTheSize) {
  Dib out;
  ASSERT_EQ(Rotate(Flat(8, 4, 24, 1, 2, 3), 9000, false, RGB(9, 9, 9), &out), status::kOk);
  EXPECT_EQ(out.Width(), 8);
  EXPECT_EQ(out.Height(), 4);
  EXPECT_EQ(out.GetPixel(0, 0), LONG(RGB(9, 9, 9)));
  EXPECT_EQ(out.GetPixel(4, 2), LONG(RGB(3, 2, 1)));
}

TEST(Flip, MirrorsAndTwiceRestores) {
  for (int bits : {24, 8}) {
    const Dib src = Noise(7, 5, bits);
    Dib h = src.Clone(), v = src.Clone();
    FlipHorizontal(h);
    FlipVertical(v);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) {
        ASSERT_EQ(h.GetPixel(6 - x, y), src.GetPixel(x, y));
        ASSERT_EQ(v.GetPixel(x, 4 - y), src.GetPixel(x, y));
      }
    FlipHorizontal(h);
    FlipVertical(v);
    EXPECT_TRUE(h.SamePixels(src));
    EXPECT_TRUE(v.SamePixels(src));
  }
}
