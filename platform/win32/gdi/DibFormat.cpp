#include "gdi/DibFormat.h"

#include <cstring>

namespace plat::gdi {

Surface DibFormat::View(const void* bits, int rows) const {
  Surface s;
  s.bits = static_cast<uint8_t*>(const_cast<void*>(bits));
  s.width = width;
  s.height = rows;
  s.bpp = bpp;
  s.stride = Stride();
  s.bottomUp = bottomUp;
  s.colors = colors.empty() ? nullptr : colors.data();
  s.colorCount = static_cast<int>(colors.size());
  return s;
}

std::optional<DibFormat> ReadDibFormat(const BITMAPINFO* bmi, UINT usage, const Palette* palette) {
  if (!bmi) return std::nullopt;
  const BITMAPINFOHEADER& h = bmi->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 || h.biWidth > 65536 ||
      h.biHeight > 65536 || h.biHeight < -65536)
    return std::nullopt;
  DibFormat f;
  f.width = h.biWidth;
  f.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  f.bottomUp = h.biHeight > 0;
  f.bpp = h.biBitCount;
  switch (f.bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return std::nullopt;
  }
  const uint8_t* after = reinterpret_cast<const uint8_t*>(bmi) + h.biSize;
  if (h.biCompression == BI_BITFIELDS) {
    // Only the masks of the plain layouts (5-5-5 and 8-8-8) are taken.
    DWORD m[3];
    std::memcpy(m, after, sizeof m);
    bool plain = (f.bpp == 16 && m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F) ||
                 (f.bpp == 32 && m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF);
    if (!plain) return std::nullopt;
  } else if (h.biCompression != BI_RGB) {
    return std::nullopt;
  }
  if (f.bpp <= 8) {
    size_t n = size_t(1) << f.bpp;
    if (h.biClrUsed != 0 && h.biClrUsed < n) n = h.biClrUsed;
    f.colors.resize(size_t(1) << f.bpp, RGBQUAD{0, 0, 0, 0});
    for (size_t i = 0; i < n; ++i) {
      if (usage == DIB_PAL_COLORS) {
        WORD idx;
        std::memcpy(&idx, after + 2 * i, 2);
        if (palette && idx < palette->entries.size()) {
          const PALETTEENTRY& e = palette->entries[idx];
          f.colors[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
        }
      } else {
        std::memcpy(&f.colors[i], after + 4 * i, 4);
        f.colors[i].rgbReserved = 0;
      }
    }
  }
  return f;
}

}  // namespace plat::gdi
