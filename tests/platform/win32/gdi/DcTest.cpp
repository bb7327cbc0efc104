#include <gtest/gtest.h>

#include "Faults.h"
#include "GdiTestSupport.h"
#include "gdi/DeviceContext.h"

using namespace gditest;

namespace {

TEST(Dc, DeviceCapsOfTheScreen) {
  HDC dc = CreateCompatibleDC(nullptr);
  struct Case { int index, want; } cases[] = {
      {LOGPIXELSX, 96}, {LOGPIXELSY, 96}, {BITSPIXEL, 32}, {PLANES, 1}, {NUMCOLORS, -1},
      {SIZEPALETTE, 0}, {TECHNOLOGY, DT_RASDISPLAY}};
  for (auto c : cases) EXPECT_EQ(GetDeviceCaps(dc, c.index), c.want) << c.index;
  EXPECT_GT(GetDeviceCaps(dc, HORZRES), 0);
  EXPECT_GT(GetDeviceCaps(dc, VERTRES), 0);
  EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & (RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP | RC_PALETTE),
            RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP);
  DeleteDC(dc);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 0);  // deleted
}

TEST(Dc, OriginsShiftLogicalToDevice) {
  Canvas c(10, 10);
  c.Fill(0);
  SetWindowOrgEx(c.dc, 5, 5, nullptr);
  SetViewportOrgEx(c.dc, 1, 2, nullptr);
  POINT old{};
  OffsetViewportOrgEx(c.dc, 1, 0, &old);
  EXPECT_EQ(old.x, 1);
  POINT p{5, 5};
  LPtoDP(c.dc, &p, 1);
  EXPECT_EQ(p.x, 2);
  EXPECT_EQ(p.y, 2);
  DPtoLP(c.dc, &p, 1);
  EXPECT_EQ(p.x, 5);
  SetPixel(c.dc, 5, 5, RGB(255, 255, 255));
  EXPECT_EQ(c.At(2, 2), 0xFFFFFFu);
  EXPECT_EQ(GetPixel(c.dc, 5, 5), RGB(255, 255, 255));
  EXPECT_EQ(SetMapMode(c.dc, MM_TEXT), MM_TEXT);
}

// Saving and restoring a DC state and describing an object can be made to fail, as the
// calls that report failure on Windows; the failure leaves the state as it was.
TEST(Dc, SaveRestoreAndDescribeFailWhenTheirFaultIsArmed) {
  Canvas c(4, 4);
  SetTextColor(c.dc, RGB(1, 1, 1));
  {
    plat::faults::Scope fault("SaveDC", ERROR_NOT_ENOUGH_MEMORY, 0, 1);
    EXPECT_EQ(SaveDC(c.dc), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_ENOUGH_MEMORY));
  }
  const int saved = SaveDC(c.dc);
  ASSERT_NE(saved, 0);
  SetTextColor(c.dc, RGB(2, 2, 2));
  {
    plat::faults::Scope fault("RestoreDC", ERROR_INVALID_PARAMETER, 0, 1);
    EXPECT_FALSE(RestoreDC(c.dc, -1));
    EXPECT_EQ(GetTextColor(c.dc), RGB(2, 2, 2));
  }
  EXPECT_TRUE(RestoreDC(c.dc, -1));
  EXPECT_EQ(GetTextColor(c.dc), RGB(1, 1, 1));
  BITMAP bm{};
  const HGDIOBJ bitmap = GetCurrentObject(c.dc, OBJ_BITMAP);
  {
    plat::faults::Scope fault("GetObjectA", ERROR_INVALID_HANDLE, 0, 1);
    EXPECT_EQ(GetObjectA(bitmap, sizeof bm, &bm), 0);
  }
  EXPECT_EQ(GetObjectA(bitmap, sizeof bm, &bm), int(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 4);
}

TEST(Dc, SaveAndRestoreIncludingRelativeLevels) {
  Canvas c(4, 4);
  SetTextColor(c.dc, RGB(1, 1, 1));
  int first = SaveDC(c.dc);
  SetTextColor(c.dc, RGB(2, 2, 2));
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
  HGDIOBJ oldPen = SelectObject(c.dc, pen);
  IntersectClipRect(c.dc, 0, 0, 1, 1);
  int second = SaveDC(c.dc);
  EXPECT_EQ(second, first + 1);
  SetTextColor(c.dc, RGB(3, 3, 3));
  ASSERT_TRUE(RestoreDC(c.dc, -1));
  EXPECT_EQ(GetTextColor(c.dc), RGB(2, 2, 2));
  EXPECT_EQ(GetCurrentObject(c.dc, OBJ_PEN), pen);
  RECT box{};
  EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 1);
  ASSERT_TRUE(RestoreDC(c.dc, first));
  EXPECT_EQ(GetTextColor(c.dc), RGB(1, 1, 1));
  EXPECT_EQ(GetCurrentObject(c.dc, OBJ_PEN), oldPen);
  EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 4);
  EXPECT_FALSE(RestoreDC(c.dc, -1));  // nothing saved any more
  EXPECT_FALSE(RestoreDC(c.dc, 5));
  EXPECT_TRUE(DeleteObject(pen));
}

