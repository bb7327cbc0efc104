#include "AnnRectangle.h"

#include <algorithm>

void CAnnRectangle::Draw(HDC hdc, double) {
  SetHandleSizeFromZoom();
  const CAnnObjInfo& s = m_info;
  // The committed corners, as many as the rubber band has (never more than either list).
  const size_t count = std::min(s.m_points.size(), s.m_rubberPoints.size());
  if (count == 0) return;
  std::vector<POINT> image;
  image.reserve(count);
  for (size_t i = 0; i < count; ++i) image.push_back(LocalToImage(s.m_points[i]));
  CPen pen(PS_SOLID, s.m_penWidth, s.m_penColor);
  CBrush fill;
  if (s.m_fill == 1) fill.CreateSolidBrush(s.m_fillColor);
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  HGDIOBJ oldBrush = SelectObject(hdc, s.m_fill == 1 ? static_cast<HGDIOBJ>(fill) : GetStockObject(NULL_BRUSH));
  Polygon(hdc, image.data(), static_cast<int>(image.size()));
  SelectObject(hdc, oldBrush);
  SelectObject(hdc, oldPen);
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
  const bool onBorder =
      (inY && (near(p.x, minx) || near(p.x, maxx))) || (inX && (near(p.y, miny) || near(p.y, maxy)));
  return onBorder ? 5 : -1;
}
