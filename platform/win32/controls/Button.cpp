// The "Button" class: push buttons, check boxes, radio buttons, group boxes and
// owner-drawn buttons, with mouse and space-bar operation.
#include <vector>

#include "ControlSupport.h"

#include "../WinDialog.h"

namespace plat::controls {
namespace {

struct ButtonState {
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  bool focus = false;
  bool tracking = false;  // the mouse holds the button
  bool spaceDown = false;
  HFONT font = nullptr;
  HANDLE image = nullptr;
  UINT imageType = IMAGE_BITMAP;
};

StateMap<ButtonState> g_buttons;

DWORD Type(HWND h) { return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)) & BS_TYPEMASK; }
DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)); }

bool IsCheckType(DWORD t) {
  return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE ||
         t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON;
}
bool IsRadio(DWORD t) { return t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON; }

void OwnerDraw(HWND h, const ButtonState& s, UINT action) {
  HDC dc = GetDC(h);
  DRAWITEMSTRUCT di{};
  di.CtlType = ODT_BUTTON;
  di.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
  di.itemAction = action;
  di.itemState = (s.pushed ? ODS_SELECTED : 0) | (s.focus ? ODS_FOCUS : 0) |
                 (IsWindowEnabled(h) ? 0 : ODS_DISABLED);
  di.hwndItem = h;
  di.hDC = dc;
  GetClientRect(h, &di.rcItem);
  ParentColors(h, dc, WM_CTLCOLORBTN);
  SendMessageA(GetParent(h), WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
  ReleaseDC(h, dc);
}

// Push and focus changes: owner-drawn buttons are told at once with the action that
// changed; the others repaint.
void Changed(HWND h, const ButtonState& s, UINT action) {
  if (Type(h) == BS_OWNERDRAW) {
    if (IsWindowVisible(h)) OwnerDraw(h, s, action);
  } else {
    InvalidateRect(h, nullptr, TRUE);
  }
}

void SetPushed(HWND h, ButtonState& s, bool pushed) {
  if (s.pushed == pushed) return;
  s.pushed = pushed;
  Changed(h, s, ODA_SELECT);
}

void SetCheck(HWND h, ButtonState& s, UINT check) {
  DWORD t = Type(h);
  if (!IsCheckType(t)) return;
  if (check > BST_INDETERMINATE || (check == BST_INDETERMINATE && t != BS_3STATE && t != BS_AUTO3STATE))
    check = BST_CHECKED;
  if (IsRadio(t)) {
    // The checked radio button of a group is its tab stop.
    LONG style = GetWindowLongA(h, GWL_STYLE);
    SetWindowLongA(h, GWL_STYLE, check ? (style | WS_TABSTOP) : (style & ~static_cast<LONG>(WS_TABSTOP)));
  }
  if (s.check != check) {
    s.check = check;
    InvalidateRect(h, nullptr, TRUE);
  }
}

// The auto-radio buttons of h's group, h included.
std::vector<HWND> RadioGroup(HWND h) {
  std::vector<HWND> group;
  HWND parent = GetParent(h);
  if (!parent) return {h};
  HWND first = h;
  while (!(GetWindowLongA(first, GWL_STYLE) & WS_GROUP)) {
    HWND prev = GetWindow(first, GW_HWNDPREV);
    if (!prev) break;
    first = prev;
  }
  for (HWND c = first; c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (c != first && (GetWindowLongA(c, GWL_STYLE) & WS_GROUP)) break;
    if (Type(c) == BS_AUTORADIOBUTTON) group.push_back(c);
  }
  return group;
}

// What a click does: auto buttons change their check, then the parent hears BN_CLICKED.
void Clicked(HWND h, ButtonState& s) {
  switch (Type(h)) {
    case BS_AUTOCHECKBOX: SetCheck(h, s, s.check ? BST_UNCHECKED : BST_CHECKED); break;
    case BS_AUTO3STATE: SetCheck(h, s, (s.check + 1) % 3); break;
    case BS_AUTORADIOBUTTON:
      for (HWND other : RadioGroup(h))
        if (other != h) SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
      SetCheck(h, s, BST_CHECKED);
      break;
    default: break;
  }
  Command(h, BN_CLICKED);
}

void DrawImage(HDC dc, const ButtonState& s, const RECT& r) {
  if (!s.image) return;
  if (s.imageType == IMAGE_ICON) {
    // The icon keeps its own size, centred: a small icon is not stretched.
    auto icon = static_cast<HICON>(s.image);
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return;
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    const int cx = mask.bmWidth, cy = mask.bmHeight;
    DrawIconEx(dc, (r.left + r.right - cx) / 2, (r.top + r.bottom - cy) / 2, icon, cx, cy, 0, nullptr, DI_NORMAL);
    return;
  }
  BITMAP bm{};
  if (!GetObjectA(s.image, sizeof bm, &bm)) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, s.image);
  BitBlt(dc, (r.left + r.right - bm.bmWidth) / 2, (r.top + r.bottom - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight,
         mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

UINT TextFormat(DWORD style, bool push) {
  UINT f = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  DWORD h = style & BS_CENTER;
  if (h == BS_CENTER || (push && h == 0)) f |= DT_CENTER;
  else if (h == BS_RIGHT) f |= DT_RIGHT;
  DWORD v = style & BS_VCENTER;
  if (v == BS_TOP) f |= DT_TOP;
  else if (v == BS_BOTTOM) f |= DT_BOTTOM;
  else if (!(style & BS_MULTILINE)) f |= DT_VCENTER;
  return f;
}

void DrawLabel(HWND h, HDC dc, const ButtonState& s, RECT r, UINT format) {
  DWORD style = Style(h);
  if (style & (BS_BITMAP | BS_ICON)) {
    DrawImage(dc, s, r);
    return;
  }
  std::string text = WindowText(h);
  SetBkMode(dc, TRANSPARENT);
  if (!IsWindowEnabled(h)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, text.c_str(), -1, &r, format);
}

void FocusAround(HWND h, HDC dc, RECT r, UINT format) {
  // The focus frame hugs the label of check and radio buttons.
  std::string text = WindowText(h);
  RECT calc = r;
  DrawTextA(dc, text.c_str(), -1, &calc, (format & ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
  int w = calc.right - calc.left, hgt = calc.bottom - calc.top;
  RECT f{r.left - 1, (r.top + r.bottom - hgt) / 2 - 1, r.left + w + 1, (r.top + r.bottom + hgt) / 2 + 1};
  DrawFocusRect(dc, &f);
}

// The round box of a radio button: a sunken circle, a dot when checked.
void DrawRadio(HDC dc, const RECT& b, bool checked, bool greyed) {
  HBRUSH face = GetSysColorBrush(greyed ? COLOR_BTNFACE : COLOR_WINDOW);
  HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HGDIOBJ oldPen = SelectObject(dc, shadow);
  HGDIOBJ oldBrush = SelectObject(dc, face);
  Ellipse(dc, b.left, b.top, b.right - 1, b.bottom - 1);
  if (checked) {
    HBRUSH dot = GetSysColorBrush(COLOR_WINDOWTEXT);
    SelectObject(dc, dot);
    SelectObject(dc, GetStockObject(NULL_PEN));
    int cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
    Ellipse(dc, cx - 3, cy - 3, cx + 3, cy + 3);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(shadow);
}

void Paint(HWND h, HDC dc, ButtonState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  DWORD style = Style(h);
  DWORD t = style & BS_TYPEMASK;
  FontScope font(dc, ControlFont(s.font));
  if (t == BS_OWNERDRAW) {
    DRAWITEMSTRUCT di{};
    di.CtlType = ODT_BUTTON;
    di.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
    di.itemAction = ODA_DRAWENTIRE;
    di.itemState = (s.pushed ? ODS_SELECTED : 0) | (s.focus ? ODS_FOCUS : 0) | (IsWindowEnabled(h) ? 0 : ODS_DISABLED);
    di.hwndItem = h;
    di.hDC = dc;
    di.rcItem = rc;
    ParentColors(h, dc, WM_CTLCOLORBTN);
    SendMessageA(GetParent(h), WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
    return;
  }
  HBRUSH bg = ParentColors(h, dc, t == BS_GROUPBOX || IsCheckType(t) ? WM_CTLCOLORSTATIC : WM_CTLCOLORBTN);
  bool pushLike = (style & BS_PUSHLIKE) && IsCheckType(t);
  if (t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON || pushLike) {
    FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    RECT r = rc;
    bool down = s.pushed || (pushLike && s.check == BST_CHECKED);
    if (t == BS_DEFPUSHBUTTON) {
      FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      InflateRect(&r, -1, -1);
    }
    if (down && !pushLike) {
      FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    } else {
      DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
    RECT label = r;
    InflateRect(&label, -3, -3);
    if (down) OffsetRect(&label, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawLabel(h, dc, s, label, TextFormat(style, true));
    if (s.focus) {
      RECT f = r;
      InflateRect(&f, -3, -3);
      DrawFocusRect(dc, &f);
    }
    return;
  }
  if (t == BS_GROUPBOX) {
    // A group box is only a frame: its inside is left alone, so that controls beneath it in
    // the z-order (a label made before it) show through, as on Windows.
    std::string text = WindowText(h);
    SIZE ext{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &ext);
    RECT frame = rc;
    frame.top += ext.cy / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!text.empty()) {
      RECT label{rc.left + 8, rc.top, rc.left + 8 + ext.cx + 4, rc.top + ext.cy};
      FillRect(dc, &label, bg);
      InflateRect(&label, -2, 0);
      DrawLabel(h, dc, s, label, DT_SINGLELINE | DT_LEFT | DT_TOP);
    }
    return;
  }
  FillRect(dc, &rc, bg);
  // Check boxes and radio buttons: a 13-pixel box beside the label.
  const int box = 13;
  bool leftText = style & BS_LEFTTEXT;
  RECT b{leftText ? rc.right - box : rc.left, (rc.top + rc.bottom - box) / 2, 0, 0};
  b.right = b.left + box;
  b.bottom = b.top + box;
  if (IsRadio(t)) {
    DrawRadio(dc, b, s.check != 0, s.pushed || !IsWindowEnabled(h));
  } else {
    UINT state = (t == BS_3STATE || t == BS_AUTO3STATE) ? DFCS_BUTTON3STATE : DFCS_BUTTONCHECK;
    if (s.check) state |= DFCS_CHECKED;
    if (s.pushed) state |= DFCS_PUSHED;
    if (!IsWindowEnabled(h)) state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &b, DFC_BUTTON, state);
  }
  RECT label = rc;
  if (leftText) label.right = b.left - 4;
  else label.left = b.right + 4;
  UINT format = TextFormat(style, false);
  DrawLabel(h, dc, s, label, format);
  if (s.focus) FocusAround(h, dc, label, format);
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, ButtonState& s) {
  DWORD t = Type(h);
  switch (msg) {
    case WM_GETDLGCODE:
      switch (t) {
        case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX: return DLGC_STATIC;
        default: return DLGC_BUTTON;
      }
    case WM_NCHITTEST:
      // A group box lets the mouse through to the controls inside it.
      if (t == BS_GROUPBOX) return HTTRANSPARENT;
      break;
    case BM_GETCHECK: return IsCheckType(t) ? s.check : BST_UNCHECKED;
    case BM_SETCHECK: SetCheck(h, s, static_cast<UINT>(w)); return 0;
    case BM_GETSTATE:
      return (IsCheckType(t) ? s.check : 0) | (s.pushed ? BST_PUSHED : 0) | (s.focus ? BST_FOCUS : 0);
    case BM_SETSTATE: SetPushed(h, s, w != 0); return 0;
    case BM_SETSTYLE: {
      LONG style = GetWindowLongA(h, GWL_STYLE);
      SetWindowLongA(h, GWL_STYLE, (style & static_cast<LONG>(0xFFFF0000)) | static_cast<LONG>(LOWORD(w)));
      if (l) InvalidateRect(h, nullptr, TRUE);
      return 0;
    }
    case BM_CLICK:
      if (IsWindowEnabled(h)) Clicked(h, s);
      return 0;
    case BM_GETIMAGE: return reinterpret_cast<LRESULT>(w == s.imageType ? s.image : nullptr);
    case BM_SETIMAGE: {
      HANDLE old = s.imageType == w ? s.image : nullptr;
      s.image = reinterpret_cast<HANDLE>(l);
      s.imageType = static_cast<UINT>(w);
      InvalidateRect(h, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(w);
      if (l) InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcA(h, msg, w, l);
      InvalidateRect(h, nullptr, TRUE);
      return r;
    }
    case WM_ENABLE:
    case WM_SYSCOLORCHANGE: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_SETFOCUS:
      s.focus = true;
      Changed(h, s, ODA_FOCUS);
      if (Style(h) & BS_NOTIFY) Command(h, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s.focus = false;
      s.spaceDown = false;
      if (s.pushed && !s.tracking) SetPushed(h, s, false);
      Changed(h, s, ODA_FOCUS);
      if (Style(h) & BS_NOTIFY) Command(h, BN_KILLFOCUS);
      if (GetCapture() == h) ReleaseCapture();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (t == BS_GROUPBOX) return 0;
      if (GetFocus() != h) SetFocus(h);
      SetCapture(h);
      s.tracking = true;
      SetPushed(h, s, true);
      return 0;
    case WM_MOUSEMOVE:
      if (s.tracking) {
        RECT rc;
        GetClientRect(h, &rc);
        SetPushed(h, s, PtInRect(&rc, MousePoint(l)) != 0);
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!s.tracking) return 0;
      bool inside = s.pushed;
      s.tracking = false;
      SetPushed(h, s, false);
      if (GetCapture() == h) ReleaseCapture();
      if (inside) Clicked(h, s);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (s.tracking && reinterpret_cast<HWND>(l) != h) {
        s.tracking = false;
        SetPushed(h, s, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (w == VK_SPACE && t != BS_GROUPBOX) {
        s.spaceDown = true;
        SetPushed(h, s, true);
        return 0;
      }
      break;
    case WM_KEYUP:
      if (w == VK_SPACE && s.spaceDown) {
        s.spaceDown = false;
        SetPushed(h, s, false);
        Clicked(h, s);
        return 0;
      }
      break;
    case WM_CHAR:
      if (w == ' ') return 0;
      break;
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DispatchWithState(g_buttons, h, msg, w, l, OnMessage, Paint);
}

}  // namespace plat::controls
