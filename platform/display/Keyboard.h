// Keys as the desktop reports them (SDL key codes, from the X key symbols) and what the
// window manager makes of them; and the desktop keyboard maps the test driver types on.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace plat::display {

// The Win32 virtual-key code of a desktop key code; 0 for keys that have none.
uint32_t VirtualKey(int32_t key);

// Keyboard maps of an X server: the US map, and the Japanese 106-key map.
enum class KeyMap { Us, Japanese };
// The map a keyboard sold for the locale has (Japanese for Japanese, else US).
KeyMap KeyMapOfLocale(uint32_t lcid);

struct Stroke {
  int32_t key = 0;
  bool shift = false;
};
// The key, and whether Shift goes with it, that types the ASCII character `c` on `map`.
std::optional<Stroke> StrokeOf(char c, KeyMap map);
// What the key types on `map`, as the desktop's text input reports it (empty: nothing).
std::string TextOf(int32_t key, bool shift, KeyMap map);
// The desktop key that makes the virtual key on `map`; 0 when none does.
int32_t KeyOfVirtualKey(uint32_t vk, KeyMap map);

}  // namespace plat::display
