#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "GdiTestSupport.h"

using namespace gditest;

namespace {

// Every primitive at coordinates near, on and far beyond each edge: nothing fails loudly,
// and nothing lands outside the bitmap (the sanitizer build checks every write).
TEST(Clipping, PrimitivesAnywhereStayInsideTheBitmap) {
  const int far[] = {INT_MIN / 2, -1000000000, -70000, -33, -9, -1, 0, 1, 7, 8, 9, 15, 16, 70000, 1000000000, INT_MAX / 2};
  std::mt19937 rng(1234);
  auto pick = [&] { return far[rng() % (sizeof far / sizeof far[0])]; };
  Canvas c(16, 12), src(5, 5);
  std::vector<uint8_t> dibBits(size_t(WIDTHBYTES(5 * 24)) * 5, 0x40);
  BITMAPINFO dib{};
  dib.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 5, 5, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HPEN pens[] = {CreatePen(PS_SOLID, 1, RGB(255, 0, 0)), CreatePen(PS_DOT, 1, RGB(0, 255, 0)),
                 CreatePen(PS_SOLID, 7, RGB(0, 0, 255)), CreatePen(PS_INSIDEFRAME, 4, RGB(9, 9, 9))};
  HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(1, 2, 3));
  SelectObject(c.dc, hatch);
  for (int i = 0; i < 600; ++i) {
    int x0 = pick(), y0 = pick(), x1 = pick(), y1 = pick();
    SelectObject(c.dc, pens[i % 4]);
    SetROP2(c.dc, i % 2 ? R2_XORPEN : R2_COPYPEN);
    SetStretchBltMode(c.dc, 1 + i % 4);
    RECT r{x0, y0, x1, y1};
    POINT pts[] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1 / 2}};
    MoveToEx(c.dc, x0, y0, nullptr);
    EXPECT_TRUE(LineTo(c.dc, x1, y1));
    EXPECT_TRUE(Rectangle(c.dc, x0, y0, x1, y1));
    EXPECT_TRUE(Ellipse(c.dc, x0 / 1000, y0 / 1000, x1 / 1000, y1 / 1000));
    EXPECT_TRUE(Polygon(c.dc, pts, 4));
    EXPECT_TRUE(Polyline(c.dc, pts, 4));
    EXPECT_TRUE(FillRect(c.dc, &r, hatch));
    EXPECT_TRUE(FrameRect(c.dc, &r, hatch));
    EXPECT_TRUE(DrawFocusRect(c.dc, &r));
    RECT e = r;
    EXPECT_TRUE(DrawEdge(c.dc, &e, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
    DrawFrameControl(c.dc, &e, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    SetPixel(c.dc, x0, y1, RGB(5, 5, 5));
    GetPixel(c.dc, x1, y0);
    EXPECT_TRUE(PatBlt(c.dc, x0, y0, x1 / 3, y1 / 3, PATINVERT));
    EXPECT_TRUE(BitBlt(c.dc, x0, y0, 20, 20, src.dc, x1, y1, SRCCOPY));
    EXPECT_TRUE(StretchBlt(c.dc, x0, y0, x1 / 2, y1 / 2, src.dc, 0, 0, 5, -5, SRCINVERT));
    StretchDIBits(c.dc, x0, y0, x1 / 5, y1 / 5, x1 % 7, y0 % 7, 5, 5, dibBits.data(), &dib, DIB_RGB_COLORS, SRCCOPY);
    SetDIBitsToDevice(c.dc, x1, y1, 5, 5, 0, 0, 0, 5, dibBits.data(), &dib, DIB_RGB_COLORS);
  }
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
  for (HPEN p : pens) DeleteObject(p);
  DeleteObject(hatch);
}

TEST(Clipping, AtEveryEdgeOfAClipRegion) {
  struct Case { int l, t, r, b; const char* want; } cases[] = {
      {-5, -5, 2, 2, "##....\n##....\n......\n......\n"},
      {4, 2, 50, 50, "......\n......\n....##\n....##\n"},
      {2, -1, 4, 9, "..##..\n..##..\n..##..\n..##..\n"},
      {3, 1, 3, 3, "......\n......\n......\n......\n"},  // empty
  };
  for (auto c : cases) {
    Canvas k(6, 4);
    k.Fill(0);
    IntersectClipRect(k.dc, c.l, c.t, c.r, c.b);
    PatBlt(k.dc, -100, -100, 300, 300, WHITENESS);
    MoveToEx(k.dc, -100, 0, nullptr);
    EXPECT_EQ(k.Art(0), c.want) << c.l << "," << c.t << "," << c.r << "," << c.b;
  }
}

}  // namespace
