#include "AnnVertexFigure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "AnnHandles.h"

void CAnnVertexFigure::SaveState() {
  CAnnObj::SaveState();
  m_savedVertices = m_vertices;
}

void CAnnVertexFigure::RestoreState() {
  CAnnObj::RestoreState();
  m_vertices = m_savedVertices;
  // A vertex inserted at the press is gone again: it can no longer be the selected one.
  if (m_selectedVertex >= static_cast<int>(m_vertices.size())) m_selectedVertex = -1;
}

void CAnnVertexFigure::Recenter(CPoint) {
  if (m_vertices.empty()) return;
  const CPoint o = m_info.m_origin;
  int minx = m_vertices[0].x, maxx = minx, miny = m_vertices[0].y, maxy = miny;
  for (CPoint v : m_vertices) {
    minx = std::min(minx, v.x);
    maxx = std::max(maxx, v.x);
    miny = std::min(miny, v.y);
    maxy = std::max(maxy, v.y);
  }
  // The box centre in unrotated picture pixels: origin plus the local centre.
  const double cx = (minx + o.x + maxx + o.x) * 0.5, cy = (miny + o.y + maxy + o.y) * 0.5;
  const CPoint centre(static_cast<int>(cx), static_cast<int>(cy));
  auto corner = [&](int x, int y) { return CPoint(static_cast<int>(x + o.x - cx), static_cast<int>(y + o.y - cy)); };
  const CPoint corners[4] = {corner(minx, miny), corner(minx, maxy), corner(maxx, maxy), corner(maxx, miny)};
  for (std::vector<CPoint>* list : {&m_info.m_points, &m_info.m_rubberPoints}) {
    if (list->size() < 4) list->resize(4);
    std::copy(corners, corners + 4, list->begin());
  }
  const CPoint shift = centre - o;  // the centre's move in the object's frame
  for (CPoint& v : m_vertices) v -= shift;
  // The origin moves by that shift turned with the figure, so a turned figure stays where
  // it is in the picture; unturned, this is the centre itself.
  CPoint turned = shift;
  m_info.m_origin = o + RotatePoint(turned);
}

void CAnnVertexFigure::DrawRubberPath(HDC hdc, const std::vector<POINT>& path) {
  if (path.empty()) return;
  CPen pen(PS_SOLID, m_info.m_penWidth, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
  const int oldRop = SetROP2(hdc, R2_NOT);
  Polyline(hdc, path.data(), static_cast<int>(path.size()));
  SetROP2(hdc, oldRop);
  SelectObject(hdc, oldBrush);
  SelectObject(hdc, oldPen);
}

void CAnnVertexFigure::MoveRubberEnd(HDC hdc, const std::vector<CPoint>& vertices, CPoint q) {
  if (vertices.empty()) return;
  std::vector<POINT> path = ToImagePoints(vertices);
  if (path.empty()) return;
  path.push_back(m_rubberEnd);
  DrawRubberPath(hdc, path);  // takes the band off the screen
  const CPoint end = LocalToImage(q);
  path.back() = end;
  DrawRubberPath(hdc, path);
  m_rubberEnd = end;
}

void CAnnVertexFigure::DrawVertexHandle(HDC hdc, CPoint w, int filled) {
  HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(filled == 1 ? WHITE_BRUSH : NULL_BRUSH));
  const int oldRop = SetROP2(hdc, R2_NOT);
  Rectangle(hdc, w.x - 4, w.y - 4, w.x + 4, w.y + 4);
  SetROP2(hdc, oldRop);
  SelectObject(hdc, oldBrush);
}

void CAnnVertexFigure::DrawHandles(HDC hdc) {
  if (m_mode == 1) {
    for (size_t i = 0; i < m_vertices.size(); ++i)
      DrawVertexHandle(hdc, ImageToWindow(LocalToImage(m_vertices[i])),
                       static_cast<int>(i) == m_selectedVertex ? 0 : 1);
    return;
  }
  DrawCornerFrame(hdc);
}

void CAnnVertexFigure::DrawCornerFrame(HDC hdc) {
  SetHandleSizeFromZoom();
  std::vector<POINT> window;
  for (int i = 0; i < GetWorkingCount(); ++i) window.push_back(ImageToWindow(LocalToImage(PointAt(i))));
  annhandles::DrawCornerHandles(hdc, window);
}

