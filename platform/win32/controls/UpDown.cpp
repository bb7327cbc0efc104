// The up-down control ("msctls_updown32"): two arrows that step a position within a
// range (either way round, negative allowed), optionally shown in a buddy edit.
#include <algorithm>
#include <cstdio>
#include <string>

#include "../WinCommCtrl.h"
#include "../WinDialog.h"
#include "../user/Repeat.h"
#include "ControlSupport.h"

namespace plat::controls {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;

struct UpDownState {
  int lower = 100, upper = 0;  // the control's own default: the up arrow counts down
  int pos = 0;
  HWND buddy = nullptr;
  bool pressedUp = false, pressedDown = false;
};

StateMap<UpDownState> g_updowns;

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)); }

std::string Format(int v, bool thousands) {
  std::string digits = std::to_string(v < 0 ? -static_cast<long long>(v) : v);
  std::string out = v < 0 ? "-" : "";
  for (size_t i = 0; i < digits.size(); ++i) {
    // A separator before every group of three digits counted from the right.
    if (thousands && i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

// The buddy's number; false when its text is not one.
bool ReadBuddy(HWND buddy, int& value) {
  std::string text = WindowText(buddy), digits;
  for (char c : text)
    if (c != ',' && c != ' ') digits.push_back(c);
  if (digits.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(digits.c_str(), &end, 10);
  if (*end) return false;
  value = static_cast<int>(v);
  return true;
}

void ShowInBuddy(HWND h, UpDownState& s) {
  if (!(Style(h) & UDS_SETBUDDYINT) || !s.buddy) return;
  SetWindowTextA(s.buddy, Format(s.pos, !(Style(h) & UDS_NOTHOUSANDS)).c_str());
}

int Clamp(const UpDownState& s, int v) {
  return std::clamp(v, std::min(s.lower, s.upper), std::max(s.lower, s.upper));
}

// Takes the buddy's number as the position, as the control does before stepping.
bool SyncFromBuddy(HWND h, UpDownState& s) {
  if (!(Style(h) & UDS_SETBUDDYINT) || !s.buddy) return true;
  int v;
  if (!ReadBuddy(s.buddy, v)) return false;
  s.pos = Clamp(s, v);
  return true;
}

void Scroll(HWND h, int code, int pos) {
  SendMessageA(GetParent(h), (Style(h) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, pos),
               reinterpret_cast<LPARAM>(h));
}

// One step toward the upper end (up) or the lower end.
void Step(HWND h, UpDownState& s, bool up) {
  SyncFromBuddy(h, s);
  int delta = (up == (s.upper >= s.lower)) ? 1 : -1;
  NMUPDOWN nm{};
  nm.iPos = s.pos;
  nm.iDelta = delta;
  if (Notify(h, UDN_DELTAPOS, nm.hdr)) return;  // the parent refused the change
  int lo = std::min(s.lower, s.upper), hi = std::max(s.lower, s.upper);
  long long next = static_cast<long long>(s.pos) + nm.iDelta;
  if (next < lo || next > hi) {
    if (!(Style(h) & UDS_WRAP)) next = std::clamp<long long>(next, lo, hi);
    else next = next < lo ? hi : lo;
  }
  if (next != s.pos) {
    s.pos = static_cast<int>(next);
    ShowInBuddy(h, s);
  }
  Scroll(h, SB_THUMBPOSITION, s.pos);
}

// Sits at the buddy's side and narrows it, as UDS_ALIGNRIGHT / UDS_ALIGNLEFT ask.
void Attach(HWND h, UpDownState& s) {
  DWORD style = Style(h);
  if (!s.buddy || !(style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT))) return;
  RECT b, me;
  GetWindowRect(s.buddy, &b);
  GetWindowRect(h, &me);
  HWND parent = GetParent(h);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&b), 2);
  int width = me.right - me.left;
  int height = b.bottom - b.top;
  if (style & UDS_ALIGNRIGHT) {
    SetWindowPos(s.buddy, nullptr, 0, 0, b.right - b.left - width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(h, nullptr, b.right - width, b.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(s.buddy, nullptr, b.left + width, b.top, b.right - b.left - width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(h, nullptr, b.left, b.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// UDS_ARROWKEYS: the buddy's up and down keys step the control.
struct BuddyLink {
  HWND owner = nullptr;
  WNDPROC old = nullptr;
};
StateMap<BuddyLink> g_links;

LRESULT CALLBACK BuddyProc(HWND b, UINT msg, WPARAM w, LPARAM l) {
  auto link = g_links.Get(b);
  if (!link) return DefWindowProcA(b, msg, w, l);
  WNDPROC old = link->old;
  HWND owner = link->owner;
  if (msg == WM_KEYDOWN && (w == VK_UP || w == VK_DOWN) && IsWindow(owner)) {
    if (auto s = g_updowns.Get(owner)) {
      Step(owner, *s, w == VK_UP);
      Scroll(owner, SB_ENDSCROLL, s->pos);
      return 0;
    }
  }
  if (msg == WM_GETDLGCODE) return CallWindowProcA(old, b, msg, w, l) | DLGC_WANTARROWS;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    g_links.Erase(b);
  }
  return CallWindowProcA(old, b, msg, w, l);
}

void SetBuddy(HWND h, UpDownState& s, HWND buddy) {
  s.buddy = buddy;
  if (!buddy) return;
  if ((Style(h) & UDS_ARROWKEYS) && !g_links.Get(buddy)) {
    auto link = g_links.Make(buddy);
    link->owner = h;
    link->old = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BuddyProc)));
  }
  Attach(h, s);
}

RECT Half(HWND h, bool up) {
  RECT rc;
  GetClientRect(h, &rc);
  if (Style(h) & UDS_HORZ) {
    int mid = (rc.left + rc.right) / 2;
    return up ? RECT{mid, rc.top, rc.right, rc.bottom} : RECT{rc.left, rc.top, mid, rc.bottom};
  }
  int mid = (rc.top + rc.bottom) / 2;
  return up ? RECT{rc.left, rc.top, rc.right, mid} : RECT{rc.left, mid, rc.right, rc.bottom};
}

void Paint(HWND h, HDC dc, UpDownState& s) {
  bool horz = Style(h) & UDS_HORZ;
  bool enabled = IsWindowEnabled(h);
  RECT up = Half(h, true), down = Half(h, false);
  DrawFrameControl(dc, &up, DFC_SCROLL,
                   (horz ? DFCS_SCROLLRIGHT : DFCS_SCROLLUP) | (s.pressedUp ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE));
  DrawFrameControl(dc, &down, DFC_SCROLL,
                   (horz ? DFCS_SCROLLLEFT : DFCS_SCROLLDOWN) | (s.pressedDown ? DFCS_PUSHED : 0) |
                       (enabled ? 0 : DFCS_INACTIVE));
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, UpDownState& s) {
  switch (msg) {
    case WM_CREATE:
      if (Style(h) & UDS_AUTOBUDDY) SetBuddy(h, s, GetWindow(h, GW_HWNDPREV));
      return 0;
    case UDM_SETRANGE:
      s.upper = static_cast<short>(LOWORD(l));
      s.lower = static_cast<short>(HIWORD(l));
      s.pos = Clamp(s, s.pos);
      return 0;
    case UDM_GETRANGE: return MAKELONG(static_cast<WORD>(s.upper), static_cast<WORD>(s.lower));
    case UDM_SETRANGE32:
      s.lower = static_cast<int>(w);
      s.upper = static_cast<int>(l);
      s.pos = Clamp(s, s.pos);
      return 0;
    case UDM_GETRANGE32:
      if (w) *reinterpret_cast<int*>(w) = s.lower;
      if (l) *reinterpret_cast<int*>(l) = s.upper;
      return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
      int old = s.pos;
      s.pos = Clamp(s, msg == UDM_SETPOS ? static_cast<short>(LOWORD(l)) : static_cast<int>(l));
      ShowInBuddy(h, s);
      return old;
    }
    case UDM_GETPOS: {
      bool ok = SyncFromBuddy(h, s);
      return MAKELONG(static_cast<WORD>(s.pos), ok ? 0 : 1);
    }
    case UDM_GETPOS32: {
      bool ok = SyncFromBuddy(h, s);
      if (l) *reinterpret_cast<BOOL*>(l) = ok ? FALSE : TRUE;
      return s.pos;
    }
    case UDM_SETBUDDY: {
      HWND old = s.buddy;
      SetBuddy(h, s, reinterpret_cast<HWND>(w));
      return reinterpret_cast<LRESULT>(old);
    }
    case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(s.buddy);
    case UDM_SETBASE: return w == 10 ? 10 : 0;
    case UDM_GETBASE: return 10;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT p = MousePoint(l);
      RECT up = Half(h, true);
      bool isUp = PtInRect(&up, p) != 0;
      (isUp ? s.pressedUp : s.pressedDown) = true;
      SetCapture(h);
      InvalidateRect(h, nullptr, TRUE);
      if (s.buddy && GetFocus() != s.buddy) SetFocus(s.buddy);
      Step(h, s, isUp);
      SetTimer(h, kRepeatTimer, plat::user::kRepeatDelayMs, nullptr);
      return 0;
    }
    case WM_TIMER: {
      if (w != kRepeatTimer) break;
      if (!(s.pressedUp || s.pressedDown) || GetCapture() != h) {
        KillTimer(h, kRepeatTimer);
        return 0;
      }
      // Held: the arrow steps again while the mouse stays on it.
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(h, &p);
      RECT half = Half(h, s.pressedUp);
      if (PtInRect(&half, p)) Step(h, s, s.pressedUp);
      SetTimer(h, kRepeatTimer, plat::user::kRepeatRateMs, nullptr);
      return 0;
    }
    case WM_LBUTTONUP:
      if (s.pressedUp || s.pressedDown) {
        s.pressedUp = s.pressedDown = false;
        KillTimer(h, kRepeatTimer);
        if (GetCapture() == h) ReleaseCapture();
        InvalidateRect(h, nullptr, TRUE);
        Scroll(h, SB_ENDSCROLL, s.pos);
      }
      return 0;
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK UpDownProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DispatchWithState(g_updowns, h, msg, w, l, OnMessage, Paint);
}

}  // namespace plat::controls
