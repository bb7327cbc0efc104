#include "gdi/StockObjects.h"

#include "gdi/Bitmap.h"
#include "gdi/Palette.h"
#include "gdi/Pen.h"

namespace plat::gdi {

void InstallBuiltinStock() {
  auto brush = [](UINT style, COLORREF c) {
    return [=] { return std::make_shared<Brush>(LOGBRUSH{style, c, 0}); };
  };
  auto pen = [](UINT style, COLORREF c) {
    return [=] { return std::make_shared<Pen>(LOGPEN{style, {0, 0}, c}); };
  };
  RegisterStockProvider(WHITE_BRUSH, brush(BS_SOLID, RGB(255, 255, 255)));
  RegisterStockProvider(LTGRAY_BRUSH, brush(BS_SOLID, RGB(192, 192, 192)));
  RegisterStockProvider(GRAY_BRUSH, brush(BS_SOLID, RGB(128, 128, 128)));
  RegisterStockProvider(DKGRAY_BRUSH, brush(BS_SOLID, RGB(64, 64, 64)));
  RegisterStockProvider(BLACK_BRUSH, brush(BS_SOLID, RGB(0, 0, 0)));
  RegisterStockProvider(NULL_BRUSH, brush(BS_NULL, 0));
  RegisterStockProvider(WHITE_PEN, pen(PS_SOLID, RGB(255, 255, 255)));
  RegisterStockProvider(BLACK_PEN, pen(PS_SOLID, RGB(0, 0, 0)));
  RegisterStockProvider(NULL_PEN, pen(PS_NULL, 0));
  RegisterStockProvider(DEFAULT_PALETTE, [] { return std::make_shared<Palette>(DefaultPaletteEntries()); });
  RegisterStockProvider(kDefaultBitmap, [] { return Bitmap::DefaultMono(); });
}

}  // namespace plat::gdi
