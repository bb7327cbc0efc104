// A window's own scroll bars: state, drawing and the mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UserTestSupport.h"
#include "user/Driver.h"
#include "windows.h"

namespace {

namespace drv = plat::user::driver;

using usertest::ScreenAt;

std::vector<std::string> g_log;
LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_VSCROLL) g_log.push_back(std::to_string(LOWORD(w)) + ":" + std::to_string(HIWORD(w)));
  return DefWindowProcA(h, m, w, l);
}

// A 200 x 200 popup with a vertical bar along its right side: x 184 to 200.
HWND Scrolled() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = "Scrolled";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "Scrolled", "", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 0, 0, 200, 200, nullptr, nullptr,
                           nullptr, nullptr);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 21, 40, 0};
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  drv::WaitIdle();
  g_log.clear();
  return w;
}

TEST(ScrollBars, StateIsKeptInRangeAndTheThumbDrawnWhereItStands) {
  HWND w = Scrolled();
  SCROLLINFO si{sizeof si, SIF_ALL};
  ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &si));
  EXPECT_EQ(si.nPos, 40);
  EXPECT_EQ(si.nPage, 21u);
  // The track runs from 16 to 184 (168 pixels); the thumb is 168 * 21 / 100 = 35 high
  // and at 40 of 79 it starts (168 - 35) * 40 / 79 = 67 pixels down.
  EXPECT_EQ(ScreenAt(190, 16 + 60), GetSysColor(COLOR_SCROLLBAR));
  EXPECT_EQ(ScreenAt(190, 16 + 67 + 15), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(ScreenAt(190, 16 + 67 + 40), GetSysColor(COLOR_SCROLLBAR));
  EXPECT_EQ(SetScrollPos(w, SB_VERT, 500, TRUE), 40);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 79);  // the page's worth short of the maximum
  int lo, hi;
  ASSERT_TRUE(GetScrollRange(w, SB_VERT, &lo, &hi));
  EXPECT_EQ(hi, 99);
  // Nothing to scroll: the bar goes and the client area takes its place.
  RECT before, after;
  GetClientRect(w, &before);
  SetScrollRange(w, SB_VERT, 0, 0, TRUE);
  GetClientRect(w, &after);
  EXPECT_EQ(after.right - before.right, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_FALSE(GetWindowLongA(w, GWL_STYLE) & WS_VSCROLL);
  DestroyWindow(w);
}

TEST(ScrollBars, ClicksOnArrowsTrackAndThumbScroll) {
  struct Case {
    POINT from, to;
    std::vector<std::string> expected;
  } cases[] = {
      {{190, 5}, {190, 5}, {"0:0", "8:0"}},          // up arrow
      {{190, 195}, {190, 195}, {"1:0", "8:0"}},      // down arrow
      {{190, 30}, {190, 30}, {"2:0", "8:0"}},        // track above the thumb
      {{190, 170}, {190, 170}, {"3:0", "8:0"}},      // track below it
      // The thumb dragged to the bottom of the track: tracking, the final position, the end.
      {{190, 100}, {190, 400}, {"5:79", "4:79", "8:0"}},
  };
  for (auto& c : cases) {
    HWND w = Scrolled();
    drv::Drag(c.from, c.to, 1);
    drv::WaitIdle();
    EXPECT_EQ(g_log, c.expected) << c.from.y;
    DestroyWindow(w);
  }
}

}  // namespace
