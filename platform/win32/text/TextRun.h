// A line of UTF-8 text measured in one font: its characters, where each starts
// and how far the pen moves for it.
#pragma once
#include <string_view>
#include <vector>

#include "text/RealizedFont.h"

namespace plat::text {

struct TextRun {
  std::vector<char32_t> chars;
  std::vector<size_t> offsets;  // byte offset of each character in the text
  std::vector<size_t> lengths;  // bytes of each character
  std::vector<int> pens;        // pen position of each character from the start
  std::vector<int> advances;
  int width = 0;
};

// Measures `text`. With `dx` (one entry per byte, as ExtTextOut takes it) a
// character advances by the sum of the entries of its bytes instead.
TextRun MeasureRun(RealizedFont& font, std::string_view text, const INT* dx = nullptr);

}  // namespace plat::text
