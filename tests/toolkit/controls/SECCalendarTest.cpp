// The month calendar and its popup: the grid, moves and steps, the keyboard, the mouse,
// closing, and where the popup opens.
#include <gtest/gtest.h>

#include "DateTimeFixture.h"
#include "controls/SECCalendar.h"
#include "controls/SECLocaleNames.h"
#include "controls/SECResourceIds.h"
#include "user/Driver.h"

namespace toolkit_test {
namespace {

namespace driver = plat::user::driver;

// A top-level window that keeps what its calendar posts to it.
class Owner : public CWnd {
 public:
  struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  BOOL Make() {
    return CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPED | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                    nullptr);
  }
  int Count(UINT message) const {
    int n = 0;
    for (const Posted& p : posted)
      if (p.message == message) ++n;
    return n;
  }
  std::vector<Posted> posted;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message >= SEC_CALN_SELECT && message <= SEC_CALN_CANCEL) {
      posted.push_back({message, wParam, lParam});
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class Calendar : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    ASSERT_TRUE(owner.Make());
    plat::beeps::Take();
  }
  void TearDown() override {
    if (calendar.m_hWnd) calendar.DestroyWindow();
    if (popup.m_hWnd) popup.DestroyWindow();
    owner.DestroyWindow();
    Pump();
    ToolkitTest::TearDown();
  }
  // A calendar of 280 x 240 in the owner, showing `shown`.
  void MakeChild(const COleDateTime& shown, DWORD style = 0x39C000) {
    calendar.SetStyle(style);
    calendar.SetDate(shown, FALSE);
    ASSERT_TRUE(calendar.Create(WS_VISIBLE, CRect(0, 0, 280, 240), &owner, 77));
    Pump();
    owner.posted.clear();
  }
  // The popup as the date/time control opens it, under `ownerRect` (screen).
  void MakePopup(const COleDateTime& selected, const CRect& ownerRect = CRect(120, 130, 240, 150)) {
    popup.SetCloseMode(SECCalendar::CloseCancel);
    popup.SetStyle(popup.GetStyle() | SEC_CS_SELECTOUTOFMONTH | SEC_CS_DRAGSELECT);
    popup.SetOutOfMonthStyle(popup.GetOutOfMonthStyle() | 0x102);
    popup.SetDate(selected, FALSE);
    popup.SelectDate(selected, TRUE);
    ASSERT_TRUE(popup.CreatePopup(0x90040001, ownerRect, &owner));
    Pump();
    owner.posted.clear();
  }
  static CPoint Centre(SECCalendar& c, const COleDateTime& day) {
    for (int i = 0; i < SECCalendar::DayBoxes; ++i) {
      SECDayBox& box = c.GetDayBox(i);
      if (box.GetDate() == COleDateTime(day.GetYear(), day.GetMonth(), day.GetDay(), 12, 0, 0))
        return box.GetRect().CenterPoint();
    }
    ADD_FAILURE() << "no box for " << Show(day);
    return CPoint(-1, -1);
  }

  Owner owner;
  SECCalendar calendar;
  SECPopupCalendar popup;
};

TEST_F(Calendar, FebruaryOf2026FillsFourRows) {
  MakeChild(At(2026, 2, 10));
  SECDayBox& first = calendar.GetDayBox(0);
  EXPECT_EQ(Show(first.GetDate()), "2026-02-01 12:00:00");
  for (int i = 0; i < SECCalendar::DayBoxes; ++i) {
    SECDayBox& box = calendar.GetDayBox(i);
    EXPECT_EQ(box.IsOutOfMonth() != FALSE, i >= 28) << i;
    EXPECT_EQ(box.GetDrawStyle(), i >= 28 ? calendar.GetOutOfMonthStyle() : calendar.GetInMonthStyle()) << i;
  }
  EXPECT_EQ(Show(calendar.GetDayBox(28).GetDate()), "2026-03-01 12:00:00");
  EXPECT_EQ(Show(calendar.GetDayBox(41).GetDate()), "2026-03-14 12:00:00");
  EXPECT_FALSE(calendar.GetDayBox(30).GetBehaviour() & (SEC_PBS_SELECTABLE | SEC_PBS_HIGHLIGHTABLE));
  EXPECT_EQ(Show(calendar.GetFocusDate()), "2026-02-10 12:00:00");
}

