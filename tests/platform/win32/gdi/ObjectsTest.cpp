#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "gdi/DibSection.h"
#include "gdi/GdiObject.h"

using namespace gditest;

namespace {

TEST(Objects, SelectReturnsThePreviousObjectOfThatKind) {
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
  HBRUSH brush = CreateHatchBrush(HS_CROSS, RGB(4, 5, 6));
  EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_PEN)), pen);
  EXPECT_EQ(GetObjectType(pen), DWORD(OBJ_PEN));
  EXPECT_EQ(GetObjectType(brush), DWORD(OBJ_BRUSH));
  EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_MEMDC));
  EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_PALETTE)), DWORD(OBJ_PAL));
  EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_EQ(SelectObject(dc, pen), nullptr);  // stale
  EXPECT_EQ(GetObjectType(pen), 0u);
  DeleteDC(dc);
  EXPECT_TRUE(DeleteObject(brush));
}

TEST(Objects, DescriptionsOfPensBrushesAndBitmaps) {
  HPEN pen = CreatePen(PS_DOT, 1, RGB(9, 8, 7));
  LOGPEN lp{};
  EXPECT_EQ(GetObject(pen, 0, nullptr), int(sizeof(LOGPEN)));
  ASSERT_EQ(GetObject(pen, sizeof lp, &lp), int(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, UINT(PS_DOT));
  EXPECT_EQ(lp.lopnColor, RGB(9, 8, 7));
  HBRUSH brush = CreateHatchBrush(HS_DIAGCROSS, RGB(1, 1, 1));
  LOGBRUSH lb{};
  ASSERT_EQ(GetObject(brush, sizeof lb, &lb), int(sizeof lb));
  EXPECT_EQ(lb.lbStyle, UINT(BS_HATCHED));
  EXPECT_EQ(lb.lbHatch, ULONG_PTR(HS_DIAGCROSS));

  HBITMAP ddb = CreateBitmap(17, 3, 1, 1, nullptr);
  BITMAP bm{};
  EXPECT_EQ(GetObject(ddb, 0, nullptr), int(sizeof(BITMAP)));
  ASSERT_EQ(GetObject(ddb, sizeof bm, &bm), int(sizeof bm));
  EXPECT_EQ(bm.bmWidthBytes, 4);  // word-aligned rows
  EXPECT_EQ(bm.bmBits, nullptr);

  BITMAPINFO bmi{};
  bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 5, -3, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  DIBSECTION ds{};
  EXPECT_EQ(GetObject(dib, 0, nullptr), int(sizeof(DIBSECTION)));
  ASSERT_EQ(GetObject(dib, sizeof ds, &ds), int(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmWidthBytes, 16);  // 15 bytes padded to 4
  EXPECT_EQ(ds.dsBm.bmBits, bits);
  EXPECT_EQ(ds.dsBmih.biHeight, -3);
  EXPECT_EQ(ds.dsBmih.biSizeImage, 48u);
  ASSERT_EQ(GetObject(dib, sizeof bm, &bm), int(sizeof bm));  // a BITMAP is fine too
  EXPECT_EQ(bm.bmHeight, 3);
  // Code written for 32-bit Windows asks for 24 bytes of BITMAP: all but the pointer.
  BITMAP shortBm{};
  EXPECT_EQ(GetObject(ddb, 24, &shortBm), 24);
  EXPECT_EQ(shortBm.bmWidth, 17);
  EXPECT_EQ(shortBm.bmBitsPixel, 1);
  EXPECT_EQ(GetObject(ddb, 20, &shortBm), 0);
  for (HGDIOBJ o : {HGDIOBJ(pen), HGDIOBJ(brush), HGDIOBJ(ddb), HGDIOBJ(dib)}) EXPECT_TRUE(DeleteObject(o));
}

TEST(Objects, DeletingSelectedObjects) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateBitmap(4, 4, 1, 32, nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  HGDIOBJ oldBm = SelectObject(dc, bm);
  SelectObject(dc, pen);
  // A bitmap in a DC cannot be deleted; a pen goes once it is deselected.
  EXPECT_FALSE(DeleteObject(bm));
  EXPECT_EQ(GetObjectType(bm), DWORD(OBJ_BITMAP));
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_EQ(GetObjectType(pen), DWORD(OBJ_PEN));
  EXPECT_TRUE(LineTo(dc, 3, 3));  // still drawable meanwhile
  SelectObject(dc, GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetObjectType(pen), 0u);
  // A bitmap is in one DC at a time.
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, bm), nullptr);
  SelectObject(dc, oldBm);
  EXPECT_NE(SelectObject(other, bm), nullptr);
  DeleteDC(other);  // deleting the DC lets the bitmap go
  EXPECT_TRUE(DeleteObject(bm));
  // Stock objects never die.
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), DWORD(OBJ_BRUSH));
  EXPECT_FALSE(DeleteObject(dc));
  DeleteDC(dc);
}

