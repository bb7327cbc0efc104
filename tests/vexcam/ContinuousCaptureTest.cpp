#include <gtest/gtest.h>

#include <vector>

#include "VexcamFixture.h"

namespace {

// Change detection on hand-built frames: 80 pixels wide and 48 lines, so sample row k is
// line 2k and the compared columns are x = 5, 7, ... 71 (bytes 2x and 2x + 2).
class ChangeDetection : public VexcamTest {
 protected:
  static constexpr LONG kWidth = 80, kLines = 48;

  // The one camera of the test, its change state as after a mode change.
  CCameraCtrl& Ready() {
    CCameraCtrl& cam = camera ? *camera : MakeCamera();
    Geometry().FrameWidth = kWidth;
    Geometry().LineCount = kLines;
    EXPECT_TRUE(cam.AllocSampleRows());
    cam.m_NoiseStep = 8;
    settings.MotionDetCount = 3;
    Frame(cam, {});
    cam.SaveSampleRows();
    cam.m_ChangeReady = true;
    return cam;
  }
  // A frame of grey 100 in which the compared bytes of the given columns of sample row 1
  // are darker; `alternate` makes every second of them brighter instead.
  static void Frame(CCameraCtrl& cam, std::vector<LONG> columns, bool alternate = false, BYTE base = 100) {
    cam.m_RawLines.assign(size_t(kLines), std::vector<BYTE>(size_t(2 * kWidth + 8), base));
    bool darker = true;
    for (LONG x : columns) {
      BYTE v = darker ? 40 : 160;
      cam.m_RawLines[2][size_t(2 * x)] = cam.m_RawLines[2][size_t(2 * x + 2)] = v;
      if (alternate) darker = !darker;
    }
  }
  static std::vector<LONG> Run(LONG first, int count) {
    std::vector<LONG> columns;
    for (int i = 0; i < count; ++i) columns.push_back(first + 2 * i);
    return columns;
  }
};

}  // namespace

// Same-sign differences next to each other are hits; with MotionDetCount 3 the frame has
// changed at the fourteenth.
TEST_F(ChangeDetection, CountsNeighbouringSameSignDifferences) {
  struct Case {
    std::vector<LONG> columns;
    bool alternate;
    LONG changed;
  } cases[] = {
      {Run(5, 14), false, 0},                 // 13 hits
      {Run(5, 15), false, 1},                 // 14 hits
      {Run(11, 30), true, 0},                 // differences of changing sign
      // two runs of 7 hits: the hits of a frame add up
      {[] { auto a = Run(5, 8), b = Run(31, 8); a.insert(a.end(), b.begin(), b.end()); return a; }(), false, 1},
  };
  for (const Case& c : cases) {
    CCameraCtrl& cam = Ready();
    Frame(cam, c.columns, c.alternate);
    EXPECT_EQ(cam.DetectChange(), c.changed) << c.columns.size() << " columns";
  }
}

// A change is reported at once; stillness only after a second still computation.
TEST_F(ChangeDetection, ReportsStillnessOneFrameLate) {
  CCameraCtrl& cam = Ready();
  const bool moved[] = {true, false, false, true, false, true, true, false, false};
  const LONG reported[] = {1, 1, 0, 1, 1, 1, 1, 1, 0};
  for (size_t i = 0; i < std::size(moved); ++i) {
    Frame(cam, moved[i] ? Run(5, 20) : std::vector<LONG>{});
    cam.m_NoiseStep = 8;
    EXPECT_EQ(cam.DetectChange(), reported[i]) << "frame " << i;
  }
}

TEST_F(ChangeDetection, FirstFrameAfterAModeChangeComparesNothing) {
  CCameraCtrl& cam = Ready();
  cam.m_ChangeResult = 1;
  cam.m_ChangeReady = false;
  Frame(cam, {});
  EXPECT_EQ(cam.DetectChange(), 1);
  EXPECT_EQ(cam.m_NoiseStep, 8);  // no histogram was taken
  cam.m_ChangeResult = 0;
  Frame(cam, Run(5, 30));
  EXPECT_EQ(cam.DetectChange(), 0);
}

