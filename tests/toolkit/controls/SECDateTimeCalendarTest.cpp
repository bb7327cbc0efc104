// The date/time control's popup calendar: opening it, choosing in it, closing it, and
// pictures of both in the two locales.
#include <gtest/gtest.h>

#include <cstdlib>

#include "DateTimeFixture.h"
#include "controls/SECCalendar.h"
#include "controls/SECDTButtonGadget.h"
#include "display/Png.h"

namespace toolkit_test {
namespace {

using D = SECDateTimeCtrl;

class Popup : public DateTimeTest {
 protected:
  // A click on the drop-down button, as the mouse makes it.
  void ClickButton() {
    const CRect button = ctrl.GetGadget(0)->GetRect();
    const LPARAM at = MAKELPARAM(button.CenterPoint().x, button.CenterPoint().y);
    ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_TRUE(static_cast<SECDTButtonGadget*>(ctrl.GetGadget(0))->GetState() & SECDTButtonGadget::Pressed);
    ctrl.SendMessage(WM_LBUTTONUP, 0, at);
    Pump();
  }
  void ClickDay(const COleDateTime& day) {
    SECCalendar* calendar = ctrl.GetPopupCalendar();
    ASSERT_NE(calendar, nullptr);
    for (int i = 0; i < SECCalendar::DayBoxes; ++i) {
      SECDayBox& box = calendar->GetDayBox(i);
      if (box.GetDate().GetYear() == day.GetYear() && box.GetDate().GetMonth() == day.GetMonth() &&
          box.GetDate().GetDay() == day.GetDay()) {
        const CPoint c = box.GetRect().CenterPoint();
        calendar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
        calendar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.x, c.y));
        Pump();
        return;
      }
    }
    ADD_FAILURE() << "no box for " << Show(day);
  }
};

TEST_F(Popup, TheButtonOpensItBelowTheControlOnTheValue) {
  Make("yyyy/MM/dd", SEC_DTS_CALENDAR | SEC_DTS_UPDOWN, At(2026, 6, 17, 9, 30));
  ClickButton();
  SECCalendar* calendar = ctrl.GetPopupCalendar();
  ASSERT_NE(calendar, nullptr);
  EXPECT_TRUE(calendar->IsWindowVisible());
  EXPECT_EQ(::GetFocus(), calendar->m_hWnd);
  CRect below, mine;
  calendar->GetWindowRect(&below);
  ctrl.GetWindowRect(&mine);
  EXPECT_EQ(below.TopLeft(), CPoint(mine.left, mine.bottom));
  EXPECT_EQ(Show(calendar->GetSelectedDate()), "2026-06-17 12:00:00");
  EXPECT_EQ(calendar->GetStyle() & (SEC_CS_SELECTOUTOFMONTH | SEC_CS_DRAGSELECT),
            static_cast<DWORD>(SEC_CS_SELECTOUTOFMONTH | SEC_CS_DRAGSELECT));
  EXPECT_EQ(calendar->GetOutOfMonthStyle(), 0x183u);
  EXPECT_EQ(dialog.Count(EN_KILLFOCUS), 1);  // the calendar took the focus
}

TEST_F(Popup, AGreyDayOfTheNextMonthClosesItWithThatDate) {
  Make("yyyy/MM/dd", SEC_DTS_CALENDAR, At(2026, 6, 17, 9, 30));
  ClickButton();
  ClickDay(At(2026, 7, 2));
  EXPECT_EQ(ctrl.GetPopupCalendar(), nullptr);
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-07-02 09:30:00");  // the time of day is kept
  EXPECT_EQ(dialog.Count(EN_CHANGE), 1);
  EXPECT_EQ(ctrl.m_nModified, D::ModDate);
  EXPECT_EQ(Text(), "2026/07/02");
}

TEST_F(Popup, ChoosingTheShownDateChangesNothing) {
  Make("yyyy/MM/dd", SEC_DTS_CALENDAR, At(2026, 6, 17, 9, 30));
  ClickButton();
  ClickDay(At(2026, 6, 17));
  EXPECT_EQ(ctrl.GetPopupCalendar(), nullptr);
  EXPECT_EQ(dialog.Count(EN_CHANGE), 0);
  EXPECT_EQ(ctrl.m_nModified, 0);
}

