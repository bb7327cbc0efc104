// What the screen's back end receives reaches the windows as their input messages.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
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

std::atomic<int> g_clicks{0};
LRESULT CALLBACK CountClicks(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_LBUTTONDOWN) ++g_clicks;
  return DefWindowProcA(h, m, w, l);
}

// A window at the clicks' place, counting them, made on the calling thread.
HWND ClickCounter() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountClicks;
    wc.lpszClassName = "ClickCounter";
    return RegisterClassA(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExA(0, "ClickCounter", "", WS_POPUP | WS_VISIBLE, 400, 300, 100, 100, nullptr, nullptr, nullptr,
                         nullptr);
}

plat::display::InputEvent Button(Kind kind) {
  auto e = Event(kind);
  e.x = 420;
  e.y = 330;
  e.button = plat::display::InputEvent::LButton;
  return e;
}

// Input that arrives while a loop is between its pump and its sleep still wakes it: a
// window thread with nothing else to wake it for sees every click, at once.
TEST(ScreenInput, InputArrivingJustBeforeTheLoopSleepsIsNotLeftWaiting) {
  std::atomic<DWORD> thread{0};
  std::thread loop([&] {
    HWND w = ClickCounter();
    thread = GetCurrentThreadId();
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
    DestroyWindow(w);
  });
  while (!thread) std::this_thread::yield();
  auto& screen = plat::display::Screen::Get();
  // Each click is posted a little later after the last one was handled than the one
  // before, so some land while the loop is on its way back to sleep; a lost wake-up
  // leaves a click unseen for good.
  constexpr int kClicks = 20000;
  int lost = 0;
  for (int i = 1; i <= kClicks && lost == 0; ++i) {
    const auto from = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - from < std::chrono::nanoseconds(100 * (i % 200))) {
    }
    screen.PostInput(Button(Kind::MouseDown));
    screen.PostInput(Button(Kind::MouseUp));
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (g_clicks < i)
      if (std::chrono::steady_clock::now() > giveUp) {
        lost = i;
        break;
      } else {
        std::this_thread::yield();
      }
  }
  EXPECT_EQ(lost, 0) << "click " << lost << " was never seen";
  PostThreadMessageA(thread, WM_QUIT, 0, 0);
  loop.join();
}

// A wait for objects or input ends when the back end's input arrives.
TEST(ScreenInput, AWaitForInputEndsWithTheBackEndsInput) {
  std::atomic<DWORD> result{0xFFFF};
  std::atomic<bool> waiting{false};
  std::thread waiter([&] {
    HWND w = ClickCounter();
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    waiting = true;
    result = MsgWaitForMultipleObjects(0, nullptr, FALSE, 30000, QS_ALLINPUT);
    DestroyWindow(w);
  });
  while (!waiting) std::this_thread::yield();
  plat::display::Screen::Get().PostInput(Button(Kind::MouseDown));
  waiter.join();
  EXPECT_EQ(result, 0u);
}

}  // namespace
