// A shot on real pictures: stage doubles that work through imaging controls, the row
// run on a worker thread as the main frame runs it, the exposure progress thread
// running during the capture, and the picture ending in the shoot slot.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "FlowDoubles.h"
#include "TestEnv.h"
#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "control/VexFlowControl.h"
#include "imaging/ImageStore.h"

namespace {

using namespace flowdoubles;

const std::string kPicture = "Z:" + testenv::DataPath("board/halves.jpg");

TEST(FlowRun, ShotOnAWorkerThreadEndsInTheShootSlot) {
  AfxEnableControlContainer();
  TheSettingSources() = VexSettingSources{};
  CVexDoc doc;
  doc.m_bAutoDelete = FALSE;
  doc.SetShadingOption(1);
  // A one-second exposure on a new board, so the progress thread computes a percentage.
  doc.m_camera.BoardRevision = 217;
  doc.m_camera.ExpMode = 2;
  doc.m_camera.ExpParam = 12;
  doc.SetProgressKind(1);

  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
  auto& buffers = *new CVexBufferControl;  // a view frees itself with its window
  ASSERT_TRUE(buffers.Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &host, CVexBufferControl::kWindowId));
  ASSERT_TRUE(buffers.CreateImageControls(CRect(0, 0, 32, 32)));
  CLead cameraLead, shadingLead, checker;
  for (CLead* lead : {&cameraLead, &shadingLead, &checker})
    ASSERT_TRUE(lead->CreateControl("", 0, CRect(0, 0, 8, 8), &host, 0));

  Log log;
  ProgressWindow progress;
  std::atomic<int> percentSeen{0};
  Camera camera(&log, "0");
  camera.onInput = [&](SHORT slot) -> SHORT {
    // The exposure runs: wait until the progress thread has moved the bar.
    while (doc.GetProgress(0) == 0) Sleep(1);
    percentSeen = doc.GetProgress(0);
    if (cameraLead.LoadFile(kPicture.c_str(), 0, 0, -1) != 0) return 0;
    return buffers.SetBuffer(slot, cameraLead.GetBitmap());
  };
  ProcessStage shading(&log, 105);
  shading.onProcess = [&](SHORT source, SHORT destination) -> SHORT {
    shadingLead.SetBitmap(buffers.GetBuffer(source));
    if (shadingLead.Negative() != 0) return 0;
    return buffers.SetBuffer(destination, shadingLead.GetBitmap());
  };
  Pane left(&log, 300), right(&log, 301);
  left.onOutput = [&](SHORT slot) { return buffers.SetSecondBitmap(buffers.GetBuffer(slot)); };

  CVexFlowControl flow;
  doc.AddView(&flow);
  flow.SetBufferControl(&buffers);
  flow.SetInput(0, &camera);
  flow.SetProcess(105, &shading);
  flow.SetOutput(300, &left);
  flow.SetOutput(301, &right);
  flow.SetProgressWindow(&progress);
  ASSERT_EQ(flow.BuildFlows(), 1);

  std::atomic<int> result{-1};
  std::thread worker([&] { result = flow.RunShootFlow(); });
  while (result == -1) {  // the user-interface thread keeps its messages moving
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(1);
  }
  worker.join();

  ASSERT_EQ(result, 1);
  EXPECT_EQ(Join(log), "0:2 105:2,2 300:2 300.clear");
  EXPECT_GT(percentSeen, 0);
  EXPECT_GT(progress.updates, 0);
  EXPECT_EQ(doc.GetProgress(0), 0);  // reset when the exposure ended
  EXPECT_EQ(doc.GetImageState(), 1);
  EXPECT_EQ(doc.IsShotDone(), 1);

  // The shoot slot holds the negative of the camera's picture; the pane shows it.
  const LONG shot = buffers.GetBuffer(flow.GetShootBufferIndex());
  ASSERT_NE(shot, 0);
  EXPECT_EQ(buffers.GetSecondBitmap(), shot);
  ASSERT_EQ(checker.LoadFile(kPicture.c_str(), 0, 0, -1), 0);
  const LONG before[2] = {checker.GetPixel(1, 1), checker.GetPixel(6, 6)};
  checker.SetBitmap(shot);
  EXPECT_EQ(checker.GetImageWidth(), 8.0f);
  for (int i = 0; i < 2; ++i) {
    const LONG after = checker.GetPixel(i ? 6.0f : 1.0f, i ? 6.0f : 1.0f);
    EXPECT_EQ(after, static_cast<LONG>(0xFFFFFF & ~before[i])) << i;
  }
  EXPECT_EQ(buffers.GetBuffer(flow.GetLiveBufferIndex()), 0);

  doc.RemoveView(&flow);
  buffers.DestroyWindow();
  host.DestroyWindow();
}

TEST(FlowRun, PrepareBufferMakesTheCaptureSize) {
  AfxEnableControlContainer();
  TheSettingSources() = VexSettingSources{};
  CVexDoc doc;
  doc.m_bAutoDelete = FALSE;
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
  auto& buffers = *new CVexBufferControl;
  ASSERT_TRUE(buffers.Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &host, CVexBufferControl::kWindowId));
  ASSERT_TRUE(buffers.CreateImageControls(CRect(0, 0, 32, 32)));
  CVexFlowControl flow;
  doc.AddView(&flow);
  flow.SetBufferControl(&buffers);
  ASSERT_EQ(doc.SetShootResolution(13, 1, 2), 1);
  const struct {
    int live;
    SHORT rotation;
    float width, height;
  } cases[] = {{0, 0, 640, 480}, {1, 0, 640, 512}, {0, 1, 480, 640}, {1, 3, 512, 640}};
  for (const auto& c : cases) {
    ASSERT_EQ(doc.SetRotation(c.rotation), 1);
    ASSERT_EQ(flow.PrepareBuffer(4, c.live), 1);
    const auto made = plat::imaging::ImageStore::Instance().Find(DWORD(buffers.GetBuffer(4)));
    ASSERT_TRUE(made) << c.live << " " << c.rotation;
    EXPECT_EQ(made->Width(), c.width) << c.live << " " << c.rotation;
    EXPECT_EQ(made->Height(), c.height);
  }
  EXPECT_EQ(doc.GetLastErrorValue(), 0);
  EXPECT_EQ(flow.PrepareBuffer(8, 0), 0);  // no such slot: recorded as a failed creation
  EXPECT_EQ(doc.GetLastErrorType(), 1);
  doc.RemoveView(&flow);
  buffers.DestroyWindow();
  host.DestroyWindow();
}

}  // namespace
