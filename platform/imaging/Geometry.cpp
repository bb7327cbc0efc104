#include "imaging/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace plat::imaging {
namespace {

constexpr int kShift = 14;
constexpr int32_t kOne = 1 << kShift;

// The source samples and weights that make up each destination sample of one axis.
struct Taps {
  std::vector<int> first;
  std::vector<int> count;
  std::vector<int32_t> weight;  // count[i] weights per destination, packed at stride `width`
  int width = 0;
};

Taps BuildTaps(int src, int dst) {
  Taps t;
  t.first.resize(dst);
  t.count.resize(dst);
  const double scale = double(src) / dst;
  t.width = dst < src ? int(std::ceil(scale)) + 2 : 2;
  t.weight.assign(size_t(dst) * t.width, 0);
  std::vector<double> w(t.width);
  for (int i = 0; i < dst; ++i) {
    int first, n = 0;
    std::fill(w.begin(), w.end(), 0.0);
    if (dst < src) {
      // Area average: each source sample counts by how much of it the destination covers.
      const double a = i * scale, b = (i + 1) * scale;
      first = int(std::floor(a));
      for (int s = first; s < src && s < b; ++s) {
        const double cover = std::min<double>(s + 1, b) - std::max<double>(s, a);
        if (n < t.width) w[n++] = cover;
      }
    } else {
      const double c = (i + 0.5) * scale - 0.5;
      first = int(std::floor(c));
      const double f = c - first;
      if (first < 0) {
        first = 0;
        w[n++] = 1.0;
      } else if (first >= src - 1) {
        first = src - 1;
        w[n++] = 1.0;
      } else {
        w[n++] = 1.0 - f;
        w[n++] = f;
      }
    }
    // Integer weights that sum to exactly kOne: a flat run stays flat.
    double total = 0;
    for (int k = 0; k < n; ++k) total += w[k];
    int32_t sum = 0, best = 0;
    int32_t* out = &t.weight[size_t(i) * t.width];
    for (int k = 0; k < n; ++k) {
      out[k] = int32_t(std::lround(w[k] / total * kOne));
      sum += out[k];
      if (out[k] > out[best]) best = k;
    }
    out[best] += kOne - sum;
    t.first[i] = first;
    t.count[i] = n;
  }
  return t;
}

inline uint8_t Clamp255(int32_t v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

void ResizeSmooth(const Dib& in, Dib& out) {
  const int ch = in.Bits() / 8;
  const int sw = in.Width(), sh = in.Height(), dw = out.Width(), dh = out.Height();
  const Taps tx = BuildTaps(sw, dw), ty = BuildTaps(sh, dh);
  // Horizontal pass into a packed buffer of source rows, then the vertical pass.
  const size_t mid = size_t(dw) * ch;
  std::vector<uint8_t> tmp(mid * sh);
  for (int y = 0; y < sh; ++y) {
    const uint8_t* s = in.Row(y);
    uint8_t* d = tmp.data() + mid * y;
    for (int x = 0; x < dw; ++x) {
      const int32_t* w = &tx.weight[size_t(x) * tx.width];
      const uint8_t* p = s + size_t(tx.first[x]) * ch;
      const int n = tx.count[x];
      if (ch == 3) {
        int32_t b = kOne / 2, g = kOne / 2, r = kOne / 2;
        for (int k = 0; k < n; ++k, p += 3) {
          b += p[0] * w[k];
          g += p[1] * w[k];
          r += p[2] * w[k];
        }
        d[0] = Clamp255(b >> kShift);
        d[1] = Clamp255(g >> kShift);
        d[2] = Clamp255(r >> kShift);
        d += 3;
      } else {
        int32_t v = kOne / 2;
        for (int k = 0; k < n; ++k) v += p[k] * w[k];
        *d++ = Clamp255(v >> kShift);
      }
    }
  }
  std::vector<int32_t> acc(mid);
  for (int y = 0; y < dh; ++y) {
    std::fill(acc.begin(), acc.end(), kOne / 2);
    const int32_t* w = &ty.weight[size_t(y) * ty.width];
    for (int k = 0; k < ty.count[y]; ++k) {
      const uint8_t* s = tmp.data() + mid * (ty.first[y] + k);
      const int32_t wk = w[k];
      for (size_t i = 0; i < mid; ++i) acc[i] += s[i] * wk;
    }
    uint8_t* d = out.Row(y);
    for (size_t i = 0; i < mid; ++i) d[i] = Clamp255(acc[i] >> kShift);
  }
}

void ResizeNearest(const Dib& in, Dib& out) {
  const int ch = in.Bits() / 8;
  const int sw = in.Width(), sh = in.Height(), dw = out.Width(), dh = out.Height();
  std::vector<int> xs(dw);
  for (int x = 0; x < dw; ++x) xs[x] = int((int64_t(2 * x + 1) * sw) / (int64_t(2) * dw)) * ch;
  for (int y = 0; y < dh; ++y) {
    const uint8_t* s = in.Row(int((int64_t(2 * y + 1) * sh) / (int64_t(2) * dh)));
    uint8_t* d = out.Row(y);
    if (ch == 3) {
      for (int x = 0; x < dw; ++x, d += 3) {
        const uint8_t* p = s + xs[x];
        d[0] = p[0];
        d[1] = p[1];
        d[2] = p[2];
      }
    } else {
      for (int x = 0; x < dw; ++x) d[x] = s[xs[x]];
    }
  }
}

template <int CH>
void TurnQuarter(const Dib& in, Dib& out, bool clockwise) {
  // Works in tiles so that both pictures are walked through the cache.
  constexpr int kTile = 64;
  const int w = in.Width(), h = in.Height();  // out is h x w
  for (int ty = 0; ty < w; ty += kTile) {
    for (int tx = 0; tx < h; tx += kTile) {
      const int ye = std::min(ty + kTile, w), xe = std::min(tx + kTile, h);
      for (int y = ty; y < ye; ++y) {
        uint8_t* d = out.Row(y) + size_t(tx) * CH;
        // clockwise: out(x, y) = in(y, h-1-x); counter-clockwise: out(x, y) = in(w-1-y, x)
        const int sx = clockwise ? y : w - 1 - y;
        for (int x = tx; x < xe; ++x, d += CH) {
          const uint8_t* p = in.Row(clockwise ? h - 1 - x : x) + size_t(sx) * CH;
          for (int c = 0; c < CH; ++c) d[c] = p[c];
        }
      }
    }
  }
}

template <int CH>
void Turn180(const Dib& in, Dib& out) {
  const int w = in.Width(), h = in.Height();
  for (int y = 0; y < h; ++y) {
    const uint8_t* s = in.Row(h - 1 - y) + size_t(w - 1) * CH;
    uint8_t* d = out.Row(y);
    for (int x = 0; x < w; ++x, d += CH, s -= CH)
      for (int c = 0; c < CH; ++c) d[c] = s[c];
  }
}

template <int CH>
void TurnAny(const Dib& in, Dib& out, double radians, const uint8_t* fill) {
  const int sw = in.Width(), sh = in.Height(), dw = out.Width(), dh = out.Height();
  const double cs = std::cos(radians), sn = std::sin(radians);
  const double scx = (sw - 1) / 2.0, scy = (sh - 1) / 2.0, dcx = (dw - 1) / 2.0, dcy = (dh - 1) / 2.0;
  constexpr int kF = 16;
  constexpr int64_t kFOne = int64_t(1) << kF;
  const int64_t dxs = std::llround(cs * kFOne), dys = std::llround(-sn * kFOne);
  const int64_t maxX = int64_t(sw - 1) << kF, maxY = int64_t(sh - 1) << kF;
  for (int y = 0; y < dh; ++y) {
    // Source position of the row's first pixel: the inverse turn of (0, y) about the centres.
    const double ox = -dcx, oy = y - dcy;
    int64_t sx = std::llround((ox * cs + oy * sn + scx) * kFOne);
    int64_t sy = std::llround((-ox * sn + oy * cs + scy) * kFOne);
    uint8_t* d = out.Row(y);
    for (int x = 0; x < dw; ++x, d += CH, sx += dxs, sy += dys) {
      if (sx < 0 || sy < 0 || sx > maxX || sy > maxY) {
        for (int c = 0; c < CH; ++c) d[c] = fill[c];
        continue;
      }
      const int x0 = int(sx >> kF), y0 = int(sy >> kF);
      const int fx = int(sx & (kFOne - 1)) >> 8, fy = int(sy & (kFOne - 1)) >> 8;  // 8-bit fractions
      const int x1 = std::min(x0 + 1, sw - 1), y1 = std::min(y0 + 1, sh - 1);
      const uint8_t* r0 = in.Row(y0);
      const uint8_t* r1 = in.Row(y1);
      for (int c = 0; c < CH; ++c) {
        const int a = r0[x0 * CH + c], b = r0[x1 * CH + c];
        const int e = r1[x0 * CH + c], f = r1[x1 * CH + c];
        const int top = a * 256 + (b - a) * fx, bottom = e * 256 + (f - e) * fx;
        d[c] = uint8_t((top * 256 + (bottom - top) * fy + 32768) >> 16);
      }
    }
  }
}

}  // namespace

Status Crop(const Dib& in, int left, int top, int width, int height, Dib* out) {
  if (in.Empty()) return status::kNoImage;
  if (width <= 0 || height <= 0) return status::kInvalidArgument;
  const int64_t x0 = std::max<int64_t>(left, 0), y0 = std::max<int64_t>(top, 0);
  const int64_t x1 = std::min<int64_t>(int64_t(left) + width, in.Width());
  const int64_t y1 = std::min<int64_t>(int64_t(top) + height, in.Height());
  if (x1 <= x0 || y1 <= y0) return status::kInvalidArgument;
  Dib d = Dib::Create(int(x1 - x0), int(y1 - y0), in.Bits());
  if (d.Empty()) return status::kNoMemory;
  const int ch = in.Bits() / 8;
  const size_t bytes = size_t(d.Width()) * ch;
  for (int y = 0; y < d.Height(); ++y) std::memcpy(d.Row(y), in.Row(int(y0) + y) + x0 * ch, bytes);
  d.Palette() = in.Palette();
  *out = std::move(d);
  return status::kOk;
}

Status Resize(const Dib& in, int width, int height, ResizeFilter filter, Dib* out) {
  if (in.Empty()) return status::kNoImage;
  if (!Dib::SizeAllowed(width, height, in.Bits())) return status::kInvalidArgument;
  Dib d = Dib::Create(width, height, in.Bits());
  if (d.Empty()) return status::kNoMemory;
  d.Palette() = in.Palette();
  if (filter == ResizeFilter::Nearest)
    ResizeNearest(in, d);
  else
    ResizeSmooth(in, d);
  *out = std::move(d);
  return status::kOk;
}

Status RotateQuarters(const Dib& in, int quarters, Dib* out) {
  if (in.Empty()) return status::kNoImage;
  const int q = ((quarters % 4) + 4) % 4;
  if (q == 0) {
    Dib d = in.Clone();
    if (d.Empty()) return status::kNoMemory;
    *out = std::move(d);
    return status::kOk;
  }
  const bool odd = q % 2 == 1;
  Dib d = Dib::Create(odd ? in.Height() : in.Width(), odd ? in.Width() : in.Height(), in.Bits());
  if (d.Empty()) return status::kNoMemory;
  d.Palette() = in.Palette();
  const bool rgb = in.Bits() == 24;
  if (q == 2)
    rgb ? Turn180<3>(in, d) : Turn180<1>(in, d);
  else
    rgb ? TurnQuarter<3>(in, d, q == 1) : TurnQuarter<1>(in, d, q == 1);
  *out = std::move(d);
  return status::kOk;
}

Status Rotate(const Dib& in, LONG hundredths, bool grow, COLORREF fill, Dib* out) {
  if (in.Empty()) return status::kNoImage;
  const LONG a = ((hundredths % 36000) + 36000) % 36000;
  if (a % 9000 == 0 && (grow || a == 18000 || a == 0 || in.Width() == in.Height()))
    return RotateQuarters(in, a / 9000, out);
  const double rad = a * 3.14159265358979323846 / 18000.0;
  int w = in.Width(), h = in.Height();
  if (grow) {
    const double c = std::fabs(std::cos(rad)), s = std::fabs(std::sin(rad));
    // A hair below the exact size, so that rounding noise adds no extra row.
    w = int(std::ceil(in.Width() * c + in.Height() * s - 1e-6));
    h = int(std::ceil(in.Width() * s + in.Height() * c - 1e-6));
  }
  if (!Dib::SizeAllowed(w, h, in.Bits())) return status::kInvalidArgument;
  Dib d = Dib::Create(w, h, in.Bits());
  if (d.Empty()) return status::kNoMemory;
  d.Palette() = in.Palette();
  const uint8_t r = GetRValue(fill), g = GetGValue(fill), b = GetBValue(fill);
  if (in.Bits() == 24) {
    const uint8_t px[3] = {b, g, r};
    TurnAny<3>(in, d, rad, px);
  } else {
    const uint8_t grey = uint8_t((19595 * r + 38470 * g + 7471 * b + 32768) >> 16);
    TurnAny<1>(in, d, rad, &grey);
  }
  *out = std::move(d);
  return status::kOk;
}

void FlipHorizontal(Dib& d) {
  if (d.Empty()) return;
  const int w = d.Width();
  for (int y = 0; y < d.Height(); ++y) {
    uint8_t* row = d.Row(y);
    if (d.Bits() == 8) {
      std::reverse(row, row + w);
      continue;
    }
    uint8_t* l = row;
    uint8_t* r = row + size_t(w - 1) * 3;
    for (; l < r; l += 3, r -= 3) {
      std::swap(l[0], r[0]);
      std::swap(l[1], r[1]);
      std::swap(l[2], r[2]);
    }
  }
}

void FlipVertical(Dib& d) {
  if (d.Empty()) return;
  std::vector<uint8_t> tmp(d.Stride());
  for (int y = 0, z = d.Height() - 1; y < z; ++y, --z) {
    std::memcpy(tmp.data(), d.Row(y), tmp.size());
    std::memcpy(d.Row(y), d.Row(z), tmp.size());
    std::memcpy(d.Row(z), tmp.data(), tmp.size());
  }
}

}  // namespace plat::imaging
