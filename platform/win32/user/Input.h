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

// The message raw input makes as its thread reads it. Mouse input reaches the capture or the
// window under it, hit-tested, activated and with the cursor set, a double click recognised;
// keys and characters reach the focus window (keys without one, the active window as system
// keys). None when no enabled window takes it or the activation eats it.
std::optional<MSG> CookInput(const RawInput& raw);
// Whether raw input can make a message in the range first..last (0, 0: any).
bool RawInputMayMatch(const RawInput& raw, UINT first, UINT last);

// Input as a user makes it, queued raw (see RawInput). Coordinates are screen coordinates.
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
