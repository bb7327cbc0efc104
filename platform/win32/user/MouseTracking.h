// The modal loop shared by moving, sizing and scroll-bar dragging.
#pragma once
#include <functional>

#include "../WinUser.h"

namespace plat::user {

// Captures the mouse for `hwnd` and follows it until the left button is released (true)
// or Esc is pressed (false). `follow` sees each position, the release's included. Other
// messages are dispatched meanwhile, keys excepted. A capture taken away also ends it
// (true); `released` then says false.
bool TrackMouse(HWND hwnd, const std::function<void(POINT)>& follow, bool* released = nullptr);

}  // namespace plat::user
