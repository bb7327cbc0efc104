#include "text/TextRun.h"

#include "text/Utf8.h"

namespace plat::text {

TextRun MeasureRun(RealizedFont& font, std::string_view text, const INT* dx) {
  TextRun run;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t len = 0;
    char32_t c = DecodeAt(text, pos, &len);
    int advance = 0;
    if (dx) {
      for (size_t i = 0; i < len; ++i) advance += dx[pos + i];
    } else {
      advance = font.Advance(c);
    }
    run.chars.push_back(c);
    run.offsets.push_back(pos);
    run.lengths.push_back(len);
    run.pens.push_back(run.width);
    run.advances.push_back(advance);
    run.width += advance;
    pos += len;
  }
  return run;
}

}  // namespace plat::text
