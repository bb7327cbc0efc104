// Input as a test makes it: clicks, drags and typing in screen coordinates, and a wait
// until every message queue has settled.
#pragma once
#include <string>

#include "../WinUser.h"

namespace plat::user::driver {

enum Modifiers : unsigned { kNone = 0, kShift = 1, kControl = 2, kAlt = 4 };

void MoveTo(int x, int y);
void Click(int x, int y, int button = 0);
void RightClick(int x, int y);
void DoubleClick(int x, int y);
void Drag(POINT from, POINT to, int steps = 4);
// One key pressed and released with the modifiers held around it.
void PressKey(UINT vk, unsigned modifiers = kNone);
// Letters, digits, space and common punctuation as keys; other characters as text.
void TypeText(const std::string& text);
// Handles the calling thread's messages until none is left and no other thread has work.
void WaitIdle();

}  // namespace plat::user::driver
