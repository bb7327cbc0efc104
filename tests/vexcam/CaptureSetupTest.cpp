#include "CaptureFormat.h"
#include "VexcamFixture.h"

namespace {

class CaptureSetup : public VexcamTest {};

struct WindowCase {
  const char* what;
  LONG tranMode;
  double zoom;
  DWORD mode;
  RECT rect;
  LONG top;  // the readout window's first line; -1: the window is left as it was
};

// The sensor window follows the transfer mode's scale and the rows the readout needs
// around the picture.
TEST_F(CaptureSetup, ProgramsTheSensorWindowOfTheMode) {
  CCameraCtrl& cam = MakeCamera();
  const WindowCase cases[] = {
      {"single frame", 0, 1.0, 0, {0, 100, 64, 164}, 100},
      {"half size doubles", 1, 1.0, 0, {0, 100, 64, 164}, 200},
      {"mode 2 at half zoom doubles", 2, 0.5, 0, {0, 100, 64, 164}, 200},
      {"4 positions", 3, 1.0, 0, {0, 100, 64, 164}, 100},
      {"16 positions halve", 4, 1.0, 0, {0, 100, 64, 164}, 48},
      {"9 positions a third", 5, 1.0, 0, {0, 300, 64, 364}, 98},
      {"36 positions", 6, 1.0, 0, {0, 300, 64, 364}, 98},
      {"36 positions raw: not programmed", 6, 1.0, 0x8000, {0, 300, 64, 364}, -1},
      {"9 positions raw", 5, 1.0, 0x8000, {0, 300, 64, 364}, 100},
  };
  for (const auto& c : cases) {
    settings = DefaultSettings();
    settings.TranMode = c.tranMode;
    settings.zoom = c.zoom;
    settings.Mode = c.mode;
    cam.m_WindowTop = -1;
    CTrueImage image;
    EXPECT_EQ(cam.SetupCapture(&image, c.rect, false), 0) << c.what;  // no board: stops after the window
    EXPECT_EQ(cam.m_WindowTop, c.top) << c.what;
    EXPECT_EQ(cam.m_LastRect.bottom, c.rect.bottom) << c.what;
  }
}

TEST_F(CaptureSetup, ScalesTheImageOfRawCaptures) {
  CCameraCtrl& cam = MakeCamera();
  const std::pair<LONG, double> cases[] = {{4, 0.5}, {5, 1.0 / 3.0}, {0, 1.0}};
  for (auto [mode, zoom] : cases) {
    settings = DefaultSettings();
    settings.TranMode = mode;
    settings.Mode = 0x8000;
    CTrueImage image;
    cam.SetupCapture(&image, RECT{0, 0, 30, 30}, false);
    EXPECT_DOUBLE_EQ(image.m_dZoom, zoom) << mode;
  }
}

// A rectangle outside the frame is refused before the image or the board is touched.
TEST_F(CaptureSetup, RefusesRectanglesOutsideTheFrame) {
  CCameraCtrl& cam = MakeCamera();
  settings.TranMode = 0;
  cam.m_WindowTop = 77;
  CTrueImage image;
  EXPECT_EQ(cam.SetupCapture(&image, RECT{1000, 0, 1400, 10}, true), -2);
  EXPECT_EQ(cam.m_WindowTop, 77);
  EXPECT_EQ(image.m_pBits, nullptr);
  EXPECT_EQ(image.m_nWidth, 0);
}

TEST_F(CaptureSetup, WhiteBalanceMakesThePixels) {
  CCameraCtrl& cam = MakeCamera();
  settings.TranMode = 0;
  CTrueImage image;
  EXPECT_EQ(cam.SetupCapture(&image, RECT{0, 0, 16, 8}, true), 0);
  EXPECT_NE(image.m_pBits, nullptr);
  EXPECT_EQ(image.m_nStride, 48);
}

}  // namespace