TEST_F(Popup, ClickingElsewhereCancelsIt) {
  Make("yyyy/MM/dd", SEC_DTS_CALENDAR, At(2026, 6, 17));
  ClickButton();
  ASSERT_NE(ctrl.GetPopupCalendar(), nullptr);
  ctrl.GetPopupCalendar()->SelectDate(At(2026, 6, 20), TRUE);
  dialog.SetActiveWindow();
  Pump();
  EXPECT_EQ(ctrl.GetPopupCalendar(), nullptr);
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-06-17 00:00:00");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 0);
}

TEST_F(Popup, AResultWithoutAnOpenCalendarIsIgnored) {
  Make("yyyy/MM/dd", SEC_DTS_CALENDAR, At(2026, 6, 17));
  EXPECT_EQ(ctrl.SendMessage(SEC_CALN_OK), 0);
  EXPECT_EQ(ctrl.SendMessage(SEC_CALN_CANCEL), 0);
  // A second close that arrives after the first has deleted the calendar.
  ClickButton();
  ctrl.PostMessage(SEC_CALN_OK);
  ClickDay(At(2026, 6, 18));
  Pump();
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-06-18 00:00:00");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 1);
  EXPECT_EQ(ctrl.GetPopupCalendar(), nullptr);
}

TEST_F(Popup, ARefusedChoiceLeavesTheValue) {
  struct Refusing : SECDateTimeCtrl {
    BOOL OnChanging(const COleDateTime&) override { return FALSE; }
  };
  Refusing refusing;
  ASSERT_TRUE(refusing.Create(0, WS_VISIBLE | SEC_DTS_CALENDAR, CRect(0, 0, 160, 24), &dialog, 60));
  refusing.SetFormat("yyyy/MM/dd");
  ASSERT_TRUE(refusing.SetDateTime(At(2026, 6, 17)));
  refusing.PopupCalendar();
  ASSERT_NE(refusing.GetPopupCalendar(), nullptr);
  refusing.GetPopupCalendar()->SelectDate(At(2026, 6, 3), TRUE);
  refusing.GetPopupCalendar()->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(Show(refusing.GetDateTime()), "2026-06-17 00:00:00");
  EXPECT_EQ(refusing.GetPopupCalendar(), nullptr);
  // The range test applies to a choice too, without clamping.
  refusing.m_nRangeMode = D::DateOnly;
  refusing.m_dtMin = At(2026, 6, 10);
  refusing.m_dtMax = At(2026, 6, 30);
  SECDateTimeCtrl& base = refusing;
  EXPECT_FALSE(base.IsValidDateTime(At(2026, 6, 3)));
  refusing.DestroyWindow();
}

// A page that ends the control when it hears of a change.
class EndingDialog : public NotifyDialog {
 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (HIWORD(wParam) == EN_CHANGE && lParam) ::DestroyWindow(reinterpret_cast<HWND>(lParam));
    return NotifyDialog::OnCommand(wParam, lParam);
  }
};

TEST_F(Popup, TheParentMayEndTheControlWhenItHearsOfTheChoice) {
  EndingDialog page;
  ASSERT_TRUE(page.Create(IDD_TEST_DATETIME));
  page.ShowWindow(SW_SHOW);
  SECDateTimeCtrl c;
  ASSERT_TRUE(c.CreateOverDlgItem(IDC_TEST_DT_FIELD, &page, SEC_DTS_CALENDAR, WS_CHILD | WS_TABSTOP, 0));
  c.SetFormat("yyyy/MM/dd");
  ASSERT_TRUE(c.SetDateTime(At(2026, 6, 17)));
  c.PopupCalendar();
  ASSERT_NE(c.GetPopupCalendar(), nullptr);
  const HWND calendar = c.GetPopupCalendar()->m_hWnd;
  c.GetPopupCalendar()->SelectDate(At(2026, 6, 3), TRUE);
  c.GetPopupCalendar()->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(c.m_hWnd, nullptr);
  EXPECT_FALSE(::IsWindow(calendar));
  EXPECT_EQ(page.Count(EN_CHANGE), 1);
  page.DestroyWindow();
}

