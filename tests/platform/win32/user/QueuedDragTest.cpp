// The test driver's drags queued all at once: every part reaches the drag loop in order,
// also the part over the bare desktop, and a loop left waiting for a release that never
// comes ends at the test's deadline.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "display/Screen.h"
#include "user/Driver.h"
#include "user/Input.h"
#include "user/InputDeadline.h"
#include "windows.h"

namespace queued_drag_test {

namespace drv = plat::user::driver;

std::vector<std::string> g_drag;

std::string At(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

// A press starts a drag loop of the window's own that waits for the release with
// GetMessage, as the framework's trackers do; it ends as cancelled when it loses the capture.
LRESULT CALLBACK DragProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_LBUTTONDOWN) return DefWindowProcA(hwnd, msg, wParam, lParam);
  POINT start{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(hwnd, &start);
  g_drag.push_back("down " + At(start));
  SetCapture(hwnd);
  MSG m;
  while (GetCapture() == hwnd && GetMessageA(&m, nullptr, 0, 0)) {
    if (m.message == WM_MOUSEMOVE) {
      g_drag.push_back("move " + At(m.pt));
    } else if (m.message == WM_LBUTTONUP) {
      g_drag.push_back("up " + At(m.pt));
      ReleaseCapture();
      return 0;
    } else {
      DispatchMessageA(&m);
    }
  }
  g_drag.push_back("cancelled");
  return 0;
}

class QueuedDrag : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = DragProc;
      wc.lpszClassName = "DragSource";
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      return RegisterClassA(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    window = CreateWindowExA(0, "DragSource", "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 120, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    drv::WaitIdle();
    g_drag.clear();
  }
  void TearDown() override {
    DestroyWindow(window);
    drv::WaitIdle();
  }
  HWND window = nullptr;
};

TEST_F(QueuedDrag, AWholeDragQueuedAtOnceReachesTheLoopInOrderOverTheDesktop) {
  auto& screen = plat::display::Screen::Get();
  const POINT from{150, 150}, to{screen.Width() - 30, screen.Height() - 40};  // bare desktop
  drv::Drag(from, to, 4);  // all of it queued before the press is handled
  drv::WaitIdle();
  std::vector<std::string> expected{"down " + At(from)};
  for (int i = 1; i <= 4; ++i)
    expected.push_back("move " + At(POINT{from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4}));
  expected.push_back("up " + At(to));
  EXPECT_EQ(g_drag, expected);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(QueuedDrag, ALoopWaitingForAReleaseThatNeverComesEndsAtTheDeadline) {
  {
    const drv::InputDeadline bound(std::chrono::milliseconds(50));
    plat::user::input::MouseMove(150, 150);
    plat::user::input::MouseButton(0, true);  // and the test gives no release
    drv::WaitIdle();
  }
  EXPECT_EQ(g_drag, (std::vector<std::string>{"down 150,150", "cancelled"}));
  EXPECT_EQ(GetCapture(), nullptr);
  plat::user::input::MouseButton(0, false);
  drv::WaitIdle();
}

}  // namespace queued_drag_test
