// Update regions of windows and the WM_PAINT they cause.
#pragma once
#include <vector>

#include "../WinUser.h"

namespace plat::user {

// The next window of the thread that needs painting (parents before children), or null.
HWND NextWindowToPaint(DWORD threadId, const std::vector<HWND>* among);
bool HasPaintFor(DWORD threadId);
void ValidateAfterPaint(HWND hwnd);
void ForgetPaint(HWND hwnd);

// The update area (client coordinates) and whether the background needs erasing;
// `clear` takes it away, as BeginPaint does. False when nothing needs painting.
bool TakeUpdate(HWND hwnd, RECT* update, bool* erase, bool clear);
// True (once) when the window's frame needs WM_NCPAINT.
bool TakeFrame(HWND hwnd);
void Redraw(HWND hwnd, const RECT* rect, UINT flags);
// A window that paints over its children (no WS_CLIPCHILDREN) has them paint again
// afterwards in `area` (its client coordinates), so a child never lies under its parent.
void InvalidateChildrenUnder(HWND hwnd, const RECT& area);

}  // namespace plat::user
