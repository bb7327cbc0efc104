// Name fields: incremental search by typed characters, one byte a WM_CHAR.
#include <gtest/gtest.h>

#include "DateTimeFixture.h"
#include "controls/SECDTListGadget.h"

namespace toolkit_test {
namespace {

using D = SECDateTimeCtrl;

class NameSearch : public DateTimeTest {
 protected:
  std::string Month() {
    CString name;
    ctrl.GetGadget(IndexOf(D::MonthName))->GetText(name);
    return static_cast<LPCSTR>(name);
  }
  const SECDTListGadget* List(int id) { return static_cast<SECDTListGadget*>(ctrl.GetGadget(IndexOf(id))); }
};

TEST_F(NameSearch, ARepeatedInitialCyclesThroughTheNamesWithIt) {
  UserLocale english(0x0409);
  Make("MMMM d, yyyy", 0, At(2026, 12, 5));
  Activate(D::MonthName);
  const char* expected[] = {"January", "June", "July", "January"};
  for (const char* month : expected) {
    Type("J");
    EXPECT_EQ(Month(), month);
  }
  EXPECT_EQ(dialog.Count(EN_CHANGE), 4);
  EXPECT_EQ(Beeps(), 0);
  // Lower case finds the same names; a letter that no month starts with beeps.
  Type("j");
  EXPECT_EQ(Month(), "June");
  Wait(2000);
  Type("q");
  EXPECT_EQ(Beeps(), 1);
  EXPECT_EQ(Month(), "June");
}

TEST_F(NameSearch, TwoSecondsWithoutAKeyStartANewSearch) {
  UserLocale english(0x0409);
  Make("MMMM d, yyyy", 0, At(2026, 3, 5));
  Activate(D::MonthName);
  Type("J");
  EXPECT_EQ(Month(), "June");
  EXPECT_EQ(std::string(List(D::MonthName)->GetPrefix()), "J");
  Type("a");  // "Ja": from the current name on, January
  EXPECT_EQ(Month(), "January");
  EXPECT_EQ(std::string(List(D::MonthName)->GetPrefix()), "Ja");
  Wait(1990);
  EXPECT_EQ(std::string(List(D::MonthName)->GetPrefix()), "Ja");  // each key restarts the time
  Wait(20);
  EXPECT_TRUE(List(D::MonthName)->GetPrefix().IsEmpty());
  Type("a");  // a new search: the next name with "a"
  EXPECT_EQ(Month(), "April");
  Type("x");  // "ax": none, so a beep and the search ends
  EXPECT_EQ(Beeps(), 1);
  EXPECT_TRUE(List(D::MonthName)->GetPrefix().IsEmpty());
  EXPECT_EQ(Month(), "April");
}

TEST_F(NameSearch, LeavingTheFieldEndsTheSearch) {
  UserLocale english(0x0409);
  Make("MMMM d, yyyy", 0, At(2026, 3, 5));
  Activate(D::MonthName);
  Type("M");
  EXPECT_EQ(Month(), "May");
  Activate(D::Day);
  EXPECT_TRUE(List(D::MonthName)->GetPrefix().IsEmpty());
  Activate(D::MonthName);
  Type("M");
  EXPECT_EQ(Month(), "March");  // after May, wrapping round
}

TEST_F(NameSearch, AUtf8CharacterIsSearchedWhenItsLastByteArrives) {
  UserLocale japanese(0x0411);
  Make("dddd yyyy/MM/dd", 0, At(2026, 6, 30));  // a Tuesday, 火曜日
  Activate(D::DayName);
  const std::string saturday = "土";
  for (size_t i = 0; i + 1 < saturday.size(); ++i) {
    Type(saturday.substr(i, 1));
    EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-06-30 00:00:00") << i;
  }
  Type(saturday.substr(saturday.size() - 1));
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-07-04 00:00:00");  // the week's Saturday
  EXPECT_EQ(Beeps(), 0);
  // A four-byte character that no name starts with beeps once, at its last byte.
  Type("\xF0\x9F\x98\x80");
  EXPECT_EQ(Beeps(), 1);
  // A stray continuation byte is dropped.
  Type("\x80");
  EXPECT_EQ(Beeps(), 0);
}

TEST_F(NameSearch, TheMeridiemOfOneLetter) {
  UserLocale english(0x0409);
  Make("h:mm t", 0, At(2026, 6, 30, 9, 15));
  EXPECT_EQ(Text(), "9:15 A");
  Activate(D::AmPm);
  Type("p");
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-06-30 21:15:00");
  EXPECT_EQ(Text(), "9:15 P");
  Key(VK_HOME);
  EXPECT_EQ(ctrl.GetDateTime().GetHour(), 9);
}

}  // namespace
}  // namespace toolkit_test
