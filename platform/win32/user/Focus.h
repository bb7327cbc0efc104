// Activation, keyboard focus and mouse capture, and how they follow windows that are
// hidden, disabled or destroyed.
#pragma once
#include <vector>

#include "../WinUser.h"

namespace plat::user {

void LeaveWindowState(HWND hwnd);   // before a window is destroyed
void ForgetWindowState(HWND hwnd);  // after it is gone
void WindowHidden(HWND hwnd);
void WindowDisabled(HWND hwnd);
std::vector<HWND> TopLevelWindows();

}  // namespace plat::user