void CAnnVertexFigure::StartFigure(CPoint p) {
  m_info.m_origin = p;
  m_vertices.assign(1, CPoint(0, 0));
  m_rubberEnd = p;
  m_figureStarted = 1;
  m_anchor = p;
}

void CAnnVertexFigure::EndFigure() {
  Recenter(m_anchor);
  ClearAnchor();
  m_creating = 0;
  m_selected = 1;
  m_figureStarted = 0;
  m_valid = 1;
}

void CAnnVertexFigure::OnButtonDown(HDC hdc, int handle, CPoint point, double) {
  SetHandleSizeFromZoom();
  if (m_creating) {
    if (!m_figureStarted) {
      StartFigure(point);
      return;
    }
    const CPoint q = point - m_info.m_origin;
    if (Within(q, m_vertices.back(), 3)) return;
    if (ClosesOnFirstVertex() && Within(q, m_vertices.front(), static_cast<int>(3.0 * m_info.m_zoom))) {
      if (m_vertices.size() > 2) EndFigure();
      return;
    }
    m_vertices.push_back(q);
    return;
  }
  if (handle != 0) {
    m_hitHandle = handle;
  } else {
    m_hitHandle = -1;
    m_hitHandle = HitTest(point.x, point.y);
  }
  if (m_hitHandle <= 0) {
    m_selected = 0;
    return;
  }
  SaveState();
  if (m_mode == 1) {
    if (m_hitHandle == 5 && m_hitEdge >= 0 && m_hitEdge < static_cast<int>(m_vertices.size())) {
      m_vertices.insert(m_vertices.begin() + m_hitEdge + 1, ImageToLocal(point));
      m_selectedVertex = m_hitEdge + 1;
    } else if (m_hitHandle == 7) {
      m_selectedVertex = m_hitVertex;
    }
  }
  m_selected = 1;
  m_anchor = point;
  DrawXor(hdc);
}

int CAnnVertexFigure::CreateDrag(HDC hdc, CPoint point) {
  if (!m_vertices.empty()) MoveRubberEnd(hdc, m_vertices, point - m_info.m_origin);
  return 1;
}

void CAnnVertexFigure::OnMouseMove(HDC hdc, UINT flags, CPoint point, double) {
  SetHandleSizeFromZoom();
  if (m_creating) {
    CreateDrag(hdc, point);
    return;
  }
  if (flags & MK_LBUTTON) DragEdit(hdc, point, m_mode == 1);
}

void CAnnVertexFigure::DragEdit(HDC hdc, CPoint point, bool vertexEdits) {
  const int hit = m_hitHandle;
  if (hit >= 1 && hit <= 4) {
    if (m_mode == 2)
      Rotate(hdc, point, hit);
    else
      Resize(hdc, point, hit);
  } else if ((hit == 5 || hit == 7) && vertexEdits) {
    EditVertex(hdc, point, hit);
  } else if (hit >= 5 && hit <= 7) {
    Move(hdc, point);
  }
}

void CAnnVertexFigure::OnButtonUp(HDC hdc, UINT flags, CPoint point, double) {
  SetHandleSizeFromZoom();
  if (!m_creating && m_selected) CommitEdit(point, true);
}

void CAnnVertexFigure::CommitEdit(CPoint point, bool undoCollapse) {
  std::vector<CPoint>& points = m_info.m_points;
  const std::vector<CPoint>& working = m_info.m_rubberPoints;
  for (size_t i = 0; i < points.size() && i < working.size(); ++i) points[i] = working[i];
  // A box collapsed below 3 pixels both ways is undone.
  if (undoCollapse && points.size() >= 3 && std::abs(points[0].x - points[2].x) < 3 &&
      std::abs(points[0].y - points[2].y) < 3)
    RestoreState();
  m_creating = 0;
  m_selected = 1;
  m_valid = 1;
  Recenter(point);
  ClearAnchor();
}

void CAnnVertexFigure::DrawRubberSegment(HDC hdc, UINT, CPoint point) {
  if (!m_creating || m_vertices.size() < 2) return;
  std::vector<POINT> path = ImageVertices();
  path.push_back(m_rubberEnd);
  DrawRubberPath(hdc, path);
  m_vertices.pop_back();
  path = ImageVertices();
  path.push_back(point);
  DrawRubberPath(hdc, path);
  // The band now ends where it was drawn to, so the next move takes off what is shown.
  m_rubberEnd = point;
}

