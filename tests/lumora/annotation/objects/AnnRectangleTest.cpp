// The rectangle through its mouse protocol: creation, the square constraint, resizing,
// moving, turning, the undo of a collapsed edit, hit codes and its property dialog.
#include <gtest/gtest.h>

#include <cmath>

#include "Boxes.h"
#include "Canvas.h"
#include "annotation/objects/AnnRectangle.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

class AnnRectangle : public ::testing::Test {
 protected:
  void SetUp() override { responder::Reset(); }
  void TearDown() override { responder::Reset(); }

  // A press, moves with the button held, and a release, as the display sends them.
  void Drag(CAnnObj& obj, CPoint from, std::initializer_list<CPoint> moves, UINT keys = 0, int handle = 0) {
    obj.OnButtonDown(canvas.dc(), handle, from, 1.0);
    CPoint last = from;
    for (CPoint p : moves) {
      obj.OnMouseMove(canvas.dc(), MK_LBUTTON | keys, p, 1.0);
      last = p;
    }
    obj.OnButtonUp(canvas.dc(), keys, last, 1.0);
  }
  // The picture point of committed corner i.
  static CPoint Corner(const CAnnObj& obj, int i) { return ImageOf(obj, obj.PointAt(i)); }

  Canvas canvas{220, 220};
};

TEST_F(AnnRectangle, ACreatingDragIsKeptFromThreePixelsOff) {
  const struct {
    CPoint from;
    std::vector<CPoint> moves;
    CPoint release;
    int valid;
    CPoint origin;
  } cases[] = {
      {CPoint(100, 100), {CPoint(103, 100)}, CPoint(103, 100), 0, CPoint(101, 100)},  // 2 from the centre
      {CPoint(100, 100), {CPoint(106, 100)}, CPoint(106, 100), 1, CPoint(103, 100)},  // 3 from it
      {CPoint(100, 100), {}, CPoint(100, 100), 0, CPoint(100, 100)},                  // no move at all
      {CPoint(50, 60), {CPoint(70, 65), CPoint(90, 80)}, CPoint(90, 80), 1, CPoint(70, 70)},
  };
  for (const auto& c : cases) {
    CAnnRectangle rect;
    rect.OnButtonDown(canvas.dc(), 0, c.from, 1.0);
    EXPECT_EQ(rect.GetWorkingCount(), 4);
    for (CPoint p : c.moves) rect.OnMouseMove(canvas.dc(), MK_LBUTTON, p, 1.0);
    rect.OnButtonUp(canvas.dc(), 0, c.release, 1.0);
    EXPECT_EQ(rect.IsValid(), c.valid) << c.release.x;
    EXPECT_EQ(rect.IsCreating(), 0);
    EXPECT_EQ(rect.GetOrigin(), c.origin);
    EXPECT_EQ(rect.GetAnchor(), CPoint(0, 0));
    if (c.valid) {
      ASSERT_EQ(rect.GetInfo().m_points.size(), 4u);
      EXPECT_EQ(rect.GetInfo().m_points, rect.GetInfo().m_rubberPoints);
      EXPECT_EQ(Corner(rect, 0), c.from);
      EXPECT_EQ(Corner(rect, 2), c.release);
      EXPECT_EQ(rect.IsSelected(), 1);
    } else {
      EXPECT_EQ(rect.GetWorkingCount(), 0);
    }
  }
}

TEST_F(AnnRectangle, ShiftOrTheSquareFlagMakesASquare) {
  const struct {
    CPoint from, to;
    UINT keys;
    int square;
    CPoint corner;
  } cases[] = {
      {CPoint(10, 10), CPoint(50, 30), MK_SHIFT, 0, CPoint(30, 30)},      // the shorter side wins
      {CPoint(100, 100), CPoint(60, 120), MK_SHIFT, 0, CPoint(80, 120)},  // signs differ
      {CPoint(100, 100), CPoint(110, 60), 0, 1, CPoint(110, 90)},
      {CPoint(10, 10), CPoint(50, 30), 0, 0, CPoint(50, 30)},
  };
  for (const auto& c : cases) {
    CAnnRectangle rect;
    rect.GetInfo().SetSquare(c.square);
    Drag(rect, c.from, {c.to}, c.keys);
    ASSERT_EQ(rect.IsValid(), 1);
    EXPECT_EQ(Corner(rect, 2), c.corner) << c.to.x << "," << c.to.y;
  }
}

