#include "AnnFree.h"

#include <algorithm>

#include "AnnProperties.h"

void CAnnFree::DrawPath(HDC hdc, const std::vector<POINT>& image) {
  if (image.size() < 2) return;
  MoveToEx(hdc, image[0].x, image[0].y, nullptr);
  for (size_t i = 1; i < image.size(); ++i) LineTo(hdc, image[i].x, image[i].y);
}

void CAnnFree::DrawPoints(HDC hdc, const std::vector<CPoint>& points) { DrawPath(hdc, ToImagePoints(points)); }

void CAnnFree::Draw(HDC hdc, double) {
  SetHandleSizeFromZoom();
  if (m_vertices.size() < 2) return;
  CPen pen(PS_SOLID, m_info.m_penWidth, m_info.m_penColor);
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  DrawPath(hdc, ImageVertices());
  SelectObject(hdc, oldPen);
}

// A curve has no vertex marks: its corners show in every mode.
void CAnnFree::DrawHandles(HDC hdc) { DrawCornerFrame(hdc); }

void CAnnFree::OnButtonDown(HDC hdc, int handle, CPoint point, double scale) {
  if (!m_creating) {
    CAnnVertexFigure::OnButtonDown(hdc, handle, point, scale);
    return;
  }
  SetHandleSizeFromZoom();
  if (m_figureStarted) return;  // a press while capturing
  StartFigure(point);
  m_lastPoint = point;
}

void CAnnFree::OnMouseMove(HDC hdc, UINT flags, CPoint point, double scale) {
  SetHandleSizeFromZoom();
  if (!m_creating) {
    if (flags & MK_LBUTTON) DragEdit(hdc, point, false);
    return;
  }
  if (!m_figureStarted) {
    StartFigure(point);
    m_lastPoint = point;
    return;
  }
  m_vertices.push_back(point - m_info.m_origin);
  // The curve shows as it is drawn, one segment a move.
  CPen pen(PS_SOLID, std::max(m_info.m_penWidth, 1), m_info.m_penColor);
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  MoveToEx(hdc, m_lastPoint.x, m_lastPoint.y, nullptr);
  LineTo(hdc, point.x, point.y);
  m_lastPoint = point;
  SelectObject(hdc, oldPen);
}

void CAnnFree::OnButtonUp(HDC hdc, UINT flags, CPoint point, double) {
  SetHandleSizeFromZoom();
  if (m_creating) {
    if (!m_figureStarted) return;
    if (m_vertices.size() >= 2) {
      EndFigure();
    } else {  // a click without a move
      m_creating = 0;
      m_selected = 1;
      m_figureStarted = 0;
      m_valid = 0;
    }
    return;
  }
  // No undo here: a curve scaled below 3 x 3 pixels stays so.
  if (m_selected) CommitEdit(point, false);
}

void CAnnFree::EditProperties(HDC) { annproperties::EditLine(*this, 2); }
