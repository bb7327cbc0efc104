// The date/time control's optional modes: fixed fields, auto-advance, Tab between fields,
// the partial-date mode and the modification flags.
#include <gtest/gtest.h>

#include "DateTimeFixture.h"
#include "controls/SECCalendar.h"
#include "controls/SECDTGadget.h"
#include "user/Driver.h"

namespace toolkit_test {
namespace {

using D = SECDateTimeCtrl;
namespace driver = plat::user::driver;

class Modes : public DateTimeTest {
 protected:
  // Opens the calendar, selects `date` in it and closes it with OK.
  void Choose(const COleDateTime& date) {
    ctrl.PopupCalendar();
    SECCalendar* calendar = ctrl.GetPopupCalendar();
    ASSERT_NE(calendar, nullptr);
    calendar->SetDate(date, FALSE);
    calendar->SelectDate(date, TRUE);
    calendar->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(ctrl.GetPopupCalendar(), nullptr);
  }
};

TEST_F(Modes, FixedFieldsNeverTakeFocusAndKeepTheirPartInTheCalendar) {
  ctrl.m_nFixedFields = D::FixYear | D::FixMonth | D::FixDay;
  Make("yyyy/MM/dd HH:mm", SEC_DTS_CALENDAR, At(2026, 6, 30, 9, 5));
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Hour24));
  for (int id : {D::Year4, D::Month, D::Day}) EXPECT_FALSE(ctrl.GetGadget(IndexOf(id))->TakesFocus()) << id;
  for (int i = 0; i < 5; ++i) Key(VK_LEFT);
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Hour24));
  const CRect year = ctrl.GetGadget(IndexOf(D::Year4))->GetRect();
  ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(year.left + 1, year.top + 1));
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Hour24));  // the click lands on the next field that can take it
  Choose(At(2025, 2, 3));
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-06-30 09:05:00");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 0);
  // A fixed part still changes when another field's edit moves it.
  EXPECT_TRUE(ctrl.SetDateTime(At(2026, 1, 31, 9, 5)));
}

TEST_F(Modes, AFixedDayKeepsItsDayAndAMonthWithoutItChangesNothing) {
  ctrl.m_nFixedFields = D::FixDay;
  Make("yyyy/MM/dd", SEC_DTS_CALENDAR, At(2026, 5, 31, 9, 5));
  Choose(At(2026, 6, 12));  // June has no 31st
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-05-31 09:05:00");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 0);
  Choose(At(2026, 7, 12));
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-07-31 09:05:00");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 1);
  EXPECT_EQ(ctrl.m_nModified, D::ModDate);
}

TEST_F(Modes, AutoAdvanceMovesOnWhenANumberIsComplete) {
  ctrl.m_bAutoAdvance = 1;
  Make("yy  :  mm  :  ss", SEC_DTS_UPDOWN, At(2001, 1, 1, 0, 5, 7));
  ctrl.SetActiveGadget(IndexOf(D::Minute));
  Type("12");
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Second));
  EXPECT_EQ(dialog.Count(EN_CHANGE), 1);  // the value only: no second notification
  Type("34");
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Second));  // the last field stays
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2001-01-01 00:12:34");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 2);
}

TEST_F(Modes, TabMovesBetweenTheFieldsAndThenOnThroughTheDialog) {
  ctrl.m_bTabNavigation = 1;
  Make("yy  :  mm  :  ss", SEC_DTS_UPDOWN, At(2001, 1, 1, 0, 5, 7));
  EXPECT_EQ(ctrl.SendMessage(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS);
  driver::PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Minute));
  driver::PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Second));
  driver::PressKey(VK_TAB);  // from the last field to the dialog's next control
  Pump();
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog.m_hWnd, IDC_TEST_DT_AFTER));
  driver::PressKey(VK_TAB, driver::kShift);  // and back onto the last field
  Pump();
  EXPECT_EQ(::GetFocus(), ctrl.m_hWnd);
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Second));
  EXPECT_TRUE(ctrl.GetGadget(IndexOf(D::Second))->IsActive());
  for (int i = 0; i < 3; ++i) {
    driver::PressKey(VK_TAB, driver::kShift);
    Pump();
  }
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog.m_hWnd, IDC_TEST_DT_BEFORE));
  driver::PressKey(VK_TAB);  // forward into it: the first field
  Pump();
  EXPECT_EQ(::GetFocus(), ctrl.m_hWnd);
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Year2));
  ctrl.SendMessage(WM_CHAR, '\t', 0);  // the Tab character itself does nothing
  EXPECT_EQ(Beeps(), 0);
}

