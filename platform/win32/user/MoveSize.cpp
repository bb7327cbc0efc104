#include "MoveSize.h"

#include "../RectApi.h"

#include <algorithm>

#include "Composition.h"

namespace plat::user {

void MoveSizeLoop(HWND hwnd, int hit, POINT start) {
  RECT orig;
  GetWindowRect(hwnd, &orig);
  HWND parent = GetParent(hwnd);
  const bool child = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) != 0;
  SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  SetCapture(hwnd);
  MINMAXINFO mmi{};
  mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  auto place = [&](RECT r) {
    POINT tl{r.left, r.top};
    if (child) ScreenToClient(parent, &tl);
    SetWindowPos(hwnd, nullptr, tl.x, tl.y, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(hwnd);
    PresentScreen();
  };
  // The rectangle for the mouse at `pt`, told to the window and applied.
  auto track = [&](POINT pt) {
    int dx = pt.x - start.x, dy = pt.y - start.y;
    RECT r = orig;
    if (hit == HTCAPTION) {
      OffsetRect(&r, dx, dy);
      SendMessageA(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
    } else {
      const POINT min = mmi.ptMinTrackSize;
      if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT) r.left = std::min(r.left + dx, r.right - min.x);
      if (hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT) r.right = std::max(r.right + dx, r.left + min.x);
      if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT) r.top = std::min(r.top + dy, r.bottom - min.y);
      if (hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT) r.bottom = std::max(r.bottom + dy, r.top + min.y);
      // WMSZ_ edges number the sides as the hit codes do, starting at 1.
      SendMessageA(hwnd, WM_SIZING, static_cast<WPARAM>(hit - HTLEFT + 1), reinterpret_cast<LPARAM>(&r));
    }
    place(r);
  };
  for (;;) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (GetCapture() != hwnd) break;
      // A release that reached no window still ends the drag, where the mouse is now.
      if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) {
        POINT pt;
        GetCursorPos(&pt);
        track(pt);
        break;
      }
      PresentScreen();
      WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      place(orig);
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
      track(msg.pt);
      break;
    }
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) {
      if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) DispatchMessageA(&msg);
      continue;
    }
    track(msg.pt);
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace plat::user
