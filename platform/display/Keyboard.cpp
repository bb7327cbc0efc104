#include "display/Keyboard.h"

#include <SDL_keycode.h>

#include <iterator>

namespace plat::display {
namespace {

struct KeyVk {
  int32_t key;
  uint32_t vk;
};

// Keys other than letters, digits, F1-F12 and the keypad digits. The punctuation keys get
// the codes of the Windows layout whose key they are; where both layouts have a key for
// the same code (0xBA is ';' in the US and ':' in the Japanese layout), the map's own key
// comes first in the reverse look-up. The character always comes from the text input.
constexpr KeyVk kKeys[] = {
    {SDLK_BACKSPACE, 0x08}, {SDLK_TAB, 0x09},       {SDLK_RETURN, 0x0D},    {SDLK_KP_ENTER, 0x0D},
    {SDLK_LSHIFT, 0x10},    {SDLK_RSHIFT, 0x10},    {SDLK_LCTRL, 0x11},     {SDLK_RCTRL, 0x11},
    {SDLK_LALT, 0x12},      {SDLK_RALT, 0x12},      {SDLK_PAUSE, 0x13},     {SDLK_ESCAPE, 0x1B},
    {SDLK_SPACE, 0x20},     {SDLK_PAGEUP, 0x21},    {SDLK_PAGEDOWN, 0x22},  {SDLK_END, 0x23},
    {SDLK_HOME, 0x24},      {SDLK_LEFT, 0x25},      {SDLK_UP, 0x26},        {SDLK_RIGHT, 0x27},
    {SDLK_DOWN, 0x28},      {SDLK_INSERT, 0x2D},    {SDLK_DELETE, 0x2E},    {SDLK_APPLICATION, 0x5D},
    {SDLK_KP_0, 0x60},      {SDLK_KP_MULTIPLY, 0x6A}, {SDLK_KP_PLUS, 0x6B}, {SDLK_KP_MINUS, 0x6D},
    {SDLK_KP_PERIOD, 0x6E}, {SDLK_KP_DIVIDE, 0x6F},
    {SDLK_COLON, 0xBA},     {SDLK_SEMICOLON, 0xBA}, {SDLK_EQUALS, 0xBB},    {SDLK_COMMA, 0xBC},
    {SDLK_MINUS, 0xBD},     {SDLK_PERIOD, 0xBE},    {SDLK_SLASH, 0xBF},     {SDLK_AT, 0xC0},
    {SDLK_BACKQUOTE, 0xC0}, {SDLK_LEFTBRACKET, 0xDB}, {SDLK_BACKSLASH, 0xDC}, {SDLK_RIGHTBRACKET, 0xDD},
    {SDLK_CARET, 0xDE},     {SDLK_QUOTE, 0xDE},
};

// The printable keys of each map besides the letters: what each types alone and with
// Shift, as the X maps "us" and "jp" have them. Their key code is the unshifted character.
struct Printable {
  char plain, shifted;
};
constexpr Printable kUs[] = {
    {' ', ' '}, {'1', '!'}, {'2', '@'}, {'3', '#'}, {'4', '$'}, {'5', '%'},  {'6', '^'}, {'7', '&'},
    {'8', '*'}, {'9', '('}, {'0', ')'}, {'-', '_'}, {'=', '+'}, {'[', '{'},  {']', '}'}, {'\\', '|'},
    {';', ':'}, {'\'', '"'}, {'`', '~'}, {',', '<'}, {'.', '>'}, {'/', '?'},
};
// Two keys type a backslash on the Japanese map: the yen key (Shift: '|') and the one
// left of the right Shift (Shift: '_'). Both report the backslash key code.
constexpr Printable kJapanese[] = {
    {' ', ' '}, {'1', '!'}, {'2', '"'}, {'3', '#'}, {'4', '$'}, {'5', '%'},  {'6', '&'}, {'7', '\''},
    {'8', '('}, {'9', ')'}, {'0', '~'}, {'-', '='}, {'^', '~'}, {'\\', '|'}, {'@', '`'}, {'[', '{'},
    {';', '+'}, {':', '*'}, {']', '}'}, {',', '<'}, {'.', '>'}, {'/', '?'},  {'\\', '_'},
};

template <typename F>
void ForEachPrintable(KeyMap map, F f) {
  if (map == KeyMap::Us)
    for (const Printable& p : kUs) f(p);
  else
    for (const Printable& p : kJapanese) f(p);
}

bool OnMap(int32_t key, KeyMap map) {
  if (key < 0x20 || key >= 0x7F) return true;  // not a character key: on every keyboard
  if (key >= 'a' && key <= 'z') return true;
  bool found = false;
  ForEachPrintable(map, [&](const Printable& p) { found = found || p.plain == key; });
  return found;
}

}  // namespace

uint32_t VirtualKey(int32_t key) {
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint32_t>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint32_t>('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<uint32_t>(0x70 + (key - SDLK_F1));
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return static_cast<uint32_t>(0x61 + (key - SDLK_KP_1));
  for (const KeyVk& k : kKeys)
    if (k.key == key) return k.vk;
  return 0;
}

KeyMap KeyMapOfLocale(uint32_t lcid) { return (lcid & 0x3FF) == 0x11 ? KeyMap::Japanese : KeyMap::Us; }

std::optional<Stroke> StrokeOf(char c, KeyMap map) {
  if (c >= 'a' && c <= 'z') return Stroke{c, false};
  if (c >= 'A' && c <= 'Z') return Stroke{c - 'A' + 'a', true};
  std::optional<Stroke> out;
  ForEachPrintable(map, [&](const Printable& p) {
    if (out) return;
    if (p.plain == c) out = Stroke{static_cast<unsigned char>(p.plain), false};
    else if (p.shifted == c) out = Stroke{static_cast<unsigned char>(p.plain), true};
  });
  return out;
}

std::string TextOf(int32_t key, bool shift, KeyMap map) {
  if (key >= 'a' && key <= 'z') return std::string(1, static_cast<char>(shift ? key - 'a' + 'A' : key));
  // The keypad types its characters whatever the map (Num Lock on).
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return std::string(1, static_cast<char>('1' + (key - SDLK_KP_1)));
  switch (key) {
    case SDLK_KP_0: return "0";
    case SDLK_KP_MULTIPLY: return "*";
    case SDLK_KP_PLUS: return "+";
    case SDLK_KP_MINUS: return "-";
    case SDLK_KP_PERIOD: return ".";
    case SDLK_KP_DIVIDE: return "/";
    default: break;
  }
  std::string out;
  ForEachPrintable(map, [&](const Printable& p) {
    if (out.empty() && p.plain == key) out = std::string(1, shift ? p.shifted : p.plain);
  });
  return out;
}

int32_t KeyOfVirtualKey(uint32_t vk, KeyMap map) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<int32_t>(SDLK_a + (vk - 'A'));
  if (vk >= '0' && vk <= '9') return static_cast<int32_t>(SDLK_0 + (vk - '0'));
  if (vk >= 0x70 && vk <= 0x7B) return static_cast<int32_t>(SDLK_F1 + (vk - 0x70));
  if (vk >= 0x61 && vk <= 0x69) return static_cast<int32_t>(SDLK_KP_1 + (vk - 0x61));
  for (const KeyVk& k : kKeys)
    if (k.vk == vk && OnMap(k.key, map)) return k.key;
  return 0;
}

}  // namespace plat::display
