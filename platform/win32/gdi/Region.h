// A region: non-overlapping rectangles in y-x bands (rectangles of a band share top and
// bottom and are sorted by x; touching neighbours are merged; identical adjacent bands
// are joined), so equal areas have equal rectangle lists.
#pragma once
#include <utility>
#include <vector>

#include "WinGdi.h"

namespace plat::gdi {

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& rc);

  bool Empty() const { return rects_.empty(); }
  RECT Box() const;
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Complexity() const;
  const std::vector<RECT>& Rects() const { return rects_; }
  bool Contains(int x, int y) const;
  bool Intersects(const RECT& rc) const;
  void Offset(int dx, int dy);
  // Calls f(rect) for each part of rc inside the region, top to bottom.
  template <class F>
  void ForEachClipped(const RECT& rc, F f) const;

  static Region Combine(const Region& a, const Region& b, int mode);
  Region Intersect(const RECT& rc) const { return Combine(*this, Region(rc), RGN_AND); }
  // Builds a region from one list of [x0, x1) spans per scan line, starting at row top.
  static Region FromScanlines(int top, const std::vector<std::vector<std::pair<int, int>>>& rows);
  // `limit` (optional) bounds the rows and columns worked out, for shapes far larger than
  // anything they could be drawn on.
  static Region Polygon(const POINT* pts, const int* counts, int polygons, int fillMode,
                        const RECT* limit = nullptr);
  static Region Ellipse(const RECT& box, const RECT* limit = nullptr);

  bool operator==(const Region& o) const;

 private:
  size_t FirstBandAt(int y) const;
  std::vector<RECT> rects_;
};

template <class F>
void Region::ForEachClipped(const RECT& rc, F f) const {
  if (rc.left >= rc.right || rc.top >= rc.bottom) return;
  for (size_t i = FirstBandAt(rc.top); i < rects_.size() && rects_[i].top < rc.bottom; ++i) {
    const RECT& r = rects_[i];
    RECT c{r.left > rc.left ? r.left : rc.left, r.top > rc.top ? r.top : rc.top,
           r.right < rc.right ? r.right : rc.right, r.bottom < rc.bottom ? r.bottom : rc.bottom};
    if (c.left < c.right && c.top < c.bottom) f(c);
  }
}

}  // namespace plat::gdi
