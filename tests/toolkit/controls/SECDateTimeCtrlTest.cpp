// The date/time control's window: its gadgets for a format, typing, the spin, text,
// placement over a dialog item, notifications, layout, scrolling and painting.
#include <gtest/gtest.h>

#include <cstring>

#include "DateTimeFixture.h"
#include "controls/SECCalendar.h"
#include "controls/SECDTButtonGadget.h"
#include "controls/SECResourceIds.h"
#include "controls/SECDTNumericGadget.h"
#include "controls/SECDTSpinGadget.h"

namespace toolkit_test {
namespace {

using D = SECDateTimeCtrl;

// The settings sheet's interval: hours as the year (2000 + hours), minutes, seconds.
constexpr const char* kInterval = "yy  :  mm  :  ss";

COLORREF Pixel(CWnd& wnd, int x, int y) {
  CClientDC dc(&wnd);
  return dc.GetPixel(x, y);
}

TEST_F(DateTimeTest, TheIntervalFormatMakesSixGadgets) {
  Make(kInterval, SEC_DTS_UPDOWN, At(2001, 1, 1, 0, 5, 7));
  ASSERT_EQ(ctrl.GetGadgetCount(), 6);
  const int ids[] = {D::SpinId, D::Year2, D::LiteralId, D::Minute, D::LiteralId, D::Second};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ctrl.GetGadget(i)->GetID(), ids[i]) << i;
  EXPECT_EQ(ctrl.GetFixedGadgetCount(), 1);
  EXPECT_EQ(Text(), "01  :  05  :  07");
  EXPECT_EQ(ctrl.GetActiveGadget(), 1);  // the first field after the spin
  ctrl.SetActiveGadget(5);
  EXPECT_EQ(ctrl.GetActiveGadget(), 5);
  EXPECT_TRUE(ctrl.GetGadget(5)->IsActive());
  EXPECT_FALSE(ctrl.GetGadget(1)->IsActive());
}

TEST_F(DateTimeTest, ACompleteNumberSendsTwoChangesAndSetDateTimeNone) {
  Make(kInterval, SEC_DTS_UPDOWN, At(2001, 1, 1, 0, 5, 7));
  ctrl.SetActiveGadget(5);
  Type("0");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 0);
  EXPECT_EQ(ctrl.m_nModified & D::ModTyping, D::ModTyping);
  EXPECT_EQ(Text(), "01  :  05  :  00");  // the typed digits show
  Type("9");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 2);  // the value, then the complete number
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2001-01-01 00:05:09");
  EXPECT_EQ(ctrl.m_nModified, D::ModTime);
  dialog.notes.clear();
  ASSERT_TRUE(ctrl.SetDateTime(At(2003, 1, 1, 0, 1, 2)));
  EXPECT_EQ(dialog.Count(EN_CHANGE), 0);
  EXPECT_EQ(Text(), "03  :  01  :  02");
}

TEST_F(DateTimeTest, ALetterAfterADigitBeepsAndTheOldNumberShows) {
  Make(kInterval, SEC_DTS_UPDOWN, At(2001, 1, 1, 0, 5, 7));
  ctrl.SetActiveGadget(3);
  Type("7");
  EXPECT_EQ(Text(), "01  :  07  :  07");
  Type("q");
  EXPECT_EQ(Beeps(), 1);
  EXPECT_EQ(Text(), "01  :  05  :  07");
  EXPECT_EQ(ctrl.m_nModified & D::ModTyping, 0);
  EXPECT_EQ(dialog.Count(EN_CHANGE), 0);
}

