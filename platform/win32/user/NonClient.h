// The stand-in's drawing of window frames in the classic 3-D look: borders, caption with
// its buttons, menu bar, client edge and window scroll bars.
#pragma once
#include "../WinUser.h"

namespace plat::user {

void PaintNonClient(HWND hwnd);
// Only inside `update` (screen coordinates) when it is a region, as WM_NCPAINT asks.
void PaintNonClient(HWND hwnd, HRGN update);

}  // namespace plat::user
