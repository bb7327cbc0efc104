// Toolbar buttons by their pixels: the normal, pressed, checked, disabled, disabled and
// checked, hot and transparent looks; buttons without an image; and paints whose draw
// context or work bitmaps cannot be made.
#include <gtest/gtest.h>

#include <set>

#include "BarFixture.h"
#include "Faults.h"
#include "controls/SECBtnDrawContext.h"

namespace toolkit_test {
namespace {

COLORREF Sys(int index) { return ::GetSysColor(index); }

// The toolbar images are 16 x 15 with a coloured square at (4..11, 3..11); a button of
// 23 x 22 shows the image at (3, 3), so the square at (7..14, 6..14).
const CPoint kSquareTopLeft(7, 6);
const CPoint kSquareBottomRight(14, 14);
constexpr COLORREF kRed = RGB(255, 0, 0), kLime = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

class ButtonLooks : public BarTest {
 protected:
  void SetUp() override {
    BarTest::SetUp();
    bar = MakeToolBar(IDR_TEST_TOOLBAR);
    ASSERT_NE(bar, nullptr);
  }
  // Sets a button's style and paints the bar at once.
  void Show(int index, UINT style) {
    bar->SetButtonStyle(index, style);
    bar->RedrawWindow();
    Settle();
  }
  // A pixel of button `index`, at `p` inside the button.
  COLORREF At(int index, CPoint p) const {
    CRect r = ButtonOnScreen(*bar, index);
    return ScreenPixel(r.TopLeft() + p);
  }
  SECCustomToolBar* bar = nullptr;
};

TEST_F(ButtonLooks, NormalAndPressedButtonsShowTheirImages) {
  Show(0, 0);
  EXPECT_EQ(At(0, kSquareTopLeft), kRed);
  EXPECT_EQ(At(0, kSquareBottomRight), kRed);
  EXPECT_EQ(At(0, CPoint(0, 0)), Sys(COLOR_BTNFACE));  // flat in the cool look
  EXPECT_EQ(At(1, kSquareTopLeft), kLime);
  // Pressed: sunk by one pixel, framed in shadow and highlight.
  Show(0, TBBS_PRESSED);
  EXPECT_EQ(At(0, kSquareTopLeft), Sys(COLOR_BTNFACE));
  EXPECT_EQ(At(0, kSquareTopLeft + CPoint(1, 1)), kRed);
  EXPECT_EQ(At(0, kSquareBottomRight + CPoint(1, 1)), kRed);
  EXPECT_EQ(At(0, CPoint(0, 0)), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(0, CPoint(22, 21)), Sys(COLOR_BTNHIGHLIGHT));
}

TEST_F(ButtonLooks, AHotButtonIsRaised) {
  Show(0, SEC_TBBS_HOT);
  EXPECT_EQ(At(0, CPoint(0, 0)), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(At(0, CPoint(22, 21)), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(0, kSquareTopLeft), kRed);
}

TEST_F(ButtonLooks, ACheckedButtonShowsACheckerboardRoundItsImage) {
  Show(3, TBBS_CHECKBOX | TBBS_CHECKED);
  EXPECT_EQ(At(3, kSquareTopLeft + CPoint(1, 1)), kBlue);
  // Two neighbours in the background: one face, one highlight.
  std::set<COLORREF> seen{At(3, CPoint(3, 3)), At(3, CPoint(4, 3)), At(3, CPoint(3, 4))};
  EXPECT_EQ(seen, (std::set<COLORREF>{Sys(COLOR_BTNFACE), Sys(COLOR_BTNHIGHLIGHT)}));
}

TEST_F(ButtonLooks, ADisabledButtonIsEmbossed) {
  Show(4, TBBS_DISABLED);
  // The image in shadow, its highlight copy one pixel down and right, no colour left.
  EXPECT_EQ(At(4, kSquareTopLeft), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(4, kSquareBottomRight), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(4, kSquareBottomRight + CPoint(1, 1)), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(At(4, CPoint(3, 3)), Sys(COLOR_BTNFACE));
  CRect r = ButtonOnScreen(*bar, 4);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) ASSERT_NE(ScreenPixel(CPoint(x, y)), RGB(255, 255, 0)) << x << "," << y;
}

TEST_F(ButtonLooks, ADisabledCheckedButtonIsEmbossedOverTheCheckerboard) {
  Show(4, TBBS_DISABLED | TBBS_CHECKBOX | TBBS_CHECKED);
  const CPoint square = kSquareTopLeft + CPoint(1, 1);  // the checked look is sunk
  EXPECT_EQ(At(4, square), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(4, square + CPoint(7, 8)), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(At(4, square + CPoint(8, 9)), Sys(COLOR_BTNHIGHLIGHT));
  std::set<COLORREF> seen{At(4, CPoint(3, 3)), At(4, CPoint(4, 3)), At(4, CPoint(3, 4))};
  EXPECT_EQ(seen, (std::set<COLORREF>{Sys(COLOR_BTNFACE), Sys(COLOR_BTNHIGHLIGHT)}));
}

TEST_F(ButtonLooks, ATransparentButtonShowsWhatLiesUnderIt) {
  bar->ModifyExBarStyle(0, CBRS_EX_TRANSPARENT, FALSE);
  // Drawn over green: the face gives way, the image stays.
  CClientDC screen(nullptr);
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
  CBitmap canvas;
  ASSERT_TRUE(canvas.CreateCompatibleBitmap(&screen, 60, 40));
  CBitmap* old = dc.SelectObject(&canvas);
  dc.FillSolidRect(0, 0, 60, 40, RGB(0, 128, 0));
  SECBtnDrawContext ctx;
  ASSERT_TRUE(ctx.Prepare(&dc, 23, bar));
  SECStdBtn* btn = bar->GetButton(0);
  const CPoint saved(btn->m_x, btn->m_y);
  btn->SetPos(10, 10);
  btn->Draw(dc, ctx);
  ctx.Release();
  btn->SetPos(saved.x, saved.y);
  EXPECT_EQ(dc.GetPixel(10 + 2, 10 + 2), RGB(0, 128, 0));
  EXPECT_EQ(dc.GetPixel(10 + kSquareTopLeft.x, 10 + kSquareTopLeft.y), kRed);
  dc.SelectObject(old);
}

TEST_F(ButtonLooks, AButtonWithoutAnImageShowsItsFaceOnly) {
  // After a button with an image, so that the image DC still holds the toolbar bitmap.
  bar->InsertButton(1, ID_TEST_CMD_NOIMAGE);
  bar->RedrawWindow();
  Settle();
  CRect r = ButtonOnScreen(*bar, 1);
  for (int y = r.top + 2; y < r.bottom - 2; ++y)
    for (int x = r.left + 2; x < r.right - 2; ++x)
      ASSERT_EQ(ScreenPixel(CPoint(x, y)), Sys(COLOR_BTNFACE)) << x - r.left << "," << y - r.top;
}

TEST_F(ButtonLooks, ButtonsBeyondTheBitmapsImagesShowNone) {
  SECCustomToolBar* shortBar = MakeToolBar(IDR_TEST_SHORT, CBRS_EX_COOL | CBRS_EX_GRIPPER, 0xE820);
  ASSERT_NE(shortBar, nullptr);
  ASSERT_EQ(shortBar->GetButtonCount(), 4);
  shortBar->RedrawWindow();
  Settle();
  auto at = [&](int index, CPoint p) { return ScreenPixel(ButtonOnScreen(*shortBar, index).TopLeft() + p); };
  EXPECT_EQ(at(0, kSquareTopLeft), RGB(128, 0, 128));
  EXPECT_EQ(at(1, kSquareTopLeft), RGB(0, 128, 128));
  EXPECT_EQ(at(2, kSquareTopLeft), Sys(COLOR_BTNFACE));
  EXPECT_EQ(at(3, kSquareTopLeft), Sys(COLOR_BTNFACE));
}

TEST_F(ButtonLooks, APaintWithoutADrawContextEndsInTheBar) {
  // A new bar makes its draw context on its first paint, which comes once it shows.
  SECCustomToolBar* second =
      MakeToolBar(IDR_TEST_TOOLBAR, CBRS_EX_COOL | CBRS_EX_GRIPPER, 0xE821, kProgramToolBarStyle & ~WS_VISIBLE);
  ASSERT_NE(second, nullptr);
  {
    // It cannot make one.
    plat::faults::Scope noDc("CreateCompatibleDC", ERROR_NOT_ENOUGH_MEMORY);
    frame->ShowControlBar(second, TRUE, FALSE);
    second->RedrawWindow();
    Settle();
    EXPECT_EQ(second->m_pDrawContext, nullptr);
    EXPECT_NE(ScreenPixel(ButtonOnScreen(*second, 0).TopLeft() + kSquareTopLeft), kRed);
  }
  second->RedrawWindow();
  Settle();
  EXPECT_EQ(ScreenPixel(ButtonOnScreen(*second, 0).TopLeft() + kSquareTopLeft), kRed);
  {
    // Without its work bitmaps a paint shows no buttons either.
    plat::faults::Scope noBitmap("CreateCompatibleBitmap", ERROR_NOT_ENOUGH_MEMORY);
    second->RedrawWindow();
    Settle();
    EXPECT_EQ(ScreenPixel(ButtonOnScreen(*second, 0).TopLeft() + kSquareTopLeft), Sys(COLOR_BTNFACE));
  }
}

}  // namespace
}  // namespace toolkit_test
