#include "text/TextRun.h"

#include <algorithm>
#include <cstdint>

#include "text/Utf8.h"

namespace plat::text {

namespace {
// Pen positions stay far from the ends of int whatever spacing a caller passes.
constexpr int64_t kReach = 1 << 28;
}  // namespace

TextRun MeasureRun(RealizedFont& font, std::string_view text, const INT* dx) {
  TextRun run;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t len = 0;
    char32_t c = DecodeAt(text, pos, &len);
    int advance = 0;
    if (dx) {
      int64_t sum = 0;
      for (size_t i = 0; i < len; ++i) sum += dx[pos + i];
      advance = static_cast<int>(std::clamp<int64_t>(sum, -kReach - run.width, kReach - run.width));
    } else {
      advance = static_cast<int>(std::min<int64_t>(font.Advance(c), kReach - run.width));
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
