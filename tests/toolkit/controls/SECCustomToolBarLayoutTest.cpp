// The toolbar's layout: button and separator metrics in both image sizes, a toolbar
// resource's separators and repeated ids, rows cut by width, the wrapping and balancing
// of a bar docked on a side, and the sizes a docked and a floating bar report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BarFixture.h"
#include "controls/SECBmpMgr.h"

namespace toolkit_test {
namespace {

std::string Text(const CRect& r) {
  char t[64];
  snprintf(t, sizeof t, "(%d,%d)-(%d,%d)", r.left, r.top, r.right, r.bottom);
  return t;
}

// The rows as the numbers of entries in each.
std::vector<int> RowLengths(const std::vector<SECCustomToolBar::RowInfo>& rows) {
  std::vector<int> out;
  int first = 0;
  for (const auto& row : rows) {
    out.push_back(row.nLast - first + 1);
    first = row.nLast + 1;
  }
  return out;
}

class ToolBarLayout : public BarTest {};

TEST_F(ToolBarLayout, ButtonsAndSeparatorsTakeTheImageMetrics) {
  SECCustomToolBar* bar = MakeToolBar(IDR_TEST_TOOLBAR);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->GetButtonCount(), 8);
  // 16 x 15 images: buttons 23 x 22, separators 8 x 22, one row after the gripper.
  const int kinds[] = {0, 0, 1, 0, 0, 1, 0, 0};
  int x = 1 + 17;  // the cool border and the gripper
  for (int i = 0; i < 8; ++i) {
    CRect r;
    bar->GetItemRect(i, &r);
    SCOPED_TRACE(i);
    EXPECT_EQ(Text(r), Text(CRect(x, 4, x + (kinds[i] ? 8 : 23), 26)));
    EXPECT_EQ((bar->GetButtonStyle(i) & TBBS_SEPARATOR) != 0, kinds[i] == 1);
    x = r.right;
  }
  // The bar: the buttons and its borders (1 + 6 at the right, 1 + 3 above and below).
  EXPECT_EQ(bar->CalcFixedLayout(FALSE, TRUE), CSize(x + 6 + 1, 22 + 8));
  // The view takes what the top dock bar leaves.
  CRect dock;
  frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&dock);
  frame->ScreenToClient(&dock);
  EXPECT_EQ(ViewRect().top, dock.bottom);
  EXPECT_GT(dock.Height(), 0);
}

TEST_F(ToolBarLayout, LargeImagesMakeLargerButtons) {
  SECCustomToolBar* bar = MakeToolBar(IDR_TEST_TOOLBAR);
  ASSERT_NE(bar, nullptr);
  bar->GetBitmapManager()->m_bSmallImages = FALSE;
  bar->GetBitmapManager()->ReloadAllBitmaps(FALSE);
  bar->SetButtonSize(0, 0);
  EXPECT_EQ(bar->GetImageWidth(), 22);
  EXPECT_EQ(bar->GetImageHeight(), 24);
  CRect button, separator;
  bar->GetItemRect(0, &button);
  bar->GetItemRect(2, &separator);
  EXPECT_EQ(button.Size(), CSize(29, 31));
  EXPECT_EQ(separator.Size(), CSize(10, 31));
}

TEST_F(ToolBarLayout, SeparatorsHaveNoImagesAndARepeatedIdShowsItsFirst) {
  SECCustomToolBar* bar = MakeToolBar(IDR_TEST_SEPARATORS);
  ASSERT_NE(bar, nullptr);
  // SEPARATOR, A, SEPARATOR, B, A, SEPARATOR: three images for the three buttons.
  ASSERT_EQ(bar->GetButtonCount(), 6);
  EXPECT_EQ(bar->GetBitmapManager()->m_bitmaps.front()->nImageCount, 3);
  EXPECT_EQ(bar->GetImageIndex(ID_TEST_CMD_A), 0);
  EXPECT_EQ(bar->GetImageIndex(ID_TEST_CMD_B), 1);
  EXPECT_EQ(bar->GetButton(4)->m_nImage, bar->GetButton(1)->m_nImage);
  for (int i : {0, 2, 5}) EXPECT_EQ(bar->GetButton(i)->m_nID, 0u) << i;
}

