#include "BoardDevice.h"
#include "VexcamFixture.h"

namespace {

class BoardSearch : public VexcamTest {};

struct RevisionCase {
  LONG revision;
  DWORD mask;
  LONG blockLines;
};

// Every revision is found, read and brought up; the revision picks the status mask and
// the block readout's line count.
TEST_F(BoardSearch, BringsUpEachRevision) {
  const RevisionCase cases[] = {{208, 9, 8}, {211, 1, 8}, {212, 1, 16}, {216, 1, 16}, {217, 1, 16}, {225, 1, 16}};
  for (const auto& c : cases) {
    Configure({{"BOARD_REVISION", std::to_string(c.revision)}, {"BOARD_POWERED", "0"}});
    settings = DefaultSettings();
    CCameraCtrl& cam = MakeCamera();
    EXPECT_EQ(cam.SearchPCIAndSetGETA(), 1) << c.revision;
    EXPECT_EQ(settings.Camera_Status, 0) << c.revision;
    EXPECT_EQ(settings.PCIaddress, 0xE000u) << c.revision;
    EXPECT_EQ(settings.BoardRevision, c.revision);
    EXPECT_EQ(settings.BoardCount, 1);
    EXPECT_EQ(settings.BoardNumber, 1);
    EXPECT_EQ(settings.bPCI, 1u);
    EXPECT_EQ(settings.bISA, 0u);
    EXPECT_EQ(settings.bSwitched, 1u);
    EXPECT_EQ(cam.m_StatusMask, c.mask) << c.revision;
    EXPECT_EQ(cam.m_BlockLines, c.blockLines) << c.revision;
    EXPECT_EQ(cam.m_PortBase, 0xE004) << c.revision;
    EXPECT_EQ(cam.m_ClassCode, 0x048000u);

    // The reset of the revision (0xB20, or 0 to offset 24 from 217), then power by 0xB00.
    bool reset = false, powered = false;
    for (const auto& e : plat::board::Log()) {
      if (e.kind != plat::board::LogEntry::Kind::Write) continue;
      if (c.revision < 217 ? e.port == 0xE000 && e.value == 0xB20 : e.port == 0xE018 && e.value == 0) reset = true;
      if (reset && e.port == 0xE000 && e.value == 0xB00) powered = true;
    }
    EXPECT_TRUE(reset) << c.revision;
    EXPECT_TRUE(powered) << c.revision;
    camera.reset();
  }
}

TEST_F(BoardSearch, NoBoardLeavesNoAddress) {
  Configure({{"BOARD_COUNT", "0"}});
  CCameraCtrl& cam = MakeCamera();
  settings.PCIaddress = 0xE000;
  settings.bSwitched = 1;  // a preset address above 48 is not taken as preset
  EXPECT_EQ(cam.SearchPCIAndSetGETA(), 0);
  EXPECT_EQ(settings.PCIaddress, 0xFFFFFFFFu);
  EXPECT_EQ(settings.BoardCount, 0);
  EXPECT_EQ(settings.bPCI, 0u);
  EXPECT_EQ(settings.bSwitched, 0u);
}

TEST_F(BoardSearch, SimulationSucceedsWithoutABoard) {
  Configure({{"BOARD_COUNT", "0"}});
  CCameraCtrl& cam = MakeCamera();
  settings.Mode |= kModeSimulate;
  settings.PCIaddress = 0x300;
  EXPECT_EQ(cam.SearchPCIAndSetGETA(), 1);
  EXPECT_EQ(cam.m_PortBase, 0x304);
  EXPECT_EQ(settings.bPCI, 1u);
  EXPECT_EQ(settings.Camera_Status, 0);
}

TEST_F(BoardSearch, TakesTheFirstOfSeveralBoards) {
  Configure({{"BOARD_COUNT", "3"}, {"BOARD_BARS", "0xD000,0xD100,0xD200"}});
  CCameraCtrl& cam = MakeCamera();
  EXPECT_EQ(cam.SearchPCIAndSetGETA(), 1);
  EXPECT_EQ(settings.BoardCount, 3);
  EXPECT_EQ(settings.BoardNumber, 1);
  EXPECT_EQ(settings.PCIaddress, 0xD000u);
  EXPECT_EQ(DeviceState().pciCount, 3);
}

TEST_F(BoardSearch, BoardsOnALaterBusAreFound) {
  Configure({{"BOARD_BUS", "3"}});
  CCameraCtrl& cam = MakeCamera();
  EXPECT_EQ(cam.SearchPCIAndSetGETA(), 1);
  EXPECT_EQ(DeviceState().pciBus[0], 3);
  EXPECT_EQ(settings.PCIaddress, 0xE000u);
}

// A board already chosen and switched on is taken again without touching the hardware.
TEST_F(BoardSearch, PresetBoardIsTakenWithoutBringUp) {
  Configure({{"PLATFORM", "9x"}, {"BOARD_COUNT", "0"}, {"BOARD_PORT_BOARDS", "1"}});
  CCameraCtrl& cam = MakeCamera();
  settings.PCIaddress = 16;
  settings.bSwitched = 1;
  plat::board::ClearLog();
  EXPECT_EQ(cam.SearchPCIAndSetGETA(), 1);
  EXPECT_EQ(cam.m_PortBase, 0x194);
  EXPECT_EQ(settings.bISA, 1u);
  EXPECT_EQ(settings.bPCI, 0u);
  for (const auto& e : plat::board::Log()) {  // the PCI scan's address writes only
    if (e.kind == plat::board::LogEntry::Kind::Write) {
      EXPECT_EQ(e.port, 0xCF8u);
    }
  }

  settings.PCIaddress = 32;  // no board there
  EXPECT_EQ(cam.SearchPCIAndSetGETA(), 0);
  EXPECT_EQ(settings.PCIaddress, 0xFFFFFFFFu);
  EXPECT_EQ(settings.bSwitched, 0u);
}

TEST_F(BoardSearch, TwoPortBoardsCountAsNone) {
  Configure({{"PLATFORM", "9x"}, {"BOARD_COUNT", "0"}, {"BOARD_PORT_BOARDS", "0,2"}});
  CCameraCtrl& cam = MakeCamera();
  EXPECT_EQ(cam.SearchPCIAndSetGETA(), 0);
  EXPECT_EQ(settings.BoardCount, 0);
}

TEST_F(BoardSearch, OnePortBoardIsChosenWhenItAnswers) {
  Configure({{"PLATFORM", "9x"}, {"BOARD_COUNT", "0"}, {"BOARD_PORT_BOARDS", "2"}});
  CCameraCtrl& cam = MakeCamera();
  settings.Mode |= kModeSimulate;  // the handshake of the command protocol is not needed then
  EXPECT_EQ(cam.SearchPCIAndSetGETA(), 1);
  EXPECT_EQ(settings.PCIaddress, 32u);
  EXPECT_EQ(cam.m_PortBase, 0x1A4);
  EXPECT_EQ(settings.bISA, 1u);
  EXPECT_EQ(cam.m_StatusMask, 9u);
}

TEST_F(BoardSearch, NoCameraLeavesTheBoardAtStatusFive) {
  Configure({{"BOARD_CAMERA", "0"}, {"BOARD_REVISION", "208"}});
  CCameraCtrl& cam = MakeCamera();
  EXPECT_EQ(cam.SearchPCIAndSetGETA(), 0);
  EXPECT_EQ(settings.Camera_Status, -14);
}

TEST_F(BoardSearch, ABoardThatStaysBusyIsNotReady) {
  Configure({{"BOARD_REVISION", "212"}});
  plat::board::SetFaults(plat::board::FaultSet{.busyStuck = true});
  CCameraCtrl& cam = MakeCamera();
  EXPECT_EQ(cam.SearchPCIAndSetGETA(), 0);
  EXPECT_EQ(settings.Camera_Status, -15);
}

// NT 4 opens the device of the board the driver lists at the chosen address.
TEST_F(BoardSearch, Nt4OpensTheListedDevice) {
  Configure({{"WINVER", "4.0.1381"}, {"BOARD_COUNT", "2"}});
  CCameraCtrl& cam = MakeCamera();
  EXPECT_FALSE(DeviceState().nt5);
  EXPECT_EQ(cam.SearchPCIAndSetGETA(), 1);
  EXPECT_NE(DeviceState().ntDevice, INVALID_HANDLE_VALUE);
}

// An address the driver does not list has no device: the search fails instead of
// opening one past the list.
TEST_F(BoardSearch, Nt4RefusesABoardTheDriverDoesNotList) {
  Configure({{"WINVER", "4.0.1381"}});
  CCameraCtrl& cam = MakeCamera();
  settings.PCIaddress = 0x1230;
  EXPECT_FALSE(cam.SelectDevice());
  EXPECT_EQ(settings.Camera_Status, -11);
  EXPECT_EQ(DeviceState().ntDevice, INVALID_HANDLE_VALUE);
}

TEST_F(BoardSearch, PowerCheckNamesWhyNoBoardWasTaken) {
  Configure({{"BOARD_COUNT", "0"}});
  CCameraCtrl& cam = MakeCamera();
  EXPECT_EQ(cam.CheckCameraPower(), 0);
  EXPECT_EQ(settings.Camera_Status, -10);
  EXPECT_EQ(settings.CameraVer, 0xA6F);
  EXPECT_EQ(settings.PCIaddress, 0xFFFFFFFFu);
}

}  // namespace