TEST_F(Calendar, AMonthThatStartsMidweekBeginsWithTheDaysBefore) {
  MakeChild(At(2026, 6, 30));
  EXPECT_EQ(Show(calendar.GetDayBox(0).GetDate()), "2026-05-31 12:00:00");
  EXPECT_TRUE(calendar.GetDayBox(0).IsOutOfMonth());
  EXPECT_EQ(Show(calendar.GetDayBox(1).GetDate()), "2026-06-01 12:00:00");
  EXPECT_FALSE(calendar.GetDayBox(30).IsOutOfMonth());  // the 30th
  EXPECT_TRUE(calendar.GetDayBox(31).IsOutOfMonth());
}

TEST_F(Calendar, HeadersMatchTheGridInBothLocales) {
  struct Locale {
    LCID lcid;
    const char* title;
    const char* sunday;
  } locales[] = {{0x0409, "February 2026", "Sun"}, {0x0411, "2月 2026", "日"}};
  for (const Locale& l : locales) {
    UserLocale locale(l.lcid);
    SECCalendar c;
    c.SetDate(At(2026, 2, 10), FALSE);
    ASSERT_TRUE(c.Create(WS_VISIBLE, CRect(0, 0, 280, 240), &owner, 78));
    EXPECT_EQ(std::string(c.GetTitle().GetText()), l.title);
    EXPECT_EQ(std::string(c.GetDayBar().GetColumnName(1)), l.sunday);
    for (int column = 1; column <= 7; ++column) {
      const int weekday = c.GetDayBox(column - 1).GetDate().GetDayOfWeek();
      EXPECT_EQ(c.GetDayBar().GetColumnName(column), SECWeekdayName(weekday, FALSE)) << l.lcid << " " << column;
    }
    c.DestroyWindow();
  }
}

TEST_F(Calendar, NextYearFromALeapDayGivesThe28th) {
  MakeChild(At(2024, 2, 29));
  ASSERT_TRUE(calendar.SelectDate(At(2024, 2, 29), TRUE));
  EXPECT_TRUE(calendar.NextYear(TRUE));
  EXPECT_EQ(Show(calendar.GetSelectedDate()), "2025-02-28 12:00:00");
  EXPECT_EQ(Show(calendar.GetDate()), "2025-02-28 12:00:00");
  EXPECT_TRUE(calendar.GetSelectedDayBox()->IsSelected());
}

TEST_F(Calendar, PrevYearReachesYear100ButNotBeyond) {
  MakeChild(At(101, 3, 15));
  EXPECT_TRUE(calendar.PrevYear(FALSE));
  EXPECT_EQ(calendar.GetDate().GetYear(), 100);
  EXPECT_EQ(plat::beeps::Take().size(), 0u);
  EXPECT_FALSE(calendar.PrevYear(FALSE));
  EXPECT_EQ(calendar.GetDate().GetYear(), 100);
  const auto beeps = plat::beeps::Take();
  ASSERT_EQ(beeps.size(), 1u);
  EXPECT_EQ(beeps[0].type, static_cast<UINT>(MB_ICONEXCLAMATION));
  // At the other end, December 9999 is out of reach.
  EXPECT_TRUE(calendar.SetDate(At(9999, 10, 5)));
  EXPECT_TRUE(calendar.NextMonth(FALSE));
  EXPECT_FALSE(calendar.NextMonth(FALSE));
  EXPECT_EQ(calendar.GetDate().GetMonth(), 11);
  EXPECT_FALSE(calendar.NextYear(FALSE));
}

TEST_F(Calendar, ASelectionStepWithoutASelectedDayOnlyBeeps) {
  MakeChild(At(2026, 6, 30));
  for (auto step : {&SECCalendar::NextDay, &SECCalendar::PrevWeek, &SECCalendar::NextMonth, &SECCalendar::PrevYear}) {
    EXPECT_FALSE((calendar.*step)(TRUE));
    EXPECT_EQ(plat::beeps::Take().size(), 1u);
  }
  EXPECT_EQ(Show(calendar.GetDate()), "2026-06-30 12:00:00");
}

