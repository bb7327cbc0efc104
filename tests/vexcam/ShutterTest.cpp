#include <gtest/gtest.h>

#include <cstring>

#include "CaptureFormat.h"
#include "CaptureTimes.h"
#include "StillCapture.h"
#include "VexcamApi.h"
#include "board/PatternScene.h"

using plat::board::PatternScene;

TEST(CaptureTimes, MeanOfTheLastTen) {
  vexcam::CaptureTimes times;
  EXPECT_EQ(times.Mean(), 0);
  times.Add(30);
  EXPECT_EQ(times.Mean(), 30);
  for (LONG ms = 1; ms <= 25; ++ms) times.Add(ms);
  EXPECT_EQ(times.Mean(), (16 + 25) / 2);  // 16 .. 25
}

class Shutter : public StillCaptureTest {};

TEST_F(Shutter, ResultsOfTheShutter) {
  struct Case {
    const char* what;
    Keys board;
    LONG tranMode;
    DWORD mode;
    RECT rect;
    LONG result;  // 1 stands for any time value
  } cases[] = {
      {"no camera on the board", {{"BOARD_CAMERA", "0"}}, 2, 0, {0, 0, 64, 64}, -1},
      {"no timer: no time value", {}, 2, 0x400, {0, 0, 64, 64}, 0},
      {"wider than the frame", {}, 2, 0, {0, 0, 1290, 64}, -2},
      {"a good capture", {}, 2, 0, {0, 0, 64, 64}, 1},
  };
  for (const Case& c : cases) {
    Board(217, c.board);
    settings.TranMode = c.tranMode;
    settings.Mode |= c.mode;
    CTrueImage image;
    const LONG r = camera->OnShutter(&image, c.rect, 0);
    if (c.result == 1) {
      EXPECT_GT(r, 0) << c.what;
    } else {
      EXPECT_EQ(r, c.result) << c.what;
    }
  }
}

TEST_F(Shutter, FinestModeOfTheSmallerCameraIsClampedToSixteenPositions) {
  Checked(217);
  settings.CameraVer = 0xA5F;  // sub-type 5: no 3 x 3 or 6 x 6 shift
  settings.TranMode = 7;
  CTrueImage image;
  image.m_nReserved = 10;
  EXPECT_GT(camera->OnShutter(&image, {0, 0, 64, 32}, 0), 0);
  EXPECT_EQ(settings.TranMode, 4);
  EXPECT_EQ(image.m_nWidth, 64);
}

TEST_F(Shutter, OnlyFinishedCapturesEnterTheTimes) {
  Checked(217);
  settings.TranMode = 2;
  CTrueImage image;
  camera->m_ExpectedWaitMs = 1000000;  // more than the capture took: kept at 1 ms
  EXPECT_EQ(camera->OnShutter(&image, {0, 0, 64, 64}, 0), 1);
  EXPECT_EQ(camera->m_MeanCaptureMs, 1);
  EXPECT_EQ(camera->m_ExpectedWaitMs, 0);
  settings.bAbort = 1;
  EXPECT_EQ(camera->OnShutter(&image, {0, 0, 64, 64}, 0), 0);
  EXPECT_EQ(camera->m_MeanCaptureMs, 1);
}

TEST_F(Shutter, ExportsForgetTheCaller) {
  Checked(217);
  SetCamera(camera.get());
  tCameraSettings block = settings;
  block.TranMode = 2;
  CTrueImage image;
  EXPECT_GT(KQ_OnShutter(&image, {0, 0, 64, 64}, 0, &block), 0);
  EXPECT_EQ(camera->m_pImage, nullptr);
  EXPECT_FALSE(HaveSettings());
  EXPECT_EQ(KQ_OnShutter(&image, {0, 0, 64, 64}, -1, &block), -1);
  SetCamera(nullptr);
}

// Each position's frame is read into its own line store, exposed where the actuator
// stood for it: the pattern's last byte tells the offset in twelfths of a cell.
TEST_F(Shutter, FactoryStoresEachPositionsFrame) {
  Checked(217);
  SetCamera(camera.get());
  EXPECT_EQ(KQ_CaptureImage_Factory(8, 4, 24, 12, 4, &settings), 1);
  struct Case {
    LONG block;
    BYTE tag;
  } cases[] = {{0, 0x00}, {1, 0x06}, {6, 0x60}, {7, 0x66}};
  for (const Case& c : cases) {
    ASSERT_GT(camera->m_LineRows[c.block].size(), 2u) << c.block;
    const BYTE* row = camera->m_LineRows[c.block][1];
    EXPECT_EQ(row[3], c.tag) << c.block;
    EXPECT_EQ(row[1], 8 / 2) << c.block;  // the window's first cell column
  }
  const auto trail = ActuatorTrail();
  ASSERT_FALSE(trail.empty());
  EXPECT_EQ(trail.back(), (std::pair<int, int>{0, 0}));
  SetCamera(nullptr);
}

