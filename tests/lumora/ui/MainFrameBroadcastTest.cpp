// The update broadcast and the worker threads, on a frame whose objects are recording
// doubles put into the frame's composition table: each target hears its own bit in the
// table's order, live view stops and starts around it, and the threads' faults stay
// mended (a live error, a run that starts and ends between two looks, a shooting buffer
// that cannot be made, a suspended trigger, a close or quit met while an operation waits).
#include <gtest/gtest.h>

#include <afxext.h>

#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "FrameRig.h"
#include "annotation/dialogs/VexScaleDialog.h"
#include "control/VexFileDelete.h"
#include "control/VexFlowControl.h"
#include "pipeline/input/VexCCDInput.h"
#include "pipeline/input/VexFileInput.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "pipeline/process/VexFocusProcess.h"
#include "pipeline/process/VexNoiseCutProcess.h"
#include "pipeline/process/VexProfileProcess.h"
#include "pipeline/process/VexRGBProcess.h"
#include "pipeline/process/VexResizeProcess.h"
#include "pipeline/process/VexShadingProcess.h"
#include "pipeline/retouch/VexRetouchProcess.h"
#include "ui/VexMainControlView.h"
#include "ui/VexThumbnailView.h"

namespace {

std::vector<std::string> g_heard;  // "name:bit" in the order the targets heard them
void Heard(const char* name, LONG bit) { g_heard.push_back(std::string(name) + ":" + std::to_string(bit)); }

}  // namespace

// Each double notes its bit and then does what the real object does.
#define RECORDING_STAGE(Class, Base, name)                                    \
  class Class : public Base {                                                 \
    DECLARE_DYNCREATE(Class)                                                  \
   public:                                                                    \
    void OnSettingsChanged(LONG flag) override {                              \
      Heard(name, flag);                                                      \
      Base::OnSettingsChanged(flag);                                          \
    }                                                                         \
  };                                                                          \
  IMPLEMENT_DYNCREATE(Class, Base)

RECORDING_STAGE(RecFlow, CVexFlowControl, "flow")
RECORDING_STAGE(RecCamera, CVexCCDInput, "camera")
RECORDING_STAGE(RecFile, CVexFileInput, "file")
RECORDING_STAGE(RecRetouch, CVexRetouchProcess, "retouch")
RECORDING_STAGE(RecProfile, CVexProfileProcess, "profile")
RECORDING_STAGE(RecFocus, CVexFocusProcess, "focus")
RECORDING_STAGE(RecResize, CVexResizeProcess, "resize")
RECORDING_STAGE(RecNoise, CVexNoiseCutProcess, "noise")
RECORDING_STAGE(RecRGB, CVexRGBProcess, "rgb")
RECORDING_STAGE(RecShading, CVexShadingProcess, "shading")
RECORDING_STAGE(RecThumbs, CVexThumbnailView, "thumbs")
// The panel only notes its bits: its reload of every setting has tests of its own.
class RecPanel : public CVexMainControlView {
  DECLARE_DYNCREATE(RecPanel)
 public:
  void OnSettingsChanged(LONG flag) override { Heard("panel", flag); }
};
IMPLEMENT_DYNCREATE(RecPanel, CVexMainControlView)

class RecDelete : public CVexFileDelete {
  DECLARE_DYNCREATE(RecDelete)
 public:
  void OnSettingsChanged(DWORD flag) override { Heard("delete", static_cast<LONG>(flag)); }
};
IMPLEMENT_DYNCREATE(RecDelete, CVexFileDelete)

// The displays say which pane they are.
class RecDisplay : public CVexDisplayOutput {
  DECLARE_DYNCREATE(RecDisplay)
 public:
  int OnSettingsChanged(LONG flag) override {
    CWnd* splitter = GetParent();
    const bool left = splitter && splitter->GetDlgCtrlID() == AFX_IDW_PANE_FIRST;
    Heard(left ? "left" : "right", flag);
    return CVexDisplayOutput::OnSettingsChanged(flag);
  }
};
IMPLEMENT_DYNCREATE(RecDisplay, CVexDisplayOutput)

