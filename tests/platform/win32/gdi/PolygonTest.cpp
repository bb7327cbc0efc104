#include <gtest/gtest.h>

#include "GdiTestSupport.h"

using namespace gditest;

namespace {

struct FillCanvas : Canvas {
  FillCanvas(int w, int h) : Canvas(w, h) {
    Fill(0);
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
  }
};

// A five-pointed star: its centre is enclosed twice, so the fill modes differ there.
TEST(Polygon, FillModesDifferInsideTheStar) {
  POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  for (int mode : {ALTERNATE, WINDING}) {
    FillCanvas c(21, 20);
    EXPECT_EQ(SetPolyFillMode(c.dc, mode), ALTERNATE);  // the default
    ASSERT_TRUE(Polygon(c.dc, star, 5));
    EXPECT_EQ(c.At(10, 10), mode == WINDING ? 0xFFFFFFu : 0u) << "mode " << mode;
    EXPECT_EQ(c.At(10, 3), 0xFFFFFFu);  // a point of the star
    EXPECT_EQ(c.At(1, 1), 0u);
  }
}

TEST(Polygon, RectangularPolygonFillsItsPointsAsARegionDoes) {
  FillCanvas c(6, 5);
  POINT box[] = {{1, 1}, {4, 1}, {4, 3}, {1, 3}};
  ASSERT_TRUE(Polygon(c.dc, box, 4));
  EXPECT_EQ(c.Art(0),
            "......\n"
            ".###..\n"
            ".###..\n"
            "......\n"
            "......\n");
}

TEST(Polygon, OutlineWithPenAndRefusalOfDegenerateInput) {
  Canvas c(6, 5);
  c.Fill(0);
  POINT tri[] = {{0, 0}, {5, 0}, {0, 4}};
  ASSERT_TRUE(Polygon(c.dc, tri, 3));  // black pen, white brush
  EXPECT_EQ(c.At(0, 0), 0u);
  EXPECT_EQ(c.At(1, 1), 0xFFFFFFu);
  EXPECT_FALSE(Polygon(c.dc, tri, 1));
  EXPECT_FALSE(Polygon(c.dc, nullptr, 3));
}

TEST(Polygon, PolyPolygonCutsHolesWithAlternate) {
  FillCanvas c(8, 8);
  POINT pts[] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}, {2, 2}, {6, 2}, {6, 6}, {2, 6}};
  INT counts[] = {4, 4};
  ASSERT_TRUE(PolyPolygon(c.dc, pts, counts, 2));
  EXPECT_EQ(c.At(1, 1), 0xFFFFFFu);
  EXPECT_EQ(c.At(4, 4), 0u);
}

TEST(Polygon, EllipseStaysInItsBox) {
  Canvas c(12, 10);
  c.Fill(0x0000FF);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(c.dc, red);
  ASSERT_TRUE(Ellipse(c.dc, 1, 1, 11, 9));
  EXPECT_EQ(c.At(6, 5), 0xFF0000u);  // inside
  EXPECT_EQ(c.At(6, 1), 0u);         // the black outline at the top
  EXPECT_EQ(c.At(1, 1), 0x0000FFu);  // corner of the box untouched
  for (int x = 0; x < 12; ++x) {
    EXPECT_EQ(c.At(x, 0), 0x0000FFu);
    EXPECT_EQ(c.At(x, 9), 0x0000FFu);
  }
  for (int y = 0; y < 10; ++y) EXPECT_EQ(c.At(11, y), 0x0000FFu);
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
}

}  // namespace
