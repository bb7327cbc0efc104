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
  EXPECT_NEAR(ElapsedMs(0), 250, 1);
  EXPECT_NEAR(ElapsedMs(1), 150, 1);
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
  plat::clock::UseVirtual(true, 1);
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

namespace {

class SyncPhase : public VexcamTest {
 protected:
  CCameraCtrl& Ready(const char* revision) {
    Configure({{"BOARD_REVISION", revision}});
    CCameraCtrl& cam = MakeCamera();
    EXPECT_EQ(cam.SearchPCIAndSetGETA(), 1);
    return cam;
  }
};

// Kind 0 ends outside the sync phase, kind 1 inside it (status bit 2).
TEST_F(SyncPhase, WaitsForEachEdgeOfThePhase) {
  CCameraCtrl& cam = Ready("217");
  for (int kind : {1, 0, 1, 0, 3}) {
    ASSERT_TRUE(cam.WaitSyncPhase(kind)) << kind;
    bool sync = ReadStatus(settings.PCIaddress, 0) & 4;  // the phase lasts four lines: still there
    EXPECT_EQ(sync, kind != 0) << kind;
  }
  EXPECT_EQ(settings.Camera_Status, 0);
}

TEST_F(SyncPhase, FrozenStatusSpendsTheBudget) {
  CCameraCtrl& cam = Ready("217");
  ASSERT_TRUE(cam.WaitSyncPhase(0));  // outside the phase now
  plat::board::SetFaults(plat::board::FaultSet{.statusStuck = true});
  EXPECT_FALSE(cam.WaitSyncPhase(1));
  EXPECT_EQ(settings.Camera_Status, -13);
}

TEST_F(SyncPhase, OlderBoardsAndSimulationDoNotWait) {
  CCameraCtrl& cam = Ready("208");
  plat::board::SetFaults(plat::board::FaultSet{.statusStuck = true});
  EXPECT_TRUE(cam.WaitSyncPhase(1));
  cam.m_Revision = 217;
  settings.Mode |= kModeSimulate;
  int64_t before = plat::clock::NowMicros();
  EXPECT_TRUE(cam.WaitSyncPhase(3));
  EXPECT_GE(plat::clock::NowMicros() - before, 83000);
}

}  // namespace
