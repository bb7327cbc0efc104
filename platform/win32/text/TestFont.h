// The fixed test font (setting FONT=test): metrics are simple functions of the
// requested size, so expectations can be worked out by hand.
//
//   character height h: -lfHeight; lfHeight - lfHeight/5 for a positive (cell)
//                       height; 12 for 0
//   internal leading:   (h + 3) / 4 for a negative height, lfHeight / 5 for a positive one
//   cell height:        h + internal leading;  descent h / 4;  ascent = cell - descent
//   advance:            w = lfWidth, or h / 2 (at least 1); 2w for wide (CJK) characters
//   glyph:              a solid block advance - 1 wide (at least 1), from the top of the
//                       character (cell top + internal leading) down to the baseline;
//                       space draws nothing
//   underline:          one row at baseline + descent / 2;  strike-out: one row at
//                       baseline - (ascent - internal leading) / 2
#pragma once
#include "text/RealizedFont.h"

namespace plat::text {

class TestFont final : public RealizedFont {
 public:
  explicit TestFont(const LOGFONTA& lf);

 private:
  Glyph Render(char32_t c) override;
  int narrow_;
};

}  // namespace plat::text
