#include "AnnBox.h"

#include <algorithm>
#include <cstdlib>

#include "AnnHandles.h"
#include "AnnProperties.h"

void CAnnBox::Recenter(CPoint point) {
  m_info.m_origin =
      CPoint(static_cast<int>((m_anchor.x + point.x) * 0.5), static_cast<int>((m_anchor.y + point.y) * 0.5));
}

void CAnnBox::DrawPoints(HDC hdc, const std::vector<CPoint>& points) {
  if (points.empty()) return;
  const std::vector<POINT> image = ToImagePoints(points);
  Polygon(hdc, image.data(), static_cast<int>(image.size()));
}

void CAnnBox::DrawShape(HDC hdc, const std::vector<POINT>& image) const {
  if (image.empty()) return;
  const CAnnObjInfo& s = m_info;
  CPen pen(PS_SOLID, s.m_penWidth, s.m_penColor);
  CBrush fill;
  if (s.m_fill == 1) fill.CreateSolidBrush(s.m_fillColor);
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  HGDIOBJ oldBrush = SelectObject(hdc, s.m_fill == 1 ? static_cast<HGDIOBJ>(fill) : GetStockObject(NULL_BRUSH));
  Polygon(hdc, image.data(), static_cast<int>(image.size()));
  SelectObject(hdc, oldBrush);
  SelectObject(hdc, oldPen);
}

void CAnnBox::DrawHandles(HDC hdc) {
  std::vector<POINT> window = ToImagePoints(m_info.m_points);
  for (POINT& p : window) p = ImageToWindow(p);
  annhandles::DrawCornerHandles(hdc, window);
}

void CAnnBox::Move(HDC hdc, CPoint point) {
  DrawXor(hdc);
  m_info.m_origin += point - m_anchor;
  m_anchor = point;
  DrawXor(hdc);
}

void CAnnBox::Resize(HDC hdc, CPoint point, int handle) {
  if (handle < 1 || handle > 4 || !HasBox()) return;
  DrawXor(hdc);
  // Everything comes from the press: the committed corners and the saved origin.
  const CPoint savedOrigin = m_saved.m_origin;
  CPoint q = point - savedOrigin;
  UnrotatePoint(q);
  const int n = handle - 1;
  std::vector<CPoint> corners(m_info.m_points.begin(), m_info.m_points.begin() + 4);
  const CPoint grabbed = corners[static_cast<size_t>(n)];
  const CPoint half(static_cast<int>((q.x - grabbed.x) * 0.5), static_cast<int>((q.y - grabbed.y) * 0.5));
  corners[static_cast<size_t>(n)] += half;
  corners[static_cast<size_t>(Opposite(n))] -= half;
  if (n == 0 || n == 2) {
    corners[1] = CPoint(corners[0].x, corners[2].y);
    corners[3] = CPoint(corners[2].x, corners[0].y);
  } else {
    corners[0] = CPoint(corners[1].x, corners[3].y);
    corners[2] = CPoint(corners[3].x, corners[1].y);
  }
  std::copy(corners.begin(), corners.end(), m_info.m_rubberPoints.begin());
  CPoint shift = half;
  m_info.m_origin = savedOrigin + RotatePoint(shift);
  DrawXor(hdc);
}

void CAnnBox::Rotate(HDC hdc, CPoint point, int handle) {
  if (handle < 1 || handle > 4 || m_info.m_points.size() < 4) return;
  DrawXor(hdc);
  const CPoint q = ImageToLocal(point);
  ApplyDragRotation(m_info.m_points[static_cast<size_t>(handle - 1)], q,
                    m_info.m_points[static_cast<size_t>(Opposite(handle - 1))]);
  DrawXor(hdc);
}

