#include "gdi/Halftone.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "gdi/Raster.h"

namespace plat::gdi {
namespace {

constexpr uint32_t kOne = 4096;  // the weights of one axis add up to this
// Below this many destination pixels a second thread costs more than it saves.
constexpr int64_t kPixelsPerBand = int64_t(1) << 17;

// One source row as blue, green, red bytes from column lo on: 24-bit rows are read in
// place, others are converted into `tmp`.
const uint8_t* BgrRow(const Surface& s, int r, int lo, int n, std::vector<uint8_t>& tmp) {
  if (s.bpp == 24) return s.Row(r) + size_t(lo) * 3;
  tmp.resize(size_t(n) * 3);
  if (s.bpp == 32) {
    const uint8_t* p = s.Row(r) + size_t(lo) * 4;
    for (int i = 0; i < n; ++i, p += 4) std::memcpy(&tmp[3 * size_t(i)], p, 3);
    return tmp.data();
  }
  std::vector<uint32_t> raw(static_cast<size_t>(n));
  LoadRow(s, lo, r, n, raw.data());
  for (int i = 0; i < n; ++i) {
    const COLORREF c = PixelToColor(s, raw[size_t(i)]);
    tmp[3 * size_t(i)] = GetBValue(c);
    tmp[3 * size_t(i) + 1] = GetGValue(c);
    tmp[3 * size_t(i) + 2] = GetRValue(c);
  }
  return tmp.data();
}

// a[k] = (add ? a[k] : 0) + sum of w[t] * p[t][k] over the taps (each w at most 4096):
// the inner loop of the filter. On x86-64 it works on sixteen samples at a time (SSE2,
// always there), or eight taps-sums a store with AVX2 where the processor has it.
void SumRowsPlain(uint32_t* a, const uint8_t* const* p, const uint32_t* w, int taps, int count, bool add) {
  if (!add) std::fill(a, a + count, 0u);
  for (int t = 0; t < taps; ++t) {
    const uint8_t* row = p[t];
    int k = 0;
#if defined(__x86_64__)
    const __m128i zero = _mm_setzero_si128(), weight = _mm_set1_epi16(static_cast<short>(w[t]));
    for (; k + 16 <= count; k += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + k));
      const __m128i halves[2] = {_mm_unpacklo_epi8(bytes, zero), _mm_unpackhi_epi8(bytes, zero)};
      for (int h = 0; h < 2; ++h) {
        // 16 x 16 -> 32-bit products from their low and high halves.
        const __m128i lo = _mm_mullo_epi16(halves[h], weight), hi = _mm_mulhi_epu16(halves[h], weight);
        auto* at = reinterpret_cast<__m128i*>(a + k + 8 * h);
        _mm_storeu_si128(at, _mm_add_epi32(_mm_loadu_si128(at), _mm_unpacklo_epi16(lo, hi)));
        _mm_storeu_si128(at + 1, _mm_add_epi32(_mm_loadu_si128(at + 1), _mm_unpackhi_epi16(lo, hi)));
      }
    }
#endif
    for (; k < count; ++k) a[k] += w[t] * row[k];
  }
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) void SumRowsAvx2(uint32_t* a, const uint8_t* const* p, const uint32_t* w, int taps,
                                                 int count, bool add) {
  int k = 0;
  for (; k + 8 <= count; k += 8) {
    auto* at = reinterpret_cast<__m256i*>(a + k);
    __m256i sum = add ? _mm256_loadu_si256(at) : _mm256_setzero_si256();
    for (int t = 0; t < taps; ++t) {
      const __m256i v = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p[t] + k)));
      sum = _mm256_add_epi32(sum, _mm256_mullo_epi32(v, _mm256_set1_epi32(static_cast<int>(w[t]))));
    }
    _mm256_storeu_si256(at, sum);
  }
  for (; k < count; ++k) {
    uint32_t sum = add ? a[k] : 0;
    for (int t = 0; t < taps; ++t) sum += w[t] * p[t][k];
    a[k] = sum;
  }
}
#endif

