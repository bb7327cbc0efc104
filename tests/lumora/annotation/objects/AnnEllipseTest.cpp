// The ellipse: its curve from the half axes, the rubber band's coarser step, hit testing
// along y, the empty box, and an ellipse far wider than any fixed buffer.
#include <gtest/gtest.h>

#include "Boxes.h"
#include "Canvas.h"
#include "annotation/objects/AnnEllipse.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

TEST(AnnEllipse, TheCurveRunsAlongTheLowerHalfAndBackAlongTheUpper) {
  const std::vector<CPoint> curve = CAnnEllipse::CurvePoints(Box(-20, -10, 20, 10), 2);
  ASSERT_EQ(curve.size(), 40u);
  EXPECT_EQ(curve[0], CPoint(-20, 0));                                   // i = 0
  EXPECT_EQ(curve[10], CPoint(0, 10));                                   // i = 20
  EXPECT_EQ(curve[20], CPoint(20, 0));                                   // i = 40
  EXPECT_EQ(curve[30], CPoint(0, -10));                                  // i = 60
  EXPECT_TRUE(CAnnEllipse::CurvePoints(Box(5, -10, 5, 10), 2).empty());  // no width
  EXPECT_TRUE(CAnnEllipse::CurvePoints({CPoint(0, 0)}, 2).empty());
}

TEST(AnnEllipse, TheRubberBandTakesACoarserStepWhenWide) {
  const struct {
    int width, step;
  } cases[] = {{40, 2}, {499, 2}, {500, 16}, {999, 16}, {1000, 32}, {1999, 32}, {2000, 64}, {12000, 64}};
  for (const auto& c : cases) EXPECT_EQ(CAnnEllipse::RubberBandStep(c.width), c.step) << c.width;
  // 600 pixels wide: 75 points while dragging, 600 when drawn.
  const auto box = Box(-300, -100, 300, 100);
  EXPECT_EQ(CAnnEllipse::CurvePoints(box, CAnnEllipse::RubberBandStep(600)).size(), 75u);
  EXPECT_EQ(CAnnEllipse::CurvePoints(box, 2).size(), 600u);
}

TEST(AnnEllipse, HitsAreMeasuredAlongYAtThePointsOwnX) {
  const struct {
    int fill, shown;
    CPoint at;
    int code;
  } cases[] = {
      {0, 0, CPoint(100, 100), -1},                               // the centre of an outline
      {1, 0, CPoint(100, 100), 6},  {0, 0, CPoint(100, 110), 5},  // on the curve
      {0, 0, CPoint(100, 113), 5},                                // within 3.5 of it
      {0, 0, CPoint(100, 114), -1}, {0, 0, CPoint(120, 100), 5},  // the end of the long axis
      {0, 0, CPoint(125, 100), -1},                               // beyond the box and its handle margin
      {0, 0, CPoint(80, 90), -1},                                 // a corner of the box, off the curve
      {0, 1, CPoint(80, 90), 1},                                  // ...its handle while the handles show
  };
  for (const auto& c : cases) {
    CAnnEllipse ellipse;
    Place(ellipse, CPoint(100, 100), Box(-20, -10, 20, 10));
    ellipse.GetInfo().SetFill(c.fill);
    ellipse.SetHandlesShown(c.shown);
    EXPECT_EQ(ellipse.HitTest(c.at.x, c.at.y), c.code) << c.at.x << "," << c.at.y;
  }
}

TEST(AnnEllipse, AnEmptyBoxDrawsNothingAndIsHitOnlyOnItsHandles) {
  Canvas canvas(100, 100);
  CAnnEllipse ellipse;
  Place(ellipse, CPoint(50, 50), Box(0, -20, 0, 20));
  ellipse.GetInfo().SetFill(1);
  ellipse.GetInfo().SetPenWidth(5);
  const auto before = canvas.Bytes();
  ellipse.Draw(canvas.dc());
  ellipse.DrawXor(canvas.dc());
  EXPECT_EQ(canvas.Changed(before), 0);
  EXPECT_EQ(ellipse.HitTest(50, 50), -1);
  EXPECT_EQ(ellipse.HitTest(50, 30), -1);
  ellipse.SetHandlesShown(1);
  EXPECT_EQ(ellipse.HitTest(50, 30), 1);
  EXPECT_EQ(ellipse.GetLength(), -1.0);
}

TEST(AnnEllipse, ShiftMakesACircle) {
  Canvas canvas(200, 200);
  CAnnEllipse ellipse;
  ellipse.OnButtonDown(canvas.dc(), 0, CPoint(20, 20), 1.0);
  ellipse.OnMouseMove(canvas.dc(), MK_LBUTTON | MK_SHIFT, CPoint(120, 60), 1.0);
  ellipse.OnButtonUp(canvas.dc(), MK_SHIFT, CPoint(120, 60), 1.0);
  ASSERT_EQ(ellipse.IsValid(), 1);
  const auto& p = ellipse.GetInfo().m_points;
  EXPECT_EQ(p[2].x - p[0].x, p[2].y - p[0].y);
  EXPECT_EQ(p[2].x - p[0].x, 40);
  EXPECT_EQ(ellipse.GetLength(), -1.0);
}

TEST(AnnEllipse, AVeryWideEllipseDrawsWithinItsBuffers) {
  Canvas canvas(300, 200);
  CAnnEllipse ellipse;
  Place(ellipse, CPoint(150, 100), Box(-6000, -90, 6000, 90));
  ellipse.GetInfo().SetPenWidth(3);
  ellipse.GetInfo().SetPenColor(RGB(255, 0, 0));
  const auto before = canvas.Bytes();
  ellipse.Draw(canvas.dc());
  EXPECT_GT(canvas.Changed(before), 0);
  EXPECT_EQ(canvas.At(150, 190), RGB(255, 0, 0));  // the lower curve crosses the middle at y = 190
  const auto drawn = canvas.Bytes();
  ellipse.DrawXor(canvas.dc());
  ellipse.DrawXor(canvas.dc());
  EXPECT_EQ(canvas.Bytes(), drawn);
}

TEST(AnnEllipse, PropertiesOpenTheEllipseVariant) {
  responder::Reset();
  CAnnEllipse ellipse;
  Place(ellipse, CPoint(50, 50), Box(-20, -10, 20, 10));
  std::string caption, square;
  responder::Push([&](const responder::Shown& shown) {
    caption = shown.caption;
    char text[64] = {};
    GetDlgItemTextA(shown.hwnd, 1028, text, sizeof text);
    square = text;
    SendMessageA(GetDlgItem(shown.hwnd, 1028), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(shown.hwnd, IDOK), BM_CLICK, 0, 0);
    return 0;
  });
  Canvas canvas(4, 4);
  ellipse.EditProperties(canvas.dc());
  EXPECT_EQ(caption, "Ellipse Setting");
  EXPECT_EQ(square, "Circle");
  EXPECT_EQ(ellipse.GetInfo().m_square, 1);
  responder::Reset();
}

}  // namespace
