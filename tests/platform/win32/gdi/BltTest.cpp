#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "GdiTestSupport.h"

using namespace gditest;

namespace {

void Numbered(Canvas& c) {
  for (int y = 0; y < c.H(); ++y)
    for (int x = 0; x < c.W(); ++x) c.Set(x, y, uint32_t(y * 16 + x + 1));
}

TEST(Blt, CopiesBetweenFormatsAndKeepsColours) {
  // 32 -> 24 -> 32 keeps every colour; 24-bit DIB rows are BGR and bottom-up.
  Canvas a(5, 3), b(5, 3, 24, false), back(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) a.Set(x, y, uint32_t(0x123456 * (x + 1) + y * 0x0A0B0C) & 0xFFFFFF);
  ASSERT_TRUE(BitBlt(b.dc, 0, 0, 5, 3, a.dc, 0, 0, SRCCOPY));
  ASSERT_TRUE(BitBlt(back.dc, 0, 0, 5, 3, b.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(back.Bytes(), a.Bytes());
  // Bottom-up: the picture's top row is the last row in memory, blue byte first.
  EXPECT_EQ(b.Row(0)[0], uint8_t(a.At(0, 0)));
  EXPECT_EQ(b.Row(0), b.Row(2) + 2 * WIDTHBYTES(5 * 24));
}

TEST(Blt, ToEightBitsPicksTheNearestTableEntry) {
  std::vector<RGBQUAD> table = {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 255, 255, 0}};
  Canvas pal(3, 1, 8, true, table), rgb(3, 1);
  rgb.Set(0, 0, 0xF01010);  // reddish -> red
  rgb.Set(1, 0, 0x10E010);  // greenish -> green
  rgb.Set(2, 0, 0xF0F0F0);  // light -> white
  BitBlt(pal.dc, 0, 0, 3, 1, rgb.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(pal.At(0, 0), 1u);
  EXPECT_EQ(pal.At(1, 0), 2u);
  EXPECT_EQ(pal.At(2, 0), 3u);
}

TEST(Blt, FromEightBitsEachTableEntryKeepsItsColour) {
  // Table entries are stored blue, green, red: entry 0 is red, entry 1 blue.
  std::vector<RGBQUAD> table = {{0, 0, 255, 0}, {255, 0, 0, 0}};
  Canvas pal(2, 1, 8, true, table), rgb(2, 1);
  pal.Set(0, 0, 0);
  pal.Set(1, 0, 1);
  ASSERT_TRUE(BitBlt(rgb.dc, 0, 0, 2, 1, pal.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(rgb.At(0, 0), 0xFF0000u);
  EXPECT_EQ(rgb.At(1, 0), 0x0000FFu);
  EXPECT_EQ(GetPixel(pal.dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(pal.dc, 1, 0), RGB(0, 0, 255));
}

TEST(Blt, OverlappingScrollReadsThePixelsAsTheyWere) {
  Canvas c(6, 6);
  Numbered(c);
  Canvas ref(6, 6);
  Numbered(ref);
  ASSERT_TRUE(BitBlt(c.dc, 1, 2, 5, 4, c.dc, 0, 0, SRCCOPY));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(c.At(x + 1, y + 2), ref.At(x, y)) << x << "," << y;
  EXPECT_EQ(c.At(0, 5), ref.At(0, 5));
}

TEST(Blt, StretchMapsPixelCentresAndMirrorsWithNegativeExtents) {
  Canvas src(2, 2), dst(4, 4);
  Numbered(src);
  SetStretchBltMode(dst.dc, COLORONCOLOR);
  ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(dst.At(1, 1), src.At(0, 0));
  EXPECT_EQ(dst.At(2, 1), src.At(1, 0));
  EXPECT_EQ(dst.At(3, 3), src.At(1, 1));
  // Width -4 from x = 4: the rectangle runs left of x, mirrored.
  ASSERT_TRUE(StretchBlt(dst.dc, 4, 0, -4, 4, src.dc, 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(dst.At(0, 0), src.At(1, 0));
  EXPECT_EQ(dst.At(3, 0), src.At(0, 0));
  EXPECT_EQ(dst.At(3, 3), src.At(0, 1));
}

TEST(Blt, ShrinkingModesCombineOrDropPixels) {
  Canvas src(2, 1), dst(1, 1);
  src.Set(0, 0, 0xF0F0F0);
  src.Set(1, 0, 0x0F0F0F);
  struct Case { int mode; uint32_t want; } cases[] = {
      {BLACKONWHITE, 0x000000}, {WHITEONBLACK, 0xFFFFFF}, {HALFTONE, 0x808080}};
  for (auto c : cases) {
    SetStretchBltMode(dst.dc, c.mode);
    StretchBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), c.want) << "mode " << c.mode;
  }
  SetStretchBltMode(dst.dc, COLORONCOLOR);
  StretchBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 2, 1, SRCCOPY);
  EXPECT_TRUE(dst.At(0, 0) == 0xF0F0F0 || dst.At(0, 0) == 0x0F0F0F);
}

TEST(Blt, HalftoneAveragesTheCoveredArea) {
  Canvas src(4, 4), dst(2, 2);
  src.Fill(0);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) src.Set(x, y, x == y ? 0xFFFFFF : 0x000000);  // top-left block: half white
  SetStretchBltMode(dst.dc, HALFTONE);
  StretchBlt(dst.dc, 0, 0, 2, 2, src.dc, 0, 0, 4, 4, SRCCOPY);
  EXPECT_EQ(dst.At(0, 0), 0x808080u);
  EXPECT_EQ(dst.At(1, 1), 0u);
}

// The exact area average of the source pixels under destination pixel (i, j), per channel.
double AreaAverage(const Canvas& src, int sx, int sy, int sw, int sh, int dw, int dh, int i, int j, int shift) {
  auto span = [](int d, int s, int at, double* a, double* b) {
    *a = double(at) * s / d, *b = double(at + 1) * s / d;
    if (*b - *a < 1) *a = std::floor((*a + *b) / 2), *b = *a + 1;  // enlarging: the pixel under the centre
  };
  double x0, x1, y0, y1, sum = 0, area = 0;
  span(dw, sw, i, &x0, &x1);
  span(dh, sh, j, &y0, &y1);
  for (int y = int(std::floor(y0)); y < y1; ++y)
    for (int x = int(std::floor(x0)); x < x1; ++x) {
      const double w = (std::min<double>(x + 1, x1) - std::max<double>(x, x0)) * (std::min<double>(y + 1, y1) - std::max<double>(y, y0));
      sum += w * ((src.At(sx + x, sy + y) >> shift) & 0xFF);
      area += w;
    }
  return sum / area;
}

// HALFTONE keeps every pixel within one level of the exact area average: shrinking by
// whole and broken ratios, enlarging, from a part of the source, from 24 and 32 bits,
// and pictures large enough to be worked on in bands.
TEST(Blt, HalftoneStaysWithinOneLevelOfTheAreaAverage) {
  struct Case {
    int srcW, srcH, srcBpp, sx, sy, sw, sh, dw, dh;
  } cases[] = {
      {12, 9, 32, 0, 0, 12, 9, 4, 3},      {7, 7, 24, 0, 0, 7, 7, 3, 3},    {5, 4, 32, 0, 0, 5, 4, 13, 9},
      {20, 16, 24, 3, 2, 11, 9, 4, 5},     {1500, 760, 24, 0, 0, 1500, 760, 600, 304},
      {1200, 600, 32, 10, 5, 1150, 590, 480, 236},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.srcW << "x" << c.srcH << "@" << c.srcBpp << " -> " << c.dw << "x" << c.dh);
    Canvas src(c.srcW, c.srcH, c.srcBpp, false), dst(c.dw, c.dh, 24, false);
    uint32_t seed = 7;
    for (int y = 0; y < c.srcH; ++y)
      for (int x = 0; x < c.srcW; ++x) {
        seed = seed * 1664525u + 1013904223u;
        src.Set(x, y, ((x * 255 / c.srcW) << 16) | (seed >> 24) << 8 | ((x ^ y) & 0xFF));
      }
    SetStretchBltMode(dst.dc, HALFTONE);
    ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, c.dw, c.dh, src.dc, c.sx, c.sy, c.sw, c.sh, SRCCOPY));
    int worst = 0;
    for (int j = 0; j < c.dh; ++j)
      for (int i = 0; i < c.dw; ++i)
        for (int shift : {0, 8, 16}) {
          const double want = AreaAverage(src, c.sx, c.sy, c.sw, c.sh, c.dw, c.dh, i, j, shift);
          worst = std::max(worst, int(std::ceil(std::abs(((dst.At(i, j) >> shift) & 0xFF) - want) - 1e-9)));
        }
    EXPECT_LE(worst, 1);
  }
}

// A picture 3 wide, 4 high, bottom-up 24-bit rows as the camera code passes them.
struct Dib {
  Dib(bool topDown) {
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 3, topDown ? -4 : 4, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    bits.assign(size_t(WIDTHBYTES(3 * 24)) * 4, 0);
    // Row r in memory gets blue = r + 1 in every pixel; column x gets green = x.
    for (int r = 0; r < 4; ++r)
      for (int x = 0; x < 3; ++x) {
        bits[size_t(r * WIDTHBYTES(3 * 24) + 3 * x)] = uint8_t(r + 1);
        bits[size_t(r * WIDTHBYTES(3 * 24) + 3 * x + 1)] = uint8_t(x);
      }
  }
  BITMAPINFO info{};
  std::vector<uint8_t> bits;
};

TEST(Blt, StretchDIBitsCountsSourceRowsFromTheBottomOfABottomUpPicture) {
  Dib dib(false);
  Canvas c(3, 4);
  // Source rows 1 and 2 counted from the bottom: memory rows 1 and 2; memory row 2 is higher.
  ASSERT_EQ(StretchDIBits(c.dc, 0, 0, 3, 2, 0, 1, 3, 2, dib.bits.data(), &dib.info, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(c.At(0, 0), 3u);
  EXPECT_EQ(c.At(0, 1), 2u);
  EXPECT_EQ(c.At(2, 1), 0x0202u);
  // Whole picture upside down by a negative destination height.
  ASSERT_TRUE(StretchDIBits(c.dc, 0, 4, 3, -4, 0, 0, 3, 4, dib.bits.data(), &dib.info, DIB_RGB_COLORS, SRCCOPY));
  EXPECT_EQ(c.At(0, 0), 1u);
  EXPECT_EQ(c.At(2, 3), 0x0204u);
  // And mirrored left to right by a negative width.
  ASSERT_TRUE(StretchDIBits(c.dc, 3, 0, -3, 4, 0, 0, 3, 4, dib.bits.data(), &dib.info, DIB_RGB_COLORS, SRCCOPY));
  EXPECT_EQ(c.At(0, 0), 0x0204u);
  EXPECT_EQ(c.At(2, 0), 0x0004u);
}

TEST(Blt, StretchDIBitsTakesTopDownPicturesFromTheTop) {
  Dib dib(true);
  Canvas c(3, 4);
  ASSERT_TRUE(StretchDIBits(c.dc, 0, 0, 3, 4, 0, 0, 3, 4, dib.bits.data(), &dib.info, DIB_RGB_COLORS, SRCCOPY));
  EXPECT_EQ(c.At(0, 0), 1u);
  EXPECT_EQ(c.At(0, 3), 4u);
}

TEST(Blt, SetDIBitsToDeviceDrawsTheBandOfScansGiven) {
  Dib dib(false);
  Canvas c(3, 4);
  c.Fill(0xABCDEF);
  // Scans 1 and 2 of the picture, handed over alone.
  const uint8_t* band = dib.bits.data() + WIDTHBYTES(3 * 24);
  ASSERT_EQ(SetDIBitsToDevice(c.dc, 0, 0, 3, 4, 0, 0, 1, 2, band, &dib.info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(c.At(0, 0), 0xABCDEFu);
  EXPECT_EQ(c.At(0, 1), 3u);
  EXPECT_EQ(c.At(0, 2), 2u);
  EXPECT_EQ(c.At(0, 3), 0xABCDEFu);
}

TEST(Blt, GetAndSetDIBitsRoundTripThroughDeviceBitmaps) {
  Dib dib(false);
  HDC screen = GetDC(nullptr);
  HBITMAP bm = CreateBitmap(3, 4, 1, 32, nullptr);
  ASSERT_EQ(SetDIBits(screen, bm, 0, 4, dib.bits.data(), &dib.info, DIB_RGB_COLORS), 4);
  BITMAPINFO query{};
  query.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  ASSERT_TRUE(GetDIBits(screen, bm, 0, 4, nullptr, &query, DIB_RGB_COLORS));
  EXPECT_EQ(query.bmiHeader.biWidth, 3);
  EXPECT_EQ(query.bmiHeader.biHeight, 4);
  EXPECT_EQ(query.bmiHeader.biBitCount, 32);
  BITMAPINFO want = dib.info;
  std::vector<uint8_t> out(dib.bits.size(), 0xEE);
  ASSERT_EQ(GetDIBits(screen, bm, 0, 4, out.data(), &want, DIB_RGB_COLORS), 4);
  EXPECT_EQ(out, dib.bits);
  DeleteObject(bm);
  ReleaseDC(nullptr, screen);
}

TEST(Blt, DrawingFarOutsideNeverFailsOrWritesOutside) {
  Canvas src(4, 4), c(8, 8);
  src.Fill(0x111111);
  c.Fill(0x777777);
  auto before = c.Bytes();
  int far[] = {-2000000000, -100, -48, 8, 100, 2000000000};
  for (int x : far)
    for (int y : far) {
      EXPECT_TRUE(BitBlt(c.dc, x, y, 4, 4, src.dc, 0, 0, SRCCOPY));
      EXPECT_TRUE(StretchBlt(c.dc, x, y, 40, 40, src.dc, 0, 0, 4, 4, SRCCOPY));
      EXPECT_TRUE(PatBlt(c.dc, x, y, 5, 5, BLACKNESS));
    }
  EXPECT_EQ(c.Bytes(), before);
  // A source rectangle partly outside its bitmap copies only what exists.
  BitBlt(c.dc, 0, 0, 8, 8, src.dc, -2, -2, SRCCOPY);
  EXPECT_EQ(c.At(1, 1), 0x777777u);
  EXPECT_EQ(c.At(2, 2), 0x111111u);
  EXPECT_EQ(c.At(5, 5), 0x111111u);
  EXPECT_EQ(c.At(6, 6), 0x777777u);
}

TEST(Blt, EdgesClipExactly) {
  Canvas c(6, 6);
  c.Fill(0);
  PatBlt(c.dc, -3, -3, 4, 4, WHITENESS);  // covers (0,0) only
  PatBlt(c.dc, 5, 5, 10, 10, WHITENESS);  // covers (5,5) only
  EXPECT_EQ(c.Art(0),
            "#.....\n"
            "......\n"
            "......\n"
            "......\n"
            "......\n"
            ".....#\n");
}

}  // namespace

namespace {

TEST(Blt, DeviceBitmapsFromDibsAndTheirWordAlignedBits) {
  Dib dib(false);
  HDC screen = GetDC(nullptr);
  HBITMAP bm = CreateDIBitmap(screen, &dib.info.bmiHeader, CBM_INIT, dib.bits.data(), &dib.info, DIB_RGB_COLORS);
  ASSERT_NE(bm, nullptr);
  // Device rows are top-down and 4 bytes a pixel here: the top row holds memory row 3.
  std::vector<uint8_t> raw(3 * 4 * 4);
  ASSERT_EQ(GetBitmapBits(bm, LONG(raw.size()), raw.data()), LONG(raw.size()));
  EXPECT_EQ(raw[0], 4);
  EXPECT_EQ(raw[3 * 4 * 3], 1);
  raw[0] = 99;
  ASSERT_EQ(SetBitmapBits(bm, DWORD(raw.size()), raw.data()), LONG(raw.size()));
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, bm);
  EXPECT_EQ(GetPixel(mem, 0, 0), RGB(0, 0, 99));
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bm);
  ReleaseDC(nullptr, screen);
}

}  // namespace
