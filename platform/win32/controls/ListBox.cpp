// The "ListBox" class: single, multiple and extended selection, sorted, owner-drawn
// items of fixed or variable height, item data, scrolling by its bar, keys and the wheel.
#include <algorithm>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "../WinDialog.h"
#include "ControlSupport.h"
#include "ListBox.h"

namespace plat::controls {
namespace {

struct Item {
  std::string text;
  ULONG_PTR data = 0;
  bool selected = false;
  int height = 0;  // variable-height owner-drawn items
};

struct ListState {
  std::vector<Item> items;
  int cur = -1;     // the single selection, or the caret of a multiple-selection list
  int anchor = -1;  // where an extended range starts
  int top = 0;
  int itemHeight = 16;
  HFONT font = nullptr;
  bool focus = false;
  bool tracking = false;
  bool pressedInside = false;
  HWND combo = nullptr;
  bool vscroll = false;  // made with a vertical scroll bar (the style bit goes while it hides)
  int wheel = 0;         // wheel turns not yet worth a row
};

StateMap<ListState> g_lists;

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)); }
bool Multiple(HWND h) { return Style(h) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL); }
bool OwnerDraw(HWND h) { return Style(h) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE); }
// Items keep text unless they are owner-drawn without LBS_HASSTRINGS (then the
// "string" is the item data).
bool HasStrings(HWND h) { return !OwnerDraw(h) || (Style(h) & LBS_HASSTRINGS); }
bool Valid(const ListState& s, int i) { return i >= 0 && i < static_cast<int>(s.items.size()); }

void Report(HWND h, ListState& s, UINT code) {
  if (s.combo) {
    SendMessageA(s.combo, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), code), reinterpret_cast<LPARAM>(h));
    return;
  }
  if (Style(h) & LBS_NOTIFY) Command(h, code);
}

HWND OwnerOf(HWND h, const ListState& s) { return s.combo ? GetParent(s.combo) : GetParent(h); }
UINT IdOf(HWND h, const ListState& s) { return static_cast<UINT>(GetDlgCtrlID(s.combo ? s.combo : h)); }

int DefaultHeight(HWND h, const ListState& s) {
  HDC dc = GetDC(h);
  int height;
  {
    FontScope font(dc, ControlFont(s.font));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    height = tm.tmHeight > 0 ? tm.tmHeight : 16;
  }
  ReleaseDC(h, dc);
  return height;
}

int Measure(HWND h, ListState& s, int index, ULONG_PTR data) {
  MEASUREITEMSTRUCT mi{};
  mi.CtlType = s.combo ? ODT_COMBOBOX : ODT_LISTBOX;
  mi.CtlID = IdOf(h, s);
  mi.itemID = static_cast<UINT>(index);
  mi.itemHeight = static_cast<UINT>(s.itemHeight);
  mi.itemData = data;
  SendMessageA(OwnerOf(h, s), WM_MEASUREITEM, mi.CtlID, reinterpret_cast<LPARAM>(&mi));
  return static_cast<int>(mi.itemHeight);
}

int HeightOf(HWND h, const ListState& s, int i) {
  return (Style(h) & LBS_OWNERDRAWVARIABLE) && Valid(s, i) ? s.items[static_cast<size_t>(i)].height : s.itemHeight;
}

RECT ItemRect(HWND h, const ListState& s, int i) {
  RECT rc;
  GetClientRect(h, &rc);
  int y = 0;
  if (i >= s.top)
    for (int k = s.top; k < i; ++k) y += HeightOf(h, s, k);
  else
    for (int k = i; k < s.top; ++k) y -= HeightOf(h, s, k);
  return RECT{0, y, rc.right, y + HeightOf(h, s, i)};
}

int ItemAt(HWND h, const ListState& s, POINT p) {
  for (int i = s.top; i < static_cast<int>(s.items.size()); ++i) {
    RECT r = ItemRect(h, s, i);
    if (r.top > p.y) break;
    if (p.y < r.bottom) return i;
  }
  return -1;
}

int Visible(HWND h, const ListState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  return std::max(1, static_cast<int>(rc.bottom) / std::max(1, s.itemHeight));
}

// The last top row that still fills the list.
int MaxTop(HWND h, const ListState& s) { return std::max(0, static_cast<int>(s.items.size()) - Visible(h, s)); }

