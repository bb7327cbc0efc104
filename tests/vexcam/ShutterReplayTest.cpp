#include <gtest/gtest.h>

#include "StillCapture.h"
#include "VexcamApi.h"

class ShutterReplay : public StillCaptureTest {
 protected:
  void TearDown() override {
    SetCamera(nullptr);
    StillCaptureTest::TearDown();
  }
};

// The program's input stage takes a still with the document's default settings: nine
// positions of the pixel shift into a 3840 x 3072 picture.
TEST_F(ShutterReplay, DefaultDocumentShotShowsTheScene) {
  Board(217, {{"BOARD_SCENE", "chart"}, {"BOARD_NOISE", "0"}});
  SetCamera(camera.get());
  ASSERT_EQ(settings.TranMode, 5);

  int power = 0;
  for (int tries = 0; tries < 5 && power != 1; ++tries) {
    power = KQ_CheckCameraPower(&settings);
    if (power != 1) Sleep(1000);
  }
  ASSERT_EQ(power, 1);
  KQ_SetExposure(&settings);
  Sleep(100);
  KQ_SetCDSGain(nullptr, &settings);
  Sleep(100);

  CTrueImage image;
  const RECT whole{};
  ASSERT_GT(KQ_GetMallocSize(&image, whole, &settings), 0);
  ASSERT_TRUE(image.CreateDIB());
  ASSERT_EQ(KQ_CheckCameraPower(&settings), 1);
  const int shot = KQ_OnShutter(&image, whole, 0, &settings);
  EXPECT_GT(shot, 0);
  EXPECT_EQ(settings.bAbort, 0u);
  ASSERT_EQ(image.m_nWidth, 3840);
  ASSERT_EQ(image.m_nHeight, 3072);
  ASSERT_NE(image.m_pBits, nullptr);
  EXPECT_GT(Resemblance(image, {0, 0, 1280, 1024}, 3.0), 0.9);
  // The exports keep nothing of the caller's once they return.
  EXPECT_EQ(camera->m_pImage, nullptr);
  EXPECT_FALSE(HaveSettings());
}
