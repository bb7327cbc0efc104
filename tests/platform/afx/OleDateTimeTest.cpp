#include <gtest/gtest.h>

#include "TimeZone.h"
#include "afx.h"
#include "afxdisp.h"

namespace {

constexpr double kSecond = 1.0 / 86400;

struct Built {
  int y, mo, d, h, mi, s;
  int status;
  DATE dt;  // expected day count when valid
};

TEST(OleDateTime, BuildsDayCountsFromParts) {
  const Built cases[] = {
      {1899, 12, 30, 0, 0, 0, 0, 0.0},
      {1899, 12, 29, 6, 0, 0, 0, -1.25},
      {1899, 12, 30, 6, 0, 0, 0, 0.25},
      {1900, 1, 1, 12, 0, 0, 0, 2.5},
      {2024, 2, 29, 0, 0, 0, 0, 45351.0},
      {100, 1, 1, 0, 0, 0, 0, -657434.0},
      {9999, 12, 31, 0, 0, 0, 0, 2958465.0},
      {9999, 12, 31, 18, 0, 0, 0, 2958465.75},
      {99, 12, 31, 0, 0, 0, 1, 0},
      {10000, 1, 1, 0, 0, 0, 1, 0},
      {2023, 2, 29, 0, 0, 0, 1, 0},
      {1900, 2, 29, 0, 0, 0, 1, 0},
      {2000, 2, 29, 0, 0, 0, 0, 36585.0},
      {2024, 0, 1, 0, 0, 0, 1, 0},
      {2024, 13, 1, 0, 0, 0, 1, 0},
      {2024, 4, 31, 0, 0, 0, 1, 0},
      {2024, 1, 0, 0, 0, 0, 1, 0},
      {2024, 1, 1, 24, 0, 0, 1, 0},
      {2024, 1, 1, 0, 60, 0, 1, 0},
      {2024, 1, 1, 0, 0, 60, 1, 0},
      {2024, 1, 1, -1, 0, 0, 1, 0},
  };
  for (const auto& c : cases) {
    COleDateTime t(c.y, c.mo, c.d, c.h, c.mi, c.s);
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s);
    EXPECT_EQ(t.GetStatus(), c.status);
    if (c.status == COleDateTime::valid) {
      EXPECT_DOUBLE_EQ(t.m_dt, c.dt);
    }
  }
}

struct Read {
  DATE dt;
  int y, mo, d, h, mi, s, dow, doy;  // y == -1: cannot be read
};

TEST(OleDateTime, ReadsPartsFromDayCounts) {
  const Read cases[] = {
      {0.0, 1899, 12, 30, 0, 0, 0, 7, 364},
      {-1.25, 1899, 12, 29, 6, 0, 0, 6, 363},
      {-1.75, 1899, 12, 29, 18, 0, 0, 6, 363},
      {-0.25, 1899, 12, 30, 6, 0, 0, 7, 364},  // the whole part is -0: the same day as 0.25
      {2.5, 1900, 1, 1, 12, 0, 0, 2, 1},
      {46365.83094, 2026, 12, 9, 19, 56, 33, 4, 343},
      {45657.0, 2024, 12, 31, 0, 0, 0, 3, 366},
      {-657434.0, 100, 1, 1, 0, 0, 0, 6, 1},
      {-657434.5, 100, 1, 1, 12, 0, 0, 6, 1},
      {2958465.0, 9999, 12, 31, 0, 0, 0, 6, 365},
      {2958465.99, 9999, 12, 31, 23, 45, 36, 6, 365},
      {-657435.0, -1},
      {2958466.0, -1},
  };
  for (const auto& c : cases) {
    COleDateTime t(c.dt);
    SCOPED_TRACE(c.dt);
    if (c.y == -1) {
      EXPECT_EQ(t.GetYear(), AFX_OLE_DATETIME_ERROR);
      EXPECT_EQ(t.GetSecond(), AFX_OLE_DATETIME_ERROR);
      continue;
    }
    EXPECT_EQ(t.GetYear(), c.y);
    EXPECT_EQ(t.GetMonth(), c.mo);
    EXPECT_EQ(t.GetDay(), c.d);
    EXPECT_EQ(t.GetHour(), c.h);
    EXPECT_EQ(t.GetMinute(), c.mi);
    EXPECT_EQ(t.GetSecond(), c.s);
    EXPECT_EQ(t.GetDayOfWeek(), c.dow);
    EXPECT_EQ(t.GetDayOfYear(), c.doy);
  }
}

