#include "gdi/Region.h"

#include <algorithm>
#include <cmath>

namespace plat::gdi {

namespace {

using Spans = std::vector<std::pair<int, int>>;

struct Band {
  int top, bottom;
  Spans spans;
};

std::vector<Band> ToBands(const std::vector<RECT>& rects) {
  std::vector<Band> bands;
  for (const RECT& r : rects) {
    if (bands.empty() || bands.back().top != r.top) bands.push_back({r.top, r.bottom, {}});
    bands.back().spans.emplace_back(r.left, r.right);
  }
  return bands;
}

// Adds a band below the others, joining it to the previous one when they touch and match.
void Append(std::vector<Band>& out, int top, int bottom, Spans spans) {
  if (spans.empty() || top >= bottom) return;
  if (!out.empty() && out.back().bottom == top && out.back().spans == spans) {
    out.back().bottom = bottom;
    return;
  }
  out.push_back({top, bottom, std::move(spans)});
}

std::vector<RECT> Flatten(const std::vector<Band>& bands) {
  std::vector<RECT> rects;
  for (const Band& b : bands)
    for (auto [l, r] : b.spans) rects.push_back({l, b.top, r, b.bottom});
  return rects;
}

bool Keep(int mode, bool a, bool b) {
  switch (mode) {
    case RGN_AND: return a && b;
    case RGN_OR: return a || b;
    case RGN_XOR: return a != b;
    case RGN_DIFF: return a && !b;
    default: return a;
  }
}

// Combines two sorted, disjoint span lists.
Spans CombineSpans(const Spans& a, const Spans& b, int mode) {
  std::vector<int> xs;
  xs.reserve(2 * (a.size() + b.size()));
  for (auto [l, r] : a) xs.insert(xs.end(), {l, r});
  for (auto [l, r] : b) xs.insert(xs.end(), {l, r});
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  Spans out;
  size_t ia = 0, ib = 0;
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    int x = xs[i];
    while (ia < a.size() && a[ia].second <= x) ++ia;
    while (ib < b.size() && b[ib].second <= x) ++ib;
    bool inA = ia < a.size() && a[ia].first <= x;
    bool inB = ib < b.size() && b[ib].first <= x;
    if (!Keep(mode, inA, inB)) continue;
    if (!out.empty() && out.back().second == x)
      out.back().second = xs[i + 1];
    else
      out.emplace_back(x, xs[i + 1]);
  }
  return out;
}

Spans Normalize(Spans s) {
  std::sort(s.begin(), s.end());
  Spans out;
  for (auto [l, r] : s) {
    if (l >= r) continue;
    if (!out.empty() && l <= out.back().second)
      out.back().second = std::max(out.back().second, r);
    else
      out.emplace_back(l, r);
  }
  return out;
}

}  // namespace

Region::Region(const RECT& rc) {
  if (rc.left < rc.right && rc.top < rc.bottom) rects_.push_back(rc);
}

RECT Region::Box() const {
  if (rects_.empty()) return {0, 0, 0, 0};
  RECT box{rects_.front().left, rects_.front().top, rects_.front().right, rects_.back().bottom};
  for (const RECT& r : rects_) {
    box.left = std::min(box.left, r.left);
    box.right = std::max(box.right, r.right);
  }
  return box;
}

int Region::Complexity() const {
  if (rects_.empty()) return NULLREGION;
  return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

size_t Region::FirstBandAt(int y) const {
  // First rectangle whose bottom lies below y (bands are sorted, so bottoms are too).
  auto it = std::partition_point(rects_.begin(), rects_.end(), [y](const RECT& r) { return r.bottom <= y; });
  return static_cast<size_t>(it - rects_.begin());
}

bool Region::Contains(int x, int y) const {
  for (size_t i = FirstBandAt(y); i < rects_.size() && rects_[i].top <= y; ++i)
    if (x >= rects_[i].left && x < rects_[i].right) return true;
  return false;
}

bool Region::Intersects(const RECT& rc) const {
  bool hit = false;
  ForEachClipped(rc, [&](const RECT&) { hit = true; });
  return hit;
}

void Region::Offset(int dx, int dy) {
  for (RECT& r : rects_) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
}

Region Region::Combine(const Region& a, const Region& b, int mode) {
  if (mode == RGN_COPY) return a;
  std::vector<Band> ba = ToBands(a.rects_), bb = ToBands(b.rects_);
  std::vector<int> ys;
  for (const Band& x : ba) ys.insert(ys.end(), {x.top, x.bottom});
  for (const Band& x : bb) ys.insert(ys.end(), {x.top, x.bottom});
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::vector<Band> out;
  static const Spans kNone;
  size_t ia = 0, ib = 0;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    int y = ys[i];
    while (ia < ba.size() && ba[ia].bottom <= y) ++ia;
    while (ib < bb.size() && bb[ib].bottom <= y) ++ib;
    const Spans& sa = ia < ba.size() && ba[ia].top <= y ? ba[ia].spans : kNone;
    const Spans& sb = ib < bb.size() && bb[ib].top <= y ? bb[ib].spans : kNone;
    Append(out, y, ys[i + 1], CombineSpans(sa, sb, mode));
  }
  Region r;
  r.rects_ = Flatten(out);
  return r;
}

