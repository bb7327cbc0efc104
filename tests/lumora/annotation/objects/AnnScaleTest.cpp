// The scale bar: its tick layout and box margins from the bar length, pen width and
// divide code; the picture it draws from a document preset; its hit test; and the mouse,
// which only ever moves it.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "Boxes.h"
#include "Canvas.h"
#include "annotation/objects/AnnScale.h"
#include "control/VexDoc.h"

namespace {

constexpr COLORREF kBack = RGB(90, 120, 150);
constexpr COLORREF kPen = RGB(255, 255, 0);
constexpr COLORREF kFill = RGB(0, 0, 200);

// A bar from -half to half, `thickness` high, about `origin`.
void PlaceBar(CAnnScale& bar, int half, int thickness, int divide, CPoint origin = CPoint(200, 150)) {
  Place(bar, origin, Box(-half, -thickness / 2, half, thickness / 2));
  CAnnObj::CAnnObjInfo& s = bar.GetInfo();
  s.SetPenWidth(thickness);
  s.SetPenColor(kPen);
  s.SetFillColor(kFill);
  s.m_divide = static_cast<SHORT>(divide);
  s.m_font.lfHeight = -9;
  bar.Layout();
}

int TickCentre(const CAnnScale& bar, int i) { return (bar.GetTickCorner(i, 0).x + bar.GetTickCorner(i, 2).x) / 2; }

// The picture's pixels in `color`, and the box around them.
struct Found {
  int count = 0;
  CRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
};
Found FindColor(const Canvas& canvas, COLORREF color, CRect area) {
  Found f;
  for (int y = std::max(0, int(area.top)); y < std::min(canvas.height(), int(area.bottom)); ++y)
    for (int x = std::max(0, int(area.left)); x < std::min(canvas.width(), int(area.right)); ++x)
      if (canvas.At(x, y) == color) {
        ++f.count;
        f.box.left = std::min<LONG>(f.box.left, x);
        f.box.top = std::min<LONG>(f.box.top, y);
        f.box.right = std::max<LONG>(f.box.right, x + 1);
        f.box.bottom = std::max<LONG>(f.box.bottom, y + 1);
      }
  return f;
}

TEST(AnnScale, TickHalfWidthFollowsTheBarLength) {
  const struct {
    int length, halfWidth;
  } cases[] = {{20, 0}, {21, 1}, {50, 1}, {51, 2}, {100, 2}, {101, 3}, {500, 3},
               {501, 5}, {1000, 5}, {1001, 8}, {2000, 8}, {2001, 10}};
  for (const auto& c : cases) {
    CAnnScale bar;
    Place(bar, CPoint(0, 0), Box(0, -2, c.length, 2));
    bar.GetInfo().m_divide = 1;
    bar.Layout();
    EXPECT_EQ(bar.GetTickHalfWidth(), c.halfWidth) << c.length;
    EXPECT_EQ(bar.GetTickCorner(1, 2).x - bar.GetTickCorner(1, 0).x, 2 * c.halfWidth) << c.length;
  }
}

TEST(AnnScale, BoxMarginsGrowWithTheBarLength) {
  // Pen 10 gives a label lift of 6; font height -9. Box height = (5 + v) - min(-5 - v, -5 + a)
  // with v = trunc(6 s + 0.5) and a = trunc(-9 s + 0.5).
  const struct {
    int length, boxHeight;
  } cases[] = {{500, 32}, {501, 39}, {1500, 39}, {1501, 47}};
  for (const auto& c : cases) {
    CAnnScale bar;
    Place(bar, CPoint(0, 0), Box(0, -5, c.length, 5));
    bar.GetInfo().SetPenWidth(10);
    bar.GetInfo().m_font.lfHeight = -9;
    bar.GetInfo().m_divide = 1;
    bar.Layout();
    ASSERT_EQ(bar.GetLabelLift(), 6);
    Canvas canvas(40, 40);
    bar.Draw(canvas.dc());
    EXPECT_EQ(bar.GetBoxHeight(), c.boxHeight) << c.length;
  }
}

TEST(AnnScale, PenWidthOneGivesTheSmallestTicks) {
  CAnnScale bar;
  PlaceBar(bar, 50, 1, 10);
  EXPECT_EQ(bar.GetTickCorner(0, 1).y, 2);  // end tick: trunc(2.2)
  EXPECT_EQ(bar.GetTickCorner(2, 1).y, 2);  // middle tick: 1 + 1
  EXPECT_EQ(bar.GetTickCorner(3, 1).y, 1);  // minor tick: trunc(1.8)
  EXPECT_EQ(bar.GetTickCorner(3, 0).y, -1);
  EXPECT_EQ(bar.GetLabelLift(), 1);
}

TEST(AnnScale, DivideCodesBuildTheirTicksInTableOrder) {
  const struct {
    int divide;
    std::vector<int> centres;
  } cases[] = {
      {0, {}},
      {1, {-50, 50}},
      {2, {-50, 50, 0}},
      {4, {-50, 50, 0, -25, 25}},
      {5, {-50, 50, -30, -10, 10, 30}},
      {10, {-50, 50, 0, -40, -30, -20, -10, 10, 20, 30, 40}},
      {3, {}},
      {-1, {}},
  };
  for (const auto& c : cases) {
    CAnnScale bar;
    // A bar laid out before with every tick, so clearing shows.
    PlaceBar(bar, 50, 4, 10);
    bar.GetInfo().m_divide = static_cast<SHORT>(c.divide);
    bar.Layout();
    ASSERT_EQ(bar.GetTickCount(), static_cast<int>(c.centres.size())) << c.divide;
    for (size_t i = 0; i < c.centres.size(); ++i) EXPECT_EQ(TickCentre(bar, int(i)), c.centres[i]) << c.divide;
    for (int i = int(c.centres.size()); i < CAnnScale::kTickPolygons; ++i)
      for (int k = 0; k < 4; ++k) EXPECT_EQ(bar.GetTickCorner(i, k).x, CAnnScale::kClearedX) << c.divide;
  }
  // Code 0 builds its end tick for the sizes it sets, then clears it.
  CAnnScale fresh;
  PlaceBar(fresh, 50, 4, 0);
  EXPECT_EQ(fresh.GetTickHalfWidth(), 2);
  EXPECT_EQ(fresh.GetLabelLift(), 2);
}

TEST(AnnScale, StartsWithNoTicksAndTheTableCleared) {
  CAnnScale bar;
  EXPECT_EQ(bar.GetKind(), 8);
  EXPECT_EQ(bar.GetTickCount(), 0);
  EXPECT_EQ(bar.GetTickHalfWidth(), 0);
  EXPECT_EQ(bar.GetLabelLift(), 0);
  EXPECT_EQ(bar.GetBoxHeight(), 0);
  for (int i = 0; i < CAnnScale::kTickPolygons; ++i) EXPECT_EQ(bar.GetTickCorner(i, 3).x, CAnnScale::kClearedX);
}

// A 100 um preset of the document, 600 Fine pixels long and 30 wide, placed on a
// full-size picture shown at half size: a bar of 300 x 15 about (200, 150).
class ScaleFromDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    TheSettingSources() = VexSettingSources{};
    doc = std::make_unique<CVexDoc>();
    tScaleInfo p;
    doc->GetSelectedScale(p);
    p.barLength = 600;
    p.thickness = 30;
    p.lengthValue = 100;
    p.unit = 2;
    p.source = 0;
    p.divide = 10;
    p.penColor = kPen;
    p.fillColor = kFill;
    p.posX = 200;
    p.posY = 150;
    preset = p;
    doc->SetSelectedScale(p);
    doc->SetImageHeight(300);
  }
  // The bar of the preset as the display builds it.
  std::unique_ptr<CAnnScale> Build(int vertical, int filled) {
    preset.vertical = vertical;
    preset.filled = filled;
    doc->SetSelectedScale(preset);
    auto bar = std::make_unique<CAnnScale>();
    bar->GetInfo() = *doc->GetAnnObjInfo(0, 1, 0.5);
    bar->SetCreating(0);
    bar->SetValid(1);
    bar->Layout();
    return bar;
  }

  std::unique_ptr<CVexDoc> doc;
  tScaleInfo preset;
};