TEST(OleDateTime, RoundsToTheNearestSecondWithHalvesUp) {
  struct Case {
    DATE dt;
    int d, h, mi, s;
  } cases[] = {
      {45000 + 43200.49 * kSecond, 15, 12, 0, 0},
      {45000 + 43200.5 * kSecond, 15, 12, 0, 1},
      {45000 + 43200.51 * kSecond, 15, 12, 0, 1},
      {45000 + 43199.5 * kSecond, 15, 12, 0, 0},
      {45000 + 86399.5 * kSecond, 16, 0, 0, 0},  // past midnight into the next day
      // Before 1899-12-30 the fraction still runs forward through the day.
      {-1 - 21600.49 * kSecond, 29, 6, 0, 0},
      {-1 - 21600.5 * kSecond, 29, 6, 0, 1},
      {-1 - 86399.6 * kSecond, 30, 0, 0, 0},  // 12-29 23:59:59.6 becomes 12-30, not 12-28
  };
  for (const auto& c : cases) {
    COleDateTime t(c.dt);
    SCOPED_TRACE(c.dt);
    EXPECT_EQ(t.GetDay(), c.d);
    EXPECT_EQ(t.GetHour(), c.h);
    EXPECT_EQ(t.GetMinute(), c.mi);
    EXPECT_EQ(t.GetSecond(), c.s);
  }
  // Rounding cannot carry the last second of the range into the year 10000.
  EXPECT_EQ(COleDateTime(2958465 + 86399.6 * kSecond).GetYear(), AFX_OLE_DATETIME_ERROR);
}

TEST(OleDateTime, SettersReportStatusAndKeepTheValueOnFailure) {
  COleDateTime t(2026, 12, 9, 19, 56, 33);
  DATE before = t.m_dt;
  EXPECT_EQ(t.SetDate(2026, 2, 30), COleDateTime::invalid);
  EXPECT_EQ(t.GetStatus(), COleDateTime::invalid);
  EXPECT_EQ(t.m_dt, before);
  EXPECT_EQ(t.GetYear(), AFX_OLE_DATETIME_ERROR);  // parts need a valid status
  EXPECT_EQ(t.SetDate(2026, 2, 28), COleDateTime::valid);
  EXPECT_EQ(t.m_dt, 46081.0);
  EXPECT_EQ(t.SetTime(18, 0, 0), COleDateTime::valid);
  EXPECT_EQ(t.m_dt, 0.75);  // a time alone lies on 1899-12-30
  t.SetStatus(COleDateTime::null);
  EXPECT_EQ(t.GetHour(), AFX_OLE_DATETIME_ERROR);
  t = 2.5;
  EXPECT_EQ(t.GetStatus(), COleDateTime::valid);
}

TEST(OleDateTime, ArithmeticAndOrderFollowTheTimeLine) {
  COleDateTime evening(1899, 12, 29, 18, 0, 0);  // -1.75
  COleDateTime morning(1899, 12, 29, 6, 0, 0);   // -1.25
  EXPECT_LT(morning, evening);
  EXPECT_GT(evening, morning);
  EXPECT_LE(morning, morning);
  EXPECT_NE(morning, evening);

  COleDateTime next = evening + COleDateTimeSpan(0, 12, 0, 0);
  EXPECT_DOUBLE_EQ(next.m_dt, 0.25);
  COleDateTime back = next - COleDateTimeSpan(0, 12, 0, 0);
  EXPECT_DOUBLE_EQ(back.m_dt, -1.75);
  EXPECT_DOUBLE_EQ((next - morning).GetTotalHours(), 24.0);
  EXPECT_DOUBLE_EQ((morning - next).GetTotalDays(), -1.0);

  COleDateTime day(2024, 2, 28, 12, 0, 0);
  day += COleDateTimeSpan(1, 0, 0, 0);
  EXPECT_EQ(day.GetDay(), 29);
  day -= COleDateTimeSpan(366, 0, 0, 0);
  EXPECT_EQ(day.GetYear(), 2023);
  EXPECT_EQ(day.GetMonth(), 2);
  EXPECT_EQ(day.GetDay(), 28);
}