TEST_F(DateTimeTest, ATypedSeparatorMovesToTheNextField) {
  Make(kInterval, SEC_DTS_UPDOWN, At(2001, 1, 1, 0, 5, 7));
  ctrl.SetActiveGadget(3);
  Type(":");
  EXPECT_EQ(ctrl.GetActiveGadget(), 5);
  ctrl.SetActiveGadget(3);
  Type("8:");  // one digit, then the separator commits it
  EXPECT_EQ(ctrl.GetActiveGadget(), 5);
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2001-01-01 00:08:07");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 1);
  Type(":");  // no literal after the last field: it goes to the field, which ignores it
  EXPECT_EQ(ctrl.GetActiveGadget(), 5);
  EXPECT_EQ(Beeps(), 0);

  // A blank separator is skipped with the space bar.
  ctrl.SetFormat("HH mm");
  ctrl.SetActiveGadget(IndexOf(D::Hour24));
  Type(" ");
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Minute));
}

TEST_F(DateTimeTest, TheHeldSpinRepeatsFasterAndFaster) {
  Make(kInterval, SEC_DTS_UPDOWN, At(2001, 1, 1, 0, 5, 7));
  ctrl.SetActiveGadget(1);  // the hours (the year)
  const CRect spin = ctrl.GetGadget(0)->GetRect();
  const LPARAM upper = MAKELPARAM(spin.left + 8, spin.top + 2);
  ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, upper);
  EXPECT_EQ(ctrl.GetDateTime().GetYear(), 2002);
  EXPECT_EQ(::GetCapture(), ctrl.m_hWnd);
  Wait(450);
  EXPECT_EQ(ctrl.GetDateTime().GetYear(), 2002);
  Wait(100);  // 500 ms: the first repeat
  EXPECT_EQ(ctrl.GetDateTime().GetYear(), 2003);
  Wait(1900);  // 20 repeats of 1
  EXPECT_EQ(ctrl.GetDateTime().GetYear(), 2022);
  Wait(3000);  // 30 repeats of 2
  EXPECT_EQ(ctrl.GetDateTime().GetYear(), 2082);
  Wait(1000);  // 10 repeats of 5
  EXPECT_EQ(ctrl.GetDateTime().GetYear(), 2132);
  EXPECT_EQ(static_cast<SECDTSpinGadget*>(ctrl.GetGadget(0))->GetRepeatCount(), 60);
  ctrl.SendMessage(WM_LBUTTONUP, 0, upper);
  EXPECT_EQ(::GetCapture(), nullptr);
  Wait(500);
  EXPECT_EQ(ctrl.GetDateTime().GetYear(), 2132);
  EXPECT_EQ(Text(), "32  :  05  :  07");
}

TEST_F(DateTimeTest, TheSpinPausesWhileThePointerIsOffItsHalf) {
  Make(kInterval, SEC_DTS_UPDOWN, At(2001, 1, 1, 0, 5, 7));
  ctrl.SetActiveGadget(5);
  const CRect spin = ctrl.GetGadget(0)->GetRect();
  const LPARAM lower = MAKELPARAM(spin.left + 8, spin.bottom - 2);
  ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lower);
  EXPECT_EQ(ctrl.GetDateTime().GetSecond(), 6);
  ctrl.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(spin.left - 30, spin.bottom - 2));
  EXPECT_EQ(static_cast<SECDTSpinGadget*>(ctrl.GetGadget(0))->GetState() & SECDTSpinGadget::DownPressed, 0);
  Wait(1000);
  EXPECT_EQ(ctrl.GetDateTime().GetSecond(), 6);
  ctrl.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, lower);  // back: every 100 ms at once
  Wait(150);
  EXPECT_EQ(ctrl.GetDateTime().GetSecond(), 5);
  ctrl.SendMessage(WM_CANCELMODE, 0, 0);
  Wait(500);
  EXPECT_EQ(ctrl.GetDateTime().GetSecond(), 5);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(DateTimeTest, ARebuildLetsGoOfAHeldSpin) {
  Make(kInterval, SEC_DTS_UPDOWN, At(2001, 1, 1, 0, 5, 7));
  ctrl.SetActiveGadget(5);
  const CRect spin = ctrl.GetGadget(0)->GetRect();
  ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(spin.left + 8, spin.top + 2));
  EXPECT_EQ(ctrl.GetDateTime().GetSecond(), 8);
  ctrl.SendMessage(WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(::GetCapture(), nullptr);
  Wait(1000);
  EXPECT_EQ(ctrl.GetDateTime().GetSecond(), 8);
  EXPECT_EQ(static_cast<SECDTSpinGadget*>(ctrl.GetGadget(0))->GetState(), 0);
}

