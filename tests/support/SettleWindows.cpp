#include "SettleWindows.h"

#include <chrono>
#include <thread>

#include <afxwin.h>

#include "user/InputDeadline.h"
#include "user/MessageQueue.h"

namespace testenv {

void SettleWindows() {
  // A drag loop left waiting for a release the test never gives ends instead of hanging.
  const plat::user::driver::InputDeadline bound(std::chrono::seconds(10));
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
