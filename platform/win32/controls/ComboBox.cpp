// The "ComboBox" class: simple, drop-down (with an edit) and drop-down list combos,
// owner-drawn fixed items with item data, the drop list as a popup.
#include <algorithm>
#include <string>

#include "../WinDialog.h"
#include "ControlSupport.h"
#include "ListBox.h"

namespace plat::controls {
namespace {

constexpr int kEditId = 1001;  // the id a combo gives its edit

struct ComboState {
  HWND edit = nullptr;
  HWND list = nullptr;
  HFONT font = nullptr;
  int fieldHeight = 20;
  int dropHeight = 100;
  bool dropped = false;
  bool focus = false;
  bool settingText = false;  // edit changes the combo makes itself are not the user's
  bool forwardingKey = false;
  bool buttonDown = false;
  int selAtDrop = -1;  // restored when the drop list is cancelled
  int reported = -1;   // the selection the owner last heard of while dropped
};

StateMap<ComboState> g_combos;

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)); }
DWORD Type(HWND h) { return Style(h) & 3; }
bool OwnerDraw(HWND h) { return Style(h) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE); }

int ButtonWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

RECT ButtonRect(HWND h) {
  RECT rc;
  GetClientRect(h, &rc);
  return RECT{rc.right - ButtonWidth() - 2, 2, rc.right - 2, rc.bottom - 2};
}

int Selection(const ComboState& s) { return static_cast<int>(SendMessageA(s.list, LB_GETCURSEL, 0, 0)); }

std::string ItemText(const ComboState& s, int i) {
  LRESULT n = SendMessageA(s.list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
  if (n < 0) return {};
  std::string text(static_cast<size_t>(n) + 1, '\0');
  SendMessageA(s.list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n));
  return text;
}

// Shows the selected item in the field (the edit, or the drawn field).
void ShowSelection(HWND h, ComboState& s) {
  if (s.edit) {
    int i = Selection(s);
    s.settingText = true;
    SetWindowTextA(s.edit, i >= 0 ? ItemText(s, i).c_str() : "");
    SendMessageA(s.edit, EM_SETSEL, 0, -1);
    s.settingText = false;
  }
  InvalidateRect(h, nullptr, TRUE);
}

