#include "AnnLine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "AnnHandles.h"
#include "AnnProperties.h"

namespace {

constexpr double kRoot2 = 1.4142135623730951;

// The unit direction from a to b; false for a segment without length.
bool Direction(const CAnnLine::Segment& s, double& ux, double& uy) {
  const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
  const double length = std::hypot(dx, dy);
  if (length == 0.0) return false;
  ux = dx / length;
  uy = dy / length;
  return true;
}

// Each stroke of a head is the shaft's length divided by this; wider pens get longer heads.
int HeadDivisor(int w) {
  if (w <= 10) return 15;
  if (w <= 20) return 10;
  if (w <= 40) return 8;
  if (w <= 60) return 5;
  if (w <= 80) return 3;
  if (w <= 100) return 2;
  return 15;
}

}  // namespace

void CAnnLine::SetLineHandleSize() { m_handleSize = std::max(2, static_cast<int>(8.0 * m_info.m_zoom)); }

void CAnnLine::Recenter(CPoint point) {
  m_info.m_origin =
      CPoint(static_cast<int>((m_anchor.x + point.x) * 0.5), static_cast<int>((m_anchor.y + point.y) * 0.5));
}

CPoint CAnnLine::PullBackEnd(int end, const Segment& segment, int w) {
  double ux, uy;
  if (!Direction(segment, ux, uy)) return end == 0 ? segment.a : segment.b;
  const CPoint pull(static_cast<int>(w * ux / kRoot2), static_cast<int>(w * uy / kRoot2));
  return end == 0 ? CPoint(segment.a + pull) : CPoint(segment.b - pull);
}

CAnnLine::Segment CAnnLine::GetShaft(const Segment& ends) const {
  const int w = m_info.m_penWidth;
  switch (m_info.m_styleCode) {
    case 1:
      return {ends.a, PullBackEnd(1, ends, w)};
    case 2:
      return {PullBackEnd(0, ends, w), ends.b};
    case 3:
      return {PullBackEnd(0, ends, w), PullBackEnd(1, ends, w)};
    default:
      return ends;
  }
}

void CAnnLine::DrawWideSegment(HDC hdc, const Segment& segment, int w) {
  double ux, uy;
  if (!Direction(segment, ux, uy)) return;
  const CPoint a = segment.a, b = segment.b;
  POINT corners[4];
  if (w == 1) {
    corners[0] = corners[1] = a;
    corners[2] = corners[3] = b;
  } else {
    const double width = w == -1 ? 1.0 : w;
    const double t = width * uy / 2, s = width * ux / 2;
    auto at = [](double x, double y) { return POINT{static_cast<LONG>(x), static_cast<LONG>(y)}; };
    corners[0] = at(a.x + t, a.y - s);
    corners[1] = at(a.x - t, a.y + s);
    corners[2] = at(b.x - t, b.y + s);
    corners[3] = at(b.x + t, b.y - s);
  }
  Polygon(hdc, corners, 4);
}

std::vector<CAnnLine::Segment> CAnnLine::ArrowStrokes(int end, const Segment& shaft, int w) {
  double ux, uy;
  if (!Direction(shaft, ux, uy)) return {};
  const double length = std::hypot(static_cast<double>(shaft.b.x - shaft.a.x), static_cast<double>(shaft.b.y - shaft.a.y));
  const double L = length / HeadDivisor(w);
  const CPoint tipEnd = end == 0 ? shaft.a : shaft.b;
  const double dx = end == 0 ? ux : -ux, dy = end == 0 ? uy : -uy;  // into the line
  const double k = 1.0 / kRoot2;
  const double dirs[2][2] = {{k * dx + k * dy, -k * dx + k * dy}, {k * dx - k * dy, k * dx + k * dy}};
  std::vector<Segment> strokes;
  for (const auto& e : dirs) {
    const CPoint tip(tipEnd.x + static_cast<int>(e[0] * L), tipEnd.y + static_cast<int>(e[1] * L));
    // The base reaches half a width behind the end, so the two strokes overlap at the apex.
    const CPoint base(tipEnd.x - static_cast<int>(w * e[0] / 2), tipEnd.y - static_cast<int>(w * e[1] / 2));
    strokes.push_back({base, tip});
  }
  return strokes;
}

