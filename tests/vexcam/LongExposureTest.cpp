// Long exposures on the older boards, which hand over a frame every frame period: the
// library counts the periods that passed between two re-arms, and the line store's reader
// ends the exposure at the first frame whose line 3 rises clear of the dark level.
#include <gtest/gtest.h>

#include "StillCapture.h"

namespace {

class LongExposure : public StillCaptureTest {};

// The frame timer gives the whole frames, the line counter at each re-arm the part of one:
// a timer that reads a millisecond short of two periods still counts two.
TEST_F(LongExposure, PeriodsBetweenReArmsFromTheTimerAndTheLineMarks) {
  CCameraCtrl& cam = Checked(216);
  CameraGeometry& g = Geometry();
  g.LinesPerFrame = 522;
  g.FramePeriodMs = 84;
  struct Case {
    LONG ms, markBefore, markAfter, periods;
  } cases[] = {
      {84, 13, 13, 1},
      {167, 13, 13, 2},  // the timer alone: 1
      {251, 13, 11, 3},  // two lines short of three periods
      {100, 13, 113, 1},
      {0, 13, 13, 1},    // at least one
  };
  for (const Case& c : cases) {
    cam.m_LastFrameMs = c.ms;
    cam.m_LineMarks[0] = c.markBefore;
    cam.m_LineMarks[1] = c.markAfter;
    EXPECT_EQ(cam.FramesSinceLastRearm(), c.periods) << c.ms << " ms";
  }
}

// Below revision 212 the capture reads whole frames until line 3 shows light: the
// threshold is the measured dark level + 32 (+ 8 a gain level), so a dim specimen ends its
// exposure with a dark level of 0 and runs out the frames with one of 16.
TEST_F(LongExposure, TheExposureEndsAtTheFirstLitFrameAboveTheDarkLevel) {
  struct Case {
    LONG darkLevel;
    bool complete;
  } cases[] = {{0, true}, {16, false}};
  for (const Case& c : cases) {
    CCameraCtrl& cam = Chart(210, {{"BOARD_LIGHT", "0.045"}});
    cam.m_DarkLevel = c.darkLevel;
    settings.TranMode = 2;
    settings.ExpMode = 2;
    settings.ExpParam = 3;
    CTrueImage image;
    image.m_nReserved = 10;
    const RECT sensor = {16, 0, 336, 160};  // the white bar's top, where line 3 looks
    const LONG r = cam.OnShutter(&image, sensor, 0);
    EXPECT_EQ(cam.m_ExposureComplete, c.complete) << c.darkLevel;
    if (c.complete) {
      EXPECT_GT(r, 0) << c.darkLevel;
    } else {
      EXPECT_EQ(r, -1) << "the caller takes the shot again";
    }
  }
}

}  // namespace
