// The line and the measuring line: shaft and arrow heads, the 45-degree snap, creation by
// a drag, end handles, hit tolerances, the crosses of a measuring line and its end mark.
#include <gtest/gtest.h>

#include <cmath>

#include "Boxes.h"
#include "Canvas.h"
#include "annotation/objects/AnnLine.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;
using Segment = CAnnLine::Segment;

constexpr COLORREF kBack = RGB(90, 120, 150);

class AnnLine : public ::testing::Test {
 protected:
  void SetUp() override { responder::Reset(); }
  void TearDown() override { responder::Reset(); }
  HDC dc() const { return canvas.dc(); }

  // A kept line between two picture points, as a creating drag leaves it.
  static void PlaceLine(CAnnLine& line, CPoint a, CPoint b) {
    const CPoint o((a.x + b.x) / 2, (a.y + b.y) / 2);
    Place(line, o, std::vector<CPoint>{a - o, b - o});
  }
  static CPoint End(const CAnnLine& line, int i) { return ImageOf(line, line.PointAt(i)); }

  Canvas canvas{240, 240};
};

TEST_F(AnnLine, HeadStrokesGrowWithTheWidthTable) {
  const struct {
    int w;
    double stroke;
  } cases[] = {{1, 10}, {10, 10}, {11, 15}, {20, 15}, {21, 18.75}, {60, 30}, {61, 50}, {100, 75}, {101, 10}};
  const Segment shaft{CPoint(0, 0), CPoint(150, 0)};
  for (const auto& c : cases) {
    const auto strokes = CAnnLine::ArrowStrokes(1, shaft, c.w);
    ASSERT_EQ(strokes.size(), 2u);
    for (const Segment& s : strokes) {
      const double reach = std::hypot(s.b.x - 150.0, static_cast<double>(s.b.y));
      EXPECT_NEAR(reach, c.stroke, 1.5) << c.w;
      EXPECT_LT(s.b.x, 150) << c.w;  // the head points back along the line
    }
  }
}

TEST_F(AnnLine, ShaftAndHeadsOfTheExamples) {
  CAnnLine line;
  line.GetInfo().SetStyleCode(1);
  line.GetInfo().SetPenWidth(1);
  const Segment shaft = line.GetShaft({CPoint(0, 0), CPoint(100, 0)});
  EXPECT_EQ(shaft.a, CPoint(0, 0));
  EXPECT_EQ(shaft.b, CPoint(100, 0));
  const auto strokes = CAnnLine::ArrowStrokes(1, shaft, 1);
  ASSERT_EQ(strokes.size(), 2u);
  EXPECT_EQ(strokes[0].b, CPoint(96, 4));
  EXPECT_EQ(strokes[1].b, CPoint(96, -4));
  EXPECT_EQ(strokes[0].a, CPoint(100, 0));

  const struct {
    int style;
    CPoint a, b;
  } cases[] = {{3, CPoint(14, 0), CPoint(286, 0)}, {1, CPoint(0, 0), CPoint(286, 0)},
               {2, CPoint(14, 0), CPoint(300, 0)}, {0, CPoint(0, 0), CPoint(300, 0)},
               {4, CPoint(0, 0), CPoint(300, 0)},  {-1, CPoint(0, 0), CPoint(300, 0)}};
  for (const auto& c : cases) {
    line.GetInfo().SetStyleCode(c.style);
    line.GetInfo().SetPenWidth(20);
    const Segment s = line.GetShaft({CPoint(0, 0), CPoint(300, 0)});
    EXPECT_EQ(s.a, c.a) << c.style;
    EXPECT_EQ(s.b, c.b) << c.style;
  }
}

TEST_F(AnnLine, DrawingPutsTheShaftAndHeadsInThePenColour) {
  CAnnLine line;
  PlaceLine(line, CPoint(20, 100), CPoint(200, 100));
  line.GetInfo().SetPenWidth(9);
  line.GetInfo().SetPenColor(RGB(255, 0, 0));
  line.GetInfo().SetStyleCode(1);
  line.Draw(dc());
  EXPECT_EQ(canvas.At(100, 96), RGB(255, 0, 0));  // the shaft is 9 wide
  EXPECT_EQ(canvas.At(100, 104), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(100, 108), kBack);
  EXPECT_EQ(canvas.At(190, 110), RGB(255, 0, 0));  // a head stroke at the drag's end
  EXPECT_EQ(canvas.At(30, 110), kBack);            // none at its start
  EXPECT_EQ(GetROP2(dc()), R2_COPYPEN);

  // Style 4 draws the shaft alone.
  Canvas plain(240, 240, kBack);
  line.GetInfo().SetStyleCode(4);
  line.Draw(plain.dc());
  EXPECT_EQ(plain.At(100, 100), RGB(255, 0, 0));
  EXPECT_EQ(plain.At(190, 110), kBack);
}

