// The built-in stock objects (brushes, pens, the default palette and the default bitmap of
// memory DCs); the fonts come from the text module through RegisterStockProvider.
#pragma once

namespace plat::gdi {

// Index under which the 1x1 monochrome bitmap of new memory DCs is kept.
constexpr int kDefaultBitmap = 0x100;

// Registers the providers of the built-in stock objects (once; StockObject calls it).
void InstallBuiltinStock();

}  // namespace plat::gdi
