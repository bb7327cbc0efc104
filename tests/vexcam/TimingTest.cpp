#include "Timing.h"
#include "VexcamFixture.h"

namespace {

class Timing : public VexcamTest {};

TEST_F(Timing, StopwatchesRunIndependently) {
  MakeCamera();
  StartStopwatch(0);
  Sleep(100);
  StartStopwatch(1);
  Sleep(150);
  EXPECT_NEAR(ElapsedMs(0), 250, 2);
  EXPECT_NEAR(ElapsedMs(1), 150, 2);
}

// Port accesses that take no time on a clock that does not move must not keep the
// calibration going forever: it stops at its ceiling.
TEST_F(Timing, CalibrationEndsWhenTimeStandsStill) {
  Configure({{"BOARD_PORT_MICROS", "0"}});
  plat::clock::UseVirtual(true, 0);
  MakeCamera();
  EXPECT_EQ(DeviceState().portReadsPerHalfSecond, 300000);
  EXPECT_EQ(DeviceState().loopsPer20us, 10000);
}

TEST_F(Timing, CalibrationCountsPortReadsOfTheBoard) {
  MakeCamera();
  EXPECT_GT(DeviceState().portReadsPerHalfSecond, 50000);  // about 0.5 s of 4-microsecond stable reads
  EXPECT_LT(DeviceState().portReadsPerHalfSecond, 300000);
}

int dispatched = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_USER + 7) ++dispatched;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// The delay keeps the caller's windows alive while the camera is on, except during a
// recovery; it does not return before its time.
TEST_F(Timing, DelayDispatchesMessagesWhileSwitchedOn) {
  MakeCamera();
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountingProc;
  wc.lpszClassName = "DelayTarget";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, "DelayTarget", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  struct Case {
    DWORD switched;
    bool recovery;
    int want;
  };
  for (Case c : {Case{1, false, 1}, Case{0, false, 0}, Case{1, true, 0}}) {
    MSG drop;
    while (PeekMessageA(&drop, nullptr, 0, 0, PM_REMOVE)) {
    }
    dispatched = 0;
    settings.bSwitched = c.switched;
    DeviceState().handshakeRecovery = c.recovery;
    PostMessageA(hwnd, WM_USER + 7, 0, 0);
    StartStopwatch(0);
    Delay(0.05);
    EXPECT_GE(ElapsedMs(0), 50);
    EXPECT_EQ(dispatched, c.want) << c.switched << c.recovery;
    EXPECT_FALSE(DeviceState().transferBusy);
  }
  DeviceState().handshakeRecovery = false;
  DestroyWindow(hwnd);
}

}  // namespace
