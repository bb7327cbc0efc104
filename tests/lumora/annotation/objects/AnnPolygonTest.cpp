// The polygon and the vertex machinery it shares with the polyline and the freehand
// curve: placing click by click, closing and finishing, taking back a vertex, recentring,
// vertex editing, scaling, hit codes and the property dialog.
#include <gtest/gtest.h>

#include <cmath>

#include "Boxes.h"
#include "Canvas.h"
#include "Figures.h"
#include "annotation/objects/AnnPolygon.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

using Points = std::vector<CPoint>;

class AnnPolygon : public ::testing::Test {
 protected:
  void SetUp() override { responder::Reset(); }
  void TearDown() override { responder::Reset(); }
  HDC dc() const { return canvas.dc(); }

  // The square (100, 100)-(200, 200) about (150, 150), kept.
  void PlaceSquare(CAnnPolygon& poly) {
    PlaceFigure(poly, CPoint(150, 150), {CPoint(-50, -50), CPoint(50, -50), CPoint(50, 50), CPoint(-50, 50)});
  }

  Canvas canvas{320, 320};
};

TEST_F(AnnPolygon, APressNearTheFirstVertexClosesTheTriangle) {
  CAnnPolygon poly;
  PlaceClicks(poly, dc(), {CPoint(100, 100), CPoint(200, 100), CPoint(200, 200)});
  EXPECT_EQ(poly.IsCreating(), 1);
  EXPECT_EQ(poly.IsFigureStarted(), 1);
  PlaceClicks(poly, dc(), {CPoint(101, 102)});
  EXPECT_EQ(poly.IsCreating(), 0);
  EXPECT_EQ(poly.IsValid(), 1);
  EXPECT_EQ(poly.IsSelected(), 1);
  EXPECT_EQ(poly.IsFigureStarted(), 0);
  EXPECT_EQ(poly.GetAnchor(), CPoint(0, 0));
  EXPECT_EQ(poly.GetOrigin(), CPoint(150, 150));
  EXPECT_EQ(poly.GetInfo().m_points, (Points{CPoint(-50, -50), CPoint(-50, 50), CPoint(50, 50), CPoint(50, -50)}));
  EXPECT_EQ(poly.GetInfo().m_rubberPoints, poly.GetInfo().m_points);
  EXPECT_EQ(poly.GetVertices(), (Points{CPoint(-50, -50), CPoint(50, -50), CPoint(50, 50)}));
  EXPECT_NEAR(poly.GetLength(), 200 + 100 * std::sqrt(2.0), 1e-9);
}

TEST_F(AnnPolygon, PressesWhilePlacingFollowTheTolerances) {
  const struct {
    double zoom;
    Points presses;
    int creating;
    size_t vertices;
  } cases[] = {
      // 5 pixels from vertex 0: closes within trunc(3 x zoom) = 6, adds at zoom 1.
      {2.0, {CPoint(100, 100), CPoint(200, 100), CPoint(200, 200), CPoint(105, 100)}, 0, 3},
      {1.0, {CPoint(100, 100), CPoint(200, 100), CPoint(200, 200), CPoint(105, 100)}, 1, 4},
      // 3 pixels from the last vertex on both axes is ignored at any zoom; 4 on one axis adds.
      {1.0, {CPoint(100, 100), CPoint(200, 100), CPoint(203, 103)}, 1, 2},
      {4.0, {CPoint(100, 100), CPoint(200, 100), CPoint(203, 103)}, 1, 2},
      {1.0, {CPoint(100, 100), CPoint(200, 100), CPoint(204, 100)}, 1, 3},
      // Closing needs three vertices.
      {1.0, {CPoint(100, 100), CPoint(200, 100), CPoint(101, 101)}, 1, 2},
  };
  for (const auto& c : cases) {
    CAnnPolygon poly;
    poly.GetInfo().SetZoom(c.zoom);
    for (CPoint p : c.presses) PlaceClicks(poly, dc(), {p});
    EXPECT_EQ(poly.IsCreating(), c.creating) << c.zoom << " " << c.presses.back().x;
    EXPECT_EQ(poly.GetVertices().size(), c.vertices) << c.zoom << " " << c.presses.back().x;
  }
}