// A control panel that notes the capture command instead of taking a picture.
class TriggeredPanel : public CVexMainControlView {
  DECLARE_DYNCREATE(TriggeredPanel)
 public:
  static inline int captures = 0;

 protected:
  afx_msg void OnCapture() { ++captures; }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TriggeredPanel, CVexMainControlView)
BEGIN_MESSAGE_MAP(TriggeredPanel, CVexMainControlView)
ON_BN_CLICKED(1038, OnCapture)
END_MESSAGE_MAP()

// Notes on which thread the frame's window enable ran; the panel hands it to the frame
// while the frame is made, before live view starts.
struct EnableWatch : CMainFrame::Observer {
  void OnEnableFrame(BOOL enable) override {
    std::lock_guard<std::mutex> hold(lock);
    calls.emplace_back(std::this_thread::get_id(), enable);
  }
  std::mutex lock;
  std::vector<std::pair<std::thread::id, BOOL>> calls;
};
EnableWatch g_enableWatch;

class WatchedPanel : public CVexMainControlView {
  DECLARE_DYNCREATE(WatchedPanel)
 public:
  void OnInitialUpdate() override {
    CVexMainControlView::OnInitialUpdate();
    if (auto* frame = dynamic_cast<CMainFrame*>(GetParentFrame())) frame->SetObserver(&g_enableWatch);
  }
};
IMPLEMENT_DYNCREATE(WatchedPanel, CVexMainControlView)

namespace {

class MainFrameBroadcast : public FrameRig {
 protected:
  void SetUp() override {
    FrameRig::SetUp();
    g_heard.clear();
    TriggeredPanel::captures = 0;
    CMainFrame::Composition c = CMainFrame::DefaultComposition();
    c.display = RUNTIME_CLASS(RecDisplay);
    c.thumbnails = RUNTIME_CLASS(RecThumbs);
    c.controlView = RUNTIME_CLASS(RecPanel);
    const std::map<UINT, CRuntimeClass*> doubles = {
        {kIdFlowControl, RUNTIME_CLASS(RecFlow)},       {kIdCCDInput, RUNTIME_CLASS(RecCamera)},
        {kIdFileInput, RUNTIME_CLASS(RecFile)},         {kIdFileDelete, RUNTIME_CLASS(RecDelete)},
        {kIdProfileProcess, RUNTIME_CLASS(RecProfile)}, {kIdFocusProcess, RUNTIME_CLASS(RecFocus)},
        {kIdRetouchProcess, RUNTIME_CLASS(RecRetouch)}, {kIdResizeProcess, RUNTIME_CLASS(RecResize)},
        {kIdNoiseCutProcess, RUNTIME_CLASS(RecNoise)},  {kIdRGBProcess, RUNTIME_CLASS(RecRGB)},
        {kIdShadingProcess, RUNTIME_CLASS(RecShading)},
    };
    for (auto& entry : c.objects)
      if (doubles.count(entry.id)) entry.cls = doubles.at(entry.id);
    CMainFrame::Classes() = c;
  }
  // Started, with live view running and the window enabled by its first frame.
  void StartLive() {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PumpUntilEnabled(frame));
    ASSERT_TRUE(PumpUntil([&] { return frame->IsLiveRunning() == 1; }));
    g_heard.clear();
  }
  static std::vector<std::string> Names(std::initializer_list<std::pair<const char*, LONG>> calls) {
    std::vector<std::string> out;
    for (const auto& [name, bit] : calls) out.push_back(std::string(name) + ":" + std::to_string(bit));
    return out;
  }
};

