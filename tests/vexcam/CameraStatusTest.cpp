#include <string>
#include <vector>

#include "CameraFixture.h"

namespace {

using plat::board::FaultSet;
using plat::board::LogEntry;

class CameraStatus : public CameraTest {
 protected:
  static void Inject(void (*set)(FaultSet&)) {
    FaultSet f;
    set(f);
    plat::board::SetFaults(f);
  }
  static int Writes(uint32_t offset, uint32_t value) { return Count(CameraTest::Writes(offset), value); }
  // Freezes the status word at a value inside (or outside) the sync phase.
  void FreezeStatus(bool inSync) {
    for (int i = 0; i < 2000 && bool(Status() & 4) != inSync; ++i) plat::clock::Advance(100);
    Inject([](FaultSet& f) { f.statusStuck = true; });
    Status();
  }
};

// Board search failures of the power check, each from a fault of the simulated board.
TEST_F(CameraStatus, SearchFailuresOfThePowerCheck) {
  struct Case {
    const char* what;
    int revision;
    std::vector<std::pair<std::string, std::string>> keys;
    void (*fault)(FaultSet&);
    SHORT status;
  };
  const Case cases[] = {
      {"no board", 217, {{"BOARD_COUNT", "0"}}, [](FaultSet&) {}, -10},
      {"no camera on the cable", 217, {{"BOARD_CAMERA", "0"}}, [](FaultSet&) {}, -14},
      {"camera never ready", 216, {}, [](FaultSet& f) { f.busyStuck = true; }, -15},
      {"fault word 12512", 217, {}, [](FaultSet& f) { f.faultWord = 12512; }, -17},
      {"fault word 12513", 217, {}, [](FaultSet& f) { f.faultWord = 12513; }, -18},
      {"fault word 12514", 217, {}, [](FaultSet& f) { f.faultWord = 12514; }, -19},
  };
  for (const auto& c : cases) {
    CCameraCtrl& cam = Board(c.revision, c.keys);
    Inject(c.fault);
    EXPECT_EQ(cam.CheckCameraPower(), FALSE) << c.what;
    EXPECT_EQ(settings.Camera_Status, c.status) << c.what;
    EXPECT_EQ(settings.PCIaddress, 0xFFFFFFFFu) << c.what;
    EXPECT_EQ(settings.BoardNumber, 0) << c.what;
    EXPECT_EQ(settings.CameraVer, 0xA6F) << c.what;  // restored
    EXPECT_EQ(settings.bSwitched, 0u) << c.what;
    camera.reset();
  }
}

// A preset board address the search does not find: -11 without a board number, -12
// with one.
TEST_F(CameraStatus, PresetBoardNotFound) {
  for (LONG boardNumber : {0, 1}) {
    CCameraCtrl& cam = Board(217);
    settings.PCIaddress = 32;
    settings.bSwitched = 1;
    settings.BoardNumber = boardNumber;
    EXPECT_EQ(cam.CheckCameraPower(), FALSE);
    EXPECT_EQ(settings.Camera_Status, boardNumber ? -12 : -11);
    camera.reset();
  }
}

// The sync phase never ends (-16) or never begins (-14) while the board comes up.
TEST_F(CameraStatus, FrameTimingFailuresOfTheBringUp) {
  for (bool inSync : {true, false}) {
    CCameraCtrl& cam = Board(217);
    FreezeStatus(inSync);
    EXPECT_EQ(cam.CheckCameraPower(), FALSE);
    EXPECT_EQ(settings.Camera_Status, inSync ? -16 : -14);
    camera.reset();
    plat::board::SetFaults({});
  }
}

// A camera that hangs during a command is power-cycled and the command goes out.
TEST_F(CameraStatus, RecoveryPowerCyclesAHungCamera) {
  CCameraCtrl& cam = Checked(217);
  Inject([](FaultSet& f) { f.hung = true; });
  EXPECT_EQ(cam.SendAddrCmmnd(12, 9), TRUE);
  EXPECT_EQ(settings.Camera_Status, 0);
  EXPECT_EQ(settings.CameraRestarted(), 1);
  EXPECT_EQ(settings.bAbort, 0u);
  EXPECT_EQ(settings.bSwitched, 1u);
  EXPECT_EQ(Writes(24, 0), 1);  // board reset of the first failures
  EXPECT_EQ(Writes(0, 0xB10), 1);
  EXPECT_EQ(Writes(0, 0xB00), 1);
  EXPECT_EQ(Writes(0, 0xC09), 1);
  // The older board resets with 0xB20 and releases with 0xB00.
  camera.reset();
  CCameraCtrl& old = Checked(216);
  Inject([](FaultSet& f) { f.hung = true; });
  EXPECT_EQ(old.SendAddrCmmnd(12, 9), TRUE);
  EXPECT_EQ(Writes(0, 0xB20), 1);
  EXPECT_EQ(Writes(0, 0xB10), 1);
  EXPECT_EQ(Writes(0, 0xB00), 2);
}

// A camera that stays busy after the power cycle: -13, and bAbort stops every loop.
TEST_F(CameraStatus, FailedRecoveryAbortsWithTimeout) {
  CCameraCtrl& cam = Checked(217);
  Inject([](FaultSet& f) { f.busyStuck = true; });
  EXPECT_EQ(cam.SendAddrCmmnd(12, 9), FALSE);
  EXPECT_EQ(settings.Camera_Status, -13);
  EXPECT_EQ(settings.bAbort, 1u);
  EXPECT_EQ(Writes(0, 0xC09), 0);
}

// Boards that must not be reset (revision 225 here) get no power cycle.
TEST_F(CameraStatus, NoRecoveryWhereTheBoardForbidsIt) {
  CCameraCtrl& cam = Checked(225);
  Inject([](FaultSet& f) { f.busyStuck = true; });
  EXPECT_EQ(cam.WaitHandshake("test"), FALSE);
  EXPECT_EQ(settings.Camera_Status, -13);
  EXPECT_EQ(settings.bAbort, 1u);
  EXPECT_EQ(Writes(0, 0xB10), 0);
}

// From the fifth failure on the echo register's fault word names the fault; with
// ShowCameraMessages the handshake ends there, otherwise the recovery runs.
TEST_F(CameraStatus, FifthFailureReadsTheFaultWord) {
  for (LONG show : {1, 0}) {
    CCameraCtrl& cam = Checked(217);
    settings.ShowCameraMessages = show;
    Inject([](FaultSet& f) { f.faultWord = 12513; });
    for (int i = 0; i < 4; ++i) {
      settings.bAbort = 0;
      EXPECT_EQ(cam.WaitHandshake("test"), FALSE);
      EXPECT_EQ(settings.Camera_Status, -13);
    }
    EXPECT_EQ(Writes(24, 0), 4);
    plat::board::ClearLog();
    settings.bAbort = 0;
    EXPECT_EQ(cam.WaitHandshake("test"), FALSE);
    EXPECT_EQ(Writes(24, 0), 0);
    if (show) {
      EXPECT_EQ(settings.Camera_Status, -18);
      EXPECT_EQ(Writes(0, 0xB10), 0);
      EXPECT_EQ(settings.bAbort, 0u);
    } else {
      EXPECT_EQ(settings.Camera_Status, -13);  // the recovery found the camera still faulty
      EXPECT_EQ(Writes(0, 0xB10), 1);
      EXPECT_EQ(settings.bAbort, 1u);
    }
    camera.reset();
  }
}

// A recovery inside a readout powers the camera off, but the stores the readout works on
// stay until it lets them go.
TEST_F(CameraStatus, RecoveryKeepsStoresARunningReadoutHolds) {
  CCameraCtrl& cam = Checked(217);
  ASSERT_FALSE(cam.m_Planes[0].empty());
  BYTE* row = cam.m_LineRows[0].front();
  {
    CCameraCtrl::StoreLease lease(cam);
    Inject([](FaultSet& f) { f.hung = true; });
    EXPECT_EQ(cam.SendAddrCmmnd(12, 9), TRUE);
    EXPECT_EQ(Writes(0, 0xB10), 1);
    ASSERT_FALSE(cam.m_LineRows[0].empty());
    EXPECT_EQ(cam.m_LineRows[0].front(), row);
    row[0] = 1;  // still the readout's memory
    EXPECT_FALSE(cam.m_Planes[3].empty());
  }
  EXPECT_TRUE(cam.m_Planes[0].empty());
  EXPECT_TRUE(cam.m_LineRows[0].empty());
  // Without a readout, power-off frees them at once.
  ASSERT_EQ(cam.AllocLineStore(), TRUE);
  cam.PowerOff();
  EXPECT_TRUE(cam.m_Planes[0].empty());
}

// A sync wait that never sees its phase.
TEST_F(CameraStatus, SyncWaitTimeout) {
  CCameraCtrl& cam = Checked(217);
  FreezeStatus(true);
  EXPECT_EQ(cam.WaitSyncPhase(0), FALSE);
  EXPECT_EQ(settings.Camera_Status, -13);
}

// The port-probed board takes the window start through its register ports and then ends
// the check with 0 and no error code.
TEST_F(CameraStatus, PortBoardCheckEndsWithoutCode) {
  CCameraCtrl& cam = Board(217, {{"PLATFORM", "9x"}, {"BOARD_COUNT", "0"}, {"BOARD_PORT_BOARDS", "1"}});
  EXPECT_EQ(cam.CheckCameraPower(), FALSE);
  EXPECT_EQ(settings.Camera_Status, 0);
  EXPECT_EQ(settings.bISA, 1u);
  std::vector<std::pair<uint32_t, uint32_t>> ports;
  for (const auto& e : plat::board::Log())
    if (e.kind == LogEntry::Kind::Write && e.port >= 0x180 && e.port < 0x1C0) ports.emplace_back(e.port, e.value);
  // Register 13 and 14 = 0 through the register and value ports of slot 1.
  EXPECT_EQ(ports, (std::vector<std::pair<uint32_t, uint32_t>>{{0x191, 13}, {0x192, 0}, {0x191, 14}, {0x192, 0}}));
}

}  // namespace
