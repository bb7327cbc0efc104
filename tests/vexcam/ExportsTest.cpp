#include <thread>

#include "CaptureFormat.h"
#include "VexcamApi.h"
#include "VexcamFixture.h"

namespace {

struct SizeCase {
  const char* what;
  RECT rect;
  LONG tranMode;
  double zoom;
  DWORD mode;
  LONG width, height, stride;
  int bytes;
};

// Sizes, strides and pixel bytes of the picture a capture rectangle asks for.
TEST(MallocSize, FormatsThePictureAndRoundsToPages) {
  const SizeCase cases[] = {
      {"full sensor", {0, 0, 1280, 1024}, 0, 1.0, 0, 1280, 1024, 3840, 3936256},
      {"one pixel", {5, 5, 6, 6}, 0, 1.0, 0, 1, 1, 4, 4096},
      {"odd width", {0, 0, 641, 480}, 0, 1.0, 0, 641, 480, 1924, 925696},
      {"turned", {0, 0, 640, 480}, 0, 1.0, 0x10, 480, 640, 1440, 925696},
      {"empty: mode 0", {0, 0, 0, 0}, 0, 1.0, 0, 1280, 1024, 3840, 3936256},
      {"empty: mode 0 at half zoom", {0, 0, 0, 0}, 0, 0.5, 0, 640, 512, 1920, 987136},
      {"empty: mode 1 at half zoom", {0, 0, 0, 0}, 1, 0.5, 0, 320, 256, 960, 249856},
      {"empty: mode 4", {0, 0, 0, 0}, 4, 0.5, 0, 2560, 2048, 7680, 15732736},
      {"empty: mode 5", {0, 0, 0, 0}, 5, 1.0, 0, 3840, 3072, 11520, 35393536},
      {"inverted counts as empty", {10, 10, 5, 5}, 1, 1.0, 0, 640, 512, 1920, 987136},
  };
  for (const auto& c : cases) {
    tCameraSettings s = DefaultSettings();
    s.TranMode = c.tranMode;
    s.zoom = c.zoom;
    s.Mode = c.mode;
    CTrueImage image;
    EXPECT_EQ(KQ_GetMallocSize(&image, c.rect, &s), c.bytes) << c.what;
    EXPECT_EQ(image.m_nWidth, c.width) << c.what;
    EXPECT_EQ(image.m_nHeight, c.height) << c.what;
    EXPECT_EQ(image.m_nStride, c.stride) << c.what;
    EXPECT_EQ(image.m_pInfo->bmiHeader.biBitCount, 24) << c.what;
  }
}

// A rectangle reaching past the frame would make the readout write past the picture.
TEST(MallocSize, RefusesRectanglesOutsideTheFrame) {
  const RECT outside[] = {{-1, 0, 100, 100}, {0, -2, 100, 100}, {0, 0, 1281, 10}, {1200, 1000, 1300, 1025}};
  for (const RECT& r : outside) {
    tCameraSettings s = DefaultSettings();
    s.TranMode = 0;
    CTrueImage image;
    EXPECT_EQ(KQ_GetMallocSize(&image, r, &s), -2) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    EXPECT_EQ(image.m_nWidth, 0);
  }
}

TEST(MallocSize, KnowsTheFullFrameOfEachModel) {
  const std::pair<LONG, SIZE> models[] = {{0xA6F, {1280, 1024}}, {0x86F, {1024, 768}}, {0x56F, {640, 480}}};
  for (auto [ver, size] : models) {
    tCameraSettings s = DefaultSettings();
    s.CameraVer = ver;
    s.TranMode = 0;
    EXPECT_EQ(FullFrame(s).cx, size.cx);
    EXPECT_EQ(FullFrame(s).cy, size.cy);
  }
}

TEST(ShiftFactor, FollowsTheTransferMode) {
  const LONG want[] = {1, 1, 1, 2, 4, 3, 6, 6, 1};
  for (LONG mode = 0; mode < 9; ++mode) EXPECT_EQ(ShiftFactor(mode), want[mode]) << mode;
}

// Before start-up (no camera object) the exports answer without touching anything.
TEST(Exports, AnswerWithoutACameraObject) {
  ASSERT_EQ(Camera(), nullptr);
  tCameraSettings s = DefaultSettings();
  s.GainLv = 7;
  CTrueImage image;
  EXPECT_EQ(KQ_OnShutter(&image, RECT{}, 0, &s), -1);
  EXPECT_EQ(s.GainLv, 2);  // normalised all the same
  EXPECT_EQ(KQ_CheckCameraPower(&s), 0);
  EXPECT_EQ(KQ_WhiteBalance(&image, RECT{10, 0, 5, 5}, &s), -10);
  EXPECT_EQ(KQ_SetExposure(&s), 1);
  EXPECT_EQ(KQ_GetMallocSize(&image, RECT{0, 0, 2, 2}, nullptr), 0);
}

class ExportTest : public VexcamTest {};

TEST_F(ExportTest, OnShutterRefusesANegativeFlag) {
  SetCamera(&MakeCamera());
  tCameraSettings s = DefaultSettings();
  s.CaptureOptionA = 7;
  CTrueImage image;
  EXPECT_EQ(KQ_OnShutter(&image, RECT{}, -1, &s), -1);
  EXPECT_EQ(camera->m_CaptureOptionA, 0);
  SetCamera(nullptr);
}

TEST_F(ExportTest, CheckStatusHandsOverTheTriggerUnlessHeld) {
  SetCamera(&MakeCamera());
  tCameraSettings s = DefaultSettings();
  s.PCIaddress = 0xE000;
  s.bPCI = 1;
  camera->m_Revision = 217;

  camera->m_TriggerLatch = 1;
  s.TriggerHold = 1;
  KQ_CheckStatus(&s);
  EXPECT_EQ(s.TriggerEvent, 0);
  EXPECT_EQ(camera->m_TriggerLatch.load(), 0);

  plat::board::PulseTrigger(0, 200000);
  s.TriggerHold = 0;
  KQ_CheckStatus(&s);  // reads the status, which latches the pulse
  EXPECT_EQ(s.TriggerEvent, 0);
  KQ_CheckStatus(&s);
  EXPECT_EQ(s.TriggerEvent, 1);
  SetCamera(nullptr);
}

// The trigger poll calls the library on its own thread while a capture on another is
// inside an export: the poll's export neither takes nor drops the capture's block and
// picture, and a pulse latched by the capture's status read goes to the poll.
TEST_F(ExportTest, AnExportOnAnotherThreadLeavesThisThreadsBlockAndPicture) {
  SetCamera(&MakeCamera());
  camera->m_Revision = 217;
  tCameraSettings capture = DefaultSettings();
  capture.PCIaddress = 0xE000;
  capture.bPCI = 1;
  CTrueImage picture;
  // As a capture's export does on entry.
  UseSettings(&capture);
  camera->m_pImage = &picture;

  plat::board::PulseTrigger(0, 200000);
  camera->ReadCameraStatus();  // the capture's own status read latches the pulse

  tCameraSettings poll = DefaultSettings();
  poll.PCIaddress = 0xE000;
  poll.bPCI = 1;
  CTrueImage* pollSees = &picture;
  const tCameraSettings* pollBlock = nullptr;
  std::thread([&] {
    pollSees = camera->m_pImage;
    KQ_CheckStatus(&poll);
    pollBlock = HaveSettings() ? &Settings() : nullptr;
  }).join();

  EXPECT_EQ(&Settings(), &capture) << "the capture still works on its caller's block";
  EXPECT_EQ(camera->m_pImage, &picture) << "and fills its caller's picture";
  EXPECT_EQ(pollSees, nullptr) << "the poll's thread never saw the capture's picture";
  EXPECT_EQ(pollBlock, nullptr) << "the poll's export forgot its block on the way out";
  EXPECT_EQ(poll.TriggerEvent, 1) << "the pulse went to the poll";
  EXPECT_EQ(capture.TriggerEvent, 0);
  camera->m_pImage = nullptr;
  SetCamera(nullptr);
}

TEST_F(ExportTest, SetCDSGainCopiesTheBlackLevelRow) {
  SetCamera(&MakeCamera());
  tCameraSettings s = DefaultSettings();
  s.GainLv = 1;
  s.BB_Lev[1][2] = 99;
  s.CameraVer = 0xA6F;  // bit 2 set: black levels go with the gains
  EXPECT_EQ(KQ_SetCDSGain(nullptr, &s), 1);
  EXPECT_EQ(s.Black_Level[2], 99);
  s.CameraVer = 0xA6B;
  s.BB_Lev[1][2] = 50;
  KQ_SetCDSGain(nullptr, &s);
  EXPECT_EQ(s.Black_Level[2], 99);
  SetCamera(nullptr);
}

}  // namespace
