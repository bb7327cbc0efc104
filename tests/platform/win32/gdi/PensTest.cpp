#include <gtest/gtest.h>

#include <string>

#include "GdiTestSupport.h"

using namespace gditest;

namespace {

struct PenCanvas : Canvas {
  PenCanvas(int w, int h, int style, int width) : Canvas(w, h) {
    Fill(0);
    pen = CreatePen(style, width, RGB(255, 255, 255));
    SelectObject(dc, pen);
  }
  ~PenCanvas() {
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
  }
  void Line(int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
  }
  HPEN pen;
};

TEST(Pens, LinesLeaveOutTheirLastPixel) {
  struct Case { int x0, y0, x1, y1; const char* want; } cases[] = {
      {0, 0, 5, 0, "#####.\n......\n......\n"},
      {5, 2, 0, 2, "......\n......\n.#####\n"},
      {0, 0, 2, 2, "#.....\n.#....\n......\n"},
      {0, 0, 5, 2, "##....\n..##..\n....#.\n"},
      {3, 1, 3, 1, "......\n......\n......\n"},
  };
  for (auto c : cases) {
    PenCanvas p(6, 3, PS_SOLID, 1);
    p.Line(c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(p.Art(0), c.want) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
  }
}

TEST(Pens, ClosedFrameTouchesEveryPixelOnce) {
  PenCanvas p(6, 5, PS_SOLID, 1);
  SetROP2(p.dc, R2_XORPEN);
  POINT frame[] = {{0, 0}, {5, 0}, {5, 4}, {0, 4}, {0, 0}};
  Polyline(p.dc, frame, 5);
  EXPECT_EQ(p.Art(0),
            "######\n"
            "#....#\n"
            "#....#\n"
            "#....#\n"
            "######\n");
}

TEST(Pens, DottedPenOnOpaqueAndTransparentBackgrounds) {
  for (int mode : {OPAQUE, TRANSPARENT}) {
    PenCanvas p(14, 1, PS_DOT, 1);
    p.Fill(0x123456);
    SetBkMode(p.dc, mode);
    SetBkColor(p.dc, RGB(0, 0, 0));
    p.Line(0, 0, 14, 0);
    std::string got;
    for (int x = 0; x < 14; ++x) got += p.At(x, 0) == 0xFFFFFF ? '#' : p.At(x, 0) == 0 ? '-' : '.';
    EXPECT_EQ(got, mode == OPAQUE ? "###---###---##" : "###...###...##");
  }
}

TEST(Pens, DotPatternContinuesFromOneLineToTheNext) {
  PenCanvas p(12, 1, PS_DOT, 1);
  SetBkMode(p.dc, TRANSPARENT);
  p.Line(0, 0, 2, 0);
  LineTo(p.dc, 12, 0);
  EXPECT_EQ(p.Art(0), "###...###...\n");
}

TEST(Pens, WidePensAreSolidAndCentredOnTheLine) {
  PenCanvas p(9, 7, PS_DOT, 3);  // styles exist only for one-pixel pens
  LOGPEN lp{};
  ASSERT_EQ(GetObject(p.pen, sizeof lp, &lp), int(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, UINT(PS_SOLID));
  EXPECT_EQ(lp.lopnWidth.x, 3);
  p.Line(2, 3, 6, 3);
  for (int x = 2; x <= 6; ++x)
    for (int y = 2; y <= 4; ++y) EXPECT_EQ(p.At(x, y), 0xFFFFFFu) << x << "," << y;
  EXPECT_EQ(p.At(4, 1), 0u);
  EXPECT_EQ(p.At(4, 5), 0u);
  EXPECT_EQ(p.At(0, 3), 0u);
  EXPECT_EQ(p.At(8, 3), 0u);
}

// Even widths too: the ends' round caps and the band between them lie about one centre,
// so a straight line comes out straight; a line of width w at x covers x - w/2 to x + w/2 - 1.
TEST(Pens, EvenWidePensDrawStraightLines) {
  for (int width : {2, 4}) {
    for (bool vertical : {true, false}) {
      PenCanvas p(12, 12, PS_SOLID, width);
      if (vertical)
        p.Line(6, 2, 6, 9);
      else
        p.Line(2, 6, 9, 6);
      // Across the line at each step along it, away from the caps.
      for (int along = 2; along <= 9; ++along) {
        std::string across;
        for (int k = 0; k < 12; ++k) across += p.At(vertical ? k : along, vertical ? along : k) ? '#' : '.';
        const std::string want = std::string(6 - width / 2, '.') + std::string(width, '#') + std::string(6 - width / 2, '.');
        EXPECT_EQ(across, want) << "width " << width << (vertical ? " vertical" : " horizontal") << " at " << along;
      }
    }
  }
}

TEST(Pens, NullPenDrawsNothing) {
  PenCanvas p(5, 5, PS_NULL, 1);
  p.Line(0, 0, 4, 4);
  SelectObject(p.dc, GetStockObject(NULL_BRUSH));
  Rectangle(p.dc, 0, 0, 5, 5);
  EXPECT_EQ(p.Art(0), ".....\n.....\n.....\n.....\n.....\n");
}

TEST(Pens, FarAwayLinesAreClippedWithoutWalkingThem) {
  PenCanvas p(8, 8, PS_SOLID, 1);
  p.Line(-2000000000, 3, 2000000000, 3);
  p.Line(4, -2000000000, 4, 2000000000);
  p.Line(-2000000000, -2000000000, 2000000000, 2000000000);
  EXPECT_EQ(p.At(0, 3), 0xFFFFFFu);
  EXPECT_EQ(p.At(4, 7), 0xFFFFFFu);
  EXPECT_EQ(p.At(6, 6), 0xFFFFFFu);
  EXPECT_EQ(p.At(6, 5), 0u);
  PenCanvas wide(8, 8, PS_SOLID, 5);
  wide.Line(-2000000000, 4, 2000000000, 4);
  EXPECT_EQ(wide.At(0, 4), 0xFFFFFFu);
  EXPECT_EQ(wide.At(7, 2), 0xFFFFFFu);
}

TEST(Pens, RectangleOutlineAndInterior) {
  PenCanvas p(7, 6, PS_SOLID, 1);
  HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
  SelectObject(p.dc, grey);
  Rectangle(p.dc, 1, 1, 6, 5);
  EXPECT_EQ(p.At(1, 1), 0xFFFFFFu);
  EXPECT_EQ(p.At(5, 4), 0xFFFFFFu);  // right and bottom edges are right - 1 and bottom - 1
  EXPECT_EQ(p.At(6, 5), 0u);
  EXPECT_EQ(p.At(3, 2), 0x808080u);
  // Without a pen the brush covers left..right-1 by top..bottom-1.
  SelectObject(p.dc, GetStockObject(NULL_PEN));
  p.Fill(0);
  Rectangle(p.dc, 1, 1, 6, 5);
  EXPECT_EQ(p.Art(0),
            ".......\n"
            ".####..\n"
            ".####..\n"
            ".####..\n"
            ".......\n"
            ".......\n");
  SelectObject(p.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(grey);
}

TEST(Pens, InsideFramePenStaysInsideTheBox) {
  PenCanvas p(10, 10, PS_INSIDEFRAME, 3);
  SelectObject(p.dc, GetStockObject(NULL_BRUSH));
  Rectangle(p.dc, 1, 1, 9, 9);
  EXPECT_EQ(p.Art(0),
            "..........\n"
            ".########.\n"
            ".########.\n"
            ".########.\n"
            ".###..###.\n"
            ".###..###.\n"
            ".########.\n"
            ".########.\n"
            ".########.\n"
            "..........\n");
}

}  // namespace
