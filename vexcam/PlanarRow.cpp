#include "PlanarRow.h"

#include <cstring>

#include "ChromaStep.h"
#include "Lanes.h"

namespace vexcam {
namespace {

using namespace lanes;

template <int kSideShift, int kMiddleShift>
void ChromaRows(BYTE* b, BYTE* g, BYTE* r, LONG width) {
  LONG x = 0;
  for (; x + 8 <= width; x += 8) {
    const Lanes B = Load(b + x), G = Load(g + x), R = Load(r + x);
    Store(b + x, Clamp255(B + DivPow2<kSideShift>(B - G)));
    Store(g + x, Clamp255(G + DivPow2<kMiddleShift>(G + G - R - B)));
    Store(r + x, Clamp255(R + DivPow2<kSideShift>(R - G)));
  }
  const LONG revision = kSideShift == 2 ? 217 : 216;
  for (; x < width; ++x) {
    BYTE px[3] = {b[x], g[x], r[x]};
    ChromaPixel(px, revision);
    b[x] = px[0], g[x] = px[1], r[x] = px[2];
  }
}

}  // namespace

void PlanarRow::Chroma(LONG revision) {
  if (revision < 217)
    ChromaRows<3, 4>(Blue(), Green(), Red(), width_);
  else
    ChromaRows<2, 3>(Blue(), Green(), Red(), width_);
}

void PlanarRow::Put(BYTE* out) const {
  const BYTE* b = bytes_.data();
  const BYTE* g = b + width_;
  const BYTE* r = g + width_;
  LONG x = 0;
  // Eight pixels a step: blue and green interleaved, red with zero, the pairs into 4-byte
  // pixels and each two of those into 6 bytes. The stores write 2 bytes past their
  // pixels, which the next step writes again; the last pixels go one by one.
  for (; x + 8 < width_; x += 8, out += 24) {
    using lanes::Bytes16, lanes::Words;
    const Bytes16 bg = __builtin_shufflevector(lanes::LoadLow(b + x), lanes::LoadLow(g + x), 0, 16, 1, 17, 2, 18, 3,
                                               19, 4, 20, 5, 21, 6, 22, 7, 23);
    const Bytes16 r0 =
        __builtin_shufflevector(lanes::LoadLow(r + x), Bytes16{}, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23);
    const Words low = Words(__builtin_shufflevector(bg, r0, 0, 1, 16, 17, 2, 3, 18, 19, 4, 5, 20, 21, 6, 7, 22, 23));
    const Words high =
        Words(__builtin_shufflevector(bg, r0, 8, 9, 24, 25, 10, 11, 26, 27, 12, 13, 28, 29, 14, 15, 30, 31));
    const Words first{0xFFFFFF, 0xFFFFFF}, second{0xFFFFFF000000, 0xFFFFFF000000};
    const Words a = (low & first) | ((low >> 8) & second), c = (high & first) | ((high >> 8) & second);
    const uint64_t a0 = a[0], a1 = a[1], c0 = c[0], c1 = c[1];
    std::memcpy(out, &a0, 8), std::memcpy(out + 6, &a1, 8);
    std::memcpy(out + 12, &c0, 8), std::memcpy(out + 18, &c1, 8);
  }
  for (; x < width_; ++x, out += 3) out[0] = b[x], out[1] = g[x], out[2] = r[x];
}

}  // namespace vexcam
