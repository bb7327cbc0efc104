// Eight 16-bit lanes of picture arithmetic: eight samples of a row at a time, with the
// integer rules of the scalar code (truncating division, clamping). The compiler's
// vector extensions map them onto the processor's vector unit, whatever it is.
#pragma once
#include <cstdint>
#include <cstring>

#include "WinTypes.h"

namespace vexcam::lanes {

typedef int16_t Lanes __attribute__((vector_size(16)));
typedef uint8_t Bytes __attribute__((vector_size(8)));
typedef uint8_t Bytes16 __attribute__((vector_size(16)));
typedef uint64_t Words __attribute__((vector_size(16)));

inline Lanes Splat(int v) { return Lanes{} + int16_t(v); }

// Eight bytes from p (any alignment) in the low half of a vector.
inline Bytes16 LoadLow(const BYTE* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return Bytes16(Words{v, 0});
}

// Eight samples from p (any alignment), and back. Written as the byte interleave with
// zero, which every vector unit has, rather than a conversion the compiler may spell
// out lane by lane.
inline Lanes Load(const BYTE* p) {
  return Lanes(__builtin_shufflevector(LoadLow(p), Bytes16{}, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23));
}
// Values must lie in 0..255.
inline void Store(BYTE* p, Lanes v) {
  const Bytes b = __builtin_convertvector(v, Bytes);
  std::memcpy(p, &b, sizeof b);
}

// Masks are lanes of -1 (true) or 0.
inline Lanes Select(Lanes mask, Lanes a, Lanes b) { return (a & mask) | (b & ~mask); }
// The comparison forms, which the compiler turns into the vector unit's min and max.
inline Lanes Min(Lanes a, Lanes b) { return a < b ? a : b; }
inline Lanes Max(Lanes a, Lanes b) { return a > b ? a : b; }
inline Lanes Abs(Lanes a) { return Max(a, -a); }
inline Lanes Clamp255(Lanes v) { return Min(Max(v, Lanes{}), Splat(255)); }
// Division by 2^shift truncating toward zero, as the scalar `/` of a signed value.
template <int kShift>
inline Lanes DivPow2(Lanes n) {
  return (n + ((n >> 15) & Splat((1 << kShift) - 1))) >> kShift;
}

// Lanes at even x (x - start even) or odd: the two colours of a row.
inline Lanes EvenLanes() { return Lanes{-1, 0, -1, 0, -1, 0, -1, 0}; }

}  // namespace vexcam::lanes
