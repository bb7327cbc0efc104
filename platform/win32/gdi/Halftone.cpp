#include "gdi/Halftone.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "gdi/Raster.h"

namespace plat::gdi {
namespace {

constexpr uint32_t kOne = 4096;  // the weights of one axis add up to this
// Below this many destination pixels a second thread costs more than it saves.
constexpr int64_t kPixelsPerBand = int64_t(1) << 17;

// One source row as blue, green, red bytes from column lo on: 24- and 32-bit rows are
// read in place, others are converted into `tmp`.
const uint8_t* BgrRow(const Surface& s, int r, int lo, int n, std::vector<uint8_t>& tmp, int* step) {
  if (s.bpp == 24 || s.bpp == 32) {
    *step = s.bpp / 8;
    return s.Row(r) + size_t(lo) * (s.bpp / 8);
  }
  std::vector<uint32_t> raw(static_cast<size_t>(n));
  LoadRow(s, lo, r, n, raw.data());
  tmp.resize(size_t(n) * 3);
  for (int i = 0; i < n; ++i) {
    const COLORREF c = PixelToColor(s, raw[size_t(i)]);
    tmp[3 * size_t(i)] = GetBValue(c);
    tmp[3 * size_t(i) + 1] = GetGValue(c);
    tmp[3 * size_t(i) + 2] = GetRValue(c);
  }
  *step = 3;
  return tmp.data();
}

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
  std::vector<uint32_t> acc(size_t(n) * 3);
  std::vector<uint8_t> tmp;
  const bool direct = dst.bpp == 24 || dst.bpp == 32;
  for (int j = 0; j < rows; ++j) {
    const size_t ky = size_t(row + j);
    if (y_.Taps(ky) == 0) continue;
    // Rows first: the weighted sum of the covered source rows, per byte.
    std::fill(acc.begin(), acc.end(), 0);
    for (int t = 0; t < y_.Taps(ky); ++t) {
      const uint32_t wy = y_.w[y_.start[ky] + size_t(t)];
      int step = 3;
      const uint8_t* p = BgrRow(src_, y_.first[ky] + t, lo, n, tmp, &step);
      uint32_t* a = acc.data();
      if (step == 3) {
        for (int k = 0; k < 3 * n; ++k) a[k] += wy * p[k];
      } else {
        for (int i = 0; i < n; ++i, p += 4, a += 3) {
          a[0] += wy * p[0];
          a[1] += wy * p[1];
          a[2] += wy * p[2];
        }
      }
    }
    // Then columns; 255 x 4096 x 4096 still fits in 32 bits.
    uint32_t* o = out + size_t(j) * cols;
    for (int i = 0; i < cols; ++i) {
      const size_t kx = size_t(col + i);
      uint32_t b = 1u << 23, g = 1u << 23, r = 1u << 23;
      if (const int taps = x_.Taps(kx); taps > 0) {
        const uint32_t* a = acc.data() + size_t(x_.first[kx] - lo) * 3;
        const uint32_t* wx = x_.w.data() + x_.start[kx];
        for (int t = 0; t < taps; ++t, a += 3) {
          b += wx[t] * a[0];
          g += wx[t] * a[1];
          r += wx[t] * a[2];
        }
      }
      b >>= 24, g >>= 24, r >>= 24;
      o[i] = direct ? (r << 16) | (g << 8) | b : ColorToPixel(dst, RGB(r, g, b));
    }
    drawn[j] = 1;
  }
}

}  // namespace plat::gdi
