// CAnnScale: the calibrated scale bar (kind 8). A bar along the local x axis from P0.x to
// P2.x, centred on y = 0, with tick marks dividing it into 1, 2, 4, 5 or 10 parts, its
// label above the middle and an optional filled box behind both; everything turns with
// the object. The mouse only moves it. Its owner fills the state from a scale preset and
// runs Layout before drawing.
#pragma once
#include <array>
#include <cstdlib>

#include "AnnBox.h"

class CAnnScale : public CAnnBox {
 public:
  enum { kTickPolygons = 11 };
  // x of every corner of a tick polygon that is not in use.
  static constexpr int kClearedX = -100;

  CAnnScale();

  // Builds the ticks of the divide code and sets the tick half-width and label lift.
  void Layout();
  // Tick polygon `index` (0-10) of `kind` (0 end, 1 middle, 2 minor) centred on (x, y).
  void BuildTick(SHORT index, SHORT kind, int x, int y);

  void Draw(HDC hdc, double scale = 1.0) override;
  // The same picture as Draw, on a framework device context.
  void DrawOnDC(CDC* pDC, double scale = 1.0);
  void DrawPoints(HDC hdc, const std::vector<CPoint>& points) override;
  void DrawHandles(HDC hdc) override;
  void DrawXor(HDC hdc) override;
  int HitTest(int x, int y) override;
  void OnButtonDown(HDC hdc, int handle, CPoint point, double scale = 1.0) override;
  void OnMouseMove(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  void OnButtonUp(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  // A copy of the state only: its owner lays it out.
  std::unique_ptr<CAnnObj> Clone() const override { return CloneAs<CAnnScale>(); }
  int GetKind() const override { return 8; }
  void EditProperties(HDC hdc) override { EditShapeProperties(0); }
  int HitTestHandleScreen(int x, int y) override { return CAnnObj::HitTestHandleScreen(x, y); }

  int GetTickHalfWidth() const { return m_nTickHalfWidth; }
  int GetLabelLift() const { return m_nLabelLift; }
  int GetBoxHeight() const { return m_nBoxHeight; }
  // The polygons Layout built and Draw draws (0 before the first Layout).
  int GetTickCount() const { return m_nTicksBuilt; }
  // Corner `corner` (0-3) of tick polygon `index`, local.
  CPoint GetTickCorner(int index, int corner) const { return m_ticks[static_cast<size_t>(index * 4 + corner)]; }
  // The number of tick polygons a divide code draws: 0 for a code outside 0, 1, 2, 4, 5, 10.
  static int TicksOfDivide(int divide);

 private:
  int BarLength() const { return std::abs(PointAt(0).x - PointAt(2).x); }
  void ClearTicksFrom(int first);

  int m_nTickHalfWidth = 0;
  int m_nLabelLift = 0;
  std::array<CPoint, kTickPolygons * 4> m_ticks;
  int m_nTicksBuilt = 0;
  int m_nBoxHeight = 0;
};