TEST_F(AnnLine, AZeroLengthLineDrawsNothing) {
  const auto before = canvas.Bytes();
  for (int style : {0, 1, 3}) {
    CAnnLine line;
    line.GetInfo().SetStyleCode(style);
    line.GetInfo().SetPenWidth(5);
    PlaceLine(line, CPoint(100, 100), CPoint(100, 100));
    line.Draw(dc());
    line.DrawXor(dc());
    EXPECT_EQ(canvas.Changed(before), 0) << style;
  }
  // The first move of a creation can meet one.
  CAnnLine line;
  line.OnButtonDown(dc(), 0, CPoint(50, 50), 1.0);
  const auto marked = canvas.Bytes();
  line.OnMouseMove(dc(), MK_LBUTTON, CPoint(50, 50), 1.0);
  EXPECT_EQ(canvas.Changed(marked), 0);
}

TEST_F(AnnLine, SnapsToTheNearest45Degrees) {
  const struct {
    CPoint q, snapped;
  } cases[] = {{CPoint(100, 30), CPoint(100, 0)},  {CPoint(100, 80), CPoint(100, 100)},
               {CPoint(30, 100), CPoint(0, 100)},  {CPoint(-100, 80), CPoint(-100, 100)},
               {CPoint(80, -100), CPoint(100, -100)}, {CPoint(-30, -100), CPoint(0, -100)}};
  for (const auto& c : cases) {
    CPoint q = CPoint(50, 50) + c.q;
    CAnnLine::SnapTo45(CPoint(50, 50), q);
    EXPECT_EQ(q, CPoint(50, 50) + c.snapped) << c.q.x << "," << c.q.y;
  }
  // Shift while dragging an end snaps it around the fixed end.
  CAnnLine line;
  PlaceLine(line, CPoint(20, 20), CPoint(60, 20));
  line.OnButtonDown(dc(), 2, End(line, 1), 1.0);
  line.OnMouseMove(dc(), MK_LBUTTON | MK_SHIFT, CPoint(120, 100), 1.0);
  line.OnButtonUp(dc(), MK_SHIFT, CPoint(120, 100), 1.0);
  EXPECT_EQ(End(line, 0), CPoint(20, 20));
  EXPECT_EQ(End(line, 1), CPoint(120, 120));
}

TEST_F(AnnLine, ADragOfFourPixelsIsAClickAndSixMakeALine) {
  const struct {
    CPoint to;
    int valid;
  } cases[] = {{CPoint(104, 100), 0}, {CPoint(104, 104), 0}, {CPoint(106, 100), 1}, {CPoint(100, 100), 0}};
  for (const auto& c : cases) {
    CAnnLine line;
    line.OnButtonDown(dc(), 0, CPoint(100, 100), 1.0);
    line.OnMouseMove(dc(), MK_LBUTTON, c.to, 1.0);
    line.OnButtonUp(dc(), 0, c.to, 1.0);
    EXPECT_EQ(line.IsValid(), c.valid) << c.to.x << "," << c.to.y;
    EXPECT_EQ(line.IsCreating(), 0);
    EXPECT_EQ(line.GetAnchor(), CPoint(0, 0));
    if (c.valid) {
      EXPECT_EQ(End(line, 0), CPoint(100, 100));
      EXPECT_EQ(End(line, 1), c.to);
      EXPECT_EQ(line.GetLength(), 6.0);
    } else {
      EXPECT_EQ(line.GetWorkingCount(), 0);
      EXPECT_TRUE(line.GetInfo().m_points.empty());
    }
  }
}