TEST_F(ScaleFromDocument, DrawsBarTicksAndTheLabelCentredAbove) {
  auto bar = Build(0, 0);
  ASSERT_EQ(bar->GetInfo().m_label, CString("100um"));
  ASSERT_EQ(bar->GetInfo().m_penWidth, 8);  // trunc(15 / 2 + 0.5)
  Canvas canvas(400, 300, kBack);
  bar->Draw(canvas.dc());
  // Bar: half height 4 around y = 150, from x = 50 to 350.
  EXPECT_EQ(canvas.At(200, 150), kPen);
  EXPECT_EQ(canvas.At(52, 153), kPen);
  EXPECT_EQ(canvas.At(348, 147), kPen);
  EXPECT_EQ(canvas.At(360, 150), kBack);
  // Ticks stand out of the bar: end ticks 10 up, the middle 9, minor ones 7.
  EXPECT_EQ(canvas.At(50, 141), kPen);
  EXPECT_EQ(canvas.At(350, 159), kPen);
  EXPECT_EQ(canvas.At(200, 142), kPen);
  EXPECT_EQ(canvas.At(80, 144), kPen);   // minor tick at local -120
  EXPECT_EQ(canvas.At(80, 141), kBack);  // ... no higher
  EXPECT_EQ(canvas.At(95, 144), kBack);  // between ticks
  // The label: above the bar and its ticks, centred on the middle.
  const Found label = FindColor(canvas, kPen, CRect(0, 0, 400, 140));
  ASSERT_GT(label.count, 20);
  EXPECT_NEAR(label.box.CenterPoint().x, 200, 3);
  EXPECT_LE(label.box.bottom, 141);
  EXPECT_EQ(FindColor(canvas, kPen, CRect(0, 161, 400, 300)).count, 0);
  // Unfilled: nothing of the box.
  EXPECT_EQ(FindColor(canvas, kFill, CRect(0, 0, 400, 300)).count, 0);
}

