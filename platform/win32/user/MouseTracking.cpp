#include "MouseTracking.h"

#include "Composition.h"

namespace plat::user {

bool TrackMouse(HWND hwnd, const std::function<void(POINT)>& follow) {
  SetCapture(hwnd);
  bool kept = true;
  for (;;) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (GetCapture() != hwnd) break;
      // Input is routed when it is made, so a release over no window never arrives as a
      // message: the button's state says so instead.
      if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) {
        POINT pt;
        GetCursorPos(&pt);
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
