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
// Keys enter as the screen's back end delivers them: key events with the desktop's key
// codes and the text they type, on the keyboard map of the locale (US, or Japanese
// 106-key for a Japanese locale).
// One key pressed and released with the modifiers held around it.
void PressKey(UINT vk, unsigned modifiers = kNone);
// Each character by the key that types it; characters no key types come as text alone,
// as an input method hands them over.
void TypeText(const std::string& text);
// Handles the calling thread's messages until none is left and no other thread has work.
void WaitIdle();

}  // namespace plat::user::driver
