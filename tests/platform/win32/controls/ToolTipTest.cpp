#include "ControlFixture.h"

namespace controls_test {
namespace {

std::vector<UINT_PTR> g_asked;

LRESULT CALLBACK TextGivingProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == TTN_NEEDTEXT) {
    auto* info = reinterpret_cast<TOOLTIPTEXT*>(l);
    g_asked.push_back(info->hdr.idFrom);
    std::snprintf(info->szText, sizeof info->szText, "%s", "撮影ボタン");
    return 0;
  }
  return RecordingProc(h, msg, w, l);
}

class ToolTips : public ControlTest {};

TEST_F(ToolTips, HoveringAToolShowsItsTextAskedOfTheOwner) {
  testenv::VirtualClock virtualClock;
  SetWindowLongPtrA(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TextGivingProc));
  HWND button = Make("Button", BS_PUSHBUTTON, 95, "EXPOSURE", {10, 10, 110, 40});
  HWND plain = Make("Button", BS_PUSHBUTTON, 96, "other", {10, 60, 110, 90});
  HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, parent_,
                             nullptr, nullptr, nullptr);
  ASSERT_NE(tip, nullptr);
  TOOLINFO ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = parent_;
  ti.uId = reinterpret_cast<UINT_PTR>(button);
  ti.lpszText = LPSTR_TEXTCALLBACK;
  EXPECT_TRUE(SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_FALSE(SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));  // already there
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  POINT p = Screen(button, 20, 10);
  plat::user::driver::MoveTo(p.x, p.y);
  plat::user::driver::WaitIdle();
  EXPECT_FALSE(IsWindowVisible(tip));  // not before the pause
  Sleep(600);
  plat::user::driver::WaitIdle();
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(Text(tip), "撮影ボタン");
  EXPECT_EQ(g_asked, (std::vector<UINT_PTR>{reinterpret_cast<UINT_PTR>(button)}));
  // Leaving the tool hides it; a window that is no tool shows nothing.
  POINT q = Screen(plain, 20, 10);
  plat::user::driver::MoveTo(q.x, q.y);
  Sleep(200);
  plat::user::driver::WaitIdle();
  EXPECT_FALSE(IsWindowVisible(tip));
  // Relayed mouse messages work as the subclass does, for a tool given by rectangle.
  ti.uFlags = 0;
  ti.hwnd = plain;
  ti.uId = 7;
  SetRect(&ti.rect, 0, 0, 50, 30);
  ti.lpszText = const_cast<char*>("その他");
  SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti));
  MSG m{plain, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), 0, {}};
  SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
  Sleep(600);
  plat::user::driver::WaitIdle();
  EXPECT_EQ(Text(tip), "その他");
  EXPECT_TRUE(IsWindowVisible(tip));
  DestroyWindow(tip);
}

}  // namespace
}  // namespace controls_test
