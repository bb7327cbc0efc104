#include "AnnPolyline.h"

#include "AnnProperties.h"

void CAnnPolyline::DrawPoints(HDC hdc, const std::vector<CPoint>& points) {
  const std::vector<POINT> image = ToImagePoints(points);
  if (!image.empty()) Polyline(hdc, image.data(), static_cast<int>(image.size()));
}

void CAnnPolyline::Draw(HDC hdc, double) {
  SetHandleSizeFromZoom();
  const std::vector<POINT> image = ImageVertices();
  if (image.empty()) return;
  CPen pen(PS_SOLID, m_info.m_penWidth, m_info.m_penColor);
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  Polyline(hdc, image.data(), static_cast<int>(image.size()));
  SelectObject(hdc, oldPen);
}

void CAnnPolyline::OnButtonDown(HDC hdc, int handle, CPoint point, double scale) {
  const bool editing = !m_creating;
  CAnnVertexFigure::OnButtonDown(hdc, handle, point, scale);
  // The state saved for the undo includes a vertex just inserted.
  if (editing && m_hitHandle > 0) SaveState();
}

void CAnnPolyline::EditProperties(HDC) { annproperties::EditLine(*this, 1); }
