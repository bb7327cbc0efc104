// Box kinds placed directly, as a finished creation leaves them: four corners in the
// object's frame about an origin.
#pragma once
#include <vector>

#include "annotation/objects/AnnObj.h"

// The corners P0-P3 of the box from (x0, y0) to (x2, y2).
inline std::vector<CPoint> Box(int x0, int y0, int x2, int y2) {
  return {CPoint(x0, y0), CPoint(x0, y2), CPoint(x2, y2), CPoint(x2, y0)};
}

// A kept object with these corners about `origin`.
inline void Place(CAnnObj& obj, CPoint origin, const std::vector<CPoint>& corners) {
  obj.GetInfo().m_points = corners;
  obj.GetInfo().m_rubberPoints = corners;
  obj.SetOrigin(origin);
  obj.SetCreating(0);
  obj.SetValid(1);
}

inline void Place(CAnnObj& obj, CPoint origin, CSize half) {
  Place(obj, origin, Box(-half.cx, -half.cy, half.cx, half.cy));
}

// The picture point of a local point.
inline CPoint ImageOf(const CAnnObj& obj, CPoint local) { return obj.AddOrigin(obj.RotatePoint(local)); }
