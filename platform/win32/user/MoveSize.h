// Moving and sizing a window with the mouse (caption drag, border drag).
#pragma once
#include "../WinUser.h"

namespace plat::user {

// `hit` is HTCAPTION for a move, HTLEFT ... HTBOTTOMRIGHT for sizing. Returns when the
// button is released (kept) or Esc is pressed (put back).
void MoveSizeLoop(HWND hwnd, int hit, POINT start);

}  // namespace plat::user
