// The flow control: rows built from the settings, registration, and how a row runs
// its steps, stops and moves the image state.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FlowDoubles.h"
#include "VirtualClock.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "control/VexFlowControl.h"

namespace {

using namespace flowdoubles;

std::string Row(const CVexFlowControl& flow, SHORT row) {
  std::string text;
  for (SHORT i = 0; i < CVexFlowControl::kRowLength; ++i) {
    const SHORT id = flow.GetFlowStep(row, i);
    text += (i ? " " : "") + std::to_string(id);
    if (id == -1) break;
  }
  return text;
}

class FlowControl : public ::testing::Test {
 protected:
  void SetUp() override {
    TheSettingSources() = VexSettingSources{};
    doc = std::make_unique<CVexDoc>();
    doc->m_bAutoDelete = FALSE;  // the test owns it
    doc->AddView(&flow);
    flow.SetInput(0, &camera);
    flow.SetInput(1, &file);
    for (int i = 0; i < 6; ++i) flow.SetProcess(static_cast<SHORT>(100 + i), &processes[i]);
    flow.SetLiveProcess(200, &focus);
    flow.SetOutput(300, &left);
    flow.SetOutput(301, &right);
    flow.SetOutput(302, &saver);
    flow.SetOutput(303, &printer);
    flow.SetFullScreenOutput(&fullScreen);
    flow.SetThumbnailView(&thumbnails);
    flow.SetProgressWindow(&progress);
    flow.SetSaveProgressWindow(&saving);
  }
  void TearDown() override { doc->RemoveView(&flow); }

