// A parent window that records what its controls report, and input helpers in client
// coordinates.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "VirtualClock.h"
#include "user/Driver.h"
#include "user/Input.h"
#include "windows.h"

namespace controls_test {

inline std::vector<std::string>& Events() {
  static std::vector<std::string> events;
  return events;
}

inline std::vector<DRAWITEMSTRUCT>& Draws() {
  static std::vector<DRAWITEMSTRUCT> draws;
  return draws;
}

inline std::string Event(const char* kind, unsigned a, int b) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s %u %d", kind, a, b);
  return buf;
}

inline LRESULT CALLBACK RecordingProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_COMMAND: Events().push_back(Event("cmd", LOWORD(w), HIWORD(w))); return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(l);
      Events().push_back(Event("notify", static_cast<unsigned>(hdr->idFrom), static_cast<int>(hdr->code)));
      return 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      Events().push_back(Event(msg == WM_HSCROLL ? "hscroll" : "vscroll", LOWORD(w), static_cast<short>(HIWORD(w))));
      return 0;
    case WM_DRAWITEM: Draws().push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(l)); return TRUE;
    default: return DefWindowProcA(h, msg, w, l);
  }
}

// A screen-compatible bitmap of `background` with coloured rectangles on it, for image
// lists, toolbars and tabs.
struct Patch {
  RECT r;
  COLORREF colour;
};
inline HBITMAP PaintedBitmap(int w, int h, COLORREF background, std::initializer_list<Patch> patches) {
  HDC screen = GetDC(nullptr);
  HBITMAP b = CreateCompatibleBitmap(screen, w, h);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, b);
  auto fill = [&](RECT r, COLORREF c) {
    HBRUSH brush = CreateSolidBrush(c);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  };
  fill(RECT{0, 0, w, h}, background);
  for (const Patch& p : patches) fill(p.r, p.colour);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return b;
}

class ControlTest : public testing::Test {
 protected:
  void SetUp() override {
    static bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = RecordingProc;
      wc.lpszClassName = "RecordingParent";
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      return RegisterClassA(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    parent_ = CreateWindowExA(0, "RecordingParent", "parent", WS_POPUP | WS_VISIBLE, 40, 40, 400, 300, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    Events().clear();
    Draws().clear();
  }
  void TearDown() override { DestroyWindow(parent_); }

  HWND Make(const char* cls, DWORD style, int id, const char* text = "", RECT r = {10, 10, 110, 34}) {
    HWND h = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                             nullptr);
    EXPECT_NE(h, nullptr) << cls;
    return h;
  }
  static POINT Screen(HWND h, int x, int y) {
    POINT p{x, y};
    ClientToScreen(h, &p);
    return p;
  }
  void Click(HWND h, int x, int y) {
    POINT p = Screen(h, x, y);
    plat::user::driver::Click(p.x, p.y);
    plat::user::driver::WaitIdle();
  }
  void Drag(HWND h, POINT from, POINT to, int steps = 4) {
    plat::user::driver::Drag(Screen(h, from.x, from.y), Screen(h, to.x, to.y), steps);
    plat::user::driver::WaitIdle();
  }
  void Press(UINT vk, unsigned modifiers = 0) {
    plat::user::driver::PressKey(vk, modifiers);
    plat::user::driver::WaitIdle();
  }
  void Type(const std::string& text) {
    plat::user::driver::TypeText(text);
    plat::user::driver::WaitIdle();
  }
  // Keeps the loop running while time passes, as a held button's timers need (on the
  // virtual clock, which tests that hold a button or wait for a tooltip run on).
  static void Hold(int ms) {
    for (int passed = 0; passed < ms; passed += 50) {
      Sleep(50);
      plat::user::driver::WaitIdle();
    }
  }
  static std::string Text(HWND h) {
    char buf[256];
    GetWindowTextA(h, buf, sizeof buf);
    return buf;
  }

  HWND parent_ = nullptr;
};

}  // namespace controls_test
