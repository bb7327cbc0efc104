// The "Static" class: labels, pictures, frames and rectangles, owner-drawn statics.
#include "ControlSupport.h"

#include "../WinDialog.h"

namespace plat::controls {
namespace {

struct StaticState {
  HFONT font = nullptr;
  HANDLE image = nullptr;
};

StateMap<StaticState> g_statics;

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)); }
DWORD Type(HWND h) { return Style(h) & SS_TYPEMASK; }

void DrawText(HWND h, HDC dc, const RECT& rc, DWORD style, DWORD type) {
  UINT f = DT_EXPANDTABS;
  if (type == SS_CENTER) f |= DT_CENTER | DT_WORDBREAK;
  else if (type == SS_RIGHT) f |= DT_RIGHT | DT_WORDBREAK;
  else if (type == SS_LEFT) f |= DT_WORDBREAK;
  else f |= DT_SINGLELINE;  // simple and no-wrap labels
  if (style & SS_CENTERIMAGE) f = (f & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  if (style & SS_NOPREFIX) f |= DT_NOPREFIX;
  switch (style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS: f = (f & ~DT_WORDBREAK) | DT_SINGLELINE | DT_END_ELLIPSIS; break;
    case SS_PATHELLIPSIS: f = (f & ~DT_WORDBREAK) | DT_SINGLELINE | DT_PATH_ELLIPSIS; break;
    case SS_WORDELLIPSIS: f = (f & ~DT_WORDBREAK) | DT_SINGLELINE | DT_WORD_ELLIPSIS; break;
    default: break;
  }
  std::string text = WindowText(h);
  RECT r = rc;
  SetBkMode(dc, TRANSPARENT);
  if (!IsWindowEnabled(h)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, text.c_str(), -1, &r, f);
}

void DrawPicture(HDC dc, const RECT& rc, DWORD style, DWORD type, HANDLE image) {
  if (!image) return;
  bool centre = style & SS_CENTERIMAGE;
  if (type == SS_ICON) {
    int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
    int x = centre ? (rc.left + rc.right - cx) / 2 : rc.left, y = centre ? (rc.top + rc.bottom - cy) / 2 : rc.top;
    DrawIconEx(dc, x, y, static_cast<HICON>(image), cx, cy, 0, nullptr, DI_NORMAL);
    return;
  }
  BITMAP bm{};
  if (!GetObjectA(image, sizeof bm, &bm)) return;
  int x = centre ? (rc.left + rc.right - bm.bmWidth) / 2 : rc.left;
  int y = centre ? (rc.top + rc.bottom - bm.bmHeight) / 2 : rc.top;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, image);
  BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

void Paint(HWND h, HDC dc, StaticState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  DWORD style = Style(h), type = style & SS_TYPEMASK;
  FontScope font(dc, ControlFont(s.font));
  HBRUSH bg = ParentColors(h, dc, WM_CTLCOLORSTATIC);
  switch (type) {
    case SS_OWNERDRAW: {
      DRAWITEMSTRUCT di{};
      di.CtlType = ODT_STATIC;
      di.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
      di.itemAction = ODA_DRAWENTIRE;
      di.itemState = IsWindowEnabled(h) ? 0 : ODS_DISABLED;
      di.hwndItem = h;
      di.hDC = dc;
      di.rcItem = rc;
      SendMessageA(GetParent(h), WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
      return;
    }
    case SS_BLACKRECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME)); return;
    case SS_GRAYRECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW)); return;
    case SS_WHITERECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW)); return;
    case SS_BLACKFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME)); return;
    case SS_GRAYFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW)); return;
    case SS_WHITEFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW)); return;
    case SS_ETCHEDHORZ: DrawEdge(dc, &rc, EDGE_ETCHED, BF_TOP); return;
    case SS_ETCHEDVERT: DrawEdge(dc, &rc, EDGE_ETCHED, BF_LEFT); return;
    case SS_ETCHEDFRAME: DrawEdge(dc, &rc, EDGE_ETCHED, BF_RECT); return;
    default: break;
  }
  FillRect(dc, &rc, bg);
  if (style & SS_SUNKEN) {
    DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  if (type == SS_ICON || type == SS_BITMAP) DrawPicture(dc, rc, style, type, s.image);
  else DrawText(h, dc, rc, style, type);
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, StaticState& s) {
  switch (msg) {
    case WM_CREATE: {
      // A picture static named by its resource loads it from the creating module.
      DWORD type = Type(h);
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
      if ((type == SS_ICON || type == SS_BITMAP) && cs && cs->lpszName) {
        LPCSTR name = cs->lpszName;
        if (!IS_INTRESOURCE(name) && name[0] == '#') name = MAKEINTRESOURCEA(std::atoi(name + 1));
        s.image = type == SS_ICON ? static_cast<HANDLE>(LoadIconA(cs->hInstance, name))
                                  : static_cast<HANDLE>(LoadBitmapA(cs->hInstance, name));
      }
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_NCHITTEST: return (Style(h) & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Style(h) & SS_NOTIFY) Command(h, msg == WM_LBUTTONDOWN ? STN_CLICKED : STN_DBLCLK);
      return 0;
    case WM_ENABLE:
      if (Style(h) & SS_NOTIFY) Command(h, w ? STN_ENABLE : STN_DISABLE);
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case STM_SETICON:
    case STM_SETIMAGE: {
      HANDLE old = s.image;
      s.image = reinterpret_cast<HANDLE>(msg == STM_SETICON ? w : static_cast<WPARAM>(l));
      InvalidateRect(h, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
    case STM_GETIMAGE: return reinterpret_cast<LRESULT>(s.image);
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(w);
      if (l) InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_SETTEXT: {
      DWORD type = Type(h);
      if (type == SS_ICON || type == SS_BITMAP) return TRUE;
      LRESULT r = DefWindowProcA(h, msg, w, l);
      InvalidateRect(h, nullptr, TRUE);
      return r;
    }
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DispatchWithState(g_statics, h, msg, w, l, OnMessage, Paint);
}

}  // namespace plat::controls