TEST(Objects, StockObjectsTable) {
  struct Case { int index; DWORD type; UINT style; COLORREF color; } cases[] = {
      {WHITE_BRUSH, OBJ_BRUSH, BS_SOLID, RGB(255, 255, 255)}, {LTGRAY_BRUSH, OBJ_BRUSH, BS_SOLID, RGB(192, 192, 192)},
      {GRAY_BRUSH, OBJ_BRUSH, BS_SOLID, RGB(128, 128, 128)},  {DKGRAY_BRUSH, OBJ_BRUSH, BS_SOLID, RGB(64, 64, 64)},
      {BLACK_BRUSH, OBJ_BRUSH, BS_SOLID, RGB(0, 0, 0)},       {NULL_BRUSH, OBJ_BRUSH, BS_NULL, 0},
      {WHITE_PEN, OBJ_PEN, PS_SOLID, RGB(255, 255, 255)},     {BLACK_PEN, OBJ_PEN, PS_SOLID, 0},
      {NULL_PEN, OBJ_PEN, PS_NULL, 0}};
  for (auto c : cases) {
    HGDIOBJ h = GetStockObject(c.index);
    ASSERT_NE(h, nullptr) << c.index;
    EXPECT_EQ(GetStockObject(c.index), h);
    EXPECT_EQ(GetObjectType(h), c.type);
    if (c.type == OBJ_BRUSH) {
      LOGBRUSH lb{};
      GetObject(h, sizeof lb, &lb);
      EXPECT_EQ(lb.lbStyle, c.style) << c.index;
      EXPECT_EQ(lb.lbColor, c.color) << c.index;
    } else {
      LOGPEN lp{};
      GetObject(h, sizeof lp, &lp);
      EXPECT_EQ(lp.lopnStyle, c.style) << c.index;
      EXPECT_EQ(lp.lopnColor, c.color) << c.index;
    }
  }
  EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), GetStockObject(NULL_BRUSH));
  EXPECT_EQ(GetStockObject(999), nullptr);
}

// Fonts come from the text module through the provider hook.
TEST(Objects, StockFontsComeFromTheirProvider) {
  struct FakeFont : plat::gdi::GdiObject {
    DWORD Type() const override { return OBJ_FONT; }
    int Describe(int size, void* out) const override { return out && size >= 4 ? 4 : 4; }
  };
  int asked = 0;
  plat::gdi::RegisterStockProvider(OEM_FIXED_FONT, [&asked] {
    ++asked;
    return std::make_shared<FakeFont>();
  });
  HGDIOBJ f = GetStockObject(OEM_FIXED_FONT);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(GetStockObject(OEM_FIXED_FONT), f);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(GetObjectType(f), DWORD(OBJ_FONT));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, f);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), f);
  SelectObject(dc, old);
  DeleteDC(dc);
}

