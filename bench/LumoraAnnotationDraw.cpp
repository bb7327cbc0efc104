// Refreshing a still picture with its annotations: the clean 3840 x 3072 picture is
// copied back and 100 turned rectangles and ellipses (filled and outlined, pen 5) are
// drawn over it. The anchor does the same copy and draws the same polygons with plain
// GDI calls, so the ratio is what the annotation objects add.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "BenchDib.h"
#include "annotation/objects/AnnEllipse.h"
#include "annotation/objects/AnnRectangle.h"

namespace {

constexpr int kW = 3840, kH = 3072, kObjects = 100;

// The same 100 objects every run: sizes, places and turns spread over the picture.
std::vector<std::unique_ptr<CAnnObj>> MakeObjects() {
  std::vector<std::unique_ptr<CAnnObj>> objects;
  for (int i = 0; i < kObjects; ++i) {
    std::unique_ptr<CAnnObj> obj;
    if (i % 2)
      obj = std::make_unique<CAnnEllipse>();
    else
      obj = std::make_unique<CAnnRectangle>();
    const int hx = 50 + (i * 37) % 250, hy = 30 + (i * 53) % 200;
    CAnnObj::CAnnObjInfo& s = obj->GetInfo();
    s.m_points = {CPoint(-hx, -hy), CPoint(-hx, hy), CPoint(hx, hy), CPoint(hx, -hy)};
    s.m_rubberPoints = s.m_points;
    s.m_origin = CPoint(300 + (i * 331) % (kW - 600), 300 + (i * 197) % (kH - 600));
    const double angle = i * 0.37;
    s.m_cos = std::cos(angle);
    s.m_sin = std::sin(angle);
    s.SetPenWidth(5);
    s.SetPenColor(RGB(255, i * 2, 0));
    s.SetFillColor(RGB(0, 0, 100 + i));
    s.SetFill((i / 2) % 2);
    obj->SetCreating(0);
    obj->SetValid(1);
    objects.push_back(std::move(obj));
  }
  return objects;
}

void RefreshAnnotations(benchmark::State& state) {
  Dib clean, picture;
  const auto objects = MakeObjects();
  for (auto _ : state) {
    BitBlt(picture.dc, 0, 0, kW, kH, clean.dc, 0, 0, SRCCOPY);
    for (const auto& obj : objects) obj->Draw(picture.dc);
  }
}
BENCHMARK(RefreshAnnotations)->Unit(benchmark::kMillisecond);

// The anchor: the picture points worked out once, then one Polygon per shape.
void RefreshPlainPolygons(benchmark::State& state) {
  Dib clean, picture;
  const auto objects = MakeObjects();
  struct Shape {
    std::vector<POINT> points;
    COLORREF pen, fill;
    bool filled;
  };
  std::vector<Shape> shapes;
  for (const auto& obj : objects) {
    const CAnnObj::CAnnObjInfo& s = obj->GetInfo();
    std::vector<CPoint> local = obj->GetKind() == 2 ? CAnnEllipse::CurvePoints(s.m_points, 2) : s.m_points;
    Shape shape{{}, s.m_penColor, s.m_fillColor, s.m_fill == 1};
    for (CPoint p : local) shape.points.push_back(obj->AddOrigin(obj->RotatePoint(p)));
    shapes.push_back(std::move(shape));
  }
  for (auto _ : state) {
    BitBlt(picture.dc, 0, 0, kW, kH, clean.dc, 0, 0, SRCCOPY);
    for (const Shape& s : shapes) {
      HPEN pen = CreatePen(PS_SOLID, 5, s.pen);
      HBRUSH brush = s.filled ? CreateSolidBrush(s.fill) : nullptr;
      HGDIOBJ oldPen = SelectObject(picture.dc, pen);
      HGDIOBJ oldBrush = SelectObject(picture.dc, brush ? brush : GetStockObject(NULL_BRUSH));
      Polygon(picture.dc, s.points.data(), static_cast<int>(s.points.size()));
      SelectObject(picture.dc, oldBrush);
      SelectObject(picture.dc, oldPen);
      DeleteObject(pen);
      if (brush) DeleteObject(brush);
    }
  }
}
BENCHMARK(RefreshPlainPolygons)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
