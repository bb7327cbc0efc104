// A corner or end drag of every kind that has one, on figures without width or without
// height: the corner opposite the grabbed one stays on its picture point, and a figure
// on one line keeps that line while it scales along it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Boxes.h"
#include "Canvas.h"
#include "Figures.h"
#include "annotation/objects/AnnFree.h"
#include "annotation/objects/AnnLine.h"
#include "annotation/objects/AnnPolygon.h"
#include "annotation/objects/AnnPolyline.h"
#include "annotation/objects/AnnScale.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

using Points = std::vector<CPoint>;

// A finished vertex figure through these picture points.
template <class Kind>
std::unique_ptr<CAnnObj> Figure(Points picture) {
  auto figure = std::make_unique<Kind>();
  const CPoint origin = picture[picture.size() / 2];
  for (CPoint& p : picture) p -= origin;
  PlaceFigure(*figure, origin, std::move(picture));
  return figure;
}

std::unique_ptr<CAnnObj> Line(CPoint a, CPoint b) {
  auto line = std::make_unique<CAnnLine>();
  const CPoint o((a.x + b.x) / 2, (a.y + b.y) / 2);
  Place(*line, o, Points{a - o, b - o});
  return line;
}

// A laid-out bar with corners (-h, -t) to (h, t) about `origin`.
std::unique_ptr<CAnnObj> Bar(CPoint origin, int h, int t) {
  auto bar = std::make_unique<CAnnScale>();
  Place(*bar, origin, Box(-h, -t, h, t));
  bar->Layout();
  return bar;
}

// What the drag leaves in the picture: the vertices of a figure, the defining points of
// the others.
Points PicturePoints(const CAnnObj& obj) {
  if (const auto* figure = dynamic_cast<const CAnnVertexFigure*>(&obj)) return ImageVerticesOf(*figure);
  Points out;
  for (int i = 0; i < static_cast<int>(obj.GetInfo().m_points.size()); ++i) out.push_back(ImageOf(obj, obj.PointAt(i)));
  return out;
}

class AnnResize : public ::testing::Test {
 protected:
  void SetUp() override { responder::Reset(); }
  void TearDown() override { responder::Reset(); }
  Canvas canvas{240, 240};
};

TEST_F(AnnResize, TheOppositeCornerKeepsItsPlaceOnFlatFigures) {
  const struct {
    std::string what;
    std::function<std::unique_ptr<CAnnObj>()> make;
    int handle;      // the corner (box kinds, figures) or the end (line) that is dragged
    int opposite;    // the defining point that must not move
    CPoint from, to;
    Points after;    // the picture points after the release
  } cases[] = {
      // The stroke of the report: only x scales, nothing drops.
      {"flat freehand", [] { return Figure<CAnnFree>({{10, 50}, {20, 50}, {30, 50}}); }, 3, 0, {30, 50}, {60, 80},
       {{10, 50}, {35, 50}, {60, 50}}},
      {"upright freehand", [] { return Figure<CAnnFree>({{50, 10}, {50, 20}, {50, 30}}); }, 3, 0, {50, 30}, {80, 60},
       {{50, 10}, {50, 35}, {50, 60}}},
      {"flat polyline, dragged left of its start", [] { return Figure<CAnnPolyline>({{40, 90}, {80, 90}, {120, 90}}); },
       1, 2, {40, 90}, {0, 20}, {{0, 90}, {60, 90}, {120, 90}}},
      {"upright polyline", [] { return Figure<CAnnPolyline>({{90, 40}, {90, 80}, {90, 120}}); }, 2, 3, {90, 120},
       {150, 200}, {{90, 40}, {90, 120}, {90, 200}}},
      {"flat polygon", [] { return Figure<CAnnPolygon>({{20, 70}, {100, 70}, {60, 70}}); }, 4, 1, {100, 70}, {180, 10},
       {{20, 70}, {180, 70}, {100, 70}}},
      {"upright polygon", [] { return Figure<CAnnPolygon>({{70, 20}, {70, 100}, {70, 60}}); }, 3, 0, {70, 100},
       {10, 180}, {{70, 20}, {70, 180}, {70, 100}}},
      // A line has no factor: its other end stays and the grabbed one follows the mouse.
      {"flat line", [] { return Line({20, 60}, {100, 60}); }, 2, 0, {100, 60}, {140, 100}, {{20, 60}, {140, 100}}},
      {"upright line", [] { return Line({60, 20}, {60, 100}); }, 1, 1, {60, 20}, {20, 0}, {{20, 0}, {60, 100}}},
      // A bar without thickness, and one without length: the box grows from its fixed corner.
      {"bar without thickness", [] { return Bar({100, 100}, 40, 0); }, 3, 0, {140, 100}, {180, 140},
       {{60, 100}, {60, 140}, {180, 140}, {180, 100}}},
      {"bar without length", [] { return Bar({100, 100}, 0, 40); }, 1, 2, {100, 60}, {40, 20},
       {{40, 20}, {40, 140}, {100, 140}, {100, 20}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<CAnnObj> obj = c.make();
    const CPoint fixed = ImageOf(*obj, obj->PointAt(c.opposite));
    obj->SetHandlesShown(1);
    obj->OnButtonDown(canvas.dc(), c.handle, c.from, 1.0);
    if (obj->GetKind() == 8) {
      // The bar's own mouse only moves it; its corner drag is the box's, called directly.
      obj->Resize(canvas.dc(), c.to, c.handle);
    } else {
      obj->OnMouseMove(canvas.dc(), MK_LBUTTON, c.to, 1.0);
    }
    obj->OnButtonUp(canvas.dc(), 0, c.to, 1.0);
    EXPECT_EQ(PicturePoints(*obj), c.after);
    EXPECT_EQ(ImageOf(*obj, obj->PointAt(c.opposite)), fixed);
  }
}

}  // namespace
