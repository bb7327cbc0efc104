#include <string>
#include <vector>

#include "CameraFixture.h"

namespace {

using plat::board::LogEntry;
using Reg = std::pair<int, int>;

class ExposureControl : public CameraTest {
 protected:
  static std::vector<Reg> ExposureRegisters() {
    std::vector<Reg> out;
    for (const auto& e : plat::board::Log())
      if (e.kind == LogEntry::Kind::Write && e.port == kBase && (e.value >> 8 == 15 || e.value >> 8 == 16))
        out.emplace_back(int(e.value >> 8), int(e.value & 0xFF));
    return out;
  }
  static int Rearms() {
    int n = 0;
    for (const auto& e : plat::board::Log()) n += e.kind == LogEntry::Kind::Write && e.port == kBase + 4 && e.value == 1;
    return n;
  }
  // Feeds the automatic exposure one frame of `level` with the targets 250 and 254.
  void Frame(CCameraCtrl& cam, LONG level) { cam.AdjustAutoExposure(0, level, 250, 254); }
};

// Still too bright at one frame unit: after three bright frames the exposure goes back
// to lines, the longest a frame allows.
TEST_F(ExposureControl, AutoExposureLeavesFrameUnitsWhenTooBright) {
  CCameraCtrl& cam = Checked(217);
  settings.ExpMode = 2;
  settings.ExpParam = 1;
  Frame(cam, 255);
  Frame(cam, 255);
  EXPECT_EQ(settings.ExpMode, 2);
  EXPECT_TRUE(ExposureRegisters().empty());
  Frame(cam, 255);
  EXPECT_EQ(settings.ExpMode, 1);
  EXPECT_EQ(settings.ExpParam, 2 * 534 - 1);
  EXPECT_EQ(ExposureRegisters(), (std::vector<Reg>{{15, 88}, {16, 161}}));
}

// Too dark at the longest line exposure: frame units only with the raw-mode bit.
TEST_F(ExposureControl, AutoExposureEntersFrameUnitsOnlyInRawMode) {
  for (bool raw : {false, true}) {
    CCameraCtrl& cam = Checked(217);
    settings.Mode = raw ? 0x20000 : 0;
    settings.ExpMode = 1;
    settings.ExpParam = 1060;
    Frame(cam, 100);
    Frame(cam, 100);
    EXPECT_EQ(settings.ExpMode, raw ? 2 : 1);
    EXPECT_EQ(settings.ExpParam, raw ? 1 : 1067);
    EXPECT_EQ(ExposureRegisters().front(), (raw ? Reg{15, 8} : Reg{15, 88}));
    camera.reset();
  }
}

// Steps in lines: a saturated picture steps by the smaller of 4 x and ExpParam / 128 of
// its distance to the band, a dark one by up to ExpParam / 256 of its distance.
TEST_F(ExposureControl, AutoExposureStepsInLines) {
  struct Case {
    LONG expParam, level, result;
  };
  const Case cases[] = {
      {500, 255, 481},  // a = 20, b = 5 x 500 / 128 = 19
      {500, 252, 500},  // inside the band
      {500, 254, 500},
      {500, 250, 500},
      {100, 200, 119},  // d = 50: min(50, 50 x 100 / 256 = 19)
      {2, 240, 4},      // at least 4 lines
      {1, 255, 1},      // one line is the least
  };
  CCameraCtrl& cam = Checked(217);
  for (const auto& c : cases) {
    settings.ExpMode = 1;
    settings.ExpParam = c.expParam;
    cam.m_AutoCounter = 0;
    Frame(cam, c.level);
    Frame(cam, c.level);
    EXPECT_EQ(settings.ExpParam, c.result) << c.expParam << " at " << c.level;
  }
}

// The band's edges count as inside: they clear the hysteresis, so a single bright frame
// between them never makes a step; frames without a step set the signal latch.
TEST_F(ExposureControl, AutoExposureHysteresis) {
  CCameraCtrl& cam = Checked(217);
  settings.ExpMode = 1;
  settings.ExpParam = 500;
  cam.m_Signal.set = false;
  for (LONG level : {255, 250, 255, 254, 255}) Frame(cam, level);
  EXPECT_EQ(settings.ExpParam, 500);
  EXPECT_TRUE(cam.m_Signal.set);
  EXPECT_EQ(cam.m_AutoCounter, 1);
  Frame(cam, 100);  // the other side starts counting afresh
  EXPECT_EQ(cam.m_AutoCounter, -1);
}

// Frame units: darker by one unit after two dark frames; with ExposureLong the lower
// target drops to 246.
TEST_F(ExposureControl, AutoExposureInFrameUnits) {
  CCameraCtrl& cam = Checked(217);
  settings.Mode = 0x20000;
  settings.ExpMode = 2;
  settings.ExpParam = 5;
  Frame(cam, 200);
  Frame(cam, 200);
  EXPECT_EQ(settings.ExpParam, 6);
  settings.ExposureLong = 1;
  cam.m_AutoCounter = 0;
  Frame(cam, 247);
  Frame(cam, 247);
  EXPECT_EQ(settings.ExpParam, 6);
}

TEST_F(ExposureControl, RestartOfALongExposure) {
  CCameraCtrl& cam = Checked(217);
  settings.ExpMode = 2;
  settings.ExpParam = 5;
  cam.RestartExposure(1);
  EXPECT_EQ(ExposureRegisters(), (std::vector<Reg>{{15, 8}, {16, 128}, {15, 40}, {16, 64}}));
  EXPECT_EQ(settings.ExposureLong, 0);
  EXPECT_EQ(Rearms(), 1);  // entering the long exposure
  // Leaving it again waits for a frame boundary and re-arms.
  plat::board::ClearLog();
  cam.SetExposure(100, 1);
  EXPECT_EQ(Rearms(), 1);
}

// In lines, the restart sleeps until shortly before the frame reaches the window; a zoom
// the readout cannot use (kept for transfer mode 1) counts as 1.0.
TEST_F(ExposureControl, RestartSleepsToTheWindow) {
  CCameraCtrl& cam = Checked(217);
  settings.ExpMode = 1;
  settings.ExpParam = 100;
  settings.TranMode = 1;
  for (double zoom : {1.0, 0.0, 1e-300}) {
    settings.zoom = zoom;
    int64_t before = plat::clock::NowMicros();
    cam.RestartExposure(1);
    int64_t slept = plat::clock::NowMicros() - before;
    const CameraGeometry& g = Geometry();
    EXPECT_GE(slept, int64_t(g.FramePeriodMs - 10) * 1000) << zoom;
    EXPECT_LE(slept, int64_t(2 * g.FramePeriodMs) * 1000) << zoom;
  }
}

// A started frame is ready within a frame or two; the wait re-arms the next one and reads
// the line above the window.
TEST_F(ExposureControl, FrameWaitOnAStartedFrame) {
  CCameraCtrl& cam = Checked(217);
  ASSERT_EQ(cam.SendAddrCmmndMACH(1, 0x20), TRUE);  // start a frame
  cam.m_Armed = true;
  EXPECT_EQ(cam.WaitFrameReady(), TRUE);
  EXPECT_EQ(Rearms(), 1);
  EXPECT_FALSE(cam.m_Armed);
}

TEST_F(ExposureControl, FrameWaitEndsOnAbortOrTimeout) {
  CCameraCtrl& cam = Checked(217);
  cam.m_Armed = true;
  settings.bAbort = 1;
  EXPECT_EQ(cam.WaitFrameReady(), FALSE);
  settings.bAbort = 0;
  int64_t before = plat::clock::NowMicros();
  EXPECT_EQ(cam.WaitFrameReady(), FALSE);  // no frame was started
  EXPECT_GT(plat::clock::NowMicros() - before, 100000);
  // No frame came: only the fresh start after the timeout re-arms the armed frame.
  EXPECT_EQ(Rearms(), 1);
}

// Boards below 217 sleep through most of the frame and count the sleep as expected wait.
TEST_F(ExposureControl, FrameWaitOnOlderBoardsSleepsAndCounts) {
  CCameraCtrl& cam = Checked(216);
  ASSERT_EQ(cam.SendAddrCmmndPCI(11, 0x80), TRUE);  // start a frame
  cam.m_Armed = true;
  cam.m_ExpectedWaitMs = 0;
  plat::clock::Advance(40000);  // the sensor half a frame away from the window
  EXPECT_EQ(cam.WaitFrameReady(), TRUE);
  EXPECT_GT(cam.m_ExpectedWaitMs, 0);
  EXPECT_LE(cam.m_ExpectedWaitMs, Geometry().FramePeriodMs);
}

}  // namespace