Region Region::FromScanlines(int top, const std::vector<Spans>& rows) {
  std::vector<Band> out;
  for (size_t i = 0; i < rows.size(); ++i) {
    int y = top + static_cast<int>(i);
    Append(out, y, y + 1, Normalize(rows[i]));
  }
  Region r;
  r.rects_ = Flatten(out);
  return r;
}

Region Region::Polygon(const POINT* pts, const int* counts, int polygons, int fillMode, const RECT* limit) {
  struct Edge {
    double x0, y0, x1, y1;
    int dir;
  };
  std::vector<Edge> edges;
  int ymin = 0, ymax = 0;
  bool first = true;
  const POINT* p = pts;
  for (int k = 0; k < polygons; ++k) {
    int n = counts[k];
    for (int i = 0; i < n; ++i) {
      POINT a = p[i], b = p[(i + 1) % n];
      if (first) ymin = ymax = a.y, first = false;
      ymin = std::min<int>(ymin, a.y);
      ymax = std::max<int>(ymax, a.y);
      if (a.y == b.y) continue;
      if (a.y < b.y)
        edges.push_back({double(a.x), double(a.y), double(b.x), double(b.y), 1});
      else
        edges.push_back({double(b.x), double(b.y), double(a.x), double(a.y), -1});
    }
    p += n;
  }
  if (edges.empty()) return Region();
  if (limit) ymin = std::max<int>(ymin, limit->top), ymax = std::min<int>(ymax, limit->bottom);
  if (ymin >= ymax) return Region();
  double xlo = limit ? limit->left - 1.0 : -2e9, xhi = limit ? limit->right + 1.0 : 2e9;
  std::vector<Spans> rows(static_cast<size_t>(ymax - ymin));
  std::vector<std::pair<double, int>> xs;
  for (int y = ymin; y < ymax; ++y) {
    // Pixel (x, y) is inside when the point (x, y) is: top and left edges belong to the
    // shape, bottom and right ones do not (a rectangle's points give that rectangle).
    xs.clear();
    for (const Edge& e : edges)
      if (e.y0 <= y && y < e.y1) xs.emplace_back(e.x0 + (y - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir);
    std::sort(xs.begin(), xs.end());
    Spans& row = rows[static_cast<size_t>(y - ymin)];
    int winding = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
      winding += xs[i].second;
      bool inside = fillMode == WINDING ? winding != 0 : (i % 2) == 0;
      if (!inside) continue;
      int l = static_cast<int>(std::ceil(std::clamp(xs[i].first, xlo, xhi) - 1e-9));
      int r = static_cast<int>(std::ceil(std::clamp(xs[i + 1].first, xlo, xhi) - 1e-9));
      if (l < r) row.emplace_back(l, r);
    }
  }
  return FromScanlines(ymin, rows);
}

Region Region::Ellipse(const RECT& box, const RECT* limit) {
  RECT b{std::min(box.left, box.right), std::min(box.top, box.bottom), std::max(box.left, box.right),
         std::max(box.top, box.bottom)};
  if (b.right <= b.left || b.bottom <= b.top) return Region();
  double cx = (double(b.left) + b.right) / 2, cy = (double(b.top) + b.bottom) / 2;
  double ax = (double(b.right) - b.left) / 2, ay = (double(b.bottom) - b.top) / 2;
  int top = b.top, bottom = b.bottom;
  double xlo = -2e9, xhi = 2e9;
  if (limit) {
    top = std::max<int>(top, limit->top), bottom = std::min<int>(bottom, limit->bottom);
    xlo = limit->left - 1.0, xhi = limit->right + 1.0;
  }
  if (top >= bottom) return Region();
  std::vector<Spans> rows(static_cast<size_t>(bottom - top));
  for (int y = top; y < bottom; ++y) {
    double t = (y + 0.5 - cy) / ay;
    double dx = ax * std::sqrt(std::max(0.0, 1.0 - t * t));
    int l = static_cast<int>(std::lround(std::clamp(cx - dx, xlo, xhi)));
    int r = static_cast<int>(std::lround(std::clamp(cx + dx, xlo, xhi)));
    if (l < r) rows[static_cast<size_t>(y - top)].emplace_back(l, r);
  }
  return FromScanlines(top, rows);
}

bool Region::operator==(const Region& o) const {
  if (rects_.size() != o.rects_.size()) return false;
  for (size_t i = 0; i < rects_.size(); ++i) {
    const RECT &a = rects_[i], &b = o.rects_[i];
    if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom) return false;
  }
  return true;
}

}  // namespace plat::gdi
