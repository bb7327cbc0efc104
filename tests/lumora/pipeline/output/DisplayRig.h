// The two picture panes as the main window holds them: the application's main frame on
// the headless screen with its status bar (child 59393), the left pane 640 x 512 and the
// right one 320 x 256, each a display output with its imaging control, registered with
// the flow control as steps 300 and 301 beside the stages of the stage rig.
#pragma once
#include <afxcmn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>

#include "../StageRig.h"
#include "BareMainFrame.h"
#include "FrameRecorder.h"
#include "TestEnv.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "ui/MainFrame.h"
#include "user/Responder.h"

// Rectangles and points as the failures show them.
inline void PrintTo(const CRect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace displayrig {

using stagerig::Picture;

class DisplayRig : public stagerig::StageRig {
 protected:
  static constexpr UINT kStatusBar = 59393;
  static constexpr RECT kLeftPane = {0, 0, 640, 512};
  static constexpr RECT kRightPane = {640, 0, 960, 256};

  void SetUp() override {
    StageRig::SetUp();
    if (HasFatalFailure()) return;
    plat::user::responder::Reset();
    // Screenshots for the documentation show the installed fonts.
    if (std::getenv("LUMORA_DISPLAY_SHOTS")) plat::config::Set("FONT", "");
    app = std::make_unique<CWinApp>("Lumora");
    mainFrame = new BareMainFrame;  // a frame frees itself with its window
    CCreateContext context;
    context.m_pCurrentDoc = doc.get();
    ASSERT_TRUE(mainFrame->Create(nullptr, "Lumora", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, CRect(0, 0, 980, 600),
                                  nullptr, nullptr, 0, &context));
    app->m_pMainWnd = mainFrame;
    recorder = std::make_unique<FrameRecorder>(mainFrame);
    ASSERT_TRUE(statusBar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 520, 960, 540), mainFrame, kStatusBar));
    int parts[] = {200, 400, -1};
    statusBar.SetParts(3, parts);
    // Ids of their own: the frame's layout leaves them where they are put.
    paneL = MakePane(kLeftPane, 1);
    paneR = MakePane(kRightPane, 2);
    ASSERT_NE(paneL, nullptr);
    ASSERT_NE(paneR, nullptr);
    flow->SetOutput(300, paneL);
    flow->SetOutput(301, paneR);
    doc->SetLiveWindowLeft(1);
    ASSERT_EQ(flow->BuildFlows(), 1);
    CMainFrame::LiveStages live;
    live.buffers = buffers;
    live.camera = camera;
    live.shading = shading;
    live.rgb = rgb;
    live.liveDisplay = paneL;
    mainFrame->SetLiveStages(live);
    Pump();
  }

  void TearDown() override {
    recorder.reset();
    if (mainFrame && mainFrame->m_hWnd) mainFrame->DestroyWindow();
    mainFrame = nullptr;
    app.reset();
    plat::user::responder::Reset();
    plat::config::Set("FONT", std::nullopt);
    StageRig::TearDown();
  }

  template <class Pane = CVexDisplayOutput>
  Pane* MakePane(const RECT& rect, UINT id) {
    auto* pane = new Pane;
    if (!pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, mainFrame, id)) return nullptr;
    const CRect client(0, 0, rect.right - rect.left, rect.bottom - rect.top);
    EXPECT_TRUE(pane->CreateImagingControl(&client));
    pane->SetBufferControl(buffers);
    pane->SetErrorControl(errors);
    doc->AddView(pane);
    pane->OnInitialUpdate();
    return pane;
  }

  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  // The live pane in mode 2 (3 for the half-size right pane) with the document's
  // overlays loaded, as the update broadcast leaves it.
  void Live(CVexDisplayOutput* pane, SHORT areaType) {
    doc->SetDisplayMode(areaType);
    ASSERT_EQ(pane->SetDisplayMode(pane == paneL ? 2 : 3), 1);
    pane->OnSettingsChanged(0x800);
  }
  // A still pane (mode 0 left, 1 right) with the document's mouse tool.
  void Still(CVexDisplayOutput* pane, SHORT tool) {
    doc->SetLiveDisplayMode(tool);
    ASSERT_EQ(pane->SetDisplayMode(pane == paneL ? 0 : 1), 1);
    pane->OnSettingsChanged(0x1000);
  }

  // The imaging control's events as a user's mouse makes them, in control pixels.
  static void Press(CVexDisplayOutput* pane, LONG x, LONG y, short button = 1) { pane->OnControlMouseDown(button, 0, x, y); }
  static void Move(CVexDisplayOutput* pane, LONG x, LONG y) { pane->OnControlMouseMove(1, 0, x, y); }
  static void Release(CVexDisplayOutput* pane, LONG x, LONG y, short button = 1) { pane->OnControlMouseUp(button, 0, x, y); }

  std::string PaneText(int pane) const { return std::string(statusBar.GetText(pane)); }

  std::unique_ptr<CWinApp> app;
  CMainFrame* mainFrame = nullptr;
  std::unique_ptr<FrameRecorder> recorder;
  CStatusBarCtrl statusBar;
  CVexDisplayOutput* paneL = nullptr;
  CVexDisplayOutput* paneR = nullptr;
};

// Where screenshots go: the folder LUMORA_DISPLAY_SHOTS names (docs/screenshots when
// they are taken for the documentation), else this process's scratch folder.
inline std::string ShotPath(const std::string& name) {
  const char* folder = std::getenv("LUMORA_DISPLAY_SHOTS");
  return (folder && *folder ? std::string(folder) : testenv::ScratchDir()) + "/" + name;
}

}  // namespace displayrig