TEST_F(Calendar, TheKeyboardMovesTheSelection) {
  struct Case {
    UINT vk;
    unsigned modifiers;
    const char* selected;  // after the key, from Wednesday 17 June 2026
  } cases[] = {
      {VK_LEFT, 0, "2026-06-16"},
      {VK_NUMPAD4, 0, "2026-06-16"},
      {VK_RIGHT, 0, "2026-06-18"},
      {VK_NUMPAD6, 0, "2026-06-18"},
      {VK_UP, 0, "2026-06-10"},
      {VK_NUMPAD8, 0, "2026-06-10"},
      {VK_DOWN, 0, "2026-06-24"},
      {VK_NUMPAD2, 0, "2026-06-24"},
      {VK_PRIOR, 0, "2026-05-01"},
      {VK_NEXT, 0, "2026-07-01"},
      {VK_PRIOR, driver::kControl, "2025-06-17"},
      {VK_NEXT, driver::kControl, "2027-06-17"},
      {VK_UP, driver::kControl, "2025-06-17"},
      {VK_NUMPAD8, driver::kControl, "2025-06-17"},
      {VK_DOWN, driver::kControl, "2027-06-17"},
      {VK_NUMPAD2, driver::kControl, "2027-06-17"},
      {VK_LEFT, driver::kControl, "2026-05-01"},
      {VK_NUMPAD4, driver::kControl, "2026-05-01"},
      {VK_RIGHT, driver::kControl, "2026-07-01"},
      {VK_NUMPAD6, driver::kControl, "2026-07-01"},
      {VK_HOME, 0, "2026-06-01"},
      {VK_END, 0, "2026-06-30"},
      {VK_SPACE, 0, "none"},  // the focus date's selection is toggled off
  };
  for (const Case& c : cases) {
    SECCalendar cal;
    cal.SetDate(At(2026, 6, 17), FALSE);
    cal.SelectDate(At(2026, 6, 17), TRUE);
    ASSERT_TRUE(cal.Create(WS_VISIBLE, CRect(0, 0, 280, 240), &owner, 79));
    Pump();
    ASSERT_EQ(::GetFocus(), cal.m_hWnd);
    driver::PressKey(c.vk, c.modifiers);
    Pump();
    const COleDateTime selected = cal.GetSelectedDate();
    const std::string shown =
        selected.GetStatus() == COleDateTime::valid ? std::string(selected.Format("%Y-%m-%d")) : "none";
    EXPECT_EQ(shown, c.selected) << c.vk << " " << c.modifiers;
    if (selected.GetStatus() == COleDateTime::valid) {
      EXPECT_EQ(cal.GetDate().GetMonth(), selected.GetMonth()) << c.vk;  // the selection's month shows
      EXPECT_EQ(cal.GetDate().GetYear(), selected.GetYear()) << c.vk;
    }
    cal.DestroyWindow();
  }
  EXPECT_EQ(plat::beeps::Take().size(), 0u);
}

TEST_F(Calendar, EnterAndEscapeClose) {
  MakeChild(At(2026, 6, 17));
  calendar.SendMessage(WM_KEYDOWN, VK_RETURN, 0);  // nothing selected: cancel
  Pump();
  EXPECT_EQ(owner.Count(SEC_CALN_CANCEL), 1);
  EXPECT_FALSE(calendar.IsWindowVisible());
  calendar.ShowWindow(SW_SHOW);
  calendar.SelectDate(At(2026, 6, 3), TRUE);
  calendar.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(owner.Count(SEC_CALN_OK), 1);
  calendar.ShowWindow(SW_SHOW);
  calendar.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_EQ(owner.Count(SEC_CALN_CANCEL), 2);
  // Without the keyboard style, keys do nothing.
  calendar.SetStyle(calendar.GetStyle() & ~SEC_CS_KEYBOARD);
  calendar.ShowWindow(SW_SHOW);
  calendar.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_EQ(owner.Count(SEC_CALN_CANCEL), 2);
  EXPECT_TRUE(calendar.IsWindowVisible());
}

