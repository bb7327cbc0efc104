// Calendar panels: their bands, inner rectangle, text, sizes and font fitting.
#include <gtest/gtest.h>

#include <cstdlib>

#include "DateTimeFixture.h"
#include "controls/SECCalendar.h"
#include "controls/SECPanel.h"

namespace toolkit_test {
namespace {

using Panels = ToolkitTest;

TEST_F(Panels, StyleZeroDrawsNoBandsOnlyTheFillAndTheText) {
  SECPanel panel;
  panel.Create(CRect(2, 2, 31, 21), nullptr, 0, 0, TRUE, TRUE, 0, SEC_PBS_SELECTABLE, 2);
  panel.SetText("8");
  Surface s(40, 30);
  EXPECT_TRUE(panel.Draw(&s.dc));
  EXPECT_EQ(panel.GetInnerRect(), CRect(2, 2, 31, 21));
  EXPECT_EQ(s.At(1, 1), kMagenta);  // nothing outside the panel
  EXPECT_EQ(s.At(2, 2), secData.clrBtnFace);
  EXPECT_EQ(s.At(31, 21), secData.clrBtnFace);  // the right and bottom pixel belong to it
  EXPECT_EQ(s.At(32, 22), kMagenta);
  EXPECT_GT(s.Count(CRect(2, 2, 32, 22), ::GetSysColor(COLOR_WINDOWTEXT)), 0);  // the "8"
}

TEST_F(Panels, ASelectedPanelOfStyle83IsSunkenByTwoPixelsAndUnselectedFlat) {
  SECPanel panel;
  panel.Create(CRect(0, 0, 19, 14), nullptr, 0, 0, TRUE, FALSE, 0x83, SEC_PBS_SELECTABLE, 2);
  {
    Surface s(24, 20);
    panel.Draw(&s.dc);
    EXPECT_EQ(s.At(0, 0), secData.clrBtnShadow);
    EXPECT_EQ(s.At(1, 1), secData.clrBtnShadow);
    EXPECT_EQ(s.At(10, 0), secData.clrBtnShadow);
    EXPECT_EQ(s.At(19, 14), secData.clrBtnHilite);
    EXPECT_EQ(s.At(18, 13), secData.clrBtnHilite);
    EXPECT_EQ(s.At(2, 2), secData.clrBtnFace);
    EXPECT_EQ(s.At(17, 12), secData.clrBtnFace);
    EXPECT_EQ(panel.GetInnerRect(), CRect(2, 2, 17, 12));
  }
  ASSERT_TRUE(panel.SetSelected(FALSE, FALSE));
  Surface s(24, 20);
  panel.Draw(&s.dc);
  EXPECT_EQ(s.Count(CRect(0, 0, 20, 15), secData.clrBtnFace), 20 * 15);
  EXPECT_EQ(panel.GetInnerRect(), CRect(0, 0, 19, 14));
}

TEST_F(Panels, BandsNestBorderBevelAndRing) {
  SECPanel panel;
  // Border and raised bevel when not selected, and the ring when highlighted.
  panel.Create(CRect(0, 0, 29, 29), nullptr, 0, 0, FALSE, TRUE,
               SEC_PDS_BORDERUNSELECTED | SEC_PDS_BEVELUNSELECTED | SEC_PDS_RINGUNSELECTED,
               SEC_PBS_SELECTABLE | SEC_PBS_HIGHLIGHTABLE, 3);
  panel.SetRingColour(RGB(0, 128, 0));
  Surface s(32, 32);
  panel.Draw(&s.dc);
  EXPECT_EQ(s.At(0, 0), RGB(0, 0, 0));  // the border
  EXPECT_EQ(s.At(1, 1), secData.clrBtnHilite);
  EXPECT_EQ(s.At(28, 28), secData.clrBtnShadow);
  EXPECT_EQ(s.At(4, 4), RGB(0, 128, 0));  // the ring, from the bevel's end
  EXPECT_EQ(s.At(7, 7), RGB(0, 128, 0));
  EXPECT_EQ(s.At(8, 8), secData.clrBtnFace);
  EXPECT_EQ(panel.GetInnerRect(), CRect(7, 7, 22, 22));
  EXPECT_EQ(SECPanel::BandTotal(panel.GetDrawStyle(), 3, FALSE, TRUE), 7);
  EXPECT_EQ(SECPanel::BandTotal(panel.GetDrawStyle(), 3, TRUE, TRUE), 0);
  EXPECT_EQ(SECPanel::BandTotal(0x7E, 2, TRUE, FALSE), 3);
}

TEST_F(Panels, APanelSmallerThanItsBandsDrawsNoText) {
  SECPanel panel;
  panel.Create(CRect(0, 0, 2, 2), nullptr, 0, 0, TRUE, FALSE, 0x83, SEC_PBS_SELECTABLE, 2);
  panel.SetText("8");
  EXPECT_TRUE(panel.GetInnerRect().IsRectNull());
  Surface s(8, 8);
  EXPECT_TRUE(panel.Draw(&s.dc));
  EXPECT_EQ(s.Count(CRect(0, 0, 8, 8), ::GetSysColor(COLOR_WINDOWTEXT)), 0);
  EXPECT_EQ(s.At(4, 4), kMagenta);
}

TEST_F(Panels, TheBehaviourWordAllowsSelectionAndHighlight) {
  SECPanel panel;
  panel.Create(CRect(0, 0, 9, 9), nullptr, 0, 0, FALSE, TRUE, 0x7E, SEC_PBS_HIGHLIGHTABLE, 2);
  EXPECT_FALSE(panel.SetSelected(TRUE, FALSE));
  EXPECT_FALSE(panel.IsSelected());
  EXPECT_TRUE(panel.SetHighlighted(TRUE, FALSE));
  panel.SetBehaviour(SEC_PBS_SELECTABLE);
  EXPECT_FALSE(panel.SetHighlighted(TRUE, FALSE));
  EXPECT_FALSE(panel.IsHighlighted());  // cleared, not kept
  EXPECT_TRUE(panel.SetSelected(TRUE, FALSE));
  panel.SetBehaviour(0);
  EXPECT_FALSE(panel.SetSelected(FALSE, FALSE));
  EXPECT_TRUE(panel.IsSelected());  // kept
  EXPECT_EQ(panel.SetDrawStyle(0x83), 0x7Eu);
  EXPECT_EQ(panel.SetBevelWidth(4), 2);
  EXPECT_EQ(panel.GetInnerRect(), CRect(4, 4, 5, 5));
}

TEST_F(Panels, ADayBoxShowsItsDayGreyedOutsideTheMonth) {
  SECDayBox box;
  box.Create(CRect(0, 0, 29, 19), nullptr, 0, 0, FALSE, FALSE, 0x180, 0xC000, 2);
  box.SetDate(At(2026, 7, 2, 12));
  box.SetTextColour(RGB(0, 0, 255));
  box.SetGreyColour(RGB(0, 128, 0));
  {
    Surface s(32, 24);
    box.Draw(&s.dc);
    EXPECT_GT(s.Count(CRect(0, 0, 30, 20), RGB(0, 0, 255)), 0);
  }
  box.SetOutOfMonth(TRUE);
  EXPECT_FALSE(box.GetBehaviour() & (SEC_PBS_SELECTABLE | SEC_PBS_HIGHLIGHTABLE));
  Surface s(32, 24);
  box.Draw(&s.dc);
  EXPECT_EQ(s.Count(CRect(0, 0, 30, 20), RGB(0, 0, 255)), 0);
  EXPECT_GT(s.Count(CRect(0, 0, 30, 20), RGB(0, 128, 0)), 0);
  box.SetOutOfMonth(FALSE);
  EXPECT_EQ(box.GetBehaviour() & 0xC000, 0xC000u);
  // Under "out-of-month days stay selectable" only the highlight goes.
  box.SetBehaviour(0xC000 | SEC_CS_SELECTOUTOFMONTH);
  box.SetOutOfMonth(TRUE);
  EXPECT_EQ(box.GetBehaviour() & 0xC000, static_cast<DWORD>(SEC_PBS_SELECTABLE));
}

TEST_F(Panels, SizesFollowTheTextAndTheBands) {
  UserLocale english(0x0409);
  Surface s(10, 10);
  LOGFONT lf{};
  lf.lfHeight = -20;  // test font: 20 high, 10 wide
  SECDayBox box;
  box.Create(CRect(0, 0, 0, 0), nullptr, 0, 0, FALSE, FALSE, SEC_PDS_CENTERTEXT, 0xC000, 2);
  const CSize eighty8 = [&] {
    CFont f;
    f.CreateFontIndirect(&lf);
    CFont* old = s.dc.SelectObject(&f);
    const CSize e = s.dc.GetTextExtent(CString("88"));
    s.dc.SelectObject(old);
    return e;
  }();
  EXPECT_EQ(box.GetSize(&s.dc, &lf), CSize(static_cast<int>(eighty8.cx * 1.25), static_cast<int>(eighty8.cy * 1.25)));
  box.SetDrawStyle(0);
  EXPECT_EQ(box.GetSize(&s.dc, &lf).cx, static_cast<int>(eighty8.cx * 1.25 * 1.5));
  box.SetDrawStyle(0x6E);  // selected and highlighted: border, bevel and ring of 1 + 10 + 10
  box.SetBevelWidth(10);
  EXPECT_EQ(box.GetSize(&s.dc, &lf), CSize(eighty8.cx + 42, eighty8.cy + 42));
}

TEST_F(Panels, FittingEndsForAPanelOfAnySize) {
  Surface s(10, 10);
  SECDayBar bar;
  const struct {
    CRect rect;
  } cases[] = {{CRect(0, 0, 99999, 99999)}, {CRect(0, 0, 139, 19)}, {CRect(0, 0, 3, 3)}, {CRect(5, 5, 4, 4)}};
  for (const auto& c : cases) {
    bar.Create(c.rect, nullptr, 0, 0, FALSE, FALSE, 0, 0, 2);
    LOGFONT lf{};
    lf.lfHeight = 16;
    bar.FitFont(&s.dc, lf);
    EXPECT_LE(std::labs(lf.lfHeight), 8192) << c.rect.right;
    if (c.rect.Width() < 0) {
      EXPECT_EQ(lf.lfHeight, 0);
    }
  }
  // A bar of 140 x 20 gets a font that fits it.
  bar.Create(CRect(0, 0, 139, 19), nullptr, 0, 0, FALSE, FALSE, 0, 0, 2);
  LOGFONT lf{};
  lf.lfHeight = 16;
  bar.FitFont(&s.dc, lf);
  const CSize size = bar.GetSize(&s.dc, &lf);
  EXPECT_LE(size.cx, 140);
  EXPECT_LE(size.cy, 20);
  EXPECT_GT(size.cy, 10);
}

TEST_F(Panels, TheTitleNamesTheMonthAndPlacesItsButtons) {
  UserLocale english(0x0409);
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr,
                              nullptr));
  SECCalendar calendar;
  calendar.SetDate(At(2026, 9, 3), FALSE);
  ASSERT_TRUE(calendar.Create(WS_VISIBLE, CRect(0, 0, 200, 200), &parent, 5));
  SECCalTitle& title = calendar.GetTitle();
  EXPECT_EQ(std::string(title.GetText()), "September 2026");
  title.SetDrawStyle(title.GetDrawStyle() & ~SEC_PDS_LONGMONTHS);
  title.SetDate(At(2026, 9, 3));
  EXPECT_EQ(std::string(title.GetText()), "Sep 2026");

