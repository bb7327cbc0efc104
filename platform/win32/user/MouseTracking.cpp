#include "MouseTracking.h"

#include "Composition.h"

namespace plat::user {

bool TrackMouse(HWND hwnd, const std::function<void(POINT)>& follow, bool* released) {
  SetCapture(hwnd);
  bool kept = true;
  if (released) *released = false;
  for (;;) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (GetCapture() != hwnd) break;
      // A release that never arrives as a message (let go where no window took it): the
      // button's state says so instead.
      if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) {
        POINT pt;
        GetCursorPos(&pt);
        if (released) *released = true;
        follow(pt);
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
      kept = false;
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
      if (released) *released = true;
      follow(msg.pt);
      break;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
      follow(msg.pt);
      continue;
    }
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) DispatchMessageA(&msg);
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  return kept;
}

}  // namespace plat::user