TEST_F(Calendar, SelectionsAndHighlightsAreReported) {
  MakeChild(At(2026, 6, 17));
  calendar.SelectDate(At(2026, 6, 3), TRUE);
  calendar.SelectDate(At(2026, 6, 4), TRUE);
  Pump();
  // Selected 3; then, box by box, 3 deselected and 4 selected.
  ASSERT_EQ(owner.Count(SEC_CALN_SELECT), 3);
  EXPECT_EQ(owner.posted[0].wParam, 1u);
  EXPECT_EQ(owner.posted[1].wParam, 0u);
  EXPECT_EQ(owner.posted[2].wParam, 1u);
  EXPECT_EQ(reinterpret_cast<SECDayBox*>(owner.posted[2].lParam), calendar.GetSelectedDayBox());

  // A right click toggles a day's highlight; the list stays sorted without duplicates.
  owner.posted.clear();
  const CPoint ninth = Centre(calendar, At(2026, 6, 9));
  calendar.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(ninth.x, ninth.y));
  calendar.HighlightDate(At(2026, 6, 2));
  calendar.HighlightDate(At(2026, 6, 9));
  Pump();
  EXPECT_EQ(owner.Count(SEC_CALN_HIGHLIGHT), 3);
  EXPECT_TRUE(calendar.NextMonth(FALSE));
  EXPECT_TRUE(calendar.PrevMonth(FALSE));
  int highlighted = 0;
  for (int i = 0; i < SECCalendar::DayBoxes; ++i) highlighted += calendar.GetDayBox(i).IsHighlighted() ? 1 : 0;
  EXPECT_EQ(highlighted, 2);
  calendar.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(ninth.x, ninth.y));
  highlighted = 0;
  for (int i = 0; i < SECCalendar::DayBoxes; ++i) highlighted += calendar.GetDayBox(i).IsHighlighted() ? 1 : 0;
  EXPECT_EQ(highlighted, 1);
  EXPECT_EQ(calendar.SetHighlightColour(At(2026, 6, 2), RGB(0, 128, 0)), RGB(255, 0, 0));
  EXPECT_EQ(calendar.SetHighlightColour(At(2026, 6, 2), RGB(0, 0, 255)), RGB(0, 128, 0));
  EXPECT_EQ(calendar.SetHighlightColour(At(2030, 1, 1), RGB(0, 0, 255)), RGB(255, 0, 0));
}

TEST_F(Calendar, TheTitleButtonsMoveTheShownMonth) {
  UserLocale english(0x0409);
  MakeChild(At(2026, 6, 17));
  SECCalTitle& title = calendar.GetTitle();
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(title.GetButton(i).IsWindowVisible()) << i;
  CString text;
  title.GetButton(SECCalTitle::PrevYear).GetWindowText(text);
  EXPECT_EQ(std::string(text), "<<");
  calendar.SendMessage(WM_COMMAND, MAKEWPARAM(ID_SEC_CAL_NEXTMONTH, BN_CLICKED),
                       reinterpret_cast<LPARAM>(title.GetButton(SECCalTitle::NextMonth).m_hWnd));
  EXPECT_EQ(calendar.GetDate().GetMonth(), 7);
  calendar.SendMessage(WM_COMMAND, MAKEWPARAM(ID_SEC_CAL_PREVYEAR, BN_CLICKED),
                       reinterpret_cast<LPARAM>(title.GetButton(SECCalTitle::PrevYear).m_hWnd));
  EXPECT_EQ(calendar.GetDate().GetYear(), 2025);
  EXPECT_EQ(std::string(title.GetText()), "July 2025");  // the calendar's titles name months in full
  EXPECT_EQ(calendar.GetSelectedDate().GetStatus(), COleDateTime::invalid);  // the focus moved, nothing selected
}

