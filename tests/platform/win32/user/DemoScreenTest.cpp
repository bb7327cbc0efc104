// A small window tree composed on the screen, checked in a screenshot: headless, and on
// the sdl back end under a private X server.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "TestEnv.h"
#include "Xvfb.h"
#include "display/Png.h"
#include "display/Screen.h"
#include "user/Driver.h"
#include "windows.h"

namespace {

namespace drv = plat::user::driver;
using plat::display::Pixel;

Pixel Px(COLORREF c) { return (static_cast<Pixel>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

int g_clicks = 0;
LRESULT CALLBACK PanelProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_LBUTTONDOWN) ++g_clicks;
  return DefWindowProcA(h, m, w, l);
}

struct Demo {
  HWND frame, panel, tool;
  Demo() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "DemoFrame";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    RegisterClassA(&wc);
    wc.lpfnWndProc = PanelProc;
    wc.lpszClassName = "DemoPanel";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1, "終了(&X)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "ファイル(&F)");
    AppendMenuA(bar, MF_STRING, 2, "ヘルプ(&H)");
    frame = CreateWindowExA(0, "DemoFrame", "Lumora デモ", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 20, 20,
                            400, 300, nullptr, bar, nullptr, nullptr);
    panel = CreateWindowExA(WS_EX_CLIENTEDGE, "DemoPanel", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 10, 10, 150, 120,
                            frame, reinterpret_cast<HMENU>(100), nullptr, nullptr);
    tool = CreateWindowExA(WS_EX_TOOLWINDOW, "DemoFrame", "ツール", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 300,
                           200, 200, 150, frame, nullptr, nullptr, nullptr);
    drv::WaitIdle();
  }
  ~Demo() { DestroyWindow(frame); }

  // Checks the composed picture, as the process screen holds it or a back end shows it.
  void Check(const std::vector<Pixel>& px, int width) {
    auto at = [&](int x, int y) { return px[static_cast<size_t>(y) * width + x]; };
    RECT fr, pr, tr;
    GetWindowRect(frame, &fr);
    GetWindowRect(panel, &pr);
    GetWindowRect(tool, &tr);
    POINT fc{0, 0};
    ClientToScreen(frame, &fc);
    // The frame's inactive caption (the tool window took activation), its menu bar and
    // its client area in the workspace colour.
    EXPECT_EQ(at(fr.left + 200, fr.top + 6), Px(GetSysColor(COLOR_INACTIVECAPTION)));
    EXPECT_EQ(at(fr.right - 40, fc.y - 5), Px(GetSysColor(COLOR_MENU)));
    EXPECT_EQ(at(fc.x + 200, fc.y + 200), Px(GetSysColor(COLOR_APPWORKSPACE)));
    // The panel: sunken edge, white inside, a scroll bar on the right.
    EXPECT_EQ(at(pr.left, pr.top + 50), Px(GetSysColor(COLOR_3DSHADOW)));
    EXPECT_EQ(at(pr.left + 40, pr.top + 60), Px(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(at(pr.right - 10, pr.top + 60), Px(GetSysColor(COLOR_SCROLLBAR)));
    // The tool window lies above the frame and owns the active caption.
    EXPECT_EQ(at(tr.left + 150, tr.top + 6), Px(GetSysColor(COLOR_ACTIVECAPTION)));
    EXPECT_EQ(at(tr.left + 100, tr.top + 100), Px(GetSysColor(COLOR_APPWORKSPACE)));
    // Around it all, the desktop.
    EXPECT_EQ(at(700, 700), Px(GetSysColor(COLOR_BACKGROUND)));
  }
};

TEST(DemoScreen, WindowTreeInAHeadlessScreenshot) {
  Demo demo;
  std::string path = testenv::ScratchDir() + "/demo.png";
  ASSERT_TRUE(plat::display::SavePng(path));
  auto img = plat::display::ReadPng(path);
  ASSERT_TRUE(img);
  demo.Check(img->pixels, img->width);
}

TEST(DemoScreen, WindowTreeOnTheSdlScreenWithItsInput) {
  // Static, so that the X server outlives the process screen that connects to it.
  static testenv::Xvfb x;
  if (x.Display().empty()) GTEST_SKIP() << "Xvfb is not available";
  x.UseForSdl(true);
  auto& screen = plat::display::Screen::Get();
  ASSERT_STREQ(screen.BackendName(), "sdl");
  Demo demo;
  std::vector<Pixel> shown;
  ASSERT_TRUE(screen.ReadShown(shown));
  demo.Check(shown, screen.Width());

  // A click as the desktop delivers it reaches the window under it.
  RECT pr;
  GetWindowRect(demo.panel, &pr);
  plat::display::InputEvent down;
  down.kind = plat::display::InputEvent::Kind::MouseDown;
  down.x = pr.left + 40;
  down.y = pr.top + 40;
  down.button = plat::display::InputEvent::LButton;
  screen.PostInput(down);
  auto up = down;
  up.kind = plat::display::InputEvent::Kind::MouseUp;
  screen.PostInput(up);
  drv::WaitIdle();
  EXPECT_EQ(g_clicks, 1);
}

}  // namespace
