// Tooltips ("tooltips_class32"): tools are windows or rectangles of windows; mouse
// messages relayed to the control (or seen by subclassing the tool) show the tool's
// text after a pause, asked of the owner by TTN_NEEDTEXT when the text is a callback.
#include <algorithm>
#include <string>
#include <vector>

#include "../WinCommCtrl.h"
#include "ControlSupport.h"

namespace plat::controls {
namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kHideTimer = 2;
constexpr UINT_PTR kCheckTimer = 3;  // while shown: has the mouse left the tool?

struct Tool {
  UINT flags = 0;
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  HINSTANCE instance = nullptr;
  std::string text;
  bool callback = false;
  LPARAM param = 0;
};

struct TipState {
  std::vector<Tool> tools;
  bool active = true;
  int current = -1;  // the tool under the mouse
  bool shown = false;
  UINT initial = 500, autopop = 5000;
  HFONT font = nullptr;
  std::string shownText;
};

StateMap<TipState> g_tips;

// The tooltip that subclassed a tool window, with the window's own procedure.
struct Subclass {
  HWND tip = nullptr;
  WNDPROC old = nullptr;
};
StateMap<Subclass> g_subclassed;

bool Matches(const Tool& t, const TOOLINFOA& ti) { return t.hwnd == ti.hwnd && t.id == ti.uId; }

int Find(const TipState& s, const TOOLINFOA& ti) {
  for (size_t i = 0; i < s.tools.size(); ++i)
    if (Matches(s.tools[i], ti)) return static_cast<int>(i);
  return -1;
}

void SetText(Tool& t, const TOOLINFOA& ti) {
  t.callback = ti.lpszText == LPSTR_TEXTCALLBACKA;
  t.text.clear();
  if (t.callback || !ti.lpszText) return;
  if (IS_INTRESOURCE(ti.lpszText)) {
    char buf[256] = {};
    LoadStringA(ti.hinst, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(ti.lpszText)), buf, sizeof buf);
    t.text = buf;
  } else {
    t.text = ti.lpszText;
  }
}