TEST_F(Modes, WithoutTabNavigationTheDialogMovesOn) {
  Make("yy  :  mm  :  ss", SEC_DTS_UPDOWN, At(2001, 1, 1, 0, 5, 7));
  EXPECT_EQ(ctrl.SendMessage(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
  driver::PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog.m_hWnd, IDC_TEST_DT_AFTER));
}

// A custom date of day, month and year that starts empty.
class Partial : public Modes {
 protected:
  void MakePartial(const char* format, DWORD style = 0) {
    ctrl.m_partial.bPartial = 1;
    ctrl.m_partial.wEmpty = D::PartYear | D::PartMonth | D::PartDay | D::PartDayOfWeek;
    ctrl.m_partial.nHour = ctrl.m_partial.nMinute = ctrl.m_partial.nSecond = 0;
    Make(format, style, At(2020, 1, 1));
    // SetDateTime ends the mode; the owner enters it again, the format already parsed.
    ctrl.m_partial.bPartial = 1;
    ctrl.m_partial.wPresent = ctrl.CalcPresentFields();
    ctrl.SetFormat(format);
    dialog.notes.clear();
  }
};

TEST_F(Partial, EmptyFieldsShowPlaceholdersUntilTheDateIsComplete) {
  MakePartial("dd/MM/yyyy");
  EXPECT_EQ(ctrl.m_partial.wPresent, D::PartDay | D::PartMonth | D::PartYear);
  for (int id : {D::Day, D::Month, D::Year4})
    EXPECT_TRUE(ctrl.GetGadget(IndexOf(id))->GetStyle() & SECDTGadget::IsEmpty) << id;
  // The placeholders are drawn: two, two and four of them.
  ctrl.UpdateWindow();
  Activate(D::Day);
  Key(VK_UP);  // an empty part steps to today's number
  EXPECT_EQ(ctrl.m_partial.nDay, 30);
  EXPECT_FALSE(ctrl.GetGadget(IndexOf(D::Day))->GetStyle() & SECDTGadget::IsEmpty);
  Type("31");
  Activate(D::Month);
  Type("02");
  Activate(D::Year4);
  Type("2026");
  EXPECT_TRUE(ctrl.IsPartial());
  EXPECT_EQ(ctrl.GetDateTime().GetStatus(), COleDateTime::invalid);  // 31 February
  EXPECT_EQ(ctrl.SendMessage(WM_GETTEXTLENGTH), 0);
  EXPECT_EQ(dialog.Count(EN_CHANGE), 0);
  Activate(D::Day);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_TRUE(ctrl.IsPartial());
  EXPECT_EQ(dialog.Count(EN_CHANGE), 0);
  Key(VK_DOWN);  // the 28th: complete
  EXPECT_FALSE(ctrl.IsPartial());
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-02-28 00:00:00");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 2);
  EXPECT_EQ(Text(), "28/02/2026");
  EXPECT_EQ(ctrl.m_nModified, D::ModDate);
}

// Runs of `colour` along the middle row of a field: the test font draws each character
// as a block one pixel narrower than its advance.
int InkRuns(CWnd& wnd, const CRect& field, COLORREF colour) {
  CClientDC dc(&wnd);
  const int y = field.top + field.Height() / 2;
  int runs = 0;
  bool inside = false;
  for (int x = field.left; x < field.right; ++x) {
    const bool ink = dc.GetPixel(x, y) == colour;
    if (ink && !inside) ++runs;
    inside = ink;
  }
  return runs;
}

TEST_F(Partial, PlaceholdersAreDrawnInTheFieldsWidths) {
  MakePartial("dd/MM/yyyy");
  Activate(D::Day);
  auto runs = [&](int id, COLORREF colour) {
    ctrl.Invalidate();
    ctrl.UpdateWindow();
    return InkRuns(ctrl, ctrl.GetGadget(IndexOf(id))->GetRect(), colour);
  };
  const COLORREF text = secData.clrWindowText;
  EXPECT_EQ(runs(D::Day, secData.clrHighlightText), 2);  // active: highlighted
  EXPECT_EQ(runs(D::Month, text), 2);
  EXPECT_EQ(runs(D::Year4, text), 4);
  ctrl.m_cPlaceholder = ' ';  // a blank draws nothing
  EXPECT_EQ(runs(D::Month, text), 0);
  EXPECT_EQ(runs(D::Year4, text), 0);
  Activate(D::Year4);
  Type("2");  // typed digits show in place of the placeholders
  EXPECT_EQ(runs(D::Year4, secData.clrHighlightText), 1);
  EXPECT_EQ(Text(), "01/01/2");  // the text keeps the numbers last held
}

