#include "ScrollBars.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "../LastError.h"
#include "../RectApi.h"
#include "../WinError.h"
#include "Composition.h"
#include "MouseTracking.h"
#include "Repeat.h"
#include "NcLayout.h"
#include "Window.h"

namespace plat::user {
namespace {

struct BarState {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 100, 0, 0, 0};
  UINT disabled = 0;  // ESB_ flags
};
struct WindowBars {
  BarState bars[2];  // SB_HORZ, SB_VERT
};

std::mutex g_mutex;
std::map<HWND, WindowBars>& States() {
  static std::map<HWND, WindowBars> states;
  return states;
}

// The largest position the thumb can reach: the page's worth short of the maximum.
int MaxPos(const SCROLLINFO& si) {
  int page = si.nPage ? static_cast<int>(si.nPage) - 1 : 0;
  return std::max(si.nMin, si.nMax - page);
}

bool Scrollable(const SCROLLINFO& si) {
  return si.nMax > si.nMin && (!si.nPage || static_cast<int>(si.nPage) <= si.nMax - si.nMin);
}

// The bars are part of the frame: it is drawn again at once, the client area left alone.
void RedrawFrame(HWND hwnd) {
  if (IsWindowVisible(hwnd)) SendMessageA(hwnd, WM_NCPAINT, 1, 0);
}

// The bar's rectangle in window coordinates.
RECT BarRect(HWND hwnd, int bar) {
  auto w = FindWindowObject(hwnd);
  if (!w) return {};
  std::lock_guard lock(UserMutex());
  NcLayout l = LayoutOf(*w);
  return bar == SB_VERT ? l.vScroll : l.hScroll;
}

void Notify(HWND hwnd, int bar, int code, int pos) {
  SendMessageA(hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, pos), 0);
}

}  // namespace

ScrollBarParts PartsOf(const RECT& bar, bool vertical, const SCROLLINFO& si) {
  ScrollBarParts p;
  const int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
  const int thick = vertical ? bar.right - bar.left : bar.bottom - bar.top;
  const int arrow = std::min(thick, length / 2);
  p.first = p.last = bar;
  if (vertical) {
    p.first.bottom = bar.top + arrow;
    p.last.top = bar.bottom - arrow;
    p.track = RECT{bar.left, p.first.bottom, bar.right, p.last.top};
  } else {
    p.first.right = bar.left + arrow;
    p.last.left = bar.right - arrow;
    p.track = RECT{p.first.right, bar.top, p.last.left, bar.bottom};
  }
  const int trackLength = length - 2 * arrow;
  if (!Scrollable(si) || trackLength < 8) return p;
  const int span = si.nMax - si.nMin + 1;
  int size = si.nPage ? static_cast<int>(static_cast<long long>(trackLength) * si.nPage / span) : thick;
  size = std::clamp(size, std::min(8, trackLength), trackLength);
  const int maxPos = MaxPos(si);
  const int pos = std::clamp(si.nPos, si.nMin, maxPos);
  const int offset =
      maxPos > si.nMin ? static_cast<int>(static_cast<long long>(trackLength - size) * (pos - si.nMin) / (maxPos - si.nMin)) : 0;
  p.thumb = p.track;
  if (vertical) {
    p.thumb.top = p.track.top + offset;
    p.thumb.bottom = p.thumb.top + size;
  } else {
    p.thumb.left = p.track.left + offset;
    p.thumb.right = p.thumb.left + size;
  }
  return p;
}

SCROLLINFO WindowScrollInfo(HWND hwnd, int bar) {
  std::lock_guard lock(g_mutex);
  auto it = States().find(hwnd);
  return it == States().end() ? BarState{}.info : it->second.bars[bar == SB_VERT ? 1 : 0].info;
}

UINT WindowScrollArrows(HWND hwnd, int bar) {
  std::lock_guard lock(g_mutex);
  auto it = States().find(hwnd);
  return it == States().end() ? 0 : it->second.bars[bar == SB_VERT ? 1 : 0].disabled;
}

void ForgetScrollBars(HWND hwnd) {
  std::lock_guard lock(g_mutex);
  States().erase(hwnd);
}