TEST_F(Shutter, MemoryShotFillsTheFirstStore) {
  Checked(217);
  SetCamera(camera.get());
  CTrueImage image;
  image.SetFormat(16, 8, 3);
  image.CreateDIB();
  EXPECT_EQ(KQ_MemoryShot(nullptr, &image, {8, 4, 24, 12}, &settings), 1);
  for (LONG L = 0; L < 4; ++L) {
    uint32_t word;
    std::memcpy(&word, camera->m_LineRows[0][size_t(L)] + 4, 4);
    EXPECT_EQ(word & 0xFFFF, PatternScene::PatternCell(0, 0) | uint32_t(L + 2) | uint32_t(5) << 8) << L;
  }
  EXPECT_EQ(camera->m_LastRect.top, 4);
  SetCamera(nullptr);
}

TEST_F(Shutter, PictureFromCallersLines) {
  Checked(217);
  settings.TranMode = 2;
  CTrueImage image;
  image.SetFormat(16, 8, 3);
  image.CreateDIB();
  // Cells of green 100, blue 50, red 200, as 16-bit samples.
  std::vector<WORD> lines(16 * 4);
  for (size_t i = 0; i < lines.size(); i += 2) lines[i] = 100 | 50 << 8, lines[i + 1] = 200 | 100 << 8;
  EXPECT_EQ(camera->ImageFromBuffer(lines.data(), &image, {0, 0, 16, 8}), 1);
  const LONG stride = RowStride(16, 3);
  const BYTE* px = image.m_pBits + 4 * stride + 3 * 8;
  // (50, 100, 200) through the chroma step of the newer boards.
  EXPECT_EQ(px[0], 50 - 50 / 4);
  EXPECT_EQ(px[1], 100 - 50 / 8);
  EXPECT_EQ(px[2], 200 + 100 / 4);
  // Taller than the store: the lines past it are left out, nothing outside is written.
  CTrueImage tall;
  tall.SetFormat(16, 2000, 3);
  tall.CreateDIB();
  std::vector<WORD> many(16 * 1000, 0x8080);
  EXPECT_EQ(camera->ImageFromBuffer(many.data(), &tall, {0, 0, 16, 2000}), 1);
}

// The port-probed board of older systems: the frame comes word by word through its data
// port into the line store, and the planes make the picture.
TEST_F(Shutter, PortBoardPictureResemblesTheScene) {
  Board(217, {{"PLATFORM", "9x"}, {"BOARD_COUNT", "0"}, {"BOARD_PORT_BOARDS", "1"}, {"BOARD_SCENE", "chart"},
              {"BOARD_NOISE", "0"}});
  EXPECT_EQ(camera->CheckCameraPower(), FALSE);  // it carries no configured camera
  ASSERT_EQ(settings.bPCI, 0u);
  settings.Mode |= kModeSimulate;
  // The model's geometry as the camera control would set it up.
  CameraGeometry& g = Geometry();
  g.SubType = 6, g.FrameWidth = 1280, g.FrameHeight = 1024, g.MaxWidth = 3840, g.MaxHeight = 3072;
  g.LineBytes = 2584, g.LineCount = 516, g.PortWindowOffset = 2;
  ASSERT_EQ(camera->AllocLineStore(), TRUE);
  camera->LoadShiftTables(true);
  const RECT sensor{480, 0, 800, 160};
  for (LONG tranMode : {2, 1, 5}) {
    settings.TranMode = tranMode;
    const double k = Scale(tranMode);
    RECT rect = PictureRect(sensor, k);
    const RECT wanted = rect;
    CTrueImage image;
    ASSERT_EQ(FormatImage(&image, rect, settings), 1);
    ASSERT_TRUE(image.CreateDIB());
    EXPECT_GT(camera->CaptureImage(&image, wanted), 0) << tranMode;
    EXPECT_GT(Resemblance(image, sensor, k), 0.9) << tranMode;
  }
}

// Live frames follow each other at the board's pace: the next frame exposes while this one
// is read out and the caller works on it, so at 1/12 s each frame after the first comes one
// frame period later and shows the chart. A still starts its own exposure and takes longer.
TEST_F(Shutter, LiveFramesComeAtTheBoardsPace) {
  CCameraCtrl& cam = Chart(217);
  settings.TranMode = 1;
  settings.ExpMode = 1, settings.ExpParam = 1068;
  cam.SetExposure(settings.ExpParam, settings.ExpMode);
  const double periodUs = 1068 / 2 * 4.0 * 1790 / 46.0;
  auto periodsPerFrame = [&](LONG purpose, int frames) {
    CTrueImage image;
    image.m_nReserved = purpose;
    const RECT rect{0, 0, 640, 512};
    EXPECT_GT(cam.OnShutter(&image, rect, 0), 0);  // the first frame waits for the sensor
    const int64_t start = plat::clock::NowMicros();
    for (int i = 0; i < frames; ++i) {
      plat::clock::Advance(30000);  // the caller's work on the frame before
      EXPECT_GT(cam.OnShutter(&image, rect, 0), 0) << purpose << " " << i;
    }
    EXPECT_GT(Resemblance(image, {0, 0, 1280, 1024}, 0.5), 0.9) << purpose;
    return double(plat::clock::NowMicros() - start) / periodUs / frames;
  };
  EXPECT_NEAR(periodsPerFrame(0, 6), 1.0, 0.1);
  EXPECT_GT(periodsPerFrame(10, 2), 1.9);
}