void CAnnVertexFigure::FinishFigure(HDC hdc, UINT, CPoint point, double) {
  SetHandleSizeFromZoom();
  if (!m_creating || !m_figureStarted) return;
  const size_t n = m_vertices.size();
  if (n < 3) return;
  // The double click's own press has placed vertex n - 1 already.
  if (Within(point - m_info.m_origin, m_vertices[n - 2], 3)) return;
  EndFigure();
}

void CAnnVertexFigure::EditVertex(HDC hdc, CPoint point, int op) {
  const CPoint q = ImageToLocal(point);
  DrawXor(hdc);
  const int i = op == 5 ? m_hitEdge + 1 : op == 7 ? m_hitVertex : -1;
  if (i >= 0 && i < static_cast<int>(m_vertices.size())) m_vertices[static_cast<size_t>(i)] = q;
  DrawXor(hdc);
}

void CAnnVertexFigure::Move(HDC hdc, CPoint point) {
  DrawXor(hdc);
  m_info.m_origin += point - m_anchor;
  m_anchor = point;
  DrawXor(hdc);
}

void CAnnVertexFigure::Rotate(HDC hdc, CPoint point, int handle) {
  if (handle < 1 || handle > 4 || m_info.m_points.size() < 4) return;
  DrawXor(hdc);
  const CPoint p = ImageToLocal(point);
  ApplyDragRotation(m_info.m_points[static_cast<size_t>(handle - 1)], p, m_info.m_points[static_cast<size_t>(handle + 1) % 4]);
  DrawXor(hdc);
}

void CAnnVertexFigure::Resize(HDC hdc, CPoint point, int handle) {
  if (handle < 1 || handle > 4 || m_info.m_points.size() < 4 || m_info.m_rubberPoints.size() < 4) return;
  DrawXor(hdc);
  const CPoint savedOrigin = m_saved.m_origin;
  CPoint p = point - savedOrigin;
  UnrotatePoint(p);
  const size_t n = static_cast<size_t>(handle - 1), opposite = (n + 2) % 4;
  const CPoint g = m_info.m_points[n], o = m_info.m_points[opposite];
  // A box without width or height has no factor on that axis: the figure stays as it is
  // there, so neither its corners nor its origin move along it and the opposite corner
  // keeps its place in the picture.
  const bool wide = g.x != o.x, high = g.y != o.y;
  const CPoint half(wide ? static_cast<int>((p.x - g.x) * 0.5) : 0, high ? static_cast<int>((p.y - g.y) * 0.5) : 0);
  std::vector<CPoint>& c = m_info.m_rubberPoints;
  c[n] = g + half;
  c[opposite] = o - half;
  if (n == 0 || n == 2) {
    c[1] = CPoint(c[0].x, c[2].y);
    c[3] = CPoint(c[2].x, c[0].y);
  } else {
    c[0] = CPoint(c[1].x, c[3].y);
    c[2] = CPoint(c[3].x, c[1].y);
  }
  CPoint shift = half;
  m_info.m_origin = savedOrigin + RotatePoint(shift);
  const double sx = wide ? static_cast<double>(p.x - o.x) / (g.x - o.x) : 1.0;
  const double sy = high ? static_cast<double>(p.y - o.y) / (g.y - o.y) : 1.0;
  ScaleFromSaved(sx, sy);
  DrawXor(hdc);
}

void CAnnVertexFigure::ScaleFromSaved(double sx, double sy) {
  for (size_t i = 0; i < m_vertices.size() && i < m_savedVertices.size(); ++i)
    m_vertices[i] = CPoint(static_cast<int>(sx * m_savedVertices[i].x), static_cast<int>(sy * m_savedVertices[i].y));
}

