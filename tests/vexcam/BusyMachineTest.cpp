// Captures on a busy machine, on the virtual clock: the start-up calibration counted far
// fewer status reads per half second than the reads later take (it ran while other work
// held the processor), and the library is held up now and then between two accesses to
// the board. Stills and live frames come out as on a quiet machine; a frame the board
// reports as cut short is taken again, or the capture fails, and never becomes a picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "Clock.h"
#include "PictureMeans.h"
#include "StillCapture.h"

namespace {

// The chart's white bar, in sensor pixels, well inside its edges; the capture takes the
// chart's top left corner around it.
constexpr RECT kWhitePatch = {24, 40, 136, 260};
constexpr RECT kSensor = {0, 0, 320, 320};

struct Kind {
  const char* what;
  int revision;
  LONG tranMode;
  LONG purpose;
};
const Kind kKinds[] = {
    {"Quick still", 217, 2, 10},
    {"Fine still", 217, 5, 10},
    {"live frame", 217, 1, 0},
    {"Quick still, older board", 216, 2, 10},
    {"live frame, older board", 216, 1, 0},
};

class BusyMachine : public StillCaptureTest {
 protected:
  // The mean of the white patch over the three colours in one capture, or -1 when the
  // capture reported a failure.
  double WhiteMean(const Kind& k) {
    settings.TranMode = k.tranMode;
    CTrueImage image;
    image.m_nReserved = k.purpose;
    const double s = Scale(k.tranMode);
    if (camera->OnShutter(&image, PictureRect(kSensor, s), 0) <= 0 || !image.m_pBits) return -1;
    const RECT p = PictureRect(kWhitePatch, s);
    const auto m = testenv::ChannelMeans(image.m_pBits, image.m_nWidth, image.m_nHeight, p.left, p.top, p.right,
                                         p.bottom);
    return (m[0] + m[1] + m[2]) / 3;
  }
  // The chart on a checked camera with the program's exposure (1/12 s, two frame periods).
  void Start(int revision) {
    Chart(revision);
    settings.ExpParam = 1067;
    camera->SetExposure(settings.ExpParam, 1);
  }
  static void Busy() {
    DeviceState().portReadsPerHalfSecond /= 10;
    plat::board::FaultSet f;
    f.stallEvery = 2000;
    f.stallMicros = 20000;
    plat::board::SetFaults(f);
  }
};

}  // namespace

TEST_F(BusyMachine, StillsAndLiveFramesComeOutAsOnAQuietMachine) {
  for (const Kind& k : kKinds) {
    SCOPED_TRACE(k.what);
    Start(k.revision);
    const double quiet = WhiteMean(k);
    ASSERT_GT(quiet, 80) << "not a dark picture";
    Busy();
    for (int shot = 0; shot < 3; ++shot) EXPECT_NEAR(WhiteMean(k), quiet, 0.03 * quiet) << "shot " << shot;
  }
}

// A board that reports its frame cut short: the frame is taken again, a few times at
// most; one that never delivers a whole frame fails the capture with the lost frame.
TEST_F(BusyMachine, AFrameReportedCutShortIsTakenAgainOrTheCaptureFails) {
  struct Case {
    int shortFrames;
    bool pictured;
  } cases[] = {{2, true}, {-1, false}};
  for (const Kind& k : kKinds) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(k.what) + (c.pictured ? ", two short frames" : ", every frame short"));
      Start(k.revision);
      const double quiet = WhiteMean(k);
      plat::board::FaultSet f;
      f.shortFrames = c.shortFrames;
      plat::board::SetFaults(f);
      const double mean = WhiteMean(k);
      if (c.pictured) {
        EXPECT_NEAR(mean, quiet, 0.03 * quiet);
      } else {
        EXPECT_EQ(mean, -1);
        EXPECT_EQ(settings.Camera_Status, -13);
      }
    }
  }
}

// The same on the real clock, on whatever machine runs the tests: Fine and Quick stills of
// the whole frame against the first of each. LUMORA_TEST_STILLS sets how many of each
// (scripts/test-under-load with a few dozen shows the library on a loaded machine).
TEST_F(BusyMachine, StillsOnTheRealClockAllMatchTheFirst) {
  const char* count = std::getenv("LUMORA_TEST_STILLS");
  const int stills = std::max(1, count ? std::atoi(count) : 1);
  plat::clock::UseVirtual(false);
  struct Still {
    const char* what;
    LONG tranMode;
  } kinds[] = {{"Fine", 5}, {"Quick", 2}};
  Start(217);
  for (const Still& k : kinds) {
    settings.TranMode = k.tranMode;
    const double s = Scale(k.tranMode);
    const RECT patch = PictureRect(kWhitePatch, s);
    auto shoot = [&] {
      CTrueImage image;
      image.m_nReserved = 10;
      if (camera->OnShutter(&image, RECT{}, 0) <= 0 || !image.m_pBits) return -1.0;
      const auto m = testenv::ChannelMeans(image.m_pBits, image.m_nWidth, image.m_nHeight, patch.left, patch.top,
                                           patch.right, patch.bottom);
      return (m[0] + m[1] + m[2]) / 3;
    };
    const double first = shoot();
    ASSERT_GT(first, 80) << k.what;
    double low = first, high = first;
    for (int i = 1; i < stills; ++i) {
      const double mean = shoot();
      low = std::min(low, mean), high = std::max(high, mean);
      EXPECT_NEAR(mean, first, 0.03 * first) << k.what << " still " << i + 1;
    }
    std::printf("%s: %d stills, white patch %.2f, from %.2f to %.2f (%+.2f %% to %+.2f %%)\n", k.what, stills, first,
                low, high, 100 * (low / first - 1), 100 * (high / first - 1));
  }
}