TEST_F(MainFrameBroadcast, EachTargetHearsItsOwnBitInTheTablesOrder) {
  StartLive();
  frame->StopLive();
  g_heard.clear();
  frame->BroadcastUpdate(0x1FFFFF, 0);  // every bit but the scale dialog's
  // Live view is on the right (the document's default), the file and printer outputs
  // are not among these objects.
  EXPECT_EQ(g_heard, Names({{"panel", 0x1},
                            {"flow", 0x2},
                            {"camera", 0x4},
                            {"file", 0x8},
                            {"retouch", 0x10},
                            {"profile", 0x20},
                            {"focus", 0x40},
                            {"resize", 0x80},
                            {"noise", 0x100},
                            {"rgb", 0x200},
                            {"shading", 0x400},
                            {"right", 0x800},
                            {"focus", 0x40},  // the live pane asks for its focus window
                            {"left", 0x1000},
                            {"delete", 0x8000},
                            {"panel", 0x10000},
                            {"thumbs", 0x20000},
                            {"thumbs", 0x40000},
                            {"thumbs", 0x80000},
                            {"thumbs", 0x100000}}));
  EXPECT_EQ(frame->IsLiveRunning(), 0) << "live view stays as it was";

  // With the live window on the left the roles swap.
  doc->SetLiveWindowLeft(1);
  g_heard.clear();
  frame->BroadcastUpdate(0x1800, 0);
  EXPECT_EQ(g_heard, Names({{"left", 0x800}, {"focus", 0x40}, {"right", 0x1000}}));
}

TEST_F(MainFrameBroadcast, AnEmptyBroadcastDuringLiveViewOnlyRestartsIt) {
  StartLive();
  frame->BroadcastUpdate(0, 0);
  // Live view came back: its start re-applies the exposure and the focus window, and
  // nothing else was told anything.
  EXPECT_EQ(g_heard, Names({{"camera", 0x4}, {"focus", 0x40}}));
  EXPECT_EQ(frame->IsLiveRunning(), 1);
  EXPECT_EQ(frame->StartLive(), 0) << "a second start while live view runs";
  EXPECT_EQ(frame->IsLiveRunning(), 1);
}

TEST_F(MainFrameBroadcast, TheScaleDialogHearsOnlyWhileItIsOpen) {
  StartLive();
  frame->StopLive();
  doc->SetResizeSave(1);  // the code is a resized picture's
  g_heard.clear();
  frame->BroadcastUpdate(0x200000, 1);  // nobody to hear it
  EXPECT_TRUE(g_heard.empty());
  frame->OpenScaleTool();
  ASSERT_NE(frame->GetScaleDialog(), nullptr);
  frame->BroadcastUpdate(0x200000, 1);
  EXPECT_EQ(frame->GetScaleDialog()->GetResolutionFactor(), 0.5);
  frame->BroadcastUpdate(0x200000, 2);
  EXPECT_EQ(frame->GetScaleDialog()->GetResolutionFactor(), 0.25);
  frame->CloseScaleTool();
  Pump();
  frame->BroadcastUpdate(0x200000, 0);
  EXPECT_TRUE(g_heard.empty());
}

TEST_F(MainFrameBroadcast, UpdateAllTellsEachObjectOnceInItsOrder) {
  StartLive();
  frame->StopLive();
  g_heard.clear();
  frame->UpdateAll();
  EXPECT_EQ(g_heard, Names({{"thumbs", 0x20000},
                            {"flow", 0x2},
                            {"camera", 0x4},
                            {"file", 0x8},
                            {"retouch", 0x10},
                            {"profile", 0x20},
                            {"focus", 0x40},
                            {"resize", 0x80},
                            {"noise", 0x100},
                            {"rgb", 0x200},
                            {"shading", 0x400},
                            {"left", 0x1000},
                            {"right", 0x800},
                            {"focus", 0x40},
                            {"delete", 0x8000}}));
}

// ---- worker threads

// Runs `body` once from a thread timer, that is inside whatever the frame is pumping.
struct Nested {
  static inline std::function<void()> body;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (body) body();
    body = nullptr;
  }
  static void Arm(std::function<void()> f) {
    body = std::move(f);
    SetTimer(nullptr, 0, 1, &Tick);
  }
};