void CAnnBox::DrawXor(HDC hdc) {
  CPen pen(PS_SOLID, m_info.m_penWidth, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
  const int oldRop = SetROP2(hdc, R2_NOT);
  DrawPoints(hdc, m_info.m_rubberPoints);
  SetROP2(hdc, oldRop);
  SelectObject(hdc, oldBrush);
  SelectObject(hdc, oldPen);
}

int CAnnBox::CreateDrag(HDC hdc, CPoint point) {
  DrawXor(hdc);
  const CPoint a = m_anchor;
  m_info.m_rubberPoints = {a, CPoint(a.x, point.y), point, CPoint(point.x, a.y)};
  Recenter(point);
  for (CPoint& p : m_info.m_rubberPoints) SubtractOrigin(p);
  DrawXor(hdc);
  return 1;
}

void CAnnBox::ApplySquare(CPoint& point, CPoint corner) {
  const int dx = point.x - corner.x, dy = point.y - corner.y;
  const bool sameSign = (dx > 0 && dy > 0) || (dx < 0 && dy < 0);
  if (std::abs(dx) >= std::abs(dy))
    point.x = sameSign ? corner.x + dy : corner.x - dy;
  else
    point.y = sameSign ? corner.y + dx : corner.y - dx;
}

void CAnnBox::OnButtonDown(HDC hdc, int handle, CPoint point, double) {
  SetHandleSizeFromZoom();
  if (m_creating) {
    m_info.m_origin = point;
    m_info.m_rubberPoints.assign(4, CPoint(0, 0));
    m_anchor = point;
    return;
  }
  m_hitHandle = handle != 0 ? handle : HitTest(point.x, point.y);
  if (m_hitHandle < 0) {
    m_selected = 0;
    return;
  }
  m_selected = 1;
  SaveState();
  m_anchor = point;
  DrawXor(hdc);
}

void CAnnBox::OnMouseMove(HDC hdc, UINT flags, CPoint point, double) {
  SetHandleSizeFromZoom();
  if (!(flags & MK_LBUTTON)) return;
  const bool square = (flags & MK_SHIFT) || m_info.m_square == 1;
  // The reference corner of the square constraint is taken without rotation.
  auto corner = [this](int i) { return WorkingAt(i) + m_info.m_origin; };
  if (m_creating) {
    if (square && GetWorkingCount() >= 4) ApplySquare(point, corner(0));
    CreateDrag(hdc, point);
    return;
  }
  const int hit = m_hitHandle;
  if (hit == 5 || hit == 6 || hit == 7) {
    Move(hdc, point);
  } else if (hit >= 1 && hit <= 4) {
    if (m_mode == 2) {
      Rotate(hdc, point, hit);
    } else {
      if (square && GetWorkingCount() >= 4) ApplySquare(point, corner(Opposite(hit - 1)));
      Resize(hdc, point, hit);
    }
  }
}

void CAnnBox::OnButtonUp(HDC hdc, UINT flags, CPoint point, double) {
  SetHandleSizeFromZoom();
  std::vector<CPoint>& points = m_info.m_points;
  const std::vector<CPoint>& working = m_info.m_rubberPoints;
  if (m_creating) {
    const CPoint o = m_info.m_origin;
    if (std::abs(o.x - point.x) >= 3 || std::abs(o.y - point.y) >= 3) {
      points.insert(points.end(), working.begin(), working.end());
      m_creating = 0;
      m_selected = 1;
      m_valid = 1;
    } else {
      ClearWorking();
      m_valid = 0;
      m_creating = 0;
    }
  } else if (m_selected) {
    for (size_t i = 0; i < points.size() && i < working.size(); ++i) points[i] = working[i];
    // A box collapsed below 3 pixels both ways is undone.
    if (points.size() >= 3 && std::abs(points[0].x - points[2].x) < 3 && std::abs(points[0].y - points[2].y) < 3)
      RestoreState();
    m_creating = 0;
    m_selected = 1;
  }
  ClearAnchor();
}

double CAnnBox::GetLength() const {
  const std::vector<CPoint>& p = m_info.m_points;
  if (p.size() < 3) return 0.0;
  return std::abs(p[0].x - p[2].x) + std::abs(p[0].y - p[2].y);
}

int CAnnBox::HitTestHandleScreen(int x, int y) {
  const std::vector<CPoint>& points = m_info.m_points;
  for (size_t i = 0; i < points.size(); ++i) {
    const CPoint w = ImageToWindow(LocalToImage(points[i]));
    if (x >= w.x - 4 && x < w.x + 4 && y >= w.y - 4 && y < w.y + 4) return static_cast<int>(i) + 1;
  }
  return -1;
}

bool CAnnBox::Span(double& minx, double& maxx, double& miny, double& maxy) const {
  const std::vector<CPoint>& p = m_info.m_points;
  if (p.size() < 3) return false;
  minx = MinOf(p[0].x, p[2].x);
  maxx = MaxOf(p[0].x, p[2].x);
  miny = MinOf(p[0].y, p[2].y);
  maxy = MaxOf(p[0].y, p[2].y);
  return true;
}

int CAnnBox::HitCorner(CPoint local) const {
  const int h = m_handleSize / 2;
  const std::vector<CPoint>& points = m_info.m_points;
  for (size_t i = 0; i < points.size(); ++i) {
    const CPoint c = points[i];
    if (local.x >= c.x - h && local.x < c.x + h && local.y >= c.y - h && local.y < c.y + h)
      return static_cast<int>(i) + 1;
  }
  return -1;
}

void CAnnBox::EditShapeProperties(int variant) { annproperties::EditShape(*this, variant); }