namespace {

// The part of a window's bar at a screen point: an arrow's or page's code, SB_THUMBTRACK
// on the thumb, -1 elsewhere.
// A window's bar as it stands: window rectangle, scroll information and parts.
struct BarNow {
  bool vertical;
  RECT wr;
  SCROLLINFO si;
  ScrollBarParts parts;
};

BarNow Measure(HWND hwnd, int bar) {
  BarNow b{bar == SB_VERT, {}, WindowScrollInfo(hwnd, bar), {}};
  GetWindowRect(hwnd, &b.wr);
  b.parts = PartsOf(BarRect(hwnd, bar), b.vertical, b.si);
  return b;
}

int CodeAt(HWND hwnd, int bar, POINT screen) {
  const auto [vertical, wr, si, parts] = Measure(hwnd, bar);
  POINT p{screen.x - wr.left, screen.y - wr.top};
  if (PtInRect(&parts.first, p)) return SB_LINEUP;
  if (PtInRect(&parts.last, p)) return SB_LINEDOWN;
  if (IsRectEmpty(&parts.thumb)) return -1;
  if (PtInRect(&parts.thumb, p)) return SB_THUMBTRACK;
  if (!PtInRect(&parts.track, p)) return -1;
  return (vertical ? p.y < parts.thumb.top : p.x < parts.thumb.left) ? SB_PAGEUP : SB_PAGEDOWN;
}

// The arrow or page held down in this thread's scroll-bar loop.
struct HeldPart {
  HWND hwnd;
  int bar;
  int code;
};
thread_local HeldPart* t_held = nullptr;

void CALLBACK RepeatStep(HWND, UINT, UINT_PTR id, DWORD) {
  if (!t_held) return;
  POINT cursor;
  GetCursorPos(&cursor);
  if (CodeAt(t_held->hwnd, t_held->bar, cursor) == t_held->code) Notify(t_held->hwnd, t_held->bar, t_held->code, 0);
  SetTimer(nullptr, id, kRepeatRateMs, RepeatStep);
}

}  // namespace

void TrackWindowScrollBar(HWND hwnd, int hit, POINT screen) {
  const int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
  // Named copies rather than structured bindings: the lambda below captures them.
  const BarNow now = Measure(hwnd, bar);
  const bool vertical = now.vertical;
  const RECT wr = now.wr;
  const SCROLLINFO si = now.si;
  const auto parts = now.parts;
  POINT p{screen.x - wr.left, screen.y - wr.top};
  int code = CodeAt(hwnd, bar, screen);
  if (code < 0 || (WindowScrollArrows(hwnd, bar) & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH) return;
  HeldPart held{hwnd, bar, code};
  UINT_PTR repeat = 0;
  if (code != SB_THUMBTRACK) {
    Notify(hwnd, bar, code, 0);
    t_held = &held;
    repeat = SetTimer(nullptr, 0, kRepeatDelayMs, RepeatStep);
  }
  // The thumb follows the mouse; other parts wait for the release.
  const int grab = vertical ? p.y - parts.thumb.top : p.x - parts.thumb.left;
  const int room = vertical ? (parts.track.bottom - parts.track.top) - (parts.thumb.bottom - parts.thumb.top)
                            : (parts.track.right - parts.track.left) - (parts.thumb.right - parts.thumb.left);
  int trackPos = si.nPos;
  auto follow = [&](POINT at) {
    if (code != SB_THUMBTRACK || room <= 0) return;
    int offset = (vertical ? at.y - wr.top - parts.track.top : at.x - wr.left - parts.track.left) - grab;
    offset = std::clamp(offset, 0, room);
    int pos = si.nMin + static_cast<int>(static_cast<long long>(offset) * (MaxPos(si) - si.nMin) / room);
    if (pos == trackPos) return;
    trackPos = pos;
    {
      std::lock_guard lock(g_mutex);
      States()[hwnd].bars[vertical ? 1 : 0].info.nTrackPos = pos;
    }
    Notify(hwnd, bar, SB_THUMBTRACK, pos);
  };
  TrackMouse(hwnd, follow);
  if (repeat) KillTimer(nullptr, repeat);
  t_held = nullptr;
  if (code == SB_THUMBTRACK) Notify(hwnd, bar, SB_THUMBPOSITION, trackPos);
  Notify(hwnd, bar, SB_ENDSCROLL, 0);
}

}  // namespace plat::user

using namespace plat::user;

