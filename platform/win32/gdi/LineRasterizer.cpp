#include "gdi/LineRasterizer.h"

#include <cmath>
#include <algorithm>
#include <cstdlib>

namespace plat::gdi {

int64_t LineSteps(POINT a, POINT b) {
  int64_t adx = std::llabs(int64_t(b.x) - a.x), ady = std::llabs(int64_t(b.y) - a.y);
  return adx > ady ? adx : ady;
}

void LinePixels(POINT a, POINT b, const RECT& box, const std::function<void(int, int, int64_t)>& f) {
  int64_t dx = int64_t(b.x) - a.x, dy = int64_t(b.y) - a.y;
  int64_t adx = std::llabs(dx), ady = std::llabs(dy);
  int64_t n = adx > ady ? adx : ady;
  if (n == 0 || box.left >= box.right || box.top >= box.bottom) return;
  int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  bool xMajor = adx > ady;
  int64_t minor = xMajor ? ady : adx;
  // Steps whose major coordinate lies inside the box.
  int64_t start = xMajor ? a.x : a.y, s = xMajor ? sx : sy;
  int64_t lo = xMajor ? box.left : box.top, hi = xMajor ? box.right - 1 : box.bottom - 1;
  int64_t i0 = 0, i1 = n - 1;
  if (s > 0)
    i0 = std::max<int64_t>(i0, lo - start), i1 = std::min<int64_t>(i1, hi - start);
  else
    i0 = std::max<int64_t>(i0, start - hi), i1 = std::min<int64_t>(i1, start - lo);
  // Along the major axis one pixel per step; the minor coordinate is the true line's
  // value rounded, halves going back towards the start.
  for (int64_t i = i0; i <= i1; ++i) {
    // 128 bits: the ends may be four billion pixels apart.
    int64_t m = static_cast<int64_t>((__int128(2) * i * minor + n - 1) / (__int128(2) * n));
    int64_t x = xMajor ? a.x + sx * i : a.x + sx * m;
    int64_t y = xMajor ? a.y + sy * m : a.y + sy * i;
    if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) continue;
    f(static_cast<int>(x), static_cast<int>(y), i);
  }
}

const std::vector<int>& DashPattern(int style) {
  static const std::vector<int> solid, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3};
  switch (style) {
    case PS_DASH: return dash;
    case PS_DOT: return dot;
    case PS_DASHDOT: return dashDot;
    case PS_DASHDOTDOT: return dashDotDot;
    default: return solid;
  }
}

Region WideSegment(POINT a, POINT b, int width, const RECT& box) {
  int h = width / 2;
  Region caps = Region::Combine(Region::Ellipse({a.x - h, a.y - h, a.x - h + width, a.y - h + width}, &box),
                                Region::Ellipse({b.x - h, b.y - h, b.x - h + width, b.y - h + width}, &box), RGN_OR);
  double dx = double(b.x) - a.x, dy = double(b.y) - a.y, len = std::sqrt(dx * dx + dy * dy);
  if (len == 0) return caps;
  // The band between the ends, about the same centre as the caps: a pixel's centre for an
  // odd width, its top left corner for an even one (a two-pixel line at x covers x - 1 and x).
  double nx = -dy / len * width / 2, ny = dx / len * width / 2;
  auto pt = [](double x, double y) { return POINT{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))}; };
  const double c = width % 2 ? 0.5 : 0.0;
  double ax = a.x + c, ay = a.y + c, bx = b.x + c, by = b.y + c;
  POINT quad[4] = {pt(ax + nx, ay + ny), pt(bx + nx, by + ny), pt(bx - nx, by - ny), pt(ax - nx, ay - ny)};
  int four = 4;
  return Region::Combine(caps, Region::Polygon(quad, &four, 1, WINDING, &box), RGN_OR);
}

void PixelSet::Add(int x, int y) {
  if (rows_.empty()) top_ = y;
  if (y < top_) {
    rows_.insert(rows_.begin(), static_cast<size_t>(top_ - y), {});
    top_ = y;
  }
  size_t r = static_cast<size_t>(y - top_);
  if (r >= rows_.size()) rows_.resize(r + 1);
  auto& row = rows_[r];
  if (!row.empty() && row.back().second == x)
    row.back().second = x + 1;
  else
    row.emplace_back(x, x + 1);
}

Region PixelSet::ToRegion() const { return Region::FromScanlines(top_, rows_); }

}  // namespace plat::gdi
