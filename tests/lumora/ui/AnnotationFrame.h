// The running program's frame and document with a still display that notes what the
// frame asks of it, for the frame's annotation services and the tool palette.
#pragma once
#include <afxwin.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/VexApp.h"
#include "control/VexDoc.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "FrameRecorder.h"
#include "ui/MainFrame.h"
#include "user/Responder.h"

struct DisplayCalls {
  std::vector<int> modes;  // annotation mode switches, in order
  int abandons = 0;
  std::vector<std::string> scale;  // scale overlay and calibration calls, in order
  int calibrationLength = 0;       // what the last calibration line measured
};

// A pane of the main window. Like every view it frees itself with its window.
class DisplayDouble : public CVexDisplayOutput {
 public:
  explicit DisplayDouble(DisplayCalls& calls) : calls_(calls) {}
  // A child pane of `frame`, made the way the frame makes its panes.
  static DisplayDouble* MakeIn(CFrameWnd& frame, DisplayCalls& calls) {
    auto* view = new DisplayDouble(calls);
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 150), &frame, AFX_IDW_PANE_FIRST + 9))
      return nullptr;  // a view that fails to be made frees itself
    return view;
  }

  int SetDisplayMode(SHORT) override { return 1; }
  void ClearAnnotations() override {}
  void ReloadCurrentImage() override {}
  void StoreImage(SHORT, LONG) override {}
  void ResetZoom() override {}
  void SetAnnotationMode(int on) override { calls_.modes.push_back(on); }
  int AbandonUnfinishedAnnotation() override {
    ++calls_.abandons;
    return 0;
  }
  void SetScaleCache(int fineMode, SHORT bufferSize, int turned) override {
    Note("cache " + std::to_string(fineMode) + "," + std::to_string(bufferSize) + "," + std::to_string(turned));
  }
  void SetScaleEditMode(int on) override { Note("edit " + std::to_string(on)); }
  void UpdateScaleOverlay(int live) override { Note("update " + std::to_string(live)); }
  void PlaceScaleOverlay(int live, int force) override {
    Note("place " + std::to_string(live) + "," + std::to_string(force));
  }
  void BeginCalibration() override { Note("begin"); }
  void ApplyCalibration() override { Note("apply"); }
  int GetCalibrationLength() const override { return calls_.calibrationLength; }

 private:
  void Note(const std::string& call) { calls_.scale.push_back(call); }
  DisplayCalls& calls_;
};

class AnnotationFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::user::responder::Reset();
    char line[] = "";
    app.SetStartupInfo(nullptr, line, SW_SHOW);
    ASSERT_TRUE(app.InitInstance());
    frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    doc = dynamic_cast<CVexDoc*>(frame->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(PumpUntilEnabled(frame)) << "the first live frame enables the window";
    display = DisplayDouble::MakeIn(*frame, calls);
    ASSERT_NE(display, nullptr);
    frame->SetStillDisplay(display);
  }
  void TearDown() override {
    if (app.m_pMainWnd) app.m_pMainWnd->DestroyWindow();
    plat::user::responder::Reset();
  }
  static void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
  // Handles what is waiting, as the program's loop would.
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  CVexApp app;
  CMainFrame* frame = nullptr;
  CVexDoc* doc = nullptr;
  DisplayCalls calls;
  DisplayDouble* display = nullptr;
};
