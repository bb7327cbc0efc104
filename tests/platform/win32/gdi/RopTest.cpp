#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "gdi/Raster.h"

using namespace gditest;

namespace {

// With pattern 0xF0, source 0xCC and destination 0xAA every code gives back its own truth
// table: that is what the code's number means.
TEST(Rop3, EveryCodeFollowsItsTruthTable) {
  for (int code = 0; code < 256; ++code) {
    uint32_t d[3] = {0xAA, 0xAAAAAAAA, 0x00AA00AA}, s[3] = {0xCC, 0xCCCCCCCC, 0x00CC00CC}, p[3] = {0xF0, 0xF0F0F0F0, 0x00F000F0};
    plat::gdi::RopRow(uint8_t(code))(d, s, p, 3);
    EXPECT_EQ(d[0] & 0xFF, uint32_t(code)) << "code " << code;
    EXPECT_EQ(d[1], uint32_t(code) * 0x01010101u) << "code " << code;
    EXPECT_EQ(d[2] & 0x00FF00FF, uint32_t(code) * 0x00010001u) << "code " << code;
  }
}

TEST(Rop3, UsageFlagsFollowTheTable) {
  using namespace plat::gdi;
  struct Case { DWORD rop; bool src, pat, dst; } cases[] = {
      {SRCCOPY, true, false, false}, {PATCOPY, false, true, false}, {DSTINVERT, false, false, true},
      {BLACKNESS, false, false, false}, {MERGECOPY, true, true, false}, {0x00B8074A, true, true, true},
      {SRCAND, true, false, true}, {PATINVERT, false, true, true}};
  for (auto c : cases) {
    EXPECT_EQ(RopUsesSource(RopCode(c.rop)), c.src) << std::hex << c.rop;
    EXPECT_EQ(RopUsesPattern(RopCode(c.rop)), c.pat) << std::hex << c.rop;
    EXPECT_EQ(RopUsesDest(RopCode(c.rop)), c.dst) << std::hex << c.rop;
  }
}

// Through BitBlt on real pixels: brush P, source S, destination D, hand-computed results.
TEST(Rop3, BitBltCombinesBrushSourceAndDestination) {
  const uint32_t P = 0x00F0F0, S = 0x33CC55, D = 0x5A0FF0;
  struct Case { DWORD rop; uint32_t want; } cases[] = {
      {SRCCOPY, S},
      {SRCAND, S & D},
      {SRCPAINT, S | D},
      {SRCINVERT, S ^ D},
      {SRCERASE, S & ~D & 0xFFFFFF},
      {NOTSRCCOPY, ~S & 0xFFFFFF},
      {NOTSRCERASE, ~(S | D) & 0xFFFFFF},
      {MERGECOPY, S & P},
      {MERGEPAINT, (~S | D) & 0xFFFFFF},
      {PATCOPY, P},
      {PATINVERT, P ^ D},
      {PATPAINT, (P | ~S | D) & 0xFFFFFF},
      {DSTINVERT, ~D & 0xFFFFFF},
      {BLACKNESS, 0},
      {WHITENESS, 0xFFFFFF},
      {0x00B8074A, (S & D) | (~S & P & 0xFFFFFF)},   // pattern where the source is clear
      {0x00E20746, (S & P) | (~S & D & 0xFFFFFF)},   // pattern where the source is set
      {0x00220326, ~S & D & 0xFFFFFF},
  };
  Canvas src(2, 1), dst(2, 1);
  src.Fill(S);
  HBRUSH brush = CreateSolidBrush(RGB(0x00, 0xF0, 0xF0));
  SelectObject(dst.dc, brush);
  for (auto c : cases) {
    dst.Fill(D);
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, c.rop));
    EXPECT_EQ(dst.At(1, 0), c.want) << std::hex << "rop " << c.rop;
  }
  SelectObject(dst.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
}

TEST(Rop3, PatBltRefusesOperationsThatNeedASource) {
  Canvas c(4, 4);
  EXPECT_FALSE(PatBlt(c.dc, 0, 0, 4, 4, SRCCOPY));
  EXPECT_TRUE(PatBlt(c.dc, 0, 0, 4, 4, WHITENESS));
  EXPECT_EQ(c.At(3, 3), 0xFFFFFFu);
}

// All sixteen mix modes on a line over a known background: pen 0x0F0F0F, destination 0x335577.
TEST(Rop2, EveryMixModeCombinesPenAndDestination) {
  const uint32_t P = 0x0F0F0F, D = 0x335577, M = 0xFFFFFF;
  uint32_t want[17] = {0, 0, ~(P | D) & M, ~P & D & M, ~P & M, P & ~D & M, ~D & M, P ^ D, ~(P & D) & M, P & D,
                       ~(P ^ D) & M, D, (~P | D) & M, P, (P | ~D) & M, P | D, M};
  Canvas c(4, 1);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0x0F, 0x0F, 0x0F));
  SelectObject(c.dc, pen);
  for (int mode = R2_BLACK; mode <= R2_WHITE; ++mode) {
    c.Fill(D);
    SetROP2(c.dc, mode);
    MoveToEx(c.dc, 0, 0, nullptr);
    LineTo(c.dc, 3, 0);
    EXPECT_EQ(c.At(1, 0), want[mode]) << "mode " << mode;
    EXPECT_EQ(c.At(3, 0), D) << "the last pixel stays, mode " << mode;
  }
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

// Rubber bands and handles are erased by drawing them again: R2_NOT and R2_XORPEN must
// give back the bytes exactly, for every primitive and pen.
TEST(Rop2, DrawingTwiceUnderNotOrXorRestoresTheBytes) {
  struct Pen { int style, width; } pens[] = {{PS_SOLID, 1}, {PS_DOT, 1}, {PS_DASH, 1}, {PS_SOLID, 3}, {PS_SOLID, 6}};
  POINT poly[] = {{3, 3}, {40, 7}, {12, 35}, {30, 30}, {3, 3}};
  for (int mode : {R2_NOT, R2_XORPEN}) {
    for (auto p : pens) {
      for (int bkMode : {OPAQUE, TRANSPARENT}) {
        Canvas c(48, 40);
        for (int y = 0; y < 40; ++y)
          for (int x = 0; x < 48; ++x) c.Set(x, y, uint32_t(x * 5 + y * 1000 + (x ^ y) * 70000) & 0xFFFFFF);
        auto before = c.Bytes();
        HPEN pen = CreatePen(p.style, p.width, RGB(200, 30, 90));
        HBRUSH brush = CreateSolidBrush(RGB(10, 250, 40));
        SelectObject(c.dc, pen);
        SelectObject(c.dc, brush);
        SetROP2(c.dc, mode);
        SetBkMode(c.dc, bkMode);
        for (int pass = 0; pass < 2; ++pass) {
          MoveToEx(c.dc, 2, 2, nullptr);
          LineTo(c.dc, 45, 37);
          LineTo(c.dc, 5, 30);
          LineTo(c.dc, 2, 2);
          Polyline(c.dc, poly, 5);
          Polygon(c.dc, poly, 4);
          Rectangle(c.dc, 6, 6, 20, 16);
          Ellipse(c.dc, 20, 10, 44, 30);
        }
        EXPECT_EQ(c.Bytes(), before) << "mode " << mode << " style " << p.style << " width " << p.width;
        SelectObject(c.dc, GetStockObject(BLACK_PEN));
        SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
        DeleteObject(pen);
        DeleteObject(brush);
      }
    }
  }
}

}  // namespace