TEST_F(AnnPolygon, AnotherButtonTakesBackTheLastVertexAndTheBandStaysClean) {
  const auto clean = canvas.Bytes();
  CAnnPolygon poly;
  PlaceClicks(poly, dc(), {CPoint(40, 40), CPoint(200, 60)});
  poly.OnMouseMove(dc(), 0, CPoint(150, 200), 1.0);
  poly.DrawRubberSegment(dc(), 0, CPoint(120, 220));
  EXPECT_EQ(poly.GetVertices(), (Points{CPoint(0, 0)}));
  EXPECT_EQ(poly.GetRubberEnd(), CPoint(120, 220));
  // The next moves take off what is shown; so does erasing the last band.
  poly.OnMouseMove(dc(), 0, CPoint(260, 100), 1.0);
  poly.OnMouseMove(dc(), 0, CPoint(30, 280), 1.0);
  EXPECT_GT(canvas.Changed(clean), 100);
  poly.DrawRubberPath(dc(), {CPoint(40, 40), CPoint(30, 280)});
  EXPECT_EQ(canvas.Changed(clean), 0);

  // The first vertex is never taken back; a kept figure ignores it.
  poly.DrawRubberSegment(dc(), 0, CPoint(10, 10));
  EXPECT_EQ(poly.GetVertices().size(), 1u);
  CAnnPolygon kept;
  PlaceSquare(kept);
  kept.DrawRubberSegment(dc(), 0, CPoint(10, 10));
  EXPECT_EQ(kept.GetVertices().size(), 4u);
}

TEST_F(AnnPolygon, ADoubleClickFinishesUnlessOnTheVertexBeforeItsOwn) {
  CAnnPolygon poly;
  PlaceClicks(poly, dc(), {CPoint(100, 100), CPoint(200, 100)});
  DoubleClick(poly, dc(), CPoint(200, 200));
  EXPECT_EQ(poly.IsCreating(), 0);
  EXPECT_EQ(poly.IsValid(), 1);
  EXPECT_EQ(poly.GetVertices().size(), 3u);

  // Vertices 4 pixels apart: the double click's press near the last one is ignored, so
  // the double click lies within 3 of vertex n - 2.
  CAnnPolygon close;
  PlaceClicks(close, dc(), {CPoint(50, 50), CPoint(100, 100), CPoint(104, 100)});
  DoubleClick(close, dc(), CPoint(102, 100));
  EXPECT_EQ(close.IsCreating(), 1);
  EXPECT_EQ(close.GetVertices().size(), 3u);

  // Two vertices (counting the double click's own) do not finish.
  CAnnPolygon two;
  PlaceClicks(two, dc(), {CPoint(50, 50)});
  DoubleClick(two, dc(), CPoint(150, 50));
  EXPECT_EQ(two.IsCreating(), 1);
}

TEST_F(AnnPolygon, RecentringPutsTheOriginOnTheBoxCentre) {
  CAnnPolygon poly;
  PlaceFigure(poly, CPoint(0, 0), {CPoint(0, 0), CPoint(5, 0), CPoint(3, 4), CPoint(1, 4)});
  EXPECT_EQ(poly.GetOrigin(), CPoint(2, 2));
  EXPECT_EQ(poly.GetInfo().m_points, (Points{CPoint(-2, -2), CPoint(-2, 2), CPoint(2, 2), CPoint(2, -2)}));
  EXPECT_EQ(poly.GetVertices(), (Points{CPoint(-2, -2), CPoint(3, -2), CPoint(1, 2), CPoint(-1, 2)}));
}

