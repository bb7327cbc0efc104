#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <set>
#include <thread>

#include "Clock.h"
#include "StillCapture.h"

namespace {

// A band across two colour bars and the grey steps below them.
constexpr RECT kSensor = {480, 240, 800, 400};

struct ModeCase {
  int revision;
  LONG tranMode;
  LONG purpose;  // 0: raw (single-frame readout where one exists), 10: a finished picture
  const char* what;
  double resemblance = 0.9;
};

class CaptureImage : public StillCaptureTest {
 protected:
  // One still capture of the band through the shutter; the result and the picture.
  LONG Shoot(const ModeCase& c, CTrueImage& image) {
    Chart(c.revision);
    settings.TranMode = c.tranMode;
    image.m_nReserved = c.purpose;
    return camera->OnShutter(&image, PictureRect(kSensor, Scale(c.tranMode)), 0);
  }
  void ExpectResembles(const ModeCase& c) {
    CTrueImage image;
    const LONG r = Shoot(c, image);
    EXPECT_GT(r, 0) << c.what;
    const double k = Scale(c.tranMode);
    EXPECT_EQ(image.m_nWidth, LONG((kSensor.right - kSensor.left) * k)) << c.what;
    EXPECT_EQ(image.m_nHeight, LONG((kSensor.bottom - kSensor.top) * k)) << c.what;
    ASSERT_NE(image.m_pBits, nullptr) << c.what;
    EXPECT_GT(Resemblance(image, kSensor, k), c.resemblance) << c.what;
  }
};

}  // namespace

TEST_F(CaptureImage, SingleFramePicturesResembleTheScene) {
  const ModeCase cases[] = {
      {217, 1, 0, "half size, line read"},
      {217, 2, 0, "full size, line read"},
      {217, 1, 10, "half size for a finished picture"},
      {217, 2, 10, "one position into the planes, interpolated"},
      {217, 0, 10, "raw planes", 0.75},  // a mosaic: each pixel shows one colour (0.79 on the chart)
      {216, 2, 10, "one position, head and tail"},
      {210, 1, 0, "half size through the data port"},
      {210, 2, 10, "one position through the line store"},
  };
  for (const ModeCase& c : cases) ExpectResembles(c);
}

TEST_F(CaptureImage, PixelShiftPicturesResembleTheScene) {
  const ModeCase cases[] = {
      {217, 3, 10, "4 positions"},
      {217, 4, 10, "16 positions"},
      {217, 5, 0, "9 positions"},
      {217, 6, 10, "18 positions"},
      {216, 5, 10, "9 positions, head and tail"},
      {210, 5, 10, "9 positions through the line stores"},
  };
  for (const ModeCase& c : cases) ExpectResembles(c);
}

