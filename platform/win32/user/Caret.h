// The caret: one per thread, drawn by inverting its rectangle on the window.
#pragma once
#include "../WinUser.h"

namespace plat::user {

void HideCaretWhilePainting(HWND hwnd);
void ShowCaretAfterPainting(HWND hwnd);
// Blinks the calling thread's caret when its time has come; returns when it is next due
// (plat::clock microseconds, INT64_MAX for never).
int64_t BlinkCaret();
// When the calling thread's caret blinks next (INT64_MAX for never).
int64_t CaretDue();

}  // namespace plat::user