TEST_F(ToolBarLayout, RowsAreCutAtTheWidthAndAtSeparators) {
  SECCustomToolBar* bar = MakeToolBar(IDR_TEST_TOOLBAR);
  ASSERT_NE(bar, nullptr);
  std::vector<SECCustomToolBar::RowInfo> rows;
  struct Case {
    int width;
    std::vector<int> lengths;
    const char* why;
  } cases[] = {
      {0x7FFF, {8}, "unbounded: one row"},
      {10, {1, 2, 1, 2, 1, 1}, "narrower than a button: each button keeps a row of its own"},
      {50, {3, 3, 2}, "two buttons fit; the separators end the rows"},
      {80, {3, 3, 2}, "the third button would pass the width: back to the separator"},
      {100, {6, 2}, "four buttons and a separator fit"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    bar->WrapButtons(c.width, rows);
    EXPECT_EQ(RowLengths(rows), c.lengths);
  }
  // Row widths leave out a breaking separator; heights are the tallest button.
  bar->WrapButtons(50, rows);
  EXPECT_EQ(rows[0].cx, 46);
  EXPECT_TRUE(rows[0].bSeparator);
  EXPECT_EQ(rows[0].cy, 22);
}

TEST_F(ToolBarLayout, ABarOnASideWrapsToItsHeightAndBalancesTheRows) {
  SECCustomToolBar* bar = MakeToolBar(0);
  ASSERT_NE(bar, nullptr);
  std::vector<UINT> ids(10, ID_TEST_CMD_A);
  bar->SetButtons(ids.data(), 10);
  // Room for four button heights: three a row would need four rows of 3, 3, 3, 1;
  // balanced, the widest rows give their last buttons on.
  std::vector<SECCustomToolBar::RowInfo> rows;
  CSize size = bar->CalcWrappedSize(4 * 22, TRUE, rows);
  EXPECT_EQ(RowLengths(rows), (std::vector<int>{3, 2, 2, 3}));
  EXPECT_EQ(size, CSize(69, 88));
  // The row-break bits follow the rows.
  for (int i = 0; i < 10; ++i) EXPECT_EQ((bar->GetButtonStyle(i) & TBBS_WRAPPED) != 0, i == 2 || i == 4 || i == 6) << i;
  // Through the layout of a bar docked on the left, with its borders around.
  frame->DockControlBar(bar, AFX_IDW_DOCKBAR_LEFT);
  frame->RecalcLayout();
  CRect border(0, 0, 0, 0);
  bar->SECControlBar::CalcInsideRect(border, FALSE, TRUE);
  CSize docked = bar->CalcDynamicLayout(4 * 22 + border.top - border.bottom, LM_VERTDOCK | LM_LENGTHY | LM_COMMIT);
  EXPECT_EQ(docked, CSize(69 + border.left - border.right, 88 + border.top - border.bottom));
  CRect last;
  bar->GetItemRect(9, &last);
  EXPECT_EQ(last.top, border.top + 3 * 22);
}

TEST_F(ToolBarLayout, DockedOnASideTheColumnsFitTheDockBarsHeight) {
  SECCustomToolBar* bar = MakeToolBar(0);
  ASSERT_NE(bar, nullptr);
  std::vector<UINT> ids(10, ID_TEST_CMD_A);
  bar->SetButtons(ids.data(), 10);
  frame->DockControlBar(bar, AFX_IDW_DOCKBAR_LEFT);
  frame->RecalcLayout();
  // The frame is made as high as gives the left dock bar room for four buttons and the
  // bar's borders; the bar is laid out afresh there, as the framework's dock bar asks.
  CRect border(0, 0, 0, 0);
  bar->SECControlBar::CalcInsideRect(border, FALSE, TRUE);
  const int room = 4 * 22 + border.top - border.bottom;
  CWnd* dock = frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT);
  CRect dockRect, frameRect;
  dock->GetWindowRect(&dockRect);
  frame->GetWindowRect(&frameRect);
  frame->SetWindowPos(nullptr, 0, 0, frameRect.Width(), frameRect.Height() + room - dockRect.Height(),
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  bar->SetButtons(ids.data(), 10);
  frame->RecalcLayout();
  Settle();
  dock->GetWindowRect(&dockRect);
  ASSERT_EQ(dockRect.Height(), room);
  // Four rows of 3, 2, 2 and 3 buttons across, as a bar on a side with room for four.
  CRect barRect, last;
  bar->GetWindowRect(&barRect);
  EXPECT_LE(barRect.Height(), room);
  EXPECT_EQ(barRect.Width(), 69 + border.left - border.right);
  bar->GetItemRect(9, &last);
  EXPECT_EQ(last.top, border.top + 3 * 22);
  for (int i = 0; i < 10; ++i) EXPECT_EQ((bar->GetButtonStyle(i) & TBBS_WRAPPED) != 0, i == 2 || i == 4 || i == 6) << i;
}

TEST_F(ToolBarLayout, DockedOnASideTheButtonsStandInAColumn) {
  SECCustomToolBar* bar = MakeToolBar(IDR_TEST_TOOLBAR);
  ASSERT_NE(bar, nullptr);
  frame->DockControlBar(bar, AFX_IDW_DOCKBAR_LEFT);
  frame->RecalcLayout();
  Settle();
  CRect first, second;
  bar->GetItemRect(0, &first);
  bar->GetItemRect(1, &second);
  EXPECT_EQ(second.left, first.left);
  EXPECT_EQ(second.top, first.bottom);
  // Back on top, the buttons stand in a row again.
  frame->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
  frame->RecalcLayout();
  Settle();
  bar->GetItemRect(0, &first);
  bar->GetItemRect(1, &second);
  EXPECT_EQ(second.top, first.top);
  EXPECT_EQ(second.left, first.right);
}

TEST_F(ToolBarLayout, AFloatingBarReportsTwoPixelsLessEachWay) {
  SECCustomToolBar* bar = MakeToolBar(IDR_TEST_TOOLBAR);
  ASSERT_NE(bar, nullptr);
  CSize docked = bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
  EXPECT_EQ(docked, bar->m_szFloatLayout);
  frame->FloatControlBar(bar, CPoint(300, 300));
  Settle();
  ASSERT_TRUE(bar->IsFloating());
  // Laid out again at its width (as resizing its frame does): the computed size is
  // kept, the reported one is smaller.
  CSize floating = bar->CalcDynamicLayout(bar->m_szFloatLayout.cx, LM_HORZ | LM_COMMIT);
  EXPECT_EQ(floating, CSize(bar->m_szFloatLayout.cx - 2, bar->m_szFloatLayout.cy - 2));
  // Floating, the bar has no gripper: the buttons start at the border.
  CRect first;
  bar->GetItemRect(0, &first);
  EXPECT_EQ(first.left, 1 + bar->m_cxLeftBorder);
}

TEST_F(ToolBarLayout, AnEmptyBarIsOneButtonLarge) {
  SECCustomToolBar* bar = MakeToolBar(0);
  ASSERT_NE(bar, nullptr);
  CRect border(0, 0, 0, 0);
  bar->SECControlBar::CalcInsideRect(border, TRUE, FALSE);
  EXPECT_EQ(bar->CalcLayout(0x7FFF, LM_HORZ | LM_HORZDOCK | LM_COMMIT),
            CSize(23 + border.left - border.right, 22 + border.top - border.bottom));
}

}  // namespace
}  // namespace toolkit_test
