#include "MoveSize.h"

#include <algorithm>

#include "../RectApi.h"
#include "Composition.h"
#include "MouseTracking.h"

namespace plat::user {

void MoveSizeLoop(HWND hwnd, int hit, POINT start) {
  RECT orig;
  GetWindowRect(hwnd, &orig);
  HWND parent = GetParent(hwnd);
  const bool child = (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) != 0;
  SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
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
      // Each moving edge stays within the window's smallest and largest size.
      const POINT min = mmi.ptMinTrackSize, max = mmi.ptMaxTrackSize;
      if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT)
        r.left = std::clamp(r.left + dx, r.right - max.x, r.right - min.x);
      if (hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT)
        r.right = std::clamp(r.right + dx, r.left + min.x, r.left + max.x);
      if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT)
        r.top = std::clamp(r.top + dy, r.bottom - max.y, r.bottom - min.y);
      if (hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT)
        r.bottom = std::clamp(r.bottom + dy, r.top + min.y, r.top + max.y);
      // WMSZ_ edges number the sides as the hit codes do, starting at 1.
      SendMessageA(hwnd, WM_SIZING, static_cast<WPARAM>(hit - HTLEFT + 1), reinterpret_cast<LPARAM>(&r));
    }
    place(r);
  };
  if (!TrackMouse(hwnd, track)) place(orig);
  SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace plat::user
