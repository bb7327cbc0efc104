// What the docking framework tests share: an application with its own profile file, a
// library frame with a view and the four library dock bars, plain library bars, message
// handling until the queues settle, and screenshots.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include <afxext.h>

#include "framework/SECDockBar.h"
#include "framework/SECFrameWnd.h"
#include "framework/SECMDIFrameWnd.h"
#include "framework_test_ids.h"
#include "controls/SECControlBar.h"

namespace framework_test {

HINSTANCE TestModule();

// A library bar of a given size in every docking state.
SECControlBar* MakeBar(CFrameWnd* frame, UINT id, LPCSTR title, CSize size = CSize(120, 40),
                       DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, DWORD exStyle = 0);

class FrameworkTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The frame replaced by a fresh one (as a program starting again would make it).
  void NewFrame();
  // The fixture's frame and view taken down, for a test that brings its own main window.
  void DropFrame();
  // A library MDI frame as the main window, docking on every side; it deletes itself with its
  // window.
  SECMDIFrameWnd* NewMDIFrame();
  // Handles everything queued until no thread has work, then the idle layout.
  void Settle();
  void Idle();
  void Screenshot(const std::string& name, CWnd* also = nullptr) const;
  // One window, redrawn whole, saved as the named screenshot.
  static void ShotOf(CWnd* window, const std::string& name);
  // The profile file's text, and a fresh profile.
  std::string ProfileText() const;
  void WriteProfile(const std::string& text) const;
  static std::string ProfilePath() { return "C:\\FrameworkTest.ini"; }
  SECDockBar* Dock(UINT id) const { return dynamic_cast<SECDockBar*>(frame->GetControlBar(id)); }
  // A point of `wnd`'s client area on the screen.
  static CPoint OnScreen(const CWnd& wnd, CPoint client) {
    wnd.ClientToScreen(&client);
    return client;
  }
  // A bar's rectangle in its dock bar.
  static CRect InDock(CControlBar* bar);
  // The dock bar's entries: bars by title letter, "0" for row ends, "#id" for placeholders.
  static std::string Rows(const CDockBar& dock);

  CWinApp app{"FrameworkTest"};
  SECFrameWnd* frame = nullptr;
  CWnd view;
  HINSTANCE savedResources = nullptr;
  bool shotFonts = false;  // this test keeps a screenshot drawn with the installed fonts
};

}  // namespace framework_test
