// How windows share the one screen: every window draws straight onto it, clipped to
// the part of it that nothing above covers. There is no per-window backing store, so a
// window that is uncovered is asked to paint again, as on the classic desktop.
#pragma once
#include "../WinUser.h"
#include "display/InputEvent.h"
#include "gdi/Region.h"

namespace plat::user {

// The part of a window (client area, or the whole window with DCX_WINDOW) that shows
// on the screen, in screen coordinates. DCX_CLIPCHILDREN and DCX_CLIPSIBLINGS add to
// what the window's own styles ask for.
gdi::Region VisibleRegion(HWND hwnd, DWORD dcxFlags);

// True while LockWindowUpdate holds the window or one of its ancestors.
bool LockedAgainstDrawing(HWND hwnd);

// Fills the part of `screenRect` that no top-level window covers with the desktop colour.
void PaintDesktop(const RECT& screenRect);

// Shows what was drawn since last time; does nothing until windows have drawn on the
// screen. The message loop calls it when a thread runs out of messages.
void PresentScreen();
// Noted by everything that draws on the screen for windows.
void ScreenInUse();
// Feeds what the screen's back end received (mouse, keys, text) into the window manager's
// input; the back end wakes waiting message loops when something arrives.
void PumpScreenInput();
// True while the back end holds input not yet pumped. A loop checks it with the kernel
// lock held before it sleeps: input that came after its pump must not wait for the next
// wake-up.
bool ScreenInputWaiting();
// One event of the back end's input into the window manager: keys through the key
// table, text through the filter that keeps what typing makes. The test driver's input
// goes this way too.
void DeliverScreenInput(const display::InputEvent& ev);
bool ScreenWasUsed();

}  // namespace plat::user
