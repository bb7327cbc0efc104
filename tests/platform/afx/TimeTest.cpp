#include <gtest/gtest.h>

#include <string>

#include "TimeZone.h"
#include "afx.h"

namespace {

using Time = JapanTime;

// 2026-12-09 19:56:33 in Japan, a Wednesday.
constexpr time_t kSample = 1796813793;

TEST_F(Time, BuildsFromLocalPartsAndReadsThemBack) {
  CTime t(2026, 12, 9, 19, 56, 33);
  EXPECT_EQ(t.GetTime(), kSample);
  EXPECT_EQ(t.GetYear(), 2026);
  EXPECT_EQ(t.GetMonth(), 12);
  EXPECT_EQ(t.GetDay(), 9);
  EXPECT_EQ(t.GetHour(), 19);
  EXPECT_EQ(t.GetMinute(), 56);
  EXPECT_EQ(t.GetSecond(), 33);
  EXPECT_EQ(t.GetDayOfWeek(), 4);
  EXPECT_EQ(t.GetGmtTm()->tm_hour, 10);
  std::tm local;
  EXPECT_EQ(t.GetLocalTm(&local), &local);
  EXPECT_EQ(local.tm_yday, 342);
}

TEST_F(Time, OtherSourcesGiveTheSameInstant) {
  SYSTEMTIME st{2026, 12, 3, 9, 19, 56, 33, 0};
  EXPECT_EQ(CTime(st).GetTime(), kSample);
  // File times count 100 ns steps since 1601 in UTC.
  unsigned long long ticks = kSample * 10000000ULL + 116444736000000000ULL + 9999999;
  FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  EXPECT_EQ(CTime(ft).GetTime(), kSample);
  // DOS stamps keep even seconds: 2026-12-09 19:56:32.
  WORD dosDate = ((2026 - 1980) << 9) | (12 << 5) | 9;
  WORD dosTime = (19 << 11) | (56 << 5) | (32 / 2);
  EXPECT_EQ(CTime(dosDate, dosTime).GetTime(), kSample - 1);
  // Parts beyond their range carry over.
  EXPECT_EQ(CTime(2026, 11, 39, 19, 56, 33).GetTime(), kSample);
}

TEST_F(Time, CurrentTimeFollowsTheWallClock) {
  plat::clock::PinWall(kSample * 1000000LL + 999999);
  EXPECT_EQ(CTime::GetCurrentTime().GetTime(), kSample);
}

TEST_F(Time, FormatsWithRunTimeCodes) {
  CTime t(kSample);
  CTime morning(2026, 1, 5, 7, 4, 3);  // a Monday
  struct Case {
    const CTime& time;
    const char* format;
    const char* text;
  } cases[] = {
      {t, "%Y/%m/%d.%H:%M:%S", "2026/12/09.19:56:33"},
      {t, "%y %b %B %a %A", "26 Dec December Wed Wednesday"},
      {t, "%j %w %U %W", "343 3 49 49"},
      {t, "%I %p", "07 PM"},
      {morning, "%I %p", "07 AM"},
      {t, "%c", "12/09/26 19:56:33"},
      {t, "%x|%X", "12/09/26|19:56:33"},
      {morning, "%#c", "Monday, January 05, 2026, 07:04:03"},
      {morning, "%#x", "Monday, January 05, 2026"},
      {morning, "%#d.%#m.%#H:%#M:%#S %#j", "5.1.7:4:3 5"},
      {morning, "%d.%m.%H:%M:%S %j", "05.01.07:04:03 005"},
      {t, "%Z", "JST"},
      {t, "100%% %Q", "100% %Q"},
      {t, "", ""},
  };
  for (const auto& c : cases) EXPECT_STREQ(c.time.Format(c.format), c.text) << c.format;
  EXPECT_STREQ(t.FormatGmt("%Y-%m-%d %H:%M:%S %Z"), "2026-12-09 10:56:33 UTC");
}

TEST_F(Time, ArithmeticWithSpans) {
  CTime start(kSample);
  CTime due = start + CTimeSpan(0, 1, 30, 15);
  EXPECT_EQ(due.GetHour(), 21);
  EXPECT_EQ(due.GetMinute(), 26);
  EXPECT_EQ(due.GetSecond(), 48);
  CTimeSpan gap = due - start;
  EXPECT_EQ(gap.GetTotalSeconds(), 5415);
  EXPECT_EQ(due - gap, start);
  due -= CTimeSpan(1, 0, 0, 0);
  EXPECT_LT(due, start);
  EXPECT_EQ(due.GetDay(), 8);
}

TEST_F(Time, ArchivesKeepThirtyTwoBitSeconds) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << CTime(kSample) << CTime(0xFFFFFFFFLL);
  }
  ASSERT_EQ(file.GetLength(), 8u);
  file.SeekToBegin();
  BYTE first[4];
  file.Read(first, 4);
  EXPECT_EQ(first[0] | first[1] << 8 | first[2] << 16 | static_cast<DWORD>(first[3]) << 24,
            static_cast<DWORD>(kSample));
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  CTime a, b;
  ar >> a >> b;
  EXPECT_EQ(a.GetTime(), kSample);
  EXPECT_EQ(b.GetTime(), 0xFFFFFFFFLL);  // unsigned: good until 2106
}

TEST(TimeSpan, SplitsIntoPartsAndFormats) {
  struct Case {
    CTimeSpan span;
    LONG days, totalHours;
    int hours, minutes, seconds;
    const char* text;
  } cases[] = {
      {CTimeSpan(1, 2, 3, 4), 1, 26, 2, 3, 4, "1 02:03:04"},
      {CTimeSpan(0, 0, 0, 59), 0, 0, 0, 0, 59, "0 00:00:59"},
      {CTimeSpan(0, 47, 59, 60), 2, 48, 0, 0, 0, "2 00:00:00"},
      {CTimeSpan(-90061), -1, -25, -1, -1, -1, "-1 -1:-1:-1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.span.GetDays(), c.days);
    EXPECT_EQ(c.span.GetTotalHours(), c.totalHours);
    EXPECT_EQ(c.span.GetHours(), c.hours);
    EXPECT_EQ(c.span.GetMinutes(), c.minutes);
    EXPECT_EQ(c.span.GetSeconds(), c.seconds);
    EXPECT_STREQ(c.span.Format("%D %H:%M:%S"), c.text);
  }
  EXPECT_EQ(CTimeSpan(0, 1, 2, 3).GetTotalMinutes(), 62);
  EXPECT_STREQ(CTimeSpan(5).Format("%S%% %X"), "05% %X");
}

}  // namespace