TEST_F(AnnPolygon, RecentringATurnedFigureKeepsItInPlace) {
  // A 30-degree polygon: one vertex dragged in vertex mode; on release the box centre
  // moves, and the other vertices stay within a pixel of where they were.
  CAnnPolygon poly;
  PlaceFigure(poly, CPoint(160, 160), {CPoint(-60, -40), CPoint(60, -40), CPoint(60, 40), CPoint(-60, 40)});
  poly.GetInfo().m_cos = std::cos(3.14159265358979 / 6);
  poly.GetInfo().m_sin = std::sin(3.14159265358979 / 6);
  poly.SetMode(1);
  const Points before = ImageVerticesOf(poly);
  DragFigure(poly, dc(), before[0], {CPoint(before[0].x - 30, before[0].y - 25)});
  EXPECT_EQ(poly.GetHitHandle(), 7);
  EXPECT_NE(poly.GetOrigin(), CPoint(160, 160));
  const Points after = ImageVerticesOf(poly);
  for (size_t i = 1; i < 4; ++i) {
    EXPECT_LE(std::abs(after[i].x - before[i].x), 1) << i;
    EXPECT_LE(std::abs(after[i].y - before[i].y), 1) << i;
  }
  EXPECT_LE(std::abs(after[0].x - (before[0].x - 30)), 1);
  EXPECT_LE(std::abs(after[0].y - (before[0].y - 25)), 1);
}

TEST_F(AnnPolygon, AnEdgePressInVertexModeInsertsDragsAndDeletes) {
  CAnnPolygon poly;
  PlaceSquare(poly);
  poly.SetMode(1);
  // The middle of edge 2, from (200, 200) to (100, 200).
  poly.OnButtonDown(dc(), 0, CPoint(150, 200), 1.0);
  EXPECT_EQ(poly.GetHitHandle(), 5);
  EXPECT_EQ(poly.GetHitEdge(), 2);
  EXPECT_EQ(poly.GetSelectedVertex(), 3);
  ASSERT_EQ(poly.GetVertices().size(), 5u);
  EXPECT_EQ(poly.GetVertices()[3], CPoint(0, 50));
  poly.OnMouseMove(dc(), MK_LBUTTON, CPoint(150, 240), 1.0);
  EXPECT_EQ(poly.GetVertices()[3], CPoint(0, 90));
  poly.OnButtonUp(dc(), 0, CPoint(150, 240), 1.0);
  EXPECT_EQ(ImageVerticesOf(poly)[3], CPoint(150, 240));
  EXPECT_EQ(poly.GetOrigin(), CPoint(150, 170));

  EXPECT_EQ(poly.DeleteSelectedVertex(), 1);
  EXPECT_EQ(poly.GetSelectedVertex(), -1);
  EXPECT_EQ(poly.GetVertices().size(), 4u);
  EXPECT_EQ(poly.GetOrigin(), CPoint(150, 150));
  // Nothing selected now: refused.
  EXPECT_EQ(poly.DeleteSelectedVertex(), 2);

  // A vertex press selects that vertex; outside vertex mode nothing is deleted.
  poly.OnButtonDown(dc(), 0, CPoint(200, 100), 1.0);
  poly.OnButtonUp(dc(), 0, CPoint(200, 100), 1.0);
  EXPECT_EQ(poly.GetSelectedVertex(), 1);
  poly.SetMode(0);
  EXPECT_EQ(poly.DeleteSelectedVertex(), 0);
  EXPECT_EQ(poly.GetVertices().size(), 4u);

  CAnnPolygon two;
  PlaceFigure(two, CPoint(100, 100), {CPoint(-20, 0), CPoint(20, 0)});
  two.SetMode(1);
  two.OnButtonDown(dc(), 0, CPoint(80, 100), 1.0);
  EXPECT_EQ(two.GetSelectedVertex(), 0);
  EXPECT_EQ(two.DeleteSelectedVertex(), 2);
  EXPECT_EQ(two.GetVertices().size(), 2u);
}

// Reaches the hit edge, which only a hit test sets.
struct OpenPolygon : CAnnPolygon {
  using CAnnVertexFigure::m_hitEdge;
};