// The threshold follows the spread of the sampled values, never below 8.
TEST_F(ChangeDetection, NoiseStepFromTheSpreadOfTheFrame) {
  struct Case {
    std::vector<LONG> columns;
    LONG step;
  } cases[] = {
      {{}, 8},             // one grey: spread 0, floor 16
      {{7}, 30},           // 40 .. 100
      {{7, 9}, 30},
  };
  for (const Case& c : cases) {
    CCameraCtrl& cam = Ready();
    Frame(cam, c.columns);
    cam.DetectChange();
    EXPECT_EQ(cam.m_NoiseStep, c.step);
  }
  CCameraCtrl& cam = Ready();
  Frame(cam, {}, false, 100);
  cam.m_RawLines[4][2 * 21] = 250;
  cam.DetectChange();
  EXPECT_EQ(cam.m_NoiseStep, 75);  // 100 .. 250
}

// Rows the frame did not deliver (a small window) are left out rather than read.
TEST_F(ChangeDetection, MissingRowsAreSkipped) {
  CCameraCtrl& cam = Ready();
  Frame(cam, Run(5, 30));
  cam.m_RawLines.resize(2);
  EXPECT_EQ(cam.DetectChange(), 0);
  cam.m_SampleRows.clear();
  Frame(cam, Run(5, 30));
  EXPECT_EQ(cam.DetectChange(), 0);
}

namespace {

class LevelSettings : public VexcamTest {
 protected:
  void SetUp() override {
    VexcamTest::SetUp();
    settings.bAutoLevel = 1, settings.bEdgeApp = 0, settings.bExtraCont = 1;
    settings.nAutoLevelStd = 1, settings.nAutoLevelHigh = 2, settings.nAutoLevelBw = 3, settings.nAutoLevelHalf = 99;
    settings.EdgeAppLevelStd = 4, settings.EdgeAppLevelHigh = 5, settings.EdgeAppLevelBw = 6;
    settings.EdgeAppLevelHalf = 99;
    settings.ContrastLevelStd = 7, settings.ContrastLevelHigh = 8, settings.ContrastLevelBw = 9;
    settings.ContrastLevelHalf = 99;
  }
};

}  // namespace

TEST_F(LevelSettings, ValuesByTransferModeAndGrey) {
  struct Case {
    LONG tranMode;
    bool grey;
    int cut, wa, wb, contrast;
  } cases[] = {
      {7, false, 2, 160, 80, 64}, {6, false, 2, 160, 80, 64}, {5, true, 3, 192, 96, 72},
      {4, false, 2, 80, 40, 64},  {4, true, 3, 96, 48, 72},   {3, false, 1, 32, 0, 56},
      {2, false, 1, 32, 0, 56},   {1, true, 3, 48, 0, 72},    {0, true, 3, 48, 0, 72},
      {0, false, -1, -2, -3, -4},  // raw planes: the last capture's values stay
  };
  CCameraCtrl& cam = MakeCamera();
  for (const Case& c : cases) {
    cam.m_Enhancement.cut = -1, cam.m_Enhancement.wa = -2, cam.m_Enhancement.wb = -3, cam.m_Enhancement.contrast = -4;
    settings.TranMode = c.tranMode;
    settings.Mode = c.grey ? 0x40 : 0;
    cam.CopyLevelSettings();
    const vexcam::Enhancement& e = cam.m_Enhancement;
    EXPECT_EQ(e.cut, c.cut) << c.tranMode << " " << c.grey;
    EXPECT_EQ(e.wa, c.wa) << c.tranMode << " " << c.grey;
    EXPECT_EQ(e.wb, c.wb) << c.tranMode << " " << c.grey;
    EXPECT_EQ(e.contrast, c.contrast) << c.tranMode << " " << c.grey;
    EXPECT_TRUE(e.autoLevel && e.extraCont && !e.edgeApp);
  }
}

TEST_F(LevelSettings, CoringThresholdByModel) {
  CCameraCtrl& cam = MakeCamera();
  for (auto [cameraVer, threshold] : {std::pair{0xA6F, 12}, std::pair{0x86F, 48}, std::pair{0x56F, 48}}) {
    settings.CameraVer = cameraVer;
    settings.TranMode = 2;
    cam.CopyLevelSettings();
    EXPECT_EQ(cam.m_Enhancement.threshold, threshold) << std::hex << cameraVer;
  }
}