void CAnnVertexFigure::DrawXor(HDC hdc) {
  CPen pen(PS_SOLID, m_info.m_penWidth, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
  const int oldRop = SetROP2(hdc, R2_NOT);
  DrawPoints(hdc, m_vertices);
  SetROP2(hdc, oldRop);
  SelectObject(hdc, oldBrush);
  SelectObject(hdc, oldPen);
}

int CAnnVertexFigure::HitTest(int x, int y) {
  const CPoint p = ImageToLocal(CPoint(x, y));
  const int h = m_handleSize / 2;
  if (m_mode != 1) {
    int corner = -1;
    for (int i = 0; i < GetWorkingCount() && corner < 0; ++i) {
      const CPoint c = PointAt(i);
      if (p.x >= c.x - h && p.x < c.x + h && p.y >= c.y - h && p.y < c.y + h) corner = i + 1;
    }
    if (corner > 0 && m_handlesShown == 1) return corner;
  }
  const std::vector<CPoint>& box = m_info.m_points;
  if (box.size() < 3 || m_vertices.empty()) return -1;
  const double minx = MinOf(box[0].x, box[2].x), maxx = MaxOf(box[0].x, box[2].x);
  const double miny = MinOf(box[0].y, box[2].y), maxy = MaxOf(box[0].y, box[2].y);
  if (!(minx - h < p.x && p.x < maxx + h && miny - h < p.y && p.y < maxy + h)) return -1;

  const double t = HitTolerance(), px = p.x, py = p.y;
  const size_t n = m_vertices.size();
  for (size_t i = 0; i < n; ++i) {
    if (std::abs(px - m_vertices[i].x) <= t && std::abs(py - m_vertices[i].y) <= t) {
      m_hitVertex = static_cast<int>(i);
      return 7;
    }
  }
  const size_t edges = IsClosed() ? n : n - 1;
  for (size_t i = 0; i < edges; ++i) {
    const CPoint a = m_vertices[i], b = m_vertices[(i + 1) % n];
    if (px < MinOf(a.x, b.x) - t || px > MaxOf(a.x, b.x) + t || py < MinOf(a.y, b.y) - t || py > MaxOf(a.y, b.y) + t)
      continue;
    const double dx = b.x - a.x, dy = b.y - a.y;
    bool hit = dx == 0 || dy == 0;
    if (!hit && std::abs(dy) <= std::abs(dx))
      hit = std::abs(py - (a.y + (px - a.x) * dy / dx)) <= t;
    else if (!hit)
      hit = std::abs(px - (a.x + (py - a.y) * dx / dy)) <= t;
    if (hit) {
      m_hitEdge = static_cast<int>(i);
      return 5;
    }
  }
  if (HitsInside() && IsClosed()) {
    // Edges crossing the point's row, counted on each side of it: odd on both is inside.
    int left = 0, right = 0;
    for (size_t i = 0; i < n; ++i) {
      const CPoint a = m_vertices[i], b = m_vertices[(i + 1) % n];
      if (!(MinOf(a.y, b.y) < py && py < MaxOf(a.y, b.y))) continue;
      bool onRight;
      if (a.x == b.x)
        onRight = px < a.x;
      else if (MaxOf(a.x, b.x) < px)
        onRight = false;
      else if (MinOf(a.x, b.x) > px)
        onRight = true;
      else
        onRight = px < a.x + (py - a.y) * static_cast<double>(b.x - a.x) / (b.y - a.y);
      (onRight ? right : left) += 1;
    }
    if (left % 2 == 1 && right % 2 == 1) return 6;
  }
  return -1;
}

int CAnnVertexFigure::HitTestHandleScreen(int x, int y) {
  if (m_mode == 1) return -1;
  for (int i = 0; i < GetWorkingCount(); ++i) {
    const CPoint w = ImageToWindow(LocalToImage(PointAt(i)));
    if (x >= w.x - 4 && x < w.x + 4 && y >= w.y - 4 && y < w.y + 4) return i + 1;
  }
  return -1;
}

SHORT CAnnVertexFigure::DeleteSelectedVertex() {
  if (m_mode != 1) return 0;
  if (m_vertices.size() <= 2 || m_selectedVertex < 0 || m_selectedVertex >= static_cast<int>(m_vertices.size()))
    return 2;
  m_vertices.erase(m_vertices.begin() + m_selectedVertex);
  m_selectedVertex = -1;
  Recenter(CPoint(0, 0));
  return 1;
}

double CAnnVertexFigure::PathLength(bool closed) const {
  const size_t n = m_vertices.size();
  if (n < 2) return 0.0;
  double length = 0.0;
  const size_t edges = closed ? n : n - 1;
  for (size_t i = 0; i < edges; ++i) {
    const CPoint a = m_vertices[i], b = m_vertices[(i + 1) % n];
    length += std::hypot(static_cast<double>(b.x - a.x), static_cast<double>(b.y - a.y));
  }
  return length;
}

double CAnnVertexFigure::GetLength() const { return PathLength(IsClosed()); }