  const CRect inner = title.GetInnerRect();
  const int w = inner.Width();
  const int h = inner.Height();
  auto placed = [&](int i) {
    CRect r;
    title.GetButton(i).GetWindowRect(&r);
    calendar.ScreenToClient(&r);
    return r;
  };
  EXPECT_EQ(placed(SECCalTitle::PrevYear),
            CRect(inner.left + 10 * w / 200, inner.top + h / 5, inner.left + 30 * w / 200, inner.bottom - h / 5));
  EXPECT_EQ(placed(SECCalTitle::PrevMonth).left, inner.left + 30 * w / 200);
  EXPECT_EQ(placed(SECCalTitle::NextMonth).right, inner.right - 30 * w / 200);
  EXPECT_EQ(placed(SECCalTitle::NextYear), CRect(inner.right - 30 * w / 200, inner.top + h / 5,
                                                 inner.right - 10 * w / 200, inner.bottom - h / 5));
  calendar.DestroyWindow();

  // The month pair alone takes the outer places; no year buttons are made.
  SECCalendar months;
  months.SetStyle(0x39C000 & ~SEC_CS_YEARBUTTONS);
  ASSERT_TRUE(months.Create(WS_VISIBLE, CRect(0, 0, 200, 200), &parent, 6));
  EXPECT_EQ(months.GetTitle().GetButton(SECCalTitle::PrevYear).m_hWnd, nullptr);
  CRect prev;
  months.GetTitle().GetButton(SECCalTitle::PrevMonth).GetWindowRect(&prev);
  months.ScreenToClient(&prev);
  const CRect mi = months.GetTitle().GetInnerRect();
  EXPECT_EQ(prev.left, mi.left + 10 * mi.Width() / 200);
  months.DestroyWindow();
  parent.DestroyWindow();
}

}  // namespace
}  // namespace toolkit_test