TEST_F(DateTimeTest, TheSpinTakesTheTypedDigitsFirst) {
  Make(kInterval, SEC_DTS_UPDOWN, At(2001, 1, 1, 0, 5, 7));
  ctrl.SetActiveGadget(3);
  Type("3");
  EXPECT_TRUE(Spin(1));
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2001-01-01 00:04:07");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 2);  // the typed 3, then the step
}

TEST_F(DateTimeTest, GetTextCutsAtTheBufferOnCharacterBoundaries) {
  UserLocale japanese(0x0411);
  Make("yyyy'年'M'月'd'日'", 0, At(2026, 6, 30));
  EXPECT_EQ(Text(), "2026年6月30日");
  EXPECT_EQ(ctrl.SendMessage(WM_GETTEXTLENGTH), static_cast<LRESULT>(strlen("2026年6月30日")));
  struct Cut {
    int size;
    const char* text;
  } cuts[] = {{8, "2026年"}, {7, "2026"}, {5, "2026"}, {2, "2"}, {1, ""}};
  for (const Cut& c : cuts) {
    char buffer[16];
    std::memset(buffer, 'X', sizeof buffer);
    const LRESULT n = ctrl.SendMessage(WM_GETTEXT, static_cast<WPARAM>(c.size), reinterpret_cast<LPARAM>(buffer));
    EXPECT_STREQ(buffer, c.text) << c.size;
    EXPECT_EQ(n, static_cast<LRESULT>(strlen(c.text))) << c.size;
    EXPECT_EQ(buffer[c.size], 'X') << c.size;  // nothing past the buffer
  }
  char untouched = 'X';
  EXPECT_EQ(ctrl.SendMessage(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(&untouched)), 0);
  EXPECT_EQ(untouched, 'X');
  EXPECT_EQ(ctrl.SendMessage(WM_GETTEXT, 16, 0), 0);
}

TEST_F(DateTimeTest, TheFormatKindsComeFromTheLocale) {
  struct Kind {
    LCID lcid;
    int kind;
    const char* text;
  } kinds[] = {
      {0x0411, D::ShortDate, "2026/06/30"},
      {0x0411, D::LongDate, "2026年6月30日"},
      {0x0411, D::TimeFormat, "9:05:07"},
      {0x0409, D::ShortDate, "6/30/2026"},
      {0x0409, D::LongDate, "Tuesday, June 30, 2026"},
      {0x0409, D::TimeFormat, "9:05:07 AM"},
  };
  ASSERT_TRUE(ctrl.Create(0, WS_VISIBLE, CRect(0, 0, 300, 24), &dialog, 77));
  for (const Kind& k : kinds) {
    UserLocale locale(k.lcid);
    ctrl.m_nFormatKind = k.kind;
    ctrl.SendMessage(WM_SETTINGCHANGE, 0, 0);
    ASSERT_TRUE(ctrl.SetDateTime(At(2026, 6, 30, 9, 5, 7)));
    EXPECT_EQ(Text(), k.text) << k.lcid << " " << k.kind;
  }
}