// The tool the message's window and point fall in.
int ToolAt(const TipState& s, HWND window, POINT client) {
  for (size_t i = 0; i < s.tools.size(); ++i) {
    const Tool& t = s.tools[i];
    if (t.flags & TTF_IDISHWND) {
      if (reinterpret_cast<HWND>(t.id) == window) return static_cast<int>(i);
    } else if (t.hwnd == window && PtInRect(&t.rect, client)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string TextOf(HWND h, const Tool& t) {
  if (!t.callback) return t.text;
  NMTTDISPINFOA info{};
  info.lParam = t.param;
  info.uFlags = t.flags & TTF_IDISHWND;
  info.hdr.hwndFrom = h;
  info.hdr.idFrom = t.id;
  info.hdr.code = TTN_NEEDTEXTA;
  SendMessageA(t.hwnd, WM_NOTIFY, t.id, reinterpret_cast<LPARAM>(&info));
  if (info.lpszText && IS_INTRESOURCE(info.lpszText)) {
    char buf[256] = {};
    LoadStringA(info.hinst, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(info.lpszText)), buf, sizeof buf);
    return buf;
  }
  if (info.lpszText && info.lpszText != LPSTR_TEXTCALLBACKA) return info.lpszText;
  info.szText[sizeof info.szText - 1] = '\0';
  return info.szText;
}

void Hide(HWND h, TipState& s) {
  KillTimer(h, kShowTimer);
  KillTimer(h, kHideTimer);
  KillTimer(h, kCheckTimer);
  if (!s.shown) return;
  s.shown = false;
  ShowWindow(h, SW_HIDE);
}

void Show(HWND h, TipState& s) {
  if (s.current < 0 || s.current >= static_cast<int>(s.tools.size())) return;
  s.shownText = TextOf(h, s.tools[static_cast<size_t>(s.current)]);
  if (s.shownText.empty()) return;
  HDC dc = GetDC(h);
  SIZE ext{};
  {
    FontScope font(dc, ControlFont(s.font));
    GetTextExtentPoint32A(dc, s.shownText.c_str(), static_cast<int>(s.shownText.size()), &ext);
  }
  ReleaseDC(h, dc);
  POINT cursor;
  GetCursorPos(&cursor);
  SetWindowPos(h, HWND_TOPMOST, cursor.x, cursor.y + 20, ext.cx + 8, ext.cy + 4, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  s.shown = true;
  InvalidateRect(h, nullptr, TRUE);
  SetTimer(h, kHideTimer, s.autopop, nullptr);
  SetTimer(h, kCheckTimer, 100, nullptr);
}

// The mouse left the shown tool (moved to a window that relays nothing).
bool Left(const TipState& s) {
  if (s.current < 0 || s.current >= static_cast<int>(s.tools.size())) return true;
  const Tool& t = s.tools[static_cast<size_t>(s.current)];
  POINT cursor;
  GetCursorPos(&cursor);
  HWND under = WindowFromPoint(cursor);
  if (t.flags & TTF_IDISHWND) return under != reinterpret_cast<HWND>(t.id);
  if (under != t.hwnd) return true;
  ScreenToClient(t.hwnd, &cursor);
  return !PtInRect(&t.rect, cursor);
}

// A mouse message seen over a tool window.
void Relay(HWND h, TipState& s, const MSG& m) {
  if (!s.active) return;
  if (m.message == WM_MOUSEMOVE) {
    int tool = ToolAt(s, m.hwnd, MousePoint(m.lParam));
    if (tool == s.current && tool >= 0) return;
    Hide(h, s);
    s.current = tool;
    if (tool >= 0) SetTimer(h, kShowTimer, s.initial, nullptr);
  } else if (m.message == WM_LBUTTONDOWN || m.message == WM_RBUTTONDOWN || m.message == WM_MBUTTONDOWN) {
    Hide(h, s);
    s.current = -1;
  }
}

LRESULT CALLBACK SubclassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto link = g_subclassed.Get(w);
  if (!link) return DefWindowProcA(w, msg, wp, lp);
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && IsWindow(link->tip)) {
    MSG m{w, msg, wp, lp, 0, {}};
    SendMessageA(link->tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
  }
  WNDPROC old = link->old;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    g_subclassed.Erase(w);
  }
  return CallWindowProcA(old, w, msg, wp, lp);
}

void Watch(HWND h, const Tool& t) {
  if (!(t.flags & TTF_SUBCLASS)) return;
  HWND w = (t.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(t.id) : t.hwnd;
  if (!IsWindow(w) || g_subclassed.Get(w)) return;
  auto link = g_subclassed.Make(w);
  link->tip = h;
  link->old = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
}

void Paint(HWND h, HDC dc, TipState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_INFOBK));
  FrameRect(dc, &rc, GetSysColorBrush(COLOR_INFOTEXT));
  FontScope font(dc, ControlFont(s.font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  DrawTextA(dc, s.shownText.c_str(), -1, &rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, TipState& s) {
  switch (msg) {
    case TTM_ADDTOOLA: {
      auto* ti = reinterpret_cast<const TOOLINFOA*>(l);
      if (!ti || Find(s, *ti) >= 0) return FALSE;
      Tool t;
      t.flags = ti->uFlags;
      t.hwnd = ti->hwnd;
      t.id = ti->uId;
      t.rect = ti->rect;
      t.instance = ti->hinst;
      t.param = ti->lParam;
      SetText(t, *ti);
      s.tools.push_back(t);
      Watch(h, t);
      return TRUE;
    }
    case TTM_DELTOOLA: {
      auto* ti = reinterpret_cast<const TOOLINFOA*>(l);
      int i = ti ? Find(s, *ti) : -1;
      if (i < 0) return 0;
      if (i == s.current) {
        Hide(h, s);
        s.current = -1;
      } else if (i < s.current) {
        --s.current;
      }
      s.tools.erase(s.tools.begin() + i);
      return 0;
    }
    case TTM_NEWTOOLRECTA:
    case TTM_UPDATETIPTEXTA: {
      auto* ti = reinterpret_cast<const TOOLINFOA*>(l);
      int i = ti ? Find(s, *ti) : -1;
      if (i < 0) return 0;
      if (msg == TTM_NEWTOOLRECTA) s.tools[static_cast<size_t>(i)].rect = ti->rect;
      else SetText(s.tools[static_cast<size_t>(i)], *ti);
      return 0;
    }
    case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(s.tools.size());
    case TTM_ACTIVATE:
      s.active = w != 0;
      if (!s.active) Hide(h, s);
      return 0;
    case TTM_SETDELAYTIME: {
      int ms = static_cast<short>(LOWORD(l));
      if (w == TTDT_INITIAL) s.initial = ms < 0 ? 500 : static_cast<UINT>(ms);
      else if (w == TTDT_AUTOPOP) s.autopop = ms < 0 ? 5000 : static_cast<UINT>(ms);
      else if (w == TTDT_AUTOMATIC) {
        s.initial = ms < 0 ? 500 : static_cast<UINT>(ms);
        s.autopop = s.initial * 10;
      }
      return 0;
    }
    case TTM_RELAYEVENT:
      if (l) Relay(h, s, *reinterpret_cast<const MSG*>(l));
      return 0;
    case TTM_POP: Hide(h, s); return 0;
    case WM_TIMER:
      if (w == kShowTimer) {
        KillTimer(h, kShowTimer);
        Show(h, s);
      } else if (w == kHideTimer || (w == kCheckTimer && Left(s))) {
        Hide(h, s);
        if (w == kCheckTimer) s.current = -1;
      }
      return 0;
    case WM_SETFONT: s.font = reinterpret_cast<HFONT>(w); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      if (msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(s.shownText.size());
      if (!l || w == 0) return 0;
      size_t n = CharStart(s.shownText, std::min(s.shownText.size(), static_cast<size_t>(w) - 1));
      s.shownText.copy(reinterpret_cast<char*>(l), n);
      reinterpret_cast<char*>(l)[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_NCHITTEST: return HTTRANSPARENT;
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK ToolTipProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DispatchWithState(g_tips, h, msg, w, l, OnMessage, Paint);
}

}  // namespace plat::controls
