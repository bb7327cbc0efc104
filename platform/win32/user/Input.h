// Keyboard and mouse input: the state tables, the characters keys make, and the
// injection that both the test driver and the screen's real input go through.
#pragma once
#include <optional>
#include <string>

#include "../WinUser.h"
#include "MessageQueue.h"

namespace plat::user {

// Updates the thread's key table for an input message it has just retrieved.
void TrackKeyState(ThreadQueue& q, const MSG& m);
// The character a key makes by itself with the given key table, or -1 for none: control
// characters, and with Alt (a system key) the letters, digits and space of mnemonics.
// Printable characters come as text, typed on the desktop's keyboard map.
int CharacterOfKey(UINT vk, const BYTE* keys, bool systemKey);

// The message raw mouse input makes as its thread reads it: the capture or the window under
// it, hit-tested, activated and with the cursor set, a double click recognised. None when no
// enabled window takes it or the activation eats it.
std::optional<MSG> CookMouse(const RawMouse& raw);
// Whether raw mouse input can make a message in the range first..last (0, 0: any).
bool RawMouseMayMatch(const RawMouse& raw, UINT first, UINT last);

// Input as a user makes it. Mouse input is queued raw (see RawMouse). Coordinates are screen coordinates.
namespace input {
void MouseMove(int x, int y);
void MouseButton(int button, bool down);  // 0 left, 1 right, 2 middle
void Key(UINT vk, bool down);
// Wheel steps (positive away from the user) at the focus window, WHEEL_DELTA each.
void Wheel(int steps);
// Typed text arrives as WM_CHAR, one byte of the UTF-8 text each, at the focus window.
void Chars(const std::string& text);
}  // namespace input

}  // namespace plat::user
