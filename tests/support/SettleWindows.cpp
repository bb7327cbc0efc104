#include "SettleWindows.h"

#include <thread>

#include <afxwin.h>

#include "user/MessageQueue.h"

namespace testenv {

void SettleWindows() {
  for (int round = 0; round < 100000; ++round) {
    MSG msg;
    bool any = false;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      any = true;
      if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
      }
    }
    if (!any && !plat::user::AnyQueueBusy()) return;
    if (!any) std::this_thread::yield();
  }
}

}  // namespace testenv
