#include "Caret.h"

#include <climits>
#include <map>
#include <mutex>

#include "../Clock.h"
#include "../WinUserUi.h"
#include "Composition.h"
#include "MessageQueue.h"

namespace plat::user {
namespace {

struct CaretState {
  HWND hwnd = nullptr;
  int width = 1, height = 1;
  POINT pos{0, 0};
  int hidden = 1;       // ShowCaret counts down to zero
  bool drawn = false;   // currently inverted on the screen
  int64_t next = 0;
};

std::mutex g_mutex;
std::map<DWORD, CaretState>& Carets() {
  static std::map<DWORD, CaretState> carets;
  return carets;
}
UINT g_blink = 530;

void Invert(const CaretState& c) {
  HDC dc = GetDC(c.hwnd);
  RECT r{c.pos.x, c.pos.y, c.pos.x + c.width, c.pos.y + c.height};
  InvertRect(dc, &r);
  ReleaseDC(c.hwnd, dc);
}

// Calls `f` with the thread's caret when it belongs to `hwnd` (any window when null).
template <class F>
bool WithCaret(HWND hwnd, F f) {
  std::lock_guard lock(g_mutex);
  auto it = Carets().find(CurrentThreadId());
  if (it == Carets().end() || (hwnd && it->second.hwnd != hwnd)) return false;
  f(it->second);
  return true;
}

void Toggle(CaretState& c) {
  Invert(c);
  c.drawn = !c.drawn;
  c.next = plat::clock::NowMicros() + int64_t{g_blink} * 1000;
}

}  // namespace

void HideCaretWhilePainting(HWND hwnd) {
  WithCaret(hwnd, [](CaretState& c) {
    if (c.drawn) Toggle(c);
    ++c.hidden;
  });
}

void ShowCaretAfterPainting(HWND hwnd) { ShowCaret(hwnd); }

int64_t BlinkCaret() {
  int64_t due = INT64_MAX;
  WithCaret(nullptr, [&](CaretState& c) {
    if (c.hidden > 0) return;
    if (plat::clock::NowMicros() >= c.next) Toggle(c);
    due = c.next;
  });
  return due;
}

int64_t CaretDue() {
  int64_t due = INT64_MAX;
  WithCaret(nullptr, [&](CaretState& c) {
    if (c.hidden == 0) due = c.next;
  });
  return due;
}

}  // namespace plat::user

using namespace plat::user;

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
  if (!IsWindow(hwnd)) return FALSE;
  DestroyCaret();
  std::lock_guard lock(g_mutex);
  CaretState c;
  c.hwnd = hwnd;
  c.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
  c.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
  Carets()[CurrentThreadId()] = c;
  return TRUE;
}

BOOL DestroyCaret() {
  std::lock_guard lock(g_mutex);
  auto it = Carets().find(CurrentThreadId());
  if (it == Carets().end()) return FALSE;
  if (it->second.drawn) Invert(it->second);
  Carets().erase(it);
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  return WithCaret(hwnd, [](CaretState& c) {
    if (c.hidden > 0 && --c.hidden == 0 && !c.drawn) Toggle(c);
  });
}

BOOL HideCaret(HWND hwnd) {
  return WithCaret(hwnd, [](CaretState& c) {
    if (c.drawn) Toggle(c);
    ++c.hidden;
  });
}

BOOL SetCaretPos(int x, int y) {
  return WithCaret(nullptr, [&](CaretState& c) {
    bool wasDrawn = c.drawn;
    if (wasDrawn) Invert(c);
    c.pos = POINT{x, y};
    if (wasDrawn) Invert(c);
  });
}

BOOL GetCaretPos(LPPOINT point) {
  if (!point) return FALSE;
  return WithCaret(nullptr, [&](CaretState& c) { *point = c.pos; });
}

UINT GetCaretBlinkTime() { return g_blink; }
BOOL SetCaretBlinkTime(UINT ms) {
  g_blink = ms ? ms : 530;
  return TRUE;
}
