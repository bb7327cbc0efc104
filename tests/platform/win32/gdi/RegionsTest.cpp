#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "gdi/Region.h"

using plat::gdi::Region;

namespace {

std::string Picture(const Region& r, int w, int h) {
  std::string s;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) s += r.Contains(x, y) ? '#' : '.';
    s += '\n';
  }
  return s;
}

// Two overlapping squares, combined every way.
TEST(Regions, CombineTable) {
  Region a(RECT{0, 0, 4, 4}), b(RECT{2, 2, 6, 6});
  struct Case { int mode; const char* want; int kind; } cases[] = {
      {RGN_AND, "......\n......\n..##..\n..##..\n......\n......\n", SIMPLEREGION},
      {RGN_OR, "####..\n####..\n######\n######\n..####\n..####\n", COMPLEXREGION},
      {RGN_XOR, "####..\n####..\n##..##\n##..##\n..####\n..####\n", COMPLEXREGION},
      {RGN_DIFF, "####..\n####..\n##....\n##....\n......\n......\n", COMPLEXREGION},
      {RGN_COPY, "####..\n####..\n####..\n####..\n......\n......\n", SIMPLEREGION},
  };
  for (auto c : cases) {
    Region r = Region::Combine(a, b, c.mode);
    EXPECT_EQ(Picture(r, 6, 6), c.want) << "mode " << c.mode;
    EXPECT_EQ(r.Complexity(), c.kind) << "mode " << c.mode;
  }
}

TEST(Regions, BandsAreCanonicalSoEqualAreasCompareEqual) {
  // The same L shape built two ways.
  Region one = Region::Combine(Region(RECT{0, 0, 2, 4}), Region(RECT{0, 2, 4, 4}), RGN_OR);
  Region two = Region::Combine(Region(RECT{0, 0, 2, 2}), Region(RECT{0, 2, 4, 4}), RGN_OR);
  EXPECT_TRUE(one == two);
  ASSERT_EQ(one.Rects().size(), 2u);
  // Rectangles that merge back into one.
  Region whole = Region::Combine(Region(RECT{0, 0, 2, 4}), Region(RECT{2, 0, 4, 4}), RGN_OR);
  EXPECT_EQ(whole.Complexity(), SIMPLEREGION);
  EXPECT_TRUE(Region::Combine(whole, Region(RECT{0, 0, 4, 4}), RGN_XOR).Empty());
}

TEST(Regions, HandleApi) {
  HRGN a = CreateRectRgn(10, 10, 0, 0);  // corners in any order
  RECT box{};
  EXPECT_EQ(GetRgnBox(a, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.bottom, 10);
  HRGN b = CreateRectRgn(5, 5, 15, 15);
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(r, a, b, RGN_DIFF), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(r, 0, 0));
  EXPECT_FALSE(PtInRegion(r, 7, 7));
  EXPECT_FALSE(PtInRegion(r, 10, 0));  // right edge is outside
  RECT inside{6, 6, 9, 9}, edge{9, 0, 11, 2};
  EXPECT_FALSE(RectInRegion(r, &inside));
  EXPECT_TRUE(RectInRegion(r, &edge));
  EXPECT_EQ(OffsetRgn(r, 100, 0), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(r, 100, 0));
  EXPECT_TRUE(SetRectRgn(b, 100, 0, 110, 5));
  HRGN c = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(c, r, b, RGN_AND), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(c, b));
  EXPECT_EQ(CombineRgn(c, r, nullptr, RGN_COPY), COMPLEXREGION);
  EXPECT_EQ(CombineRgn(c, r, nullptr, RGN_AND), ERROR);
  for (HRGN h : {a, b, r, c}) EXPECT_TRUE(DeleteObject(h));
  EXPECT_FALSE(PtInRegion(a, 0, 0));  // stale handle
}

TEST(Regions, PolygonRegionOfARectangleIsThatRectangle) {
  POINT sq[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
  int n = 4;
  Region r = Region::Polygon(sq, &n, 1, ALTERNATE);
  EXPECT_TRUE(r == Region(RECT{1, 1, 5, 4}));
}

TEST(Regions, EllipseIsSymmetricAndInsideItsBox) {
  Region e = Region::Ellipse(RECT{0, 0, 9, 7});
  RECT box = e.Box();
  EXPECT_GE(box.left, 0);
  EXPECT_LE(box.right, 9);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.bottom, 7);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(e.Contains(x, y), e.Contains(8 - x, 6 - y)) << x << "," << y;
  EXPECT_TRUE(e.Contains(4, 3));
  EXPECT_FALSE(e.Contains(0, 0));
}

TEST(Regions, FillFrameInvertAndPaint) {
  gditest::Canvas c(8, 6);
  c.Fill(0);
  HRGN r = CreateRectRgn(1, 1, 7, 5);
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  ASSERT_TRUE(FrameRgn(c.dc, r, white, 2, 1));
  EXPECT_EQ(c.Art(0),
            "........\n"
            ".######.\n"
            ".##..##.\n"
            ".##..##.\n"
            ".######.\n"
            "........\n");
  ASSERT_TRUE(InvertRgn(c.dc, r));
  // The white frame turns black and the black inside white.
  EXPECT_EQ(c.Art(0xFFFFFF),
            "########\n"
            "########\n"
            "###..###\n"
            "###..###\n"
            "########\n"
            "########\n");
  ASSERT_TRUE(FillRgn(c.dc, r, white));
  SetROP2(c.dc, R2_NOT);
  ASSERT_TRUE(PaintRgn(c.dc, r));  // the DC's brush under its mix mode
  EXPECT_EQ(c.At(3, 2), 0u);
  DeleteObject(r);
}

}  // namespace
