// Single-frame readout kernels: one pixel writer for every size, rule and orientation.
#include "ReadoutKernels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vexcam {
namespace {

inline int Clamp(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

struct Rgb {
  int b, g, r;
};

// Level-table values of the four bytes (g0, b, r, g1) of a cell word.
struct Cell {
  int g0, b, r, g1;
};

Cell Levels(const ReadoutKind& kind, LaneTables lut, const BYTE* word) {
  auto level = [&](int lane) {
    const BYTE raw = kind.invertRaw ? BYTE(255 - word[lane]) : word[lane];
    return int(lut[lane][raw]);
  };
  return {level(0), level(1), level(2), level(3)};
}

int Grey(const Cell& c) { return ((5 * (c.g0 + c.g1)) / 2 + 2 * c.r + c.b) / 8; }

Rgb Colour(PixelRule rule, const Cell& c) {
  switch (rule) {
    case PixelRule::Chroma: {
      const int gm = (c.g0 + c.g1) / 2;
      return {Clamp(c.b + (c.b - gm) / 4), Clamp(gm + (2 * gm - c.b - c.r) / 8), Clamp(c.r + (c.r - gm) / 4)};
    }
    case PixelRule::Negative:
      return {255 - c.b, ((255 - c.g0) + (255 - c.g1)) / 2, 255 - c.r};
    case PixelRule::Grey: {
      const int y = Grey(c);
      return {y, y, y};
    }
    case PixelRule::NegativeGrey: {
      const int y = ((5 * (255 - c.g0)) / 2 + (5 * (255 - c.g1)) / 2 + 2 * (255 - c.r) + (255 - c.b)) / 8;
      return {y, y, y};
    }
    case PixelRule::Plain:
      break;
  }
  return {c.b, (c.g0 + c.g1) / 2, c.r};
}

// Writes pixel (column, row from the top) of the picture in its orientation. Mirrored
// rows start at the last pixel, so an odd width's padding byte is never written.
void Put(const PictureTarget& p, LONG stride, LONG column, LONG row, const Rgb& c) {
  if (column < 0 || column >= p.width || row < 0 || row >= p.height) return;
  if (p.orientation & 0x8) column = p.width - 1 - column;
  if (p.orientation & 0x4) row = p.height - 1 - row;
  BYTE* px = p.bits + size_t(p.height - 1 - row) * size_t(stride) + size_t(column) * 3;
  px[0] = BYTE(c.b), px[1] = BYTE(c.g), px[2] = BYTE(c.r);
}

LONG Stride(LONG width) { return (width * 3 + 3) & ~3; }

}  // namespace

void WriteLine(const ReadoutKind& kind, LaneTables lut, const BYTE* cells, LONG count, LONG line,
               const PictureTarget& picture) {
  const LONG stride = Stride(picture.width);
  if (!kind.full) {
    for (LONG j = 0; j < count; ++j) Put(picture, stride, j, line, Colour(kind.rule, Levels(kind, lut, cells + 4 * j)));
    return;
  }
  const LONG top = 2 * line;
  int previousLower = -1;
  for (LONG j = 0; j < count; ++j) {
    const Cell c = Levels(kind, lut, cells + 4 * j);
    const LONG left = 2 * j;
    if (kind.blocks || kind.rule != PixelRule::Plain) {
      const Rgb one = Colour(kind.rule, c);
      for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) Put(picture, stride, left + dx, top + dy, one);
    } else {
      // Blue and red fill the cell; the greens keep their rows, the lower-left pixel
      // borrows the lower green of the cell to its left.
      int g[4] = {c.g0, c.g0, previousLower < 0 ? c.g1 : previousLower, c.g1};
      int b = c.b, r = c.r;
      if (kind.fullChroma) {
        for (int& v : g) v = Clamp(v + (2 * v - c.b - c.r) / 8);
        b = Clamp(c.b + (c.b - c.g1) / 4);
        r = Clamp(c.r + (c.r - c.g0) / 4);
      }
      Put(picture, stride, left, top, {b, g[0], r});
      Put(picture, stride, left + 1, top, {b, g[1], r});
      Put(picture, stride, left, top + 1, {b, g[2], r});
      Put(picture, stride, left + 1, top + 1, {b, g[3], r});
    }
    previousLower = c.g1;
  }
}

LONG NextExposurePoint(LONG a, LONG n, double f, LONG frameMs, LONG meanMs) {
  const LONG c = LONG(f * frameMs);
  if (c < meanMs && meanMs > 0) {
    const LONG m = n - LONG((int64_t(n) * c) / meanMs);
    const LONG d = std::min(n - 1, m);
    return std::max(d, a / 16);
  }
  return a / 16;
}

void GreenPairs::Gather(const BYTE* saved, const BYTE* current, LONG cells) {
  for (LONG j = 0; j < cells; ++j) {
    const LONG left = j > 0 ? j - 1 : 0;
    const BYTE* a = saved + 4 * left;
    const BYTE* s = saved + 4 * j;
    const BYTE* c = current + 4 * left;
    if (std::abs(a[0] - s[0]) <= 3 && std::abs(a[0] - c[0]) <= 3 && std::abs(a[3] - s[3]) <= 3 &&
        std::abs(a[3] - c[3]) <= 3) {
      sum[a[3]] += (s[0] + c[0]) / 2;
      count[a[3]] += 1;
    }
  }
}

void UpdateGreenBalance(const GreenPairs& pairs, bool overlap, const BYTE upper[256], BYTE lower[256]) {
  bool valid[256];
  double delta[256];
  for (int v = 0; v < 256; ++v) {
    valid[v] = pairs.count[v] > 100;
    delta[v] = valid[v] ? double(pairs.sum[v]) / double(pairs.count[v]) - v : 0.0;
  }
  // next[v]: the smallest valid index >= v (255 when none); prev[v]: the largest <= v (0).
  int next[256], prev[256];
  {
    int n = -1;
    for (int v = 255; v >= 0; --v) {
      if (valid[v]) n = v;
      next[v] = n < 0 ? 255 : n;
    }
    int p = -1;
    for (int v = 0; v < 256; ++v) {
      if (valid[v]) p = v;
      prev[v] = p < 0 ? 0 : p;
    }
  }
  for (int v = 0; v <= 253; ++v)
    if (valid[v + 1] && delta[v] > 0 && delta[v + 2] > 0)
      delta[v + 1] = (delta[v] + 2 * delta[v + 1] + delta[v + 2]) * 0.25;
  delta[0] = 0, delta[255] = 0;
  for (int v = 0; v < 256; ++v) {
    double d;
    if (valid[v]) {
      d = delta[v];
    } else if (overlap) {
      const int span = next[v] - prev[v];
      d = span > 0 ? ((v - prev[v]) * delta[next[v]] + (next[v] - v) * delta[prev[v]]) / span : 0.0;
    } else {
      continue;
    }
    const int e = Clamp(v + int(std::trunc(d + 0.5)));
    lower[v] = upper[e];
  }
}

}  // namespace vexcam