TEST_F(MainFrameBroadcast, ASecondCaptureWhileOneRunsIsRefusedAtOnce) {
  StartLive();
  frame->StopLive();
  int nested = -1;
  Nested::Arm([&] { nested = frame->CaptureStill(0); });
  EXPECT_EQ(frame->CaptureStill(0), 1);
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(doc->IsShotDone(), 1);
}

TEST_F(MainFrameBroadcast, AShootingBufferThatCannotBeMadeIsAFailedCapture) {
  StartLive();
  frame->StopLive();
  {
    plat::faults::Scope noPicture("imaging.CreateImage", ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(frame->CaptureStill(0), 0);
  }
  EXPECT_EQ(doc->GetLastErrorValue(), 1);
  EXPECT_EQ(doc->GetLastErrorType(), 1);
  EXPECT_EQ(doc->GetLastErrorDetail(), 1);
  EXPECT_EQ(frame->IsCapturing(), 0);
  EXPECT_EQ(frame->CaptureStill(0), 1) << "the next capture is not refused";
}

TEST_F(MainFrameBroadcast, FailedRunsAreNeverWaitedForForever) {
  StartLive();
  frame->StopLive();
  // Without power every shot fails on its first step: each run begins and ends before the
  // waiting side looks twice. Each call still returns.
  plat::board::FaultSet f;
  f.noPower = true;
  plat::board::SetFaults(f);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(frame->CaptureStill(1), 0);
    EXPECT_EQ(frame->IsCapturing(), 0);
  }
  plat::board::SetFaults({});
}

TEST_F(MainFrameBroadcast, LiveViewEndedByAnErrorCanStartAgain) {
  StartLive();
  AnswerErrorBox();
  plat::board::FaultSet f;
  f.noPower = true;
  plat::board::SetFaults(f);
  ASSERT_TRUE(PumpUntil([&] { return frame->IsLiveRunning() == 0; }, 60));
  ASSERT_TRUE(PumpUntil([&] { return !errors.empty(); }, 30));
  EXPECT_EQ(frame->IsLiveOn(), 1) << "the thread ended on its own";
  plat::board::SetFaults({});
  EXPECT_EQ(frame->StartLive(), 1);
  EXPECT_EQ(frame->IsLiveRunning(), 1);
}

TEST_F(MainFrameBroadcast, ATriggerPulseTakesOnePictureUnlessTheFrameCannot) {
  CMainFrame::Classes().controlView = RUNTIME_CLASS(TriggeredPanel);
  ASSERT_TRUE(Start());
  ASSERT_TRUE(PumpUntilEnabled(frame));
  doc->SetExternalTrigger(1);
  frame->StartExternalTrigger();
  ASSERT_EQ(frame->IsTriggerRunning(), 1);
  auto waitMs = [&](int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    PumpUntil([&] { return std::chrono::steady_clock::now() > end; });
  };
  // Short pulses (a poll can miss one) until the panel hears of one; then time for a
  // second, wrong, capture of the same pulse. Answers the captures. A pulse is given time
  // to be taken, however slow a busy machine is, before the next: a second pulse taken
  // would be a second capture.
  auto pulse = [&]() {
    const int before = TriggeredPanel::captures;
    for (int i = 0; i < 20 && TriggeredPanel::captures == before; ++i) {
      plat::board::PulseTrigger();
      const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
      PumpUntil([&] { return TriggeredPanel::captures != before || std::chrono::steady_clock::now() > end; });
    }
    waitMs(600);
    return TriggeredPanel::captures - before;
  };
  // Pulses that the frame must drop.
  auto dropped = [&]() {
    const int before = TriggeredPanel::captures;
    for (int i = 0; i < 8; ++i) {
      plat::board::PulseTrigger();
      waitMs(250);
    }
    return TriggeredPanel::captures - before;
  };
  EXPECT_EQ(pulse(), 1) << "one picture for one pulse";
  frame->SetBusy(TRUE);
  EXPECT_EQ(dropped(), 0) << "busy";
  frame->SetBusy(FALSE);
  doc->SetEnableTimeLapse(1);
  EXPECT_EQ(dropped(), 0) << "time-lapse mode";
  doc->SetEnableTimeLapse(0);
  doc->SetFullScreen(1);
  EXPECT_EQ(dropped(), 0) << "full screen";
  doc->SetFullScreen(0);
  EXPECT_EQ(pulse(), 1) << "a dropped pulse is not taken later";
}

