#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "gdi/Pen.h"

using namespace gditest;

namespace {

// A memory DC holding a monochrome device bitmap.
struct MonoDc {
  MonoDc(int w, int h) {
    dc = CreateCompatibleDC(nullptr);
    bm = CreateBitmap(w, h, 1, 1, nullptr);
    old = SelectObject(dc, bm);
  }
  ~MonoDc() {
    SelectObject(dc, old);
    DeleteObject(bm);
    DeleteDC(dc);
  }
  HDC dc;
  HBITMAP bm;
  HGDIOBJ old;
};

TEST(MonoConversion, ColourToMonoSetsPixelsEqualToTheSourceBackground) {
  Canvas colour(4, 1);
  const COLORREF face = RGB(192, 192, 192);
  colour.Set(0, 0, Px(face));
  colour.Set(1, 0, Px(RGB(0, 0, 0)));
  colour.Set(2, 0, Px(RGB(192, 192, 193)));  // near is not equal
  colour.Set(3, 0, Px(face));
  SetBkColor(colour.dc, face);
  MonoDc mono(4, 1);
  PatBlt(mono.dc, 0, 0, 4, 1, BLACKNESS);
  ASSERT_TRUE(BitBlt(mono.dc, 0, 0, 4, 1, colour.dc, 0, 0, SRCCOPY));
  COLORREF want[4] = {RGB(255, 255, 255), 0, 0, RGB(255, 255, 255)};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(GetPixel(mono.dc, x, 0), want[x]) << x;
}

TEST(MonoConversion, MonoToColourUsesTheDestinationTextAndBackgroundColours) {
  MonoDc mono(2, 1);
  SetPixel(mono.dc, 0, 0, RGB(0, 0, 0));
  SetPixel(mono.dc, 1, 0, RGB(255, 255, 255));
  Canvas colour(2, 1);
  SetTextColor(colour.dc, RGB(10, 20, 30));  // 0 bits
  SetBkColor(colour.dc, RGB(200, 100, 50));  // 1 bits
  SetTextColor(mono.dc, RGB(255, 0, 0));     // the source DC's colours play no part
  ASSERT_TRUE(BitBlt(colour.dc, 0, 0, 2, 1, mono.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(colour.At(0, 0), Px(RGB(10, 20, 30)));
  EXPECT_EQ(colour.At(1, 0), Px(RGB(200, 100, 50)));
}

// The toolbar's disabled look: a mask made from the face colour, then a brush painted
// through it with 0xB8074A where the image is.
TEST(MonoConversion, MaskThenBrushThroughItPaintsOnlyTheImage) {
  const COLORREF face = RGB(192, 192, 192);
  Canvas image(3, 1);
  image.Set(0, 0, Px(face));
  image.Set(1, 0, Px(RGB(0, 0, 128)));
  image.Set(2, 0, Px(face));
  MonoDc mask(3, 1);
  PatBlt(mask.dc, 0, 0, 3, 1, WHITENESS);
  SetBkColor(image.dc, face);
  BitBlt(mask.dc, 0, 0, 3, 1, image.dc, 0, 0, SRCCOPY);

  Canvas target(3, 1);
  target.Fill(Px(face));
  HBRUSH shadow = CreateSolidBrush(RGB(128, 128, 128));
  HGDIOBJ oldBrush = SelectObject(target.dc, shadow);
  SetTextColor(target.dc, RGB(0, 0, 0));
  SetBkColor(target.dc, RGB(255, 255, 255));
  BitBlt(target.dc, 0, 0, 3, 1, mask.dc, 0, 0, 0x00B8074A);
  EXPECT_EQ(target.At(0, 0), Px(face));
  EXPECT_EQ(target.At(1, 0), Px(RGB(128, 128, 128)));
  EXPECT_EQ(target.At(2, 0), Px(face));
  SelectObject(target.dc, oldBrush);
  DeleteObject(shadow);
}

TEST(MonoConversion, NewMemoryDcHoldsAOneByOneMonochromeBitmap) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAP bm{};
  ASSERT_EQ(GetObject(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm), int(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmHeight, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  // ... so a bitmap "compatible" with it is monochrome too, while the screen's is not.
  HBITMAP fromMem = CreateCompatibleBitmap(dc, 8, 8);
  HDC screen = GetDC(nullptr);
  HBITMAP fromScreen = CreateCompatibleBitmap(screen, 8, 8);
  GetObject(fromMem, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  GetObject(fromScreen, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);  // a memory DC answers for its device
  DeleteObject(fromMem);
  DeleteObject(fromScreen);
  ReleaseDC(nullptr, screen);
  DeleteDC(dc);
}

TEST(MonoConversion, MonochromePatternBrushTakesTheDcColours) {
  // Word-aligned rows: one byte of pixels and one of padding each.
  BYTE rows[16] = {0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH brush = CreatePatternBrush(pattern);
  Canvas c(4, 2);
  SelectObject(c.dc, brush);
  SetTextColor(c.dc, RGB(1, 2, 3));
  SetBkColor(c.dc, RGB(250, 251, 252));
  PatBlt(c.dc, 0, 0, 4, 2, PATCOPY);
  // Row 0 is 10101010: 1 bits in the background colour, 0 bits in the text colour.
  EXPECT_EQ(c.At(0, 0), Px(RGB(250, 251, 252)));
  EXPECT_EQ(c.At(1, 0), Px(RGB(1, 2, 3)));
  EXPECT_EQ(c.At(0, 1), Px(RGB(1, 2, 3)));
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
  DeleteObject(pattern);
}

}  // namespace

namespace {

// Drag frames: the halftone brush inverts every other pixel and a second pass erases it.
TEST(MonoConversion, HalftoneBrushInvertsACheckerboard) {
  Canvas c(4, 2);
  c.Fill(0x336699);
  HGDIOBJ old = SelectObject(c.dc, plat::gdi::HalftoneBrush());
  SetTextColor(c.dc, RGB(0, 0, 0));
  SetBkColor(c.dc, RGB(255, 255, 255));
  PatBlt(c.dc, 0, 0, 4, 2, PATINVERT);
  EXPECT_EQ(c.Art(0x336699), ".#.#\n#.#.\n");
  PatBlt(c.dc, 0, 0, 4, 2, PATINVERT);
  EXPECT_EQ(c.Art(0x336699), "....\n....\n");
  // The brush origin moves the pattern.
  SetBrushOrgEx(c.dc, 1, 0, nullptr);
  PatBlt(c.dc, 0, 0, 4, 2, PATINVERT);
  EXPECT_EQ(c.Art(0x336699), "#.#.\n.#.#\n");
  SelectObject(c.dc, old);
}

}  // namespace
