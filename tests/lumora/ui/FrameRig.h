// The main frame as the program makes it: the application object starts through the
// document template with a temporary INI (/i), on the headless screen with the simulated
// camera; the composition of the frame can be changed before the start and comes back
// after the test.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Config.h"
#include "Faults.h"
#include "FrameRecorder.h"
#include "board/BoardTestApi.h"
#include "control/VexApp.h"
#include "control/VexDoc.h"
#include "ui/MainFrame.h"
#include "user/Responder.h"

class FrameRig : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::user::responder::Reset();
    // A modal dialog no test expects would wait for ever: it fails the test and is ended.
    plat::user::responder::OnUnscriptedDialog([](const plat::user::responder::Shown& shown) {
      char code[64] = {};
      GetDlgItemTextA(shown.hwnd, 1143, code, sizeof code);
      ADD_FAILURE() << "unexpected dialog \"" << shown.caption << "\" " << code;
      EndDialog(shown.hwnd, IDCANCEL);
      return 0;
    });
    TheSettingSources() = VexSettingSources{};
    CreateDirectoryA("C:\\Frame", nullptr);
    saved_ = CMainFrame::Classes();
    plat::board::Reset();
  }
  void TearDown() override {
    recorder.reset();
    if (app && app->m_pMainWnd) app->m_pMainWnd->DestroyWindow();
    app.reset();
    CMainFrame::Classes() = saved_;
    plat::faults::DisarmAll();
    for (auto& k : keys_) plat::config::Set(k, std::nullopt);
    plat::board::Reset();
    plat::user::responder::Reset();
    TheSettingSources() = VexSettingSources{};
  }
  // A stand-in setting (without the LUMORA_ prefix), undone after the test.
  void Set(const std::string& key, const std::string& value) {
    plat::config::Set(key, value);
    keys_.push_back(key);
    plat::board::Reset();
  }
  // Starts the application; the frame and its document are then at hand.
  bool Start(const char* commandLine = "/i C:\\Frame\\frame.ini") {
    app = std::make_unique<CVexApp>();
    std::string line = commandLine;
    app->SetStartupInfo(nullptr, line.data(), SW_SHOW);
    if (!app->InitInstance()) return false;
    frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
    doc = frame ? dynamic_cast<CVexDoc*>(frame->GetActiveDocument()) : nullptr;
    return frame && doc;
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  // Handles messages until `done` holds (at most `seconds`); answers whether it held.
  static bool PumpUntil(const std::function<bool()>& done, int seconds = 30) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      Pump();
      Sleep(1);
    }
    return true;
  }
  // The next error box is answered with OK; its code line is kept in `errors`.
  void AnswerErrorBox() {
    plat::user::responder::Push([this](const plat::user::responder::Shown& shown) {
      char code[64] = {};
      GetDlgItemTextA(shown.hwnd, 1143, code, sizeof code);
      errors.push_back(code);
      SendMessageA(shown.hwnd, WM_COMMAND, IDOK, 0);
      return 0;
    });
  }

  std::unique_ptr<CVexApp> app;
  CMainFrame* frame = nullptr;
  CVexDoc* doc = nullptr;
  std::unique_ptr<FrameRecorder> recorder;
  std::vector<std::string> errors;

 private:
  CMainFrame::Composition saved_;
  std::vector<std::string> keys_;
};