  // The workers' pauses (the save spinner's turns, the waits for a worker to stop) pass at once.
  testenv::VirtualClock virtualClock;
  Log log;
  std::unique_ptr<CVexDoc> doc;
  CVexFlowControl flow;
  Camera camera{&log, "0"}, file{&log, "1"};
  ProcessStage processes[6] = {{&log, 100}, {&log, 101}, {&log, 102}, {&log, 103}, {&log, 104}, {&log, 105}};
  LiveProcess focus{&log};
  Pane left{&log, 300}, right{&log, 301};
  OutputStage saver{&log, 302}, printer{&log, 303};
  FullScreen fullScreen{&log};
  Thumbnails thumbnails{&log};
  ProgressWindow progress;
  SaveWindow saving;
};

TEST_F(FlowControl, ShootRowFollowsTheSettings) {
  const struct {
    DWORD shading, rgb, resize, autoSave, liveLeft, longMode, longTime, autoNoise;
    const char* row;
  } cases[] = {
      {1, 0, 0, 0, 0, 0, 1, 0, "0 105 300 -1"},
      {1, 0, 0, 1, 0, 0, 1, 0, "0 105 300 302 -1"},
      {1, 0, 0, 1, 1, 0, 1, 0, "0 105 301 302 -1"},
      {1, 1, 1, 1, 1, 1, 1, 1, "0 103 105 104 101 301 302 -1"},
      {0, 0, 0, 0, 0, 0, 10, 1, "0 300 -1"},       // ten seconds is not a long exposure
      {0, 0, 0, 0, 0, 0, 11, 1, "0 103 300 -1"},
      {0, 0, 0, 0, 0, 0, 11, 0, "0 300 -1"},
  };
  for (const auto& c : cases) {
    doc->SetShadingOption(c.shading);
    doc->SetRGBOption(c.rgb);
    doc->SetResizeSave(c.resize).SetAutoSave(c.autoSave).SetLiveWindowLeft(c.liveLeft).SetLongExposureMode(c.longMode);
    doc->m_nLongExposureTime = c.longTime;
    doc->m_bAutoNoiseReduction = c.autoNoise;
    ASSERT_EQ(flow.BuildFlows(), 1);
    EXPECT_EQ(Row(flow, CVexFlowControl::kShoot), c.row);
  }
}

TEST_F(FlowControl, LiveRowFollowsTheSettings) {
  const struct {
    DWORD focus, shadingLive, shading, rgbLive, profile;
    LONG profileDisplay, wbView, fullScreen;
    DWORD liveLeft;
    const char* row;
    SHORT leftMode, rightMode;
  } cases[] = {
      {1, 1, 1, 1, 1, 1, 0, 0, 0, "0 200 105 104 102 301 -1", 0, 3},
      {1, 1, 0, 0, 0, 1, 0, 0, 1, "0 200 300 -1", 2, 1},  // shading live needs shading too
      {1, 1, 1, 1, 1, 1, 1, 0, 1, "0 300 -1", 2, 1},      // the white-balance view shows the camera only
      {0, 0, 0, 0, 1, 0, 0, 0, 0, "0 301 -1", 0, 3},      // no profile away from the base zoom
      {1, 0, 0, 1, 1, 1, 0, 1, 0, "0 200 104 305 -1", -1, -1},
  };
  for (const auto& c : cases) {
    left.mode = right.mode = -1;
    doc->SetFocusTargetState(c.focus);
    doc->SetShadingLive(c.shadingLive);
    doc->SetShadingOption(c.shading);
    doc->SetRGBLive(c.rgbLive);
    doc->SetImageProfileState(c.profile);
    doc->SetProfileDisplay(c.profileDisplay);
    doc->SetViewState(c.wbView);
    doc->SetFullScreen(c.fullScreen);
    doc->SetLiveWindowLeft(c.liveLeft);
    flow.BuildFlows();
    EXPECT_EQ(Row(flow, CVexFlowControl::kLive), c.row);
    EXPECT_EQ(left.mode, c.leftMode) << c.row;
    EXPECT_EQ(right.mode, c.rightMode) << c.row;
  }
}

TEST_F(FlowControl, OtherRowsAndTheUnbuiltOne) {
  for (DWORD liveLeft : {0u, 1u}) {
    doc->SetLiveWindowLeft(liveLeft);
    flow.OnSettingsChanged(4);  // not the flow control's bit
    EXPECT_EQ(Row(flow, CVexFlowControl::kOpen), liveLeft ? "1 300 -1" : "-1");  // built on the last change only
    flow.OnSettingsChanged(2);
    const std::string still = liveLeft ? "301" : "300";
    EXPECT_EQ(Row(flow, CVexFlowControl::kOpen), "1 " + still + " -1");
    EXPECT_EQ(Row(flow, CVexFlowControl::kRetouch), "100 " + still + " -1");
    EXPECT_EQ(Row(flow, CVexFlowControl::kSave), "302 -1");
    EXPECT_EQ(Row(flow, CVexFlowControl::kPrint), "303 -1");
    EXPECT_EQ(Row(flow, 6), "-1");
  }
}

TEST_F(FlowControl, RegistrationRefusals) {
  const struct {
    const char* call;
    int result;
  } cases[] = {
      {"SetLiveProcess 201", flow.SetLiveProcess(201, &focus)},
      {"SetOutput 304", flow.SetOutput(304, &saver)},
      {"SetOutput 299", flow.SetOutput(299, &saver)},
      {"SetInput 2", flow.SetInput(2, &camera)},
      {"SetInput null", flow.SetInput(0, nullptr)},
      {"SetProcess 106", flow.SetProcess(106, &processes[0])},
      {"SetProcess 99", flow.SetProcess(99, &processes[0])},
      {"SetFlowStep position 10", flow.SetFlowStep(0, 10, 300)},
      {"SetFlowStep position -1", flow.SetFlowStep(0, -1, 300)},
      {"SetFlowStep row 7", flow.SetFlowStep(7, 0, 300)},
  };
  for (const auto& c : cases) EXPECT_EQ(c.result, 0) << c.call;
  EXPECT_EQ(flow.RunFlow(7), 0);
  EXPECT_EQ(flow.RunFlow(-1), 0);
  EXPECT_TRUE(log.empty());
}

TEST_F(FlowControl, ShotRunsEveryStepOnTheShootSlot) {
  doc->SetShadingOption(1);
  doc->SetAutoSave(1);
  flow.BuildFlows();
  ASSERT_EQ(flow.RunShootFlow(), 1);
  EXPECT_EQ(Join(log), "0:2 105:2,2 300:2 302:2 300.clear");
  EXPECT_EQ(progress.begun, std::vector<SHORT>{2});
  EXPECT_EQ(doc->GetImageState(), 2);  // captured, then saved
  EXPECT_EQ(doc->IsShotDone(), 1);
  EXPECT_EQ(left.mode, 0);
  EXPECT_EQ(right.mode, 3);
}

TEST_F(FlowControl, FailingCaptureStopsDisplayAndSave) {
  doc->SetAutoSave(1);
  flow.BuildFlows();
  doc->UpdateImageStatus(3, 0);
  camera.result = 0;
  EXPECT_EQ(flow.RunShootFlow(), 0);
  EXPECT_EQ(Join(log), "0:2");
  EXPECT_EQ(doc->GetImageState(), 3);
  EXPECT_EQ(doc->IsShotDone(), 0);
}

TEST_F(FlowControl, NoiseCutRunsOnlyForLongExposures) {
  doc->SetLongExposureMode(1);
  doc->m_bAutoNoiseReduction = 1;
  flow.BuildFlows();
  ASSERT_EQ(Row(flow, CVexFlowControl::kShoot), "0 103 300 -1");
  doc->SetDirectMode(1);
  const struct {
    SHORT kind, value;
    const char* run;
  } cases[] = {{1, 20, "0:2 300:2"}, {2, 9, "0:2 300:2"}, {2, 10, "0:2 103:2,2"}};
  for (const auto& c : cases) {
    log.clear();
    ASSERT_EQ(doc->SetLiveExposure(c.kind, c.value), 1);
    processes[3].result = 0;  // skipped, it cannot fail the row; run, it stops it
    const int result = flow.RunFlow(CVexFlowControl::kShoot);
    EXPECT_EQ(Join(log), c.run);
    EXPECT_EQ(result, c.value >= 10 && c.kind == 2 ? 0 : 1);
  }
}

TEST_F(FlowControl, SaveMovesTheStateEvenWhenItFails) {
  flow.BuildFlows();
  const struct {
    SHORT before, after;
    SHORT result;
  } cases[] = {{1, 2, 0}, {2, 2, 1}, {3, 4, 0}, {4, 4, 1}, {0, 0, 1}};
  for (const auto& c : cases) {
    doc->UpdateImageStatus(c.before, 0);
    saver.result = c.result;
    EXPECT_EQ(flow.RunSaveFlow(), c.result);
    EXPECT_EQ(doc->GetImageState(), c.after) << c.before;
    EXPECT_EQ(doc->IsShotDone(), c.result);
  }
  EXPECT_FALSE(saving.frames.empty());  // the indicator turned while the file was written
  EXPECT_EQ(saving.frames.front(), 0);
}

TEST_F(FlowControl, DirectModeRunsWithoutProgressAndMarksTheSave) {
  doc->SetAutoSave(1);
  doc->SetDirectMode(1);
  flow.BuildFlows();
  doc->UpdateImageStatus(0, 0);
  SHORT during = -1;
  saver.onOutput = [&](SHORT) {
    during = doc->GetImageState();
    return SHORT{1};
  };
  ASSERT_EQ(flow.RunFlow(CVexFlowControl::kShoot), 1);
  EXPECT_EQ(Join(log), "0:2 300:2 302:2");
  EXPECT_TRUE(progress.begun.empty());
  EXPECT_TRUE(saving.frames.empty());
  EXPECT_EQ(during, 1);
  EXPECT_EQ(doc->GetImageState(), 2);
}

TEST_F(FlowControl, ResizeMarksTheImageResized) {
  doc->SetResizeSave(1);
  doc->SetDirectMode(1);
  flow.BuildFlows();
  for (auto [before, after] : {std::pair<SHORT, SHORT>{1, 2}, {3, 4}}) {
    doc->UpdateImageStatus(before, 0);
    ASSERT_EQ(flow.RunFlow(CVexFlowControl::kShoot), 1);
    EXPECT_EQ(doc->GetImageState(), after);
  }
}

TEST_F(FlowControl, StopRequestEndsTheRowAfterItsStep) {
  doc->SetShadingOption(1);
  doc->SetDirectMode(1);
  flow.BuildFlows();
  // Asked for while nothing runs: not meant for the next row.
  flow.RequestStop();
  ASSERT_EQ(flow.RunFlow(CVexFlowControl::kShoot), 1);
  EXPECT_EQ(Join(log), "0:2 105:2,2 300:2");
  // Asked for by a step: the row ends after it with that step's result.
  log.clear();
  processes[5].onProcess = [&](SHORT, SHORT) {
    flow.RequestStop();
    return SHORT{1};
  };
  EXPECT_EQ(flow.RunFlow(CVexFlowControl::kShoot), 1);
  EXPECT_EQ(Join(log), "0:2 105:2,2");
  log.clear();
  processes[5].onProcess = nullptr;
  EXPECT_EQ(flow.RunFlow(CVexFlowControl::kShoot), 1);  // and the request is gone after it
  EXPECT_EQ(Join(log), "0:2 105:2,2 300:2");
}

TEST_F(FlowControl, RowWithoutEndStopsAtItsLastPosition) {
  for (SHORT i = 0; i < CVexFlowControl::kRowLength; ++i) flow.SetFlowStep(5, i, 303);
  EXPECT_EQ(flow.RunFlow(5), 1);
  EXPECT_EQ(log.size(), 10u);
  log.clear();
  flow.SetFlowStep(5, 0, 999);  // an id outside the table ends the row
  EXPECT_EQ(flow.RunFlow(5), 0);
  EXPECT_TRUE(log.empty());
}

TEST_F(FlowControl, LiveOpenAndRetouchUseTheirSlotsAndTidyThePanes) {
  doc->SetShadingOption(1);
  doc->SetShadingLive(1);
  doc->SetRGBLive(1);
  doc->SetFocusTargetState(0);
  doc->SetImageProfileState(0);
  doc->SetLiveWindowLeft(1);
  flow.BuildFlows();
  EXPECT_EQ(flow.RunLiveFlow(), 1);
  EXPECT_EQ(Join(log), "0:0 105:0,0 104:0,0 300:0");
  log.clear();
  EXPECT_EQ(flow.RunOpenFlow(), 1);
  EXPECT_EQ(Join(log), "1:2 301:2 301.clear 301.reload");
  EXPECT_EQ(doc->GetImageState(), 3);
  log.clear();
  EXPECT_EQ(flow.RunRetouchFlow(), 1);
  EXPECT_EQ(Join(log), "100:2,2 301:2 301.reload");
  log.clear();
  doc->SetFullScreen(1);
  flow.BuildFlows();
  EXPECT_EQ(flow.RunLiveFlow(), 1);
  EXPECT_EQ(Join(log), "0:0 105:0,0 104:0,0 305:0");
}

TEST_F(FlowControl, ThumbnailsLoadIntoTheirSlots) {
  EXPECT_EQ(flow.MakeThumbnail(4), 1);
  EXPECT_EQ(Join(log), "1:7 thumb:4,7");
  log.clear();
  for (SHORT bad : {-1, 5}) EXPECT_EQ(flow.MakeThumbnail(bad), 0);
  file.result = 0;
  EXPECT_EQ(flow.MakeThumbnail(0), 0);
  EXPECT_EQ(Join(log), "1:3");
}

TEST_F(FlowControl, SwapDisplaysExchangesSlotsAndRebuilds) {
  CVexBufferControl buffers;
  flow.SetBufferControl(&buffers);
  doc->SetLiveWindowLeft(0);
  flow.BuildFlows();
  doc->SetLastError(110, 1, 1);
  doc->SetWhiteBalanceRect({1, 2, 3, 4});
  doc->SetLiveWindowLeft(1);  // the new side, as the frame records it
  ASSERT_EQ(flow.SwapDisplays(), 1);
  EXPECT_EQ(flow.GetShootBufferIndex(), 0);
  EXPECT_EQ(flow.GetLiveBufferIndex(), 2);
  EXPECT_EQ(Join(log), "300.store:2,none 301.store:0,none 300.zoom 301.zoom");
  EXPECT_EQ(Row(flow, CVexFlowControl::kOpen), "1 301 -1");
  EXPECT_EQ(left.mode, 2);
  EXPECT_EQ(doc->GetLastErrorValue(), 0);
  EXPECT_FALSE(doc->IsWhiteBalanceRectSet());
}

TEST_F(FlowControl, PrepareBufferRecordsAFailedCreation) {
  CVexBufferControl buffers;  // its imaging controls were never made
  flow.SetBufferControl(&buffers);
  EXPECT_EQ(flow.PrepareBuffer(2, 0), 0);
  EXPECT_EQ(doc->GetLastErrorType(), 1);
  EXPECT_EQ(doc->GetLastErrorDetail(), 1);
  EXPECT_EQ(doc->GetLastErrorValue(), 1);
}

TEST_F(FlowControl, WhiteBalanceRunsUnderTheProgressWindow) {
  camera.onInput = [&](SHORT) {
    while (progress.updates == 0) Sleep(1);  // the progress thread runs meanwhile
    return SHORT{1};
  };
  EXPECT_EQ(flow.RunWithProgress(), 1);
  EXPECT_EQ(Join(log), "wb");
  EXPECT_EQ(progress.begun, std::vector<SHORT>{4});
  EXPECT_EQ(doc->GetProgressKind(), 4);
}

TEST_F(FlowControl, StopButtonSetsTheAbortFlag) {
  progress.pressStop = 1;
  camera.onInput = [&](SHORT) {
    while (doc->GetAbort() == 0) Sleep(1);
    return SHORT{0};  // the camera gives up when aborted
  };
  flow.BuildFlows();
  EXPECT_EQ(flow.RunShootFlow(), 0);
  EXPECT_EQ(doc->GetAbort(), 1);
}

}  // namespace
