// A view of pixels a DC draws on or reads from: a bitmap, a DIB section or the screen.
#pragma once
#include <cstddef>
#include <cstdint>

#include "WinGdi.h"

namespace plat::gdi {

struct Surface {
  uint8_t* bits = nullptr;  // the first row in memory
  int width = 0;
  int height = 0;
  int bpp = 32;           // 1, 4, 8, 16 (5-5-5), 24 or 32
  ptrdiff_t stride = 0;   // bytes from one row in memory to the next
  bool bottomUp = false;  // memory holds the bottom row first (a DIB with positive height)
  const RGBQUAD* colors = nullptr;  // colour table of 1, 4 and 8 bit pixels
  int colorCount = 0;
  // A monochrome device bitmap: its bits mean "text colour" (0) and "background
  // colour" (1) when copied to a colour surface, instead of going through a table.
  bool mono = false;

  bool Valid() const { return bits && width > 0 && height > 0; }
  uint8_t* Row(int y) const { return bits + (bottomUp ? height - 1 - y : y) * stride; }
};

}  // namespace plat::gdi