TEST_F(ScaleFromDocument, DrawAndDrawOnDCGiveTheSameBytes) {
  for (int filled : {0, 1}) {
    auto bar = Build(0, filled);
    Canvas a(400, 300, kBack), b(400, 300, kBack);
    bar->Draw(a.dc());
    CDC dc;
    dc.Attach(b.dc());
    bar->DrawOnDC(&dc);
    dc.Detach();
    EXPECT_EQ(a.Bytes(), b.Bytes()) << filled;
  }
}

TEST_F(ScaleFromDocument, AVerticalLabelRunsUpAlongTheBar) {
  Canvas flat(400, 300, kBack), upright(400, 300, kBack);
  Build(0, 0)->Draw(flat.dc());
  auto bar = Build(1, 0);
  EXPECT_EQ(bar->GetInfo().m_cos, 0.0);
  EXPECT_EQ(bar->GetInfo().m_sin, -1.0);
  bar->Draw(upright.dc());
  // The bar stands from y = 0 to 300 about x = 200; the label lies on its left.
  EXPECT_EQ(upright.At(200, 20), kPen);
  const Found horizontal = FindColor(flat, kPen, CRect(0, 0, 400, 140));
  const Found vertical = FindColor(upright, kPen, CRect(0, 0, 190, 300));
  ASSERT_GT(vertical.count, 20);
  // Turned a quarter to the left: the same text, its width now its height.
  EXPECT_NEAR(vertical.box.Height(), horizontal.box.Width(), 2);
  EXPECT_NEAR(vertical.box.Width(), horizontal.box.Height(), 2);
  EXPECT_NEAR(vertical.box.CenterPoint().y, 150, 3);
  EXPECT_LE(vertical.box.right, 200 - 4 - bar->GetLabelLift() + 1);
}

TEST_F(ScaleFromDocument, AFilledBoxStandsBehindBarAndLabel) {
  auto bar = Build(0, 1);
  Canvas canvas(400, 300, kBack);
  bar->Draw(canvas.dc());
  // Margins: 2 x tick half-width (3) = 6 beside the corners; v = trunc(5 x 1.5 + 0.5) = 8
  // below the lower corners (local y 8); the top leaves room for the label (font 30).
  const Found box = FindColor(canvas, kFill, CRect(0, 0, 400, 300));
  ASSERT_GT(box.count, 0);
  EXPECT_EQ(bar->GetBoxHeight(), 68);  // 8 + 8 - min(-8 - 8, -8 + trunc(-30 x 1.5 + 0.5))
  EXPECT_EQ(box.box.left, 44);
  EXPECT_EQ(box.box.right, 357);
  EXPECT_EQ(box.box.bottom, 150 + 8 + 8 + 1);
  EXPECT_EQ(box.box.top, 150 + 8 + 8 - 68);
  EXPECT_EQ(canvas.At(200, 150), kPen);  // the bar over the box
  EXPECT_EQ(canvas.At(40, 150), kBack);
}

