// A window's own scroll bars (WS_HSCROLL, WS_VSCROLL): their ranges and positions, their
// parts, and tracking them with the mouse.
#pragma once
#include "../WinUser.h"

namespace plat::user {

struct ScrollBarParts {
  RECT first{}, last{};  // the arrows
  RECT track{};          // between the arrows
  RECT thumb{};          // empty when there is no room or nothing to scroll
};

// The parts of a bar drawn in `bar` for the scroll state `info`.
ScrollBarParts PartsOf(const RECT& bar, bool vertical, const SCROLLINFO& info);
// The window's state of one bar (SB_HORZ or SB_VERT), with every field filled.
SCROLLINFO WindowScrollInfo(HWND hwnd, int bar);
// Arrows disabled by EnableScrollBar (ESB_ flags).
UINT WindowScrollArrows(HWND hwnd, int bar);
// Tracks a click on a window scroll bar (`hit` HTVSCROLL or HTHSCROLL) until release.
void TrackWindowScrollBar(HWND hwnd, int hit, POINT screen);
void ForgetScrollBars(HWND hwnd);

}  // namespace plat::user