TEST_F(Partial, ATwoDigitYearTakesTheSystemCenturyEvenNearTheValue) {
  MakePartial("dd/MM/yy", SEC_DTS_Y2K_NEAREST);
  Activate(D::Year2);
  Type("30");
  EXPECT_EQ(ctrl.m_partial.nYear, 2030);
  Type("99");
  EXPECT_EQ(ctrl.m_partial.nYear, 1999);  // the stored 2030 is the reference now
}

TEST_F(Partial, OutOfBoundsNumbersAreRefused) {
  MakePartial("dd/MM/yyyy");
  Activate(D::Day);
  Type("32");
  EXPECT_EQ(Beeps(), 1);
  EXPECT_EQ(ctrl.m_partial.nDay, -1);
  EXPECT_TRUE(ctrl.GetGadget(IndexOf(D::Day))->GetStyle() & SECDTGadget::IsEmpty);
  Activate(D::Year4);
  ctrl.m_dtMax = At(2030, 12, 31);
  Type("2031");
  EXPECT_EQ(Beeps(), 1);
  EXPECT_TRUE(ctrl.GetGadget(IndexOf(D::Year4))->GetStyle() & SECDTGadget::IsEmpty);
}

TEST_F(Partial, SetDateTimeEndsTheMode) {
  MakePartial("dd/MM/yyyy");
  ASSERT_TRUE(ctrl.SetDateTime(At(2026, 3, 4)));
  EXPECT_FALSE(ctrl.IsPartial());
  EXPECT_EQ(Text(), "04/03/2026");
  EXPECT_FALSE(ctrl.GetGadget(IndexOf(D::Day))->GetStyle() & SECDTGadget::IsEmpty);
  EXPECT_EQ(dialog.Count(EN_CHANGE), 0);
  EXPECT_EQ(ctrl.m_nModified, 0);
}

TEST_F(Partial, TheCalendarOpensOnTodayWhenTheStoredPartsMakeNoDate) {
  MakePartial("dd/MM/yyyy", SEC_DTS_CALENDAR);
  Activate(D::Month);
  Type("02");
  ctrl.PopupCalendar();
  SECCalendar* calendar = ctrl.GetPopupCalendar();
  ASSERT_NE(calendar, nullptr);
  EXPECT_EQ(Show(calendar->GetSelectedDate()), "2026-06-30 12:00:00");  // 30 February does not exist
  calendar->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();

  Activate(D::Day);
  Type("15");
  ctrl.PopupCalendar();
  calendar = ctrl.GetPopupCalendar();
  ASSERT_NE(calendar, nullptr);
  EXPECT_EQ(Show(calendar->GetSelectedDate()), "2026-02-15 12:00:00");  // the year is today's
  // A choice fills the date and completes it: two notifications.
  calendar->SelectDate(At(2027, 3, 9), TRUE);
  calendar->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_FALSE(ctrl.IsPartial());
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2027-03-09 00:00:00");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 2);
}

TEST_F(Partial, TimePartsCompleteWithTheStoredDate) {
  ctrl.m_partial.bPartial = 1;
  ctrl.m_partial.wEmpty = D::PartHour | D::PartMinute;
  ctrl.m_partial.nYear = 2026;
  ctrl.m_partial.nMonth = 6;
  ctrl.m_partial.nDay = 30;
  ctrl.m_partial.nSecond = 0;
  ASSERT_TRUE(ctrl.Create(0, WS_VISIBLE, CRect(0, 0, 160, 24), &dialog, 58));
  ctrl.SetFormat("HH:mm tt");
  ctrl.SetFocus();
  dialog.notes.clear();
  EXPECT_EQ(ctrl.m_partial.wPresent, D::PartHour | D::PartMinute);
  ctrl.SetActiveGadget(IndexOf(D::AmPm));
  Key(VK_END);  // an empty meridiem: 23 o'clock
  EXPECT_EQ(ctrl.m_partial.nHour, 23);
  Key(VK_UP);  // toggles to the morning
  EXPECT_EQ(ctrl.m_partial.nHour, 11);
  EXPECT_EQ(ctrl.m_nModified, D::ModTime);
  ctrl.SetActiveGadget(IndexOf(D::Minute));
  Type("45");
  EXPECT_FALSE(ctrl.IsPartial());
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-06-30 11:45:00");
  // The test of the typed number completes the date; setting it, and the complete
  // number, then take the ordinary way.
  EXPECT_EQ(dialog.Count(EN_CHANGE), 3);
}

}  // namespace
}  // namespace toolkit_test
