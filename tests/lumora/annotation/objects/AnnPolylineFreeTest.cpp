// The open figures: the polyline, ended only by a double click, and the freehand curve
// captured while the button is held; where they differ from the polygon.
#include <gtest/gtest.h>

#include "Boxes.h"
#include "Canvas.h"
#include "Figures.h"
#include "annotation/objects/AnnFree.h"
#include "annotation/objects/AnnPolygon.h"
#include "annotation/objects/AnnPolyline.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

using Points = std::vector<CPoint>;

class OpenFigures : public ::testing::Test {
 protected:
  void SetUp() override { responder::Reset(); }
  void TearDown() override { responder::Reset(); }
  HDC dc() const { return canvas.dc(); }
  Canvas canvas{240, 240};
};

TEST_F(OpenFigures, APolylineEndsOnlyOnADoubleClickWithThreeVertices) {
  CAnnPolyline line;
  PlaceClicks(line, dc(), {CPoint(20, 20), CPoint(120, 20)});
  DoubleClick(line, dc(), CPoint(120, 150));
  EXPECT_EQ(line.IsCreating(), 0);
  EXPECT_EQ(line.IsValid(), 1);
  EXPECT_EQ(ImageVerticesOf(line), (Points{CPoint(20, 20), CPoint(120, 20), CPoint(120, 150)}));

  // A press then a double click: two vertices, and the figure stays open.
  CAnnPolyline two;
  PlaceClicks(two, dc(), {CPoint(20, 20)});
  DoubleClick(two, dc(), CPoint(100, 40));
  EXPECT_EQ(two.IsCreating(), 1);
  EXPECT_EQ(two.GetVertices().size(), 2u);
  // A press on vertex 0 adds a vertex there: a polyline never closes.
  PlaceClicks(two, dc(), {CPoint(20, 20)});
  EXPECT_EQ(two.IsCreating(), 1);
  EXPECT_EQ(two.GetVertices().size(), 3u);
}

TEST_F(OpenFigures, LengthsFollowTheOpenOrClosedPath) {
  const Points vertices = {CPoint(0, 0), CPoint(30, 40), CPoint(30, 0)};
  CAnnPolyline line;
  PlaceFigure(line, CPoint(100, 100), vertices);
  EXPECT_DOUBLE_EQ(line.GetLength(), 90.0);
  CAnnPolygon polygon;
  PlaceFigure(polygon, CPoint(100, 100), vertices);
  EXPECT_DOUBLE_EQ(polygon.GetLength(), 120.0);
  CAnnFree curve;
  PlaceFigure(curve, CPoint(100, 100), vertices);
  EXPECT_DOUBLE_EQ(curve.GetLength(), 90.0);
  CAnnPolyline one;
  PlaceFigure(one, CPoint(100, 100), {CPoint(0, 0)});
  EXPECT_DOUBLE_EQ(one.GetLength(), 0.0);
}

TEST_F(OpenFigures, AnOpenPathHasNoClosingEdgeAndNoInside) {
  const Points vertices = {CPoint(-50, -50), CPoint(50, -50), CPoint(50, 50)};
  const struct {
    CPoint at;
    int polygon, open;
  } cases[] = {
      {CPoint(150, 150), 5, -1},  // on the edge back from the last vertex to the first
      {CPoint(175, 125), 6, -1},  // inside
      {CPoint(150, 102), 5, 5},
      {CPoint(198, 197), 7, 7},
  };
  for (const auto& c : cases) {
    CAnnPolygon polygon;
    CAnnPolyline line;
    CAnnFree curve;
    for (CAnnVertexFigure* fig : std::initializer_list<CAnnVertexFigure*>{&polygon, &line, &curve}) {
      PlaceFigure(*fig, CPoint(150, 150), vertices);
      fig->GetInfo().SetFill(1);
    }
    EXPECT_EQ(polygon.HitTest(c.at.x, c.at.y), c.polygon) << c.at.x << "," << c.at.y;
    EXPECT_EQ(line.HitTest(c.at.x, c.at.y), c.open) << c.at.x << "," << c.at.y;
    EXPECT_EQ(curve.HitTest(c.at.x, c.at.y), c.open) << c.at.x << "," << c.at.y;
  }
}

// Reaches the hit edge, which only a hit test sets.
template <class Kind>
struct Opened : Kind {
  using CAnnVertexFigure::m_hitEdge;
};

TEST_F(OpenFigures, APolylineKeepsAVertexInsertedByAnUndoneEdit) {
  // A box of 2 x 2 collapses at any release: the undo goes back to the state saved after
  // the insertion for the polyline, before it for the polygon.
  Opened<CAnnPolyline> line;
  Opened<CAnnPolygon> polygon;
  for (CAnnVertexFigure* fig : std::initializer_list<CAnnVertexFigure*>{&line, &polygon}) {
    PlaceFigure(*fig, CPoint(100, 100), {CPoint(0, 0), CPoint(2, 0), CPoint(1, 2)});
    fig->SetMode(1);
  }
  line.m_hitEdge = 0;
  polygon.m_hitEdge = 0;
  DragFigure(line, dc(), CPoint(101, 99), {}, 5);
  DragFigure(polygon, dc(), CPoint(101, 99), {}, 5);
  EXPECT_EQ(line.GetVertices().size(), 4u);
  EXPECT_EQ(line.GetSelectedVertex(), 1);
  EXPECT_EQ(polygon.GetVertices().size(), 3u);

  // A polyline keeps at least one segment.
  CAnnPolyline two;
  PlaceFigure(two, CPoint(100, 100), {CPoint(-20, 0), CPoint(20, 0)});
  two.SetMode(1);
  two.OnButtonDown(dc(), 0, CPoint(80, 100), 1.0);
  EXPECT_EQ(two.DeleteSelectedVertex(), 2);
}