TEST_F(ScaleFromDocument, DrawXorTwiceRestoresEveryByte) {
  auto bar = Build(0, 1);
  Canvas canvas(400, 300, kBack);
  bar->Draw(canvas.dc());
  const std::vector<uint8_t> before = canvas.Bytes();
  bar->DrawXor(canvas.dc());
  // The bar's area, one pixel larger, is inverted; beyond it nothing changes.
  EXPECT_EQ(canvas.At(200, 150), RGB(0, 0, 255));
  EXPECT_EQ(canvas.At(52, 146), RGB(0, 0, 255));
  EXPECT_GT(canvas.Changed(before), 290 * 9);
  EXPECT_EQ(FindColor(canvas, RGB(0, 0, 255), CRect(0, 0, 400, 144)).count, 0);
  EXPECT_EQ(FindColor(canvas, RGB(0, 0, 255), CRect(0, 157, 400, 300)).count, 0);
  bar->DrawXor(canvas.dc());
  EXPECT_EQ(canvas.Bytes(), before);
}

TEST(AnnScale, ACloneIsNotLaidOutAndDrawsNoTicks) {
  CAnnScale bar;
  PlaceBar(bar, 50, 4, 10);
  auto copy = bar.Clone();
  ASSERT_NE(copy, nullptr);
  auto* clone = dynamic_cast<CAnnScale*>(copy.get());
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->GetTickCount(), 0);
  EXPECT_EQ(clone->IsCreating(), 0);
  EXPECT_EQ(clone->IsValid(), 1);
  // It draws as a bar without ticks would.
  CAnnScale plain;
  PlaceBar(plain, 50, 4, 3);
  Canvas a(400, 300), b(400, 300);
  clone->Draw(a.dc());
  plain.Draw(b.dc());
  EXPECT_EQ(a.Bytes(), b.Bytes());
  clone->Layout();
  EXPECT_EQ(clone->GetTickCount(), 11);
}

TEST(AnnScale, HitTestAnswersCornersOnlyWhileHandlesShow) {
  CAnnScale bar;
  PlaceBar(bar, 50, 10, 1, CPoint(100, 100));
  Canvas canvas(200, 200);
  bar.Draw(canvas.dc());  // sets the box height
  const int top = 100 + 5 - bar.GetBoxHeight() / 2;
  const struct {
    CPoint point;
    int hidden, shown;
  } cases[] = {
      {CPoint(50, 95), 6, 1},          // P0
      {CPoint(150, 105), 6, 3},        // P2
      {CPoint(100, 100), 6, 6},        // the bar
      {CPoint(100, top - 7), 6, 6},    // the upper half of the box, within 8 (pen 10 / 2 + 3)
      {CPoint(100, top - 9), -1, -1},  // above it
      {CPoint(159, 100), -1, -1},      // beyond the end
      {CPoint(100, 114), -1, -1},      // below
  };
  for (const auto& c : cases) {
    bar.SetHandlesShown(0);
    EXPECT_EQ(bar.HitTest(c.point.x, c.point.y), c.hidden) << c.point.x << "," << c.point.y;
    bar.SetHandlesShown(1);
    EXPECT_EQ(bar.HitTest(c.point.x, c.point.y), c.shown) << c.point.x << "," << c.point.y;
  }
}

