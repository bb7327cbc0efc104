#include "imaging/ChannelOrder.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace plat::imaging {
namespace {

void SwapPlain(const uint8_t* in, uint8_t* out, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i, in += 3, out += 3) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
  }
}

#if defined(__x86_64__)
// Four pixels (12 bytes) a step through one byte shuffle; each step loads and stores
// 16 bytes, so it runs while six or more pixels are left.
__attribute__((target("ssse3"))) void SwapSsse3(const uint8_t* in, uint8_t* out, size_t pixels) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 12, 13, 14, 15);
  size_t i = 0;
  for (; i + 6 <= pixels; i += 4, in += 12, out += 12) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(v, order));
  }
  SwapPlain(in, out, pixels - i);
}
#endif

using SwapFn = void (*)(const uint8_t*, uint8_t*, size_t);
SwapFn Choose() {
#if defined(__x86_64__)
  if (__builtin_cpu_supports("ssse3")) return SwapSsse3;
#endif
  return SwapPlain;
}
const SwapFn g_swap = Choose();

}  // namespace

void SwapRedBlue(const uint8_t* in, uint8_t* out, size_t pixels) { g_swap(in, out, pixels); }

}  // namespace plat::imaging
