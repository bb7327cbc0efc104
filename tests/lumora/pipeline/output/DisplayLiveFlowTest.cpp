// Live view end to end on the headless screen: frames from the simulated board through
// the live flow on a worker thread into the live pane while this thread pumps messages,
// stopped mid-stream again and again; a frozen live view shown again as the overlays
// move; and the screenshots of the panes.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "DisplayRig.h"
#include "binding/CLead.h"
#include "display/Png.h"
#include "display/Screen.h"

namespace {

using displayrig::DisplayRig;
using displayrig::Picture;

// The sanitizer build, many times slower, runs the same paths over fewer frames.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kFrames = 40;
constexpr int kStops = 20;
#else
constexpr int kFrames = 300;
constexpr int kStops = 100;
#endif

class DisplayLiveFlow : public DisplayRig {
 protected:
  void SetUp() override {
    DisplayRig::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(StartCamera(), 0);
    doc->m_nShootWidth = 1920;  // a shooting area of 320 x 256 on the display
    doc->m_nShootHeight = 1536;
    doc->SetShootTargetPoint(LONG(320), LONG(256));
    doc->SetFocusTargetState(1);
    doc->SetFocusTargetDocking(0);
    doc->SetFocusPosition(LONG(400), LONG(200));
    Broadcast(0x2 | 0x40);
  }

  // Live view as the main frame runs it: the live slot made, then the live flow again
  // and again on its own thread until it is told to stop.
  class LiveThread {
   public:
    explicit LiveThread(DisplayLiveFlow& rig) : rig_(rig) {
      thread_ = std::thread([this] {
        running = true;
        while (!stop) {
          if (rig_.flow->RunLiveFlow() != 1 && !stop) ++failures;
          ++frames;
        }
        running = false;
      });
    }
    // Stops it as the main frame does: the stop flag, the camera's abort flag, and
    // messages handled until the thread has ended.
    void Stop() {
      stop = true;
      rig_.doc->SetAbort(1);
      while (running) {
        Pump();
        Sleep(0);
      }
      thread_.join();
      rig_.doc->SetAbort(0);
    }
    std::atomic<bool> stop{false}, running{false};
    std::atomic<int> frames{0}, failures{0};

   private:
    DisplayLiveFlow& rig_;
    std::thread thread_;
  };

  void StartLive(CVexDisplayOutput* pane) {
    doc->SetLiveWindowLeft(pane == paneL ? 1 : 0);
    ASSERT_EQ(flow->BuildFlows(), 1);
    ASSERT_EQ(doc->SetCaptureMode(1), 1);
    ASSERT_EQ(flow->PrepareBuffer(flow->GetLiveBufferIndex(), 1), 1);
    Live(pane, 0);
  }
  // `count` whole frames on the live thread, which then ends by itself.
  void RunFrames(int count) {
    const int failures = RunOnWorker([&] {
      int failed = 0;
      for (int i = 0; i < count; ++i) failed += flow->RunLiveFlow() != 1;
      return failed;
    });
    EXPECT_EQ(failures, 0) << Latched().first << ":" << Latched().second;
    Pump();
  }

