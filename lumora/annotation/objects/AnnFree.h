// CAnnFree: a freehand curve. Every mouse position reported while the button is held
// becomes a vertex of an open path, drawn as it comes; afterwards the curve is moved,
// scaled and turned like the other vertex figures, never reshaped vertex by vertex.
#pragma once
#include "AnnVertexFigure.h"

class CAnnFree : public CAnnVertexFigure {
 public:
  void DrawPoints(HDC hdc, const std::vector<CPoint>& points) override;
  void Draw(HDC hdc, double scale = 1.0) override;
  void DrawHandles(HDC hdc) override;
  void OnButtonDown(HDC hdc, int handle, CPoint point, double scale = 1.0) override;
  void OnMouseMove(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  void OnButtonUp(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  void DrawRubberSegment(HDC hdc, UINT flags, CPoint point) override {}
  void FinishFigure(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override {}
  std::unique_ptr<CAnnObj> Clone() const override { return CloneFigure<CAnnFree>(); }
  int GetKind() const override { return 6; }
  void EditProperties(HDC hdc) override;

 protected:
  bool IsClosed() const override { return false; }

 private:
  // MoveToEx and LineTo through picture points, with the DC's pen.
  static void DrawPath(HDC hdc, const std::vector<POINT>& image);

  CPoint m_lastPoint{0, 0};  // picture point the next captured segment starts from
};