TEST_F(DateTimeTest, ItTakesThePlaceOfTheDialogItem) {
  HWND item = ::GetDlgItem(dialog.m_hWnd, IDC_TEST_DT_FIELD);
  ASSERT_NE(item, nullptr);
  ::SetWindowContextHelpId(item, 4242);
  CFont font;
  font.CreatePointFont(120, "Arial");
  dialog.SetFont(&font, FALSE);
  CRect itemRect;
  ::GetWindowRect(item, &itemRect);
  dialog.ScreenToClient(&itemRect);
  ASSERT_TRUE(ctrl.CreateOverDlgItem(IDC_TEST_DT_FIELD, &dialog, SEC_DTS_UPDOWN, WS_CHILD | WS_TABSTOP,
                                     WS_EX_CLIENTEDGE));
  EXPECT_FALSE(::IsWindow(item));
  EXPECT_EQ(::GetDlgItem(dialog.m_hWnd, IDC_TEST_DT_FIELD), ctrl.m_hWnd);
  CRect rect;
  ctrl.GetWindowRect(&rect);
  dialog.ScreenToClient(&rect);
  EXPECT_EQ(rect, itemRect);
  EXPECT_TRUE(ctrl.IsWindowVisible());
  EXPECT_EQ(ctrl.GetWindowContextHelpId(), 4242u);
  EXPECT_TRUE(ctrl.GetExStyle() & WS_EX_CLIENTEDGE);
  EXPECT_EQ(ctrl.GetStyle() & (SEC_DTS_UPDOWN | WS_TABSTOP | WS_CHILD), SEC_DTS_UPDOWN | WS_TABSTOP | WS_CHILD);
  // In the tab order where the item was: after the first edit, before the last.
  EXPECT_EQ(::GetWindow(::GetDlgItem(dialog.m_hWnd, IDC_TEST_DT_BEFORE), GW_HWNDNEXT), ctrl.m_hWnd);
  EXPECT_EQ(::GetWindow(ctrl.m_hWnd, GW_HWNDNEXT), ::GetDlgItem(dialog.m_hWnd, IDC_TEST_DT_AFTER));
  // The dialog's font, or the system font under a parent without one.
  EXPECT_EQ(ctrl.SendMessage(WM_GETFONT), reinterpret_cast<LRESULT>(font.GetSafeHandle()));
  CWnd bare;
  ASSERT_TRUE(bare.CreateEx(0, AfxRegisterWndClass(0), "bare", WS_POPUP, 0, 0, 100, 40, nullptr, nullptr));
  SECDateTimeCtrl plain;
  ASSERT_TRUE(plain.Create(0, WS_VISIBLE, CRect(0, 0, 50, 20), &bare, 1));
  EXPECT_EQ(plain.SendMessage(WM_GETFONT), reinterpret_cast<LRESULT>(::GetStockObject(SYSTEM_FONT)));
  plain.DestroyWindow();
  bare.DestroyWindow();

  SECDateTimeCtrl other;
  EXPECT_FALSE(other.CreateOverDlgItem(IDC_TEST_DT_FIELD + 77, &dialog, 0));
  EXPECT_EQ(other.m_hWnd, nullptr);
}

TEST_F(DateTimeTest, FocusNotificationsReachTheParentUnlessItAsksForNone) {
  Make(kInterval, SEC_DTS_UPDOWN, At(2001, 1, 1));
  auto mine = [&] {
    std::vector<UINT> codes;
    for (const NotifyDialog::Note& n : dialog.notes)
      if (n.id == IDC_TEST_DT_FIELD) codes.push_back(n.code);
    return codes;
  };
  ::SetFocus(::GetDlgItem(dialog.m_hWnd, IDC_TEST_DT_AFTER));
  EXPECT_FALSE(ctrl.GetGadget(1)->IsActive());
  ctrl.SetFocus();
  EXPECT_TRUE(ctrl.GetGadget(1)->IsActive());
  EXPECT_EQ(mine(), (std::vector<UINT>{EN_KILLFOCUS, EN_SETFOCUS}));

  dialog.notes.clear();
  ctrl.ModifyStyleEx(0, WS_EX_NOPARENTNOTIFY);
  ::SetFocus(::GetDlgItem(dialog.m_hWnd, IDC_TEST_DT_AFTER));
  ctrl.SetFocus();
  ctrl.SetActiveGadget(5);
  Type("12");
  EXPECT_TRUE(mine().empty());
  EXPECT_EQ(ctrl.GetDateTime().GetSecond(), 12);
}

