// Moving and sizing windows with the mouse, and the cursors the frame shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "user/Driver.h"
#include "user/Input.h"
#include "windows.h"

namespace {

namespace drv = plat::user::driver;

std::vector<std::string> g_log;
LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_ENTERSIZEMOVE: g_log.push_back("ENTERSIZEMOVE"); break;
    case WM_EXITSIZEMOVE: g_log.push_back("EXITSIZEMOVE"); break;
    case WM_MOVING: g_log.push_back("MOVING"); break;
    case WM_SIZING: g_log.push_back("SIZING " + std::to_string(w)); break;
    default: break;
  }
  return DefWindowProcA(h, m, w, l);
}

HWND Frame() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = "Movable";
  wc.hCursor = LoadCursorA(nullptr, IDC_CROSS);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "Movable", "移動", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                           nullptr, nullptr);
  drv::WaitIdle();
  g_log.clear();
  return w;
}

std::vector<std::string> Distinct(const std::vector<std::string>& v) {
  std::vector<std::string> out;
  for (auto& s : v)
    if (out.empty() || out.back() != s) out.push_back(s);
  return out;
}

TEST(MoveSize, DraggingTheCaptionMovesTheWindow) {
  HWND w = Frame();
  drv::Drag({200, 110}, {250, 140});
  drv::WaitIdle();
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 150);
  EXPECT_EQ(r.top, 130);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(Distinct(g_log), (std::vector<std::string>{"ENTERSIZEMOVE", "MOVING", "EXITSIZEMOVE"}));
  DestroyWindow(w);
}

TEST(MoveSize, DraggingBordersSizesTheWindowWithinItsMinimum) {
  struct Case {
    POINT from, to;
    RECT expected;
    std::string sizing;
  } cases[] = {
      {{399, 299}, {419, 339}, {100, 100, 420, 340}, "SIZING 8"},  // bottom-right corner
      {{101, 200}, {71, 200}, {70, 100, 400, 300}, "SIZING 1"},    // left edge
      {{250, 299}, {250, 50}, {100, 100, 400, 100 + GetSystemMetrics(SM_CYMINTRACK)}, "SIZING 6"},  // bottom, too far
  };
  for (auto& c : cases) {
    HWND w = Frame();
    drv::Drag(c.from, c.to);
    drv::WaitIdle();
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_TRUE(EqualRect(&r, &c.expected)) << c.sizing << ": " << r.left << "," << r.top << "," << r.right << ","
                                            << r.bottom;
    EXPECT_EQ(Distinct(g_log), (std::vector<std::string>{"ENTERSIZEMOVE", c.sizing, "EXITSIZEMOVE"}));
    DestroyWindow(w);
  }
}

TEST(MoveSize, EscapePutsTheWindowBack) {
  HWND w = Frame();
  drv::MoveTo(200, 110);
  plat::user::input::MouseButton(0, true);
  drv::MoveTo(260, 160);
  drv::PressKey(VK_ESCAPE);
  drv::WaitIdle();
  plat::user::input::MouseButton(0, false);
  drv::WaitIdle();
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  DestroyWindow(w);
}

TEST(MoveSize, TheFrameShowsSizingCursorsAndTheClientItsClassCursor) {
  HWND w = Frame();
  struct Case {
    POINT at;
    LPCSTR cursor;
  } cases[] = {
      {{101, 200}, IDC_SIZEWE}, {{250, 101}, IDC_SIZENS}, {{101, 101}, IDC_SIZENWSE},
      {{398, 101}, IDC_SIZENESW}, {{250, 200}, IDC_CROSS}, {{250, 110}, IDC_ARROW},
  };
  for (auto& c : cases) {
    drv::MoveTo(c.at.x, c.at.y);
    drv::WaitIdle();  // the cursor is set as the window's thread reads the move
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.cursor)) << c.at.x << "," << c.at.y;
  }
  drv::WaitIdle();
  DestroyWindow(w);
}

}  // namespace
