#include "gdi/Pen.h"

#include <cstddef>

namespace plat::gdi {

int Pen::Describe(int size, void* out) const {
  return CopyDescription(&log, sizeof log, sizeof log, size, out);
}

int Brush::Describe(int size, void* out) const {
  return CopyDescription(&log, sizeof log, offsetof(LOGBRUSH, lbHatch) + 4, size, out);
}

HBRUSH HalftoneBrush() {
  static const HBRUSH brush = [] {
    auto b = std::make_shared<Brush>(LOGBRUSH{BS_PATTERN, 0, 0});
    b->monoPattern = true;
    for (int i = 0; i < 64; ++i) b->patternBits[i] = static_cast<uint8_t>(((i / 8) + (i % 8)) & 1);
    return ToHandle<HBRUSH>(Insert(b, true));
  }();
  return brush;
}

}  // namespace plat::gdi
