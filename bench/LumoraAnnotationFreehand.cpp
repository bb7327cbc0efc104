// A long freehand curve (10,000 captured positions, pen 3) over a 2048 x 2048 picture:
// drawing it, 64 hit tests that scan every vertex and edge, and recentring it. The
// yardstick does the same work by hand: one MoveToEx/LineTo path with plain GDI calls,
// the same tolerance test over the segments and a plain bounding-box loop.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "BenchDib.h"
#include "Yardstick.h"
#include "annotation/objects/AnnFree.h"

namespace {

constexpr int kSize = 2048, kVertices = 10000, kProbes = 64;

// The same wandering stroke every run, captured as the display would report it.
void Capture(CAnnFree& curve, HDC hdc) {
  curve.GetInfo().SetPenWidth(3);
  curve.GetInfo().SetPenColor(RGB(255, 200, 0));
  curve.OnButtonDown(hdc, 0, CPoint(1024, 1024), 1.0);
  for (int i = 1; i < kVertices; ++i) {
    const double t = i * 0.01;
    const CPoint p(1024 + static_cast<int>(800 * std::sin(t * 1.3) * std::cos(t * 0.07)),
                   1024 + static_cast<int>(800 * std::cos(t * 0.9) * std::sin(t * 0.05 + 1)));
    curve.OnMouseMove(hdc, MK_LBUTTON, p, 1.0);
  }
  curve.OnButtonUp(hdc, 0, CPoint(0, 0), 1.0);
}

// Points inside the curve's box that lie on no segment: every test scans the whole curve.
std::vector<CPoint> Probes() {
  std::vector<CPoint> probes;
  for (int i = 0; i < kProbes; ++i) probes.emplace_back(300 + i * 23, 1900 - i * 17);
  return probes;
}

void FreehandCurve(benchmark::State& state) {
  Dib picture(kSize, kSize);
  CAnnFree curve;
  Capture(curve, picture.dc);
  const std::vector<CPoint> probes = Probes();
  int hits = 0;
  for (auto _ : state) {
    curve.Draw(picture.dc);
    for (CPoint p : probes) hits += curve.HitTest(p.x, p.y) > 0;
    curve.Recenter(CPoint(0, 0));
  }
  benchmark::DoNotOptimize(hits);
  state.counters["vertices"] = static_cast<double>(curve.GetVertices().size());
}
BENCHMARK(FreehandCurve)->Unit(benchmark::kMillisecond);

// The yardstick: the picture points worked out once, then plain calls and loops.
void PlainPath(benchmark::State& state) {
  Dib picture(kSize, kSize);
  CAnnFree curve;
  Capture(curve, picture.dc);
  std::vector<POINT> path;
  for (CPoint v : curve.GetVertices()) path.push_back(curve.AddOrigin(curve.RotatePoint(v)));
  const std::vector<CPoint> probes = Probes();
  const double t = 3 / 2.0 + 3.0;
  int hits = 0;
  for (auto _ : state) {
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 200, 0));
    HGDIOBJ old = SelectObject(picture.dc, pen);
    MoveToEx(picture.dc, path[0].x, path[0].y, nullptr);
    for (size_t i = 1; i < path.size(); ++i) LineTo(picture.dc, path[i].x, path[i].y);
    SelectObject(picture.dc, old);
    DeleteObject(pen);
    for (CPoint p : probes) {
      bool hit = false;
      for (size_t i = 0; i < path.size() && !hit; ++i)
        hit = std::abs(p.x - path[i].x) <= t && std::abs(p.y - path[i].y) <= t;
      for (size_t i = 0; i + 1 < path.size() && !hit; ++i) {
        const POINT a = path[i], b = path[i + 1];
        if (p.x < std::min(a.x, b.x) - t || p.x > std::max(a.x, b.x) + t || p.y < std::min(a.y, b.y) - t ||
            p.y > std::max(a.y, b.y) + t)
          continue;
        const double dx = b.x - a.x, dy = b.y - a.y;
        if (dx == 0 || dy == 0)
          hit = true;
        else if (std::abs(dy) <= std::abs(dx))
          hit = std::abs(p.y - (a.y + (p.x - a.x) * dy / dx)) <= t;
        else
          hit = std::abs(p.x - (a.x + (p.y - a.y) * dx / dy)) <= t;
      }
      hits += hit;
    }
    LONG minx = path[0].x, maxx = minx, miny = path[0].y, maxy = miny;
    for (const POINT& p : path) {
      minx = std::min(minx, p.x);
      maxx = std::max(maxx, p.x);
      miny = std::min(miny, p.y);
      maxy = std::max(maxy, p.y);
    }
    benchmark::DoNotOptimize(minx + maxx + miny + maxy);
  }
  benchmark::DoNotOptimize(hits);
}
BENCHMARK(PlainPath)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::RunAgainstYardstick(argc, argv, "PlainPath"); }
