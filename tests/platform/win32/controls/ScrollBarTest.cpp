#include <algorithm>

#include "ControlFixture.h"

namespace controls_test {
namespace {

class ScrollBars : public ControlTest {};

TEST_F(ScrollBars, InfoKeepsThePositionInsideRangeAndPage) {
  HWND w = Make("Static", WS_VSCROLL | WS_HSCROLL, 80, "", {10, 10, 200, 200});
  struct Case {
    int min, max;
    UINT page;
    int pos, expected;
  } cases[] = {
      {0, 100, 10, 50, 50}, {0, 100, 10, 95, 91}, {0, 100, 0, 150, 100}, {-20, 20, 0, -30, -20}, {0, 9, 20, 5, 0},
  };
  for (const auto& c : cases) {
    SCROLLINFO si{sizeof si, SIF_ALL, c.min, c.max, c.page, c.pos, 0};
    EXPECT_EQ(SetScrollInfo(w, SB_VERT, &si, TRUE), c.expected) << c.pos;
    EXPECT_EQ(GetScrollPos(w, SB_VERT), c.expected);
  }
  EXPECT_EQ(SetScrollPos(w, SB_VERT, 3, FALSE), 0);
  SetScrollRange(w, SB_HORZ, 5, 60, FALSE);
  int lo = 0, hi = 0;
  EXPECT_TRUE(GetScrollRange(w, SB_HORZ, &lo, &hi));
  EXPECT_EQ(lo, 5);
  EXPECT_EQ(hi, 60);
  EXPECT_EQ(GetScrollPos(w, SB_HORZ), 5);
  SCROLLINFO bad{sizeof bad, SIF_ALL, 0, 0, 0, 0, 0};
  EXPECT_FALSE(GetScrollInfo(nullptr, SB_VERT, &bad));
}

TEST_F(ScrollBars, ControlReportsArrowsPagesAndThumbDrags) {
  HWND sb = Make("ScrollBar", SBS_HORZ, 81, "", {10, 10, 210, 26});
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 100, 20, 0, 0};
  SetScrollInfo(sb, SB_CTL, &si, TRUE);
  Click(sb, 3, 8);  // the left arrow
  Click(sb, 196, 8);  // the right arrow
  Click(sb, 150, 8);  // the track right of the thumb
  EXPECT_EQ(Events(), (std::vector<std::string>{"hscroll 0 0", "hscroll 8 0", "hscroll 1 0", "hscroll 8 0",
                                                "hscroll 3 0", "hscroll 8 0"}));
  // The owner moves the bar; a drag of the thumb tracks, then reports where it ended.
  Events().clear();
  Drag(sb, {20, 8}, {190, 8});
  ASSERT_GE(Events().size(), 3u);
  EXPECT_EQ(Events().front().rfind("hscroll 5 ", 0), 0u);
  EXPECT_EQ(Events()[Events().size() - 2], "hscroll 4 81");
  EXPECT_EQ(Events().back(), "hscroll 8 0");
  EXPECT_EQ(GetScrollPos(sb, SB_CTL), 0);  // the owner has not moved it
}

namespace input = plat::user::input;

bool Only(const std::vector<std::string>& events, const std::string& e) {
  return std::all_of(events.begin(), events.end(), [&](const std::string& x) { return x == e; });
}

TEST_F(ScrollBars, HeldArrowRepeatsWhileTheMouseStaysOnIt) {
  testenv::VirtualClock virtualClock;
  HWND sb = Make("ScrollBar", SBS_HORZ, 81, "", {10, 10, 210, 26});
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 100, 20, 0, 0};
  SetScrollInfo(sb, SB_CTL, &si, TRUE);
  POINT arrow = Screen(sb, 196, 8);
  input::MouseMove(arrow.x, arrow.y);
  input::MouseButton(0, true);
  plat::user::driver::WaitIdle();
  EXPECT_EQ(Events(), (std::vector<std::string>{"hscroll 1 0"}));  // one step at the press, then a pause
  Hold(900);
  size_t held = Events().size();
  EXPECT_GE(held, 3u);
  EXPECT_TRUE(Only(Events(), "hscroll 1 0"));
  // Off the arrow the steps stop; the release ends the scroll and the repeating.
  POINT track = Screen(sb, 100, 8);
  input::MouseMove(track.x, track.y);
  plat::user::driver::WaitIdle();
  held = Events().size();
  Hold(300);
  EXPECT_EQ(Events().size(), held);
  input::MouseButton(0, false);
  plat::user::driver::WaitIdle();
  Hold(300);
  EXPECT_EQ(Events().size(), held + 1);
  EXPECT_EQ(Events().back(), "hscroll 8 0");
}

// Lets go of the mouse at the third step, as a user who has scrolled far enough.
LRESULT CALLBACK ReleasingProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  LRESULT r = RecordingProc(h, msg, w, l);
  if (msg == WM_VSCROLL && std::count(Events().begin(), Events().end(), "vscroll 1 0") == 3) input::MouseButton(0, false);
  return r;
}

TEST_F(ScrollBars, WindowBarArrowRepeatsWhileHeld) {
  testenv::VirtualClock virtualClock;
  HWND w = CreateWindowExA(0, "RecordingParent", "", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 100, 100, 200, 150, nullptr,
                           nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReleasingProc));
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 100, 10, 0, 0};
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  RECT r;
  GetWindowRect(w, &r);
  input::MouseMove(r.right - 8, r.bottom - 8);  // the lower arrow
  input::MouseButton(0, true);
  plat::user::driver::WaitIdle();
  EXPECT_EQ(Events(), (std::vector<std::string>{"vscroll 1 0", "vscroll 1 0", "vscroll 1 0", "vscroll 8 0"}));
  DestroyWindow(w);
}

}  // namespace
}  // namespace controls_test