TEST_F(AnnPolygon, AnUndoneInsertionLeavesNoSelectedVertexBehind) {
  OpenPolygon poly;
  PlaceFigure(poly, CPoint(100, 100), {CPoint(0, 0), CPoint(2, 0), CPoint(1, 2)});  // a box of 2 x 2
  poly.SetMode(1);
  poly.m_hitEdge = 2;
  DragFigure(poly, dc(), CPoint(100, 101), {}, 5);
  // The collapsed box undoes the edit, the inserted vertex with it.
  EXPECT_EQ(poly.GetVertices().size(), 3u);
  EXPECT_EQ(poly.GetSelectedVertex(), -1);
  EXPECT_EQ(poly.DeleteSelectedVertex(), 2);
}

TEST_F(AnnPolygon, ACornerDragScalesAboutTheOppositeCorner) {
  CAnnPolygon poly;
  PlaceFigure(poly, CPoint(150, 150), {CPoint(-50, -50), CPoint(50, -50), CPoint(0, 50)});
  const CPoint fixed = ImageOf(poly, poly.PointAt(2));
  poly.OnButtonDown(dc(), 1, CPoint(100, 100), 1.0);
  poly.OnMouseMove(dc(), MK_LBUTTON, CPoint(50, 100), 1.0);  // local (-100, -50)
  EXPECT_EQ(poly.GetOrigin(), CPoint(125, 150));
  EXPECT_EQ(poly.GetVertices(), (Points{CPoint(-75, -50), CPoint(75, -50), CPoint(0, 50)}));
  EXPECT_EQ(poly.WorkingAt(0), CPoint(-75, -50));
  EXPECT_EQ(poly.WorkingAt(2), CPoint(75, 50));
  poly.OnButtonUp(dc(), 0, CPoint(50, 100), 1.0);
  EXPECT_EQ(ImageOf(poly, poly.PointAt(2)), fixed);
}

TEST_F(AnnPolygon, AFigureOnOneLineScalesOnlyAlongIt) {
  // All vertices on x = 0: the box has no width, so x is left unscaled.
  CAnnPolygon poly;
  PlaceFigure(poly, CPoint(100, 100), {CPoint(0, -40), CPoint(0, 0), CPoint(0, 40)});
  poly.OnButtonDown(dc(), 3, CPoint(100, 140), 1.0);
  poly.OnMouseMove(dc(), MK_LBUTTON, CPoint(130, 180), 1.0);
  EXPECT_EQ(poly.GetVertices(), (Points{CPoint(0, -60), CPoint(0, 0), CPoint(0, 60)}));
}

TEST_F(AnnPolygon, ACollapsedScaleIsUndone) {
  CAnnPolygon poly;
  PlaceSquare(poly);
  DragFigure(poly, dc(), CPoint(100, 100), {CPoint(150, 150), CPoint(199, 199)}, 1);
  EXPECT_EQ(poly.GetOrigin(), CPoint(150, 150));
  EXPECT_EQ(poly.GetVertices()[0], CPoint(-50, -50));
  EXPECT_EQ(poly.GetInfo().m_points[0], CPoint(-50, -50));
}