TEST_F(AnnRectangle, ACornerDragKeepsTheOppositeCornerInPlace) {
  CAnnRectangle rect;
  Place(rect, CPoint(50, 50), CSize(10, 5));
  rect.OnButtonDown(canvas.dc(), 3, CPoint(60, 55), 1.0);
  EXPECT_EQ(rect.GetHitHandle(), 3);
  rect.OnMouseMove(canvas.dc(), MK_LBUTTON, CPoint(70, 60), 1.0);
  EXPECT_EQ(rect.GetInfo().m_rubberPoints,
            (std::vector<CPoint>{CPoint(-15, -7), CPoint(-15, 7), CPoint(15, 7), CPoint(15, -7)}));
  EXPECT_EQ(rect.GetOrigin(), CPoint(55, 52));
  rect.OnButtonUp(canvas.dc(), 0, CPoint(70, 60), 1.0);
  EXPECT_EQ(Corner(rect, 0), CPoint(40, 45));

  // Turned a quarter, the opposite corner still stays where it was.
  CAnnRectangle turned;
  Place(turned, CPoint(100, 100), CSize(20, 10));
  turned.GetInfo().m_cos = 0;
  turned.GetInfo().m_sin = 1;
  const CPoint fixed = Corner(turned, 0);
  Drag(turned, Corner(turned, 2), {CPoint(70, 150)}, 0, 3);
  EXPECT_EQ(Corner(turned, 0), fixed);
  EXPECT_EQ(turned.GetLength(), 110.0);
}

TEST_F(AnnRectangle, ACollapsedEditIsUndone) {
  CAnnRectangle rect;
  Place(rect, CPoint(80, 80), CSize(20, 10));
  rect.GetInfo().SetSquare(0);
  // Corner 3 dragged onto corner 1.
  Drag(rect, CPoint(100, 90), {CPoint(80, 85), CPoint(61, 71)}, 0, 3);
  EXPECT_EQ(rect.GetOrigin(), CPoint(80, 80));
  EXPECT_EQ(rect.GetInfo().m_points[2], CPoint(20, 10));
  EXPECT_EQ(rect.GetInfo().m_rubberPoints, rect.GetInfo().m_points);
  EXPECT_EQ(rect.IsSelected(), 1);
}

TEST_F(AnnRectangle, ABorderOrInsidePressMovesTheWhole) {
  CAnnRectangle rect;
  Place(rect, CPoint(80, 80), CSize(20, 10));
  Drag(rect, CPoint(60, 80), {CPoint(65, 82), CPoint(70, 90)});
  EXPECT_EQ(rect.GetHitHandle(), 5);
  EXPECT_EQ(rect.GetOrigin(), CPoint(90, 90));
  EXPECT_EQ(rect.GetInfo().m_points[0], CPoint(-20, -10));
  // A miss deselects and changes nothing.
  rect.OnButtonDown(canvas.dc(), 0, CPoint(5, 5), 1.0);
  EXPECT_EQ(rect.IsSelected(), 0);
  rect.OnMouseMove(canvas.dc(), MK_LBUTTON, CPoint(50, 50), 1.0);
  EXPECT_EQ(rect.GetOrigin(), CPoint(90, 90));
  // A move without the button changes nothing either.
  rect.OnButtonDown(canvas.dc(), 0, CPoint(70, 90), 1.0);
  rect.OnMouseMove(canvas.dc(), 0, CPoint(10, 10), 1.0);
  EXPECT_EQ(rect.GetOrigin(), CPoint(90, 90));
}

TEST_F(AnnRectangle, InRotateModeACornerDragTurnsItAboutItsCentre) {
  CAnnRectangle rect;
  Place(rect, CPoint(100, 100), CSize(30, 30));
  rect.SetMode(2);
  // Corner 3 at (130, 130) seen from its pivot corner 1 at (70, 70): bring it to (70, 155).
  Drag(rect, CPoint(130, 130), {CPoint(70, 155)}, 0, 3);
  EXPECT_NEAR(std::atan2(rect.GetInfo().m_sin, rect.GetInfo().m_cos) * 180 / 3.14159265358979, 45.0, 0.01);
  EXPECT_EQ(rect.GetOrigin(), CPoint(100, 100));
  EXPECT_EQ(rect.GetInfo().m_points[2], CPoint(30, 30));
  EXPECT_EQ(rect.GetLength(), 120.0);
}

