// The flows of the flow control on the real stages and the simulated camera: a shot
// corrected and resized into the shoot slot, and live view running on a worker thread.
#include <gtest/gtest.h>

#include "StageRig.h"

namespace {

using stagerig::StageRig;

TEST_F(StageRig, ShotWithShadingRgbAndResizeEndsInTheShootSlot) {
  ASSERT_EQ(StartCamera(), 0);
  ASSERT_EQ(doc->SetShootResolution(13, 1, 2), 1);
  doc->SetFineMode(0);
  doc->SetShadingPoint(320, 256);
  doc->SetShadingOption(1);
  doc->SetShadingLevel(60);
  doc->SetRGBOption(1);
  doc->SetRGBRed(3);
  doc->SetResizeSave(1);
  doc->SetResizeSaveSize(1);
  doc->SetAutoSave(0);
  Broadcast(0x2 | 0x200 | 0x400 | 0x80);
  EXPECT_EQ(flow->GetFlowStep(0, 1), 105);
  EXPECT_EQ(flow->GetFlowStep(0, 2), 104);
  EXPECT_EQ(flow->GetFlowStep(0, 3), 101);
  ASSERT_EQ(doc->SetCaptureMode(0), 1);
  ASSERT_EQ(flow->PrepareBuffer(flow->GetShootBufferIndex(), 0), 1);

  const int result = RunOnWorker([&] { return flow->RunShootFlow(); });
  ASSERT_EQ(result, 1) << Latched().first << ":" << Latched().second;
  const stagerig::Picture shot = Slot(2);
  EXPECT_EQ(shot.width, 320);
  EXPECT_EQ(shot.height, 240);
  EXPECT_STREQ(doc->GetImageSizeText(), "320x240");
  EXPECT_EQ(Read(buffers->GetSecondBitmap()).bgr, shot.bgr) << "the still pane shows the shot";
  EXPECT_EQ(left->outputs + right->outputs, 1);
}

// Frames of live view in the test below; the sanitizer build, many times slower, runs
// the same paths over fewer frames.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kLiveFrames = 60;
#else
constexpr int kLiveFrames = 500;
#endif

// Live view on its own thread with every live stage: the pictures the image store keeps
// stay as many after 500 frames as after the first few.
TEST_F(StageRig, LiveViewKeepsThePictureCountFlat) {
  ASSERT_EQ(StartCamera(), 0);
  doc->SetFocusTargetState(1);
  doc->SetFocusPosition(LONG(320), LONG(256));
  doc->SetShadingOption(1);
  doc->SetShadingLive(1);
  doc->SetShadingLevel(80);
  doc->SetRGBLive(1);
  doc->SetRGBGreen(2);
  doc->SetImageProfileState(1);
  doc->SetProfileDisplay(1);
  Broadcast(0x2 | 0x20 | 0x40 | 0x200 | 0x400);
  for (FlowStepId id : {0, 200, 105, 104, 102}) {
    bool found = false;
    for (SHORT i = 0; i < 10; ++i) found = found || flow->GetFlowStep(1, i) == id;
    EXPECT_TRUE(found) << id;
  }
  ASSERT_EQ(doc->SetCaptureMode(1), 1);
  ASSERT_EQ(flow->PrepareBuffer(flow->GetLiveBufferIndex(), 1), 1);

  auto& store = plat::imaging::ImageStore::Instance();
  size_t early = 0;
  const int failures = RunOnWorker([&] {
    int failed = 0;
    for (int frame = 0; frame < kLiveFrames; ++frame) {
      failed += flow->RunLiveFlow() != 1;
      if (frame == 9) early = store.Count();
    }
    return failed;
  });
  EXPECT_EQ(failures, 0) << Latched().first << ":" << Latched().second;
  EXPECT_EQ(store.Count(), early);
  EXPECT_GT(doc->GetFocusValue(), 0);
  EXPECT_EQ(Slot(flow->GetLiveBufferIndex()).width, 640);
}

}  // namespace