// The weighted sums of the columns of row sums `acc` (blue, green, red from source
// column lo on) for destination columns [col, col + cols): 0x00RRGGBB, rounded.
// 255 x 4096 x 4096 still fits in 32 bits.
void ColumnsPlain(const uint32_t* acc, int lo, const Halftone::Axis& x, int col, int cols, uint32_t* o) {
  for (int i = 0; i < cols; ++i) {
    const size_t kx = size_t(col + i);
    uint32_t b = 1u << 23, g = 1u << 23, r = 1u << 23;
    const int taps = x.Taps(kx);
    const uint32_t* a = acc + (taps ? size_t(x.first[kx] - lo) * 3 : 0);
    const uint32_t* wx = x.w.data() + x.start[kx];
    for (int t = 0; t < taps; ++t, a += 3) {
      b += wx[t] * a[0];
      g += wx[t] * a[1];
      r += wx[t] * a[2];
    }
    o[i] = ((r >> 24) << 16) | ((g >> 24) << 8) | (b >> 24);
  }
}

#if defined(__x86_64__)
// The three channels of a column in one register (the fourth lane is the next column's
// blue, never used).
__attribute__((target("avx2"))) void ColumnsAvx2(const uint32_t* acc, int lo, const Halftone::Axis& x, int col,
                                                 int cols, uint32_t* o) {
  const __m128i half = _mm_set1_epi32(1 << 23);
  for (int i = 0; i < cols; ++i) {
    const size_t kx = size_t(col + i);
    __m128i sum = half;
    const int taps = x.Taps(kx);
    const uint32_t* a = acc + (taps ? size_t(x.first[kx] - lo) * 3 : 0);
    const uint32_t* wx = x.w.data() + x.start[kx];
    for (int t = 0; t < taps; ++t, a += 3)
      sum = _mm_add_epi32(sum, _mm_mullo_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)),
                                               _mm_set1_epi32(static_cast<int>(wx[t]))));
    sum = _mm_srli_epi32(sum, 24);
    o[i] = (uint32_t(_mm_extract_epi32(sum, 2)) << 16) | (uint32_t(_mm_extract_epi32(sum, 1)) << 8) |
           uint32_t(_mm_cvtsi128_si32(sum));
  }
}
#endif

using SumRowsFn = void (*)(uint32_t*, const uint8_t* const*, const uint32_t*, int, int, bool);
using ColumnsFn = void (*)(const uint32_t*, int, const Halftone::Axis&, int, int, uint32_t*);
bool HasAvx2() {
#if defined(__x86_64__)
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}
#if defined(__x86_64__)
const SumRowsFn SumRows = HasAvx2() ? SumRowsAvx2 : SumRowsPlain;
const ColumnsFn Columns = HasAvx2() ? ColumnsAvx2 : ColumnsPlain;
#else
const SumRowsFn SumRows = SumRowsPlain;
const ColumnsFn Columns = ColumnsPlain;
#endif

}  // namespace

Halftone::Axis::Axis(int dn, int sn, int s0, bool flip, int from, int count, int sourceSize) {
  const double scale = double(sn) / dn;
  start.push_back(0);
  for (int i = from; i < from + count; ++i) {
    double a = i * scale, b = (i + 1) * scale;
    if (b - a < 1.0) {  // enlarging: one source pixel, as the filter has no area to average
      const double c = (a + b) / 2;
      a = std::floor(c), b = a + 1;
    }
    const int f = static_cast<int>(std::floor(a)), l = std::min(sn, static_cast<int>(std::ceil(b)));
    // Shares of the covered pixels that exist in the source, in order of source index.
    std::vector<double> share;
    int firstIn = -1;
    for (int k = f; k < l; ++k) {
      const int at = s0 + (flip ? sn - 1 - k : k);
      if (at < 0 || at >= sourceSize) continue;
      if (firstIn < 0) firstIn = k;
      share.push_back((std::min<double>(k + 1, b) - std::max<double>(k, a)) / (b - a));
    }
    if (flip) std::reverse(share.begin(), share.end());
    const int lastIn = firstIn < 0 ? -1 : firstIn + int(share.size()) - 1;
    first.push_back(firstIn < 0 ? 0 : s0 + (flip ? sn - 1 - lastIn : firstIn));
    // Fixed point that adds up exactly: the rounding left over goes to the largest share.
    double total = 0;
    for (double s : share) total += s;
    uint32_t sum = 0;
    size_t largest = 0;
    const size_t base = w.size();
    for (size_t k = 0; k < share.size(); ++k) {
      const uint32_t v = uint32_t(std::lround(share[k] / total * kOne));
      w.push_back(v);
      sum += v;
      if (share[k] > share[largest]) largest = k;
    }
    if (!share.empty()) w[base + largest] += kOne - sum;
    start.push_back(uint32_t(w.size()));
  }
}

