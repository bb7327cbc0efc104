#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <optional>
#include <string>

#include "Clock.h"
#include "KernelFixtures.h"
#include "windows.h"

namespace {

SYSTEMTIME At(int y, int mo, int d, int h, int mi, int s) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(y);
  t.wMonth = static_cast<WORD>(mo);
  t.wDay = static_cast<WORD>(d);
  t.wHour = static_cast<WORD>(h);
  t.wMinute = static_cast<WORD>(mi);
  t.wSecond = static_cast<WORD>(s);
  return t;
}

std::string Time(LCID lcid, DWORD flags, const SYSTEMTIME* t, const char* format) {
  char buf[256];
  int n = GetTimeFormatA(lcid, flags, t, format, buf, sizeof buf);
  return n > 0 ? std::string(buf, n - 1) : "<fails>";
}

std::string Date(LCID lcid, DWORD flags, const SYSTEMTIME* d, const char* format) {
  char buf[256];
  int n = GetDateFormatA(lcid, flags, d, format, buf, sizeof buf);
  return n > 0 ? std::string(buf, n - 1) : "<fails>";
}

// Pins the wall clock and the time zone for one test.
class PinnedClock {
 public:
  PinnedClock(const char* tz, int64_t utcSeconds) {
    if (const char* old = getenv("TZ")) old_ = old;
    setenv("TZ", tz, 1);
    tzset();
    plat::clock::PinWall(utcSeconds * 1'000'000 + 250'000);
  }
  ~PinnedClock() {
    plat::clock::PinWall(std::nullopt);
    if (old_)
      setenv("TZ", old_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> old_;
};

int64_t Utc(int y, int mo, int d, int h, int mi, int s) {
  struct tm tm{};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_sec = s;
  return timegm(&tm);
}

TEST(TimeFormat, TimePicturesInBothLanguages) {
  const SYSTEMTIME afternoon = At(2026, 12, 9, 15, 5, 9);
  const SYSTEMTIME morning = At(2026, 12, 9, 0, 7, 0);
  struct Case {
    LCID lcid;
    DWORD flags;
    const SYSTEMTIME* t;
    const char* format;
    const char* text;
  };
  const Case cases[] = {
      {0x0411, 0, &afternoon, "hh':'mm tt", "03:05 午後"},  // the status-bar clock
      {0x0409, 0, &afternoon, "hh':'mm tt", "03:05 PM"},
      {0x0411, 0, &morning, "hh':'mm tt", "12:07 午前"},
      {0x0411, 0, &afternoon, nullptr, "15:05:09"},
      {0x0409, 0, &afternoon, nullptr, "3:05:09 PM"},
      {0x0409, 0, &morning, "H:m:s t", "0:7:0 A"},
      {0x0411, 0, &morning, "t", "午"},
      {0x0409, 0, &afternoon, "HH-mm-ss", "15-05-09"},
      {0x0409, TIME_NOSECONDS, &afternoon, nullptr, "3:05 PM"},
      {0x0409, TIME_NOMINUTESORSECONDS, &afternoon, nullptr, "3 PM"},
      {0x0409, TIME_NOTIMEMARKER, &afternoon, nullptr, "3:05:09"},
      {0x0409, TIME_NOTIMEMARKER, &afternoon, "tt h:mm", "3:05"},
      {0x0409, TIME_FORCE24HOURFORMAT, &afternoon, "hh:mm", "15:05"},
      {0x0409, LOCALE_NOUSEROVERRIDE, &afternoon, "h", "3"},
      // Quoted text, doubled quotes, and date letters that are plain text here.
      {0x0409, 0, &afternoon, "h 'o''clock'", "3 o'clock"},
      {0x0409, 0, &afternoon, "''h''", "'3'"},
      {0x0409, 0, &afternoon, "H:mm dd/MM", "15:05 dd/MM"},
      {0x0409, 0, &afternoon, "'unterminated h", "unterminated h"},
  };
  for (const Case& c : cases) EXPECT_EQ(Time(c.lcid, c.flags, c.t, c.format), c.text) << c.format;
}

TEST(TimeFormat, DatePicturesInBothLanguages) {
  const SYSTEMTIME wednesday = At(2026, 12, 9, 0, 0, 0);
  const SYSTEMTIME early = At(2005, 3, 4, 0, 0, 0);
  struct Case {
    LCID lcid;
    DWORD flags;
    const SYSTEMTIME* d;
    const char* format;
    const char* text;
  };
  const Case cases[] = {
      {0x0411, DATE_SHORTDATE, &wednesday, nullptr, "2026/12/09"},
      {0x0411, DATE_LONGDATE, &wednesday, nullptr, "2026年12月9日"},
      {0x0411, 0, &wednesday, nullptr, "2026/12/09"},
      {0x0409, DATE_SHORTDATE, &wednesday, nullptr, "12/9/2026"},
      {0x0409, DATE_LONGDATE, &wednesday, nullptr, "Wednesday, December 09, 2026"},
      {0x0411, 0, &wednesday, "ddd dddd MMM MMMM", "水 水曜日 12 12月"},
      {0x0409, 0, &early, "ddd dddd MMM MMMM", "Fri Friday Mar March"},
      {0x0409, 0, &early, "d/M/y dd.MM.yy yyyy gg", "4/3/5 04.03.05 2005 A.D."},
      {0x0411, 0, &early, "gg yyyy", "西暦 2005"},
      {0x0409, 0, &early, "'Day' d, h:mm", "Day 4, h:mm"},
  };
  for (const Case& c : cases) EXPECT_EQ(Date(c.lcid, c.flags, c.d, c.format), c.text) << (c.format ? c.format : "");
}

TEST(TimeFormat, InvalidValuesFlagsAndBuffersFail) {
  struct Case {
    SYSTEMTIME t;
    bool timeValid, dateValid;
  };
  const Case cases[] = {
      {At(2024, 2, 29, 23, 59, 59), true, true},
      {At(2025, 2, 29, 0, 0, 0), true, false},
      {At(2026, 13, 1, 0, 0, 0), true, false},
      {At(2026, 4, 31, 0, 0, 0), true, false},
      {At(1600, 12, 31, 0, 0, 0), true, false},
      {At(2026, 1, 1, 24, 0, 0), false, true},
      {At(2026, 1, 1, 0, 60, 0), false, true},
  };
  for (const Case& c : cases) {
    char buf[64];
    SetLastError(0);
    EXPECT_EQ(GetTimeFormatA(0x0409, 0, &c.t, "H:mm", buf, sizeof buf) > 0, c.timeValid) << c.t.wHour;
    EXPECT_EQ(GetDateFormatA(0x0409, 0, &c.t, "yyyy-M-d", buf, sizeof buf) > 0, c.dateValid) << c.t.wDay;
    if (!c.timeValid || !c.dateValid) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
  }
  SYSTEMTIME t = At(2026, 12, 9, 15, 5, 9);
  char buf[64];
  EXPECT_EQ(GetDateFormatA(0x0409, DATE_SHORTDATE, &t, "yyyy", buf, sizeof buf), 0);  // picture and flag
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  EXPECT_EQ(GetDateFormatA(0x0409, DATE_SHORTDATE | DATE_LONGDATE, &t, nullptr, buf, sizeof buf), 0);
  EXPECT_EQ(GetTimeFormatA(0x0409, 0x100, &t, nullptr, buf, sizeof buf), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  // Size 0 asks for the length; a short buffer fails.
  EXPECT_EQ(GetTimeFormatA(0x0411, 0, &t, "hh':'mm tt", nullptr, 0), 13);
  EXPECT_EQ(GetTimeFormatA(0x0411, 0, &t, "hh':'mm tt", buf, 12), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(TimeFormat, NowIsTheLocalTimeOfTheProcessTimeZone) {
  const int64_t instant = Utc(2026, 12, 9, 15, 5, 9);
  struct Case {
    const char* tz;
    WORD day, dayOfWeek, hour;
    const char* clock;
  };
  const Case cases[] = {
      {"UTC0", 9, 3, 15, "03:05 午後"},
      {"JST-9", 10, 4, 0, "12:05 午前"},  // already Thursday in Tokyo
      {"EST5", 9, 3, 10, "10:05 午前"},
  };
  for (const Case& c : cases) {
    PinnedClock pinned(c.tz, instant);
    SYSTEMTIME local, utc;
    GetLocalTime(&local);
    GetSystemTime(&utc);
    EXPECT_EQ(local.wDay, c.day) << c.tz;
    EXPECT_EQ(local.wDayOfWeek, c.dayOfWeek) << c.tz;
    EXPECT_EQ(local.wHour, c.hour) << c.tz;
    EXPECT_EQ(local.wMilliseconds, 250) << c.tz;
    EXPECT_EQ(utc.wHour, 15) << c.tz;
    EXPECT_EQ(utc.wYear, 2026) << c.tz;
    EXPECT_EQ(Time(LOCALE_USER_DEFAULT, 0, nullptr, "hh':'mm tt"), c.clock) << c.tz;
  }
  PinnedClock tokyo("JST-9", instant);
  EXPECT_EQ(Date(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr), "2026年12月10日");
}

TEST(TimeFormat, TicksAndCounterFollowTheClock) {
  kerneltest::VirtualClock virtualClock;
  LARGE_INTEGER frequency, before, after;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 10'000'000);
  DWORD ticks = GetTickCount();
  QueryPerformanceCounter(&before);
  Sleep(250);
  EXPECT_EQ(SleepEx(750, TRUE), 0u);
  QueryPerformanceCounter(&after);
  EXPECT_GE(GetTickCount() - ticks, 1000u);
  EXPECT_LT(GetTickCount() - ticks, 1010u);
  EXPECT_GE(after.QuadPart - before.QuadPart, 10'000'000);
}

}  // namespace
