#include "gdi/Pen.h"

#include <cstring>

namespace plat::gdi {

int Pen::Describe(int size, void* out) const {
  if (!out) return sizeof(LOGPEN);
  if (size < int(sizeof(LOGPEN))) return 0;
  std::memcpy(out, &log, sizeof log);
  return sizeof(LOGPEN);
}

int Brush::Describe(int size, void* out) const {
  if (!out) return sizeof(LOGBRUSH);
  if (size < int(sizeof(LOGBRUSH))) return 0;
  std::memcpy(out, &log, sizeof log);
  return sizeof(LOGBRUSH);
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
