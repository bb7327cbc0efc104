// The rebar class: registered so that code looking for it finds it; it holds no bands.
#include "../WinCommCtrl.h"
#include "ControlSupport.h"

namespace plat::controls {

LRESULT CALLBACK RebarProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == RB_GETBANDCOUNT) return 0;
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace plat::controls
