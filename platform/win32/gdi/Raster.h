// The raster engine: pixel formats, fills and the ternary raster operations, working a row
// at a time on pixel values in a surface's own format (palette index, 0/1 for one bit,
// 0x00RRGGBB for 24 and 32 bits, the raw word for 16 bits).
#pragma once
#include <cstdint>

#include "gdi/Surface.h"

namespace plat::gdi {

// A brush or pen colour made ready for one surface.
struct Fill {
  bool patterned = false;
  uint32_t pixel = 0;       // solid: the pixel value
  uint32_t pattern[64]{};   // patterned: 8x8 pixel values, row by row
  uint64_t drawn = ~0ull;   // bit i clear: pattern pixel i is left alone (transparent hatch)
  int orgX = 0;             // pattern origin in surface coordinates
  int orgY = 0;
};

uint32_t PixelMask(int bpp);
// Nearest pixel value for a colour (nearest table entry for 1 to 8 bits).
uint32_t ColorToPixel(const Surface& s, COLORREF c);
COLORREF PixelToColor(const Surface& s, uint32_t pixel);

// Reads or writes n pixels of row y from column x (all inside the surface).
void LoadRow(const Surface& s, int x, int y, int n, uint32_t* out);
void StoreRow(const Surface& s, int x, int y, int n, const uint32_t* in);

// Applies raster operation `code` (the high byte's truth table: bit (P<<2 | S<<1 | D)) to
// n pixel values: d = f(p, s, d).
using RopRowFn = void (*)(uint32_t* d, const uint32_t* s, const uint32_t* p, int n);
RopRowFn RopRow(uint8_t code);
constexpr uint8_t RopCode(DWORD rop) { return static_cast<uint8_t>(rop >> 16); }
constexpr bool RopUsesSource(uint8_t code) { return ((code >> 2) & 0x33) != (code & 0x33); }
constexpr bool RopUsesPattern(uint8_t code) { return ((code >> 4) & 0x0F) != (code & 0x0F); }
constexpr bool RopUsesDest(uint8_t code) { return ((code >> 1) & 0x55) != (code & 0x55); }
// The raster operation that applies binary mix mode `rop2` (R2_*) with the pen as pattern.
uint8_t Rop2ToRop3(int rop2);

// Fills a rectangle of the surface (surface coordinates, inside it) with a fill under
// raster operation `code` (no source).
void FillRect(const Surface& s, const RECT& rc, const Fill& fill, uint8_t code);
// Builds the pattern row for columns x .. x+n of row y.
void PatternRow(const Fill& fill, int x, int y, int n, uint32_t* out);
// Puts back `before` where the fill leaves pixels alone (a hatch on a transparent background).
void KeepUndrawn(const Fill& fill, int x, int y, int n, const uint32_t* before, uint32_t* d);

}  // namespace plat::gdi
