// What the box kinds leave in a picture: filled and outlined shapes turned by 30 degrees,
// the inverted rubber band that a second drawing takes away, and the handles in window
// pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "Boxes.h"
#include "Canvas.h"
#include "annotation/objects/AnnEllipse.h"
#include "annotation/objects/AnnRectangle.h"

namespace {

constexpr COLORREF kBack = RGB(90, 120, 150);
constexpr COLORREF kPen = RGB(255, 255, 0);
constexpr COLORREF kFill = RGB(0, 0, 200);

std::unique_ptr<CAnnObj> Make(int kind) {
  if (kind == 1) return std::make_unique<CAnnRectangle>();
  return std::make_unique<CAnnEllipse>();
}

// A box of 80 x 40 about (100, 100), turned by 30 degrees, pen 5.
void PlaceTurned(CAnnObj& obj, int fill) {
  Place(obj, CPoint(100, 100), CSize(40, 20));
  CAnnObj::CAnnObjInfo& s = obj.GetInfo();
  s.m_cos = std::cos(3.14159265358979 / 6);
  s.m_sin = std::sin(3.14159265358979 / 6);
  s.SetPenWidth(5);
  s.SetPenColor(kPen);
  s.SetFillColor(kFill);
  s.SetFill(fill);
}

TEST(AnnDrawing, FilledAndOutlinedShapesTurnedBy30Degrees) {
  const struct {
    int kind, fill;
    CPoint edge;  // a local point on the outline
  } cases[] = {{1, 1, CPoint(40, 0)}, {1, 0, CPoint(40, 0)}, {1, 1, CPoint(0, 20)},
               {2, 1, CPoint(40, 0)}, {2, 0, CPoint(0, 20)}, {2, 0, CPoint(0, -20)}};
  for (const auto& c : cases) {
    Canvas canvas(200, 200, kBack);
    auto obj = Make(c.kind);
    PlaceTurned(*obj, c.fill);
    obj->Draw(canvas.dc());
    const CPoint edge = ImageOf(*obj, c.edge);
    const CPoint inside = ImageOf(*obj, CPoint(c.edge.x / 2, c.edge.y / 2));
    const CPoint outside = ImageOf(*obj, CPoint(c.edge.x * 3 / 2, c.edge.y * 3 / 2));
    EXPECT_EQ(canvas.At(edge.x, edge.y), kPen) << c.kind << "/" << c.fill;
    EXPECT_EQ(canvas.At(inside.x, inside.y), c.fill ? kFill : kBack) << c.kind << "/" << c.fill;
    EXPECT_EQ(canvas.At(100, 100), c.fill ? kFill : kBack);
    EXPECT_EQ(canvas.At(outside.x, outside.y), kBack) << c.kind << "/" << c.fill;
  }
  // The rectangle's corner is drawn; the ellipse's is not.
  for (int kind : {1, 2}) {
    Canvas canvas(200, 200, kBack);
    auto obj = Make(kind);
    PlaceTurned(*obj, 0);
    obj->Draw(canvas.dc());
    const CPoint corner = ImageOf(*obj, CPoint(39, 19));
    EXPECT_EQ(canvas.At(corner.x, corner.y), kind == 1 ? kPen : kBack) << kind;
  }
}

TEST(AnnDrawing, TheRubberBandDrawnTwiceLeavesEveryByte) {
  for (int kind : {1, 2}) {
    Canvas canvas(200, 200, kBack);
    canvas.Set(100, 80, RGB(1, 2, 3));
    auto obj = Make(kind);
    PlaceTurned(*obj, 1);
    obj->Draw(canvas.dc());  // over a drawn shape as well
    const auto before = canvas.Bytes();
    obj->DrawXor(canvas.dc());
    EXPECT_GT(canvas.Changed(before), 100) << kind;
    obj->DrawXor(canvas.dc());
    EXPECT_EQ(canvas.Changed(before), 0) << kind;
  }
  // A whole drag: press, moves, and the band erased again before the release.
  Canvas canvas(200, 200, kBack);
  const auto clean = canvas.Bytes();
  CAnnEllipse ellipse;
  ellipse.GetInfo().SetPenWidth(5);
  ellipse.OnButtonDown(canvas.dc(), 0, CPoint(30, 40), 1.0);
  ellipse.OnMouseMove(canvas.dc(), MK_LBUTTON, CPoint(90, 120), 1.0);
  ellipse.OnMouseMove(canvas.dc(), MK_LBUTTON, CPoint(150, 90), 1.0);
  ellipse.DrawXor(canvas.dc());
  EXPECT_EQ(canvas.Changed(clean), 0);
}

TEST(AnnDrawing, DrawReadsTheStateAndChangesOnlyTheHandleSize) {
  Canvas canvas(200, 200, kBack);
  CAnnRectangle rect;
  PlaceTurned(rect, 1);
  rect.GetInfo().SetZoom(0.5);
  rect.SaveState();
  rect.OnButtonDown(canvas.dc(), 0, CPoint(100, 100), 1.0);  // a drag in progress
  rect.OnMouseMove(canvas.dc(), MK_LBUTTON, CPoint(110, 104), 1.0);
  const CAnnObj::CAnnObjInfo before = rect.GetInfo();
  const CPoint anchor = rect.GetAnchor();
  rect.Draw(canvas.dc());
  EXPECT_EQ(rect.GetInfo().m_rubberPoints, before.m_rubberPoints);
  EXPECT_EQ(rect.GetInfo().m_points, before.m_points);
  EXPECT_EQ(rect.GetOrigin(), before.m_origin);
  EXPECT_EQ(rect.GetAnchor(), anchor);
  EXPECT_EQ(rect.GetHitHandle(), 6);
  EXPECT_EQ(rect.GetHandleSize(), 4);
}

TEST(AnnDrawing, HandlesSitOnTheCornersInWindowPixels) {
  Canvas canvas(120, 120, kBack);
  CAnnRectangle rect;
  Place(rect, CPoint(100, 80), CSize(40, 20));
  rect.GetInfo().SetZoom(2.0);
  rect.GetInfo().SetScrollOffset(20, 10);
  CPen black(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(canvas.dc(), black);
  const auto before = canvas.Bytes();
  rect.DrawHandles(canvas.dc());
  SelectObject(canvas.dc(), old);
  // Corner 1 at picture (60, 60) is window (20, 25); corner 3 at (140, 100) is (60, 45).
  for (CPoint w : {CPoint(20, 25), CPoint(20, 45), CPoint(60, 45), CPoint(60, 25)}) {
    EXPECT_EQ(canvas.At(w.x + 2, w.y - 2), RGB(255, 255, 255)) << w.x << "," << w.y;
    EXPECT_EQ(canvas.At(w.x - 4, w.y - 4), RGB(0, 0, 0)) << w.x << "," << w.y;  // the square's outline
    EXPECT_EQ(canvas.At(w.x - 6, w.y - 6), kBack);
  }
  EXPECT_EQ(canvas.At(40, 35), kBack);  // inside the frame
  // The frame between the handles is drawn (solid, then dotted and inverted over it).
  int framed = 0;
  for (int x = 26; x < 55; ++x) framed += canvas.At(x, 25) != kBack;
  EXPECT_GT(framed, 20);
  EXPECT_EQ(canvas.Changed(before) > 0, true);
  EXPECT_EQ(GetROP2(canvas.dc()), R2_COPYPEN);
  EXPECT_EQ(GetBkMode(canvas.dc()), OPAQUE);
}

}  // namespace