TEST_F(AnnLine, EndDragsStretchTurnOrUndo) {
  CAnnLine line;
  PlaceLine(line, CPoint(40, 40), CPoint(140, 40));
  line.GetInfo().m_cos = 0.8;
  line.GetInfo().m_sin = 0.6;
  const CPoint fixed = End(line, 1);
  line.OnButtonDown(dc(), 1, End(line, 0), 1.0);
  line.OnMouseMove(dc(), MK_LBUTTON, CPoint(10, 150), 1.0);
  line.OnButtonUp(dc(), 0, CPoint(10, 150), 1.0);
  EXPECT_LE(std::abs(End(line, 1).x - fixed.x), 1);
  EXPECT_LE(std::abs(End(line, 1).y - fixed.y), 1);
  EXPECT_LE(std::abs(End(line, 0).x - 10), 1);
  EXPECT_LE(std::abs(End(line, 0).y - 150), 1);

  // Both ends brought within 2 pixels: undone at the release.
  CAnnLine collapse;
  PlaceLine(collapse, CPoint(40, 40), CPoint(140, 40));
  collapse.OnButtonDown(dc(), 2, CPoint(140, 40), 1.0);
  collapse.OnMouseMove(dc(), MK_LBUTTON, CPoint(42, 41), 1.0);
  collapse.OnButtonUp(dc(), 0, CPoint(42, 41), 1.0);
  EXPECT_EQ(End(collapse, 1), CPoint(140, 40));
  EXPECT_EQ(collapse.GetLength(), 100.0);

  // Rotate mode: the angle is measured at the other end and turns the line about its
  // midpoint; the body moves it.
  CAnnLine turn;
  PlaceLine(turn, CPoint(40, 100), CPoint(140, 100));
  turn.SetMode(2);
  turn.OnButtonDown(dc(), 2, CPoint(140, 100), 1.0);
  turn.OnMouseMove(dc(), MK_LBUTTON, CPoint(40, 200), 1.0);
  turn.OnButtonUp(dc(), 0, CPoint(40, 200), 1.0);
  EXPECT_NEAR(turn.GetInfo().m_cos, 0.0, 1e-9);
  EXPECT_NEAR(turn.GetInfo().m_sin, 1.0, 1e-9);
  EXPECT_EQ(turn.GetOrigin(), CPoint(90, 100));
  turn.SetMode(0);
  turn.OnButtonDown(dc(), 0, CPoint(90, 100), 1.0);
  EXPECT_EQ(turn.GetHitHandle(), 5);
  turn.OnMouseMove(dc(), MK_LBUTTON, CPoint(95, 120), 1.0);
  turn.OnButtonUp(dc(), 0, CPoint(95, 120), 1.0);
  EXPECT_EQ(turn.GetOrigin(), CPoint(95, 120));
}

TEST_F(AnnLine, HitTolerancesAndEndHandles) {
  const struct {
    double zoom;
    int pen, shown;
    CPoint at;
    int code;
  } cases[] = {
      {4.0, 1, 0, CPoint(120, 112), 5},  {4.0, 1, 0, CPoint(120, 113), -1},  // tolerance 12
      {1.0, 1, 0, CPoint(120, 103), 5},  {1.0, 1, 0, CPoint(120, 104), -1},  // tolerance 3.5
      {1.0, 10, 0, CPoint(120, 104), 5}, {1.0, 10, 0, CPoint(120, 105), -1},  // half a handle bounds it
      {1.0, 1, 0, CPoint(40, 100), 5},   {1.0, 1, 1, CPoint(40, 100), 1},   // an end: body unless the handles show
      {1.0, 1, 1, CPoint(203, 100), 2},  {1.0, 1, 1, CPoint(204, 100), -1},
  };
  for (const auto& c : cases) {
    CAnnLine line;
    PlaceLine(line, CPoint(40, 100), CPoint(200, 100));
    line.GetInfo().SetZoom(c.zoom);
    line.GetInfo().SetPenWidth(c.pen);
    line.SetHandlesShown(c.shown);
    line.OnButtonUp(dc(), 0, CPoint(0, 0), 1.0);  // takes the handle size from the zoom
    EXPECT_EQ(line.HitTest(c.at.x, c.at.y), c.code) << c.zoom << " " << c.at.x << "," << c.at.y;
  }
  // A sloped line: within the tolerance across it.
  CAnnLine sloped;
  PlaceLine(sloped, CPoint(40, 40), CPoint(140, 90));
  EXPECT_EQ(sloped.HitTest(90, 68), 5);
  EXPECT_EQ(sloped.HitTest(90, 70), -1);
  EXPECT_EQ(sloped.HitTestHandleScreen(143, 93), 2);
  EXPECT_EQ(sloped.HitTestHandleScreen(144, 93), -1);
}

