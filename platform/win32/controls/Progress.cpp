// The progress bar ("msctls_progress32"): a range, a position, a step, and a bar drawn
// in blocks or smooth.
#include <algorithm>

#include "../WinCommCtrl.h"
#include "ControlSupport.h"

namespace plat::controls {
namespace {

struct ProgressState {
  int min = 0, max = 100, pos = 0, step = 10;
  COLORREF bar = static_cast<COLORREF>(CLR_DEFAULT);
  COLORREF back = static_cast<COLORREF>(CLR_DEFAULT);
};

StateMap<ProgressState> g_bars;

int Move(HWND h, ProgressState& s, long long to) {
  int old = s.pos;
  int pos = static_cast<int>(std::clamp<long long>(to, s.min, std::max(s.min, s.max)));
  if (pos != s.pos) {
    s.pos = pos;
    InvalidateRect(h, nullptr, FALSE);
  }
  return old;
}

void FillBack(HDC dc, const RECT& rc, const ProgressState& s) {
  HBRUSH back = s.back == static_cast<COLORREF>(CLR_DEFAULT) ? nullptr : CreateSolidBrush(s.back);
  FillRect(dc, &rc, back ? back : GetSysColorBrush(COLOR_BTNFACE));
  if (back) DeleteObject(back);
}

void Paint(HWND h, HDC dc, ProgressState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  FillBack(dc, rc, s);
  DWORD style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
  bool vert = style & PBS_VERTICAL;
  int length = vert ? rc.bottom - rc.top : rc.right - rc.left;
  int filled = s.max > s.min ? static_cast<int>(static_cast<long long>(s.pos - s.min) * length / (s.max - s.min)) : 0;
  HBRUSH bar = s.bar == static_cast<COLORREF>(CLR_DEFAULT) ? nullptr : CreateSolidBrush(s.bar);
  HBRUSH fill = bar ? bar : GetSysColorBrush(COLOR_HIGHLIGHT);
  auto part = [&](int a, int b) {
    RECT r = vert ? RECT{rc.left, rc.bottom - b, rc.right, rc.bottom - a} : RECT{rc.left + a, rc.top, rc.left + b, rc.bottom};
    FillRect(dc, &r, fill);
  };
  if (style & PBS_SMOOTH) {
    part(0, filled);
  } else {
    // Blocks two thirds as wide as the bar is high, two pixels apart.
    int breadth = vert ? rc.right - rc.left : rc.bottom - rc.top;
    int block = std::max(2, breadth * 2 / 3);
    for (int a = 0; a < filled; a += block + 2) part(a, std::min(a + block, length));
  }
  if (bar) DeleteObject(bar);
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, ProgressState& s) {
  switch (msg) {
    case PBM_SETRANGE:
    case PBM_SETRANGE32: {
      LRESULT old = MAKELONG(static_cast<WORD>(s.min), static_cast<WORD>(s.max));
      if (msg == PBM_SETRANGE) {
        s.min = LOWORD(l);
        s.max = HIWORD(l);
      } else {
        s.min = static_cast<int>(w);
        s.max = static_cast<int>(l);
      }
      Move(h, s, s.pos);
      InvalidateRect(h, nullptr, FALSE);
      return old;
    }
    case PBM_GETRANGE:
      if (l) *reinterpret_cast<PBRANGE*>(l) = PBRANGE{s.min, s.max};
      return w ? s.min : s.max;
    case PBM_SETPOS: return Move(h, s, static_cast<int>(w));
    case PBM_GETPOS: return s.pos;
    case PBM_DELTAPOS: return Move(h, s, static_cast<long long>(s.pos) + static_cast<int>(w));
    case PBM_SETSTEP: {
      int old = s.step;
      s.step = static_cast<int>(w);
      return old;
    }
    case PBM_STEPIT: {
      // Past the end the bar starts over from the beginning.
      long long next = static_cast<long long>(s.pos) + s.step;
      if (s.max > s.min && next > s.max) next = s.min + (next - s.min) % (s.max - s.min);
      return Move(h, s, next);
    }
    case PBM_SETBARCOLOR:
    case PBM_SETBKCOLOR: {
      COLORREF& c = msg == PBM_SETBARCOLOR ? s.bar : s.back;
      COLORREF old = c;
      c = static_cast<COLORREF>(l);
      InvalidateRect(h, nullptr, FALSE);
      return static_cast<LRESULT>(old);
    }
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK ProgressProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  // The bar clears its background when erased, as the common control does: a subclass
  // that paints the bar itself starts from an empty control.
  if (msg == WM_ERASEBKGND) {
    if (auto s = g_bars.Get(h)) {
      RECT rc;
      GetClientRect(h, &rc);
      FillBack(reinterpret_cast<HDC>(w), rc, *s);
      return 1;
    }
  }
  return DispatchWithState(g_bars, h, msg, w, l, OnMessage, Paint);
}

}  // namespace plat::controls
