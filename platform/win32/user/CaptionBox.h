// The close, maximise and minimise boxes of a caption: a box acts only when the button is
// released over it, and shows pushed while it is held with the pointer on it.
#pragma once
#include "../WinUser.h"

namespace plat::user {

struct Window;

// Whether the box of hit code `hit` (HTCLOSE, HTMAXBUTTON, HTMINBUTTON) takes clicks; a
// greyed box does not.
bool CaptionBoxEnabled(const Window& w, int hit);
// Follows the mouse after a press on the box until the button comes up; true when it came
// up over the box (a move off it, Esc or a lost capture give false).
bool TrackCaptionBox(HWND hwnd, int hit);

}  // namespace plat::user