// The bar shows the items as rows: a page is the rows that fit, the position the top row.
void SyncScrollBar(HWND h, const ListState& s) {
  if (!s.vscroll) return;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, static_cast<int>(s.items.size()) - 1),
                static_cast<UINT>(Visible(h, s)), s.top, 0};
  if (Style(h) & LBS_DISABLENOSCROLL) si.fMask |= SIF_DISABLENOSCROLL;
  SetScrollInfo(h, SB_VERT, &si, TRUE);
}

void SetTop(HWND h, ListState& s, int top) {
  top = std::clamp(top, 0, MaxTop(h, s));
  if (top != s.top) {
    s.top = top;
    InvalidateRect(h, nullptr, TRUE);
  }
  SyncScrollBar(h, s);
}

void ShowItem(HWND h, ListState& s, int i) {
  if (!Valid(s, i)) return;
  int rows = Visible(h, s);
  int top = s.top;
  if (i < top) top = i;
  else if (i >= top + rows) top = i - rows + 1;
  SetTop(h, s, top);
}

void OnVScroll(HWND h, ListState& s, WPARAM w) {
  const int page = std::max(1, Visible(h, s) - 1);
  switch (LOWORD(w)) {
    case SB_LINEUP: SetTop(h, s, s.top - 1); break;
    case SB_LINEDOWN: SetTop(h, s, s.top + 1); break;
    case SB_PAGEUP: SetTop(h, s, s.top - page); break;
    case SB_PAGEDOWN: SetTop(h, s, s.top + page); break;
    case SB_TOP: SetTop(h, s, 0); break;
    case SB_BOTTOM: SetTop(h, s, MaxTop(h, s)); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetTop(h, s, HIWORD(w)); break;
    default: break;
  }
}

// A wheel notch scrolls the system's wheel lines, but never more than the rows in view.
void OnWheel(HWND h, ListState& s, WPARAM w) {
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const int perNotch = std::clamp(static_cast<int>(lines), 1, Visible(h, s));
  s.wheel += GET_WHEEL_DELTA_WPARAM(w);
  const int notches = s.wheel / WHEEL_DELTA;
  s.wheel -= notches * WHEEL_DELTA;
  if (notches) SetTop(h, s, s.top - notches * perNotch);
}

// A press on the bar of a dropped combo list, which holds the capture: the bar is
// tracked as any window's, and the capture comes back to the list after it.
bool PressOnBar(HWND h, POINT client) {
  POINT screen = client;
  ClientToScreen(h, &screen);
  if (SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) != HTVSCROLL) return false;
  SendMessageA(h, WM_SYSCOMMAND, SC_VSCROLL | HTVSCROLL, MAKELPARAM(screen.x, screen.y));
  if (IsWindowVisible(h)) SetCapture(h);
  return true;
}

int Compare(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()); }

int Insert(HWND h, ListState& s, int at, LPARAM value, bool sorted) {
  Item item;
  if (HasStrings(h)) item.text = value ? reinterpret_cast<const char*>(value) : "";
  else item.data = static_cast<ULONG_PTR>(value);
  int count = static_cast<int>(s.items.size());
  if (sorted && HasStrings(h)) {
    at = 0;
    while (at < count && Compare(s.items[static_cast<size_t>(at)].text, item.text) <= 0) ++at;
  } else if (at < 0 || at > count) {
    if (at > count) return LB_ERR;
    at = count;
  }
  if (Style(h) & LBS_OWNERDRAWVARIABLE) item.height = Measure(h, s, at, item.data);
  s.items.insert(s.items.begin() + at, std::move(item));
  if (s.cur >= at) ++s.cur;
  if (s.anchor >= at) ++s.anchor;
  InvalidateRect(h, nullptr, TRUE);
  SyncScrollBar(h, s);
  return at;
}

void SelectOnly(HWND h, ListState& s, int i) {
  for (auto& item : s.items) item.selected = false;
  if (Valid(s, i)) s.items[static_cast<size_t>(i)].selected = true;
  s.cur = Valid(s, i) ? i : -1;
  ShowItem(h, s, i);
  InvalidateRect(h, nullptr, TRUE);
}

void SelectRange(ListState& s, int a, int b, bool on) {
  if (a > b) std::swap(a, b);
  for (int i = std::max(0, a); i <= b && Valid(s, i); ++i) s.items[static_cast<size_t>(i)].selected = on;
}

