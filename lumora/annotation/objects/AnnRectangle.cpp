#include "AnnRectangle.h"

void CAnnRectangle::Draw(HDC hdc, double) {
  SetHandleSizeFromZoom();
  // The committed corners, as many as the rubber band has (never more than either list).
  const CAnnObjInfo& s = m_info;
  DrawShape(hdc, ToImagePoints(s.m_points, s.m_rubberPoints.size()));
}

int CAnnRectangle::HitTest(int x, int y) {
  const CPoint p = ImageToLocal(CPoint(x, y));
  const int corner = HitCorner(p);
  if (corner >= 1 && corner <= 4 && m_handlesShown) return corner;
  double minx, maxx, miny, maxy;
  if (!Span(minx, maxx, miny, maxy)) return -1;
  const double t = HitTolerance();
  const bool inX = minx - t <= p.x && p.x <= maxx + t;
  const bool inY = miny - t <= p.y && p.y <= maxy + t;
  if (m_info.m_fill == 1) return inX && inY ? 6 : -1;
  auto near = [t](double v, double edge) { return edge - t <= v && v <= edge + t; };
  const bool onBorder = (inY && (near(p.x, minx) || near(p.x, maxx))) || (inX && (near(p.y, miny) || near(p.y, maxy)));
  return onBorder ? 5 : -1;
}