TEST_F(Calendar, DraggingOutsideThePopupRestoresTheSelectionAndKeepsItOpen) {
  MakePopup(At(2026, 6, 17));
  const CPoint twentieth = Centre(popup, At(2026, 6, 20));
  const CPoint twentySecond = Centre(popup, At(2026, 6, 22));
  popup.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(twentieth.x, twentieth.y));
  EXPECT_EQ(Show(popup.GetSelectedDate()), "2026-06-20 12:00:00");
  EXPECT_EQ(::GetCapture(), popup.m_hWnd);
  popup.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(twentySecond.x, twentySecond.y));
  EXPECT_EQ(Show(popup.GetSelectedDate()), "2026-06-22 12:00:00");
  popup.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-30, -30));
  EXPECT_EQ(popup.GetSelectedDate().GetStatus(), COleDateTime::invalid);
  popup.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-30, -30));
  Pump();
  EXPECT_EQ(Show(popup.GetSelectedDate()), "2026-06-17 12:00:00");
  EXPECT_TRUE(popup.IsWindowVisible());
  EXPECT_EQ(owner.Count(SEC_CALN_OK) + owner.Count(SEC_CALN_CANCEL), 0);
  EXPECT_EQ(::GetCapture(), nullptr);

  // A click and release inside closes it with that day.
  popup.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(twentieth.x, twentieth.y));
  popup.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(twentieth.x, twentieth.y));
  Pump();
  EXPECT_EQ(owner.Count(SEC_CALN_OK), 1);
  EXPECT_FALSE(popup.IsWindowVisible());
  EXPECT_EQ(Show(popup.GetSelectedDate()), "2026-06-20 12:00:00");
}

TEST_F(Calendar, CancelModeDuringADragPutsTheSelectionBack) {
  MakePopup(At(2026, 6, 17));
  const CPoint twentieth = Centre(popup, At(2026, 6, 20));
  popup.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(twentieth.x, twentieth.y));
  popup.SendMessage(WM_CANCELMODE);
  EXPECT_EQ(Show(popup.GetSelectedDate()), "2026-06-17 12:00:00");
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(Calendar, AGreyDayIsChosenInPlaceWithTheControlsStyles) {
  MakePopup(At(2026, 6, 17));
  const CPoint july2nd = Centre(popup, At(2026, 7, 2));
  popup.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(july2nd.x, july2nd.y));
  popup.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(july2nd.x, july2nd.y));
  Pump();
  EXPECT_EQ(popup.GetDate().GetMonth(), 6);  // the month stays
  EXPECT_EQ(Show(popup.GetSelectedDate()), "2026-07-02 12:00:00");
  EXPECT_EQ(owner.Count(SEC_CALN_OK), 1);
}

TEST_F(Calendar, WithoutThoseStylesAGreyDayShowsItsMonth) {
  popup.SetDate(At(2026, 6, 17), FALSE);
  ASSERT_TRUE(popup.CreatePopup(0x90040001, CRect(120, 130, 240, 150), &owner));
  const CPoint july2nd = Centre(popup, At(2026, 7, 2));
  popup.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(july2nd.x, july2nd.y));
  EXPECT_EQ(popup.GetDate().GetMonth(), 7);
  EXPECT_EQ(Show(popup.GetSelectedDate()), "2026-07-02 12:00:00");
  // A double click closes with OK.
  owner.posted.clear();
  const CPoint tenth = Centre(popup, At(2026, 7, 10));
  popup.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(tenth.x, tenth.y));
  Pump();
  EXPECT_EQ(owner.Count(SEC_CALN_OK), 1);
}

TEST_F(Calendar, ThePopupOpensWhereTheWorkAreaHasRoom) {
  CRect work;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  enum Where { Below, Above, RightAligned, Beside, LeftOfIt };
  struct Case {
    CRect ownerRect;
    DWORD style;
    Where where;
  } cases[] = {
      {CRect(100, 100, 220, 120), 0x90040001, Below},
      {CRect(100, work.bottom - 30, 220, work.bottom - 10), 0x90040001, Above},
      {CRect(work.right - 60, 100, work.right - 10, 120), 0x90040001, RightAligned},
      {CRect(100, 100, 220, 120), 0x90040000, Beside},
      {CRect(work.right - 60, 100, work.right - 10, 120), 0x90040000, LeftOfIt},
  };
  for (const Case& c : cases) {
    SECPopupCalendar p;
    p.SetDate(At(2026, 6, 17), FALSE);
    ASSERT_TRUE(p.CreatePopup(c.style, c.ownerRect, &owner));
    CRect r;
    p.GetWindowRect(&r);
    switch (c.where) {
      case Below: EXPECT_EQ(r.TopLeft(), CPoint(c.ownerRect.left, c.ownerRect.bottom)); break;
      case Above: EXPECT_EQ(r.bottom, c.ownerRect.top); break;
      case RightAligned: EXPECT_EQ(r.right, c.ownerRect.right); break;
      case Beside: EXPECT_EQ(r.TopLeft(), CPoint(c.ownerRect.right, c.ownerRect.top)); break;
      case LeftOfIt: EXPECT_EQ(r.right, c.ownerRect.left); break;
    }
    EXPECT_TRUE(p.GetStyle() & SEC_CS_SIZETOCONTENT);
    EXPECT_EQ(::GetFocus(), p.m_hWnd) << c.where;
    // Its client area holds its content.
    CRect client;
    p.GetClientRect(&client);
    CClientDC dc(&owner);
    SECPopupCalendar measured;
    measured.SetStyle(measured.GetStyle() | SEC_CS_SIZETOCONTENT);
    EXPECT_EQ(client.Size(), measured.CalcContentSize(&dc)) << c.where;
    p.DestroyWindow();
  }
}

