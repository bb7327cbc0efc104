// The annotation base: its state record, the transforms between its frames, the drag
// rotation, snapshots and clones.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Boxes.h"
#include "Canvas.h"
#include "annotation/objects/AnnEllipse.h"
#include "annotation/objects/AnnRectangle.h"

namespace {

// Exposes the window step, which only the handles use.
struct Probe : CAnnRectangle {
  using CAnnObj::ImageToWindow;
};

double DegreesOf(const CAnnObj::CAnnObjInfo& s) { return std::atan2(s.m_sin, s.m_cos) * 180.0 / 3.14159265358979; }

TEST(AnnObjInfo, StartsWithTheDefaultFontPenAndZoom) {
  const CAnnObj::CAnnObjInfo info;
  EXPECT_EQ(info.m_fontSize, 11);
  EXPECT_EQ(info.m_penWidth, 1);
  EXPECT_EQ(info.m_fill, 0);
  EXPECT_EQ(info.m_divide, 0);
  EXPECT_EQ(info.m_origin, CPoint(0, 0));
  EXPECT_EQ(info.m_cos, 1.0);
  EXPECT_EQ(info.m_sin, 0.0);
  EXPECT_EQ(info.m_zoom, 1.0);
  const LOGFONTA& f = info.m_font;
  EXPECT_EQ(f.lfHeight, -15);
  EXPECT_EQ(f.lfWidth, 0);
  EXPECT_EQ(f.lfWeight, 400);
  EXPECT_EQ(f.lfCharSet, 128);
  EXPECT_EQ(f.lfOutPrecision, 0);
  EXPECT_EQ(f.lfClipPrecision, 0);
  EXPECT_EQ(f.lfQuality, 0);
  EXPECT_EQ(f.lfPitchAndFamily, 0x12);
  EXPECT_STREQ(f.lfFaceName, "ＭＳ Ｐゴシック");
}

TEST(AnnObjInfo, CopiesDeeplyWithEveryField) {
  CAnnObj::CAnnObjInfo a;
  a.m_points = {CPoint(1, 2), CPoint(3, 4)};
  a.m_rubberPoints = {CPoint(5, 6)};
  a.m_label = "10um";
  a.m_divide = 5;
  a.SetZoom(2.5);
  a.SetPenColor(RGB(1, 2, 3));
  CAnnObj::CAnnObjInfo b;
  b.m_points.assign(7, CPoint(9, 9));
  b = a;
  a.m_points[0] = CPoint(-1, -1);
  a.m_rubberPoints.clear();
  a.m_label = "";
  EXPECT_EQ(b.m_points, (std::vector<CPoint>{CPoint(1, 2), CPoint(3, 4)}));
  EXPECT_EQ(b.m_rubberPoints, std::vector<CPoint>{CPoint(5, 6)});
  EXPECT_EQ(b.m_label, CString("10um"));
  EXPECT_EQ(b.m_divide, 5);
  EXPECT_EQ(b.m_zoom, 2.5);
  EXPECT_EQ(b.m_penColor, RGB(1, 2, 3));
}

TEST(AnnObjInfo, SettersStoreOneValueAndRefuseABadZoom) {
  CAnnObj::CAnnObjInfo info;
  info.SetFontSize(240);
  EXPECT_EQ(info.m_fontSize, 240);
  EXPECT_EQ(info.m_font.lfHeight, -15);  // the size does not touch the font
  LOGFONTA bold = info.m_font;
  bold.lfWeight = 700;
  info.SetFont(bold);
  EXPECT_EQ(info.m_font.lfWeight, 700);
  info.SetScrollOffset(20, 10);
  EXPECT_EQ(info.m_scroll, CPoint(20, 10));
  for (double zoom : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    info.SetZoom(2.0);
    info.SetZoom(zoom);
    EXPECT_EQ(info.m_zoom, 2.0) << zoom;
  }
  info.m_points = {CPoint(1, 1)};
  info.m_rubberPoints = {CPoint(1, 1)};
  info.ClearPoints();
  EXPECT_TRUE(info.m_points.empty());
  EXPECT_TRUE(info.m_rubberPoints.empty());
}

TEST(AnnObj, TransformsRotateThenShiftAndTruncateTowardZero) {
  const struct {
    double cos, sin;
    CPoint origin, local, image;
  } cases[] = {
      {1, 0, CPoint(0, 0), CPoint(7, -3), CPoint(7, -3)},     // the default state changes nothing
      {0, 1, CPoint(50, 60), CPoint(10, 0), CPoint(50, 70)},  // a quarter turn
      {0, 1, CPoint(50, 60), CPoint(3, 4), CPoint(46, 63)},
      {0.6, 0.8, CPoint(5, 5), CPoint(0, 0), CPoint(5, 5)},      // the origin stays put at any turn
      {-0.6, 0.8, CPoint(0, 0), CPoint(1, 0), CPoint(0, 0)},     // -0.6 and 0.8 both become 0
      {0.6, -0.8, CPoint(0, 0), CPoint(-3, -1), CPoint(-2, 1)},  // -2.6 -> -2, 1.8 -> 1
  };
  for (const auto& c : cases) {
    CAnnObj obj;
    obj.GetInfo().m_cos = c.cos;
    obj.GetInfo().m_sin = c.sin;
    obj.SetOrigin(c.origin);
    CPoint p = c.local;
    EXPECT_EQ(obj.AddOrigin(obj.RotatePoint(p)), c.image) << c.local.x << "," << c.local.y;
  }
  CAnnObj turned;
  turned.GetInfo().m_cos = 0;
  turned.GetInfo().m_sin = 1;
  turned.SetOrigin(CPoint(50, 60));
  CPoint q(50, 70);
  EXPECT_EQ(turned.UnrotatePoint(turned.SubtractOrigin(q)), CPoint(10, 0));
}

TEST(AnnObj, HandlesAreEightWindowPixelsAtAnyZoom) {
  Probe obj;
  obj.GetInfo().SetZoom(2.0);
  obj.GetInfo().SetScrollOffset(20, 10);
  EXPECT_EQ(obj.ImageToWindow(CPoint(100, 50)), CPoint(40, 20));
  Canvas canvas(8, 8);
  obj.Draw(canvas.dc());
  EXPECT_EQ(obj.GetHandleSize(), 16);
}

TEST(AnnObj, PointListsAreReadAndWrittenOnlyWithinThem) {
  CAnnObj obj;
  obj.AddPoint(CPoint(1, 2));
  obj.AddWorking(CPoint(3, 4));
  obj.SetPointAt(5, CPoint(9, 9));
  obj.SetWorkingAt(-1, CPoint(9, 9));
  EXPECT_EQ(obj.PointAt(0), CPoint(1, 2));
  EXPECT_EQ(obj.PointAt(1), CPoint(0, 0));
  EXPECT_EQ(obj.WorkingAt(-1), CPoint(0, 0));
  EXPECT_EQ(obj.GetWorkingCount(), 1);
  obj.ClearWorking();
  EXPECT_EQ(obj.GetWorkingCount(), 0);
  EXPECT_EQ(obj.GetInfo().m_points.size(), 1u);
}

TEST(AnnObj, SelectMissesThenHits) {
  CAnnRectangle rect;
  Place(rect, CPoint(100, 100), CSize(20, 10));
  rect.GetInfo().SetFill(1);
  EXPECT_EQ(rect.Select(10, 10), 0);
  EXPECT_EQ(rect.IsSelected(), 0);
  EXPECT_EQ(rect.Select(100, 100), 1);
  EXPECT_EQ(rect.IsSelected(), 1);
  EXPECT_EQ(rect.Select(10, 10, 1.0), 0);
}

TEST(AnnObj, DragRotationsAddUpAndAPointOnThePivotKeepsTheTurn) {
  CAnnObj obj;
  // 866 / 500 is 30 degrees to within a thousandth.
  obj.ApplyDragRotation(CPoint(1000, 0), CPoint(866, 500), CPoint(0, 0));
  EXPECT_NEAR(DegreesOf(obj.GetInfo()), 30.0, 0.01);
  obj.ApplyDragRotation(CPoint(1010, 20), CPoint(876, 520), CPoint(10, 20));
  EXPECT_NEAR(DegreesOf(obj.GetInfo()), 60.0, 0.01);
  const double cos = obj.GetInfo().m_cos, sin = obj.GetInfo().m_sin;
  obj.ApplyDragRotation(CPoint(10, 0), CPoint(0, 0), CPoint(0, 0));  // the mouse on the pivot
  obj.ApplyDragRotation(CPoint(0, 0), CPoint(10, 0), CPoint(0, 0));  // the corner on the pivot
  EXPECT_EQ(obj.GetInfo().m_cos, cos);
  EXPECT_EQ(obj.GetInfo().m_sin, sin);
  EXPECT_FALSE(std::isnan(cos));
}

TEST(AnnObj, RestoreStateBringsBackTheWholeSavedState) {
  CAnnEllipse obj;
  Place(obj, CPoint(40, 50), CSize(10, 6));
  CAnnObj::CAnnObjInfo& s = obj.GetInfo();
  s.m_cos = 0.6;
  s.m_sin = 0.8;
  s.SetPenColor(RGB(200, 0, 0));
  s.SetZoom(0.5);
  s.m_font.lfItalic = 1;
  obj.SaveState();
  obj.RestoreState();  // nothing changed in between
  EXPECT_EQ(s.m_points, obj.GetSavedInfo().m_points);
  EXPECT_EQ(s.m_cos, 0.6);
  EXPECT_EQ(s.m_origin, CPoint(40, 50));
  EXPECT_EQ(s.m_font.lfItalic, 1);
  EXPECT_EQ(s.m_penColor, RGB(200, 0, 0));
  EXPECT_EQ(s.m_zoom, 0.5);

  s.m_points[2] = CPoint(99, 99);
  s.m_origin = CPoint(0, 0);
  s.m_cos = 1;
  s.SetFillColor(RGB(0, 0, 255));
  obj.RestoreState();
  EXPECT_EQ(s.m_points[2], CPoint(10, 6));
  EXPECT_EQ(s.m_origin, CPoint(40, 50));
  EXPECT_EQ(s.m_cos, 0.6);
  EXPECT_EQ(s.m_fillColor, RGB(0, 0, 0));
}

TEST(AnnObj, ClonesCopyTheStateButNotTheEditFlags) {
  const struct { int creating, valid; } cases[] = {{1, 0}, {0, 0}, {0, 1}};
  for (const auto& c : cases) {
    CAnnEllipse obj;
    Place(obj, CPoint(30, 30), CSize(5, 5));
    obj.SetCreating(c.creating);
    obj.SetValid(c.valid);
    obj.SetHandlesShown(1);
    obj.SetHitHandle(3);
    obj.Select(30, 35);
    std::unique_ptr<CAnnObj> copy = obj.Clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetKind(), 2);
    EXPECT_EQ(copy->IsCreating(), 0) << c.creating;
    EXPECT_EQ(copy->IsValid(), c.valid);
    EXPECT_EQ(copy->IsSelected(), 0);
    EXPECT_EQ(copy->AreHandlesShown(), 0);
    EXPECT_EQ(copy->GetHitHandle(), -1);
    EXPECT_EQ(copy->GetInfo().m_points, obj.GetInfo().m_points);
    EXPECT_TRUE(copy->GetSavedInfo().m_points.empty());
    obj.GetInfo().m_points[0] = CPoint(0, 0);  // the copy shares nothing
    EXPECT_EQ(copy->GetInfo().m_points[0], CPoint(-5, -5));
  }
  EXPECT_EQ(CAnnRectangle().Clone()->GetKind(), 1);
  EXPECT_EQ(CAnnObj().Clone(), nullptr);
}

TEST(AnnObj, TheBaseOperationsAreNeutral) {
  CAnnObj obj;
  Canvas canvas(4, 4);
  EXPECT_EQ(obj.HitTest(0, 0), -1);
  EXPECT_EQ(obj.HitTestHandleScreen(0, 0), -1);
  EXPECT_EQ(obj.CreateDrag(canvas.dc(), CPoint(1, 1)), 1);
  EXPECT_EQ(obj.DeleteSelectedVertex(), 0);
  EXPECT_EQ(obj.CanRotate(), 1);
  EXPECT_EQ(obj.IsCreating(), 1);
  EXPECT_EQ(obj.GetHitHandle(), -1);
  EXPECT_EQ(obj.GetHandleSize(), 8);
  obj.SetValid(1);
  EXPECT_EQ(obj.IsEnabled(), 1);  // drawn while valid
  obj.SetOption(7);               // a word nothing reads
  EXPECT_EQ(obj.IsEnabled(), 1);
  const auto before = canvas.Bytes();
  obj.Draw(canvas.dc());
  obj.DrawXor(canvas.dc());
  EXPECT_EQ(canvas.Changed(before), 0);
}

}  // namespace
