// The date/time control's field handlers, driven the way the user drives them: keys and
// typed characters into the active field, and the spin's steps.
#include <gtest/gtest.h>

#include "DateTimeFixture.h"

namespace toolkit_test {
namespace {

using D = SECDateTimeCtrl;

// One input: a key, typed text, or a spin step (its sign says up or down).
struct Input {
  enum Kind { KeyDown, Chars, SpinStep } kind;
  UINT vk = 0;
  std::string text;
  int step = 0;
};
Input K(UINT vk) { return {Input::KeyDown, vk, {}, 0}; }
Input T(const char* text) { return {Input::Chars, 0, text, 0}; }
Input S(int step) { return {Input::SpinStep, 0, {}, step}; }

struct Range {
  int mode;
  COleDateTime low, high;
};

struct Case {
  const char* name;
  const char* format;
  DWORD style;
  COleDateTime start;
  int field;  // the gadget id made active
  std::vector<Input> inputs;
  COleDateTime expected;
  int beeps;
  Range range;
};

class FieldHandlers : public DateTimeTest, public testing::WithParamInterface<Case> {};

TEST_P(FieldHandlers, GiveTheExpectedValue) {
  const Case& c = GetParam();
  UserLocale english(0x0409);
  Make(c.format, c.style, c.start);
  ctrl.m_nRangeMode = c.range.mode;
  if (c.range.mode) {
    ctrl.m_dtMin = c.range.low;
    ctrl.m_dtMax = c.range.high;
  }
  Activate(c.field);
  for (const Input& in : c.inputs) {
    switch (in.kind) {
      case Input::KeyDown: Key(in.vk); break;
      case Input::Chars: Type(in.text); break;
      case Input::SpinStep: Spin(in.step); break;
    }
  }
  Activate(c.field == D::Second ? D::Minute : D::Second);  // leaving the field commits it
  EXPECT_EQ(Show(ctrl.GetDateTime()), Show(c.expected));
  EXPECT_EQ(Beeps(), c.beeps);
}

const char* const kDate = "yyyy'/'MM'/'dd HH':'mm':'ss";
const COleDateTime kLow = At(2026, 6, 30, 9, 0, 0);
const COleDateTime kHigh = At(2026, 6, 30, 17, 30, 0);

const Case kCases[] = {
    // 12-hour fields show 12 for 0 and 12; typing 12 keeps the meridiem.
    {"TwelveTypedInTheMorning", "hh:mm tt", 0, At(2026, 6, 30, 0, 30), D::Hour12, {T("12")}, At(2026, 6, 30, 0, 30), 0},
    {"TwelveTypedAtNoon", "hh:mm tt", 0, At(2026, 6, 30, 12, 30), D::Hour12, {T("12")}, At(2026, 6, 30, 12, 30), 0},
    {"ThreeTypedInTheAfternoon", "hh:mm tt", 0, At(2026, 6, 30, 13, 30), D::Hour12, {T("03")},
     At(2026, 6, 30, 15, 30), 0},
    {"ThirteenTypedIntoTwelveHoursBeeps", "hh:mm tt", 0, At(2026, 6, 30, 13, 30), D::Hour12, {T("13")},
     At(2026, 6, 30, 13, 30), 1},
    {"AmPmStepTurnsMorningToEvening", "hh:mm tt", 0, At(2026, 6, 30, 9, 0), D::AmPm, {K(VK_UP)},
     At(2026, 6, 30, 21, 0), 0},
    {"AmPmHomeGoesToTheMorning", "hh:mm tt", 0, At(2026, 6, 30, 21, 0), D::AmPm, {K(VK_HOME)}, At(2026, 6, 30, 9, 0),
     0},
    {"AmPmEndInTheEveningStays", "hh:mm tt", 0, At(2026, 6, 30, 21, 0), D::AmPm, {K(VK_END)}, At(2026, 6, 30, 21, 0),
     0},
    // Hours, minutes and seconds wrap within the day; the spin's step is at most 2.
    {"HourUpPast23", kDate, 0, At(2026, 6, 30, 23, 10), D::Hour24, {K(VK_UP)}, At(2026, 6, 30, 0, 10), 0},
    {"HourDownBelow0", kDate, 0, At(2026, 6, 30, 0, 10), D::Hour24, {K(VK_SUBTRACT)}, At(2026, 6, 30, 23, 10), 0},
    {"MinuteDownBelow0", kDate, 0, At(2026, 6, 30, 8, 0), D::Minute, {K(VK_DOWN)}, At(2026, 6, 30, 8, 59), 0},
    {"SpinStepOf5IsCappedAt2", kDate, 0, At(2026, 6, 30, 8, 10), D::Minute, {S(5)}, At(2026, 6, 30, 8, 12), 0},
    {"SecondEnd", kDate, 0, At(2026, 6, 30, 8, 10, 5), D::Second, {K(VK_END)}, At(2026, 6, 30, 8, 10, 59), 0},
    {"MinuteTypedThenLetterBeeps", kDate, 0, At(2026, 6, 30, 8, 10), D::Minute, {T("7x")}, At(2026, 6, 30, 8, 10), 1},
    {"ZeroThenSevenGivesSeven", kDate, 0, At(2026, 6, 30, 8, 10), D::Minute, {T("07")}, At(2026, 6, 30, 8, 7), 0},
    // Days of the month.
    {"DayUpPastTheMonthGivesThe1st", kDate, 0, At(2026, 4, 30), D::Day, {K(VK_UP)}, At(2026, 4, 1), 0},
    {"DayDownFromThe1stGivesTheLastDay", kDate, 0, At(2026, 2, 1), D::Day, {K(VK_DOWN)}, At(2026, 2, 28), 0},
    {"DayEndInALeapFebruary", kDate, 0, At(2024, 2, 3), D::Day, {K(VK_END)}, At(2024, 2, 29), 0},
    {"Day31TypedInFebruaryBeeps", kDate, 0, At(2026, 2, 10), D::Day, {T("31")}, At(2026, 2, 10), 1},
    {"WeekdayHomeGoesBackToSunday", "ddd yyyy/MM/dd", 0, At(2026, 6, 30), D::DayName, {K(VK_HOME)}, At(2026, 6, 28),
     0},
    {"WeekdayEndGoesOnToSaturday", "ddd yyyy/MM/dd", 0, At(2026, 6, 30), D::DayName, {K(VK_END)}, At(2026, 7, 4), 0},
    // Months: 31 January to February, and the year does not change when they wrap.
    {"January31stToFebruary", kDate, 0, At(2026, 1, 31), D::Month, {K(VK_UP)}, At(2026, 2, 28), 0},
    {"January31stToALeapFebruary", kDate, 0, At(2024, 1, 31), D::Month, {K(VK_UP)}, At(2024, 2, 29), 0},
    {"DecemberUpGivesJanuaryOfTheSameYear", "MMMM yyyy", 0, At(2026, 12, 15), D::MonthName, {K(VK_UP)},
     At(2026, 1, 15), 0},
    {"MonthStepIgnoresTheSpinStep", kDate, 0, At(2026, 5, 15), D::Month, {S(5)}, At(2026, 6, 15), 0},
    // Years.
    {"LeapDayYearUp", kDate, 0, At(2024, 2, 29), D::Year4, {K(VK_UP)}, At(2025, 2, 28), 0},
    {"YearUpAt9999Stays", kDate, 0, At(9999, 6, 15), D::Year4, {K(VK_UP)}, At(9999, 6, 15), 0},
    {"YearDownFrom101Gives100", kDate, 0, At(101, 6, 15), D::Year4, {K(VK_DOWN)}, At(100, 6, 15), 0},
    {"YearSpinDownBelow100Gives100", kDate, 0, At(103, 6, 15), D::Year4, {S(-5)}, At(100, 6, 15), 0},
    {"YearHomeGives100", kDate, 0, At(2026, 6, 15), D::Year4, {K(VK_HOME)}, At(100, 6, 15), 0},
    {"YearHomeInJanuaryIsRefused", kDate, 0, At(2026, 1, 15), D::Year4, {K(VK_HOME)}, At(2026, 1, 15), 0},
    {"YearEndGivesThisYear", kDate, 0, At(1990, 6, 15), D::Year4, {K(VK_END)}, At(2026, 6, 15), 0},
    {"FourDigitYear50IsRefused", kDate, 0, At(1990, 6, 15), D::Year4, {T("0050")}, At(1990, 6, 15), 1},
    // Two-digit years against the system year 2026, the value's century, or the value's year.
    {"TwoDigit30Gives2030", "yy/MM/dd", 0, At(1980, 6, 15), D::Year2, {T("30")}, At(2030, 6, 15), 0},
    {"TwoDigit99Gives1999", "yy/MM/dd", 0, At(1980, 6, 15), D::Year2, {T("99")}, At(1999, 6, 15), 0},
    {"KeepCentury", "yy/MM/dd", SEC_DTS_Y2K_KEEP, At(1980, 6, 15), D::Year2, {T("30")}, At(1930, 6, 15), 0},
    {"NearestToTheValue", "yy/MM/dd", SEC_DTS_Y2K_NEAREST, At(2150, 6, 15), D::Year2, {T("30")}, At(2130, 6, 15), 0},
    {"NearestToTheValue99", "yy/MM/dd", SEC_DTS_Y2K_NEAREST, At(2150, 6, 15), D::Year2, {T("99")}, At(2199, 6, 15),
     0},
    // Range mode 3: clamped to the crossed limit when the fields above the level agree.
    {"Mode3HourUpClamps", kDate, 0, At(2026, 6, 30, 16, 45, 10), D::Hour24, {K(VK_UP)}, kHigh, 0, {3, kLow, kHigh}},
    {"Mode3HourStepOf2IsRefused", kDate, 0, At(2026, 6, 30, 16, 45, 10), D::Hour24, {S(2)},
     At(2026, 6, 30, 16, 45, 10), 0, {3, kLow, kHigh}},
    {"Mode3HourEndClamps", kDate, 0, At(2026, 6, 30, 16, 45, 10), D::Hour24, {K(VK_END)}, kHigh, 0, {3, kLow, kHigh}},
    {"Mode3HourHomeClampsToTheLowerLimit", kDate, 0, At(2026, 6, 30, 16, 45, 10), D::Hour24, {K(VK_HOME)}, kLow, 0,
     {3, kLow, kHigh}},
    {"Mode3Minute30Clamps", kDate, 0, At(2026, 6, 30, 17, 20, 40), D::Minute, {T("30")}, kHigh, 0, {3, kLow, kHigh}},
    {"Mode3Minute45Beeps", kDate, 0, At(2026, 6, 30, 17, 20, 40), D::Minute, {T("45")}, At(2026, 6, 30, 17, 20, 40), 1,
     {3, kLow, kHigh}},
    // Range mode 1 compares the time of day on 30 December 1899; another date never clamps.
    {"Mode1NeverClamps", kDate, 0, At(2026, 6, 30, 17, 20), D::Hour24, {K(VK_UP)}, At(2026, 6, 30, 17, 20), 0,
     {1, At(1899, 12, 30, 9, 0, 0), At(1899, 12, 30, 17, 30, 0)}},
    {"Mode1InRangeIsTaken", kDate, 0, At(2026, 6, 30, 10, 20), D::Hour24, {K(VK_UP)}, At(2026, 6, 30, 11, 20), 0,
     {1, At(1899, 12, 30, 9, 0, 0), At(1899, 12, 30, 17, 30, 0)}},
    // Range mode 2 compares the date.
    {"Mode2DayDownIntoTheRange", kDate, 0, At(2026, 6, 30, 10, 0), D::Day, {K(VK_DOWN)}, At(2026, 6, 29, 10, 0), 0,
     {2, At(2026, 6, 1), At(2026, 6, 29)}},
    {"Mode2DayEndTakesTheLimitsDayAndTime", kDate, 0, At(2026, 6, 12, 10, 0), D::Day, {K(VK_END)}, At(2026, 6, 29),
     0, {2, At(2026, 6, 1), At(2026, 6, 29)}},
    {"Mode2DayUpOutOfRangeIsRefused", kDate, 0, At(2026, 6, 29, 10, 0), D::Day, {K(VK_UP)}, At(2026, 6, 29, 10, 0), 0,
     {2, At(2026, 6, 1), At(2026, 6, 29)}},
    // Modes above 3 make every edit fail.
    {"Mode4RefusesEverything", kDate, 0, At(2026, 6, 30, 10, 0), D::Minute, {K(VK_UP), T("05")},
     At(2026, 6, 30, 10, 0), 1, {4, kLow, kHigh}},
};

INSTANTIATE_TEST_SUITE_P(Table, FieldHandlers, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST_F(DateTimeTest, TwelveHourFieldsShow12ForMidnightAndNoon) {
  UserLocale english(0x0409);
  Make("hh:mm tt", 0, At(2026, 6, 30, 0, 5));
  EXPECT_EQ(Text(), "12:05 AM");
  ASSERT_TRUE(ctrl.SetDateTime(At(2026, 6, 30, 12, 5)));
  EXPECT_EQ(Text(), "12:05 PM");
  ASSERT_TRUE(ctrl.SetDateTime(At(2026, 6, 30, 23, 5)));
  EXPECT_EQ(Text(), "11:05 PM");
  EXPECT_EQ(dialog.Count(EN_CHANGE), 0);  // SetDateTime sends nothing
}

TEST_F(DateTimeTest, SetDateTimeKeepsToFebruary100ThroughNovember9999) {
  Make("yyyy/MM/dd", 0, At(2026, 6, 30));
  EXPECT_FALSE(ctrl.SetDateTime(At(9999, 12, 15)));
  EXPECT_FALSE(ctrl.SetDateTime(At(100, 1, 15)));
  COleDateTime invalid;
  invalid.SetStatus(COleDateTime::invalid);
  EXPECT_FALSE(ctrl.SetDateTime(invalid));
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-06-30 00:00:00");
  EXPECT_TRUE(ctrl.SetDateTime(At(9999, 11, 30)));
  EXPECT_TRUE(ctrl.SetDateTime(At(100, 2, 1)));
  EXPECT_EQ(Text(), "100/02/01");
}

TEST_F(DateTimeTest, ClampingLevelsTakeTheCrossedLimitsFields) {
  Make("yyyy/MM/dd HH:mm:ss", 0, At(2026, 6, 30));
  ctrl.m_nRangeMode = SECDateTimeCtrl::DateAndTime;
  ctrl.m_dtMin = kLow;
  ctrl.m_dtMax = kHigh;
  struct Level {
    int level;
    COleDateTime value;
    bool accepted;
    COleDateTime result;
  } levels[] = {
      {0, At(2026, 6, 30, 18, 0, 0), false, {}},
      {1, At(2026, 6, 30, 17, 30, 59), true, kHigh},
      {1, At(2026, 6, 30, 17, 31, 0), false, {}},
      {2, At(2026, 6, 30, 17, 59, 59), true, kHigh},
      {3, At(2026, 6, 30, 23, 0, 0), true, kHigh},
      {3, At(2026, 6, 30, 8, 0, 0), true, kLow},
      {4, At(2026, 6, 12, 8, 0, 0), true, kLow},
      {5, At(2026, 1, 2, 3, 4, 5), true, kLow},
      {5, At(2025, 6, 30, 12, 0, 0), false, {}},
      {-1, At(1990, 1, 1, 0, 0, 0), true, kLow},
      {7, At(2026, 6, 30, 18, 0, 0), false, {}},
      {2, At(2026, 6, 30, 12, 0, 0), true, At(2026, 6, 30, 12, 0, 0)},
  };
  for (const Level& l : levels) {
    COleDateTime value = l.value;
    EXPECT_EQ(ctrl.Validate(value, l.level) != FALSE, l.accepted) << l.level << " " << Show(l.value);
    if (l.accepted) {
      EXPECT_EQ(Show(value), Show(l.result)) << l.level;
    }
  }
}

TEST_F(DateTimeTest, IsValidDateTimeComparesWithoutClamping) {
  Make("yyyy/MM/dd", 0, At(2026, 6, 30));
  EXPECT_TRUE(ctrl.IsValidDateTime(At(9999, 12, 31)));  // mode 0: no range, no window
  ctrl.m_nRangeMode = SECDateTimeCtrl::DateOnly;
  ctrl.m_dtMin = At(2026, 6, 1);
  ctrl.m_dtMax = At(2026, 6, 30);
  EXPECT_TRUE(ctrl.IsValidDateTime(At(2026, 6, 30, 23, 59, 59)));
  EXPECT_FALSE(ctrl.IsValidDateTime(At(2026, 7, 1)));
  ctrl.m_nRangeMode = 9;
  EXPECT_FALSE(ctrl.IsValidDateTime(At(2026, 6, 15)));
}

TEST_F(DateTimeTest, ASpinOnTheButtonOrWithoutFieldsChangesNothing) {
  Make("yyyy", SEC_DTS_CALENDAR | SEC_DTS_UPDOWN, At(2026, 6, 30));
  ctrl.SetActiveGadget(0);  // the drop-down button
  EXPECT_FALSE(Spin(1));
  EXPECT_EQ(Show(ctrl.GetDateTime()), "2026-06-30 00:00:00");
  EXPECT_FALSE(ctrl.OnGadgetNotify(SECDTGadget::CodeStepUp, 0x2000, 0));  // no such field
}

}  // namespace
}  // namespace toolkit_test
