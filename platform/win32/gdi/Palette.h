// Logical palettes. The screen is true colour, so selecting and realising a palette
// changes no pixels; 8-bit DIBs carry their own colour tables.
#pragma once
#include <vector>

#include "gdi/GdiObject.h"

namespace plat::gdi {

class Palette : public GdiObject {
 public:
  explicit Palette(std::vector<PALETTEENTRY> e) : entries(std::move(e)) {}
  DWORD Type() const override { return OBJ_PAL; }
  int Describe(int size, void* out) const override;
  std::vector<PALETTEENTRY> entries;
};

// The 256-colour halftone palette (also the default table of 8-bit bitmaps).
std::vector<PALETTEENTRY> HalftoneEntries();
// The twenty reserved colours of DEFAULT_PALETTE.
std::vector<PALETTEENTRY> DefaultPaletteEntries();

}  // namespace plat::gdi