TEST_F(Popup, DestroyingTheControlTakesTheCalendarWithIt) {
  Make("yyyy/MM/dd", SEC_DTS_CALENDAR, At(2026, 6, 17));
  ClickButton();
  ASSERT_NE(ctrl.GetPopupCalendar(), nullptr);
  const HWND calendar = ctrl.GetPopupCalendar()->m_hWnd;
  ctrl.DestroyWindow();
  Pump();
  EXPECT_FALSE(::IsWindow(calendar));
  EXPECT_EQ(ctrl.GetPopupCalendar(), nullptr);
}

// Pictures of the control (spin and drop-down button) with its calendar open, in both
// locales. LUMORA_DATETIME_SHOT=<folder> keeps them there, drawn with the installed fonts
// (run this test alone, so that no font was made with the test font before).
constexpr const char* kShotVariable = "LUMORA_DATETIME_SHOT";

class Shots : public ToolkitTest {
 protected:
  void SetUp() override {
    if (std::getenv(kShotVariable)) setenv("LUMORA_FONT", "", 1);
    ToolkitTest::SetUp();
  }
  void TearDown() override {
    ToolkitTest::TearDown();
    setenv("LUMORA_FONT", "test", 1);
  }
  PinnedClock clock{2026, 6, 30};
};

TEST_F(Shots, OfTheControlAndItsCalendarInBothLocales) {
  const char* keep = std::getenv(kShotVariable);
  struct Shot {
    LCID lcid;
    const char* name;
    const char* format;
  } shots[] = {
      {0x0411, "datetime-ja.png", "yyyy'年'M'月'd'日' H:mm:ss"},
      {0x0409, "datetime-en.png", "ddd, MMM dd, yyyy h:mm:ss tt"},
  };
  for (const Shot& shot : shots) {
    UserLocale locale(shot.lcid);
    NotifyDialog page;
    ASSERT_TRUE(page.Create(IDD_TEST_DATETIME));
    page.ShowWindow(SW_SHOW);
    SECDateTimeCtrl c;
    ASSERT_TRUE(c.CreateOverDlgItem(IDC_TEST_DT_FIELD, &page, SEC_DTS_CALENDAR | SEC_DTS_UPDOWN,
                                    WS_CHILD | WS_TABSTOP, WS_EX_CLIENTEDGE));
    c.SetFormat(shot.format);
    ASSERT_TRUE(c.SetDateTime(At(2026, 6, 30, 14, 5, 9)));
    c.SetFocus();
    c.SetActiveGadget(c.GetFixedGadgetCount() + 2);
    c.PopupCalendar();
    SECCalendar* calendar = c.GetPopupCalendar();
    ASSERT_NE(calendar, nullptr);
    calendar->HighlightDate(At(2026, 6, 12));
    Pump();
    CRect area, cal;
    page.GetWindowRect(&area);
    calendar->GetWindowRect(&cal);
    area.UnionRect(&area, &cal);
    const std::string path = keep ? std::string(keep) + "/" + shot.name : testenv::ScratchDir() + "/" + shot.name;
    ASSERT_TRUE(plat::display::SavePng(path, &area));
    auto image = plat::display::ReadPng(path);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, area.Width());
    // The selected day is drawn sunken: its top-left corner in the button shadow.
    CRect box;
    for (int i = 0; i < SECCalendar::DayBoxes; ++i)
      if (calendar->GetDayBox(i).IsSelected()) box = calendar->GetDayBox(i).GetRect();
    CPoint corner = box.TopLeft();
    calendar->ClientToScreen(&corner);
    const auto px = image->pixels[static_cast<size_t>(corner.y - area.top) * static_cast<size_t>(image->width) +
                                  static_cast<size_t>(corner.x - area.left)];
    EXPECT_EQ(px & 0xFFFFFF, static_cast<unsigned>((GetRValue(secData.clrBtnShadow) << 16) |
                                                   (GetGValue(secData.clrBtnShadow) << 8) |
                                                   GetBValue(secData.clrBtnShadow)));
    c.DestroyWindow();
    page.DestroyWindow();
  }
}

}  // namespace
}  // namespace toolkit_test
