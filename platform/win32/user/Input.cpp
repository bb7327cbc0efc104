#include "Input.h"

#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>

#include "../Clock.h"
#include "Window.h"

namespace plat::user {
namespace {

struct InputState {
  std::mutex m;
  POINT cursor{0, 0};
  BYTE keys[256] = {};  // the physical state, as GetAsyncKeyState reads it
  // The thread that got the last mouse input over a window (under `route`, taken before
  // any queue's lock).
  std::mutex route;
  DWORD lastThread = 0;
  struct Click {
    int button = -1;
    HWND hwnd = nullptr;
    POINT pt{};
    int64_t time = 0;
    bool nonClient = false;
  } lastDown;
  HWND lastPressed = nullptr;  // the window the last mouse button went to
};
InputState& State() {
  static InputState s;
  return s;
}

DWORD Tick() { return static_cast<DWORD>(plat::clock::NowMicros() / 1000); }

bool Down(const BYTE* keys, int vk) { return (keys[vk] & 0x80) != 0; }

// Whether the window and every parent are enabled (a disabled window's children get no input).
bool InputEnabled(HWND hwnd) {
  for (HWND h = hwnd; h && h != DesktopHwnd(); h = GetParent(h)) {
    if (!IsWindowEnabled(h)) return false;
    if (!(GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) break;
  }
  return true;
}

WPARAM MouseKeys(const BYTE* keys) {
  WPARAM mk = 0;
  if (Down(keys, VK_LBUTTON)) mk |= MK_LBUTTON;
  if (Down(keys, VK_RBUTTON)) mk |= MK_RBUTTON;
  if (Down(keys, VK_MBUTTON)) mk |= MK_MBUTTON;
  if (Down(keys, VK_SHIFT)) mk |= MK_SHIFT;
  if (Down(keys, VK_CONTROL)) mk |= MK_CONTROL;
  return mk;
}

void Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, POINT pt) {
  auto w = FindWindowObject(hwnd);
  if (w) PostToThread(w->threadId, MSG{hwnd, msg, wParam, lParam, Tick(), pt});
}

HWND Target(POINT pt, int* hit) {
  HWND capture = GetCapture();
  if (capture) {
    *hit = HTCLIENT;
    return capture;
  }
  HWND h = HitTestPoint(DesktopHwnd(), pt, hit);
  if (!h) return nullptr;
  if (*hit == kHitNotAsked) *hit = static_cast<int>(SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
  return h;
}

MSG MouseMessage(UINT clientMsg, UINT ncMsg, const RawInput& raw, int hit, HWND target) {
  const DWORD time = static_cast<DWORD>(raw.micros / 1000);
  if (hit == HTCLIENT) {
    POINT c = raw.pt;
    ScreenToClient(target, &c);
    return MSG{target, clientMsg, raw.keys, MAKELPARAM(c.x, c.y), time, raw.pt};
  }
  return MSG{target, ncMsg, static_cast<WPARAM>(hit), MAKELPARAM(raw.pt.x, raw.pt.y), time, raw.pt};
}

DWORD Micros(int64_t micros) { return static_cast<DWORD>(micros / 1000); }

// Queues mouse input on the thread of the window it would reach now (the capture or the
// window under it); the window and message are settled when that thread reads it. Input
// over no window goes where the input before it went: a capture taken as that thread reads
// the press that starts a drag still gets the rest of the drag, in order, over the bare
// desktop too.
void QueueMouse(int button, bool down, POINT pt, const BYTE* keys) {
  HWND capture = GetCapture();
  HWND target = capture ? capture : WindowFromPoint(pt);
  auto w = target ? FindWindowObject(target) : nullptr;
  if (w && button >= 0 && down) {
    std::lock_guard lock(State().m);
    State().lastPressed = target;
  }
  auto raw = std::make_shared<RawInput>(RawInput{.button = button, .down = down, .pt = pt, .keys = MouseKeys(keys),
                                                 .micros = plat::clock::NowMicros()});
  UINT msg = button < 0 ? WM_MOUSEMOVE : static_cast<UINT>(WM_LBUTTONDOWN + 3 * button + (down ? 0 : 1));
  const MSG provisional{target, msg, raw->keys, 0, Micros(raw->micros), pt};
  auto& s = State();
  std::lock_guard lock(s.route);
  if (!w) {
    if (s.lastThread) PostRawInput(s.lastThread, provisional, raw);
    return;
  }
  if (PostRawInput(w->threadId, provisional, raw)) s.lastThread = w->threadId;
}

// Keys reach the focus, or without one the active window, as system keys.
std::optional<MSG> CookKey(const RawInput& raw) {
  HWND focus = GetFocus();
  HWND target = focus ? focus : GetActiveWindow();
  if (!target) return std::nullopt;
  const bool sys = raw.system || !focus;
  const UINT msg = sys ? (raw.down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (raw.down ? WM_KEYDOWN : WM_KEYUP);
  return MSG{target, msg, raw.code, raw.data, Micros(raw.micros), raw.pt};
}

std::optional<MSG> CookChar(const RawInput& raw) {
  HWND focus = GetFocus();
  if (!focus) return std::nullopt;
  return MSG{focus, WM_CHAR, raw.code, 1, Micros(raw.micros), raw.pt};
}

// Queues a key or character on the thread of the window it would reach now; the window
// and message are settled when that thread reads it. With no such window yet (a click
// that activates one is still queued), it waits behind that click on its thread.
void QueueFocused(const RawInput& input) {
  auto raw = std::make_shared<RawInput>(input);
  raw->micros = plat::clock::NowMicros();
  GetCursorPos(&raw->pt);
  auto made = raw->kind == RawInput::Kind::Key ? CookKey(*raw) : CookChar(*raw);
  if (!made) {
    std::lock_guard lock(State().m);
    if (!State().lastPressed) return;
    const UINT msg = raw->kind == RawInput::Kind::Char ? WM_CHAR : raw->down ? WM_KEYDOWN : WM_KEYUP;
    made = MSG{State().lastPressed, msg, raw->code, raw->data, Micros(raw->micros), raw->pt};
  }
  auto w = FindWindowObject(made->hwnd);
  if (w) PostRawInput(w->threadId, *made, raw);
}

}  // namespace

void TrackKeyState(ThreadQueue& q, const MSG& m) {
  auto set = [&](int vk, bool down) {
    if (down && !(q.keys[vk] & 0x80)) q.keys[vk] ^= 0x01;
    q.keys[vk] = static_cast<BYTE>(down ? (q.keys[vk] | 0x80) : (q.keys[vk] & ~0x80));
  };
  switch (m.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
      int vk = static_cast<int>(m.wParam & 0xFF);
      if (down) {
        bool menuKey = vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU || vk == VK_F10;
        bool repeat = (q.keys[vk] & 0x80) != 0;
        if (!menuKey) q.menuKeyAlone = false;
        else if (!repeat) q.menuKeyAlone = !(q.keys[VK_SHIFT] & 0x80);
      }
      set(vk, down);
      if (vk == VK_LSHIFT || vk == VK_RSHIFT) set(VK_SHIFT, down);
      if (vk == VK_LCONTROL || vk == VK_RCONTROL) set(VK_CONTROL, down);
      if (vk == VK_LMENU || vk == VK_RMENU) set(VK_MENU, down);
      break;
    }
    default:
      // A mouse button used while Alt is down makes Alt a chord, not a menu key.
      if ((m.message >= WM_LBUTTONDOWN && m.message <= WM_MBUTTONDBLCLK) ||
          (m.message >= WM_NCLBUTTONDOWN && m.message <= WM_NCMBUTTONDBLCLK))
        q.menuKeyAlone = false;
      if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST && m.message != WM_MOUSEWHEEL) {
        set(VK_LBUTTON, (m.wParam & MK_LBUTTON) != 0);
        set(VK_RBUTTON, (m.wParam & MK_RBUTTON) != 0);
        set(VK_MBUTTON, (m.wParam & MK_MBUTTON) != 0);
      }
  }
}

int CharacterOfKey(UINT vk, const BYTE* keys, bool systemKey) {
  bool shift = Down(keys, VK_SHIFT);
  bool ctrl = Down(keys, VK_CONTROL);
  bool caps = (keys[VK_CAPITAL] & 0x01) != 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return static_cast<int>(vk - 'A' + 1);
    if (!systemKey) return -1;
    return (shift != caps) ? static_cast<int>(vk) : static_cast<int>(vk - 'A' + 'a');
  }
  if (ctrl) {
    if (vk == VK_RETURN) return '\n';
    if (vk == VK_BACK) return 0x7F;
    return -1;
  }
  if (systemKey && !shift && vk >= '0' && vk <= '9') return static_cast<int>(vk);
  switch (vk) {
    case VK_SPACE: return systemKey ? ' ' : -1;
    case VK_RETURN: return '\r';
    case VK_BACK: return '\b';
    case VK_TAB: return '\t';
    case VK_ESCAPE: return 0x1B;
    default: return -1;
  }
}