TEST_F(DateTimeTest, FixedGadgetsStandAtTheRightAndFieldsFromTheLeft) {
  Make("HH:mm", SEC_DTS_CALENDAR | SEC_DTS_UPDOWN, At(2026, 6, 30, 9, 5));
  CRect client;
  ctrl.GetClientRect(&client);
  ASSERT_EQ(ctrl.GetFixedGadgetCount(), 2);
  EXPECT_EQ(ctrl.GetGadget(0)->GetID(), D::ButtonId);
  EXPECT_EQ(ctrl.GetGadget(0)->GetRect(), CRect(client.right - 16, 1, client.right, client.bottom));
  EXPECT_EQ(ctrl.GetGadget(1)->GetID(), D::SpinId);
  EXPECT_EQ(ctrl.GetGadget(1)->GetRect(), CRect(client.right - 32, 1, client.right - 16, client.bottom));
  const CRect hour = ctrl.GetGadget(2)->GetRect();
  EXPECT_EQ(hour.left, 1);
  EXPECT_EQ(hour.top, 1);
  EXPECT_EQ(ctrl.GetGadget(3)->GetRect().left, hour.right);  // the ":" follows at once
}

TEST_F(DateTimeTest, AClickActivatesTheFieldUnderIt) {
  Make("HH:mm:ss", SEC_DTS_UPDOWN, At(2026, 6, 30, 9, 5, 7));
  const CRect minute = ctrl.GetGadget(IndexOf(D::Minute))->GetRect();
  ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(minute.left + 1, minute.top + 1));
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Minute));
  // Between two fields: the next one; past the last: the last.
  const CRect colon = ctrl.GetGadget(IndexOf(D::Minute) + 1)->GetRect();
  ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(colon.left + 1, colon.top + 1));
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Second));
  ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Hour24));
  CRect client;
  ctrl.GetClientRect(&client);
  ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right - 40, 2));
  EXPECT_EQ(ctrl.GetActiveGadget(), IndexOf(D::Second));
}

TEST_F(DateTimeTest, LongFormatsScrollTheActiveFieldIntoView) {
  UserLocale english(0x0409);
  ASSERT_TRUE(ctrl.Create(WS_EX_CLIENTEDGE, WS_VISIBLE | SEC_DTS_UPDOWN, CRect(10, 10, 90, 34), &dialog, 55));
  ctrl.SetFormat("dddd, MMMM dd, yyyy HH:mm:ss");
  ASSERT_TRUE(ctrl.SetDateTime(At(2026, 9, 30, 9, 5, 7)));
  ctrl.SetFocus();
  EXPECT_EQ(ctrl.GetScrollOffset(), 0);
  const int last = ctrl.GetGadgetCount() - 1;
  ctrl.SetActiveGadget(last);
  CRect client;
  ctrl.GetClientRect(&client);
  const int visibleRight = client.right - 1 - 16;  // less the margin and the spin
  EXPECT_EQ(ctrl.GetGadget(last)->GetRect().right - ctrl.GetScrollOffset(), visibleRight);
  ctrl.SetActiveGadget(1);
  EXPECT_EQ(ctrl.GetScrollOffset(), 0);  // back to the start, margin kept
  // Indexes outside the array change nothing.
  ctrl.SetActiveGadget(last + 1);
  ctrl.SetActiveGadget(-1);
  ctrl.ScrollToGadget(99);
  EXPECT_EQ(ctrl.GetActiveGadget(), 1);
  EXPECT_EQ(ctrl.GetScrollOffset(), 0);
  // Right moves field by field and the view follows.
  for (int i = 0; i < 20; ++i) Key(VK_RIGHT);
  EXPECT_EQ(ctrl.GetActiveGadget(), last);
  EXPECT_GT(ctrl.GetScrollOffset(), 0);
}

