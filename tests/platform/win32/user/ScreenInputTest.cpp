// What the screen's back end receives reaches the windows as their input messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/Screen.h"
#include "user/Driver.h"
#include "windows.h"

namespace {

namespace drv = plat::user::driver;
using Kind = plat::display::InputEvent::Kind;

std::vector<std::string> g_log;
LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_LBUTTONDOWN: g_log.push_back("down " + std::to_string(LOWORD(l)) + "," + std::to_string(HIWORD(l))); break;
    case WM_MOUSEWHEEL: g_log.push_back("wheel " + std::to_string(GET_WHEEL_DELTA_WPARAM(w))); break;
    case WM_KEYDOWN: g_log.push_back("key " + std::to_string(w)); break;
    case WM_CHAR: g_log.push_back("char " + std::to_string(w)); break;
    case WM_CLOSE: g_log.push_back("close"); return 0;
    default: break;
  }
  return DefWindowProcA(h, m, w, l);
}

plat::display::InputEvent Event(Kind kind) {
  plat::display::InputEvent e;
  e.kind = kind;
  return e;
}

TEST(ScreenInput, BackEndEventsBecomeWindowMessages) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = "InputSink";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "InputSink", "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr, nullptr,
                           nullptr);
  drv::WaitIdle();
  SetFocus(w);
  auto& screen = plat::display::Screen::Get();
  auto down = Event(Kind::MouseDown);
  down.x = 130;
  down.y = 140;
  down.button = plat::display::InputEvent::LButton;
  screen.PostInput(down);
  auto up = down;
  up.kind = Kind::MouseUp;
  screen.PostInput(up);
  auto wheel = Event(Kind::MouseWheel);
  wheel.x = 130;
  wheel.y = 140;
  wheel.wheel = -2;
  screen.PostInput(wheel);
  auto key = Event(Kind::KeyDown);
  key.key = 'a';  // the desktop's code of the A key
  screen.PostInput(key);
  key.kind = Kind::KeyUp;
  screen.PostInput(key);
  auto text = Event(Kind::Text);
  text.text = "a";  // what the key typed: the one character it makes
  screen.PostInput(text);
  text.text = "あ";  // from an input method, without a key
  screen.PostInput(text);
  screen.PostInput(Event(Kind::Quit));
  drv::WaitIdle();
  EXPECT_EQ(g_log, (std::vector<std::string>{"down 30,40", "wheel -240", "key 65", "char 97", "char 227", "char 129",
                                             "char 130", "close"}));
  DestroyWindow(w);
}

}  // namespace