namespace input {

void MouseMove(int x, int y) {
  auto& s = State();
  BYTE keys[256];
  {
    std::lock_guard lock(s.m);
    s.cursor = POINT{x, y};
    std::copy(std::begin(s.keys), std::end(s.keys), keys);
  }
  QueueMouse(-1, false, POINT{x, y}, keys);
}

void MouseButton(int button, bool down) {
  if (button < 0 || button > 2) return;
  static const int kVk[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
  auto& s = State();
  POINT pt;
  BYTE keys[256];
  {
    std::lock_guard lock(s.m);
    s.keys[kVk[button]] = static_cast<BYTE>(down ? 0x80 : 0);
    pt = s.cursor;
    std::copy(std::begin(s.keys), std::end(s.keys), keys);
  }
  QueueMouse(button, down, pt, keys);
}

void Key(UINT vk, bool down) {
  vk &= 0xFF;
  auto& s = State();
  bool wasDown, alt, ctrl;
  {
    std::lock_guard lock(s.m);
    wasDown = (s.keys[vk] & 0x80) != 0;
    if (down && !wasDown) s.keys[vk] ^= 0x01;
    s.keys[vk] = static_cast<BYTE>(down ? (s.keys[vk] | 0x80) : (s.keys[vk] & 0x01));
    alt = (s.keys[VK_MENU] & 0x80) != 0;
    ctrl = (s.keys[VK_CONTROL] & 0x80) != 0;
  }
  // Alt chords and F10 are system keys (and, when read, every key without a focus window).
  const bool sys = (alt && !ctrl) || vk == VK_MENU || vk == VK_F10;
  LPARAM lp = 1 | (static_cast<LPARAM>(vk & 0xFF) << 16);
  if (alt) lp |= 1L << 29;
  if (wasDown) lp |= 1L << 30;
  if (!down) lp |= (1L << 30) | (1L << 31);
  QueueFocused(RawInput{.kind = RawInput::Kind::Key, .down = down, .code = vk,
                        .data = static_cast<LPARAM>(static_cast<DWORD>(lp)), .system = sys});
}

void Wheel(int steps) {
  HWND target = GetFocus();
  if (!target || !steps) return;
  auto& s = State();
  BYTE keys[256];
  POINT pt;
  {
    std::lock_guard lock(s.m);
    std::copy(std::begin(s.keys), std::end(s.keys), keys);
    pt = s.cursor;
  }
  Post(target, WM_MOUSEWHEEL, MAKEWPARAM(MouseKeys(keys), static_cast<WORD>(steps * WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y), pt);
}

void Chars(const std::string& text) {
  for (unsigned char c : text) QueueFocused(RawInput{.kind = RawInput::Kind::Char, .code = c});
}

}  // namespace input

std::optional<MSG> CookInput(const RawInput& raw) {
  if (raw.kind == RawInput::Kind::Key) return CookKey(raw);
  if (raw.kind == RawInput::Kind::Char) return CookChar(raw);
  const POINT pt = raw.pt;
  int hit = HTNOWHERE;
  HWND target = Target(pt, &hit);
  if (!target) return std::nullopt;
  const bool captured = GetCapture() != nullptr;
  if (!captured && !InputEnabled(target)) return std::nullopt;
  if (raw.button < 0) {
    if (!captured) SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, WM_MOUSEMOVE));
    if (!IsWindow(target)) return std::nullopt;
    return MouseMessage(WM_MOUSEMOVE, WM_NCMOUSEMOVE, raw, hit, target);
  }
  const int button = raw.button;
  const bool down = raw.down;
  UINT base = static_cast<UINT>(WM_LBUTTONDOWN + 3 * button);
  UINT ncBase = static_cast<UINT>(WM_NCLBUTTONDOWN + 3 * button);
  if (down && !captured) {
    HWND top = GetAncestor(target, GA_ROOT);
    HWND active = GetActiveWindow();
    // Every window but the active one hears of the click first: a child of the active
    // window too (a view, an MDI child), which takes its own activation from it.
    if (top && target != active) {
      LRESULT r = SendMessageA(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELPARAM(hit, base));
      if ((r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) && top != active) SetActiveWindow(top);
      if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT) return std::nullopt;
    }
    if (IsWindow(target))
      SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, base));
  }
  if (!IsWindow(target)) return std::nullopt;
  UINT msg = down ? base : base + 1, ncMsg = down ? ncBase : ncBase + 1;
  if (down) {
    auto& s = State();
    std::lock_guard lock(s.m);
    auto& last = s.lastDown;
    bool nonClient = hit != HTCLIENT;
    bool classAllows = nonClient || (GetClassLongA(target, GCL_STYLE) & CS_DBLCLKS);
    if (last.button == button && last.hwnd == target && last.nonClient == nonClient && classAllows &&
        raw.micros - last.time <= int64_t{GetDoubleClickTime()} * 1000 &&
        std::abs(pt.x - last.pt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
        std::abs(pt.y - last.pt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2) {
      msg = base + 2;
      ncMsg = ncBase + 2;
      last = InputState::Click{};  // a third click starts over
    } else {
      last = InputState::Click{button, target, pt, raw.micros, nonClient};
    }
  }
  return MouseMessage(msg, ncMsg, raw, hit, target);
}

bool RawInputMayMatch(const RawInput& raw, UINT first, UINT last) {
  if (first == 0 && last == 0) return true;
  auto in = [&](UINT m) { return m >= first && m <= last; };
  if (raw.kind == RawInput::Kind::Key) return raw.down ? in(WM_KEYDOWN) || in(WM_SYSKEYDOWN) : in(WM_KEYUP) || in(WM_SYSKEYUP);
  if (raw.kind == RawInput::Kind::Char) return in(WM_CHAR);
  if (raw.button < 0) return in(WM_MOUSEMOVE) || in(WM_NCMOUSEMOVE);
  const UINT base = static_cast<UINT>(WM_LBUTTONDOWN + 3 * raw.button);
  const UINT ncBase = static_cast<UINT>(WM_NCLBUTTONDOWN + 3 * raw.button);
  for (UINT k = 0; k < 3; ++k)
    if (in(base + k) || in(ncBase + k)) return true;
  return false;
}

}  // namespace plat::user

using namespace plat::user;

SHORT GetKeyState(int vk) {
  BYTE k = CurrentQueue()->keys[vk & 0xFF];
  return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

SHORT GetAsyncKeyState(int vk) {
  auto& s = State();
  std::lock_guard lock(s.m);
  return static_cast<SHORT>((s.keys[vk & 0xFF] & 0x80) ? 0x8000 : 0);
}

BOOL GetKeyboardState(PBYTE state) {
  if (!state) return FALSE;
  auto q = CurrentQueue();
  std::copy(std::begin(q->keys), std::end(q->keys), state);
  return TRUE;
}

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  auto& s = State();
  std::lock_guard lock(s.m);
  *point = s.cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  input::MouseMove(x, y);
  return TRUE;
}

UINT GetDoubleClickTime() { return 500; }