TEST_F(Calendar, LosingActivationClosesByTheCloseMode) {
  struct Case {
    int mode;
    bool selected;
    UINT expected;
  } cases[] = {
      {SECCalendar::CloseOK, true, SEC_CALN_OK},
      {SECCalendar::CloseOK, false, SEC_CALN_CANCEL},
      {SECCalendar::CloseCancel, true, SEC_CALN_CANCEL},
  };
  for (const Case& c : cases) {
    SECPopupCalendar p;
    EXPECT_EQ(p.SetCloseMode(c.mode), SECCalendar::CloseOK);
    p.SetDate(At(2026, 6, 17), FALSE);
    if (c.selected) p.SelectDate(At(2026, 6, 17), TRUE);
    ASSERT_TRUE(p.CreatePopup(0x90040001, CRect(100, 100, 220, 120), &owner));
    Pump();
    owner.posted.clear();
    owner.SetActiveWindow();
    Pump();
    ASSERT_EQ(owner.posted.size(), 1u) << c.mode;
    EXPECT_EQ(owner.posted[0].message, c.expected) << c.mode << c.selected;
    EXPECT_FALSE(p.IsWindowVisible());
    p.DestroyWindow();  // hidden already: nothing more is posted
    Pump();
    EXPECT_EQ(owner.posted.size(), 1u);
  }
  SECPopupCalendar p;
  EXPECT_EQ(p.SetCloseMode(7), SECCalendar::CloseOK);
  EXPECT_EQ(p.SetCloseMode(1), SECCalendar::CloseCancel);
}

TEST_F(Calendar, ItsBorderSizesOnlyWhenAllowed) {
  MakePopup(At(2026, 6, 17));
  CRect r;
  popup.GetWindowRect(&r);
  const LPARAM edge = MAKELPARAM(r.right - 1, r.top + r.Height() / 2);
  EXPECT_EQ(popup.SendMessage(WM_NCHITTEST, 0, edge), HTCLIENT);
  popup.SetStyle(popup.GetStyle() | SEC_CS_RESIZABLE);
  EXPECT_EQ(popup.SendMessage(WM_NCHITTEST, 0, edge), HTRIGHT);
}

TEST_F(Calendar, AFixedMonthCannotChangeOnceCreated) {
  MakeChild(At(2026, 6, 17), 0x39C000 | SEC_CS_FIXEDMONTH);
  EXPECT_FALSE(calendar.SetDate(At(2026, 8, 1)));
  EXPECT_FALSE(calendar.NextMonth(FALSE));
  EXPECT_EQ(calendar.GetDate().GetMonth(), 6);
  EXPECT_TRUE(calendar.SelectDate(At(2026, 6, 20), TRUE));
}

TEST_F(Calendar, FontsFitABigCalendarAndTheFittingEnds) {
  SECCalendar big;
  big.SetDate(At(2026, 6, 17), FALSE);
  ASSERT_TRUE(big.Create(WS_VISIBLE, CRect(0, 0, 1200, 1000), &owner, 80));
  LOGFONT lf{};
  big.GetDayFont()->GetLogFont(&lf);
  EXPECT_GT(std::labs(lf.lfHeight), 16);
  CClientDC dc(&big);
  const CSize day = big.GetDayBox(0).GetSize(&dc);
  const CRect box = big.GetDayBox(0).GetRect();
  EXPECT_LE(day.cx, box.Width() + 1);
  EXPECT_LE(day.cy, box.Height() + 1);
  big.DestroyWindow();
}

}  // namespace
}  // namespace toolkit_test
