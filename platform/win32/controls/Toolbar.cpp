// The toolbar ("ToolbarWindow32"): a row of image buttons and separators at the top of
// its parent; a click reports WM_COMMAND with the button's command id, check buttons
// and check groups keep their state, and tooltips ask the owner for their text.
#include <algorithm>
#include <cstring>
#include <vector>

#include "../WinCommCtrl.h"
#include "ControlSupport.h"

namespace plat::controls {
namespace {

constexpr int kSeparator = 8;  // width of a separator that names none
constexpr int kDivider = 2;    // the etched line above the buttons
constexpr int kBelow = 2;

struct ToolbarState {
  std::vector<TBBUTTON> buttons;
  size_t structSize = sizeof(TBBUTTON);
  SIZE bitmap{16, 15};
  SIZE button{23, 22};
  HIMAGELIST images = nullptr;
  HIMAGELIST own = nullptr;  // made for TB_ADDBITMAP, destroyed with the bar
  HWND notify = nullptr;     // WM_COMMAND and WM_NOTIFY go here (the parent unless set)
  HWND tips = nullptr;
  std::vector<UINT_PTR> tipIds;  // the tools given to the tooltip
  int pressed = -1;
  bool inside = false;
  ToolbarState() = default;
  ToolbarState(const ToolbarState&) = delete;
  ToolbarState& operator=(const ToolbarState&) = delete;
  ~ToolbarState() {
    if (own) ImageList_Destroy(own);
  }
};

StateMap<ToolbarState> g_bars;

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)); }
bool IsSep(const TBBUTTON& b) { return (b.fsStyle & TBSTYLE_SEP) != 0; }
bool InCheckGroup(const TBBUTTON& b) { return !IsSep(b) && (b.fsStyle & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP; }

int Top(HWND h) { return (Style(h) & CCS_NODIVIDER) ? 0 : kDivider; }

std::vector<RECT> Layout(HWND h, const ToolbarState& s) {
  std::vector<RECT> out;
  int x = 0, y = Top(h);
  for (const TBBUTTON& b : s.buttons) {
    if (b.fsState & TBSTATE_HIDDEN) {
      out.push_back(RECT{x, y, x, y});
      continue;
    }
    int w = IsSep(b) ? (b.iBitmap > 0 ? b.iBitmap : kSeparator) : s.button.cx;
    out.push_back(RECT{x, y, x + w, y + s.button.cy});
    x += w;
    if (b.fsState & TBSTATE_WRAP) {
      x = 0;
      y += s.button.cy;
    }
  }
  return out;
}

int BarHeight(HWND h, const ToolbarState& s) {
  int rows = 1;
  for (size_t i = 0; i + 1 < s.buttons.size(); ++i)
    if (s.buttons[i].fsState & TBSTATE_WRAP) ++rows;
  return Top(h) + rows * s.button.cy + kBelow;
}

int IndexOf(const ToolbarState& s, WPARAM id) {
  for (size_t i = 0; i < s.buttons.size(); ++i)
    if (s.buttons[i].idCommand == static_cast<int>(id)) return static_cast<int>(i);
  return -1;
}

HWND NotifyWindow(HWND h, const ToolbarState& s) { return s.notify ? s.notify : GetParent(h); }

// The tooltip's tools follow the buttons: one per button, named by its command id.
void SyncTips(HWND h, ToolbarState& s) {
  if (!s.tips) return;
  for (UINT_PTR id : s.tipIds) {
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = h;
    ti.uId = id;
    SendMessageA(s.tips, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  s.tipIds.clear();
  auto rects = Layout(h, s);
  for (size_t i = 0; i < s.buttons.size(); ++i) {
    if (IsSep(s.buttons[i]) || (s.buttons[i].fsState & TBSTATE_HIDDEN)) continue;
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = h;
    ti.uId = static_cast<UINT_PTR>(s.buttons[i].idCommand);
    ti.rect = rects[i];
    ti.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(s.tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    s.tipIds.push_back(ti.uId);
  }
}

void Changed(HWND h, ToolbarState& s) {
  SyncTips(h, s);
  InvalidateRect(h, nullptr, FALSE);
}

// Reads a caller's record, which may be shorter than ours (TB_BUTTONSTRUCTSIZE).
TBBUTTON ReadButton(const ToolbarState& s, const BYTE* from) {
  TBBUTTON b{};
  std::memcpy(&b, from, std::min(s.structSize, sizeof b));
  return b;
}

// Checks a button; in a check group the others of its group come out.
void Check(ToolbarState& s, int index, bool on) {
  TBBUTTON& b = s.buttons[static_cast<size_t>(index)];
  if (on && InCheckGroup(b)) {
    for (int i = index - 1; i >= 0 && InCheckGroup(s.buttons[static_cast<size_t>(i)]); --i)
      s.buttons[static_cast<size_t>(i)].fsState &= static_cast<BYTE>(~TBSTATE_CHECKED);
    for (size_t i = static_cast<size_t>(index) + 1; i < s.buttons.size() && InCheckGroup(s.buttons[i]); ++i)
      s.buttons[i].fsState &= static_cast<BYTE>(~TBSTATE_CHECKED);
  }
  if (on) b.fsState |= TBSTATE_CHECKED;
  else b.fsState &= static_cast<BYTE>(~TBSTATE_CHECKED);
}

bool SetFlag(HWND h, ToolbarState& s, WPARAM id, BYTE flag, bool on) {
  int i = IndexOf(s, id);
  if (i < 0) return false;
  if (flag == TBSTATE_CHECKED) {
    Check(s, i, on);
  } else {
    BYTE& st = s.buttons[static_cast<size_t>(i)].fsState;
    st = static_cast<BYTE>(on ? (st | flag) : (st & ~flag));
  }
  if (flag == TBSTATE_HIDDEN) Changed(h, s);
  else InvalidateRect(h, nullptr, FALSE);
  return true;
}

void PaintButton(HDC dc, const ToolbarState& s, const TBBUTTON& b, RECT r, bool flat) {
  bool down = b.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED);
  bool enabled = b.fsState & TBSTATE_ENABLED;
  if ((b.fsState & TBSTATE_CHECKED) && !(b.fsState & TBSTATE_PRESSED)) {
    RECT inner = r;
    InflateRect(&inner, -2, -2);
    FillRect(dc, &inner, GetSysColorBrush(COLOR_3DHILIGHT));  // a checked button shows a lighter face
  }
  if (down) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
  else if (!flat) DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
  if (!s.images || b.iBitmap < 0) return;
  int x = r.left + (r.right - r.left - s.bitmap.cx) / 2 + (down ? 1 : 0);
  int y = r.top + (r.bottom - r.top - s.bitmap.cy) / 2 + (down ? 1 : 0);
  ImageList_Draw(s.images, b.iBitmap, dc, x, y, ILD_TRANSPARENT);
  if (!enabled) {
    // A disabled image is greyed by laying the face colour over every other pixel.
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int py = 0; py < s.bitmap.cy; ++py)
      for (int px = (py & 1); px < s.bitmap.cx; px += 2) SetPixelV(dc, x + px, y + py, face);
  }
}

void Paint(HWND h, HDC dc, ToolbarState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  if (!(Style(h) & CCS_NODIVIDER)) {
    RECT line{rc.left, rc.top, rc.right, rc.top + kDivider};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
  }
  bool flat = Style(h) & TBSTYLE_FLAT;
  auto rects = Layout(h, s);
  for (size_t i = 0; i < s.buttons.size(); ++i) {
    const TBBUTTON& b = s.buttons[i];
    if (b.fsState & TBSTATE_HIDDEN) continue;
    if (IsSep(b)) {
      if (flat) {
        RECT line = rects[i];
        line.left += (line.right - line.left) / 2 - 1;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
      }
      continue;
    }
    PaintButton(dc, s, b, rects[i], flat);
  }
}

int HitTest(HWND h, const ToolbarState& s, POINT p) {
  auto rects = Layout(h, s);
  for (size_t i = 0; i < rects.size(); ++i)
    if (!IsSep(s.buttons[i]) && !(s.buttons[i].fsState & TBSTATE_HIDDEN) && PtInRect(&rects[i], p)) return static_cast<int>(i);
  return -1;
}

void SetPressed(ToolbarState& s, bool on) {
  BYTE& st = s.buttons[static_cast<size_t>(s.pressed)].fsState;
  st = static_cast<BYTE>(on ? (st | TBSTATE_PRESSED) : (st & ~TBSTATE_PRESSED));
}

void Relay(const ToolbarState& s, HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (!s.tips) return;
  MSG m{h, msg, w, l, 0, {}};
  SendMessageA(s.tips, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

// The button let go over itself: its check state changes, then the owner hears the command.
void Release(HWND h, ToolbarState& s) {
  int index = s.pressed;
  bool inside = s.inside;
  SetPressed(s, false);
  s.pressed = -1;
  InvalidateRect(h, nullptr, FALSE);
  if (GetCapture() == h) ReleaseCapture();
  if (!inside || index >= static_cast<int>(s.buttons.size())) return;
  TBBUTTON& b = s.buttons[static_cast<size_t>(index)];
  if (b.fsStyle & TBSTYLE_CHECK) Check(s, index, InCheckGroup(b) || !(b.fsState & TBSTATE_CHECKED));
  SendMessageA(NotifyWindow(h, s), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(b.idCommand), BN_CLICKED), reinterpret_cast<LPARAM>(h));
}

LRESULT AddBitmap(ToolbarState& s, int count, const TBADDBITMAP* add) {
  if (!add || count <= 0) return -1;
  HBITMAP bitmap = add->hInst ? LoadBitmapA(add->hInst, MAKEINTRESOURCEA(add->nID))
                              : reinterpret_cast<HBITMAP>(add->nID);
  if (!bitmap) return -1;
  if (!s.images) {
    s.own = ImageList_Create(s.bitmap.cx, s.bitmap.cy, ILC_COLOR | ILC_MASK, count, 4);
    s.images = s.own;
  }
  int before = ImageList_GetImageCount(s.images);
  // The classic grey of toolbar bitmaps is their background.
  int first = ImageList_AddMasked(s.images, bitmap, RGB(192, 192, 192));
  if (add->hInst) DeleteObject(bitmap);
  if (first < 0) return -1;
  while (ImageList_GetImageCount(s.images) > before + count) ImageList_Remove(s.images, ImageList_GetImageCount(s.images) - 1);
  return first;
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, ToolbarState& s) {
  int count = static_cast<int>(s.buttons.size());
  switch (msg) {
    case WM_CREATE:
      if (Style(h) & TBSTYLE_TOOLTIPS)
        s.tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0, h, nullptr, nullptr, nullptr);
      PlaceAlongParent(h, BarHeight(h, s), false);
      return 0;
    case WM_DESTROY:
      if (s.tips) DestroyWindow(s.tips);
      s.tips = nullptr;
      break;
    case WM_SIZE:
    case TB_AUTOSIZE:
      PlaceAlongParent(h, BarHeight(h, s), false);
      return 0;
    case TB_BUTTONSTRUCTSIZE:
      // Shorter records of older callers carry at least the ids, state and style.
      if (w >= offsetof(TBBUTTON, bReserved)) s.structSize = static_cast<size_t>(w);
      return 0;
    case TB_SETBITMAPSIZE:
      s.bitmap = SIZE{std::max(1, static_cast<int>(LOWORD(l))), std::max(1, static_cast<int>(HIWORD(l)))};
      s.button.cx = std::max<LONG>(s.button.cx, s.bitmap.cx + 7);
      s.button.cy = std::max<LONG>(s.button.cy, s.bitmap.cy + 7);
      return TRUE;
    case TB_SETBUTTONSIZE:
      s.button = SIZE{std::max(1, static_cast<int>(LOWORD(l))), std::max(1, static_cast<int>(HIWORD(l)))};
      Changed(h, s);
      return TRUE;
    case TB_GETBUTTONSIZE: return MAKELONG(s.button.cx, s.button.cy);
    case TB_ADDBITMAP: return AddBitmap(s, static_cast<int>(w), reinterpret_cast<const TBADDBITMAP*>(l));
    case TB_SETIMAGELIST: return SwapImageList(h, s.images, l);
    case TB_GETIMAGELIST: return reinterpret_cast<LRESULT>(s.images);
    case TB_ADDBUTTONSA:
    case TB_INSERTBUTTONA: {
      const auto* from = reinterpret_cast<const BYTE*>(l);
      if (!from) return FALSE;
      if (msg == TB_ADDBUTTONSA) {
        for (WPARAM i = 0; i < w; ++i) s.buttons.push_back(ReadButton(s, from + i * s.structSize));
      } else {
        int at = static_cast<int>(w);
        at = at < 0 || at > count ? count : at;
        s.buttons.insert(s.buttons.begin() + at, ReadButton(s, from));
        if (s.pressed >= at) ++s.pressed;
      }
      Changed(h, s);
      return TRUE;
    }
    case TB_DELETEBUTTON: {
      int i = static_cast<int>(w);
      if (i < 0 || i >= count) return FALSE;
      if (s.pressed == i) {
        s.pressed = -1;
        if (GetCapture() == h) ReleaseCapture();
      } else if (s.pressed > i) {
        --s.pressed;
      }
      s.buttons.erase(s.buttons.begin() + i);
      Changed(h, s);
      return TRUE;
    }
    case TB_GETBUTTON: {
      int i = static_cast<int>(w);
      if (i < 0 || i >= count || !l) return FALSE;
      std::memcpy(reinterpret_cast<void*>(l), &s.buttons[static_cast<size_t>(i)], std::min(s.structSize, sizeof(TBBUTTON)));
      return TRUE;
    }
    case TB_BUTTONCOUNT: return count;
    case TB_COMMANDTOINDEX: return IndexOf(s, w);
    case TB_GETITEMRECT: {
      int i = static_cast<int>(w);
      if (i < 0 || i >= count || !l || (s.buttons[static_cast<size_t>(i)].fsState & TBSTATE_HIDDEN)) return FALSE;
      *reinterpret_cast<RECT*>(l) = Layout(h, s)[static_cast<size_t>(i)];
      return TRUE;
    }
    case TB_SETSTATE: {
      int i = IndexOf(s, w);
      if (i < 0) return FALSE;
      BYTE state = static_cast<BYTE>(LOWORD(l));
      bool hidden = (state ^ s.buttons[static_cast<size_t>(i)].fsState) & TBSTATE_HIDDEN;
      s.buttons[static_cast<size_t>(i)].fsState = state;
      if (hidden) Changed(h, s);
      else InvalidateRect(h, nullptr, FALSE);
      return TRUE;
    }
    case TB_GETSTATE: {
      int i = IndexOf(s, w);
      return i < 0 ? -1 : s.buttons[static_cast<size_t>(i)].fsState;
    }
    case TB_CHECKBUTTON: return SetFlag(h, s, w, TBSTATE_CHECKED, LOWORD(l) != 0);
    case TB_ENABLEBUTTON: return SetFlag(h, s, w, TBSTATE_ENABLED, LOWORD(l) != 0);
    case TB_PRESSBUTTON: return SetFlag(h, s, w, TBSTATE_PRESSED, LOWORD(l) != 0);
    case TB_HIDEBUTTON: return SetFlag(h, s, w, TBSTATE_HIDDEN, LOWORD(l) != 0);
    case TB_INDETERMINATE: return SetFlag(h, s, w, TBSTATE_INDETERMINATE, LOWORD(l) != 0);
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONCHECKED:
    case TB_ISBUTTONPRESSED:
    case TB_ISBUTTONHIDDEN: {
      int i = IndexOf(s, w);
      if (i < 0) return 0;
      static const BYTE flags[] = {TBSTATE_ENABLED, TBSTATE_CHECKED, TBSTATE_PRESSED, TBSTATE_HIDDEN};
      return (s.buttons[static_cast<size_t>(i)].fsState & flags[msg - TB_ISBUTTONENABLED]) != 0;
    }
    case TB_GETTOOLTIPS: return reinterpret_cast<LRESULT>(s.tips);
    case TB_SETPARENT: {
      HWND old = NotifyWindow(h, s);
      s.notify = reinterpret_cast<HWND>(w);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_NOTIFY: {
      // The tooltip asks the bar; the bar's owner knows the texts.
      auto* hdr = reinterpret_cast<NMHDR*>(l);
      if (hdr && hdr->hwndFrom == s.tips) return SendMessageA(NotifyWindow(h, s), WM_NOTIFY, w, l);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      Relay(s, h, msg, w, l);
      int i = HitTest(h, s, MousePoint(l));
      if (i < 0 || !(s.buttons[static_cast<size_t>(i)].fsState & TBSTATE_ENABLED)) return 0;
      s.pressed = i;
      s.inside = true;
      SetPressed(s, true);
      SetCapture(h);
      InvalidateRect(h, nullptr, FALSE);
      return 0;
    }
    case WM_MOUSEMOVE:
      Relay(s, h, msg, w, l);
      if (s.pressed >= 0) {
        auto rects = Layout(h, s);
        POINT p = MousePoint(l);
        bool inside = PtInRect(&rects[static_cast<size_t>(s.pressed)], p) != 0;
        if (inside != s.inside) {
          s.inside = inside;
          SetPressed(s, inside);
          InvalidateRect(h, nullptr, FALSE);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      Relay(s, h, msg, w, l);
      if (s.pressed >= 0) Release(h, s);
      return 0;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (s.pressed >= 0 && (msg == WM_CANCELMODE || reinterpret_cast<HWND>(l) != h)) {
        s.inside = false;
        Release(h, s);
      }
      return 0;
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK ToolbarProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DispatchWithState(g_bars, h, msg, w, l, OnMessage, Paint);
}

}  // namespace plat::controls
