#include <cstdlib>

#include "ControlFixture.h"

namespace controls_test {
namespace {

class Trackbars : public ControlTest {};

TEST_F(Trackbars, DraggingTracksThenReportsThePositionAndTheEnd) {
  InitCommonControls();
  HWND t = Make(TRACKBAR_CLASS, TBS_AUTOTICKS, 30, "", {10, 10, 226, 40});
  SendMessageA(t, TBM_SETRANGE, TRUE, MAKELONG(0, 32));
  SendMessageA(t, TBM_SETTICFREQ, 1, 0);
  SendMessageA(t, TBM_SETPAGESIZE, 0, 1);
  SendMessageA(t, TBM_SETPOS, TRUE, 8);
  EXPECT_TRUE(Events().empty());  // a position the program sets is not reported
  RECT thumb;
  SendMessageA(t, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  RECT channel;
  SendMessageA(t, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  POINT from{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  POINT to{channel.right - 1, from.y};
  Drag(t, from, to);
  ASSERT_GE(Events().size(), 3u);
  for (size_t i = 0; i + 2 < Events().size(); ++i) EXPECT_EQ(Events()[i].rfind("hscroll 5 ", 0), 0u) << Events()[i];
  EXPECT_EQ(Events()[Events().size() - 2], "hscroll 4 32");  // SB_THUMBPOSITION with the position
  EXPECT_EQ(Events().back(), "hscroll 8 0");                 // SB_ENDSCROLL
  EXPECT_EQ(SendMessageA(t, TBM_GETPOS, 0, 0), 32);
  EXPECT_EQ(SendMessageA(t, TBM_GETNUMTICS, 0, 0), 33);
}

TEST_F(Trackbars, KeysAndPagingStepThePositionWithTheirCodes) {
  HWND t = Make(TRACKBAR_CLASS, 0, 31, "", {10, 10, 226, 40});
  SendMessageA(t, TBM_SETRANGEMIN, FALSE, -100);
  SendMessageA(t, TBM_SETRANGEMAX, FALSE, 100);
  EXPECT_EQ(SendMessageA(t, TBM_SETPAGESIZE, 0, 20), 20);  // the old page size
  SendMessageA(t, TBM_SETPOS, TRUE, 0);
  SetFocus(t);
  struct Step {
    UINT vk;
    const char* code;
    int pos;
  } steps[] = {
      {VK_RIGHT, "hscroll 1 0", 1}, {VK_LEFT, "hscroll 0 0", 0},     {VK_NEXT, "hscroll 3 0", 20},
      {VK_PRIOR, "hscroll 2 0", 0}, {VK_END, "hscroll 7 0", 100},    {VK_HOME, "hscroll 6 0", -100},
      {VK_LEFT, "hscroll 0 0", -100},
  };
  for (const auto& s : steps) {
    Events().clear();
    Press(s.vk);
    EXPECT_EQ(Events(), (std::vector<std::string>{s.code, "hscroll 8 0"})) << s.vk;
    EXPECT_EQ(SendMessageA(t, TBM_GETPOS, 0, 0), s.pos) << s.vk;
  }
  // A click on the channel beside the thumb pages toward it.
  Events().clear();
  RECT channel;
  SendMessageA(t, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  Click(t, channel.right - 2, (channel.top + channel.bottom) / 2);
  EXPECT_EQ(Events(), (std::vector<std::string>{"hscroll 3 0", "hscroll 8 0"}));
  EXPECT_EQ(SendMessageA(t, TBM_GETPOS, 0, 0), -80);
}

class UpDowns : public ControlTest {};

TEST_F(UpDowns, HeldArrowKeepsSteppingUntilReleased) {
  testenv::VirtualClock virtualClock;
  HWND edit = Make("Edit", ES_AUTOHSCROLL, 40, "", {10, 10, 110, 34});
  HWND ud = Make(UPDOWN_CLASS, UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT, 41, "", {0, 0, 16, 24});
  SendMessageA(ud, UDM_SETRANGE32, 0, 100);
  SendMessageA(ud, UDM_SETPOS32, 0, 0);
  POINT up = Screen(ud, 4, 2);
  plat::user::input::MouseMove(up.x, up.y);
  plat::user::input::MouseButton(0, true);
  plat::user::driver::WaitIdle();
  EXPECT_EQ(Text(edit), "1");  // one step at the press, then a pause
  Hold(900);
  plat::user::input::MouseButton(0, false);
  plat::user::driver::WaitIdle();
  int reached = std::atoi(Text(edit).c_str());
  EXPECT_GE(reached, 3);
  Hold(300);
  EXPECT_EQ(std::atoi(Text(edit).c_str()), reached);  // nothing after the release
}

TEST_F(UpDowns, AutoBuddyShowsItsNumberAndStepsThroughANegativeRange) {
  HWND edit = Make("Edit", ES_AUTOHSCROLL, 40, "", {10, 10, 110, 34});
  HWND ud = Make(UPDOWN_CLASS, UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 41, "",
                 {0, 0, 16, 24});
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(ud, UDM_GETBUDDY, 0, 0)), edit);
  RECT e, u;
  GetWindowRect(edit, &e);
  GetWindowRect(ud, &u);
  EXPECT_EQ(u.left, e.right);  // it sits at the edit's right, inside its old width
  EXPECT_EQ(u.right - e.left, 100);
  SendMessageA(ud, UDM_SETRANGE32, static_cast<WPARAM>(-2), 1);
  SendMessageA(ud, UDM_SETPOS32, 0, -1);
  EXPECT_EQ(Text(edit), "-1");
  Events().clear();
  RECT client;
  GetClientRect(ud, &client);
  Click(ud, 4, 2);  // the upper arrow
  EXPECT_EQ(Text(edit), "0");
  std::vector<std::string> expected{Event("notify", 41, static_cast<int>(UDN_DELTAPOS)), "cmd 40 1024", "cmd 40 768",
                                    "vscroll 4 0", "vscroll 8 0"};
  // Focus moved to the buddy on the press.
  std::vector<std::string> got;
  for (auto& ev : Events())
    if (ev != "cmd 40 256") got.push_back(ev);
  EXPECT_EQ(got, expected);
  Click(ud, 4, client.bottom - 2);
  Click(ud, 4, client.bottom - 2);
  Click(ud, 4, client.bottom - 2);  // stops at the lower end
  EXPECT_EQ(Text(edit), "-2");
  // The buddy's arrow keys step it too, and a typed number is where stepping starts.
  SetWindowTextA(edit, "0");
  SetFocus(edit);
  Press(VK_UP);
  EXPECT_EQ(Text(edit), "1");
  EXPECT_EQ(LOWORD(SendMessageA(ud, UDM_GETPOS, 0, 0)), 1);
  SetWindowTextA(edit, "x");
  EXPECT_NE(HIWORD(SendMessageA(ud, UDM_GETPOS, 0, 0)), 0);  // not a number
}

TEST_F(UpDowns, DefaultRangeRunsDownwardAndThousandsAreGrouped) {
  HWND edit = Make("Edit", ES_AUTOHSCROLL, 42);
  HWND ud = Make(UPDOWN_CLASS, UDS_SETBUDDYINT, 43, "", {120, 10, 136, 34});
  SendMessageA(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  EXPECT_EQ(SendMessageA(ud, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));
  SendMessageA(ud, UDM_SETPOS, 0, MAKELONG(5, 0));
  Click(ud, 4, 2);  // up moves toward the upper end, 0
  EXPECT_EQ(Text(edit), "4");
  SendMessageA(ud, UDM_SETRANGE32, 0, 5000);
  SendMessageA(ud, UDM_SETPOS32, 0, 1500);
  EXPECT_EQ(Text(edit), "1,500");
  EXPECT_EQ(SendMessageA(ud, UDM_GETPOS32, 0, 0), 1500);
}

class ProgressBars : public ControlTest {};

TEST_F(ProgressBars, RangePositionAndSteps) {
  HWND p = Make(PROGRESS_CLASS, PBS_SMOOTH, 50, "", {10, 10, 210, 30});
  EXPECT_EQ(SendMessageA(p, PBM_SETRANGE, 0, MAKELPARAM(0, 50)), MAKELONG(0, 100));
  EXPECT_EQ(SendMessageA(p, PBM_SETPOS, 60, 0), 0);
  EXPECT_EQ(SendMessageA(p, PBM_GETPOS, 0, 0), 50);  // kept in range
  SendMessageA(p, PBM_SETSTEP, 20, 0);
  SendMessageA(p, PBM_SETPOS, 40, 0);
  SendMessageA(p, PBM_STEPIT, 0, 0);
  EXPECT_EQ(SendMessageA(p, PBM_GETPOS, 0, 0), 10);  // past the end it starts over
  SendMessageA(p, PBM_SETRANGE32, static_cast<WPARAM>(-10), 10);
  PBRANGE r{};
  EXPECT_EQ(SendMessageA(p, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&r)), -10);
  EXPECT_EQ(r.iHigh, 10);
  EXPECT_EQ(SendMessageA(p, PBM_SETBARCOLOR, 0, RGB(255, 0, 0)), static_cast<LRESULT>(CLR_DEFAULT));
  // The bar is drawn in its colour up to the position: half way along at 0 of -10..10.
  SendMessageA(p, PBM_SETPOS, 0, 0);
  UpdateWindow(p);
  HDC dc = GetDC(p);
  EXPECT_EQ(GetPixel(dc, 40, 10), RGB(255, 0, 0));
  EXPECT_NE(GetPixel(dc, 160, 10), RGB(255, 0, 0));
  ReleaseDC(p, dc);
}

TEST_F(ProgressBars, AnEraseClearsTheWholeBarInItsBackground) {
  HWND p = Make(PROGRESS_CLASS, PBS_SMOOTH, 51, "", {10, 10, 210, 30});
  SendMessageA(p, PBM_SETBARCOLOR, 0, RGB(255, 0, 0));
  SendMessageA(p, PBM_SETPOS, 100, 0);
  UpdateWindow(p);
  HDC dc = GetDC(p);
  ASSERT_EQ(GetPixel(dc, 40, 10), RGB(255, 0, 0));
  // What a subclass drawing the bar itself relies on: the erase leaves no bar behind.
  EXPECT_NE(SendMessageA(p, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
  EXPECT_EQ(GetPixel(dc, 40, 10), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetPixel(dc, 0, 0), GetSysColor(COLOR_BTNFACE));
  SendMessageA(p, PBM_SETBKCOLOR, 0, RGB(0, 0, 90));
  SendMessageA(p, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(GetPixel(dc, 40, 10), RGB(0, 0, 90));
  ReleaseDC(p, dc);
}

}  // namespace
}  // namespace controls_test