TEST_F(AnnRectangle, HitCodesOfHandlesBordersAndInside) {
  const struct {
    int fill, shown, pen;
    CPoint at;
    int code;
  } cases[] = {
      {0, 0, 1, CPoint(120, 110), 5},                                   // a corner lies on two borders
      {0, 1, 1, CPoint(120, 110), 3},                                   // its handle when the handles show
      {0, 1, 5, CPoint(123, 113), 3},                                   // the handle's square runs 4 pixels out...
      {0, 1, 5, CPoint(124, 113), 5},                                   // ...its right edge excluded
      {0, 0, 1, CPoint(100, 100), -1},                                  // the inside of an outline
      {1, 0, 1, CPoint(100, 100), 6},  {1, 0, 1, CPoint(123, 100), 6},  // up to the tolerance (3.5) outside
      {1, 0, 1, CPoint(124, 100), -1}, {0, 0, 1, CPoint(100, 93), 5},   // the top border band
      {0, 0, 1, CPoint(100, 96), -1},
  };
  for (const auto& c : cases) {
    CAnnRectangle rect;
    Place(rect, CPoint(100, 100), CSize(20, 10));
    rect.GetInfo().SetFill(c.fill);
    rect.GetInfo().SetPenWidth(c.pen);
    rect.SetHandlesShown(c.shown);
    EXPECT_EQ(rect.HitTest(c.at.x, c.at.y), c.code) << c.at.x << "," << c.at.y << " fill " << c.fill;
  }
  // Handles in window pixels: corner 3 at (120, 110) with scroll (100, 100) at zoom 2.
  CAnnRectangle rect;
  Place(rect, CPoint(100, 100), CSize(20, 10));
  rect.GetInfo().SetZoom(2.0);
  rect.GetInfo().SetScrollOffset(100, 100);
  EXPECT_EQ(rect.HitTestHandleScreen(10, 5), 3);
  EXPECT_EQ(rect.HitTestHandleScreen(13, 8), 3);
  EXPECT_EQ(rect.HitTestHandleScreen(14, 5), -1);
  EXPECT_EQ(rect.HitTestHandleScreen(-10, -5), 1);
}

TEST_F(AnnRectangle, TheToleranceGrowsWithZoomAndPen) {
  const struct {
    double zoom;
    int pen;
    int tolerance;
  } cases[] = {{1.0, 10, 8}, {4.0, 1, 12}, {1.0, 1, 3}};
  for (const auto& c : cases) {
    CAnnRectangle rect;
    Place(rect, CPoint(100, 100), CSize(40, 40));
    rect.GetInfo().SetZoom(c.zoom);
    rect.GetInfo().SetPenWidth(c.pen);
    rect.SetHandlesShown(0);
    EXPECT_EQ(rect.HitTest(140 + c.tolerance, 100), 5) << c.zoom << "/" << c.pen;
    EXPECT_EQ(rect.HitTest(140 + c.tolerance + 1, 100), -1) << c.zoom << "/" << c.pen;
  }
}

TEST_F(AnnRectangle, LengthIsWidthPlusHeightAtAnyTurn) {
  CAnnRectangle rect;
  Place(rect, CPoint(60, 60), CSize(20, 10));
  EXPECT_EQ(rect.GetLength(), 60.0);
  rect.GetInfo().m_cos = std::cos(0.7);
  rect.GetInfo().m_sin = std::sin(0.7);
  EXPECT_EQ(rect.GetLength(), 60.0);
  EXPECT_EQ(CAnnRectangle().GetLength(), 0.0);  // nothing placed yet
}

TEST_F(AnnRectangle, PropertiesComeBackOnOkOnly) {
  CAnnRectangle rect;
  Place(rect, CPoint(60, 60), CSize(20, 10));
  CAnnObj::CAnnObjInfo& s = rect.GetInfo();
  s.SetPenWidth(3);
  s.SetPenColor(RGB(255, 0, 0));
  s.SetFillColor(RGB(0, 0, 255));
  std::string caption;
  responder::Push([&](const responder::Shown& shown) {
    caption = shown.caption;
    SetDlgItemTextA(shown.hwnd, 1025, "12");
    SendMessageA(GetDlgItem(shown.hwnd, 1029), BM_CLICK, 0, 0);  // fill
    SendMessageA(GetDlgItem(shown.hwnd, IDOK), BM_CLICK, 0, 0);
    return 0;
  });
  rect.EditProperties(canvas.dc());
  EXPECT_EQ(caption, "Rectangle Setting");
  EXPECT_EQ(s.m_penWidth, 12);
  EXPECT_EQ(s.m_fill, 1);
  EXPECT_EQ(s.m_penColor, RGB(255, 0, 0));
  EXPECT_EQ(s.m_fillColor, RGB(0, 0, 255));
  EXPECT_EQ(rect.GetDialogFailed(), 0);

  responder::Push([](const responder::Shown& shown) {
    SetDlgItemTextA(shown.hwnd, 1025, "40");
    SendMessageA(GetDlgItem(shown.hwnd, IDCANCEL), BM_CLICK, 0, 0);
    return 0;
  });
  rect.EditProperties(canvas.dc());
  EXPECT_EQ(s.m_penWidth, 12);

  responder::FailNextDialog();
  rect.EditProperties(canvas.dc());
  EXPECT_EQ(rect.GetDialogFailed(), 1);
  EXPECT_EQ(s.m_penWidth, 12);
}

}  // namespace