void Halftone::Rows(int row, int rows, int col, int cols, const Surface& dst, uint32_t* out,
                    std::vector<char>* drawn) const {
  drawn->assign(static_cast<size_t>(rows), 0);
  const int64_t pixels = int64_t(rows) * cols;
  const int bands = int(std::clamp<int64_t>(pixels / kPixelsPerBand, 1,
                                            std::clamp<unsigned>(std::thread::hardware_concurrency(), 1u, 4u)));
  if (bands == 1) {
    Band(row, rows, col, cols, dst, out, drawn->data());
    return;
  }
  std::vector<std::thread> workers;
  const int per = (rows + bands - 1) / bands;
  for (int b = 1; b < bands; ++b) {
    const int first = b * per, n = std::min(per, rows - first);
    if (n <= 0) break;
    workers.emplace_back([=, this] {
      Band(row + first, n, col, cols, dst, out + size_t(first) * cols, drawn->data() + first);
    });
  }
  Band(row, std::min(per, rows), col, cols, dst, out, drawn->data());
  for (auto& t : workers) t.join();
}

void Halftone::Band(int row, int rows, int col, int cols, const Surface& dst, uint32_t* out, char* drawn) const {
  // Source columns the band's destination columns read.
  int lo = src_.width, hi = -1;
  for (int i = col; i < col + cols; ++i) {
    if (x_.Taps(size_t(i)) == 0) continue;
    lo = std::min(lo, x_.first[size_t(i)]);
    hi = std::max(hi, x_.first[size_t(i)] + x_.Taps(size_t(i)) - 1);
  }
  if (hi < lo) return;
  const int n = hi - lo + 1;
  std::vector<uint32_t> acc(size_t(n) * 3 + 1);  // one more: the columns read four at a time
  std::vector<uint8_t> tmp[4];
  const bool direct = dst.bpp == 24 || dst.bpp == 32;
  for (int j = 0; j < rows; ++j) {
    const size_t ky = size_t(row + j);
    if (y_.Taps(ky) == 0) continue;
    // Rows first: the weighted sum of the covered source rows, per byte, four rows a pass.
    const int taps = y_.Taps(ky);
    const uint32_t* wy = y_.w.data() + y_.start[ky];
    for (int t0 = 0; t0 < taps; t0 += 4) {
      const int group = std::min(4, taps - t0);
      const uint8_t* rowsOf[4];
      for (int t = 0; t < group; ++t) rowsOf[t] = BgrRow(src_, y_.first[ky] + t0 + t, lo, n, tmp[size_t(t)]);
      SumRows(acc.data(), rowsOf, wy + t0, group, 3 * n, t0 > 0);
    }
    // Then columns, as 0x00RRGGBB; other formats are mapped after.
    uint32_t* o = out + size_t(j) * cols;
    Columns(acc.data(), lo, x_, col, cols, o);
    if (!direct)
      for (int i = 0; i < cols; ++i) o[i] = ColorToPixel(dst, RGB((o[i] >> 16) & 0xFF, (o[i] >> 8) & 0xFF, o[i] & 0xFF));
    drawn[j] = 1;
  }
}

}  // namespace plat::gdi
