// CAnnEllipse: the ellipse inscribed in a box, drawn as a polygon from its half axes. It
// runs the box protocol of CAnnBox unchanged and measures nothing.
#pragma once
#include "AnnBox.h"

class CAnnEllipse : public CAnnBox {
 public:
  void DrawPoints(HDC hdc, const std::vector<CPoint>& points) override;
  void Draw(HDC hdc, double scale = 1.0) override;
  void DrawHandles(HDC hdc) override;
  int HitTest(int x, int y) override;
  std::unique_ptr<CAnnObj> Clone() const override { return CloneAs<CAnnEllipse>(); }
  int GetKind() const override { return 2; }
  double GetLength() const override { return -1.0; }
  void EditProperties(HDC hdc) override { EditShapeProperties(1); }

  // The curve through the box of `corners` in local points, one point every `step`
  // pixels of its width: the lower half left to right, the upper half back. Empty when
  // the box has no width or the points cannot be held.
  static std::vector<CPoint> CurvePoints(const std::vector<CPoint>& corners, int step);
  // The rubber band's step: coarser for wider ellipses, so dragging stays quick.
  static int RubberBandStep(int width);
};
