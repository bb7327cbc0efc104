// The focus measure: its window around the focus point for each orientation, the edge
// energy of one channel with its rescans and strongest values, and the stage on live
// frames, which it never changes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "../StageRig.h"
#include "TrueImage.h"

namespace {

using stagerig::StageRig;

// A w x h picture whose red channel `red` paints; green and blue stay 0.
struct RedPicture {
  RedPicture(int w, int h, std::function<BYTE(int x, int y)> red) {
    image.SetFormat(w, h, 3);
    image.m_nWidth = w;
    image.m_nHeight = h;
    image.m_nStride = RowStride(w, 3);
    EXPECT_TRUE(image.CreateDIB());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) image.m_pBits[size_t(y) * image.m_nStride + size_t(x) * 3 + 2] = red(x, y);
  }
  CTrueImage image;
};

// Energies by hand: a lone pixel of 200 weighs 10 away from the borders; its own energy
// (2000) passes 1023 at scale 400, so the scan runs again at 800: 1000 for the pixel,
// 125 for each of its four neighbours, the rest 0. Bin b stands for (800 b + 100) / 200.
TEST(FocusMeasure, StrongestValuesByPictureSize) {
  const struct {
    const char* what;
    int size, x, y;
    SHORT expected;
  } cases[] = {
      // 80 x 80 averages 32 values: (4000 + 4 x 500) / 32.
      {"80 x 80, lone pixel", 80, 40, 40, 187},
      // 20 x 20 averages 2: weights 6 (the pixel, 600) and 7 (its left neighbour, 88):
      // (2400 + 352) / 2.
      {"20 x 20, lone pixel", 20, 10, 10, 1376},
      // 10 x 10 takes the single strongest: weight 3 keeps the pixel at 600 on scale 400.
      {"10 x 10, lone pixel", 10, 3, 4, 1200},
  };
  for (const auto& c : cases) {
    RedPicture p(c.size, c.size, [&](int x, int y) { return BYTE(x == c.x && y == c.y ? 200 : 0); });
    EXPECT_EQ(p.image.MeasureFocusRed(1), c.expected) << c.what;
    EXPECT_EQ(p.image.MeasureFocusGreen(1), 0) << c.what;
    EXPECT_EQ(p.image.MeasureFocusBlue(1), 0) << c.what;
  }
}

TEST(FocusMeasure, FlatAndVerySharpWindows) {
  RedPicture flat(80, 80, [](int, int) { return BYTE(173); });
  EXPECT_EQ(flat.image.MeasureFocusRed(1), 0);
  // A checkerboard of 0 and 255 reaches 1024 at scales 400 and 800; at 1600 its
  // strongest energy is 2 x ((10 x 255^2 + 800) / 1600) = 812, bin value
  // (1600 x 812 + 100) / 200, and more than 32 pixels have it.
  RedPicture sharp(80, 80, [](int x, int y) { return BYTE((x + y) % 2 ? 255 : 0); });
  EXPECT_EQ(sharp.image.MeasureFocusRed(1), 6496);
}

TEST_F(StageRig, FocusWindowFollowsThePointAndTheOrientation) {
  const struct {
    SHORT mode;
    LONG x, y;
    RECT window;
  } cases[] = {
      {0, 10, 10, {0, 0, 80, 80}},
      {0, 630, 500, {560, 432, 640, 512}},
      {0, 320, 256, {280, 216, 360, 296}},
      {1, 100, 200, {272, 60, 352, 140}},     // (312, 100) in a turned 512 x 640 frame
      {2, 100, 200, {500, 272, 580, 352}},    // (540, 312)
      {3, 100, 200, {160, 500, 240, 580}},    // (200, 540)
      {4, 100, 200, {500, 160, 580, 240}},    // (540, 200)
      {5, 630, 10, {432, 0, 512, 80}},        // (502, 10)
      {6, 100, 500, {60, 0, 140, 80}},        // (100, 12)
      {7, 30, 630, {432, 0, 512, 80}},        // (630, 30) held inside 512 x 640
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + " " + std::to_string(c.x) + "," + std::to_string(c.y));
    ASSERT_EQ(doc->SetRotation(c.mode), 1);
    doc->SetFocusPosition(c.x, c.y);
    focus->OnSettingsChanged(0x40);
    EXPECT_TRUE(EqualRect(&focus->GetWindow(), &c.window))
        << focus->GetWindow().left << "," << focus->GetWindow().top << "," << focus->GetWindow().right << ","
        << focus->GetWindow().bottom;
  }
}

TEST_F(StageRig, FocusOfLiveFramesLeavesThemAsTheyAre) {
  ASSERT_EQ(StartCamera(), 0);
  ASSERT_EQ(doc->SetCaptureMode(1), 1);
  doc->SetFocusPosition(LONG(320), LONG(256));
  focus->OnSettingsChanged(0x40);

  const LONG flat = PutFlat(0, 640, 512, 90, 90, 90);
  doc->SetFocusValue(5, 5, 5);
  EXPECT_EQ(focus->Process(0, 0), 1);
  EXPECT_EQ(doc->GetFocusValue(), 0);
  EXPECT_EQ(buffers->GetBuffer(0), flat);
  EXPECT_EQ(Slot(0).width, 640);

  // A frame of the chart has edges in the middle.
  ASSERT_EQ(flow->PrepareBuffer(0, 1), 1);
  ASSERT_EQ(camera->Input(0), 1);
  const LONG frame = buffers->GetBuffer(0);
  const stagerig::Picture before = Slot(0);
  EXPECT_EQ(focus->Process(0, 0), 1);
  EXPECT_GT(doc->GetFocusValue(), 0);
  EXPECT_EQ(buffers->GetBuffer(0), frame);
  EXPECT_EQ(Slot(0).bgr, before.bgr);
  EXPECT_EQ(Latched(), Pair(0, 0));
}

}  // namespace
