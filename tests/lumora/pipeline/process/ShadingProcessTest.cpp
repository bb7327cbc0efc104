// Shading correction: the gain tables for each frame, level and inversion, their
// application by mirroring into the stored quarter, the regions that do not fit, the
// deferred crop of size code 4, and tables that cannot be built.
#include <gtest/gtest.h>

#include <string>

#include "../StageRig.h"

namespace {

using stagerig::StageRig;

class Shading : public StageRig {
 protected:
  void Build(int level, LONG inverted = 0) {
    doc->SetShadingOption(1);
    doc->SetShadingLevel(level);
    doc->m_bInvertColorMode = DWORD(inverted);
    shading->OnSettingsChanged(0x400);
  }
  void Live() { ASSERT_EQ(doc->SetCaptureMode(1), 1); }
};

TEST_F(Shading, CornerAndCentreGains) {
  const struct {
    int level;
    LONG inverted;
    int corner;
  } cases[] = {{100, 0, 82557}, {100, 1, 20440}, {0, 0, 32768}, {0, 1, 32768}, {50, 0, 46914}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.level) + (c.inverted ? " inverted" : ""));
    Build(c.level, c.inverted);
    // The three frame sizes share one function of the relative position.
    for (int frame : {3840, 1280, 640}) {
      EXPECT_EQ(shading->GetGain(frame, 0, 0), c.corner) << frame;
      const int centre = shading->GetGain(frame, frame * 2 / 5 - 1, frame / 2 - 1);
      EXPECT_GE(centre, 32767) << frame;
      EXPECT_LE(centre, 32769) << frame;
    }
  }
}

// Levels the settings page cannot give: above 100 the tables hold to 100 (from about
// 166 the gain's divisor would reach 0); below 0 the tables stay as they were.
TEST_F(Shading, LevelsOutsideTheSettingsRange) {
  Build(300);
  EXPECT_EQ(shading->GetGain(640, 0, 0), 82557);
  Build(200, 1);
  EXPECT_EQ(shading->GetGain(1280, 0, 0), 20440);
  Build(30);
  const int kept = shading->GetGain(640, 0, 0);
  Build(-5);
  EXPECT_TRUE(shading->HasTables());
  EXPECT_EQ(shading->GetGain(640, 0, 0), kept);
  // Shading switched off frees the tables.
  doc->SetShadingOption(0);
  shading->OnSettingsChanged(0x400);
  EXPECT_FALSE(shading->HasTables());
}

TEST_F(Shading, LiveFrameCorrectedByMirroredGains) {
  Live();
  Build(100);
  PutFlat(0, 640, 512, 200, 100, 0);
  ASSERT_EQ(shading->Process(0, 0), 1);
  const stagerig::Picture p = Slot(0);
  // Corner gain 82557: 200 would be 504 and becomes 255; 100 becomes 252; 0 stays 0.
  for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {0, 511}, {639, 511}}) {
    EXPECT_EQ(p.At(x, y)[0], 255) << x << "," << y;
    EXPECT_EQ(p.At(x, y)[1], 252);
    EXPECT_EQ(p.At(x, y)[2], 0);
  }
  // Under the centre gain 32768 the values stay.
  EXPECT_EQ(p.At(319, 255)[0], 200);
  EXPECT_EQ(p.At(320, 256)[1], 100);
  // Mirror images of a position get the same gain.
  for (auto [x, y] : {std::pair{5, 17}, {100, 300}, {311, 40}})
    EXPECT_EQ(p.At(x, y)[1], p.At(639 - x, 511 - y)[1]) << x << "," << y;
}

TEST_F(Shading, LevelZeroChangesNothing) {
  Live();
  Build(0);
  PutPicture(0, 640, 512, [](int x, int y, BYTE* p) { p[0] = BYTE(x), p[1] = BYTE(y), p[2] = BYTE(x ^ y); });
  const stagerig::Picture before = Slot(0);
  ASSERT_EQ(shading->Process(0, 0), 1);
  EXPECT_EQ(Slot(0).bgr, before.bgr);
}

// A turned live frame is 512 x 640: its table has 320 rows of 256 gains.
TEST_F(Shading, TurnedLiveFrame) {
  ASSERT_EQ(doc->SetRotation(1), 1);
  Live();
  Build(100);
  EXPECT_NE(shading->GetGain(640, 319, 255), 0);
  EXPECT_EQ(shading->GetGain(640, 320, 0), 0) << "no 321st row";
  EXPECT_EQ(shading->GetGain(640, 0, 256), 0) << "no 257th column";
  PutFlat(0, 512, 640, 50, 50, 50);
  ASSERT_EQ(shading->Process(0, 0), 1);
  const stagerig::Picture p = Slot(0);
  EXPECT_EQ(p.At(0, 0)[0], (50 * 82557 + 16384) >> 15);
  EXPECT_EQ(p.At(255, 319)[0], 50);
  EXPECT_EQ(p.At(10, 600)[0], p.At(501, 39)[0]);
}