// The parent's colours, as a page would set them.
class ColouredDialog : public NotifyDialog {
 protected:
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (pWnd && pWnd->m_hWnd == watched) {
      if (nCtlColor == CTLCOLOR_EDIT) {
        pDC->SetTextColor(RGB(0, 0, 255));
        pDC->SetBkColor(RGB(255, 255, 0));
        ++asked[0];
      } else if (nCtlColor == CTLCOLOR_STATIC) {
        ++asked[1];
      }
    }
    return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  }
  DECLARE_MESSAGE_MAP()

 public:
  HWND watched = nullptr;
  int asked[2] = {};  // edit, static
};
BEGIN_MESSAGE_MAP(ColouredDialog, NotifyDialog)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST_F(DateTimeTest, PaintingTakesTheParentsColoursAndHighlightsTheActiveField) {
  ColouredDialog coloured;
  ASSERT_TRUE(coloured.Create(IDD_TEST_DATETIME));
  coloured.ShowWindow(SW_SHOW);
  SECDateTimeCtrl c;
  ASSERT_TRUE(c.CreateOverDlgItem(IDC_TEST_DT_FIELD, &coloured, 0, WS_CHILD | WS_TABSTOP, WS_EX_CLIENTEDGE));
  coloured.watched = c.m_hWnd;
  c.SetFormat("HH:mm");
  c.SetFocus();
  c.UpdateWindow();
  EXPECT_GT(coloured.asked[0], 0);
  const CRect hour = c.GetGadget(0)->GetRect();
  const CRect minute = c.GetGadget(2)->GetRect();
  CRect client;
  c.GetClientRect(&client);
  EXPECT_EQ(Pixel(c, client.right - 2, client.bottom - 2), RGB(255, 255, 0));
  EXPECT_EQ(Pixel(c, hour.left, hour.top), secData.clrHighlight);  // the active field
  EXPECT_EQ(Pixel(c, minute.left, minute.top), RGB(255, 255, 0));

  c.m_bNotifyColours = 0;
  c.Invalidate();
  c.UpdateWindow();
  EXPECT_EQ(Pixel(c, client.right - 2, client.bottom - 2), secData.clrWindow);

  c.m_bNotifyColours = 1;
  c.EnableWindow(FALSE);
  c.UpdateWindow();
  EXPECT_GT(coloured.asked[1], 0);
  EXPECT_EQ(Pixel(c, client.right - 2, client.bottom - 2), ::GetSysColor(COLOR_BTNFACE));
  c.DestroyWindow();
  coloured.DestroyWindow();
}

TEST_F(DateTimeTest, BeforeWindows4ItDrawsItsOwnSunkenBorder) {
  const BOOL saved = secData.bWin4;
  secData.bWin4 = FALSE;
  SECDateTimeCtrl c;
  ASSERT_TRUE(c.Create(WS_EX_CLIENTEDGE, WS_VISIBLE, CRect(10, 10, 110, 34), &dialog, 56));
  c.SetFormat("HH:mm");
  c.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASE);
  CRect client;
  c.GetClientRect(&client);
  EXPECT_EQ(client, CRect(0, 0, 96, 20));
  CWindowDC dc(&c);
  EXPECT_EQ(dc.GetPixel(0, 0), secData.clrBtnShadow);
  EXPECT_EQ(dc.GetPixel(99, 23), secData.clrBtnHilite);
  EXPECT_EQ(dc.GetPixel(1, 1), secData.clrWindowFrame);
  EXPECT_EQ(dc.GetPixel(98, 22), secData.clrBtnFace);
  c.DestroyWindow();
  secData.bWin4 = saved;
}

