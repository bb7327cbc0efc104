#include <gtest/gtest.h>

#include "Pictures.h"
#include "imaging/ColorAdjust.h"
#include "imaging/ColorPlanes.h"

using namespace plat::imaging;
using namespace imagingtest;

namespace {
std::array<const Dib*, 3> Ptrs(const std::array<Dib, 3>& p) { return {&p[0], &p[1], &p[2]}; }
}  // namespace

TEST(ColorPlanes, ModeZeroGivesBlueGreenRedAndMergesBack) {
  const Dib in = Noise(31, 7);
  std::array<Dib, 3> p;
  ASSERT_EQ(SplitPlanes(in, 0, &p), status::kOk);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(p[i].Bits(), 8);
    for (int x = 0; x < 31; ++x) ASSERT_EQ(p[i].Row(5)[x], in.Row(5)[3 * x + i]);
  }
  Dib back;
  ASSERT_EQ(MergePlanes(Ptrs(p), 0, nullptr, &back), status::kOk);
  EXPECT_TRUE(back.SamePixels(in));
}

TEST(ColorPlanes, ModeTwoIsExactlyInvertibleWithIntensityInPlaneTwo) {
  const Dib in = Noise(64, 64, 24, 3);
  std::array<Dib, 3> p;
  ASSERT_EQ(SplitPlanes(in, 2, &p), status::kOk);
  const LONG c = in.GetPixel(10, 20);
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  EXPECT_NEAR(p[2].Row(20)[10], (r + 2 * g + b) / 4.0, 1.0);
  Dib back;
  ASSERT_EQ(MergePlanes(Ptrs(p), 2, &in, &back), status::kOk);
  EXPECT_TRUE(back.SamePixels(in));
}

TEST(ColorPlanes, ModeTwoWithoutTheSourceStaysClose) {
  const Dib in = Noise(40, 40, 24, 5);
  std::array<Dib, 3> p;
  ASSERT_EQ(SplitPlanes(in, 2, &p), status::kOk);
  Dib back;
  ASSERT_EQ(MergePlanes(Ptrs(p), 2, nullptr, &back), status::kOk);
  EXPECT_LE(MaxDiff(back, in), 2);
}

TEST(ColorPlanes, RaisingTheIntensityPlaneRaisesEveryChannelByThatMuch) {
  Dib in = Flat(2, 1, 24, 0);
  SetPixel(in, 0, 0, 30, 60, 90);
  SetPixel(in, 1, 0, 200, 10, 100);
  std::array<Dib, 3> p;
  ASSERT_EQ(SplitPlanes(in, 2, &p), status::kOk);
  Lut plus20;
  for (int i = 0; i < 256; ++i) plus20[i] = uint8_t(std::min(255, i + 20));
  ApplyLut(p[2], plus20);
  Dib out;
  ASSERT_EQ(MergePlanes(Ptrs(p), 2, &in, &out), status::kOk);
  EXPECT_EQ(out.GetPixel(0, 0), LONG(RGB(110, 80, 50)));
  EXPECT_EQ(out.GetPixel(1, 0), LONG(RGB(120, 30, 220)));
}

TEST(ColorPlanes, MergeRefusesPlanesOfDifferentSizes) {
  std::array<Dib, 3> p = {Flat(4, 4, 8, 1), Flat(4, 4, 8, 1), Flat(4, 5, 8, 1)};
  Dib out;
  EXPECT_EQ(MergePlanes(Ptrs(p), 0, nullptr, &out), status::kInvalidArgument);
  EXPECT_EQ(MergePlanes(Ptrs(p), 1, nullptr, &out), status::kInvalidArgument);
}