void Drop(HWND h, ComboState& s) {
  if (s.dropped || Type(h) == CBS_SIMPLE) return;
  if (GetFocus() != h && GetFocus() != s.edit) SetFocus(s.edit ? s.edit : h);
  Command(h, CBN_DROPDOWN);  // before the list shows, so the owner can fill it
  RECT r;
  GetWindowRect(h, &r);
  int count = static_cast<int>(SendMessageA(s.list, LB_GETCOUNT, 0, 0));
  int item = static_cast<int>(SendMessageA(s.list, LB_GETITEMHEIGHT, 0, 0));
  int height = std::clamp(count * item + 2, item + 2, std::max(item + 2, s.dropHeight));
  SetWindowPos(s.list, HWND_TOP, r.left, r.bottom, r.right - r.left, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  s.selAtDrop = s.reported = Selection(s);
  s.dropped = true;
  SetCapture(s.list);
  InvalidateRect(h, nullptr, TRUE);
}

// Closes the drop list: picked (the selection stands) or cancelled (it goes back).
void Close(HWND h, ComboState& s, bool picked) {
  if (!s.dropped) return;
  s.dropped = false;
  if (GetCapture() == s.list) ReleaseCapture();
  ShowWindow(s.list, SW_HIDE);
  if (!picked && Selection(s) != s.selAtDrop) {
    SendMessageA(s.list, LB_SETCURSEL, static_cast<WPARAM>(s.selAtDrop), 0);
    ShowSelection(h, s);
  }
  Command(h, picked ? CBN_SELENDOK : CBN_SELENDCANCEL);
  Command(h, CBN_CLOSEUP);
  if (picked && Selection(s) != s.reported) Command(h, CBN_SELCHANGE);
  InvalidateRect(h, nullptr, TRUE);
}

void Create(HWND h, ComboState& s, const CREATESTRUCTA& cs) {
  DWORD style = Style(h), type = style & 3;
  HDC dc = GetDC(h);
  {
    FontScope font(dc, ControlFont(s.font));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    s.fieldHeight = (tm.tmHeight > 0 ? tm.tmHeight : 14) + 6;
  }
  ReleaseDC(h, dc);
  if (OwnerDraw(h)) {
    MEASUREITEMSTRUCT mi{};
    mi.CtlType = ODT_COMBOBOX;
    mi.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
    mi.itemID = static_cast<UINT>(-1);  // the selection field
    mi.itemHeight = static_cast<UINT>(s.fieldHeight - 6);
    SendMessageA(GetParent(h), WM_MEASUREITEM, mi.CtlID, reinterpret_cast<LPARAM>(&mi));
    s.fieldHeight = static_cast<int>(mi.itemHeight) + 6;
  }
  DWORD listStyle = LBS_NOTIFY | (style & CBS_SORT ? LBS_SORT : 0) | (style & CBS_HASSTRINGS ? LBS_HASSTRINGS : 0) |
                    (style & CBS_OWNERDRAWFIXED ? LBS_OWNERDRAWFIXED : 0) |
                    (style & CBS_OWNERDRAWVARIABLE ? LBS_OWNERDRAWVARIABLE : 0) |
                    (style & CBS_DISABLENOSCROLL ? LBS_DISABLENOSCROLL : 0) | (cs.style & WS_VSCROLL) | WS_BORDER;
  int width = cs.cx;
  if (type == CBS_SIMPLE) {
    s.list = CreateWindowExA(0, "ComboLBox", "", listStyle | WS_CHILD | WS_VISIBLE, 0, s.fieldHeight, width,
                             std::max(0, cs.cy - s.fieldHeight), h, nullptr, cs.hInstance, h);
  } else {
    s.dropHeight = std::max(0, cs.cy - s.fieldHeight);
    s.list = CreateWindowExA(WS_EX_TOOLWINDOW, "ComboLBox", "", listStyle | WS_POPUP, 0, 0, width, s.dropHeight, h,
                             nullptr, cs.hInstance, h);
    SetWindowPos(h, nullptr, 0, 0, cs.cx, s.fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (type != CBS_DROPDOWNLIST) {
    DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | (style & CBS_UPPERCASE ? ES_UPPERCASE : 0) |
                      (style & CBS_LOWERCASE ? ES_LOWERCASE : 0);
    int editWidth = type == CBS_SIMPLE ? width - 4 : width - ButtonWidth() - 6;
    s.edit = CreateWindowExA(0, "Edit", "", editStyle, 3, 3, std::max(0, editWidth), s.fieldHeight - 6, h,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), cs.hInstance, nullptr);
  }
}

void PaintField(HWND h, HDC dc, ComboState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  RECT field{0, 0, rc.right, Type(h) == CBS_SIMPLE ? s.fieldHeight : rc.bottom};
  FontScope font(dc, ControlFont(s.font));
  HBRUSH bg = ParentColors(h, dc, WM_CTLCOLOREDIT);
  FillRect(dc, &field, bg);
  DrawEdge(dc, &field, EDGE_SUNKEN, BF_RECT);
  if (Type(h) != CBS_SIMPLE) {
    RECT b = ButtonRect(h);
    DrawFrameControl(dc, &b, DFC_SCROLL,
                     DFCS_SCROLLCOMBOBOX | (s.buttonDown ? DFCS_PUSHED : 0) | (IsWindowEnabled(h) ? 0 : DFCS_INACTIVE));
  }
  if (s.edit) return;
  RECT item{3, 3, ButtonRect(h).left - 1, rc.bottom - 3};
  int sel = Selection(s);
  bool hot = s.focus && !s.dropped;
  if (OwnerDraw(h)) {
    DRAWITEMSTRUCT di{};
    di.CtlType = ODT_COMBOBOX;
    di.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
    di.itemID = static_cast<UINT>(sel);
    di.itemAction = ODA_DRAWENTIRE;
    di.itemState = ODS_COMBOBOXEDIT | (hot ? ODS_SELECTED | ODS_FOCUS : 0) | (IsWindowEnabled(h) ? 0 : ODS_DISABLED);
    di.hwndItem = h;
    di.hDC = dc;
    di.rcItem = item;
    di.itemData = sel >= 0 ? static_cast<ULONG_PTR>(SendMessageA(s.list, LB_GETITEMDATA, static_cast<WPARAM>(sel), 0)) : 0;
    SendMessageA(GetParent(h), WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
    return;
  }
  if (hot) {
    FillRect(dc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else if (!IsWindowEnabled(h)) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  }
  SetBkMode(dc, TRANSPARENT);
  if (sel >= 0) {
    std::string text = ItemText(s, sel);
    RECT t = item;
    t.left += 2;
    DrawTextA(dc, text.c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  if (hot) DrawFocusRect(dc, &item);
}

// Keys the combo passes to its list; true when handled.
bool Key(HWND h, ComboState& s, WPARAM vk, bool alt) {
  if ((vk == VK_F4 && !alt) || (alt && (vk == VK_DOWN || vk == VK_UP))) {
    if (s.dropped) Close(h, s, true);
    else Drop(h, s);
    return true;
  }
  if (s.dropped && (vk == VK_RETURN || vk == VK_ESCAPE)) {
    Close(h, s, vk == VK_RETURN);
    return true;
  }
  switch (vk) {
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
      if (s.edit && !s.dropped && (vk == VK_HOME || vk == VK_END)) return false;
      s.forwardingKey = true;
      if (Selection(s) < 0 && (vk == VK_DOWN || vk == VK_UP)) SendMessageA(s.list, WM_KEYDOWN, VK_HOME, 0);
      else SendMessageA(s.list, WM_KEYDOWN, vk, 0);
      s.forwardingKey = false;
      return true;
    default: return false;
  }
}

LRESULT FromList(HWND h, ComboState& s, WORD code) {
  if (code == LBN_SELCHANGE) {
    ShowSelection(h, s);
    // While the list is down only keys report at once; the mouse reports on release.
    if (!s.dropped || s.forwardingKey) {
      s.reported = Selection(s);
      Command(h, CBN_SELCHANGE);
    }
  } else if (code == LBN_DBLCLK && Type(h) == CBS_SIMPLE) {
    Command(h, CBN_DBLCLK);
  }
  return 0;
}

LRESULT FromEdit(HWND h, ComboState& s, WORD code) {
  switch (code) {
    case EN_SETFOCUS:
      if (!s.focus) {
        s.focus = true;
        Command(h, CBN_SETFOCUS);
      }
      break;
    case EN_KILLFOCUS:
      if (GetFocus() != h && s.focus) {
        Close(h, s, false);
        s.focus = false;
        Command(h, CBN_KILLFOCUS);
      }
      break;
    case EN_CHANGE:
      if (!s.settingText) Command(h, CBN_EDITCHANGE);
      break;
    case EN_UPDATE:
      if (!s.settingText) Command(h, CBN_EDITUPDATE);
      break;
    default: break;
  }
  return 0;
}

LRESULT Forward(const ComboState& s, UINT msg, WPARAM w, LPARAM l) { return SendMessageA(s.list, msg, w, l); }

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, ComboState& s) {
  switch (msg) {
    case WM_CREATE:
      Create(h, s, *reinterpret_cast<CREATESTRUCTA*>(l));
      return s.list ? 0 : -1;
    case WM_DESTROY:
      if (s.list && Type(h) != CBS_SIMPLE) DestroyWindow(s.list);
      s.list = nullptr;
      return 0;
    case CB_ADDSTRING: return Forward(s, LB_ADDSTRING, w, l);
    case CB_INSERTSTRING: return Forward(s, LB_INSERTSTRING, w, l);
    case CB_DELETESTRING: {
      LRESULT r = Forward(s, LB_DELETESTRING, w, l);
      InvalidateRect(h, nullptr, TRUE);
      return r;
    }
    case CB_RESETCONTENT:
      Forward(s, LB_RESETCONTENT, 0, 0);
      ShowSelection(h, s);
      return CB_OKAY;
    case CB_GETCOUNT: return Forward(s, LB_GETCOUNT, 0, 0);
    case CB_GETCURSEL: return Selection(s);
    case CB_SETCURSEL: {
      LRESULT r = Forward(s, LB_SETCURSEL, w, 0);
      ShowSelection(h, s);
      return r;
    }
    case CB_SELECTSTRING: {
      LRESULT r = Forward(s, LB_SELECTSTRING, w, l);
      if (r != LB_ERR) ShowSelection(h, s);
      return r;
    }
    case CB_GETLBTEXT: return Forward(s, LB_GETTEXT, w, l);
    case CB_GETLBTEXTLEN: return Forward(s, LB_GETTEXTLEN, w, l);
    case CB_FINDSTRING: return Forward(s, LB_FINDSTRING, w, l);
    case CB_FINDSTRINGEXACT: return Forward(s, LB_FINDSTRINGEXACT, w, l);
    case CB_GETITEMDATA: return Forward(s, LB_GETITEMDATA, w, l);
    case CB_SETITEMDATA: return Forward(s, LB_SETITEMDATA, w, l);
    case CB_GETITEMHEIGHT:
      return static_cast<int>(w) == -1 ? s.fieldHeight - 6 : Forward(s, LB_GETITEMHEIGHT, w, 0);
    case CB_SETITEMHEIGHT:
      if (static_cast<int>(w) == -1) {
        s.fieldHeight = static_cast<int>(l) + 6;
        InvalidateRect(h, nullptr, TRUE);
        return CB_OKAY;
      }
      return Forward(s, LB_SETITEMHEIGHT, w, l);
    case CB_SHOWDROPDOWN:
      if (w) Drop(h, s);
      else Close(h, s, true);
      return TRUE;
    case CB_GETDROPPEDSTATE: return s.dropped;
    case CB_GETDROPPEDCONTROLRECT: {
      if (!l) return CB_ERR;
      RECT r;
      GetWindowRect(h, &r);
      r.bottom = r.top + s.fieldHeight + s.dropHeight;
      *reinterpret_cast<RECT*>(l) = r;
      return CB_OKAY;
    }
    case CB_LIMITTEXT: return s.edit ? SendMessageA(s.edit, EM_LIMITTEXT, w, 0), TRUE : CB_ERR;
    case CB_GETEDITSEL: return s.edit ? SendMessageA(s.edit, EM_GETSEL, w, l) : CB_ERR;
    case CB_SETEDITSEL: return s.edit ? SendMessageA(s.edit, EM_SETSEL, LOWORD(l), static_cast<short>(HIWORD(l))), TRUE : CB_ERR;
    case WM_SETTEXT: {
      if (s.edit) {
        s.settingText = true;
        SetWindowTextA(s.edit, reinterpret_cast<const char*>(l));
        s.settingText = false;
        return TRUE;
      }
      LRESULT i = Forward(s, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), l);
      if (i == LB_ERR) return CB_ERR;
      Forward(s, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      if (s.edit) return SendMessageA(s.edit, msg, w, l);
      int sel = Selection(s);
      std::string text = sel >= 0 ? ItemText(s, sel) : "";
      if (msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text.size());
      if (!l || w == 0) return 0;
      size_t n = CharStart(text, std::min(text.size(), static_cast<size_t>(w) - 1));
      text.copy(reinterpret_cast<char*>(l), n);
      reinterpret_cast<char*>(l)[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(w);
      if (s.edit) SendMessageA(s.edit, WM_SETFONT, w, l);
      SendMessageA(s.list, WM_SETFONT, w, l);
      if (l) InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_WANTARROWS | (s.dropped ? DLGC_WANTALLKEYS : 0);
    case WM_SETFOCUS:
      if (s.edit) {
        SetFocus(s.edit);
        return 0;
      }
      s.focus = true;
      InvalidateRect(h, nullptr, TRUE);
      Command(h, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (s.edit) return 0;
      Close(h, s, false);
      s.focus = false;
      InvalidateRect(h, nullptr, TRUE);
      Command(h, CBN_KILLFOCUS);
      return 0;
    case WM_COMMAND: {
      auto from = reinterpret_cast<HWND>(l);
      if (from && from == s.list) return FromList(h, s, HIWORD(w));
      if (from && from == s.edit) return FromEdit(h, s, HIWORD(w));
      return 0;
    }
    case kListPicked: Close(h, s, true); return 0;
    case kListCancelled: Close(h, s, false); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      RECT b = ButtonRect(h);
      if (Type(h) == CBS_DROPDOWNLIST || (Type(h) == CBS_DROPDOWN && PtInRect(&b, MousePoint(l)))) {
        if (s.dropped) Close(h, s, false);
        else Drop(h, s);
      }
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (Key(h, s, w, msg == WM_SYSKEYDOWN)) return 0;
      break;
    case WM_CHAR:
      if (s.edit) return SendMessageA(s.edit, msg, w, l);
      return 0;
    case WM_MOUSEWHEEL:
      // The dropped list scrolls; a closed combo leaves the wheel to its parent.
      if (s.dropped) return SendMessageA(s.list, msg, w, l);
      break;
    case WM_ENABLE:
      if (s.edit) EnableWindow(s.edit, static_cast<BOOL>(w));
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK ComboBoxProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  // Scroll bar styles are meant for the list; the combo itself has none.
  if (msg == WM_NCCREATE)
    SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) & ~static_cast<LONG>(WS_VSCROLL | WS_HSCROLL));
  return DispatchWithState(g_combos, h, msg, w, l, OnMessage, PaintField);
}

}  // namespace plat::controls
