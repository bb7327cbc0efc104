// Block transfers onto a DC: BitBlt, StretchBlt, PatBlt and the DIB blts all end here.
#pragma once
#include "gdi/DeviceContext.h"

namespace plat::gdi {

struct BltSource {
  Surface pixels;
  COLORREF bkColor = RGB(255, 255, 255);  // the source DC's: colour-to-monochrome test
};

// Destination (x, y, w, h) in device coordinates of dst, source (sx, sy, sw, sh) in surface
// coordinates of src; a negative width or height mirrors (the rectangle then extends to the
// left or above). Pixels whose source lies outside the source surface are left alone.
// `src` may be null when the raster operation takes no source.
void Blt(DeviceContext& dst, int x, int y, int w, int h, const BltSource* src, int sx, int sy, int sw, int sh,
         uint8_t code);

}  // namespace plat::gdi