TEST_F(Shading, WithoutTablesPicturesPassThrough) {
  Live();
  const LONG handle = PutFlat(0, 640, 512, 1, 2, 3);
  EXPECT_EQ(shading->Process(0, 0), 1);
  EXPECT_EQ(buffers->GetBuffer(0), handle);
  // The second table cannot be had: nothing of the build stays, pictures pass through.
  {
    plat::faults::Scope noMemory("VirtualAlloc", ERROR_NOT_ENOUGH_MEMORY, 1, 1);
    Build(100);
  }
  EXPECT_FALSE(shading->HasTables());
  EXPECT_EQ(shading->Process(0, 0), 1);
  EXPECT_EQ(buffers->GetBuffer(0), handle);
  EXPECT_EQ(Slot(0).bgr[0], 1);
  Build(100);
  EXPECT_TRUE(shading->HasTables());
}

// The shading rectangle places a shot on the sensor frame; one that does not fit the
// picture or the frame is refused and the picture stays as it was.
TEST_F(Shading, RegionsThatDoNotFitAreRefused) {
  ASSERT_EQ(doc->SetShootResolution(13, 1, 2), 1);
  ASSERT_EQ(doc->SetCaptureMode(0), 1);
  doc->SetFineMode(0);
  Build(100);
  const struct {
    const char* what;
    RECT region;
    int result;
  } cases[] = {
      {"fits", {320, 272, 960, 752}, 1},
      {"wider than the picture", {0, 0, 700, 480}, 0},
      {"taller than the picture", {0, 0, 640, 500}, 0},
      {"past the frame", {700, 0, 1340, 480}, 0},
      {"before the frame", {-2, 0, 638, 480}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PutFlat(2, 640, 480, 100, 100, 100);
    doc->SetShadingRect(c.region);
    doc->ClearLastError();
    EXPECT_EQ(shading->Process(2, 2), c.result);
    EXPECT_EQ(Latched(), c.result ? Pair(0, 0) : Pair(260, 3));
    const stagerig::Picture p = Slot(2);
    if (!c.result) {
      EXPECT_EQ(p.At(0, 0)[0], 100);
    }
    EXPECT_EQ(shading->GetImagingControl()->GetBitmap(), buffers->GetBuffer(2));
  }
}

// Size code 4 is cropped from 2252 to 2250 by the last per-pixel stage of the shot.
TEST_F(Shading, SizeCode4IsCroppedHereUnlessRgbFollows) {
  ASSERT_EQ(doc->SetShootResolution(4, 1, 2), 1);
  ASSERT_EQ(doc->SetCaptureMode(0), 1);
  doc->SetFineMode(1);
  doc->SetShadingPoint(320, 256);
  const RECT region = doc->GetShadingRect();
  ASSERT_EQ(region.right - region.left, 2252);
  Build(60);
  for (DWORD rgb : {0u, 1u}) {
    doc->SetRGBOption(rgb);
    PutFlat(2, 2252, 1800, 80, 80, 80);
    ASSERT_EQ(shading->Process(2, 2), 1);
    EXPECT_EQ(Slot(2).width, rgb ? 2252 : 2250) << rgb;
    if (!rgb) {
      EXPECT_STREQ(doc->GetImageSizeText(), "2250x1800");
    }
  }
  // The same holds when shading is on but no table could be built.
  doc->SetRGBOption(0);
  doc->SetShadingOption(0);
  shading->OnSettingsChanged(0x400);
  doc->SetShadingOption(1);
  PutFlat(2, 2252, 1800, 80, 80, 80);
  ASSERT_EQ(shading->Process(2, 2), 1);
  EXPECT_EQ(Slot(2).width, 2250);
}

TEST_F(Shading, CurrentFrameIsCorrectedInPlace) {
  Live();
  Build(100);
  PutFlat(5, 640, 512, 100, 100, 100);
  buffers->SetThirdBitmap(buffers->GetBuffer(5));
  ASSERT_EQ(shading->ProcessCurrent(), 1);
  const stagerig::Picture current = Read(buffers->GetThirdBitmap());
  EXPECT_EQ(current.At(0, 0)[0], 252);
  EXPECT_EQ(Slot(5).At(0, 0)[0], 100) << "the slot's picture is another holder's";
}

}  // namespace