TEST(OleDateTime, StatusCarriesThroughArithmetic) {
  COleDateTime last(9999, 12, 31, 0, 0, 0);
  EXPECT_EQ((last + COleDateTimeSpan(0, 23, 59, 59)).GetStatus(), COleDateTime::valid);
  EXPECT_EQ((last + COleDateTimeSpan(1, 0, 0, 0)).GetStatus(), COleDateTime::invalid);
  EXPECT_EQ((COleDateTime(100, 1, 1, 0, 0, 0) - COleDateTimeSpan(0, 0, 0, 1)).GetStatus(), COleDateTime::invalid);

  COleDateTime bad(2024, 2, 30, 0, 0, 0);
  COleDateTime none;
  none.SetStatus(COleDateTime::null);
  COleDateTimeSpan noSpan;
  noSpan.SetStatus(COleDateTimeSpan::null);
  EXPECT_EQ((bad + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
  EXPECT_EQ((bad + noSpan).GetStatus(), COleDateTime::null);
  EXPECT_EQ((none - last).GetStatus(), COleDateTimeSpan::null);
  EXPECT_EQ((bad - last).GetStatus(), COleDateTimeSpan::invalid);
}

TEST(OleDateTime, Formats) {
  COleDateTime t(2026, 12, 9, 19, 56, 33);
  EXPECT_STREQ(t.Format("%Y/%m/%d %H:%M:%S %a %j"), "2026/12/09 19:56:33 Wed 343");
  EXPECT_STREQ(COleDateTime(1899, 12, 29, 6, 0, 0).Format("%#x %#I %p"), "Friday, December 29, 1899 6 AM");
  EXPECT_STREQ(COleDateTime(100, 3, 1, 0, 0, 0).Format("%Y %y %#Y"), "0100 00 100");
  COleDateTime bad(2024, 2, 30, 0, 0, 0);
  EXPECT_STREQ(bad.Format("%Y"), "Invalid DateTime");
  bad.SetStatus(COleDateTime::null);
  EXPECT_STREQ(bad.Format("%Y"), "");
}

using OleDateTimeLocal = JapanTime;

TEST_F(OleDateTimeLocal, TakesLocalTimeFromTheClockAndTimeValues) {
  plat::clock::PinWall(1796813793LL * 1000000 + 700000);
  COleDateTime now = COleDateTime::GetCurrentTime();
  EXPECT_STREQ(now.Format("%Y-%m-%d %H:%M:%S"), "2026-12-09 19:56:33");
  EXPECT_STREQ(COleDateTime(static_cast<time_t>(0)).Format("%Y-%m-%d %H:%M:%S"), "1970-01-01 09:00:00");
  SYSTEMTIME st{2026, 12, 3, 9, 19, 56, 33, 999};
  EXPECT_EQ(COleDateTime(st), now);
  unsigned long long ticks = 116444736000000000ULL + 86400ULL * 10000000;
  FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  EXPECT_STREQ(COleDateTime(ft).Format("%Y-%m-%d %H:%M:%S"), "1970-01-02 00:00:00");
}

TEST(OleDateTimeSpan, PartsRoundToTheSecond) {
  struct Case {
    COleDateTimeSpan span;
    LONG days, hours, minutes, seconds;
    const char* text;
  } cases[] = {
      {COleDateTimeSpan(1, 2, 3, 4), 1, 2, 3, 4, "1 02:03:04"},
      {COleDateTimeSpan(1.5), 1, 12, 0, 0, "1 12:00:00"},
      {COleDateTimeSpan(-1.5), -1, -12, 0, 0, "-1 -12:00:00"},
      {COleDateTimeSpan(59.5 * kSecond), 0, 0, 1, 0, "0 00:01:00"},
      {COleDateTimeSpan(59.4 * kSecond), 0, 0, 0, 59, "0 00:00:59"},
      {COleDateTimeSpan(0, 0, 0, 86399), 0, 23, 59, 59, "0 23:59:59"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.span.GetDays(), c.days);
    EXPECT_EQ(c.span.GetHours(), c.hours);
    EXPECT_EQ(c.span.GetMinutes(), c.minutes);
    EXPECT_EQ(c.span.GetSeconds(), c.seconds);
    EXPECT_STREQ(c.span.Format("%D %H:%M:%S"), c.text);
  }
  COleDateTimeSpan span(0, 1, 30, 0);
  EXPECT_DOUBLE_EQ(span.GetTotalHours(), 1.5);
  EXPECT_DOUBLE_EQ(span.GetTotalMinutes(), 90.0);
  EXPECT_DOUBLE_EQ(span.GetTotalSeconds(), 5400.0);
  EXPECT_DOUBLE_EQ((span + span - COleDateTimeSpan(0, 0, 30, 0)).GetTotalMinutes(), 150.0);
  EXPECT_LT(-span, span);
}

}  // namespace
