// The move inside the frame wait of a pixel-shift capture on the older boards: a frame
// that comes in long after the actuator moved on was exposed at the new target, so the
// position it belongs to is exposed again before its lines are read; a frame that comes in
// soon after the move is read as it is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StillCapture.h"

namespace {

class ShiftInFrame : public StillCaptureTest {
 protected:
  // The events of the log since it was cleared: "0" or "1" for the actuator arriving at
  // position 0 or 1 of the 2 x 2 grid (its last write for a move), "frame" for a frame
  // start that came at least `settle` after the last move.
  static std::vector<std::string> Events(int64_t settle) {
    std::vector<std::string> out;
    int64_t movedAt = 0;
    for (const auto& e : plat::board::Log()) {
      if (e.kind == plat::board::LogEntry::Kind::Actuator) {
        movedAt = e.micros;
        const std::string at = e.x == 0 && e.y == 0 ? "0" : e.x == 60 && e.y == 0 ? "1" : "?";
        if (out.empty() || out.back() != at) out.push_back(at);
      } else if (e.kind == plat::board::LogEntry::Kind::FrameStart && e.micros - movedAt >= settle) {
        out.push_back("frame");
      }
    }
    return out;
  }
};

}  // namespace

TEST_F(ShiftInFrame, AFrameInLongAfterTheMoveIsExposedAgainWhereItBelongs) {
  using EventList = std::vector<std::string>;
  struct Case {
    const char* what;
    double periodsSinceMove;  // from the move on to position 1 to the frame's arrival
    int64_t settleMicros;
    EventList events;
  } cases[] = {
      {"half a period", 0.5, 0, {}},
      // Back to position 0 (by way of the one before), a frame there once the actuator has
      // arrived, then on to position 1; the frame taken then is re-armed.
      {"two and a half periods", 2.5, 0, {"0", "frame", "1", "frame"}},
      {"two and a half periods, an actuator that takes a third of a frame to arrive", 2.5, 28000,
       {"0", "frame", "1", "frame"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CCameraCtrl& cam = Checked(216);
    plat::board::FaultSet f;
    f.actuatorSettleMicros = c.settleMicros;
    plat::board::SetFaults(f);
    // The frame of position 0 is in; the actuator went on to position 1 as it began.
    cam.m_ShiftFactor = 2;
    cam.MoveToPosition(0, TRUE);
    cam.MoveToPosition(1, TRUE);
    cam.m_ShiftInFrame = true;
    cam.m_BatchFirst = 0, cam.m_BatchLast = 1;
    cam.m_SubCurrent = cam.m_FramePosition = 0;
    plat::clock::Advance(int64_t(c.periodsSinceMove * Geometry().FramePeriodMs * 1000));
    plat::board::ClearLog();
    cam.InFrameMove();
    EXPECT_EQ(cam.m_FramePosition, 0) << "the lines go to position 0 either way";
    EXPECT_EQ(Events(c.settleMicros), c.events);
    EXPECT_EQ(cam.m_ShiftInFrame, c.events.empty()) << "taken again once a capture";
  }
}

// A whole raw shift capture held up now and then by a busy machine: whatever frames are
// taken again, every position's lines land where they belong.
TEST_F(ShiftInFrame, AHeldUpShiftCaptureStillPlacesEveryPosition) {
  constexpr RECT kShiftWindow = {480, 240, 800, 400};
  Chart(216);
  plat::board::FaultSet f;
  f.actuatorSettleMicros = 28000;
  f.stallEvery = 200;
  f.stallMicros = 60000;
  plat::board::SetFaults(f);
  settings.TranMode = 3;
  settings.ExpParam = 1024;
  camera->SetExposure(1024, 1);
  CTrueImage image;
  image.m_nReserved = 0;  // a raw capture moves the actuator inside the frame wait
  ASSERT_GT(camera->OnShutter(&image, kShiftWindow, 0), 0);
  EXPECT_GT(Resemblance(image, kShiftWindow, 1), 0.9);
}
