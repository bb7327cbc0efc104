#include <string>
#include <vector>

#include "BeepRecord.h"
#include "CameraFixture.h"

namespace {

using plat::board::LogEntry;

class CameraCommand : public CameraTest {
 protected:
  // A board of `revision` found and brought up, the camera not yet checked.
  CCameraCtrl& Found(int revision) {
    CCameraCtrl& cam = Board(revision);
    EXPECT_EQ(cam.SearchPCIAndSetGETA(), 1);
    plat::board::ClearLog();
    plat::beeps::Take();
    return cam;
  }
};

// Command_Repeat sends each command that many times, except frame starts and actuator
// codes; a negative count sends nothing and still reports success.
TEST_F(CameraCommand, RepeatCountPerCommand) {
  struct Case {
    LONG repeat;
    WORD reg;
    BYTE value;
    int sent;
  };
  const Case cases[] = {
      {0, 12, 5, 1},     {1, 12, 5, 1},    {3, 12, 5, 3},   {3, 11, 0x81, 1}, {3, 11, 0x01, 3},
      {3, 10, 15, 3},    {3, 10, 64, 1},   {-1, 12, 5, 0},  {-1, 11, 0x81, 1},
  };
  for (const auto& c : cases) {
    CCameraCtrl& cam = Found(216);
    settings.CameraVer = 0x56F;  // model 5: no latch words
    settings.Command_Repeat = c.repeat;
    EXPECT_EQ(cam.SendAddrCmmnd(c.reg, c.value), TRUE);
    EXPECT_EQ(Count(Writes(0), DWORD(c.reg) << 8 | c.value), c.sent) << c.repeat << " " << c.reg << " " << int(c.value);
    camera.reset();
  }
}

// Above camera identity 1379 the actuator codes go up to 63 before they count as single.
TEST_F(CameraCommand, ActuatorCodeLimitRisesWithTheNewerCamera) {
  CCameraCtrl& cam = Found(216);
  settings.Command_Repeat = 2;
  settings.CameraVer = 0x56F;  // 1391
  cam.SendAddrCmmnd(10, 40);
  EXPECT_EQ(Count(Writes(0), 0xA28), 2);
  settings.CameraVer = 0x53F;  // 1343
  cam.SendAddrCmmnd(10, 40);
  EXPECT_EQ(Count(Writes(0), 0xA28), 3);
}

// Model 0xA latches each register write with 0x1200, twice on the older boards.
TEST_F(CameraCommand, ModelALatchesRegisterWrites) {
  struct Case {
    int revision;
    std::vector<uint32_t> words;
  };
  const Case cases[] = {{216, {0x1105, 0x1200, 0x1200}}, {217, {0x1105, 0x1200}}};
  for (const auto& c : cases) {
    CCameraCtrl& cam = Found(c.revision);
    settings.CameraVer = 0xA6F;
    EXPECT_EQ(cam.SendAddrCmmnd(17, 5), TRUE);
    EXPECT_EQ(Writes(0), c.words) << c.revision;
    plat::board::ClearLog();
    EXPECT_EQ(cam.SendAddrCmmndPCI(17, 5), TRUE);  // no latch
    EXPECT_EQ(Writes(0), std::vector<uint32_t>{0x1105}) << c.revision;
    camera.reset();
  }
}

// An echo that never matches: ten writes, one short 1 kHz beep, and the sequence goes on.
TEST_F(CameraCommand, EchoMismatchWritesTenTimesAndBeepsOnce) {
  CCameraCtrl& cam = Found(217);
  settings.CameraVer = 0x56F;
  plat::board::FaultSet f;
  f.echoMismatches = -1;
  plat::board::SetFaults(f);
  EXPECT_EQ(cam.SendAddrCmmnd(12, 7), TRUE);
  EXPECT_EQ(Count(Writes(0), 0xC07), 10);
  auto beeps = plat::beeps::Take();
  ASSERT_EQ(beeps.size(), 1u);
  EXPECT_EQ(beeps[0].frequency, 1000u);
  EXPECT_EQ(beeps[0].duration, 1u);

  // Two wrong echoes, then the right one: three writes, no beep.
  plat::board::ClearLog();
  f.echoMismatches = 2;
  plat::board::SetFaults(f);
  EXPECT_EQ(cam.SendAddrCmmnd(12, 7), TRUE);
  EXPECT_EQ(Count(Writes(0), 0xC07), 3);
  EXPECT_TRUE(plat::beeps::Take().empty());
}

TEST_F(CameraCommand, BoardRegisterFileWriteAndItsBeep) {
  CCameraCtrl& cam = Found(217);
  EXPECT_EQ(cam.SendAddrCmmndMACH(3, 26), TRUE);
  EXPECT_EQ(cam.SendAddrCmmndMACH(0, 0), TRUE);
  EXPECT_EQ(Writes(24), (std::vector<uint32_t>{0x31A, 0}));
  EXPECT_EQ(plat::beeps::Take().size(), 1u);
}

TEST_F(CameraCommand, NoBoardFailsEveryHandshake) {
  CCameraCtrl& cam = MakeCamera();
  settings.PCIaddress = 0xFFFFFFFF;
  EXPECT_EQ(cam.WaitHandshake("test"), FALSE);
  EXPECT_EQ(cam.SendAddrCmmnd(12, 1), FALSE);
  EXPECT_EQ(cam.ReadCameraStatus(), 0u);
}

TEST_F(CameraCommand, SimulationAnswersEveryHandshakeWithoutReadingTheBoard) {
  Configure({{"BOARD_COUNT", "0"}});
  CCameraCtrl& cam = MakeCamera();
  settings.Mode |= kModeSimulate;
  settings.PCIaddress = 0x300;
  int64_t before = plat::clock::NowMicros();
  EXPECT_EQ(cam.WaitHandshake("test"), TRUE);
  EXPECT_GE(plat::clock::NowMicros() - before, 1000);
}

}  // namespace