TEST_F(CaptureImage, ShiftVisitsThePositionsOfItsTable) {
  struct Case {
    LONG tranMode;
    std::vector<LONG> positions;  // grid positions read, in order
  } cases[] = {
      {6, {0, 2, 4, 7, 9, 11, 12, 14, 16, 19, 21, 23, 24, 26, 28, 31, 33, 35}},
      {5, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
  };
  for (const Case& c : cases) {
    CTrueImage image;
    const LONG r = Shoot({217, c.tranMode, 10, "shift"}, image);
    ASSERT_GT(r, 0) << c.tranMode;
    const LONG f = c.tranMode == 6 ? 6 : 3;
    std::set<std::pair<int, int>> expected, seen;
    for (LONG p : c.positions) {
      const int code = camera->m_Shift.code[f][p];
      static constexpr int kSixths[6][6] = {{0, 6, 4, 2, 5, 13},      {11, 20, 12, 27, 18, 34},
                                            {19, 37, 25, 38, 26, 39}, {14, 40, 28, 41, 29, 42},
                                            {30, 43, 31, 44, 32, 45}, {33, 46, 35, 47, 36, 48}};
      for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
          if (kSixths[y][x] == code) expected.insert({20 * x, 20 * y});
    }
    const auto trail = ActuatorTrail();
    // Positions the actuator came to rest at: each move's last register write.
    for (const auto& xy : trail)
      if (xy.first % 20 == 0 && xy.second % 20 == 0 && xy.first < 120 && xy.second < 120) seen.insert(xy);
    EXPECT_EQ(seen, expected) << c.tranMode;
    ASSERT_FALSE(trail.empty());
    EXPECT_EQ(trail.back(), (std::pair<int, int>{0, 0})) << c.tranMode;
  }
}

TEST_F(CaptureImage, ProgressBytesOfTheRun) {
  struct Case {
    LONG tranMode;
    DWORD mode;
    BYTE positions;  // the last position percentage the block shows
  } cases[] = {
      {5, 0, 8 * 100 / 9},
      {3, 0, 3 * 100 / 4},
      {5, 0x20000, 0xAA},  // raw mode: the block's bytes are left alone
  };
  for (const Case& c : cases) {
    Chart(217);
    settings.TranMode = c.tranMode;
    settings.Mode |= c.mode;
    settings.Progress[1] = 0xAA;
    CTrueImage image;
    image.m_nReserved = 10;
    const LONG r = camera->OnShutter(&image, PictureRect(kSensor, Scale(c.tranMode)), 0);
    EXPECT_GT(r, 0) << c.tranMode;
    EXPECT_EQ(settings.Progress[1], c.positions) << c.tranMode << " " << c.mode;
  }
}

// The caller's stop button arrives from its own thread while the library waits, once
// `due` says so; the thread keeps looking rather than sleeping, so that a busy machine
// delays it as little as it delays the capture.
class CancelDuringCapture : public CaptureImage {
 protected:
  void CancelWhen(std::function<bool()> due) {
    canceller_ = std::thread([this, due = std::move(due)] {
      while (!done_ && !due()) std::this_thread::yield();
      settings.bAbort = 1;
    });
  }
  void CancelAfter(int64_t virtualMicros) {
    const int64_t at = plat::clock::NowMicros() + virtualMicros;
    CancelWhen([at] { return plat::clock::NowMicros() >= at; });
  }
  void TearDown() override {
    done_ = true;
    if (canceller_.joinable()) canceller_.join();
    CaptureImage::TearDown();
  }
  std::atomic<bool> done_{false};
  std::thread canceller_;
};

TEST_F(CancelDuringCapture, LongExposureStopsAtTheCancel) {
  Chart(217);
  settings.TranMode = 2;
  settings.ExpMode = 2;
  settings.ExpParam = 2047;  // the longest exposure: 2047 frame periods, about 170 seconds
  CTrueImage image;
  image.m_nReserved = 10;
  const int64_t start = plat::clock::NowMicros();
  // The cancel comes from another thread, however late a busy machine lets it run: the
  // exposure is long enough that only the cancel can have ended it.
  CancelAfter(300000);
  const LONG r = camera->OnShutter(&image, kSensor, 0);
  done_ = true;
  EXPECT_EQ(r, 0);
  EXPECT_LT(plat::clock::NowMicros() - start, int64_t(2047) * 83000 / 2) << "the exposure was waited out";
}

TEST_F(CancelDuringCapture, ShiftStopsWithTheActuatorHome) {
  Chart(217);
  settings.TranMode = 4;
  CTrueImage image;
  image.m_nReserved = 10;
  // A few positions into the run: the block's progress byte counts the positions read.
  CancelWhen([this] { return std::atomic_ref<BYTE>(settings.Progress[1]).load() >= 25; });
  const LONG r = camera->OnShutter(&image, PictureRect(kSensor, 2), 0);
  done_ = true;
  EXPECT_EQ(r, 0);
  const auto trail = ActuatorTrail();
  ASSERT_FALSE(trail.empty());
  EXPECT_EQ(trail.back(), (std::pair<int, int>{0, 0}));
}

TEST_F(CaptureImage, NegativeAndAveragedPlaneReadouts) {
  struct Case {
    int revision;
    DWORD mode;
    LONG averaging;
    bool negative;  // the picture is the scene's negative
  } cases[] = {{217, 0x20, 0, true}, {216, 0x20, 0, true}, {217, 0, 3, false}};
  for (const Case& c : cases) {
    Chart(c.revision);
    settings.TranMode = 2;
    settings.Mode |= c.mode;
    settings.AveragingCount = c.averaging;
    CTrueImage image;
    image.m_nReserved = 10;
    ASSERT_GT(camera->OnShutter(&image, kSensor, 0), 0) << c.revision << " " << c.mode;
    const double r = Resemblance(image, kSensor, 1);
    if (c.negative)
      EXPECT_LT(r, -0.9) << c.revision;
    else
      EXPECT_GT(r, 0.9) << c.averaging;
  }
}

// Live frames overlap: while a frame is read, the next exposure starts at its line once the
// actuator stands at the next position, and once the sensor is past the arming line the
// actuator moves on to the position after it.
TEST_F(CaptureImage, OverlappedReadoutStartsTheNextExposureAndMovesOn) {
  struct Case {
    LONG arming;           // the settle line: never reached, or always passed
    bool startedBefore;    // an exposure was already started this frame
    bool started;          // a frame start during the readout
    LONG target;           // where the actuator stands afterwards
  } cases[] = {{100000, false, true, 4}, {-1, true, false, 5}, {-1, false, false, 4}};
  for (const Case& c : cases) {
    Checked(217);
    settings.TranMode = 5;
    camera->m_ShiftFactor = 3;
    camera->m_Overlap = true;
    ASSERT_TRUE(camera->PlaneView().Ready());
    camera->MoveToPosition(4, TRUE);  // the next position's
    camera->m_MoveDone = false;       // the frame wait took the mark
    camera->m_SubCurrent = 3, camera->m_SubNext = 4;
    camera->m_ExposureStarted = c.startedBefore;
    Geometry().SettleLine = c.arming;
    plat::board::ClearLog();
    EXPECT_EQ(camera->ReadFramePlanes(0, 34, 32, 0, 17), 1);
    bool started = false;
    for (const auto& e : plat::board::Log()) started |= e.kind == plat::board::LogEntry::Kind::FrameStart;
    EXPECT_EQ(started, c.started) << c.arming << " " << c.startedBefore;
    EXPECT_EQ(camera->m_Target[0], c.target) << c.arming << " " << c.startedBefore;
  }
}
