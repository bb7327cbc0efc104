#include <gtest/gtest.h>

#include "BoardDevice.h"
#include "CameraFixture.h"

class FrameStartTest : public CameraTest {};

TEST_F(FrameStartTest, StartWordByBoardAndOptions) {
  struct Case {
    int revision;
    bool nt, preview;
    double zoom;
    DWORD mode;
    uint32_t offset, word;
  } cases[] = {
      {216, false, false, 1.0, 0, 0, 0xB80},
      {216, false, true, 1.0, 0, 0, 0xB90},
      {216, false, false, 0.5, 0, 0, 0xBC0},
      {216, false, false, 0.5, 0x80, 0, 0xBC1},
      {210, false, false, 0.5, 0, 0, 0xB80},  // no half-size start before 211
      {217, false, false, 1.0, 0, 24, 0x100},
      {217, true, true, 1.0, 0, 24, 0x130},
      {217, true, false, 0.5, 0, 24, 0x160},
      {217, true, false, 1.0, 0x80, 0, 0xBA1},
  };
  for (const Case& c : cases) {
    CCameraCtrl& cam = Checked(c.revision);
    DeviceState().nt = c.nt;
    cam.m_PreviewCapture = c.preview;
    settings.zoom = c.zoom;
    settings.Mode |= c.mode;
    cam.m_Armed = false;
    cam.StartFrame();
    EXPECT_EQ(Count(Writes(c.offset), c.word), 1) << c.revision << " " << c.preview << " " << c.zoom;
    EXPECT_EQ(cam.m_Armed, c.revision >= 211) << c.revision;
  }
}

class ActuatorTest : public CameraTest {};

TEST_F(ActuatorTest, RawTargetsAreClamped) {
  CCameraCtrl& cam = Checked(216);
  EXPECT_EQ(cam.SetActuator(300, -5), TRUE);
  EXPECT_EQ(Count(Writes(0), 0xA00), 1);
  EXPECT_EQ(Count(Writes(0), 0x0FF), 1);
  EXPECT_EQ(Count(Writes(0), 0x100), 1);
}

TEST_F(ActuatorTest, GridPositionsByControlMode) {
  struct Case {
    LONG ctrl, cameraVer;
    std::vector<uint32_t> words;  // register writes of position 3 of the 2 x 2 grid
  } cases[] = {
      {0, 0xA6F, {0x023, 0x145}},                 // targets from the settings block
      {0x80, 0xA6F, {0xA92}},                     // code 16 in the 7-per-row code space
      {0x80, 0x563, {0xA00, 0x023, 0x145, 0xA80}},  // older camera on a newer board
  };
  for (const Case& c : cases) {
    CCameraCtrl& cam = Checked(216);
    settings.Camera_Ctrl = c.ctrl;
    settings.CameraVer = c.cameraVer;
    cam.m_ConfiguredVer = c.cameraVer;
    settings.ShiftPositions[2][0][1][1] = 0x123;
    settings.ShiftPositions[2][1][1][1] = 0x45;
    cam.m_ShiftFactor = 2;
    plat::board::ClearLog();
    EXPECT_EQ(cam.DriveActuator(3), TRUE);
    std::vector<uint32_t> sent;
    for (uint32_t w : Writes(0))
      if ((w >> 8) <= 1 || (w >> 8) == 10) sent.push_back(w);
    EXPECT_EQ(sent, c.words) << c.ctrl << " " << c.cameraVer;
  }
}

TEST_F(ActuatorTest, MovesKeepThePreviousTargets) {
  CCameraCtrl& cam = Checked(216);
  cam.m_ShiftFactor = 3;
  EXPECT_EQ(cam.MoveToPosition(4, TRUE), TRUE);
  EXPECT_EQ(cam.MoveToPosition(5, TRUE), TRUE);
  EXPECT_EQ(cam.MoveToPosition(8, FALSE), TRUE);  // no bookkeeping: where it stood is kept
  EXPECT_EQ(cam.m_Target[0], 5);
  EXPECT_EQ(cam.m_Target[1], 4);
  EXPECT_EQ(cam.m_Target[2], 0);
  EXPECT_TRUE(cam.m_MoveDone);
  EXPECT_EQ(cam.MoveToPosition(9, TRUE), FALSE);  // outside the 3 x 3 grid
  EXPECT_FALSE(cam.m_MoveDone);
}
