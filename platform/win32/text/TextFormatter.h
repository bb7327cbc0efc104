// The layout of DrawText: lines, word breaks, tabs, ellipses and & prefixes,
// measured in one font. Drawing is left to the caller.
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/TextRun.h"

namespace plat::text {

struct FormattedLine {
  std::string text;  // as shown: prefixes resolved, shortened where it did not fit
  TextRun run;
  std::vector<std::pair<int, int>> underlines;  // prefix underlines, [from, to) along the run
  int x = 0;    // left of the line, relative to the left of the rectangle
  int y = 0;    // top of the line, relative to the top of the rectangle
};

struct FormattedText {
  std::vector<FormattedLine> lines;
  int width = 0;       // widest line
  int lineHeight = 0;
  int top = 0;         // top of the first line relative to the rectangle (DT_VCENTER, DT_BOTTOM)
  int height = 0;      // of all lines
};

// Lays `text` out in a rectangle `width` x `height` pixels wide with DT_ `format`
// flags; `tabChars` is the tab stop in average character widths.
FormattedText FormatText(RealizedFont& font, std::string_view text, UINT format, int width, int height,
                         int tabChars = 8);

}  // namespace plat::text
