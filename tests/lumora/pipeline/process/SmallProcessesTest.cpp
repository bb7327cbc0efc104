// RGB offsets, resize, noise cut and the line profile on pictures in the slots.
#include <gtest/gtest.h>

#include <string>

#include "../StageRig.h"

namespace {

using stagerig::StageRig;

class Processes : public StageRig {
 protected:
  void Offsets(SHORT red, SHORT green, SHORT blue) {
    doc->SetRGBRed(red);
    doc->SetRGBGreen(green);
    doc->SetRGBBlue(blue);
    rgb->OnSettingsChanged(0x200);
  }
};

TEST_F(Processes, RgbOffsetsByTable) {
  ASSERT_EQ(doc->SetCaptureMode(1), 1);
  const struct {
    SHORT red, green, blue;
    BYTE in;
    BYTE out[3];  // blue, green, red
  } cases[] = {
      {0, 0, 0, 100, {110, 110, 110}},
      {-10, -10, -10, 100, {90, 90, 90}},
      {-10, -10, -10, 7, {0, 0, 0}},
      {11, 30, -11, 100, {90, 130, 130}},  // beyond +-10: tables 20 and 0
      {10, 10, 10, 250, {255, 255, 255}},
      {10, -3, 1, 0, {12, 4, 30}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue) + " on " +
                 std::to_string(c.in));
    Offsets(c.red, c.green, c.blue);
    PutFlat(0, 64, 48, c.in, c.in, c.in);
    ASSERT_EQ(rgb->Process(0, 0), 1);
    const stagerig::Picture p = Slot(0);
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(p.At(0, 0)[k], c.out[k]) << k;
      EXPECT_EQ(p.At(63, 47)[k], c.out[k]) << k;
    }
  }
}

// A picture 1001 pixels wide has rows padded to 3004 bytes: every pixel of every row is
// changed once, and the padding not at all.
TEST_F(Processes, RgbOnRowsWithPadding) {
  ASSERT_EQ(doc->SetCaptureMode(1), 1);
  Offsets(5, 0, -5);
  PutPicture(0, 1001, 3, [](int x, int y, BYTE* p) { p[0] = p[1] = p[2] = BYTE((x + y) % 200); });
  ASSERT_EQ(rgb->Process(0, 0), 1);
  const stagerig::Picture p = Slot(0);
  for (int y = 0; y < 3; ++y)
    for (int x : {0, 1, 500, 999, 1000}) {
      const int v = (x + y) % 200;
      EXPECT_EQ(p.At(x, y)[0], v) << x << "," << y;
      EXPECT_EQ(p.At(x, y)[1], v + 10);
      EXPECT_EQ(p.At(x, y)[2], v + 20);
    }
  auto dib = plat::imaging::ImageStore::Instance().Find(DWORD(buffers->GetBuffer(0)));
  ASSERT_EQ(dib->Stride(), 3004);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(dib->Row(y)[3003], 0) << "padding of row " << y;
}

TEST_F(Processes, RgbCropsSizeCode4AndCorrectsTheCurrentFrame) {
  ASSERT_EQ(doc->SetShootResolution(4, 1, 2), 1);
  ASSERT_EQ(doc->SetCaptureMode(0), 1);
  doc->SetRGBOption(1);
  Offsets(0, 0, 0);
  PutFlat(2, 2252, 1800, 10, 10, 10);
  ASSERT_EQ(rgb->Process(2, 2), 1);
  EXPECT_EQ(Slot(2).width, 2250);
  EXPECT_EQ(Slot(2).At(0, 0)[0], 20);
  EXPECT_STREQ(doc->GetImageSizeText(), "2250x1800");

  // The newest live frame is corrected where it is, never cropped.
  PutFlat(6, 2252, 1800, 10, 10, 10);
  buffers->SetThirdBitmap(buffers->GetBuffer(6));
  ASSERT_EQ(rgb->ProcessCurrent(), 1);
  EXPECT_EQ(Read(buffers->GetThirdBitmap()).width, 2252);
  EXPECT_EQ(Read(buffers->GetThirdBitmap()).At(5, 5)[1], 20);
}