TEST(Objects, PalettesAreTrueColourNoOps) {
  std::vector<uint8_t> mem(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(mem.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 3;
  lp->palPalEntry[0] = {255, 0, 0, 0};
  lp->palPalEntry[1] = {0, 255, 0, 0};
  lp->palPalEntry[2] = {0, 0, 255, 0};
  HPALETTE pal = CreatePalette(lp);
  ASSERT_NE(pal, nullptr);
  EXPECT_EQ(GetPaletteEntries(pal, 0, 0, nullptr), 3u);
  PALETTEENTRY e[3]{};
  EXPECT_EQ(GetPaletteEntries(pal, 1, 5, e), 2u);
  EXPECT_EQ(e[0].peGreen, 255);
  EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(10, 10, 200)), 2u);
  WORD count = 0;
  EXPECT_EQ(GetObject(pal, sizeof count, &count), int(sizeof count));
  EXPECT_EQ(count, 3);
  Canvas c(2, 2);
  HPALETTE old = SelectPalette(c.dc, pal, FALSE);
  EXPECT_EQ(old, GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(RealizePalette(c.dc), 0u);
  HPALETTE half = CreateHalftonePalette(c.dc);
  EXPECT_EQ(GetPaletteEntries(half, 0, 0, nullptr), 256u);
  SelectPalette(c.dc, old, FALSE);
  EXPECT_TRUE(DeleteObject(pal));
  EXPECT_TRUE(DeleteObject(half));
  lp->palVersion = 0x200;
  EXPECT_EQ(CreatePalette(lp), nullptr);
}

TEST(Objects, DibSectionOverOutsideMemorySharesThePixels) {
  struct Picture {
    std::vector<uint8_t> pixels = std::vector<uint8_t>(size_t(WIDTHBYTES(4 * 24)) * 2, 0);
  };
  auto picture = std::make_shared<Picture>();
  BITMAPINFO bmi{};
  bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  HBITMAP bm = plat::gdi::CreateDibSectionOver(&bmi, picture->pixels.data(), picture);
  ASSERT_NE(bm, nullptr);
  std::weak_ptr<Picture> alive = picture;
  picture.reset();
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, bm);
  EXPECT_FALSE(alive.expired());  // the bitmap keeps the owner's memory
  // Drawing changes the owner's bytes (bottom-up: picture row 0 is the second memory row) ...
  SetPixel(dc, 1, 0, RGB(0x30, 0x20, 0x10));
  auto p = alive.lock();
  const uint8_t* px = p->pixels.data() + WIDTHBYTES(4 * 24) + 3;
  EXPECT_EQ(px[0], 0x10);
  EXPECT_EQ(px[2], 0x30);
  // ... and the owner's writes show through the DC.
  p->pixels[0] = 0xFF;
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 0, 0xFF));
  p.reset();
  EXPECT_FALSE(DeleteObject(bm));  // selected
  DeleteDC(dc);
  EXPECT_TRUE(DeleteObject(bm));
  EXPECT_TRUE(alive.expired());
  bmi.bmiHeader.biBitCount = 7;
  EXPECT_EQ(plat::gdi::CreateDibSectionOver(&bmi, &bmi, nullptr), nullptr);
}

TEST(Objects, BadBitmapRequestsFailCleanly) {
  EXPECT_EQ(CreateBitmap(-1, 4, 1, 32, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(4, 4, 1, 7, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(100000, 100000, 1, 32, nullptr), nullptr);  // far too large
  HBITMAP empty = CreateBitmap(0, 0, 1, 32, nullptr);  // the 1x1 monochrome stock bitmap
  BITMAP bm{};
  GetObject(empty, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  BITMAPINFO bmi{};
  bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 4, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0};
  DWORD masks[3] = {0xF800, 0x07E0, 0x001F};  // 5-6-5 is not taken
  std::vector<uint8_t> mem(sizeof(BITMAPINFOHEADER) + sizeof masks);
  std::memcpy(mem.data(), &bmi.bmiHeader, sizeof(BITMAPINFOHEADER));
  std::memcpy(mem.data() + sizeof(BITMAPINFOHEADER), masks, sizeof masks);
  void* bits = reinterpret_cast<void*>(1);
  EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(mem.data()), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(bits, nullptr);
}

TEST(Objects, HatchedBrushOnATransparentBackgroundLeavesTheGaps) {
  Canvas c(8, 8);
  c.Fill(0x123456);
  HBRUSH hatch = CreateHatchBrush(HS_HORIZONTAL, RGB(255, 255, 255));
  SelectObject(c.dc, hatch);
  SetBkMode(c.dc, TRANSPARENT);
  PatBlt(c.dc, 0, 0, 8, 8, PATCOPY);
  int lines = 0, kept = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) (c.At(x, y) == 0xFFFFFF ? lines : kept) += 1;
  EXPECT_EQ(lines, 8);
  EXPECT_EQ(kept, 56);
  SetBkMode(c.dc, OPAQUE);
  SetBkColor(c.dc, RGB(0, 0, 0));
  PatBlt(c.dc, 0, 0, 8, 8, PATCOPY);
  int black = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) black += c.At(x, y) == 0;
  EXPECT_EQ(black, 56);
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(hatch);
}

}  // namespace

namespace {

TEST(Objects, ColourPatternBrushRepeatsItsTopLeftEightByEight) {
  Canvas pattern(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) pattern.Set(x, y, uint32_t(y * 8 + x));
  HBRUSH brush = CreatePatternBrush(pattern.bm);
  ASSERT_NE(brush, nullptr);
  pattern.Fill(0);  // the brush keeps its own copy
  Canvas c(16, 9);
  SelectObject(c.dc, brush);
  PatBlt(c.dc, 0, 0, 16, 9, PATCOPY);
  EXPECT_EQ(c.At(3, 2), 19u);
  EXPECT_EQ(c.At(11, 2), 19u);
  EXPECT_EQ(c.At(3, 8), 3u);
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(DeleteObject(brush));
}

}  // namespace
