// UTF-8 stepping for the narrow text functions: they measure, break and cut text
// only at character boundaries.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace plat::text {

// The character at `pos` and the bytes it takes. A malformed or truncated
// sequence is one byte that stands for U+FFFD, so every byte is consumed.
char32_t DecodeAt(std::string_view s, size_t pos, size_t* length);
// The longest prefix of at most `n` bytes that does not end inside a character.
size_t CutAtBoundary(std::string_view s, size_t n);
// Wide characters (CJK, full-width forms) take two columns where width matters.
bool IsWide(char32_t c);
// UTF-16 of the text (surrogate pairs above U+FFFF); malformed bytes become U+FFFD.
std::u16string ToUtf16(std::string_view s);

}  // namespace plat::text
