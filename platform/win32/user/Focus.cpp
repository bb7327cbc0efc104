#include "Focus.h"

#include <mutex>

#include "Window.h"

namespace plat::user {
namespace {

struct FocusState {
  HWND active = nullptr;
  HWND focus = nullptr;
  HWND capture = nullptr;
  HWND arriving = nullptr;  // has the focus but has not yet been told (WM_SETFOCUS)
};
FocusState& State() {
  static FocusState s;
  return s;
}

bool IsSelfOrDescendant(HWND ancestor, HWND hwnd) { return hwnd && (hwnd == ancestor || IsChild(ancestor, hwnd)); }

// The window that takes activation when `leaving` goes: its owner, else the topmost
// visible, enabled top-level window.
HWND NextToActivate(HWND leaving) {
  auto w = FindWindowObject(leaving);
  if (w && w->owner && IsWindowVisible(w->owner) && IsWindowEnabled(w->owner)) return w->owner;
  for (HWND h : TopLevelWindows())
    if (h != leaving && IsWindowVisible(h) && IsWindowEnabled(h) && !IsIconic(h)) return h;
  return nullptr;
}

HWND Get(HWND FocusState::*field) {
  std::lock_guard lock(UserMutex());
  return State().*field;
}
void Set(HWND FocusState::*field, HWND value) {
  std::lock_guard lock(UserMutex());
  State().*field = value;
}

}  // namespace

void LeaveWindowState(HWND hwnd) {
  if (IsSelfOrDescendant(hwnd, Get(&FocusState::capture))) ReleaseCapture();
  if (HWND f = Get(&FocusState::focus); IsSelfOrDescendant(hwnd, f)) {
    SendMessageA(f, WM_KILLFOCUS, 0, 0);
    Set(&FocusState::focus, nullptr);
  }
  if (Get(&FocusState::active) == hwnd) {
    HWND next = NextToActivate(hwnd);
    SetActiveWindow(next);
  }
}

void ForgetWindowState(HWND hwnd) {
  std::lock_guard lock(UserMutex());
  auto& s = State();
  if (s.active == hwnd) s.active = nullptr;
  if (s.focus == hwnd) s.focus = nullptr;
  if (s.capture == hwnd) s.capture = nullptr;
  for (auto& w : AllWindows())
    if (w->lastActivePopup == hwnd) w->lastActivePopup = nullptr;
}

void WindowHidden(HWND hwnd) {
  if (HWND f = Get(&FocusState::focus); IsSelfOrDescendant(hwnd, f)) SetFocus(nullptr);
  if (Get(&FocusState::active) == hwnd) SetActiveWindow(NextToActivate(hwnd));
}

void WindowDisabled(HWND hwnd) {
  if (HWND f = Get(&FocusState::focus); IsSelfOrDescendant(hwnd, f)) SetFocus(nullptr);
}

}  // namespace plat::user

using namespace plat::user;

HWND SetActiveWindow(HWND hwnd) {
  if (hwnd) {
    if (!IsWindow(hwnd)) return nullptr;
    hwnd = GetAncestor(hwnd, GA_ROOT);
  }
  HWND old = Get(&FocusState::active);
  if (hwnd == old) return old;
  if (old && IsWindow(old)) {
    SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
    SendMessageA(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old)), reinterpret_cast<LPARAM>(hwnd));
  }
  if (hwnd && !IsWindow(hwnd)) hwnd = nullptr;
  Set(&FocusState::active, hwnd);
  if (hwnd) {
    if (auto root = FindWindowObject(GetAncestor(hwnd, GA_ROOTOWNER))) {
      std::lock_guard lock(UserMutex());
      root->lastActivePopup = hwnd;
    }
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(hwnd, WM_NCACTIVATE, TRUE, 0);
    SendMessageA(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, IsIconic(hwnd)), reinterpret_cast<LPARAM>(old));
  }
  // The focus belongs to the active window or one of its children.
  HWND f = Get(&FocusState::focus);
  if (f && !(hwnd && IsSelfOrDescendant(hwnd, f))) SetFocus(nullptr);
  return old;
}

HWND GetActiveWindow() { return Get(&FocusState::active); }
BOOL SetForegroundWindow(HWND hwnd) { return IsWindow(hwnd) && (SetActiveWindow(hwnd), TRUE); }
HWND GetForegroundWindow() { return Get(&FocusState::active); }

HWND GetLastActivePopup(HWND hwnd) {
  auto w = FindWindowObject(hwnd);
  if (!w) return nullptr;
  std::lock_guard lock(UserMutex());
  HWND p = w->lastActivePopup;
  return (p && IsWindow(p) && IsWindowVisible(p)) ? p : hwnd;
}

HWND SetFocus(HWND hwnd) {
  HWND old = Get(&FocusState::focus);
  if (!hwnd) {
    if (old) {
      Set(&FocusState::focus, nullptr);
      if (IsWindow(old)) SendMessageA(old, WM_KILLFOCUS, 0, 0);
    }
    return old;
  }
  if (!IsWindow(hwnd)) return nullptr;
  HWND root = GetAncestor(hwnd, GA_ROOT);
  if (root != GetActiveWindow()) {
    SetActiveWindow(root);
    old = Get(&FocusState::focus);
  }
  if (old == hwnd) return old;
  // The focus moves before the loser hears of it, so the loser may take it back while
  // handling WM_KILLFOCUS (a field that refuses to be left); then the newcomer is never
  // told. A window that never heard WM_SETFOCUS hears no WM_KILLFOCUS either.
  const bool oldWasTold = Get(&FocusState::arriving) != old;
  Set(&FocusState::focus, hwnd);
  Set(&FocusState::arriving, hwnd);
  if (old && oldWasTold && IsWindow(old)) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (Get(&FocusState::focus) != hwnd) return old;
  Set(&FocusState::arriving, nullptr);
  if (!IsWindow(hwnd)) {
    Set(&FocusState::focus, nullptr);
    return old;
  }
  SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() { return Get(&FocusState::focus); }

HWND SetCapture(HWND hwnd) {
  if (!IsWindow(hwnd)) return nullptr;
  HWND old = Get(&FocusState::capture);
  Set(&FocusState::capture, hwnd);
  if (old && old != hwnd && IsWindow(old))
    SendMessageA(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  HWND old = Get(&FocusState::capture);
  if (!old) return TRUE;
  Set(&FocusState::capture, nullptr);
  if (IsWindow(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return Get(&FocusState::capture); }
