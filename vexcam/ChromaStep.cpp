#include "ChromaStep.h"

#include <cstdint>
#include <cstring>

#include "Lanes.h"

namespace vexcam {
namespace {

inline int Clamp(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

template <int kSide, int kMiddle>
inline void Pixel(BYTE* px) {
  const int b = px[0], g = px[1], r = px[2];
  px[0] = BYTE(Clamp(b + (b - g) / kSide));
  px[1] = BYTE(Clamp(g + (2 * g - r - b) / kMiddle));
  px[2] = BYTE(Clamp(r + (r - g) / kSide));
}

using namespace lanes;

// The channel of every lane of three vectors of eight bytes (byte k of the 24 is channel
// k mod 3), as masks: -1 where the lane is green, or uses the byte before or after it.
constexpr Lanes kGreenLane[3] = {{0, -1, 0, 0, -1, 0, 0, -1}, {0, 0, -1, 0, 0, -1, 0, 0}, {-1, 0, 0, -1, 0, 0, -1, 0}};
constexpr Lanes kUsesPrevious[3] = {{0, -1, -1, 0, -1, -1, 0, -1}, {-1, 0, -1, -1, 0, -1, -1, 0}, {-1, -1, 0, -1, -1, 0, -1, -1}};
constexpr Lanes kUsesNext[3] = {{-1, -1, 0, -1, -1, 0, -1, -1}, {0, -1, -1, 0, -1, -1, 0, -1}, {-1, 0, -1, -1, 0, -1, -1, 0}};

template <int kSide, int kMiddle>
inline Lanes Step(Lanes v, Lanes previous, Lanes next, int k) {
  constexpr int side = kSide == 4 ? 2 : 3, middle = kMiddle == 8 ? 3 : 4;
  // blue: v - next; green: 2v - previous - next; red: v - previous
  const Lanes n = v + (v & kGreenLane[k]) - (previous & kUsesPrevious[k]) - (next & kUsesNext[k]);
  return Clamp255(v + Select(kGreenLane[k], DivPow2<middle>(n), DivPow2<side>(n)));
}

template <int kSide, int kMiddle>
void Groups(BYTE* px, LONG groups) {
  // The first pixel alone, so that the byte before each vector's lanes lies in the run;
  // the last alone, so that the byte after them does.
  if (groups <= 0) return;
  Pixel<kSide, kMiddle>(px);
  LONG i = 1;
  BYTE* p = px + 3;
  for (; i + 8 < groups; i += 8, p += 24) {
    // Each lane's neighbours are the bytes one before and one after it, read before any
    // of the eight pixels is written.
    const Lanes a = Step<kSide, kMiddle>(Load(p), Load(p - 1), Load(p + 1), 0);
    const Lanes b = Step<kSide, kMiddle>(Load(p + 8), Load(p + 7), Load(p + 9), 1);
    const Lanes c = Step<kSide, kMiddle>(Load(p + 16), Load(p + 15), Load(p + 17), 2);
    Store(p, a), Store(p + 8, b), Store(p + 16, c);
  }
  for (; i < groups; ++i, p += 3) Pixel<kSide, kMiddle>(p);
}

}  // namespace

void ChromaGroups(BYTE* px, LONG groups, LONG revision) {
  if (revision < 217)
    Groups<8, 16>(px, groups);
  else
    Groups<4, 8>(px, groups);
}

void ChromaPixel(BYTE* px, LONG revision) {
  if (revision < 217)
    Pixel<8, 16>(px);
  else
    Pixel<4, 8>(px);
}

}  // namespace vexcam