void DrawItem(HWND h, HDC dc, ListState& s, int i, UINT action) {
  RECT r = ItemRect(h, s, i);
  const Item& item = s.items[static_cast<size_t>(i)];
  bool focusHere = s.focus && i == s.cur && Multiple(h);
  if (OwnerDraw(h)) {
    DRAWITEMSTRUCT di{};
    di.CtlType = s.combo ? ODT_COMBOBOX : ODT_LISTBOX;
    di.CtlID = IdOf(h, s);
    di.itemID = static_cast<UINT>(i);
    di.itemAction = action;
    di.itemState = (item.selected ? ODS_SELECTED : 0) | ((s.focus && i == s.cur) ? ODS_FOCUS : 0) |
                   (IsWindowEnabled(h) ? 0 : ODS_DISABLED);
    di.hwndItem = s.combo ? s.combo : h;
    di.hDC = dc;
    di.rcItem = r;
    di.itemData = item.data;
    SendMessageA(OwnerOf(h, s), WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
    return;
  }
  if (item.selected) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    SetTextColor(dc, GetSysColor(IsWindowEnabled(h) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  }
  SetBkMode(dc, TRANSPARENT);
  RECT t = r;
  t.left += 2;
  DrawTextA(dc, item.text.c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
  if (focusHere) DrawFocusRect(dc, &r);
}

void Paint(HWND h, HDC dc, ListState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  FontScope font(dc, ControlFont(s.font));
  HBRUSH bg = s.combo ? GetSysColorBrush(COLOR_WINDOW) : ParentColors(h, dc, WM_CTLCOLORLISTBOX);
  FillRect(dc, &rc, bg);
  for (int i = s.top; i < static_cast<int>(s.items.size()); ++i) {
    if (ItemRect(h, s, i).top >= rc.bottom) break;
    DrawItem(h, dc, s, i, ODA_DRAWENTIRE);
  }
}

// The user moved to item i: the selection follows as the style says, then LBN_SELCHANGE.
void UserSelect(HWND h, ListState& s, int i, bool shift, bool ctrl, bool toggle) {
  if (!Valid(s, i)) return;
  DWORD style = Style(h);
  if (style & LBS_MULTIPLESEL) {
    s.cur = i;
    if (toggle) s.items[static_cast<size_t>(i)].selected = !s.items[static_cast<size_t>(i)].selected;
  } else if (style & LBS_EXTENDEDSEL) {
    if (shift && Valid(s, s.anchor)) {
      if (!ctrl)
        for (auto& item : s.items) item.selected = false;
      SelectRange(s, s.anchor, i, true);
    } else if (ctrl) {
      if (toggle) s.items[static_cast<size_t>(i)].selected = !s.items[static_cast<size_t>(i)].selected;
      s.anchor = i;
    } else {
      for (auto& item : s.items) item.selected = false;
      s.items[static_cast<size_t>(i)].selected = true;
      s.anchor = i;
    }
    s.cur = i;
  } else {
    if (s.cur == i) return;
    SelectOnly(h, s, i);
  }
  ShowItem(h, s, i);
  InvalidateRect(h, nullptr, TRUE);
  Report(h, s, LBN_SELCHANGE);
}

bool Key(HWND h, ListState& s, WPARAM vk) {
  int count = static_cast<int>(s.items.size());
  if (count == 0) return false;
  int to = s.cur;
  switch (vk) {
    case VK_UP:
    case VK_LEFT: to = std::max(0, s.cur - 1); break;
    case VK_DOWN:
    case VK_RIGHT: to = std::min(count - 1, s.cur + 1); break;
    case VK_PRIOR: to = std::max(0, s.cur - Visible(h, s) + 1); break;
    case VK_NEXT: to = std::min(count - 1, std::max(0, s.cur) + Visible(h, s) - 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = count - 1; break;
    case VK_SPACE:
      if (Multiple(h) && Valid(s, s.cur)) UserSelect(h, s, s.cur, false, true, true);
      return true;
    default: return false;
  }
  bool shift = GetKeyState(VK_SHIFT) < 0;
  if (Style(h) & LBS_MULTIPLESEL) {
    s.cur = to;
    ShowItem(h, s, to);
    InvalidateRect(h, nullptr, TRUE);
  } else {
    UserSelect(h, s, to, shift, false, false);
  }
  return true;
}

LRESULT GetText(const ListState& s, HWND h, int i, char* out) {
  if (!Valid(s, i)) return LB_ERR;
  const Item& item = s.items[static_cast<size_t>(i)];
  if (!HasStrings(h)) {
    if (out) std::memcpy(out, &item.data, sizeof item.data);
    return sizeof item.data;
  }
  if (out) std::memcpy(out, item.text.c_str(), item.text.size() + 1);
  return static_cast<LRESULT>(item.text.size());
}

int Find(HWND h, const ListState& s, int after, const char* text, bool exact) {
  int count = static_cast<int>(s.items.size());
  if (!text || count == 0) return LB_ERR;
  size_t n = std::strlen(text);
  int start = (after < -1 || after >= count) ? 0 : after + 1;
  for (int k = 0; k < count; ++k) {
    int i = (start + k) % count;
    const Item& item = s.items[static_cast<size_t>(i)];
    if (!HasStrings(h)) {
      if (item.data == reinterpret_cast<ULONG_PTR>(text)) return i;
      continue;
    }
    if (exact ? strcasecmp(item.text.c_str(), text) == 0 : strncasecmp(item.text.c_str(), text, n) == 0) return i;
  }
  return LB_ERR;
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, ListState& s) {
  int count = static_cast<int>(s.items.size());
  int index = static_cast<int>(w);
  switch (msg) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
      char cls[16] = {};
      GetClassNameA(h, cls, sizeof cls);
      if (strcasecmp(cls, "ComboLBox") == 0 && cs) s.combo = static_cast<HWND>(cs->lpCreateParams);
      s.itemHeight = DefaultHeight(h, s);
      if (Style(h) & LBS_OWNERDRAWFIXED) s.itemHeight = Measure(h, s, 0, 0);
      s.vscroll = cs && (cs->style & WS_VSCROLL);
      SyncScrollBar(h, s);  // an empty list shows no bar
      return 0;
    }
    case WM_SIZE: SetTop(h, s, s.top); break;
    case WM_VSCROLL: OnVScroll(h, s, w); return 0;
    case WM_MOUSEWHEEL: OnWheel(h, s, w); return 0;
    case LB_ADDSTRING: return Insert(h, s, -1, l, (Style(h) & LBS_SORT) != 0);
    case LB_INSERTSTRING: return Insert(h, s, index, l, false);
    case LB_DELETESTRING:
      if (!Valid(s, index)) return LB_ERR;
      s.items.erase(s.items.begin() + index);
      if (s.cur == index) s.cur = -1;
      else if (s.cur > index) --s.cur;
      if (s.anchor >= index) s.anchor = s.anchor == index ? -1 : s.anchor - 1;
      InvalidateRect(h, nullptr, TRUE);
      SetTop(h, s, s.top);
      return static_cast<LRESULT>(s.items.size());
    case LB_RESETCONTENT:
      s.items.clear();
      s.cur = s.anchor = -1;
      s.top = 0;
      InvalidateRect(h, nullptr, TRUE);
      SyncScrollBar(h, s);
      return 0;
    case LB_GETCOUNT: return count;
    case LB_SETCURSEL:
      if (Multiple(h)) return LB_ERR;
      SelectOnly(h, s, index);
      return Valid(s, index) ? index : LB_ERR;
    case LB_GETCURSEL: return s.cur;
    case LB_SETSEL: {
      if (!Multiple(h)) return LB_ERR;
      int i = static_cast<int>(l);
      if (i == -1) {
        for (auto& item : s.items) item.selected = w != 0;
      } else {
        if (!Valid(s, i)) return LB_ERR;
        s.items[static_cast<size_t>(i)].selected = w != 0;
        s.cur = i;
      }
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    }
    case LB_GETSEL: return Valid(s, index) ? (s.items[static_cast<size_t>(index)].selected ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT: {
      if (!Multiple(h)) return LB_ERR;
      return std::count_if(s.items.begin(), s.items.end(), [](const Item& i) { return i.selected; });
    }
    case LB_GETSELITEMS: {
      if (!Multiple(h)) return LB_ERR;
      auto* out = reinterpret_cast<int*>(l);
      int n = 0;
      for (int i = 0; i < count && n < index; ++i)
        if (s.items[static_cast<size_t>(i)].selected) out[n++] = i;
      return n;
    }
    case LB_SELITEMRANGE:
      if (!Multiple(h)) return LB_ERR;
      SelectRange(s, LOWORD(l), HIWORD(l), w != 0);
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case LB_GETTEXT: return GetText(s, h, index, reinterpret_cast<char*>(l));
    case LB_GETTEXTLEN: return GetText(s, h, index, nullptr);
    case LB_FINDSTRING: return Find(h, s, index, reinterpret_cast<const char*>(l), false);
    case LB_FINDSTRINGEXACT: return Find(h, s, index, reinterpret_cast<const char*>(l), true);
    case LB_SELECTSTRING: {
      int i = Find(h, s, index, reinterpret_cast<const char*>(l), false);
      if (i != LB_ERR && !Multiple(h)) SelectOnly(h, s, i);
      return i;
    }
    case LB_GETITEMDATA:
      if (!Valid(s, index)) return LB_ERR;
      return static_cast<LRESULT>(s.items[static_cast<size_t>(index)].data);
    case LB_SETITEMDATA:
      if (!Valid(s, index)) return LB_ERR;
      s.items[static_cast<size_t>(index)].data = static_cast<ULONG_PTR>(l);
      return TRUE;
    case LB_GETTOPINDEX: return s.top;
    case LB_SETTOPINDEX:
      if (!Valid(s, index) && index != 0) return LB_ERR;
      SetTop(h, s, index);
      return 0;
    case LB_GETITEMRECT:
      if (!Valid(s, index) || !l) return LB_ERR;
      *reinterpret_cast<RECT*>(l) = ItemRect(h, s, index);
      return 1;
    case LB_ITEMFROMPOINT: {
      int i = ItemAt(h, s, MousePoint(l));
      return i < 0 ? MAKELONG(static_cast<WORD>(std::max(0, count - 1)), 1) : MAKELONG(static_cast<WORD>(i), 0);
    }
    case LB_SETITEMHEIGHT:
      if (l <= 0 || l > 255) return LB_ERR;
      if ((Style(h) & LBS_OWNERDRAWVARIABLE) && Valid(s, index)) s.items[static_cast<size_t>(index)].height = static_cast<int>(l);
      else s.itemHeight = static_cast<int>(l);
      InvalidateRect(h, nullptr, TRUE);
      SetTop(h, s, s.top);
      return 0;
    case LB_GETITEMHEIGHT: return HeightOf(h, s, index);
    case LB_SETCARETINDEX:
      if (!Valid(s, index)) return LB_ERR;
      s.cur = index;
      ShowItem(h, s, index);
      return 0;
    case LB_GETCARETINDEX: return s.cur;
    case LB_SETANCHORINDEX:
      if (!Valid(s, index)) return LB_ERR;
      s.anchor = index;
      return 0;
    case LB_GETANCHORINDEX: return s.anchor;
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(w);
      if (!OwnerDraw(h)) s.itemHeight = DefaultHeight(h, s);
      SetTop(h, s, s.top);
      if (l) InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      s.focus = msg == WM_SETFOCUS;
      InvalidateRect(h, nullptr, TRUE);
      Report(h, s, s.focus ? LBN_SETFOCUS : LBN_KILLFOCUS);
      return 0;
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_LBUTTONDOWN: {
      POINT p = MousePoint(l);
      RECT rc;
      GetClientRect(h, &rc);
      if (s.combo && !PtInRect(&rc, p)) {
        if (!PressOnBar(h, p)) SendMessageA(s.combo, kListCancelled, 0, 0);
        return 0;
      }
      if (!s.combo && GetFocus() != h) SetFocus(h);
      int i = ItemAt(h, s, p);
      s.pressedInside = true;
      if (!s.combo) {
        SetCapture(h);
        s.tracking = true;
      }
      UserSelect(h, s, i, (w & MK_SHIFT) != 0, (w & MK_CONTROL) != 0, true);
      return 0;
    }
    case WM_MOUSEMOVE: {
      POINT p = MousePoint(l);
      bool single = !Multiple(h);
      if ((s.tracking || s.combo) && single) {
        int i = ItemAt(h, s, p);
        RECT rc;
        GetClientRect(h, &rc);
        if (i >= 0 && PtInRect(&rc, p)) UserSelect(h, s, i, false, false, false);
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      if (s.tracking) {
        s.tracking = false;
        if (GetCapture() == h) ReleaseCapture();
      }
      RECT rc;
      GetClientRect(h, &rc);
      if (s.combo && s.pressedInside && PtInRect(&rc, MousePoint(l))) SendMessageA(s.combo, kListPicked, 0, 0);
      s.pressedInside = false;
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      if (!s.combo && ItemAt(h, s, MousePoint(l)) >= 0) Report(h, s, LBN_DBLCLK);
      return 0;
    case WM_KEYDOWN:
      if (Key(h, s, w)) return 0;
      break;
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK ListBoxProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DispatchWithState(g_lists, h, msg, w, l, OnMessage, Paint);
}

// The drop list of a combo box: a list box that knows its combo.
LRESULT CALLBACK ComboListProc(HWND h, UINT msg, WPARAM w, LPARAM l) { return ListBoxProc(h, msg, w, l); }

}  // namespace plat::controls
