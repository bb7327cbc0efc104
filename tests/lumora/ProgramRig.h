// The whole program in this process on the headless screen with the simulated camera:
// the application object, AfxWinMain with a command line, and a driver that runs on the
// program's own thread (a thread timer) as a user's input would, step by step.
#pragma once
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Config.h"
#include "TestEnv.h"
#include "Xvfb.h"
#include "board/BoardTestApi.h"
#include "control/VexApp.h"
#include "control/VexDoc.h"
#include "display/Png.h"
#include "display/Screen.h"
#include "imaging/ImageStore.h"
#include "control/VexBufferControl.h"
#include "control/VexFlowControl.h"
#include "ui/VexMainControlView.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "ui/MainFrame.h"
#include "user/Driver.h"
#include "user/Responder.h"

namespace programrig {

// A step answers true when it is done; the driver then moves to the next one. A step
// that never finishes ends the run after the time limit.
using Step = std::function<bool()>;

class ProgramRig : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::user::responder::Reset();
    TheSettingSources() = VexSettingSources{};
    if (std::getenv("LUMORA_DISPLAY_SHOTS")) Set("FONT", "");
    CreateDirectoryA("C:\\Run", nullptr);
  }
  void TearDown() override {
    for (auto& k : keys_) plat::config::Set(k, std::nullopt);
    plat::board::Reset();
    plat::user::responder::Reset();
    TheSettingSources() = VexSettingSources{};
  }

  // A stand-in setting (without the LUMORA_ prefix), undone after the test.
  void Set(const std::string& key, const std::string& value) {
    plat::config::Set(key, value);
    keys_.push_back(key);
  }

  // Runs the program with `commandLine` while the driver works through `steps`; answers
  // AfxWinMain's exit code. The last step should close the program.
  int Run(const std::string& commandLine, std::vector<Step> steps, int limitSeconds = 120) {
    plat::board::Reset();
    steps_ = std::move(steps);
    next_ = 0;
    deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(limitSeconds);
    timedOut_ = false;
    current_ = this;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &ProgramRig::Tick);
    CVexApp app;
    app_ = &app;
    std::string line = commandLine;
    const int rc = AfxWinMain(nullptr, nullptr, line.data(), SW_SHOWNORMAL);
    KillTimer(nullptr, timer);
    app_ = nullptr;
    current_ = nullptr;
    return rc;
  }

  bool TimedOut() const { return timedOut_; }
  size_t StepsDone() const { return next_; }

  CMainFrame* Frame() const { return app_ ? dynamic_cast<CMainFrame*>(app_->m_pMainWnd) : nullptr; }
  CVexDoc* Doc() const { return Frame() ? dynamic_cast<CVexDoc*>(Frame()->GetActiveDocument()) : nullptr; }

  // The pixels a window shows on the screen, row by row.
  static std::vector<plat::display::Pixel> Shown(CWnd* wnd, RECT* where = nullptr) {
    RECT r{};
    ::GetWindowRect(wnd->GetSafeHwnd(), &r);
    plat::display::Screen& screen = plat::display::Screen::Get();
    RECT out{};
    auto pixels = screen.Copy(r, &out);
    if (where) *where = out;
    return pixels;
  }
  // How many different values the pixels hold (a plain area holds one or two).
  static size_t Distinct(const std::vector<plat::display::Pixel>& pixels) {
    std::vector<plat::display::Pixel> v(pixels);
    std::sort(v.begin(), v.end());
    return static_cast<size_t>(std::unique(v.begin(), v.end()) - v.begin());
  }
  static std::string ShotPath(const std::string& name) {
    const char* folder = std::getenv("LUMORA_DISPLAY_SHOTS");
    return (folder && *folder ? std::string(folder) : testenv::ScratchDir()) + "/" + name;
  }
  // A step that waits `ms` of real time from the moment it is first reached.
  static Step Wait(int ms) {
    auto start = std::make_shared<std::chrono::steady_clock::time_point>();
    auto begun = std::make_shared<bool>(false);
    return [=] {
      if (!*begun) {
        *begun = true;
        *start = std::chrono::steady_clock::now();
      }
      return std::chrono::steady_clock::now() - *start >= std::chrono::milliseconds(ms);
    };
  }

  // The main window is up, enabled by the first live frame.
  Step Ready() const {
    return [this] { return Frame() && Frame()->IsWindowEnabled() && Frame()->IsLiveRunning(); };
  }
  // Where a user points at a window: its middle, on the screen.
  static POINT Middle(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // A click with the mouse at the middle of a window, once the user can see it there
  // (no splash, menu or other window covers it); false, and no click, until then.
  static bool ClickOn(HWND window) {
    const POINT p = Middle(window);
    if (!::IsWindowVisible(window) || ::WindowFromPoint(p) != window) return false;
    plat::user::driver::Click(p.x, p.y);
    return true;
  }
  // A click on the main window's caption, which gives it the keyboard.
  Step FocusMainWindow() const {
    return [this] {
      RECT r{};
      Frame()->GetWindowRect(&r);
      plat::user::driver::Click(r.left + 200, r.top + 8);
      return true;
    };
  }
  // Keys pressed once the click before them has been handled (keys go where the focus is).
  static Step Keys(UINT vk, unsigned modifiers = plat::user::driver::kNone) {
    return [vk, modifiers] {
      plat::user::driver::PressKey(vk, modifiers);
      return true;
    };
  }
  // A menu command by its keys: Alt with the menu's letter, then the item's letter (both
  // queued at once: the menu's own loop reads the second).
  std::vector<Step> MenuKeys(char menu, char item) const {
    return {FocusMainWindow(), [menu, item] {
              plat::user::driver::PressKey(static_cast<UINT>(menu), plat::user::driver::kAlt);
              plat::user::driver::PressKey(static_cast<UINT>(item));
              return true;
            }};
  }
  // Values of the USER section of an INI file, written before the program reads it.
  static void WriteUser(const char* ini, std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [key, value] : values) WritePrivateProfileStringA("USER", key, value, ini);
  }

  CVexApp* app_ = nullptr;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ProgramRig* rig = current_;
    if (!rig || rig->busy_ || rig->timedOut_) return;
    // A step may pump messages (a capture): the timer must not run the driver inside it.
    rig->busy_ = true;
    if (std::chrono::steady_clock::now() > rig->deadline_) {
      // The steps stop where they were, so StepsDone names the one that never finished.
      rig->timedOut_ = true;
      if (CWnd* main = rig->Frame()) main->PostMessage(WM_CLOSE);
      ::PostQuitMessage(99);
    } else if (rig->next_ < rig->steps_.size() && rig->steps_[rig->next_]()) {
      ++rig->next_;
    }
    rig->busy_ = false;
  }

  static inline ProgramRig* current_ = nullptr;
  std::vector<Step> steps_;
  size_t next_ = 0;
  bool busy_ = false;
  bool timedOut_ = false;
  std::chrono::steady_clock::time_point deadline_;
  std::vector<std::string> keys_;
};

}  // namespace programrig