void CAnnLine::DrawArrowHead(HDC hdc, int end, const Segment& shaft) {
  for (const Segment& stroke : ArrowStrokes(end, shaft, m_info.m_penWidth))
    DrawWideSegment(hdc, stroke, m_info.m_penWidth);
}

bool CAnnLine::ImageEnds(const std::vector<CPoint>& points, Segment& ends) const {
  if (points.size() < 2) return false;
  ends = {LocalToImage(points[0]), LocalToImage(points[1])};
  return true;
}

void CAnnLine::DrawShape(HDC hdc, const Segment& ends, int shaftWidth) {
  // Two ends on one pixel have no direction: nothing is drawn.
  if (ends.a == ends.b) return;
  const Segment shaft = GetShaft(ends);
  DrawWideSegment(hdc, shaft, shaftWidth);
  switch (m_info.m_styleCode) {
    case 1:
      DrawArrowHead(hdc, 1, shaft);
      break;
    case 2:
      DrawArrowHead(hdc, 0, shaft);
      break;
    case 3:
      DrawArrowHead(hdc, 0, shaft);
      DrawArrowHead(hdc, 1, shaft);
      break;
    default:
      break;
  }
}

void CAnnLine::Draw(HDC hdc, double) {
  SetLineHandleSize();
  Segment ends;
  if (!ImageEnds(m_info.m_points, ends)) return;
  CPen pen(PS_SOLID, 1, m_info.m_penColor);
  CBrush brush(m_info.m_penColor);
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  HGDIOBJ oldBrush = SelectObject(hdc, brush);
  DrawShape(hdc, ends, m_info.m_penWidth);
  SelectObject(hdc, oldBrush);
  SelectObject(hdc, oldPen);
}

void CAnnLine::DrawPoints(HDC hdc, const std::vector<CPoint>& points) {
  if (m_info.m_styleCode == 4) m_drawn = 1;
  Segment ends;
  if (!ImageEnds(points, ends)) return;
  // A one-pixel shaft drawn as the pen's own line would be inverted twice and vanish.
  DrawShape(hdc, ends, m_info.m_penWidth == 1 ? -1 : m_info.m_penWidth);
}

void CAnnLine::DrawXor(HDC hdc) {
  CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  const int oldRop = SetROP2(hdc, R2_NOT);
  DrawPoints(hdc, m_info.m_rubberPoints);
  SetROP2(hdc, oldRop);
  SelectObject(hdc, oldPen);
}

void CAnnLine::DrawCross(HDC hdc, CPoint c, int h) {
  MoveToEx(hdc, c.x - h, c.y - h, nullptr);
  LineTo(hdc, c.x + h, c.y + h);
  MoveToEx(hdc, c.x + h, c.y - h, nullptr);
  LineTo(hdc, c.x - h, c.y + h);
}