TEST_F(AnnLine, AMeasuringLineSetsItsFlagAndShowsCrosses) {
  CAnnLine line;
  line.GetInfo().SetStyleCode(4);
  line.GetInfo().SetPenWidth(3);
  line.OnButtonDown(dc(), 0, CPoint(40, 60), 1.0);
  EXPECT_EQ(line.GetDrawnFlag(), 0);
  line.OnMouseMove(dc(), MK_LBUTTON, CPoint(180, 60), 1.0);
  EXPECT_EQ(line.GetDrawnFlag(), 1);
  line.OnButtonUp(dc(), 0, CPoint(180, 60), 1.0);
  ASSERT_EQ(line.IsValid(), 1);

  // Crosses of half-size 8 at the ends, no squares.
  Canvas shown(240, 240, kBack);
  line.DrawHandles(shown.dc());
  EXPECT_NE(shown.At(40 - 7, 60 - 7), kBack);
  EXPECT_NE(shown.At(180 + 7, 60 + 7), kBack);
  EXPECT_EQ(shown.At(40 + 4, 60), kBack);  // no square's edge here

  // An ordinary line: squares and the frame, and no cross.
  CAnnLine plain;
  PlaceLine(plain, CPoint(40, 60), CPoint(180, 60));
  Canvas squares(240, 240, kBack);
  CPen black(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(squares.dc(), black);
  plain.DrawHandles(squares.dc());
  SelectObject(squares.dc(), old);
  EXPECT_EQ(squares.At(40 + 2, 60 - 2), RGB(255, 255, 255));
  EXPECT_EQ(squares.At(40 - 7, 60 - 7), kBack);
  EXPECT_NE(squares.At(100, 60), kBack);

  // A style outside 0-4 never sets the flag.
  CAnnLine odd;
  odd.GetInfo().SetStyleCode(-1);
  odd.OnButtonDown(dc(), 0, CPoint(40, 60), 1.0);
  odd.OnMouseMove(dc(), MK_LBUTTON, CPoint(180, 60), 1.0);
  EXPECT_EQ(odd.GetDrawnFlag(), 0);
}

TEST_F(AnnLine, TheEndMarkSitsOnThePressPointOfAScrolledPicture) {
  for (int drawn : {0, 1}) {
    Canvas picture(240, 240, kBack);
    CAnnLine line;
    line.SetDrawnFlag(drawn);
    line.GetInfo().SetScrollOffset(60, 40);
    line.GetInfo().SetZoom(1.0);
    CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(picture.dc(), black);
    line.OnButtonDown(picture.dc(), 0, CPoint(150, 120), 1.0);
    SelectObject(picture.dc(), old);
    // Inverted around the press point; nothing where the scroll would put it.
    const CPoint probe = drawn ? CPoint(150 + 6, 120 + 6) : CPoint(150 - 4, 120);
    EXPECT_NE(picture.At(probe.x, probe.y), kBack) << drawn;
    EXPECT_EQ(picture.At(90 - 4, 80), kBack) << drawn;
    EXPECT_EQ(picture.At(90 + 6, 80 + 6), kBack) << drawn;
  }
}

TEST_F(AnnLine, ClonesStartUnmarkedAndPropertiesUseVariantZero) {
  CAnnLine line;
  PlaceLine(line, CPoint(40, 60), CPoint(180, 60));
  line.SetDrawnFlag(1);
  auto clone = line.Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(static_cast<CAnnLine&>(*clone).GetDrawnFlag(), 0);
  EXPECT_EQ(clone->GetLength(), 140.0);

  std::string caption;
  responder::Push([&](const responder::Shown& shown) {
    caption = shown.caption;
    SetDlgItemTextA(shown.hwnd, 1020, "4");
    SendMessageA(GetDlgItem(shown.hwnd, 1021), CB_SETCURSEL, 3, 0);
    SendMessageA(GetDlgItem(shown.hwnd, IDOK), BM_CLICK, 0, 0);
    return 0;
  });
  line.EditProperties(dc());
  EXPECT_EQ(caption, "Straight line Setting");
  EXPECT_EQ(line.GetInfo().m_penWidth, 4);
  EXPECT_EQ(line.GetInfo().m_styleCode, 3);
  responder::FailNextDialog();
  line.EditProperties(dc());
  EXPECT_EQ(line.GetDialogFailed(), 1);
}

}  // namespace
