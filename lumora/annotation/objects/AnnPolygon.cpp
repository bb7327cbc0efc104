#include "AnnPolygon.h"

#include "AnnProperties.h"

void CAnnPolygon::DrawPoints(HDC hdc, const std::vector<CPoint>& points) {
  const std::vector<POINT> image = ToImagePoints(points);
  if (!image.empty()) Polygon(hdc, image.data(), static_cast<int>(image.size()));
}

void CAnnPolygon::Draw(HDC hdc, double) {
  SetHandleSizeFromZoom();
  const std::vector<POINT> image = ImageVertices();
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

void CAnnPolygon::EditProperties(HDC) { annproperties::EditShape(*this, 2); }
