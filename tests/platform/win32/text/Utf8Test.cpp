#include <gtest/gtest.h>

#include "text/Utf8.h"

namespace {

using plat::text::CutAtBoundary;
using plat::text::DecodeAt;

TEST(Utf8, DecodesWholeCharactersAndStandsInForBadBytes) {
  struct Case {
    std::string text;
    char32_t c;
    size_t len;
  } cases[] = {
      {"A", U'A', 1},
      {"\xC3\xA9", U'\u00E9', 2},
      {"\xE6\x97\xA5", U'\u65E5', 3},          // 日
      {"\xF0\x9F\x98\x80", U'\U0001F600', 4},
      {"\xE6\x97", U'\uFFFD', 1},              // cut short
      {"\x97\xA5", U'\uFFFD', 1},              // stray continuation byte
      {"\xC0\xAF", U'\uFFFD', 1},              // overlong
      {"\xED\xA0\x80", U'\uFFFD', 1},          // surrogate
      {"\xFF", U'\uFFFD', 1},
  };
  for (const auto& c : cases) {
    size_t len = 0;
    EXPECT_EQ(DecodeAt(c.text, 0, &len), c.c) << c.text;
    EXPECT_EQ(len, c.len) << c.text;
  }
}

TEST(Utf8, CutsOnlyBetweenCharacters) {
  const std::string s = "a\xE6\x97\xA5\xE6\x9C\xAC";  // a日本
  struct Case {
    size_t n, want;
  } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 4}, {5, 4}, {6, 4}, {7, 7}, {99, 7}};
  for (const auto& c : cases) EXPECT_EQ(CutAtBoundary(s, c.n), c.want) << c.n;
}

}  // namespace
