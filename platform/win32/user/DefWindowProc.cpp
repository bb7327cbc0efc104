// What a window does with the messages its procedure leaves alone.
#include <algorithm>
#include <cstring>

#include "../WinUserUi.h"
#include "Menu.h"
#include "MoveSize.h"
#include "NcLayout.h"
#include "NonClient.h"
#include "ScrollBars.h"
#include "Painting.h"
#include "MessageQueue.h"
#include "Window.h"

using namespace plat::user;

namespace {

// True once for an Alt (or F10) release that no other key interrupted.
bool TakeMenuKeyAlone() {
  auto q = CurrentQueue();
  if (!q || !q->menuKeyAlone) return false;
  q->menuKeyAlone = false;
  return true;
}

LRESULT SetCursorFor(const Window& w, int hit) {
  LPCSTR id = nullptr;
  switch (hit) {
    case HTCLIENT:
      if (w.cls && w.cls->cursor) {
        SetCursor(w.cls->cursor);
        return TRUE;
      }
      return FALSE;
    case HTLEFT: case HTRIGHT: id = IDC_SIZEWE; break;
    case HTTOP: case HTBOTTOM: id = IDC_SIZENS; break;
    case HTTOPLEFT: case HTBOTTOMRIGHT: id = IDC_SIZENWSE; break;
    case HTTOPRIGHT: case HTBOTTOMLEFT: id = IDC_SIZENESW; break;
    default: id = IDC_ARROW; break;
  }
  SetCursor(LoadCursorA(nullptr, id));
  return TRUE;
}

LRESULT HitTest(HWND hwnd, POINT screen) {
  auto w = FindWindowObject(hwnd);
  if (!w) return HTNOWHERE;
  RECT wr;
  GetWindowRect(hwnd, &wr);
  if (screen.x < wr.left || screen.x >= wr.right || screen.y < wr.top || screen.y >= wr.bottom) return HTNOWHERE;
  POINT o = ClientOrigin(*w);
  RECT cr{o.x, o.y, o.x + (w->client.right - w->client.left), o.y + (w->client.bottom - w->client.top)};
  if (screen.x >= cr.left && screen.x < cr.right && screen.y >= cr.top && screen.y < cr.bottom) return HTCLIENT;
  if (w->style & WS_MINIMIZE) return HTCAPTION;
  // Scroll bars sit just outside the client area.
  if ((w->style & WS_VSCROLL) && screen.x >= cr.right && screen.x < cr.right + GetSystemMetrics(SM_CXVSCROLL) &&
      screen.y >= cr.top && screen.y < cr.bottom)
    return HTVSCROLL;
  if ((w->style & WS_HSCROLL) && screen.y >= cr.bottom && screen.y < cr.bottom + GetSystemMetrics(SM_CYHSCROLL) &&
      screen.x >= cr.left && screen.x < cr.right)
    return HTHSCROLL;
  if (w->style & WS_THICKFRAME) {
    int f = GetSystemMetrics(SM_CXFRAME), corner = GetSystemMetrics(SM_CYCAPTION);
    bool left = screen.x < wr.left + f, right = screen.x >= wr.right - f;
    bool top = screen.y < wr.top + f, bottom = screen.y >= wr.bottom - f;
    bool nearLeft = screen.x < wr.left + corner, nearRight = screen.x >= wr.right - corner;
    bool nearTop = screen.y < wr.top + corner, nearBottom = screen.y >= wr.bottom - corner;
    if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
  }
  // Caption, its buttons and the menu bar, where the frame drawing puts them.
  NcLayout l;
  {
    std::lock_guard lock(UserMutex());
    l = LayoutOf(*w);
  }
  POINT p{screen.x - wr.left, screen.y - wr.top};
  if (Contains(l.closeBox, p)) return HTCLOSE;
  if (Contains(l.maxBox, p)) return HTMAXBUTTON;
  if (Contains(l.minBox, p)) return HTMINBUTTON;
  if (Contains(l.sysIcon, p)) return HTSYSMENU;
  RECT captionRow = l.caption;
  captionRow.bottom += 1;
  if (Contains(captionRow, p)) return HTCAPTION;
  RECT menuRow = l.menuBar;
  menuRow.bottom += 1;
  if (Contains(menuRow, p)) return HTMENU;
  if (Contains(l.vScroll, p)) return HTVSCROLL;
  if (Contains(l.hScroll, p)) return HTHSCROLL;
  if (Contains(l.sizeBox, p)) return HTSIZE;
  return HTBORDER;
}

}  // namespace

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto w = FindWindowObject(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
        std::lock_guard lock(UserMutex());
        w->text = cs->lpszName;
      }
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (r) {
        // A top-level window's id is its menu.
        RECT in = FrameInsets(w->style, w->exStyle, w->id != 0 && !(w->style & WS_CHILD));
        if (w->style & WS_MINIMIZE) in = RECT{};
        r->left += in.left;
        r->top += in.top;
        r->right -= in.right;
        r->bottom -= in.bottom;
        r->right = std::max(r->right, r->left);
        r->bottom = std::max(r->bottom, r->top);
      }
      return 0;
    }
    case WM_NCHITTEST:
      return HitTest(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_SETTEXT: {
      {
        std::lock_guard lock(UserMutex());
        w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      }
      if ((w->style & WS_CAPTION) == WS_CAPTION) PaintNonClient(hwnd);
      return TRUE;
    }
    case WM_GETTEXT: {
      if (!wParam || !lParam) return 0;
      std::lock_guard lock(UserMutex());
      auto* out = reinterpret_cast<LPSTR>(lParam);
      size_t n = std::min(w->text.size(), static_cast<size_t>(wParam - 1));
      // Never cut a UTF-8 character in two.
      while (n > 0 && n < w->text.size() && (static_cast<unsigned char>(w->text[n]) & 0xC0) == 0x80) --n;
      std::memcpy(out, w->text.data(), n);
      out[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: {
      std::lock_guard lock(UserMutex());
      return static_cast<LRESULT>(w->text.size());
    }
    case WM_SETICON: {
      HICON previous;
      {
        std::lock_guard lock(UserMutex());
        HICON& slot = wParam == ICON_BIG ? w->iconBig : w->iconSmall;
        previous = slot;
        slot = reinterpret_cast<HICON>(lParam);
      }
      if ((w->style & WS_CAPTION) == WS_CAPTION) PaintNonClient(hwnd);
      return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETICON: {
      std::lock_guard lock(UserMutex());
      if (wParam == ICON_BIG) return reinterpret_cast<LRESULT>(w->iconBig);
      if (wParam == ICON_SMALL2 && !w->iconSmall) return reinterpret_cast<LRESULT>(w->iconBig);
      return reinterpret_cast<LRESULT>(w->iconSmall);
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      RECT client = w->client;
      if (pos && !(pos->flags & SWP_NOSIZE)) {
        WPARAM kind = (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SendMessageA(hwnd, WM_SIZE, kind, MAKELPARAM(client.right - client.left, client.bottom - client.top));
      }
      if (pos && !(pos->flags & SWP_NOMOVE)) SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hwnd);
      return 0;
    case WM_NCACTIVATE:
      {
        std::lock_guard lock(UserMutex());
        w->ncActive = wParam != FALSE;
      }
      PaintNonClient(hwnd);
      return TRUE;
    case WM_NCPAINT:
      PaintNonClient(hwnd, reinterpret_cast<HRGN>(wParam));
      return 0;
    case WM_MOUSEACTIVATE: {
      // A child asks its parent first.
      if (w->style & WS_CHILD) {
        LRESULT r = SendMessageA(w->parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return MA_ACTIVATE;
    }
    case WM_SETCURSOR: {
      if (w->style & WS_CHILD) {
        if (SendMessageA(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      }
      return SetCursorFor(*w, static_cast<SHORT>(LOWORD(lParam)));
    }
    case WM_CANCELMODE:
      // Ends the window's menu loop too, as the system's own modes end.
      CancelMenuOfWindow(hwnd);
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_CONTEXTMENU:
      if (w->style & WS_CHILD) SendMessageA(w->parent, WM_CONTEXTMENU, wParam, lParam);
      return 0;
    case WM_MOUSEWHEEL:
      // The wheel goes to the focus; what it does not scroll, its parent may.
      if (w->style & WS_CHILD) return SendMessageA(w->parent, WM_MOUSEWHEEL, wParam, lParam);
      return 0;
    case WM_RBUTTONUP: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &p);
      SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(p.x, p.y));
      return 0;
    }
    case WM_NCRBUTTONUP:
      SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
      return 0;
    case WM_SYSKEYDOWN:
      // Alt+F4 closes the top-level window, whichever of its controls has the focus.
      if (wParam == VK_F4 && (HIWORD(lParam) & KF_ALTDOWN)) SendMessageA(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
      // Shift+F10 asks at the press, so that letting Shift go first still counts.
      else if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000) && !(HIWORD(lParam) & KF_REPEAT))
        SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), static_cast<LPARAM>(-1));
      return 0;
    case WM_SYSCHAR:
      if (HIWORD(lParam) & KF_ALTDOWN) SendMessageA(hwnd, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wParam));
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if ((wParam == VK_MENU || wParam == VK_F10) && TakeMenuKeyAlone()) {
        // The top-level window owns the menu.
        HWND top = GetAncestor(hwnd, GA_ROOT);
        SendMessageA(top ? top : hwnd, WM_SYSCOMMAND, SC_KEYMENU, 0);
        return 0;
      }
      if (wParam == VK_APPS)
        SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), static_cast<LPARAM>(-1));
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE: SendMessageA(hwnd, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(hwnd, SW_SHOWMAXIMIZED); break;
        case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
        case SC_MOUSEMENU: {
          POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
          if ((wParam & 0x000F) == HTSYSMENU) TrackSystemMenu(hwnd, false);
          else TrackMenuBar(hwnd, MenuBarItemAt(hwnd, pt), false);
          break;
        }
        case SC_VSCROLL:
        case SC_HSCROLL:
          TrackWindowScrollBar(hwnd, static_cast<int>(wParam & 0x000F),
                               POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
          break;
        case SC_KEYMENU:
          // A child has no menu bar: Alt+letter in a focused control opens its top-level
          // window's menu.
          if (w->style & WS_CHILD) return SendMessageA(w->parent, WM_SYSCOMMAND, wParam, lParam);
          if (lParam == ' ' || (!GetMenu(hwnd) && !lParam)) {
            if (w->style & WS_SYSMENU) TrackSystemMenu(hwnd, true);
          } else if (GetMenu(hwnd)) {
            TrackMenuBar(hwnd, -1, true, static_cast<UINT>(lParam));
          }
          break;
        case SC_MOVE:
        case SC_SIZE: {
          POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
          int hit = (wParam & 0xFFF0) == SC_MOVE ? HTCAPTION : static_cast<int>(wParam & 0x000F) + HTLEFT - 1;
          if (lParam) MoveSizeLoop(hwnd, hit, pt);
          break;
        }
        default: break;
      }
      return 0;
    case WM_NCLBUTTONDOWN:
      switch (wParam) {
        case HTCLOSE: SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam); break;
        case HTMINBUTTON: SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, lParam); break;
        case HTMAXBUTTON:
          SendMessageA(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
          break;
        case HTMENU: SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU | HTMENU, lParam); break;
        case HTVSCROLL: SendMessageA(hwnd, WM_SYSCOMMAND, SC_VSCROLL | HTVSCROLL, lParam); break;
        case HTHSCROLL: SendMessageA(hwnd, WM_SYSCOMMAND, SC_HSCROLL | HTHSCROLL, lParam); break;
        case HTSYSMENU: SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU, lParam); break;
        case HTCAPTION:
          if (!(w->style & WS_MAXIMIZE)) SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
          break;
        case HTLEFT: case HTRIGHT: case HTTOP: case HTTOPLEFT: case HTTOPRIGHT:
        case HTBOTTOM: case HTBOTTOMLEFT: case HTBOTTOMRIGHT:
          SendMessageA(hwnd, WM_SYSCOMMAND, SC_SIZE | static_cast<WPARAM>(wParam - HTLEFT + 1), lParam);
          break;
        default: break;
      }
      return 0;
    case WM_NCLBUTTONDBLCLK:
      // Quick presses on a scroll bar each scroll.
      if (wParam == HTVSCROLL || wParam == HTHSCROLL)
        return DefWindowProcA(hwnd, WM_NCLBUTTONDOWN, wParam, lParam);
      if (wParam == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
        SendMessageA(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
      return 0;
    case WM_PAINT: {
      // Painting nothing still erases and validates, as BeginPaint does.
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = w->cls ? w->cls->background : nullptr;
      if (!brush || !wParam) return 0;
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);  // also takes COLOR_x + 1
      return 1;
    }
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
      return TRUE;
    case WM_GETMINMAXINFO:
    case WM_SHOWWINDOW:
    case WM_SETFONT:
    case WM_GETFONT:
    default:
      return 0;
  }
}