TEST(AnnScale, EveryPressMovesTheBarAndTheReleaseLaysItOut) {
  for (CPoint press : {CPoint(50, 95), CPoint(50, 105), CPoint(150, 105), CPoint(150, 95), CPoint(100, 100)}) {
    CAnnScale bar;
    PlaceBar(bar, 50, 10, 0, CPoint(100, 100));
    bar.SetHandlesShown(1);
    Canvas canvas(300, 300);
    bar.Draw(canvas.dc());
    bar.GetInfo().m_divide = 5;  // what the next Layout builds
    bar.OnButtonDown(canvas.dc(), 0, press);
    EXPECT_EQ(bar.IsSelected(), 1);
    bar.OnMouseMove(canvas.dc(), MK_LBUTTON, press + CPoint(30, 20));
    bar.OnMouseMove(canvas.dc(), MK_LBUTTON, press + CPoint(40, 25));
    EXPECT_EQ(bar.GetTickCount(), 0);
    bar.OnButtonUp(canvas.dc(), 0, press + CPoint(40, 25));
    EXPECT_EQ(bar.GetOrigin(), CPoint(140, 125)) << press.x << "," << press.y;
    EXPECT_EQ(bar.PointAt(0), CPoint(-50, -5));
    EXPECT_EQ(bar.PointAt(2), CPoint(50, 5));
    EXPECT_EQ(bar.GetTickCount(), 6);
    EXPECT_EQ(bar.GetAnchor(), CPoint(0, 0));
  }
}

TEST(AnnScale, MissesMovesWithoutButtonAndCreationMoveNothing) {
  CAnnScale bar;
  PlaceBar(bar, 50, 10, 1, CPoint(100, 100));
  Canvas canvas(300, 300);
  bar.Draw(canvas.dc());
  bar.OnButtonDown(canvas.dc(), 0, CPoint(250, 250));
  EXPECT_EQ(bar.IsSelected(), 0);
  bar.OnMouseMove(canvas.dc(), MK_LBUTTON, CPoint(260, 260));
  bar.OnButtonUp(canvas.dc(), 0, CPoint(260, 260));
  EXPECT_EQ(bar.GetOrigin(), CPoint(100, 100));

  bar.OnButtonDown(canvas.dc(), 0, CPoint(100, 100));
  bar.OnMouseMove(canvas.dc(), 0, CPoint(130, 130));  // no button held
  EXPECT_EQ(bar.GetOrigin(), CPoint(100, 100));
  bar.OnButtonUp(canvas.dc(), 0, CPoint(130, 130));

  bar.SetCreating(1);
  bar.OnButtonDown(canvas.dc(), 0, CPoint(100, 100));
  bar.OnMouseMove(canvas.dc(), MK_LBUTTON, CPoint(130, 130));
  EXPECT_EQ(bar.GetOrigin(), CPoint(100, 100));
}

TEST(AnnScale, AMoveOfABarUnderThreePixelsIsUndone) {
  CAnnScale bar;
  Place(bar, CPoint(100, 100), Box(-1, -1, 1, 1));
  bar.GetInfo().SetPenWidth(2);
  bar.GetInfo().m_divide = 1;
  bar.Layout();
  Canvas canvas(300, 300);
  bar.Draw(canvas.dc());
  bar.OnButtonDown(canvas.dc(), 0, CPoint(100, 100));
  ASSERT_EQ(bar.IsSelected(), 1);
  bar.OnMouseMove(canvas.dc(), MK_LBUTTON, CPoint(150, 140));
  EXPECT_EQ(bar.GetOrigin(), CPoint(150, 140));
  bar.OnButtonUp(canvas.dc(), 0, CPoint(150, 140));
  EXPECT_EQ(bar.GetOrigin(), CPoint(100, 100));
  EXPECT_EQ(bar.GetTickCount(), 2);
}

TEST(AnnScale, HandlesAreDrawnInWindowPixels) {
  CAnnScale bar;
  PlaceBar(bar, 50, 10, 1, CPoint(200, 200));
  bar.GetInfo().SetZoom(2.0);
  bar.GetInfo().SetScrollOffset(40, 20);
  Canvas canvas(300, 300, RGB(0, 0, 0));
  bar.DrawHandles(canvas.dc());
  // P0 at picture (150, 195) shows at ((150 - 40) / 2, (195 - 20) / 2) = (55, 87).
  EXPECT_EQ(canvas.At(51, 87), RGB(255, 255, 255));  // the square's left edge, inverted
  EXPECT_EQ(canvas.At(45, 87), RGB(0, 0, 0));
  EXPECT_EQ(bar.GetLength(), 110.0);  // as the rectangle measures: 100 + 10
}

}  // namespace
