// CAnnRectangle: a rectangle over the picture, outlined with a solid pen and optionally
// filled; it runs the box protocol of CAnnBox.
#pragma once
#include "AnnBox.h"

class CAnnRectangle : public CAnnBox {
 public:
  void Draw(HDC hdc, double scale = 1.0) override;
  int HitTest(int x, int y) override;
  std::unique_ptr<CAnnObj> Clone() const override { return CloneAs<CAnnRectangle>(); }
  int GetKind() const override { return 1; }
  void EditProperties(HDC hdc) override { EditShapeProperties(0); }
};
