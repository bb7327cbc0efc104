#include "AnnEllipse.h"

#include <cmath>
#include <cstdint>

namespace {

struct Axes {
  double minx = 0, maxx = 0, miny = 0, maxy = 0;
  double a = 0, b = 0, k = 0;
  int64_t width = 0;
};

bool AxesOf(const std::vector<CPoint>& corners, Axes& e) {
  if (corners.size() < 3) return false;
  e.minx = std::fmin(corners[0].x, corners[2].x);
  e.maxx = std::fmax(corners[0].x, corners[2].x);
  e.miny = std::fmin(corners[0].y, corners[2].y);
  e.maxy = std::fmax(corners[0].y, corners[2].y);
  e.a = (e.maxx - e.minx) * 0.5;
  e.b = (e.maxy - e.miny) * 0.5;
  if (e.a <= 0) return false;
  e.k = e.b * e.b / (e.a * e.a);
  e.width = static_cast<int64_t>(e.maxx - e.minx);
  return true;
}

// The curve's distance from the local x axis at x. The absolute value keeps it defined
// one pixel beyond the half axis, where truncating the centre can leave the box.
double CurveY(const Axes& e, double x) { return std::sqrt(std::fabs(e.b * e.b - e.k * x * x)); }

}  // namespace

std::vector<CPoint> CAnnEllipse::CurvePoints(const std::vector<CPoint>& corners, int step) {
  Axes e;
  if (!AxesOf(corners, e) || step <= 0) return {};
  std::vector<CPoint> curve;
  try {
    // Sized from the width, so no ellipse is too wide for its buffer.
    curve.reserve(static_cast<size_t>((2 * e.width + step - 1) / step));
  } catch (const std::bad_alloc&) {
    return {};
  }
  for (int64_t i = 0; i < 2 * e.width; i += step) {
    double x, y;
    if (i < e.width) {
      x = e.minx + static_cast<double>(i);
      y = CurveY(e, x);
    } else {
      x = e.maxx - static_cast<double>(i - e.width);
      y = -CurveY(e, x);
    }
    curve.emplace_back(static_cast<int>(x), static_cast<int>(y));
  }
  return curve;
}

int CAnnEllipse::RubberBandStep(int width) {
  if (width < 500) return 2;
  if (width < 1000) return 16;
  if (width < 2000) return 32;
  return 64;
}

void CAnnEllipse::DrawPoints(HDC hdc, const std::vector<CPoint>& points) {
  Axes e;
  if (!AxesOf(points, e)) return;
  const std::vector<POINT> image = ToImagePoints(CurvePoints(points, RubberBandStep(static_cast<int>(e.width))));
  if (!image.empty()) Polygon(hdc, image.data(), static_cast<int>(image.size()));
}

void CAnnEllipse::Draw(HDC hdc, double) {
  SetHandleSizeFromZoom();
  DrawShape(hdc, ToImagePoints(CurvePoints(m_info.m_points, 2)));
}

void CAnnEllipse::DrawHandles(HDC hdc) {
  SetHandleSizeFromZoom();
  CAnnBox::DrawHandles(hdc);
}

int CAnnEllipse::HitTest(int x, int y) {
  const CPoint p = ImageToLocal(CPoint(x, y));
  const int corner = HitCorner(p);
  if (corner >= 1 && corner <= 4 && m_handlesShown) return corner;
  double minx, maxx, miny, maxy;
  if (!Span(minx, maxx, miny, maxy)) return -1;
  const int h = m_handleSize / 2;
  if (p.x < minx - h || p.x > maxx + h || p.y < miny - h || p.y > maxy + h) return -1;
  Axes e;
  if (!AxesOf(m_info.m_points, e)) return -1;
  const double ye = CurveY(e, p.x);
  const double t = HitTolerance();
  if (m_info.m_fill == 1) return -ye - t <= p.y && p.y <= ye + t ? 6 : -1;
  // Measured along y at the point's own x, not across the curve.
  const bool onCurve = (-ye - t <= p.y && p.y <= -ye + t) || (ye - t <= p.y && p.y <= ye + t);
  return onCurve ? 5 : -1;
}