TEST_F(OpenFigures, AFreehandCurveTakesEveryReportedPosition) {
  CAnnFree curve;
  curve.GetInfo().SetPenColor(RGB(255, 0, 0));
  curve.GetInfo().SetPenWidth(1);
  curve.OnButtonDown(dc(), 0, CPoint(10, 10), 1.0);
  for (CPoint p : {CPoint(12, 10), CPoint(12, 10), CPoint(20, 16)}) curve.OnMouseMove(dc(), MK_LBUTTON, p, 1.0);
  EXPECT_EQ(curve.GetVertices(), (Points{CPoint(0, 0), CPoint(2, 0), CPoint(2, 0), CPoint(10, 6)}));
  // Each segment shows as it is captured, in the pen colour.
  EXPECT_EQ(canvas.At(11, 10), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(16, 13), RGB(255, 0, 0));
  // A press while capturing, another button and a double click change nothing.
  curve.OnButtonDown(dc(), 0, CPoint(100, 100), 1.0);
  curve.DrawRubberSegment(dc(), 0, CPoint(100, 100));
  curve.FinishFigure(dc(), 0, CPoint(20, 16), 1.0);
  EXPECT_EQ(curve.GetVertices().size(), 4u);
  EXPECT_EQ(curve.IsCreating(), 1);
  curve.OnButtonUp(dc(), 0, CPoint(20, 16), 1.0);
  EXPECT_EQ(curve.IsCreating(), 0);
  EXPECT_EQ(curve.IsValid(), 1);
  EXPECT_EQ(curve.GetOrigin(), CPoint(15, 13));
  EXPECT_DOUBLE_EQ(curve.GetLength(), 12.0);
  EXPECT_EQ(ImageVerticesOf(curve).back(), CPoint(20, 16));

  // A click without a move is discarded.
  CAnnFree click;
  click.OnButtonDown(dc(), 0, CPoint(50, 50), 1.0);
  click.OnButtonUp(dc(), 0, CPoint(50, 50), 1.0);
  EXPECT_EQ(click.IsCreating(), 0);
  EXPECT_EQ(click.IsValid(), 0);
}

TEST_F(OpenFigures, AFreehandCurveMovesByVertexOrEdgeAndScalesWithoutUndo) {
  for (CPoint press : {CPoint(60, 100), CPoint(100, 100)}) {  // a vertex (7), an edge (5)
    CAnnFree curve;
    PlaceFigure(curve, CPoint(100, 100), {CPoint(-40, 0), CPoint(-20, 0), CPoint(40, 0)});
    curve.SetMode(0);
    DragFigure(curve, dc(), press, {CPoint(press.x + 10, 130)});
    EXPECT_EQ(curve.GetOrigin(), CPoint(110, 130)) << press.x;
    EXPECT_EQ(curve.GetVertices()[0], CPoint(-40, 0));
  }

  // A horizontal stroke has no height: a corner drag scales x and keeps every y.
  CAnnFree stroke;
  PlaceFigure(stroke, CPoint(100, 100), {CPoint(-40, 0), CPoint(0, 0), CPoint(40, 0)});
  DragFigure(stroke, dc(), CPoint(140, 100), {CPoint(180, 140)}, 3);
  EXPECT_EQ(stroke.GetVertices(), (Points{CPoint(-60, 0), CPoint(0, 0), CPoint(60, 0)}));

  // Scaled down to 2 x 2 pixels, it stays so.
  CAnnFree small;
  PlaceFigure(small, CPoint(100, 100), {CPoint(-20, -20), CPoint(20, 20)});
  DragFigure(small, dc(), CPoint(120, 120), {CPoint(82, 82)}, 3);
  const auto& box = small.GetInfo().m_points;
  EXPECT_EQ(box[2].x - box[0].x, 2);
  EXPECT_EQ(box[2].y - box[0].y, 2);
}

TEST_F(OpenFigures, PropertiesUseTheLineDialogsVariants) {
  const struct {
    int kind;
    const char* caption;
  } cases[] = {{5, "Polyline Setting"}, {6, "Free Hand Setting"}};
  for (const auto& c : cases) {
    std::unique_ptr<CAnnObj> obj;
    if (c.kind == 5)
      obj = std::make_unique<CAnnPolyline>();
    else
      obj = std::make_unique<CAnnFree>();
    obj->GetInfo().SetStyleCode(2);
    std::string caption;
    responder::Push([&](const responder::Shown& shown) {
      caption = shown.caption;
      SetDlgItemTextA(shown.hwnd, 1020, "9");
      SendMessageA(GetDlgItem(shown.hwnd, IDOK), BM_CLICK, 0, 0);
      return 0;
    });
    obj->EditProperties(dc());
    EXPECT_EQ(caption, c.caption);
    EXPECT_EQ(obj->GetInfo().m_penWidth, 9);
    EXPECT_EQ(obj->GetInfo().m_styleCode, 2);
    responder::Push([&](const responder::Shown& shown) {
      SetDlgItemTextA(shown.hwnd, 1020, "30");
      SendMessageA(GetDlgItem(shown.hwnd, IDCANCEL), BM_CLICK, 0, 0);
      return 0;
    });
    obj->EditProperties(dc());
    EXPECT_EQ(obj->GetInfo().m_penWidth, 9);
    responder::FailNextDialog();
    obj->EditProperties(dc());
    EXPECT_EQ(obj->GetDialogFailed(), 1);
  }
}

}  // namespace