  // What the screen shows of a window's client area, B, G, R a pixel, top row first.
  static Picture OnScreen(HWND window) {
    RECT r;
    ::GetClientRect(window, &r);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    RECT got{};
    const auto pixels = plat::display::Screen::Get().Copy(r, &got);
    Picture out;
    out.width = got.right - got.left;
    out.height = got.bottom - got.top;
    for (auto px : pixels) out.bgr.insert(out.bgr.end(), {BYTE(px), BYTE(px >> 8), BYTE(px >> 16)});
    return out;
  }
  static bool SavePane(CWnd* pane, const std::string& name) {
    CRect r;
    pane->GetWindowRect(&r);
    return plat::display::SavePng(displayrig::ShotPath(name), &r);
  }
};

TEST_F(DisplayLiveFlow, FramesFlowFromTheBoardToTheScreenWhileThisThreadPumps) {
  StartLive(paneL);
  RunFrames(kFrames);
  const Picture newest = Slot(flow->GetLiveBufferIndex());
  ASSERT_EQ(newest.width, 640);
  const Picture shown = OnScreen(paneL->GetImagingControl()->m_hWnd);
  ASSERT_EQ(shown.width, 640);
  ASSERT_EQ(shown.height, 512);
  EXPECT_TRUE(shown.bgr == newest.bgr) << "the screen shows the newest frame, overlays and all";
  EXPECT_GT(doc->GetFocusValue(), 0);
  EXPECT_TRUE(SavePane(paneL, "display-live-marks.png"));
}

TEST_F(DisplayLiveFlow, TheHalfSizePaneShowsTheFrameAtHalfSize) {
  StartLive(paneR);
  ASSERT_EQ(paneR->GetDisplayMode(), 3);
  RunFrames(3);
  const Picture shown = OnScreen(paneR->GetImagingControl()->m_hWnd);
  ASSERT_EQ(shown.width, 320);
  ASSERT_EQ(shown.height, 256);
  EXPECT_EQ(paneL->GetDisplayMode(), 0) << "the other pane is the still one";
  EXPECT_TRUE(SavePane(paneR, "display-live-half.png"));
}

TEST_F(DisplayLiveFlow, StoppingLiveViewMidStreamNeverHangs) {
  StartLive(paneL);
  for (int i = 0; i < kStops; ++i) {
    LiveThread live(*this);
    // Stopped while a frame is on its way, after zero to two whole frames.
    while (live.frames < i % 3) {
      Pump();
      Sleep(0);
    }
    live.Stop();
    EXPECT_EQ(live.failures, 0) << i;
  }
  Pump();
  EXPECT_EQ(Slot(flow->GetLiveBufferIndex()).width, 640);
}

TEST_F(DisplayLiveFlow, AFrozenLiveViewShowsAFreshFrameAndItsOverlaysAsTheyMove) {
  StartLive(paneL);
  doc->SetOverlayState(1);
  paneL->OnSettingsChanged(0x800);  // fetches one new frame through the main frame
  ASSERT_EQ(doc->GetLastErrorValue(), 0) << Latched().first << ":" << Latched().second;
  const LONG fresh = buffers->GetThirdBitmap();
  ASSERT_EQ(Read(fresh).width, 640);
  EXPECT_NE(paneL->GetImagingControl()->GetBitmap(), fresh) << "the overlays go on a copy";

  Press(paneL, 400, 200);  // the focus box
  Move(paneL, 200, 300);
  const Picture shown = Read(paneL->GetImagingControl()->GetBitmap());
  auto white = [](const Picture& p, int x, int y) { return p.At(x, y)[0] == 255 && p.At(x, y)[1] == 255; };
  // The box is at (160, 260, 240, 340) now: its left ticks run from x 160 to 190 at row 295.
  bool tick = false;
  for (int y = 293; y <= 297; ++y) tick = tick || white(shown, 175, y);
  EXPECT_TRUE(tick);
  Release(paneL, 200, 300);
  EXPECT_EQ(CPoint(doc->GetFocusPosition()), CPoint(200, 300));
  EXPECT_EQ(doc->GetLastErrorValue(), 0);
}

// A live pane that counts how often its own background is painted.
class CountingPane : public CVexDisplayOutput {
 public:
  void OnDraw(CDC* dc) override {
    ++draws;
    CVexDisplayOutput::OnDraw(dc);
  }
  std::atomic<int> draws{0};
};

TEST_F(DisplayLiveFlow, FramesRepaintThePictureButNotThePanesBackground) {
  auto* pane = MakePane<CountingPane>(RECT{0, 0, 640, 512}, 3);
  ASSERT_NE(pane, nullptr);
  flow->SetOutput(300, pane);
  StartLive(pane);
  Pump();
  const int before = pane->draws;
  RunFrames(10);
  EXPECT_EQ(pane->draws, before);
}

TEST_F(DisplayLiveFlow, OverlaysDraggedWhileFramesFlowStayWhole) {
  StartLive(paneL);
  std::atomic<bool> done{false};
  std::atomic<int> failures{0};
  std::thread live([&] {
    for (int i = 0; i < kFrames / 10; ++i)
      if (flow->RunLiveFlow() != 1) ++failures;
    done = true;
  });
  // The focus box and the shooting area go back and forth under the frames.
  for (int i = 0; !done; ++i) {
    const LONG d = i % 2 ? 60 : -60;
    const CPoint box = paneL->GetFocusBox().CenterPoint();
    Press(paneL, box.x, box.y);
    Move(paneL, box.x + d, box.y + d / 2);
    Release(paneL, box.x + d, box.y + d / 2);
    Pump();
  }
  live.join();
  Pump();
  EXPECT_EQ(failures, 0) << Latched().first << ":" << Latched().second;
  EXPECT_EQ(paneL->GetFocusBox().Size(), CSize(80, 80));
  EXPECT_EQ(paneL->GetShootArea().Size(), CSize(320, 256));
}

TEST_F(DisplayLiveFlow, AShotIsShownInTheStillPaneFromTheCaptureThread) {
  StartLive(paneL);
  ASSERT_EQ(doc->SetShootResolution(13, 1, 2), 1);
  doc->SetAutoSave(0);
  Broadcast(0x2);
  ASSERT_EQ(doc->SetCaptureMode(0), 1);
  ASSERT_EQ(flow->PrepareBuffer(flow->GetShootBufferIndex(), 0), 1);
  const int result = RunOnWorker([&] { return flow->RunShootFlow(); });
  Pump();
  ASSERT_EQ(result, 1) << Latched().first << ":" << Latched().second;
  CLead* still = paneR->GetImagingControl();
  EXPECT_EQ(paneR->GetDisplayMode(), 1);
  EXPECT_EQ(buffers->GetSecondBitmap(), still->GetBitmap());
  EXPECT_EQ(buffers->GetBuffer(flow->GetShootBufferIndex()), still->GetBitmap());
  EXPECT_GT(still->GetImageWidth(), 0);
  EXPECT_FLOAT_EQ(paneR->GetBaseZoom(), still->GetPaintZoom());
}

TEST_F(DisplayLiveFlow, AStillWithItsZoomText) {
  StartLive(paneL);
  RunFrames(1);
  // The live frame becomes a still in the left pane, enlarged.
  ASSERT_EQ(buffers->CopySlot(2, flow->GetLiveBufferIndex()), 0);
  doc->m_nImageState = 1;
  doc->SetLiveWindowLeft(0);
  Still(paneL, 0);
  ASSERT_EQ(paneL->Output(2), 1);
  paneL->ZoomIn();
  ::RedrawWindow(mainFrame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  EXPECT_TRUE(SavePane(paneL, "display-still-zoom.png"));
}

}  // namespace