namespace {

bool IsWindowBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

// Shows or hides one window bar by its style; the frame is laid out again.
void ShowBar(HWND hwnd, int bar, bool show) {
  DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
  DWORD flag = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  DWORD next = show ? (style | flag) : (style & ~flag);
  if (next == style) return;
  SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(next));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  if (!info || !IsWindow(hwnd)) return 0;
  if (bar == SB_CTL) return static_cast<int>(SendMessageA(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
  if (!IsWindowBar(bar)) return 0;
  SCROLLINFO si;
  {
    std::lock_guard lock(g_mutex);
    SCROLLINFO& cur = States()[hwnd].bars[bar == SB_VERT ? 1 : 0].info;
    if (info->fMask & SIF_RANGE) {
      cur.nMin = info->nMin;
      cur.nMax = std::max(info->nMin, info->nMax);
    }
    if (info->fMask & SIF_PAGE) cur.nPage = std::min<UINT>(info->nPage, static_cast<UINT>(cur.nMax - cur.nMin + 1));
    if (info->fMask & SIF_POS) cur.nPos = info->nPos;
    // The position stays where the thumb can be.
    cur.nPos = std::clamp(cur.nPos, cur.nMin, MaxPos(cur));
    si = cur;
  }
  // A bar with nothing to scroll goes away, unless asked to stay (disabled).
  if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
    if (Scrollable(si)) ShowBar(hwnd, bar, true);
    else if (!(info->fMask & SIF_DISABLENOSCROLL)) ShowBar(hwnd, bar, false);
  }
  if (redraw) RedrawFrame(hwnd);
  return si.nPos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  if (!info || !IsWindow(hwnd)) return FALSE;
  if (bar == SB_CTL) return SendMessageA(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) != 0;
  if (!IsWindowBar(bar)) return FALSE;
  SCROLLINFO si = WindowScrollInfo(hwnd, bar);
  if (info->fMask & SIF_RANGE) {
    info->nMin = si.nMin;
    info->nMax = si.nMax;
  }
  if (info->fMask & SIF_PAGE) info->nPage = si.nPage;
  if (info->fMask & SIF_POS) info->nPos = si.nPos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = si.nTrackPos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  if (bar == SB_CTL) return static_cast<int>(SendMessageA(hwnd, SBM_SETPOS, pos, redraw));
  int old = GetScrollPos(hwnd, bar);
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  if (bar == SB_CTL) return static_cast<int>(SendMessageA(hwnd, SBM_GETPOS, 0, 0));
  if (!IsWindow(hwnd) || !IsWindowBar(bar)) return 0;
  return WindowScrollInfo(hwnd, bar).nPos;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  if (bar == SB_CTL) return SendMessageA(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, minPos, maxPos) != 0;
  if (!IsWindow(hwnd) || !IsWindowBar(bar)) return FALSE;
  SCROLLINFO si{sizeof si, SIF_RANGE, minPos, maxPos, 0, 0, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
  if (!minPos || !maxPos) return FALSE;
  if (bar == SB_CTL) return SendMessageA(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos), reinterpret_cast<LPARAM>(maxPos)) != 0;
  if (!IsWindow(hwnd) || !IsWindowBar(bar)) return FALSE;
  SCROLLINFO si = WindowScrollInfo(hwnd, bar);
  *minPos = si.nMin;
  *maxPos = si.nMax;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (!IsWindow(hwnd)) return FALSE;
  if (bar == SB_CTL) {
    ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  if (bar == SB_BOTH || bar == SB_HORZ) ShowBar(hwnd, SB_HORZ, show != FALSE);
  if (bar == SB_BOTH || bar == SB_VERT) ShowBar(hwnd, SB_VERT, show != FALSE);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  if (!IsWindow(hwnd)) return FALSE;
  if (bar == SB_CTL) return SendMessageA(hwnd, SBM_ENABLE_ARROWS, arrows, 0) != 0;
  {
    std::lock_guard lock(g_mutex);
    auto& bars = States()[hwnd].bars;
    if (bar == SB_BOTH || bar == SB_HORZ) bars[0].disabled = arrows;
    if (bar == SB_BOTH || bar == SB_VERT) bars[1].disabled = arrows;
  }
  RedrawFrame(hwnd);
  return TRUE;
}
