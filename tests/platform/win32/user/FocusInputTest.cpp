#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "UserTestSupport.h"
#include "user/Driver.h"
#include "user/Input.h"

using usertest::Pump;
using usertest::Recorder;
namespace input = plat::user::input;
namespace driver = plat::user::driver;

namespace {

using Log = std::vector<std::string>;
const std::vector<UINT> kFocusMessages = {WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS};

TEST(Focus, MovesBetweenChildrenKillBeforeSet) {
  Recorder rec;
  HWND top = rec.Create("top", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND a = rec.Create("a", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, 1);
  HWND b = rec.Create("b", WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, top, 2);
  SetFocus(a);
  rec.Clear();
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(rec.Log(kFocusMessages), (Log{"a:KILLFOCUS", "b:SETFOCUS"}));
  EXPECT_EQ(GetFocus(), b);
}

TEST(Focus, ActivatingAnotherWindowDeactivatesFirst) {
  Recorder rec;
  HWND one = rec.Create("one", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND edit = rec.Create("edit", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, one, 1);
  HWND two = rec.Create("two", WS_POPUP, 200, 0, 100, 100);
  SetFocus(edit);
  rec.Clear();
  ShowWindow(two, SW_SHOW);
  EXPECT_EQ(rec.Log(kFocusMessages),
            (Log{"one:NCACTIVATE", "one:ACTIVATE", "two:NCACTIVATE", "two:ACTIVATE", "edit:KILLFOCUS", "two:SETFOCUS"}));
  EXPECT_EQ(GetActiveWindow(), two);
  // Setting the focus into the first window activates it again.
  rec.Clear();
  SetFocus(edit);
  EXPECT_EQ(rec.Log(kFocusMessages),
            (Log{"two:NCACTIVATE", "two:ACTIVATE", "one:NCACTIVATE", "one:ACTIVATE", "two:KILLFOCUS", "one:SETFOCUS",
                 "one:KILLFOCUS", "edit:SETFOCUS"}));
}

TEST(Focus, DisablingOrDestroyingTheFocusWindowTakesTheFocusAway) {
  Recorder rec;
  HWND top = rec.Create("top", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND a = rec.Create("a", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, 1);
  SetFocus(a);
  rec.Clear();
  EXPECT_FALSE(EnableWindow(a, FALSE));
  EXPECT_EQ(rec.Log({WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE}), (Log{"a:CANCELMODE", "a:KILLFOCUS", "a:ENABLE"}));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_TRUE(EnableWindow(a, TRUE));
  SetFocus(a);
  rec.Clear();
  DestroyWindow(a);
  EXPECT_EQ(rec.Log({WM_KILLFOCUS, WM_DESTROY}), (Log{"a:KILLFOCUS", "a:DESTROY"}));
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST(Capture, ChangesAreAnnouncedToTheWindowThatLosesIt) {
  Recorder rec;
  HWND a = rec.Create("a", WS_POPUP, 0, 0, 10, 10);
  HWND b = rec.Create("b", WS_POPUP, 0, 0, 10, 10);
  SetCapture(a);
  EXPECT_EQ(SetCapture(b), a);
  ReleaseCapture();
  EXPECT_EQ(rec.Log({WM_CAPTURECHANGED}), (Log{"a:CAPTURECHANGED", "b:CAPTURECHANGED"}));
  EXPECT_EQ(GetCapture(), nullptr);
  SetCapture(a);
  rec.Clear();
  SendMessageA(a, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(rec.Log({WM_CAPTURECHANGED}), (Log{"a:CAPTURECHANGED"}));
}

TEST(Input, ClickReachesTheChildUnderTheMouseInClientCoordinates) {
  Recorder rec;
  HWND top = rec.Create("top", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200);
  HWND child = rec.Create("child", WS_CHILD | WS_VISIBLE, 50, 40, 60, 60, top, 1);
  HWND other = rec.Create("other", WS_POPUP | WS_VISIBLE, 400, 400, 50, 50);
  ASSERT_EQ(GetActiveWindow(), other);
  rec.Clear();
  input::MouseMove(160, 145);
  input::MouseButton(0, true);
  input::MouseButton(0, false);
  Pump();
  EXPECT_EQ(rec.Log({WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN, WM_LBUTTONUP}),
            (Log{"child:MOUSEACTIVATE", "top:MOUSEACTIVATE", "other:ACTIVATE", "top:ACTIVATE", "child:LBUTTONDOWN",
                 "child:LBUTTONUP"}));
  EXPECT_EQ(GetActiveWindow(), top);
  // The button message carries client coordinates and the button state.
  POINT p{160, 145};
  ScreenToClient(child, &p);
  EXPECT_EQ(p.x, 10);
  EXPECT_EQ(p.y, 5);
  // In the window now active, a click on its child still asks the child first (the top
  // window, already active, is neither asked nor activated again); one on the top itself
  // asks nobody.
  rec.Clear();
  input::MouseMove(180, 170);  // away from the first click: no double click
  input::MouseButton(0, true);
  input::MouseButton(0, false);
  input::MouseMove(105, 105);
  input::MouseButton(0, true);
  input::MouseButton(0, false);
  Pump();
  EXPECT_EQ(rec.Log({WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN}),
            (Log{"child:MOUSEACTIVATE", "top:MOUSEACTIVATE", "child:LBUTTONDOWN", "top:LBUTTONDOWN"}));
}

TEST(Input, DoubleClickNeedsTheClassStyle) {
  Recorder rec;
  HWND h = rec.Create("w", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  input::MouseMove(10, 10);
  for (int i = 0; i < 2; ++i) {
    input::MouseButton(0, true);
    input::MouseButton(0, false);
  }
  Pump();
  EXPECT_EQ(rec.Log({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}),
            (Log{"w:LBUTTONDOWN", "w:LBUTTONUP", "w:LBUTTONDBLCLK", "w:LBUTTONUP"}));
  (void)h;
}

TEST(Input, DisabledWindowsAndTheirChildrenGetNoInput) {
  Recorder rec;
  HWND top = rec.Create("top", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  rec.Create("child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top, 1);
  EnableWindow(top, FALSE);
  rec.Clear();
  input::MouseMove(10, 10);
  input::MouseButton(0, true);
  input::MouseButton(0, false);
  Pump();
  EXPECT_EQ(rec.Log({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE}), Log{});
}

TEST(Input, ClicksPassThroughTransparentWindowsOfTheirOwnThread) {
  Recorder rec;
  HWND top = rec.Create("top", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  // A frame made first lies above the control inside it, as a dialog's group box does.
  HWND frame = rec.Create("frame", WS_CHILD | WS_VISIBLE, 10, 10, 150, 150, top, 1);
  HWND inner = rec.Create("inner", WS_CHILD | WS_VISIBLE, 30, 30, 40, 40, top, 2);
  rec.handlers[WM_NCHITTEST] = [&](HWND h, WPARAM w, LPARAM l) -> LRESULT {
    return h == frame ? HTTRANSPARENT : DefWindowProcA(h, WM_NCHITTEST, w, l);
  };
  EXPECT_EQ(WindowFromPoint(POINT{50, 50}), inner);
  EXPECT_EQ(WindowFromPoint(POINT{120, 120}), top) << "nothing but the parent under the frame there";
  rec.Clear();
  input::MouseMove(50, 50);
  input::MouseButton(0, true);
  input::MouseButton(0, false);
  input::MouseMove(120, 120);
  input::MouseButton(0, true);
  input::MouseButton(0, false);
  Pump();
  EXPECT_EQ(rec.Log({WM_LBUTTONDOWN}), (Log{"inner:LBUTTONDOWN", "top:LBUTTONDOWN"}));

  // A window of another thread is not asked, so it takes the point whatever it would answer.
  std::atomic<HWND> foreign{nullptr};
  std::atomic<int> asked{0};
  std::atomic<DWORD> threadId{0};
  static std::atomic<int>* s_asked = nullptr;
  s_asked = &asked;
  std::thread other([&] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
      if (msg == WM_NCHITTEST) return ++*s_asked, HTTRANSPARENT;
      return DefWindowProcA(h, msg, w, l);
    };
    wc.lpszClassName = "ForeignTransparent";
    RegisterClassA(&wc);
    HWND h = CreateWindowExA(0, "ForeignTransparent", "", WS_POPUP, 100, 100, 50, 50, nullptr, nullptr, nullptr,
                             nullptr);
    threadId = GetCurrentThreadId();
    foreign = h;
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
    DestroyWindow(h);
  });
  while (!foreign) std::this_thread::yield();
  SetWindowPos(foreign, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  EXPECT_EQ(WindowFromPoint(POINT{120, 120}), foreign.load());
  EXPECT_EQ(asked.load(), 0);
  PostThreadMessageA(threadId, WM_QUIT, 0, 0);
  other.join();
}

TEST(Input, CapturedMouseGoesToTheCaptureWindow) {
  Recorder rec;
  HWND a = rec.Create("a", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  rec.Create("b", WS_POPUP | WS_VISIBLE, 100, 0, 50, 50);
  SetCapture(a);
  rec.Clear();
  input::MouseMove(120, 10);
  Pump();
  EXPECT_EQ(rec.Log({WM_MOUSEMOVE}), (Log{"a:MOUSEMOVE"}));
  ReleaseCapture();
}

// Mouse input is routed when it is read, not when it is made: a press on a caption whose
// handler takes the capture makes the move and release queued behind it the capture
// window's client messages, even over another window; without the capture they go where
// the mouse is.
TEST(Input, ACaptureTakenOnThePressAppliesToInputQueuedBehindIt) {
  struct Case {
    bool capture;
    Log expected;
  } cases[] = {
      {true, Log{"w:NCLBUTTONDOWN", "w:MOUSEMOVE", "w:LBUTTONUP"}},
      {false, Log{"w:NCLBUTTONDOWN", "b:MOUSEMOVE", "b:LBUTTONUP"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.capture ? "captured on the press" : "no capture");
    Recorder rec;
    HWND w = rec.Create("w", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 100, 100, 200, 150);
    HWND b = rec.Create("b", WS_POPUP | WS_VISIBLE, 400, 100, 100, 100);
    SetActiveWindow(w);
    Pump();
    POINT upAt{};
    rec.handlers[WM_NCLBUTTONDOWN] = [&](HWND h, WPARAM, LPARAM) -> LRESULT {
      if (c.capture) SetCapture(h);
      return 0;  // no move loop
    };
    rec.handlers[WM_LBUTTONUP] = [&](HWND, WPARAM, LPARAM l) -> LRESULT {
      upAt = POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      return 0;
    };
    rec.Clear();
    // All four queued before any is read, as a quick click-and-drag arrives.
    const POINT caption{200, 110}, over{450, 150};
    input::MouseMove(caption.x, caption.y);
    input::MouseButton(0, true);
    input::MouseMove(over.x, over.y);
    input::MouseButton(0, false);
    Pump();
    EXPECT_EQ(rec.Log({WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_LBUTTONUP, WM_MOUSEMOVE, WM_NCMOUSEMOVE}).size(),
              c.expected.size() + 1)
        << "one caption move before the press";
    EXPECT_EQ(rec.Log({WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_LBUTTONUP, WM_MOUSEMOVE}), c.expected);
    // The release is in the client coordinates of the window it reached.
    POINT client = over;
    ScreenToClient(c.capture ? w : b, &client);
    EXPECT_EQ(upAt.x, client.x);
    EXPECT_EQ(upAt.y, client.y);
    if (c.capture) {
      EXPECT_EQ(GetCapture(), w);
      ReleaseCapture();
    }
    rec.handlers.clear();
    DestroyWindow(w);
    DestroyWindow(b);
    Pump();
  }
}

TEST(Input, KeysAndTheirTextMakeOneCharacterEachAndKeyStateFollowsTheQueue) {
  Recorder rec;
  HWND h = rec.Create("w", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  std::string typed;
  std::vector<WPARAM> keys;
  SHORT shiftSeen = 0;
  rec.handlers[WM_CHAR] = [&](HWND, WPARAM c, LPARAM) -> LRESULT {
    typed += static_cast<char>(c);
    return 0;
  };
  rec.handlers[WM_KEYDOWN] = [&](HWND, WPARAM vk, LPARAM) -> LRESULT {
    keys.push_back(vk);
    if (vk == 'B') shiftSeen = GetKeyState(VK_SHIFT);
    return 0;
  };
  SetFocus(h);
  driver::TypeText("aB1\\露");
  Pump();
  EXPECT_EQ(typed, "aB1\\露");
  // The keys come as their virtual keys; the character no key types, as text alone.
  EXPECT_EQ(keys, (std::vector<WPARAM>{'A', VK_SHIFT, 'B', '1', 0xDC}));
  EXPECT_LT(shiftSeen, 0);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

// Keys typed right behind the click that activates a window, before anything read the
// click, reach that window: nothing was active to take them when they were typed.
TEST(Input, KeysTypedBehindTheClickThatActivatesAWindowReachIt) {
  Recorder rec;
  HWND w = rec.Create("w", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  std::string typed;
  rec.handlers[WM_CHAR] = [&](HWND, WPARAM c, LPARAM) -> LRESULT {
    typed += static_cast<char>(c);
    return 0;
  };
  Pump();
  SetActiveWindow(nullptr);
  ASSERT_EQ(GetActiveWindow(), nullptr);
  driver::Click(50, 50);
  driver::TypeText("ok");
  Pump();
  EXPECT_EQ(GetActiveWindow(), w);
  EXPECT_EQ(GetFocus(), w);
  EXPECT_EQ(typed, "ok");
}

// With Control or Alt a key is a command: a control character or a system character,
// never the text the keyboard map has for it.
TEST(Input, ChordsMakeControlOrSystemCharacters) {
  struct Case {
    UINT vk;
    unsigned modifiers;
    std::string chars, systemChars;
  } cases[] = {
      {'A', driver::kControl, "\x01", ""},   {'1', driver::kControl, "", ""},
      {0xDC, driver::kControl, "", ""},     {'F', driver::kAlt, "", "f"},
      {'F', driver::kAlt | driver::kShift, "", "F"},
      {VK_SPACE, driver::kAlt, "", " "},   {VK_RETURN, driver::kNone, "\r", ""},
      {VK_BACK, driver::kControl, "\x7f", ""}, {VK_ESCAPE, driver::kNone, "\x1b", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.vk << " with " << c.modifiers);
    Recorder rec;
    HWND h = rec.Create("w", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    std::string chars, systemChars;
    rec.handlers[WM_CHAR] = [&](HWND, WPARAM ch, LPARAM) -> LRESULT {
      chars += static_cast<char>(ch);
      return 0;
    };
    rec.handlers[WM_SYSCHAR] = [&](HWND, WPARAM ch, LPARAM) -> LRESULT {
      systemChars += static_cast<char>(ch);
      return 0;
    };
    SetFocus(h);
    driver::PressKey(c.vk, c.modifiers);
    Pump();
    EXPECT_EQ(chars, c.chars);
    EXPECT_EQ(systemChars, c.systemChars);
    DestroyWindow(h);
  }
}

TEST(Input, AltChordsAreSystemKeys) {
  Recorder rec;
  HWND h = rec.Create("w", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  SetFocus(h);
  rec.Clear();
  input::Key(VK_MENU, true);
  input::Key('F', true);
  input::Key('F', false);
  input::Key(VK_MENU, false);
  Pump();
  EXPECT_EQ(rec.Log({WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP}),
            (Log{"w:SYSKEYDOWN", "w:SYSKEYDOWN", "w:SYSKEYUP", "w:SYSKEYUP"}));
}

// A focused control has no menu and is no window to close: Alt+letter and Alt+F4 reach its
// top-level window as WM_SYSCOMMAND.
TEST(Input, SystemKeysInAChildReachItsTopLevelWindow) {
  Recorder rec;
  HWND top = rec.Create("top", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND child = rec.Create("child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, top, 1);
  std::vector<std::pair<HWND, WPARAM>> commands;
  rec.handlers[WM_SYSCOMMAND] = [&](HWND h, WPARAM w, LPARAM l) -> LRESULT {
    commands.emplace_back(h, w & 0xFFF0);
    return h == top ? 0 : DefWindowProcA(h, WM_SYSCOMMAND, w, l);
  };
  SetFocus(child);
  for (UINT vk : {UINT('F'), UINT(VK_F4)}) {
    input::Key(VK_MENU, true);
    input::Key(vk, true);
    input::Key(vk, false);
    input::Key(VK_MENU, false);
  }
  Pump();
  ASSERT_TRUE(IsWindow(child));
  std::vector<std::pair<HWND, WPARAM>> atTop;
  for (const auto& c : commands)
    if (c.first == top) atTop.push_back(c);
  EXPECT_EQ(atTop, (std::vector<std::pair<HWND, WPARAM>>{{top, SC_KEYMENU}, {top, SC_CLOSE}}));
}

int g_hookOrder = 0;
int g_firstHookAt = 0, g_secondHookAt = 0;
HHOOK g_first = nullptr, g_second = nullptr;
LRESULT CALLBACK FirstKeyHook(int code, WPARAM vk, LPARAM lp) {
  g_firstHookAt = ++g_hookOrder;
  if (code == HC_ACTION && vk == VK_F5) return 1;  // eaten
  return CallNextHookEx(g_first, code, vk, lp);
}
LRESULT CALLBACK SecondKeyHook(int code, WPARAM vk, LPARAM lp) {
  g_secondHookAt = ++g_hookOrder;
  return CallNextHookEx(g_second, code, vk, lp);
}

TEST(Hooks, KeyboardHooksRunNewestFirstAndCanEatKeys) {
  Recorder rec;
  HWND h = rec.Create("w", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  SetFocus(h);
  g_first = SetWindowsHookExA(WH_KEYBOARD, SecondKeyHook, nullptr, GetCurrentThreadId());
  g_second = g_first;
  g_first = SetWindowsHookExA(WH_KEYBOARD, FirstKeyHook, nullptr, GetCurrentThreadId());
  rec.Clear();
  input::Key(VK_F5, true);
  input::Key(VK_F6, true);
  Pump();
  EXPECT_EQ(rec.Log({WM_KEYDOWN}), (Log{"w:KEYDOWN"}));  // F6 only
  EXPECT_LT(g_firstHookAt, g_secondHookAt);
  EXPECT_TRUE(UnhookWindowsHookEx(g_first));
  EXPECT_TRUE(UnhookWindowsHookEx(g_second));
  EXPECT_FALSE(UnhookWindowsHookEx(g_second));
  input::Key(VK_F5, false);
  input::Key(VK_F6, false);
  Pump();
}

int g_mouseHookMessages = 0;
LRESULT CALLBACK MouseHook(int code, WPARAM msg, LPARAM lp) {
  if (code == HC_ACTION && msg == WM_LBUTTONDOWN) ++g_mouseHookMessages;
  return CallNextHookEx(nullptr, code, msg, lp);
}

TEST(Hooks, MouseHookSeesButtonMessages) {
  Recorder rec;
  rec.Create("w", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  HHOOK hook = SetWindowsHookExA(WH_MOUSE, MouseHook, nullptr, 0);
  input::MouseMove(5, 5);
  input::MouseButton(0, true);
  input::MouseButton(0, false);
  Pump();
  EXPECT_EQ(g_mouseHookMessages, 1);
  UnhookWindowsHookEx(hook);
}

}  // namespace
