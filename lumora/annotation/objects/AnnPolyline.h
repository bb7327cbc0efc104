// CAnnPolyline: an open path placed click by click and ended by a double click; it
// measures its length. A vertex inserted at a press survives an edit that is undone.
#pragma once
#include "AnnVertexFigure.h"

class CAnnPolyline : public CAnnVertexFigure {
 public:
  void DrawPoints(HDC hdc, const std::vector<CPoint>& points) override;
  void Draw(HDC hdc, double scale = 1.0) override;
  void OnButtonDown(HDC hdc, int handle, CPoint point, double scale = 1.0) override;
  std::unique_ptr<CAnnObj> Clone() const override { return CloneFigure<CAnnPolyline>(); }
  int GetKind() const override { return 5; }
  void EditProperties(HDC hdc) override;

 protected:
  bool IsClosed() const override { return false; }
};
