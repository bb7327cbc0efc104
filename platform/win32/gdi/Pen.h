// Pens and brushes: the logical objects and what they become on a given surface.
#pragma once
#include <array>
#include <memory>

#include "gdi/GdiObject.h"

namespace plat::gdi {

class Bitmap;

class Pen : public GdiObject {
 public:
  explicit Pen(const LOGPEN& lp) : log(lp) {}
  DWORD Type() const override { return OBJ_PEN; }
  int Describe(int size, void* out) const override;
  int Style() const { return static_cast<int>(log.lopnStyle & PS_STYLE_MASK); }
  // Widths beyond 65536 pixels draw as 65536.
  int Width() const { return log.lopnWidth.x < 1 ? 1 : log.lopnWidth.x > 65536 ? 65536 : log.lopnWidth.x; }
  LOGPEN log;
};

class Brush : public GdiObject {
 public:
  explicit Brush(const LOGBRUSH& lb) : log(lb) {}
  DWORD Type() const override { return OBJ_BRUSH; }
  int Describe(int size, void* out) const override;
  LOGBRUSH log;
  // BS_PATTERN: the 8x8 pattern, copied at creation (later changes to the bitmap do not
  // show, as the pattern belongs to the brush). Colours for a colour pattern; for a
  // monochrome one the bits, drawn in the DC's text (0) and background (1) colours.
  bool monoPattern = false;
  std::array<COLORREF, 64> patternColors{};
  std::array<uint8_t, 64> patternBits{};
};

// The brush DrawDragRect and drag frames use: a 1-on-1-off checker, monochrome, so it is
// drawn in the DC's text and background colours.
HBRUSH HalftoneBrush();

}  // namespace plat::gdi
