#include "VexcamFixture.h"

namespace {

class CameraObject : public VexcamTest {};

TEST_F(CameraObject, ConstructionOpensTheDeviceOfTheSystem) {
  struct Case {
    const char* platform;
    const char* version;
    bool nt, nt5;
  };
  for (Case c : {Case{"NT", "5.1.2600", true, true}, Case{"NT", "4.0.1381", true, false}, Case{"9x", "4.10.2222", false, false}}) {
    Configure({{"PLATFORM", c.platform}, {"WINVER", c.version}});
    {
      CCameraCtrl cam;
      BoardDeviceState& d = DeviceState();
      EXPECT_EQ(d.nt, c.nt) << c.version;
      EXPECT_EQ(d.nt5, c.nt5) << c.version;
      EXPECT_EQ(d.win98, !c.nt) << c.version;
      EXPECT_NE(c.nt ? d.ntDevice : d.vxdDevice, INVALID_HANDLE_VALUE) << c.version;
      EXPECT_NE(cam.m_pLineBuffer, nullptr);
      EXPECT_TRUE(d.hasCounter);
    }
    EXPECT_EQ(DeviceState().ntDevice, INVALID_HANDLE_VALUE);  // closed with the object
    EXPECT_EQ(DeviceState().vxdDevice, INVALID_HANDLE_VALUE);
  }
}

TEST_F(CameraObject, StartsWithIdentityLevelsAndThePhaseTables) {
  CCameraCtrl& cam = MakeCamera();
  for (int g = 0; g < 3; ++g)
    for (int p = 0; p < 4; ++p) EXPECT_EQ(cam.ChannelLut[g][p][77], 77);
  // Mode 3 starts planes 2 and 3 three columns on and steps two a position; mode 6 steps one.
  EXPECT_EQ(cam.m_PhaseColumn[0][3][0], 0);
  EXPECT_EQ(cam.m_PhaseColumn[2][3][0], 3);
  EXPECT_EQ(cam.m_PhaseColumn[2][3][2], -1);
  EXPECT_EQ(cam.m_PhaseRow[1][3][1], 1);
  EXPECT_EQ(cam.m_PhaseRow[2][3][1], -2);
  EXPECT_EQ(cam.m_PhaseColumn[3][6][5], -2);
  EXPECT_EQ(cam.m_NoiseStep, 128);
}

}  // namespace