TEST_F(AnnPolygon, HitCodesOfInsideEdgesAndVertices) {
  const struct {
    int fill, shown;
    CPoint at;
    int code;
  } cases[] = {
      {1, 0, CPoint(170, 130), 6},  {0, 0, CPoint(170, 130), -1},  // inside the triangle
      {1, 0, CPoint(130, 170), -1},                                // outside it, inside its box
      {1, 0, CPoint(150, 102), 5},  {0, 0, CPoint(150, 102), 5},   // on the top edge
      {0, 0, CPoint(150, 150), 5},                                 // on the diagonal
      {0, 0, CPoint(202, 103), 7},  {0, 0, CPoint(103, 103), 7},   // near a vertex, before any edge
      {0, 1, CPoint(102, 202), 2},  {0, 0, CPoint(102, 202), -1},  // a corner handle without a vertex
      {0, 0, CPoint(250, 150), -1},
  };
  for (const auto& c : cases) {
    CAnnPolygon poly;
    PlaceFigure(poly, CPoint(150, 150), {CPoint(-50, -50), CPoint(50, -50), CPoint(50, 50)});
    poly.GetInfo().SetFill(c.fill);
    poly.SetHandlesShown(c.shown);
    EXPECT_EQ(poly.HitTest(c.at.x, c.at.y), c.code) << c.at.x << "," << c.at.y << " fill " << c.fill;
  }
  CAnnPolygon poly;
  PlaceFigure(poly, CPoint(150, 150), {CPoint(-50, -50), CPoint(50, -50), CPoint(50, 50)});
  EXPECT_EQ(poly.HitTest(199, 101), 7);
  EXPECT_EQ(poly.GetHitVertex(), 1);
  // Window handles: none in vertex mode.
  poly.GetInfo().SetScrollOffset(50, 50);
  EXPECT_EQ(poly.HitTestHandleScreen(150, 150), 3);
  poly.SetMode(1);
  EXPECT_EQ(poly.HitTestHandleScreen(150, 150), -1);
  EXPECT_EQ(poly.HitTest(102, 202), -1);
}

TEST_F(AnnPolygon, FourHundredVerticesPlaceHitAndRecentre) {
  CAnnPolygon poly;
  // A first vertex away from the rest, then a zigzag of 399 presses.
  poly.OnButtonDown(dc(), 0, CPoint(300, 300), 1.0);
  for (int i = 1; i < 400; ++i) poly.OnButtonDown(dc(), 0, CPoint(10 + i * 4, 20 + (i % 2) * 250), 1.0);
  ASSERT_EQ(poly.GetVertices().size(), 400u);
  poly.FinishFigure(dc(), 0, CPoint(10 + 399 * 4, 270), 1.0);
  ASSERT_EQ(poly.IsValid(), 1);
  EXPECT_EQ(poly.GetVertices().size(), 400u);
  const Points image = ImageVerticesOf(poly);
  EXPECT_EQ(image.back(), CPoint(10 + 399 * 4, 270));
  EXPECT_EQ(poly.HitTest(image[399].x, image[399].y), 7);
  EXPECT_EQ(poly.GetHitVertex(), 399);
  poly.Draw(dc());
}

TEST_F(AnnPolygon, StateCopiesCarryTheVertices) {
  CAnnPolygon poly;
  PlaceSquare(poly);
  poly.SaveState();
  poly.SetVertices({CPoint(1, 1)});
  poly.RestoreState();
  EXPECT_EQ(poly.GetVertices().size(), 4u);
  EXPECT_EQ(poly.GetInfo().m_points.size(), 4u);
}

TEST_F(AnnPolygon, PropertiesUseTheShapeDialogsPolygonVariant) {
  CAnnPolygon poly;
  PlaceSquare(poly);
  poly.GetInfo().SetPenColor(RGB(255, 0, 0));
  std::string caption;
  responder::Push([&](const responder::Shown& shown) {
    caption = shown.caption;
    SetDlgItemTextA(shown.hwnd, 1025, "7");
    SendMessageA(GetDlgItem(shown.hwnd, 1029), BM_CLICK, 0, 0);  // fill
    SendMessageA(GetDlgItem(shown.hwnd, IDOK), BM_CLICK, 0, 0);
    return 0;
  });
  poly.EditProperties(dc());
  EXPECT_EQ(caption, "Polygon Setting");
  EXPECT_EQ(poly.GetInfo().m_penWidth, 7);
  EXPECT_EQ(poly.GetInfo().m_fill, 1);
  EXPECT_EQ(poly.GetInfo().m_penColor, RGB(255, 0, 0));
  responder::FailNextDialog();
  poly.EditProperties(dc());
  EXPECT_EQ(poly.GetDialogFailed(), 1);
  EXPECT_EQ(poly.GetInfo().m_penWidth, 7);
}

}  // namespace
