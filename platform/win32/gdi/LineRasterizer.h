// The pixels of one-pixel lines and the shapes of wide pens.
#pragma once
#include <functional>

#include "gdi/Region.h"

namespace plat::gdi {

// Calls f(x, y, i) for each pixel of the line from a to b inside box (i: the pixel's step
// from a); b itself is left out, so joined segments touch each pixel once. Steps outside
// the box are skipped without being walked, so far-away ends cost nothing.
void LinePixels(POINT a, POINT b, const RECT& box, const std::function<void(int, int, int64_t)>& f);
// Number of steps of the line from a to b.
int64_t LineSteps(POINT a, POINT b);

// Dash lengths of a one-pixel styled pen (on, off, on, off ...); empty for solid.
const std::vector<int>& DashPattern(int style);

// Area a wide pen covers along the segment a-b, with round ends, within box.
Region WideSegment(POINT a, POINT b, int width, const RECT& box);

// Collects single pixels into a region.
class PixelSet {
 public:
  void Add(int x, int y);
  Region ToRegion() const;
  bool Empty() const { return rows_.empty(); }

 private:
  int top_ = 0;
  std::vector<std::vector<std::pair<int, int>>> rows_;
};

}  // namespace plat::gdi