TEST_F(MainFrameBroadcast, SuspendingTheTriggerKeepsTheSetting) {
  ASSERT_TRUE(Start());
  doc->SetExternalTrigger(1);
  frame->StartExternalTrigger();
  ASSERT_EQ(frame->IsTriggerRunning(), 1);
  frame->SuspendTrigger(1);
  EXPECT_EQ(frame->IsTriggerRunning(), 0);
  EXPECT_EQ(doc->GetExternalTrigger(), 1u) << "quitting now saves the trigger as it was";
  frame->ResumeTrigger(1);
  EXPECT_EQ(frame->IsTriggerRunning(), 1);
  // Switched off while suspended: nothing to resume.
  frame->SuspendTrigger(0);
  doc->SetExternalTrigger(0);
  frame->ResumeTrigger(0);
  EXPECT_EQ(frame->IsTriggerRunning(), 0);
  // Polling that was off is not started by a resume.
  frame->SuspendTrigger(1);
  doc->SetExternalTrigger(1);
  frame->ResumeTrigger(1);
  EXPECT_EQ(frame->IsTriggerRunning(), 0);
}

// The panel starts in time-lapse mode before the application starts polling: the start
// leaves polling off until the panel's resume. Full screen shown in time-lapse mode holds it
// off as well until both have resumed.
TEST_F(MainFrameBroadcast, ASuspensionHoldsPollingOffUntilEverySlotHasResumed) {
  ASSERT_TRUE(Start());
  doc->SetExternalTrigger(1);
  frame->SuspendTrigger(1);
  frame->StartExternalTrigger();
  EXPECT_EQ(frame->IsTriggerRunning(), 0) << "suspended before the start";
  frame->ResumeTrigger(1);
  EXPECT_EQ(frame->IsTriggerRunning(), 1) << "the resume starts it";

  frame->SuspendTrigger(1);
  frame->SuspendTrigger(0);
  EXPECT_EQ(frame->IsTriggerRunning(), 0);
  frame->ResumeTrigger(0);
  EXPECT_EQ(frame->IsTriggerRunning(), 0) << "still in time-lapse mode";
  frame->ResumeTrigger(1);
  EXPECT_EQ(frame->IsTriggerRunning(), 1);
  EXPECT_EQ(doc->GetExternalTrigger(), 1u);
}

