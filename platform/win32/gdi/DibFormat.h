// Reading a BITMAPINFO as callers pass it: checks the header and gives a surface view of
// the caller's rows together with their colour table.
#pragma once
#include <memory>
#include <optional>
#include <vector>

#include "gdi/Palette.h"
#include "gdi/Surface.h"

namespace plat::gdi {

struct DibFormat {
  int width = 0;
  int height = 0;  // rows, positive
  int bpp = 0;
  bool bottomUp = true;
  std::vector<RGBQUAD> colors;
  ptrdiff_t Stride() const { return WIDTHBYTES(ptrdiff_t(width) * bpp); }
  // A view of `rows` rows at bits (the caller's memory; never written through it).
  Surface View(const void* bits, int rows) const;
};

// nullopt for a header the stand-in cannot take (bad sizes, compressed data, odd masks).
// With DIB_PAL_COLORS the table holds indexes into `palette` (the DC's).
std::optional<DibFormat> ReadDibFormat(const BITMAPINFO* bmi, UINT usage, const Palette* palette);

}  // namespace plat::gdi