TEST_F(DateTimeTest, F4AndAltDownOpenTheCalendarOnlyWithTheButton) {
  Make("yyyy/MM/dd", SEC_DTS_CALENDAR, At(2026, 6, 30));
  Key(VK_F4);
  ASSERT_NE(ctrl.GetPopupCalendar(), nullptr);
  ctrl.SendMessage(SEC_CALN_CANCEL);
  EXPECT_EQ(ctrl.GetPopupCalendar(), nullptr);
  ctrl.SendMessage(WM_SYSKEYDOWN, VK_DOWN, 0x20000000);
  ASSERT_NE(ctrl.GetPopupCalendar(), nullptr);
  ctrl.SendMessage(SEC_CALN_CANCEL);

  SECDateTimeCtrl plain;
  ASSERT_TRUE(plain.Create(0, WS_VISIBLE, CRect(0, 0, 120, 24), &dialog, 57));
  plain.SetFocus();
  plain.SendMessage(WM_KEYDOWN, VK_F4, 0);
  plain.SendMessage(WM_SYSKEYDOWN, VK_DOWN, 0x20000000);
  EXPECT_EQ(plain.GetPopupCalendar(), nullptr);
}

TEST_F(DateTimeTest, ARebuildKeepsTheActiveField) {
  UserLocale english(0x0409);
  Make("MMM dd yyyy", 0, At(2026, 6, 30));
  ctrl.SetActiveGadget(IndexOf(D::Year4));
  const int active = ctrl.GetActiveGadget();
  {
    UserLocale japanese(0x0411);
    ctrl.SendMessage(WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(Text(), "6 30 2026");  // the locale's short month names
  }
  EXPECT_EQ(ctrl.GetActiveGadget(), active);
  EXPECT_TRUE(ctrl.GetGadget(active)->IsActive());
  ctrl.SetFormat("yyyy");  // the remembered index no longer exists: the first field
  EXPECT_EQ(ctrl.GetActiveGadget(), 0);
  EXPECT_EQ(Text(), "2026");
}

TEST_F(DateTimeTest, TheDecodingBoundsAreThoseOfTheLimits) {
  SECDateTimeCtrl::Parts p;
  EXPECT_TRUE(SECDateTimeCtrl::DecodeDateTime(COleDateTime(-657434.0), p));
  EXPECT_EQ(p.year, 100);
  EXPECT_EQ(p.dayOfWeek, 6);  // 100-01-01 was a Friday
  EXPECT_FALSE(SECDateTimeCtrl::DecodeDateTime(COleDateTime(-657434.5), p));
  EXPECT_TRUE(SECDateTimeCtrl::DecodeDateTime(COleDateTime(2958465.0), p));
  EXPECT_FALSE(SECDateTimeCtrl::DecodeDateTime(COleDateTime(2958465.5), p));
  EXPECT_TRUE(SECDateTimeCtrl::DecodeDateTime(At(2026, 6, 30, 23, 59, 59), p));
  EXPECT_EQ(p.dayOfWeek, 3);
  EXPECT_EQ(p.dayOfYear, 181);
}

using Gadgets = ToolkitTest;

TEST_F(Gadgets, TheSpinDrawsFilledArrowsThatShiftWhenPressed) {
  SECDTSpinGadget spin;
  spin.SetRect(CRect(0, 0, 16, 40));
  auto rows = [](Surface& s, int top, int count) {
    std::vector<int> widths;
    for (int y = top; y < top + count; ++y) widths.push_back(s.Count(CRect(2, y, 14, y + 1), RGB(0, 0, 0)));
    return widths;
  };
  {
    Surface s(16, 40);
    spin.Draw(s.dc);
    EXPECT_EQ(rows(s, 8, 4), (std::vector<int>{1, 3, 5, 7}));  // up: 4 rows, the point at the top
    EXPECT_EQ(rows(s, 28, 4), (std::vector<int>{7, 5, 3, 1}));
    EXPECT_EQ(s.At(8, 8), RGB(0, 0, 0));
    EXPECT_EQ(s.At(0, 0), secData.clrBtnFace);  // raised
    EXPECT_EQ(s.At(15, 19), secData.clrWindowFrame);
    EXPECT_EQ(s.At(1, 1), secData.clrBtnHilite);
  }
  spin.OnLButtonDown(MK_LBUTTON, CPoint(8, 5));
  EXPECT_EQ(spin.GetState() & SECDTSpinGadget::UpPressed, SECDTSpinGadget::UpPressed);
  {
    Surface s(16, 40);
    spin.Draw(s.dc);
    EXPECT_EQ(s.At(9, 9), RGB(0, 0, 0));  // one pixel right and down
    EXPECT_EQ(s.At(8, 8), secData.clrBtnFace);
    EXPECT_EQ(s.At(0, 0), secData.clrBtnShadow);  // pressed
    EXPECT_EQ(s.At(1, 1), secData.clrWindowFrame);
  }
  spin.OnLButtonUp(0, CPoint(8, 5));
  EXPECT_EQ(spin.GetState(), 0);
  // A low spin gets a single black pixel per half.
  spin.SetRect(CRect(0, 0, 16, 12));
  Surface s(16, 12);
  spin.Draw(s.dc);
  EXPECT_EQ(s.Count(CRect(2, 2, 14, 4), RGB(0, 0, 0)), 1);  // inside each half's frame
  EXPECT_EQ(s.Count(CRect(2, 8, 14, 10), RGB(0, 0, 0)), 1);
}

TEST_F(Gadgets, TheDropDownButtonShowsItsArrowInTheSystemColours) {
  SECDTButtonGadget button;
  ASSERT_TRUE(button.Initialise(nullptr, IDB_SEC_DTDROPDOWN, SECDateTimeCtrl::ButtonId));
  button.SetRect(CRect(0, 0, 16, 20));
  {
    Surface s(16, 20);
    button.Draw(s.dc);
    EXPECT_EQ(s.At(0, 0), secData.clrBtnFace);
    EXPECT_EQ(s.At(15, 19), secData.clrWindowFrame);
    EXPECT_EQ(s.At(1, 1), secData.clrBtnHilite);
    // The 7 x 4 arrow, centred: rows of 7, 5, 3 and 1 in the button text colour.
    const COLORREF ink = ::GetSysColor(COLOR_BTNTEXT);
    EXPECT_EQ(s.Count(CRect(2, 8, 14, 9), ink), 7);
    EXPECT_EQ(s.Count(CRect(2, 11, 14, 12), ink), 1);
    EXPECT_EQ(s.At(7, 11), ink);
  }
  button.OnLButtonDown(MK_LBUTTON, CPoint(5, 5));
  EXPECT_EQ(button.GetState(), SECDTButtonGadget::Tracking | SECDTButtonGadget::Pressed);
  button.OnMouseMove(MK_LBUTTON, CPoint(40, 5));  // off the button: raised again
  EXPECT_EQ(button.GetState(), SECDTButtonGadget::Tracking);
  button.OnMouseMove(MK_LBUTTON, CPoint(5, 5));
  Surface s(16, 20);
  button.Draw(s.dc);
  EXPECT_EQ(s.At(0, 0), secData.clrBtnShadow);
  EXPECT_EQ(s.At(15, 19), secData.clrBtnShadow);
  EXPECT_EQ(s.At(8, 12), ::GetSysColor(COLOR_BTNTEXT));  // shifted one pixel
  button.OnCancelMode();
  EXPECT_EQ(button.GetState(), 0);
  SECDTButtonGadget missing;
  EXPECT_FALSE(missing.Initialise(nullptr, 1, SECDateTimeCtrl::ButtonId));
}

}  // namespace
}  // namespace toolkit_test
