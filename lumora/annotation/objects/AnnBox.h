// CAnnBox: what the box kinds share. Four corner points P0-P3 in the object's frame,
// P0 where the creating drag began, P2 opposite it, P1 = (P0.x, P2.y), P3 = (P2.x, P0.y);
// the origin is the box's centre and handle n is corner P(n-1). The box is created by a
// drag, moved, resized by a corner and turned by a corner, with the square constraint,
// and each edit is committed on release or undone when it collapses the box.
#pragma once
#include "AnnObj.h"

class CAnnBox : public CAnnObj {
 public:
  void Recenter(CPoint point) override;
  void DrawPoints(HDC hdc, const std::vector<CPoint>& points) override;
  void DrawHandles(HDC hdc) override;
  void Move(HDC hdc, CPoint point) override;
  void Resize(HDC hdc, CPoint point, int handle) override;
  void Rotate(HDC hdc, CPoint point, int handle) override;
  void DrawXor(HDC hdc) override;
  int CreateDrag(HDC hdc, CPoint point) override;
  void OnButtonDown(HDC hdc, int handle, CPoint point, double scale = 1.0) override;
  void OnMouseMove(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  void OnButtonUp(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  double GetLength() const override;
  int HitTestHandleScreen(int x, int y) override;

  // Makes the box square: the shorter side of the drag from `corner` to `point` wins
  // (a zero counts as a different sign).
  static void ApplySquare(CPoint& point, CPoint corner);

 protected:
  // The index of the corner opposite corner i.
  static int Opposite(int i) { return (i + 2) % 4; }
  bool HasBox() const { return m_info.m_points.size() >= 4 && m_info.m_rubberPoints.size() >= 4; }
  // The box spanned by P0 and P2, in local pixels; false before the box exists.
  bool Span(double& minx, double& maxx, double& miny, double& maxy) const;
  // The corner whose square holds the local point (1-4), or -1.
  int HitCorner(CPoint local) const;
  // One closed polygon through picture points with the state's solid pen, filled with
  // the fill colour when fill is 1; the DC's pen and brush are put back.
  void DrawShape(HDC hdc, const std::vector<POINT>& image) const;
  // The shape dialog in `variant` on pen width, line type, fill and pen colour, square and fill.
  void EditShapeProperties(int variant);
};