TEST_F(Processes, ResizeByTheSavedSize) {
  const struct {
    DWORD index;
    SHORT percent;
    int width, height;
    const char* text;
  } cases[] = {
      {0, 75, 960, 768, "960x768"},
      {1, 50, 640, 512, "640x512"},
      {2, 25, 320, 256, "320x256"},
      {3, 100, 1280, 1024, "1280x1024"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    doc->SetResizeSaveSize(c.index);
    resize->OnSettingsChanged(0x80);
    EXPECT_EQ(resize->GetPercent(), c.percent);
    PutFlat(2, 1280, 1024, 30, 60, 90);
    doc->SetImageSizeText(0, 0);
    ASSERT_EQ(resize->Process(2, 2), 1);
    EXPECT_EQ(Slot(2).width, c.width);
    EXPECT_EQ(Slot(2).height, c.height);
    EXPECT_EQ(Slot(2).At(c.width / 2, c.height / 2)[2], 90);
    EXPECT_STREQ(doc->GetImageSizeText(), c.text);
  }
  EXPECT_EQ(resize->SetPercent(0), 0);
  EXPECT_EQ(resize->SetPercent(101), 0);
  EXPECT_EQ(resize->GetPercent(), 100);
  EXPECT_EQ(resize->SetPercent(1), 1);
}

TEST_F(Processes, FailedResizeAndNoiseCut) {
  const LONG handle = PutFlat(2, 64, 64, 1, 2, 3);
  {
    plat::faults::Scope fault("imaging.ResizeImage", 20001, 0, 1);
    EXPECT_EQ(resize->Process(2, 2), 0);
  }
  EXPECT_EQ(Latched(), Pair(230, 1));
  EXPECT_EQ(buffers->GetBuffer(2), resize->GetImagingControl()->GetBitmap());

  buffers->SetBuffer(2, handle);
  {
    plat::faults::Scope fault("imaging.MedianFilter", 20001, 0, 1);
    EXPECT_EQ(noise->Process(2, 2), 0);
  }
  EXPECT_EQ(Latched(), Pair(210, 1));
  EXPECT_EQ(buffers->GetBuffer(2), handle) << "a failed filter leaves the slot as it was";
}

TEST_F(Processes, NoiseCutRemovesALonePixel) {
  PutPicture(2, 32, 32, [](int x, int y, BYTE* p) { p[0] = p[1] = p[2] = x == 10 && y == 10 ? 255 : 40; });
  doc->SetLastError(1, 1, 1);
  ASSERT_EQ(noise->Process(2, 2), 1);
  EXPECT_EQ(Latched(), Pair(0, 0)) << "the latch is cleared first";
  EXPECT_EQ(Slot(2).At(10, 10)[1], 40);
}

// A white row draws all three curves 459 rows above the bottom edge: row 53 of a live
// frame; a black row draws them on the row just below the picture, which is not there.
TEST_F(Processes, ProfileOfOneRowDrawnIntoThePicture) {
  for (DWORD liveLeft : {1u, 0u}) {
    SCOPED_TRACE(liveLeft ? "thin pens" : "wide pens");
    doc->SetLiveWindowLeft(liveLeft);
    doc->m_nImageProfilePosition = 128;
    profile->OnSettingsChanged(0x20);
    PutPicture(0, 640, 512, [](int, int y, BYTE* p) { p[0] = p[1] = p[2] = y == 128 ? 255 : 0; });
    ASSERT_EQ(profile->Process(0, 0), 1);
    const stagerig::Picture p = Slot(0);
    int drawn = 0, elsewhere = 0;
    for (int y = 0; y < 512; ++y)
      for (int x = 0; x < 640; ++x) {
        const BYTE* px = p.At(x, y);
        const bool blue = px[0] == 255 && px[1] == 0 && px[2] == 0;
        if (y == 53 && blue) ++drawn;
        else if (y != 128 && !(liveLeft == 0 && (y == 52 || y == 54)) && (px[0] || px[1] || px[2])) ++elsewhere;
      }
    EXPECT_GE(drawn, 639) << "the blue curve, drawn last, lies along row 53";
    EXPECT_EQ(elsewhere, 0);
    EXPECT_EQ(p.At(300, 128)[1], 255) << "the row itself stays";
  }
}

}  // namespace
