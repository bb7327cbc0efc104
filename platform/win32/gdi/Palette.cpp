#include "gdi/Palette.h"

#include <algorithm>
#include <cstring>

namespace plat::gdi {

namespace {
// The twenty colours every palette device reserves: ten at each end.
const BYTE kStatic[20][3] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},
                             {0, 0, 128},     {128, 0, 128},   {0, 128, 128},   {192, 192, 192},
                             {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
                             {128, 128, 128}, {255, 0, 0},     {0, 255, 0},     {255, 255, 0},
                             {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
}  // namespace

std::vector<PALETTEENTRY> HalftoneEntries() {
  std::vector<PALETTEENTRY> e;
  auto add = [&e](int r, int g, int b) {
    e.push_back(PALETTEENTRY{BYTE(r), BYTE(g), BYTE(b), 0});
  };
  for (int i = 0; i < 10; ++i) add(kStatic[i][0], kStatic[i][1], kStatic[i][2]);
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
  for (int i = 1; i <= 20; ++i) add(i * 12, i * 12, i * 12);  // a grey ramp between the cube's greys
  for (int i = 10; i < 20; ++i) add(kStatic[i][0], kStatic[i][1], kStatic[i][2]);
  return e;
}

std::vector<PALETTEENTRY> DefaultPaletteEntries() {
  std::vector<PALETTEENTRY> e;
  for (auto& c : kStatic) e.push_back(PALETTEENTRY{c[0], c[1], c[2], 0});
  return e;
}

int Palette::Describe(int size, void* out) const {
  // GetObject on a palette answers its number of entries as a WORD.
  if (!out) return sizeof(WORD);
  if (size < int(sizeof(WORD))) return 0;
  WORD n = static_cast<WORD>(entries.size());
  std::memcpy(out, &n, sizeof n);
  return sizeof(WORD);
}

}  // namespace plat::gdi
