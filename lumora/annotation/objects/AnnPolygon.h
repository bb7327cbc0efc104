// CAnnPolygon: a closed polygon placed click by click; it closes on its first vertex or
// on a double click, can be filled, and measures its perimeter.
#pragma once
#include "AnnVertexFigure.h"

class CAnnPolygon : public CAnnVertexFigure {
 public:
  void DrawPoints(HDC hdc, const std::vector<CPoint>& points) override;
  void Draw(HDC hdc, double scale = 1.0) override;
  std::unique_ptr<CAnnObj> Clone() const override { return CloneFigure<CAnnPolygon>(); }
  int GetKind() const override { return 4; }
  void EditProperties(HDC hdc) override;

 protected:
  bool IsClosed() const override { return true; }
  bool HitsInside() const override { return m_info.m_fill == 1; }
};
