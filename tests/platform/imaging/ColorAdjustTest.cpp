#include <gtest/gtest.h>

#include <functional>

#include "Pictures.h"
#include "imaging/ColorAdjust.h"

using namespace plat::imaging;
using namespace imagingtest;

TEST(ColorAdjust, NeutralValuesLeaveThePictureBitForBit) {
  const std::pair<const char*, std::function<Status(Dib&)>> ops[] = {
      {"brightness 0", [](Dib& d) { return ChangeBrightness(d, 0); }},
      {"contrast 0", [](Dib& d) { return ChangeContrast(d, 0); }},
      {"gamma 100", [](Dib& d) { return ApplyGamma(d, 100); }},
      {"saturation 0", [](Dib& d) { return ChangeSaturation(d, 0); }},
      {"hue 0", [](Dib& d) { return ChangeHue(d, 0); }},
      {"hue 360", [](Dib& d) { return ChangeHue(d, 360); }},
  };
  for (int bits : {24, 8}) {
    const Dib original = Noise(33, 17, bits);
    for (const auto& [name, op] : ops) {
      Dib d = original.Clone();
      ASSERT_EQ(op(d), status::kOk) << name;
      EXPECT_TRUE(d.SamePixels(original)) << name << " bits " << bits;
    }
  }
}

TEST(ColorAdjust, LookupTableMapsEverySampleExactly) {
  Lut lut;
  for (int i = 0; i < 256; ++i) lut[i] = uint8_t((i * 37 + 11) & 0xFF);
  for (int bits : {24, 8}) {
    const Dib original = Noise(21, 6, bits);
    Dib d = original.Clone();
    ApplyLut(d, lut);
    for (int y = 0; y < 6; ++y)
      for (int i = 0; i < 21 * bits / 8; ++i) ASSERT_EQ(d.Row(y)[i], lut[original.Row(y)[i]]);
  }
}

TEST(ColorAdjust, NegativeIsTheComplementAndItsOwnInverse) {
  const Dib original = Noise(9, 9);
  Dib d = original.Clone();
  Negative(d);
  for (int i = 0; i < 27; ++i) ASSERT_EQ(d.Row(4)[i], 255 - original.Row(4)[i]);
  Negative(d);
  EXPECT_TRUE(d.SamePixels(original));
}

TEST(ColorAdjust, GrayscaleUsesRec601WeightsAndKeepsGrey) {
  Dib in = Flat(3, 1, 24, 0);
  SetPixel(in, 0, 0, 0, 0, 255);     // red
  SetPixel(in, 1, 0, 0, 255, 0);     // green
  SetPixel(in, 2, 0, 77, 77, 77);    // grey
  Dib g8, g24;
  ASSERT_EQ(Grayscale(in, 8, &g8), status::kOk);
  ASSERT_EQ(Grayscale(in, 24, &g24), status::kOk);
  EXPECT_EQ(g8.Bits(), 8);
  EXPECT_TRUE(g8.HasGreyPalette());
  EXPECT_EQ(g8.Row(0)[0], 76);   // 0.299 x 255
  EXPECT_EQ(g8.Row(0)[1], 150);  // 0.587 x 255
  EXPECT_EQ(g8.Row(0)[2], 77);
  EXPECT_EQ(g24.GetPixel(1, 0), LONG(RGB(150, 150, 150)));
  Dib bad;
  EXPECT_EQ(Grayscale(in, 16, &bad), status::kInvalidArgument);
}

TEST(ColorAdjust, AdjustmentsMoveSamplesTheWayTheirNamesSay) {
  const Dib ramp = Gradient(64, 8, 8);
  auto mean = [](const Dib& d) {
    long s = 0;
    for (int y = 0; y < d.Height(); ++y)
      for (int x = 0; x < d.Width(); ++x) s += d.Row(y)[x];
    return double(s) / (d.Width() * d.Height());
  };
  Dib brighter = ramp.Clone(), darker = ramp.Clone(), gammaUp = ramp.Clone();
  ASSERT_EQ(ChangeBrightness(brighter, 200), status::kOk);
  ASSERT_EQ(ChangeBrightness(darker, -1000), status::kOk);
  ASSERT_EQ(ApplyGamma(gammaUp, 220), status::kOk);
  EXPECT_GT(mean(brighter), mean(ramp) + 40);
  EXPECT_EQ(mean(darker), 0.0);
  EXPECT_GT(mean(gammaUp), mean(ramp));

  Dib flatter = ramp.Clone(), harder = ramp.Clone();
  ASSERT_EQ(ChangeContrast(flatter, -1000), status::kOk);
  ASSERT_EQ(ChangeContrast(harder, 1000), status::kOk);
  for (int x = 0; x < 64; ++x) {
    ASSERT_EQ(flatter.Row(3)[x], 128);
    const int v = harder.Row(3)[x];
    ASSERT_TRUE(v == 0 || v == 255) << v;
  }
}

TEST(ColorAdjust, OutOfRangeValuesAreRefusedAndChangeNothing) {
  const Dib original = Noise(5, 5);
  Dib d = original.Clone();
  EXPECT_EQ(ChangeBrightness(d, 1001), status::kInvalidArgument);
  EXPECT_EQ(ChangeContrast(d, -1001), status::kInvalidArgument);
  EXPECT_EQ(ChangeSaturation(d, 2000), status::kInvalidArgument);
  EXPECT_EQ(ApplyGamma(d, 0), status::kInvalidArgument);
  EXPECT_TRUE(d.SamePixels(original));
}

TEST(ColorAdjust, SaturationAndHueKeepGreyAndTurnColours) {
  Dib d = Flat(2, 1, 24, 0);
  SetPixel(d, 0, 0, 0, 0, 200);     // red
  SetPixel(d, 1, 0, 90, 90, 90);    // grey
  Dib grey = d.Clone(), turned = d.Clone();
  ASSERT_EQ(ChangeSaturation(grey, -1000), status::kOk);
  const int g = GreyOf(200, 0, 0);
  EXPECT_EQ(grey.GetPixel(0, 0), LONG(RGB(g, g, g)));
  ASSERT_EQ(ChangeHue(turned, 120), status::kOk);
  // Red turned by a third of the circle becomes green.
  const LONG c = turned.GetPixel(0, 0);
  EXPECT_LE(GetRValue(c), 2);
  EXPECT_GE(GetGValue(c), 198);
  EXPECT_LE(GetBValue(c), 2);
  EXPECT_EQ(turned.GetPixel(1, 0), LONG(RGB(90, 90, 90)));
}
