#include <SDL_keycode.h>
#include <gtest/gtest.h>

#include <string>

#include "display/Keyboard.h"

namespace {

using plat::display::KeyMap;

// The key codes the desktop reports for every key the program has a use for.
TEST(KeyTable, DesktopKeysHaveTheirVirtualKeys) {
  struct Case {
    int32_t key;
    uint32_t vk;
  } cases[] = {
      {SDLK_a, 'A'},           {SDLK_z, 'Z'},          {SDLK_0, '0'},           {SDLK_9, '9'},
      {SDLK_F1, 0x70},         {SDLK_F10, 0x79},       {SDLK_KP_1, 0x61},       {SDLK_KP_0, 0x60},
      {SDLK_RETURN, 0x0D},     {SDLK_KP_ENTER, 0x0D},  {SDLK_RSHIFT, 0x10},     {SDLK_RALT, 0x12},
      {SDLK_DELETE, 0x2E},     {SDLK_APPLICATION, 0x5D},
      // The punctuation keys of both keyboards, the backslash and its neighbours among them.
      {SDLK_BACKSLASH, 0xDC},  {SDLK_LEFTBRACKET, 0xDB}, {SDLK_RIGHTBRACKET, 0xDD}, {SDLK_QUOTE, 0xDE},
      {SDLK_BACKQUOTE, 0xC0},  {SDLK_SEMICOLON, 0xBA}, {SDLK_SLASH, 0xBF},      {SDLK_AT, 0xC0},
      {SDLK_COLON, 0xBA},      {SDLK_CARET, 0xDE},     {SDLK_CAPSLOCK, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(plat::display::VirtualKey(c.key), c.vk) << "key " << c.key;
}

TEST(KeyTable, TheLocaleChoosesTheKeyboard) {
  EXPECT_EQ(plat::display::KeyMapOfLocale(0x0411), KeyMap::Japanese);
  EXPECT_EQ(plat::display::KeyMapOfLocale(0x0409), KeyMap::Us);
  EXPECT_EQ(plat::display::KeyMapOfLocale(0x0809), KeyMap::Us);
}

class KeyMaps : public testing::TestWithParam<KeyMap> {};

// Every printable character has a key on both keyboards that types it, and that key makes
// a key message too.
TEST_P(KeyMaps, EveryPrintableCharacterHasAKeyThatTypesIt) {
  for (char c = ' '; c < 0x7F; ++c) {
    auto stroke = plat::display::StrokeOf(c, GetParam());
    ASSERT_TRUE(stroke) << "no key for '" << c << "'";
    // Two Japanese keys report the backslash key code; the first is the yen key.
    if (c != '_' || GetParam() != KeyMap::Japanese)
      EXPECT_EQ(plat::display::TextOf(stroke->key, stroke->shift, GetParam()), std::string(1, c));
    EXPECT_NE(plat::display::VirtualKey(stroke->key), 0u) << "the key of '" << c << "'";
  }
  EXPECT_FALSE(plat::display::StrokeOf('\x7f', GetParam()));
}

TEST_P(KeyMaps, KeysOfVirtualKeysGiveThemBack) {
  for (uint32_t vk : {0x08u, 0x0Du, 0x1Bu, 0x20u, 0x25u, 0x2Eu, 0x41u, 0x5Au, 0x30u, 0x74u, 0x61u, 0x6Au, 0xBCu, 0xBFu,
                      0xC0u, 0xDBu, 0xDCu, 0xDDu, 0xDEu, 0xBAu}) {
    const int32_t key = plat::display::KeyOfVirtualKey(vk, GetParam());
    ASSERT_NE(key, 0) << "virtual key " << vk;
    EXPECT_EQ(plat::display::VirtualKey(key), vk);
  }
}

INSTANTIATE_TEST_SUITE_P(Both, KeyMaps, testing::Values(KeyMap::Us, KeyMap::Japanese),
                         [](const testing::TestParamInfo<KeyMap>& info) {
                           return info.param == KeyMap::Us ? "Us" : "Japanese";
                         });

// Where the two keyboards differ: the characters on other keys or other levels.
TEST(KeyMaps, TheJapaneseKeyboardHasItsOwnKeysForPunctuation) {
  struct Case {
    char c;
    KeyMap map;
    int32_t key;
    bool shift;
  } cases[] = {
      {'"', KeyMap::Japanese, SDLK_2, true},  {'"', KeyMap::Us, SDLK_QUOTE, true},
      {'@', KeyMap::Japanese, SDLK_AT, false}, {'@', KeyMap::Us, SDLK_2, true},
      {':', KeyMap::Japanese, SDLK_COLON, false}, {':', KeyMap::Us, SDLK_SEMICOLON, true},
      {'_', KeyMap::Japanese, SDLK_BACKSLASH, true}, {'_', KeyMap::Us, SDLK_MINUS, true},
      {'\\', KeyMap::Japanese, SDLK_BACKSLASH, false}, {'\\', KeyMap::Us, SDLK_BACKSLASH, false},
      {'=', KeyMap::Japanese, SDLK_MINUS, true},
  };
  for (const auto& c : cases) {
    auto stroke = plat::display::StrokeOf(c.c, c.map);
    ASSERT_TRUE(stroke) << c.c;
    EXPECT_EQ(stroke->key, c.key) << c.c;
    EXPECT_EQ(stroke->shift, c.shift) << c.c;
  }
}

}  // namespace
