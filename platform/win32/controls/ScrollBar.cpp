// Scroll bars: the "ScrollBar" control and the scroll information of windows with
// WS_HSCROLL / WS_VSCROLL (SetScrollInfo and its family).
#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

#include "../WinDialog.h"
#include "../user/Repeat.h"
#include "ControlSupport.h"

namespace plat::controls {
namespace {

struct BarInfo {
  int min = 0, max = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
};

struct ScrollState {
  BarInfo info;
  bool dragging = false;
  int dragOffset = 0;
  int repeatCode = -1;  // the arrow or page code held down
};

StateMap<ScrollState> g_scrollBars;

constexpr UINT_PTR kRepeatTimer = 1;

bool Vertical(HWND h) { return GetWindowLongA(h, GWL_STYLE) & SBS_VERT; }

int MaxPos(const BarInfo& b) {
  int top = b.max - (b.page ? static_cast<int>(b.page) - 1 : 0);
  return std::max(b.min, top);
}

// Applies the parts of `si` its mask names; the position stays in range.
void Apply(BarInfo& b, const SCROLLINFO& si) {
  if (si.fMask & SIF_RANGE) {
    b.min = si.nMin;
    b.max = std::max(si.nMin, si.nMax);
  }
  if (si.fMask & SIF_PAGE) b.page = std::min<UINT>(si.nPage, static_cast<UINT>(b.max - b.min + 1));
  if (si.fMask & SIF_POS) b.pos = si.nPos;
  b.pos = std::clamp(b.pos, b.min, MaxPos(b));
}

void Fill(const BarInfo& b, SCROLLINFO& si) {
  if (si.fMask & SIF_RANGE) {
    si.nMin = b.min;
    si.nMax = b.max;
  }
  if (si.fMask & SIF_PAGE) si.nPage = b.page;
  if (si.fMask & SIF_POS) si.nPos = b.pos;
  if (si.fMask & SIF_TRACKPOS) si.nTrackPos = b.trackPos;
}

// Geometry along the bar: arrows at the ends, the thumb in between.
struct Parts {
  int length, arrow, thumbStart, thumbSize;
};

Parts Layout(HWND h, const BarInfo& b, int pos) {
  RECT rc;
  GetClientRect(h, &rc);
  bool vert = Vertical(h);
  int length = vert ? rc.bottom : rc.right;
  int breadth = vert ? rc.right : rc.bottom;
  int arrow = std::min(breadth, length / 2);
  int track = std::max(0, length - 2 * arrow);
  int span = b.max - b.min + 1;
  int thumb = b.page ? std::max(8, static_cast<int>(static_cast<long long>(track) * b.page / std::max(1, span))) : std::min(breadth, track);
  thumb = std::min(thumb, track);
  int room = track - thumb;
  int range = MaxPos(b) - b.min;
  int start = arrow + (range > 0 ? static_cast<int>(static_cast<long long>(pos - b.min) * room / range) : 0);
  return Parts{length, arrow, start, thumb};
}

void Scroll(HWND h, int code, int pos) {
  HWND parent = GetParent(h);
  if (!parent) return;
  bool withPos = code == SB_THUMBTRACK || code == SB_THUMBPOSITION;
  SendMessageA(parent, Vertical(h) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, withPos ? pos : 0),
               reinterpret_cast<LPARAM>(h));
}

RECT Rect(bool vert, int a0, int a1, const RECT& rc) {
  return vert ? RECT{rc.left, a0, rc.right, a1} : RECT{a0, rc.top, a1, rc.bottom};
}

void Paint(HWND h, HDC dc, ScrollState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  bool vert = Vertical(h);
  Parts p = Layout(h, s.info, s.dragging ? s.info.trackPos : s.info.pos);
  RECT track = Rect(vert, p.arrow, p.length - p.arrow, rc);
  FillRect(dc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
  bool enabled = IsWindowEnabled(h);
  RECT first = Rect(vert, 0, p.arrow, rc), last = Rect(vert, p.length - p.arrow, p.length, rc);
  UINT inactive = enabled ? 0 : DFCS_INACTIVE;
  DrawFrameControl(dc, &first, DFC_SCROLL, (vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | inactive);
  DrawFrameControl(dc, &last, DFC_SCROLL, (vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | inactive);
  if (enabled && p.thumbSize > 0 && s.info.max > s.info.min) {
    RECT thumb = Rect(vert, p.thumbStart, p.thumbStart + p.thumbSize, rc);
    FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
  }
}

// The code a press at `at` (along the bar) asks for, or SB_THUMBTRACK on the thumb.
int HitCode(HWND h, const ScrollState& s, int at) {
  Parts p = Layout(h, s.info, s.info.pos);
  if (at < p.arrow) return SB_LINEUP;
  if (at >= p.length - p.arrow) return SB_LINEDOWN;
  if (at < p.thumbStart) return SB_PAGEUP;
  if (at >= p.thumbStart + p.thumbSize) return SB_PAGEDOWN;
  return SB_THUMBTRACK;
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, ScrollState& s) {
  switch (msg) {
    case SBM_SETPOS: {
      int old = s.info.pos;
      SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, static_cast<int>(w), 0};
      Apply(s.info, si);
      if (l) InvalidateRect(h, nullptr, TRUE);
      return old;
    }
    case SBM_GETPOS: return s.info.pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
      SCROLLINFO si{sizeof si, SIF_RANGE, static_cast<int>(w), static_cast<int>(l), 0, 0, 0};
      int old = s.info.pos;
      Apply(s.info, si);
      if (msg == SBM_SETRANGEREDRAW) InvalidateRect(h, nullptr, TRUE);
      return old;
    }
    case SBM_GETRANGE:
      if (w) *reinterpret_cast<int*>(w) = s.info.min;
      if (l) *reinterpret_cast<int*>(l) = s.info.max;
      return 0;
    case SBM_SETSCROLLINFO:
      if (!l) return s.info.pos;
      Apply(s.info, *reinterpret_cast<const SCROLLINFO*>(l));
      if (w) InvalidateRect(h, nullptr, TRUE);
      return s.info.pos;
    case SBM_GETSCROLLINFO:
      if (!l) return FALSE;
      Fill(s.info, *reinterpret_cast<SCROLLINFO*>(l));
      return TRUE;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT pt = MousePoint(l);
      int at = Vertical(h) ? pt.y : pt.x;
      int code = HitCode(h, s, at);
      SetCapture(h);
      if (code == SB_THUMBTRACK) {
        s.dragging = true;
        s.info.trackPos = s.info.pos;
        s.dragOffset = at - Layout(h, s.info, s.info.pos).thumbStart;
      } else {
        s.repeatCode = code;
        Scroll(h, code, 0);
        SetTimer(h, kRepeatTimer, plat::user::kRepeatDelayMs, nullptr);
      }
      return 0;
    }
    case WM_TIMER: {
      if (w != kRepeatTimer) break;
      if (s.repeatCode < 0 || GetCapture() != h) {
        KillTimer(h, kRepeatTimer);
        return 0;
      }
      // Held: the step repeats while the mouse stays on the part it pressed.
      POINT pt;
      GetCursorPos(&pt);
      ScreenToClient(h, &pt);
      RECT rc;
      GetClientRect(h, &rc);
      if (PtInRect(&rc, pt) && HitCode(h, s, Vertical(h) ? pt.y : pt.x) == s.repeatCode) Scroll(h, s.repeatCode, 0);
      SetTimer(h, kRepeatTimer, plat::user::kRepeatRateMs, nullptr);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (s.dragging) {
        POINT pt = MousePoint(l);
        Parts p = Layout(h, s.info, s.info.pos);
        int room = p.length - 2 * p.arrow - p.thumbSize;
        int offset = (Vertical(h) ? pt.y : pt.x) - s.dragOffset - p.arrow;
        int range = MaxPos(s.info) - s.info.min;
        int pos = room > 0 ? s.info.min + static_cast<int>((static_cast<long long>(std::clamp(offset, 0, room)) * range + room / 2) / room)
                           : s.info.min;
        if (pos != s.info.trackPos) {
          s.info.trackPos = pos;
          InvalidateRect(h, nullptr, TRUE);
          Scroll(h, SB_THUMBTRACK, pos);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      if (s.dragging || s.repeatCode >= 0) {
        bool dragged = s.dragging;
        s.dragging = false;
        s.repeatCode = -1;
        KillTimer(h, kRepeatTimer);
        if (GetCapture() == h) ReleaseCapture();
        if (dragged) Scroll(h, SB_THUMBPOSITION, s.info.trackPos);
        Scroll(h, SB_ENDSCROLL, 0);
        InvalidateRect(h, nullptr, TRUE);
      }
      return 0;
    case WM_KEYDOWN: {
      int code = -1;
      switch (w) {
        case VK_UP: case VK_LEFT: code = SB_LINEUP; break;
        case VK_DOWN: case VK_RIGHT: code = SB_LINEDOWN; break;
        case VK_PRIOR: code = SB_PAGEUP; break;
        case VK_NEXT: code = SB_PAGEDOWN; break;
        case VK_HOME: code = SB_TOP; break;
        case VK_END: code = SB_BOTTOM; break;
        default: break;
      }
      if (code < 0) break;
      Scroll(h, code, 0);
      Scroll(h, SB_ENDSCROLL, 0);
      return 0;
    }
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}


}  // namespace

LRESULT CALLBACK ScrollBarProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DispatchWithState(g_scrollBars, h, msg, w, l, OnMessage, Paint);
}

}  // namespace plat::controls

