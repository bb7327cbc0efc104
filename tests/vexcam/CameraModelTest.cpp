#include <string>
#include <vector>

#include "ColourTables.h"
#include "CameraFixture.h"

namespace {

class CameraModel : public CameraTest {};

// The model table: line layout, window offsets, plane order and channel orders.
TEST_F(CameraModel, GeometryOfEachModel) {
  struct Case {
    LONG cameraVer;
    int revision;
    LONG width, lineBytes, lineCount, lineOffset, portOffset;
    std::vector<LONG> siteMap, gainChannel;
    LONG adTop;
  };
  const Case cases[] = {
      {0x54F, 217, 640, 1288, 244, 6, 110, {2, 3, 0, 1}, {0, 1, 2, 3}, 135},
      {0x54F, 225, 640, 1288, 244, 20, 110, {0, 1, 2, 3}, {0, 1, 2, 3}, 135},
      {0x86F, 217, 1024, 2056, 388, 17, 0, {0, 1, 2, 3}, {3, 1, 2, 0}, 135},
      {0x1A6F, 217, 1280, 2584, 516, 26, 2, {0, 1, 2, 3}, {0, 1, 2, 3}, 132},
  };
  for (const auto& c : cases) {
    CCameraCtrl& cam = Checked(c.revision);
    settings.CameraVer = c.cameraVer;
    ASSERT_EQ(cam.ConfigureModel(), TRUE) << std::hex << c.cameraVer;
    const CameraGeometry& g = Geometry();
    EXPECT_EQ(g.FrameWidth, c.width);
    EXPECT_EQ(g.HalfWidth, c.width / 2);
    EXPECT_EQ(g.LineBytes, c.lineBytes);
    EXPECT_EQ(g.LineCount, c.lineCount);
    EXPECT_EQ(g.LineOffset, c.lineOffset) << std::hex << c.cameraVer << std::dec << " " << c.revision;
    EXPECT_EQ(g.PortWindowOffset, c.portOffset);
    EXPECT_EQ(std::vector<LONG>(g.SiteMap, g.SiteMap + 4), c.siteMap);
    EXPECT_EQ(std::vector<LONG>(g.GainChannel, g.GainChannel + 4), c.gainChannel);
    EXPECT_EQ(settings.AdTop, c.adTop);
    camera.reset();
  }
}

// A model the library does not know, or a zero frame clock count, leaves the geometry as
// it was and refuses the camera (-12) until a full check configures it again.
TEST_F(CameraModel, UnusableModelIsRefused) {
  struct Case {
    LONG cameraVer, clockCount;
  };
  const Case cases[] = {{0x36F, 40490}, {0x2A6F, 0}};
  for (const auto& c : cases) {
    CCameraCtrl& cam = Checked(217);
    const CameraGeometry before = Geometry();
    settings.CameraVer = c.cameraVer;
    settings.FrameClockCount = c.clockCount;
    EXPECT_EQ(cam.CheckCameraPower(), FALSE) << std::hex << c.cameraVer;
    EXPECT_EQ(settings.Camera_Status, -12);
    EXPECT_EQ(Geometry().FrameWidth, before.FrameWidth);
    EXPECT_EQ(Geometry().FramePeriodMs, before.FramePeriodMs);
    EXPECT_EQ(cam.CheckCameraPower(), TRUE);  // the full check measures and configures again
    EXPECT_EQ(settings.Camera_Status, 0);
    EXPECT_GT(Geometry().FramePeriodMs, 0);
    camera.reset();
  }
}

// A changed line offset drops the cached window, so the next capture programs it again.
TEST_F(CameraModel, NewLineOffsetDropsTheCachedWindow) {
  CCameraCtrl& cam = Checked(217);
  cam.m_LastRect = RECT{0, 0, 100, 100};
  settings.CameraVer = 0xA6F;  // variant 0: line offset 6 instead of 26
  ASSERT_EQ(cam.ConfigureModel(), TRUE);
  EXPECT_EQ(cam.m_LastRect.right, 0);
}

// The line store is compact for the newer camera: one full field for position (0, 0) and
// 64 rows of 1024 bytes for each other position.
TEST_F(CameraModel, LineStoreLayouts) {
  CCameraCtrl& cam = Checked(217);
  struct Case {
    LONG cameraVer;
    size_t bytes;
    size_t rowsOfSecond;
  };
  const Case cases[] = {
      {0x1A6F, 2584u * 516 + 35u * 65536, 64},
      {0x1A6D, 2584u * 516 * 36, 516},  // bits 0-1 = 01: every position a full field
  };
  for (const auto& c : cases) {
    settings.CameraVer = c.cameraVer;
    ASSERT_EQ(cam.AllocLineStore(), TRUE);
    EXPECT_EQ(cam.m_LineBlockBytes, c.bytes);
    EXPECT_EQ(cam.m_LineRows[1].size(), c.rowsOfSecond);
    EXPECT_EQ(cam.m_LineRows[1][0] - cam.m_LineRows[0][0], 2584 * 516);
    EXPECT_EQ(cam.m_LineRowsSpare, cam.m_LineRows[0]);
    EXPECT_EQ(cam.m_Planes[2].size(), 3856u);  // MaxWidth + 16 rows
    EXPECT_EQ(cam.m_Planes[0][1] - cam.m_Planes[0][0], 4096);
  }
  ASSERT_EQ(cam.AllocSampleRows(), TRUE);
  EXPECT_EQ(cam.m_SampleRows.size(), 25u);
  EXPECT_EQ(cam.m_SampleRows[0].size(), 2564u);
}

TEST_F(CameraModel, AveragingBuffersFollowTheCount) {
  CCameraCtrl& cam = Checked(217);
  settings.AveragingCount = 2;
  ASSERT_EQ(cam.CheckCameraPower(), TRUE);
  EXPECT_EQ(cam.m_AverageBytes.size(), 513u * 3072);
  EXPECT_EQ(cam.m_AverageWords.size(), 513u * 6144);
  settings.AveragingCount = 0;
  ASSERT_EQ(cam.CheckCameraPower(), TRUE);
  EXPECT_TRUE(cam.m_AverageBytes.empty());
}

// Colour tables from the INI: a level counts as measured when its first entry is above
// -1; its reference levels are held to 0..255 and its offsets to -255..255.
TEST_F(CameraModel, ColourTablesFromTheIniAreClamped) {
  const char* ini = "C:\\Lumora\\Vexcam.INI";
  CreateDirectoryA("C:\\Lumora", nullptr);
  WritePrivateProfileStringA("Color Management", "gain0col0ss0", "300000", ini);
  WritePrivateProfileStringA("Color Management", "gain0col0ss1", "-7000", ini);
  WritePrivateProfileStringA("Color Management", "gain0col1ss0", "-400000", ini);
  WritePrivateProfileStringA("Color Management", "gain0col2ss3", "12345", ini);
  WritePrivateProfileStringA("Color Management", "gain2col0ss0", "-500", ini);
  WritePrivateProfileStringA("Gamma Correction", "gain0exp2", "125", ini);
  EXPECT_EQ(LoadColourTables(ini, 0), 0b101);
  const LevelColourTables& t = ColourTables();
  EXPECT_DOUBLE_EQ(t.ColorOffsetTable[0][0][0], 255.0);
  EXPECT_DOUBLE_EQ(t.ColorOffsetTable[0][0][1], 0.0);
  EXPECT_DOUBLE_EQ(t.ColorOffsetTable[0][1][0], -255.0);
  EXPECT_DOUBLE_EQ(t.ColorOffsetTable[0][2][3], 12.345);
  EXPECT_DOUBLE_EQ(t.ColorOffsetTable[1][0][0], -1.0);  // not measured: kept as read
  EXPECT_DOUBLE_EQ(t.ColorOffsetTable[2][0][0], 0.0);
  EXPECT_DOUBLE_EQ(t.ColorOffsetTable[2][1][0], -1.0);
  EXPECT_EQ(t.StepExposureTable[0][2], 125);
  EXPECT_EQ(t.StepExposureTable[1][2], 0);
}

}  // namespace
