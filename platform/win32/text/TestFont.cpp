#include "text/TestFont.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "text/Utf8.h"

namespace plat::text {

TestFont::TestFont(const LOGFONTA& lf) {
  // Sizes are kept to what a glyph bitmap can hold.
  const LONG height = std::clamp<LONG>(lf.lfHeight, -kMaxSize, kMaxSize);
  int h, leading;
  if (height < 0) {
    h = -height;
    leading = (h + 3) / 4;
  } else if (height > 0) {
    leading = height / 5;
    h = height - leading;
  } else {
    h = 12;
    leading = 3;
  }
  h = std::max(h, 1);
  narrow_ = lf.lfWidth > 0 ? static_cast<int>(std::min<LONG>(lf.lfWidth, kMaxSize)) : std::max(h / 2, 1);
  auto& m = metrics_;
  m.internalLeading = leading;
  m.height = h + leading;
  m.descent = h / 4;
  m.ascent = m.height - m.descent;
  m.aveCharWidth = narrow_;
  m.maxCharWidth = 2 * narrow_;
  m.weight = lf.lfWeight ? static_cast<int>(lf.lfWeight) : FW_NORMAL;
  m.italic = lf.lfItalic != 0;
  m.underline = lf.lfUnderline != 0;
  m.strikeOut = lf.lfStrikeOut != 0;
  m.charSet = lf.lfCharSet;
  m.family = lf.lfPitchAndFamily & 0xF0;
  m.underlineOffset = m.descent / 2;
  m.strikeOffset = -(m.ascent - leading) / 2;
  size_t n = strnlen(lf.lfFaceName, LF_FACESIZE - 1);
  faceName_ = n ? std::string(lf.lfFaceName, n) : "Test";
}

Glyph TestFont::Render(char32_t c) {
  Glyph g;
  g.advance = IsWide(c) ? 2 * narrow_ : narrow_;
  if (c == U' ') return g;
  g.width = std::max(g.advance - 1, 1);
  g.rows = metrics_.ascent - metrics_.internalLeading;
  g.top = g.rows;
  g.coverage.assign(static_cast<size_t>(g.width) * g.rows, 255);
  return g;
}

}  // namespace plat::text