TEST_F(MainFrameBroadcast, AQuitMetWhileAnOperationWaitsIsHandedOn) {
  StartLive();
  frame->StopLive();
  Nested::Arm([] { PostQuitMessage(5); });
  EXPECT_EQ(frame->CaptureStill(0), 1);  // pumps while the shot runs, and takes the quit
  MSG msg{};
  bool quit = false;
  while (!quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    quit = msg.message == WM_QUIT;
    if (!quit) DispatchMessageA(&msg);
  }
  EXPECT_TRUE(quit) << "the quit is posted again once the capture ended";
  EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(MainFrameBroadcast, ACloseMetWhileAnOperationWaitsWaitsForIt) {
  StartLive();
  frame->StopLive();
  const HWND main = frame->m_hWnd;
  Nested::Arm([main] { SendMessageA(main, WM_CLOSE, 0, 0); });
  EXPECT_EQ(frame->CaptureStill(0), 1);  // its objects outlive the close
  EXPECT_TRUE(IsWindow(main)) << "the close waits for the operation";
  ASSERT_TRUE(PumpUntil([main] { return !IsWindow(main); }));
  app->m_pMainWnd = nullptr;
}

// The control panel's capture road holds the frame busy while it may pump an error
// dialog, with the frame in hand: a close met meanwhile comes once it is done.
TEST_F(MainFrameBroadcast, ACloseMetWhileTheFrameIsBusyComesWhenItEnds) {
  ASSERT_TRUE(Start());
  const HWND main = frame->m_hWnd;
  frame->SetBusy(TRUE);
  frame->SendMessage(WM_CLOSE);
  Pump();
  EXPECT_TRUE(IsWindow(main)) << "the close waits while the frame is busy";
  frame->SetBusy(FALSE);
  ASSERT_TRUE(PumpUntil([main] { return !IsWindow(main); }));
  app->m_pMainWnd = nullptr;
}

TEST_F(MainFrameBroadcast, ASaveMetByACloseEndsBeforeTheObjectsGo) {
  StartLive();
  frame->StopLive();
  ASSERT_EQ(frame->CaptureStill(0), 1);
  DeleteFileA("C:\\Frame\\kept.jpg");
  doc->SetSavePath("C:\\Frame\\kept.jpg", 98, 24, 2);
  const HWND main = frame->m_hWnd;
  Nested::Arm([main] { SendMessageA(main, WM_CLOSE, 0, 0); });
  frame->SaveCurrentImage();  // the close arrives while the save thread writes
  EXPECT_TRUE(IsWindow(main)) << "the close waits for the save";
  EXPECT_EQ(doc->GetLastErrorValue(), 0);
  EXPECT_NE(GetFileAttributesA("C:\\Frame\\kept.jpg"), INVALID_FILE_ATTRIBUTES) << "the save was written whole";
  ASSERT_TRUE(PumpUntil([main] { return !IsWindow(main); }));
  app->m_pMainWnd = nullptr;
}

// The live thread only posts its first frame: the window's enable, its focus and the
// capture release run on the user-interface thread, never under the enable lock on the
// live thread (where they met IsCaptureAllowed from the trigger thread head on).
TEST_F(MainFrameBroadcast, TheFirstLiveFrameEnablesTheWindowOnItsOwnThread) {
  {
    std::lock_guard<std::mutex> hold(g_enableWatch.lock);
    g_enableWatch.calls.clear();
  }
  CMainFrame::Classes().controlView = RUNTIME_CLASS(WatchedPanel);
  ASSERT_TRUE(Start());
  ASSERT_TRUE(PumpUntilEnabled(frame));
  ASSERT_TRUE(PumpUntil([&] { return frame->IsLiveRunning() == 1; }));
  frame->SetObserver(nullptr);
  std::lock_guard<std::mutex> hold(g_enableWatch.lock);
  ASSERT_FALSE(g_enableWatch.calls.empty());
  for (const auto& [thread, enable] : g_enableWatch.calls) EXPECT_EQ(thread, std::this_thread::get_id());
  EXPECT_TRUE(g_enableWatch.calls.back().second);
}

TEST_F(MainFrameBroadcast, AFrameWithAnObjectMissingTouchesOnlyWhatItMade) {
  for (auto& entry : CMainFrame::Classes().objects)
    if (entry.id == kIdShadingProcess) entry.cls = nullptr;
  AnswerErrorBox();
  ASSERT_TRUE(Start());
  EXPECT_EQ(frame->AreObjectsReady(), 0);
  EXPECT_EQ(errors, std::vector<std::string>{"エラーコード: 004:001"}) << "live view cannot start";
  EXPECT_TRUE(frame->IsWindowEnabled()) << "without live view the window is enabled at once";
  int objects = 0;
  for (POSITION pos = doc->GetFirstViewPosition(); pos;) {
    const int id = doc->GetNextView(pos)->GetDlgCtrlID();
    objects += id >= 1124 && id <= 1140 ? 1 : 0;
  }
  EXPECT_EQ(objects, 0) << "nothing was added to the document";
  const HWND main = frame->m_hWnd;
  frame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(IsWindow(main));
  app->m_pMainWnd = nullptr;
}

}  // namespace