TEST(Dc, ClipFunctionsWorkTogether) {
  Canvas c(8, 8);
  c.Fill(0);
  EXPECT_EQ(IntersectClipRect(c.dc, 1, 1, 7, 7), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(c.dc, 3, 3, 5, 5), COMPLEXREGION);
  HRGN extra = CreateRectRgn(0, 0, 2, 8);
  EXPECT_EQ(ExtSelectClipRgn(c.dc, extra, RGN_OR), COMPLEXREGION);
  PatBlt(c.dc, 0, 0, 8, 8, WHITENESS);
  EXPECT_EQ(c.Art(0),
            "##......\n"
            "#######.\n"
            "#######.\n"
            "###..##.\n"
            "###..##.\n"
            "#######.\n"
            "#######.\n"
            "##......\n");
  RECT r{3, 3, 5, 5}, r2{3, 3, 6, 5};
  EXPECT_FALSE(RectVisible(c.dc, &r));
  EXPECT_TRUE(RectVisible(c.dc, &r2));
  EXPECT_FALSE(PtVisible(c.dc, 7, 0));
  HRGN got = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(c.dc, got), 1);
  EXPECT_TRUE(PtInRegion(got, 0, 0));
  // The clip region is in device units: moving the window origin does not move it.
  SetWindowOrgEx(c.dc, 2, 0, nullptr);
  RECT box{};
  GetClipBox(c.dc, &box);
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(SelectClipRgn(c.dc, nullptr), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(c.dc, got), 0);
  // Selecting a region object selects a copy as clip and answers its complexity.
  HRGN small = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(reinterpret_cast<intptr_t>(SelectObject(c.dc, small)), SIMPLEREGION);
  EXPECT_TRUE(DeleteObject(small));
  EXPECT_TRUE(PtVisible(c.dc, 2, 0));
  DeleteObject(extra);
  DeleteObject(got);
}

TEST(Dc, JournalRecordsPrimitivesWhenSwitchedOn) {
  Canvas c(8, 8);
  auto dc = plat::gdi::FindDc(c.dc);
  ASSERT_TRUE(dc);
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 3, 3);
  EXPECT_EQ(dc->GetJournal(), nullptr);  // off by default
  dc->EnableJournal(true);
  SetROP2(c.dc, R2_NOT);
  LineTo(c.dc, 5, 3);
  PatBlt(c.dc, 1, 1, 2, 2, DSTINVERT);
  auto entries = dc->GetJournal()->Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].call, "LineTo");
  EXPECT_EQ(entries[0].rop2, R2_NOT);
  ASSERT_EQ(entries[0].points.size(), 2u);
  EXPECT_EQ(entries[0].points[0].x, 3);
  EXPECT_EQ(entries[0].points[1].x, 5);
  EXPECT_EQ(entries[0].pen, GetStockObject(BLACK_PEN));
  EXPECT_EQ(entries[1].call, "PatBlt");
  EXPECT_EQ(entries[1].rop3, DSTINVERT);
}

TEST(Dc, DesktopDcDrawsOnTheScreen) {
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(GetObjectType(screen), DWORD(OBJ_DC));
  HDC display = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_NE(display, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r{10, 20, 13, 22};
  FillRect(screen, &r, red);
  EXPECT_EQ(GetPixel(display, 12, 21), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(display, 13, 21), GetPixel(display, 14, 21));
  EXPECT_EQ(GetPixel(screen, -1, 0), CLR_INVALID);
  DeleteObject(red);
  DeleteDC(display);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

}  // namespace

namespace {

// What the text functions draw glyphs with: coverage blends on true colour, rounds on
// palette and monochrome surfaces, and keeps to the DC's clip.
TEST(Dc, CoverageMasksBlendInsideTheClip) {
  Canvas c(4, 1);
  c.Fill(0x000000);
  auto dc = plat::gdi::FindDc(c.dc);
  ExcludeClipRect(c.dc, 3, 0, 4, 1);
  const uint8_t cover[4] = {0, 128, 255, 255};
  dc->DrawCoverage(0, 0, 4, 1, cover, 4, RGB(255, 255, 255));
  EXPECT_EQ(c.At(0, 0), 0u);
  EXPECT_EQ(c.At(1, 0), 0x808080u);
  EXPECT_EQ(c.At(2, 0), 0xFFFFFFu);
  EXPECT_EQ(c.At(3, 0), 0u);  // clipped

  std::vector<RGBQUAD> table = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  Canvas mono(3, 1, 1, true, table);
  auto mdc = plat::gdi::FindDc(mono.dc);
  const uint8_t soft[3] = {100, 128, 200};
  mdc->DrawCoverage(0, 0, 3, 1, soft, 3, RGB(255, 255, 255));
  EXPECT_EQ(mono.At(0, 0), 0u);
  EXPECT_EQ(mono.At(1, 0), 1u);
  EXPECT_EQ(mono.At(2, 0), 1u);
}

TEST(Dc, JournalCanBeSwitchedOnForEveryNewDc) {
  plat::gdi::SetJournalAll(true);
  Canvas c(4, 4);
  plat::gdi::SetJournalAll(false);
  RECT r{0, 0, 2, 2};
  FillRect(c.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  auto dc = plat::gdi::FindDc(c.dc);
  ASSERT_NE(dc->GetJournal(), nullptr);
  auto e = dc->GetJournal()->Entries();
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].call, "FillRect");
  EXPECT_EQ(e[0].rect.right, 2);
}

TEST(Dc, NearestColourFollowsTheSelectedBitmap) {
  std::vector<RGBQUAD> table = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  Canvas mono(8, 1, 1, true, table), rgb(1, 1);
  EXPECT_EQ(GetNearestColor(mono.dc, RGB(200, 210, 220)), RGB(255, 255, 255));
  EXPECT_EQ(GetNearestColor(mono.dc, RGB(20, 30, 40)), RGB(0, 0, 0));
  EXPECT_EQ(GetNearestColor(rgb.dc, RGB(20, 30, 40)), RGB(20, 30, 40));
}

}  // namespace
