// Mouse and keyboard input as a screen back end delivers it, before any window
// sees it. The window manager turns these into window messages.
#pragma once
#include <cstdint>
#include <string>

namespace plat::display {

struct InputEvent {
  enum class Kind { MouseMove, MouseDown, MouseUp, MouseWheel, KeyDown, KeyUp, Text, Quit };
  // Mouse buttons and modifier keys as the Win32 MK_ flags of a mouse message.
  enum Flags : uint32_t { LButton = 0x01, RButton = 0x02, Shift = 0x04, Control = 0x08, MButton = 0x10 };

  Kind kind = Kind::MouseMove;
  int x = 0, y = 0;         // screen pixels (mouse events)
  uint32_t button = 0;      // the one button that changed (MouseDown/MouseUp), a Flags bit
  uint32_t state = 0;       // buttons held and Shift/Control, Flags bits
  int wheel = 0;            // wheel steps, positive away from the user
  int clicks = 1;           // 2 for the second press of a double click
  int32_t key = 0;          // the desktop's key code, an SDL_Keycode (KeyDown/KeyUp)
  bool alt = false;         // Alt held (KeyDown/KeyUp)
  bool repeat = false;      // auto-repeat of a held key
  std::string text;         // UTF-8 characters typed (Text)
};

}  // namespace plat::display
