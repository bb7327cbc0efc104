// The trackbar ("msctls_trackbar32"): a thumb on a channel with ticks, moved by mouse
// and keys, reporting by WM_HSCROLL / WM_VSCROLL with the TB_ codes.
#include <algorithm>
#include <vector>

#include "../WinCommCtrl.h"
#include "../WinDialog.h"
#include "ControlSupport.h"

namespace plat::controls {
namespace {

constexpr int kMargin = 8;      // from the ends of the control to the channel's ends
constexpr int kThumbWidth = 11;
constexpr int kThumbLength = 18;

struct TrackState {
  int min = 0, max = 100, pos = 0;
  int page = 20, line = 1;
  int ticFreq = 1;
  std::vector<int> tics;  // set by TBM_SETTIC
  bool focus = false;
  bool dragging = false;
  bool paging = false;
  int dragOffset = 0;
};

StateMap<TrackState> g_tracks;

bool Vertical(HWND h) { return GetWindowLongA(h, GWL_STYLE) & TBS_VERT; }

// Geometry along the bar: `along` is x (horizontal) or y (vertical).
struct Layout {
  int first, last;  // channel ends along the bar
  int across;       // where the thumb starts across the bar
  int size;         // the control's length along the bar
};

Layout Measure(HWND h) {
  RECT rc;
  GetClientRect(h, &rc);
  bool vert = Vertical(h);
  int length = vert ? rc.bottom : rc.right;
  int breadth = vert ? rc.right : rc.bottom;
  Layout l{kMargin, std::max(kMargin, length - kMargin - 1), std::max(0, (breadth - kThumbLength) / 2 - 3), length};
  if (GetWindowLongA(h, GWL_STYLE) & TBS_NOTICKS) l.across = std::max(0, (breadth - kThumbLength) / 2);
  return l;
}

int PosToPixel(const TrackState& s, const Layout& l, int pos) {
  if (s.max <= s.min) return l.first;
  return l.first + static_cast<int>(static_cast<long long>(pos - s.min) * (l.last - l.first) / (s.max - s.min));
}

int PixelToPos(const TrackState& s, const Layout& l, int px) {
  if (l.last <= l.first) return s.min;
  long long span = s.max - s.min;
  long long p = s.min + ((static_cast<long long>(px - l.first) * span * 2 + (l.last - l.first)) / (2LL * (l.last - l.first)));
  return static_cast<int>(std::clamp<long long>(p, s.min, s.max));
}

RECT Rect(bool vert, int along0, int along1, int across0, int across1) {
  return vert ? RECT{across0, along0, across1, along1} : RECT{along0, across0, along1, across1};
}

RECT ThumbRect(HWND h, const TrackState& s) {
  Layout l = Measure(h);
  int c = PosToPixel(s, l, s.pos);
  return Rect(Vertical(h), c - kThumbWidth / 2, c + kThumbWidth / 2 + 1, l.across, l.across + kThumbLength);
}

RECT ChannelRect(HWND h) {
  Layout l = Measure(h);
  int mid = l.across + kThumbLength / 2;
  return Rect(Vertical(h), l.first - 2, l.last + 3, mid - 2, mid + 2);
}

void Scroll(HWND h, int code, int pos) {
  HWND parent = GetParent(h);
  if (!parent) return;
  bool withPos = code == TB_THUMBTRACK || code == TB_THUMBPOSITION;
  SendMessageA(parent, Vertical(h) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, withPos ? pos : 0),
               reinterpret_cast<LPARAM>(h));
}

void SetPos(HWND h, TrackState& s, int pos) {
  pos = std::clamp(pos, s.min, std::max(s.min, s.max));
  if (pos == s.pos) return;
  s.pos = pos;
  InvalidateRect(h, nullptr, TRUE);
}

// A move by key or by paging: the position changes, then the parent hears the code.
void Step(HWND h, TrackState& s, int code, int pos) {
  SetPos(h, s, pos);
  Scroll(h, code, s.pos);
}

std::vector<int> TicPositions(const TrackState& s, DWORD style) {
  std::vector<int> out;
  if (style & TBS_NOTICKS) return out;
  out.push_back(s.min);
  if (style & TBS_AUTOTICKS) {
    for (long long p = static_cast<long long>(s.min) + s.ticFreq; s.ticFreq > 0 && p < s.max; p += s.ticFreq)
      out.push_back(static_cast<int>(p));
  }
  for (int t : s.tics) out.push_back(t);
  out.push_back(s.max);
  return out;
}

void Paint(HWND h, HDC dc, TrackState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  HBRUSH bg = ParentColors(h, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &rc, bg);
  bool vert = Vertical(h);
  DWORD style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
  RECT channel = ChannelRect(h);
  DrawEdge(dc, &channel, EDGE_SUNKEN, BF_RECT);
  Layout l = Measure(h);
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  for (int t : TicPositions(s, style)) {
    int p = PosToPixel(s, l, t);
    int a0 = l.across + kThumbLength + 2, a1 = a0 + ((t == s.min || t == s.max) ? 4 : 3);
    if (vert) {
      MoveToEx(dc, a0, p, nullptr);
      LineTo(dc, a1, p);
    } else {
      MoveToEx(dc, p, a0, nullptr);
      LineTo(dc, p, a1);
    }
  }
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  RECT thumb = ThumbRect(h, s);
  FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
  if (s.focus) {
    RECT f = rc;
    DrawFocusRect(dc, &f);
  }
}

bool Key(HWND h, TrackState& s, WPARAM vk) {
  switch (vk) {
    case VK_LEFT:
    case VK_UP: Step(h, s, TB_LINEUP, s.pos - s.line); return true;
    case VK_RIGHT:
    case VK_DOWN: Step(h, s, TB_LINEDOWN, s.pos + s.line); return true;
    case VK_PRIOR: Step(h, s, TB_PAGEUP, s.pos - s.page); return true;
    case VK_NEXT: Step(h, s, TB_PAGEDOWN, s.pos + s.page); return true;
    case VK_HOME: Step(h, s, TB_TOP, s.min); return true;
    case VK_END: Step(h, s, TB_BOTTOM, s.max); return true;
    default: return false;
  }
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, TrackState& s) {
  switch (msg) {
    case TBM_GETPOS: return s.pos;
    case TBM_SETPOS: SetPos(h, s, static_cast<int>(l)); return 0;
    case TBM_GETRANGEMIN: return s.min;
    case TBM_GETRANGEMAX: return s.max;
    case TBM_SETRANGE:
      s.min = static_cast<short>(LOWORD(l));
      s.max = static_cast<short>(HIWORD(l));
      SetPos(h, s, s.pos);
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case TBM_SETRANGEMIN:
    case TBM_SETRANGEMAX:
      (msg == TBM_SETRANGEMIN ? s.min : s.max) = static_cast<int>(l);
      SetPos(h, s, s.pos);
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case TBM_SETTICFREQ: s.ticFreq = static_cast<int>(w); InvalidateRect(h, nullptr, TRUE); return 0;
    case TBM_SETTIC:
      if (static_cast<int>(l) <= s.min || static_cast<int>(l) >= s.max) return FALSE;
      s.tics.push_back(static_cast<int>(l));
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    case TBM_CLEARTICS: s.tics.clear(); InvalidateRect(h, nullptr, TRUE); return 0;
    case TBM_GETNUMTICS: {
      DWORD style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
      return (style & TBS_NOTICKS) ? 0 : static_cast<LRESULT>(TicPositions(s, style).size());
    }
    case TBM_GETTIC: {
      auto t = TicPositions(s, static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)));
      // Only the ticks between the ends have indexes.
      size_t i = static_cast<size_t>(w) + 1;
      return i + 1 < t.size() ? t[i] : -1;
    }
    case TBM_SETPAGESIZE: {
      int old = s.page;
      s.page = static_cast<int>(l);
      return old;
    }
    case TBM_GETPAGESIZE: return s.page;
    case TBM_SETLINESIZE: {
      int old = s.line;
      s.line = static_cast<int>(l);
      return old;
    }
    case TBM_GETLINESIZE: return s.line;
    case TBM_GETTHUMBRECT:
      if (l) *reinterpret_cast<RECT*>(l) = ThumbRect(h, s);
      return 0;
    case TBM_GETCHANNELRECT:
      if (l) *reinterpret_cast<RECT*>(l) = ChannelRect(h);
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      s.focus = msg == WM_SETFOCUS;
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_KEYDOWN:
      if (Key(h, s, w)) return 0;
      break;
    case WM_KEYUP:
      switch (w) {
        case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
        case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
          Scroll(h, TB_ENDTRACK, 0);
          return 0;
        default: break;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (GetFocus() != h) SetFocus(h);
      POINT p = MousePoint(l);
      RECT thumb = ThumbRect(h, s);
      SetCapture(h);
      if (PtInRect(&thumb, p)) {
        s.dragging = true;
        int centre = Vertical(h) ? (thumb.top + thumb.bottom) / 2 : (thumb.left + thumb.right) / 2;
        s.dragOffset = (Vertical(h) ? p.y : p.x) - centre;
      } else {
        // A click beside the thumb pages toward the click.
        s.paging = true;
        int at = Vertical(h) ? p.y : p.x;
        int centre = Vertical(h) ? (thumb.top + thumb.bottom) / 2 : (thumb.left + thumb.right) / 2;
        if (at < centre) Step(h, s, TB_PAGEUP, s.pos - s.page);
        else Step(h, s, TB_PAGEDOWN, s.pos + s.page);
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (s.dragging) {
        POINT p = MousePoint(l);
        int pos = PixelToPos(s, Measure(h), (Vertical(h) ? p.y : p.x) - s.dragOffset);
        if (pos != s.pos) {
          SetPos(h, s, pos);
          Scroll(h, TB_THUMBTRACK, s.pos);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      if (s.dragging || s.paging) {
        bool dragged = s.dragging;
        s.dragging = s.paging = false;
        if (GetCapture() == h) ReleaseCapture();
        if (dragged) Scroll(h, TB_THUMBPOSITION, s.pos);
        Scroll(h, TB_ENDTRACK, 0);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if ((s.dragging || s.paging) && reinterpret_cast<HWND>(l) != h) {
        s.dragging = s.paging = false;
        Scroll(h, TB_ENDTRACK, 0);
      }
      return 0;
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK TrackbarProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DispatchWithState(g_tracks, h, msg, w, l, OnMessage, Paint);
}

}  // namespace plat::controls