void CAnnLine::DrawHandles(HDC hdc) {
  Segment ends;
  if (!ImageEnds(m_info.m_points, ends)) return;
  const std::vector<POINT> window = {ImageToWindow(ends.a), ImageToWindow(ends.b)};
  if (m_drawn == 0) {
    annhandles::DrawCornerHandles(hdc, window);
    return;
  }
  CPen black(PS_DOT, 3, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(hdc, black);
  for (POINT w : window) DrawCross(hdc, w, 8);
  CPen white(PS_DOT, 2, RGB(255, 255, 255));
  SelectObject(hdc, white);
  const int oldRop = SetROP2(hdc, R2_NOT);
  for (POINT w : window) DrawCross(hdc, w, 8);
  SetROP2(hdc, oldRop);
  SelectObject(hdc, oldPen);
}

void CAnnLine::DrawEndMark(HDC hdc, CPoint point) {
  // The DC is the picture's: the mark goes on the picture point itself, whatever the scroll.
  HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(WHITE_BRUSH));
  const int oldRop = SetROP2(hdc, R2_NOT);
  if (m_drawn == 0) {
    Rectangle(hdc, point.x - 4, point.y - 4, point.x + 4, point.y + 4);
  } else {
    CPen pen(PS_DOT, static_cast<int>(1.0 * m_info.m_zoom), RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    DrawCross(hdc, point, static_cast<int>(8.0 * m_info.m_zoom));
    SelectObject(hdc, oldPen);
  }
  SetROP2(hdc, oldRop);
  SelectObject(hdc, oldBrush);
}

int CAnnLine::HitTest(int x, int y) {
  const std::vector<CPoint>& ends = m_info.m_points;
  if (ends.size() < 2) return -1;
  const CPoint p = ImageToLocal(CPoint(x, y));
  const int e = m_handleSize / 2;
  for (int i = 0; i < 2; ++i) {
    const CPoint c = ends[static_cast<size_t>(i)];
    if (p.x >= c.x - e && p.x < c.x + e && p.y >= c.y - e && p.y < c.y + e) {
      if (m_handlesShown) return i + 1;
      break;
    }
  }
  const double x0 = ends[0].x, y0 = ends[0].y, x1 = ends[1].x, y1 = ends[1].y, px = p.x, py = p.y;
  if (!(MinOf(x0, x1) - e <= px && px <= MaxOf(x0, x1) + e && MinOf(y0, y1) - e <= py && py <= MaxOf(y0, y1) + e))
    return -1;
  const double n = HitTolerance();
  bool hit;
  if (x0 == x1) {
    hit = MinOf(y0, y1) - n <= py && py <= MaxOf(y0, y1) + n && x0 - n <= px && px <= x0 + n;
  } else if (y0 == y1) {
    hit = MinOf(x0, x1) - n <= px && px <= MaxOf(x0, x1) + n && y0 - n <= py && py <= y0 + n;
  } else if (std::abs(y1 - y0) <= std::abs(x1 - x0)) {
    const double yl = (px - x0) * (y1 - y0) / (x1 - x0) + y0;
    hit = yl - n <= py && py <= yl + n;
  } else {
    const double xl = (py - y0) * (x1 - x0) / (y1 - y0) + x0;
    hit = xl - n <= px && px <= xl + n;
  }
  return hit ? 5 : -1;
}

void CAnnLine::SnapTo45(CPoint r, CPoint& q) {
  static constexpr int kDirs[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
  const int dx = q.x - r.x, dy = q.y - r.y;
  int best = 0;
  double bestValue = -9999999;
  for (int i = 0; i < 8; ++i) {
    const double cx = kDirs[i][0], cy = kDirs[i][1];
    const double value = (dx * cx + dy * cy) / std::sqrt(cx * cx + cy * cy);
    if (value > bestValue) {
      bestValue = value;
      best = i;
    }
  }
  const double dx2 = static_cast<double>(dx) * dx, dy2 = static_cast<double>(dy) * dy;
  switch (best) {
    case 0:
    case 4:
      q.y = r.y;
      break;
    case 2:
    case 6:
      q.x = r.x;
      break;
    case 1:
    case 5:
      if (dx2 > dy2)
        q.y = r.y + dx;
      else
        q.x = r.x + dy;
      break;
    default:
      if (dx2 > dy2)
        q.y = r.y - dx;
      else
        q.x = r.x - dy;
      break;
  }
}

void CAnnLine::OnButtonDown(HDC hdc, int handle, CPoint point, double) {
  SetLineHandleSize();
  if (m_creating) {
    m_info.m_origin = point;
    m_info.m_rubberPoints.assign(2, CPoint(0, 0));
    m_anchor = point;
    DrawEndMark(hdc, point);
    return;
  }
  m_hitHandle = handle > 0 ? handle : HitTest(point.x, point.y);
  if (m_hitHandle <= 0) {
    m_selected = 0;
    return;
  }
  m_selected = 1;
  SaveState();
  m_anchor = point;
  DrawXor(hdc);
}

int CAnnLine::CreateDrag(HDC hdc, CPoint point) {
  DrawXor(hdc);
  m_info.m_rubberPoints = {m_anchor, point};
  Recenter(point);
  for (CPoint& p : m_info.m_rubberPoints) SubtractOrigin(p);
  DrawXor(hdc);
  return 1;
}

void CAnnLine::OnMouseMove(HDC hdc, UINT flags, CPoint point, double) {
  SetLineHandleSize();
  if (!(flags & MK_LBUTTON)) return;
  const bool shift = (flags & MK_SHIFT) != 0;
  if (m_creating) {
    if (shift) SnapTo45(WorkingAt(0) + m_info.m_origin, point);
    CreateDrag(hdc, point);
    return;
  }
  const int hit = m_hitHandle;
  if (hit == 1 || hit == 2) {
    if (m_mode == 2) {
      Rotate(hdc, point, hit);
      return;
    }
    if (shift) SnapTo45(LocalToImage(WorkingAt(hit == 1 ? 1 : 0)), point);
    Resize(hdc, point, hit);
  } else if (hit >= 5 && hit <= 7) {
    Move(hdc, point);
  }
}

void CAnnLine::Move(HDC hdc, CPoint point) {
  DrawXor(hdc);
  m_info.m_origin += point - m_anchor;
  m_anchor = point;
  DrawXor(hdc);
}

void CAnnLine::Resize(HDC hdc, CPoint point, int handle) {
  if ((handle != 1 && handle != 2) || m_info.m_points.size() < 2) return;
  DrawXor(hdc);
  const CPoint savedOrigin = m_saved.m_origin;
  CPoint q = point - savedOrigin;
  UnrotatePoint(q);
  const size_t n = static_cast<size_t>(handle - 1);
  const CPoint g = m_info.m_points[n];
  const CPoint half(static_cast<int>((q.x - g.x) * 0.5), static_cast<int>((q.y - g.y) * 0.5));
  m_info.m_rubberPoints.assign(m_info.m_points.begin(), m_info.m_points.begin() + 2);
  m_info.m_rubberPoints[n] += half;
  m_info.m_rubberPoints[1 - n] -= half;
  CPoint shift = half;
  m_info.m_origin = savedOrigin + RotatePoint(shift);
  DrawXor(hdc);
}

void CAnnLine::Rotate(HDC hdc, CPoint point, int handle) {
  if ((handle != 1 && handle != 2) || m_info.m_points.size() < 2) return;
  DrawXor(hdc);
  const size_t n = static_cast<size_t>(handle - 1);
  ApplyDragRotation(m_info.m_points[n], ImageToLocal(point), m_info.m_points[1 - n]);
  DrawXor(hdc);
}

void CAnnLine::OnButtonUp(HDC hdc, UINT flags, CPoint point, double) {
  SetLineHandleSize();
  std::vector<CPoint>& points = m_info.m_points;
  const std::vector<CPoint>& working = m_info.m_rubberPoints;
  if (m_creating) {
    // Measured from the midpoint: a drag of up to 4 pixels both ways is a click.
    const CPoint o = m_info.m_origin;
    if (std::abs(o.x - point.x) < 3 && std::abs(o.y - point.y) < 3) {
      ClearWorking();
      m_creating = 0;
      m_valid = 0;
    } else {
      points.insert(points.end(), working.begin(), working.end());
      m_creating = 0;
      m_selected = 1;
      m_valid = 1;
    }
  } else if (m_selected) {
    for (size_t i = 0; i < points.size() && i < working.size(); ++i) points[i] = working[i];
    if (points.size() >= 2 && std::abs(points[0].x - points[1].x) < 3 && std::abs(points[0].y - points[1].y) < 3)
      RestoreState();
    m_creating = 0;
    m_selected = 1;
  }
  ClearAnchor();
}

double CAnnLine::GetLength() const {
  const std::vector<CPoint>& p = m_info.m_points;
  if (p.size() < 2) return 0.0;
  return std::hypot(static_cast<double>(p[0].x - p[1].x), static_cast<double>(p[0].y - p[1].y));
}

void CAnnLine::EditProperties(HDC) { annproperties::EditLine(*this, 0); }

int CAnnLine::HitTestHandleScreen(int x, int y) {
  const std::vector<CPoint>& points = m_info.m_points;
  for (size_t i = 0; i < points.size() && i < 2; ++i) {
    const CPoint w = ImageToWindow(LocalToImage(points[i]));
    if (x >= w.x - 4 && x < w.x + 4 && y >= w.y - 4 && y < w.y + 4) return static_cast<int>(i) + 1;
  }
  return -1;
}
