#include <string>
#include <vector>

#include "BeepRecord.h"
#include "VexcamApi.h"
#include "CameraFixture.h"

namespace {

using plat::board::LogEntry;

class CameraPower : public CameraTest {};

// The check on each side of revision 217: the camera identity it configures, the frame
// timing and the state it leaves.
TEST_F(CameraPower, ConfiguresTheCameraByRevision) {
  struct Case {
    int revision;
    LONG cameraVer, adTop, clockCount, framePeriodMs, settleLine, lineOffset;
  };
  // K = trunc(1616 x 1044 x 12 x 0.002) for the camera identity the block starts with;
  // a board of revision 217 carries the variant, 1790 clocks over 1068 rows, from the start.
  const Case cases[] = {
      {216, 0x0A6F, 124, 40490, 83, 499, 6},
      {217, 0x1A6F, 132, 45881, 83, 527, 26},
  };
  for (const auto& c : cases) {
    CCameraCtrl& cam = Board(c.revision);
    EXPECT_EQ(cam.CheckCameraPower(), TRUE) << c.revision;
    EXPECT_EQ(settings.Camera_Status, 0);
    EXPECT_EQ(settings.CameraVer, c.cameraVer);
    EXPECT_EQ(settings.Camera_Ctrl, 0x80);
    EXPECT_EQ(settings.AdTop, c.adTop);
    EXPECT_EQ(settings.ShiftPositions[0][0][0][0], 12);  // the frame rate
    EXPECT_EQ(settings.FrameClockCount, c.clockCount);
    EXPECT_EQ(settings.bSwitched, 1u);
    const CameraGeometry& g = Geometry();
    EXPECT_EQ(g.FramePeriodMs, c.framePeriodMs) << c.revision;
    EXPECT_EQ(g.SettleLine, c.settleLine) << c.revision;
    EXPECT_EQ(g.LineOffset, c.lineOffset);
    EXPECT_EQ(g.FrameWidth, 1280);
    EXPECT_EQ(g.MaxWidth, 3840);
    EXPECT_EQ(g.LineBytes, 2584);
    camera.reset();
  }
}

// A second check on revision 217 starts from the configured variant: 1790 clocks over
// 1068 rows.
TEST_F(CameraPower, RecheckTakesTheVariantTiming) {
  CCameraCtrl& cam = Board(217);
  ASSERT_EQ(cam.CheckCameraPower(), TRUE);
  settings.Camera_Status = -13;  // forces the full check
  ASSERT_EQ(cam.CheckCameraPower(), TRUE);
  EXPECT_EQ(settings.FrameClockCount, 45881);
  EXPECT_EQ(Geometry().FramePeriodMs, 83);
  EXPECT_EQ(Geometry().SettleLine, 527);
  EXPECT_EQ(Geometry().LinesPerFrame, 534);
}

// Everything the check writes to the board, bring-up included: reset and power, the
// exposure and window registers, A/D top, the CDS gains (215 - 2/3 of 30, 10, 10, 50),
// register 11, the black levels, the A/D top of the revision (124 or 132), exposure 1 in
// mode 2 and the run word. Model 0xA latches each register write (twice below 217);
// register 11 = 0 shares its word with power-on.
TEST_F(CameraPower, TraceByRevision) {
  using W = std::pair<uint32_t, uint32_t>;  // offset, value
  struct Case {
    int revision;
    std::vector<W> writes;
  };
  const Case cases[] = {
      {216, {{0, 0xB20}, {0, 0xB00}, {0, 0xB00}, {0, 0xD00}, {0, 0xE00}, {0, 0x1182}, {0, 0x2C3}, {0, 0x3D1},
             {0, 0x4D1}, {0, 0x5B6}, {0, 0x1200}, {0, 0x1200}, {0, 0xB00}, {0, 0x1300}, {0, 0x680}, {0, 0x780},
             {0, 0x880}, {0, 0x980}, {0, 0x1200}, {0, 0x1200}, {0, 0x117C}, {0, 0xF08}, {0, 0x1040}, {0, 0x1200},
             {0, 0x1200}, {0, 0x1300}, {0, 0x1400}}},
      {217, {{24, 0}, {0, 0xB00}, {0, 0xFA8}, {0, 0x108F}, {24, 0x300}, {24, 0x200}, {0, 0x1182}, {0, 0x2C3},
             {0, 0x3D1}, {0, 0x4D1}, {0, 0x5B6}, {0, 0x1200}, {0, 0xB00}, {0, 0x1300}, {0, 0x680}, {0, 0x780},
             {0, 0x880}, {0, 0x980}, {0, 0x1200}, {0, 0x1184}, {0, 0x1300}, {0, 0xF08}, {0, 0x1040}, {0, 0x1200},
             {0, 0x1300}, {0, 0x1400}}},
  };
  for (const auto& c : cases) {
    CCameraCtrl& cam = Board(c.revision);
    ASSERT_EQ(cam.CheckCameraPower(), TRUE);
    std::vector<W> writes;
    for (const auto& e : plat::board::Log())
      if (e.kind == LogEntry::Kind::Write && e.board == 0) writes.emplace_back(e.port - kBase, e.value);
    EXPECT_EQ(writes, c.writes) << c.revision;
    camera.reset();
  }
}

// A camera checked once takes the fast path without touching the board.
TEST_F(CameraPower, FastPathSendsNothing) {
  CCameraCtrl& cam = Board(217);
  ASSERT_EQ(cam.CheckCameraPower(), TRUE);
  plat::board::ClearLog();
  EXPECT_EQ(cam.CheckCameraPower(), TRUE);
  for (const auto& e : plat::board::Log()) EXPECT_NE(e.kind, LogEntry::Kind::Write);
}

// The program's calls: check, exposure in frame units, A/D top, gains, power off and on.
TEST_F(CameraPower, ExportsDriveTheCamera) {
  Board(217);
  SetCamera(camera.get());
  EXPECT_EQ(KQ_CheckCameraPower(&settings), 1);
  EXPECT_EQ(settings.CameraVer, 0x1A6F);
  plat::board::ClearLog();

  settings.ExpMode = 2;
  settings.ExpParam = 3;
  EXPECT_EQ(KQ_SetExposure(&settings), 1);
  settings.AdTop = 140;
  EXPECT_EQ(KQ_SetAdTop(&settings), 1);
  std::vector<uint32_t> regs;
  for (uint32_t w : Writes(0))
    if (w != 0x1200 && w != 0x1300 && w != 0x13FF) regs.push_back(w);
  // Exposure 1 in lines, then 3 frame units; A/D top on register 17.
  EXPECT_EQ(regs, (std::vector<uint32_t>{0xF08, 0x1080, 0xF18, 0x1040, 0x118C}));
  EXPECT_EQ(settings.ExposureLong, 0);

  EXPECT_EQ(KQ_PowerOff(&settings), 1);
  EXPECT_EQ(settings.bSwitched, 0u);
  EXPECT_TRUE(camera->m_Planes[0].empty());
  EXPECT_EQ(KQ_PowerOn(&settings), 1);
  EXPECT_EQ(settings.bSwitched, 1u);
  EXPECT_EQ(Writes(0).back(), 0xB00u);
  SetCamera(nullptr);
}

}  // namespace
