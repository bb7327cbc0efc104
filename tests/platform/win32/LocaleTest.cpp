#include <gtest/gtest.h>

#include <string>

#include "Config.h"
#include "KernelFixtures.h"
#include "windows.h"

namespace {

using kerneltest::Setting;

std::string Info(LCID lcid, LCTYPE type) {
  char buf[256];
  int n = GetLocaleInfoA(lcid, type, buf, sizeof buf);
  return n > 0 ? std::string(buf, n - 1) : "<fails>";
}

TEST(Locale, DefaultIsJapaneseAndConfigurable) {
  EXPECT_EQ(GetSystemDefaultLCID(), 0x0411u);
  EXPECT_EQ(GetUserDefaultLCID(), 0x0411u);
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0411);
  struct Case {
    const char* value;
    LCID lcid;
  };
  for (Case c : {Case{"0x0409", 0x0409}, Case{"1033", 1033}, Case{"0x0407", 0x0407}}) {
    Setting lcid("LCID", c.value);
    EXPECT_EQ(GetSystemDefaultLCID(), c.lcid) << c.value;
    EXPECT_EQ(GetUserDefaultLangID(), static_cast<LANGID>(c.lcid)) << c.value;
  }
}

TEST(Locale, AnswersTheTablesOfBothLanguages) {
  struct Case {
    LCID lcid;
    LCTYPE type;
    const char* text;
  };
  const Case cases[] = {
      {0x0411, LOCALE_SSHORTDATE, "yyyy/MM/dd"},
      {0x0411, LOCALE_SLONGDATE, "yyyy'年'M'月'd'日'"},
      {0x0411, LOCALE_STIMEFORMAT, "H:mm:ss"},
      {0x0411, LOCALE_S1159, "午前"},
      {0x0411, LOCALE_S2359, "午後"},
      {0x0411, LOCALE_SDAYNAME1, "月曜日"},
      {0x0411, LOCALE_SDAYNAME7, "日曜日"},
      {0x0411, LOCALE_SABBREVDAYNAME7, "日"},
      {0x0411, LOCALE_SMONTHNAME1, "1月"},
      {0x0411, LOCALE_SMONTHNAME12, "12月"},
      {0x0411, LOCALE_SABBREVMONTHNAME3, "3"},
      {0x0411, LOCALE_IFIRSTDAYOFWEEK, "6"},
      {0x0409, LOCALE_SSHORTDATE, "M/d/yyyy"},
      {0x0409, LOCALE_SLONGDATE, "dddd, MMMM dd, yyyy"},
      {0x0409, LOCALE_STIMEFORMAT, "h:mm:ss tt"},
      {0x0409, LOCALE_S1159, "AM"},
      {0x0409, LOCALE_S2359, "PM"},
      {0x0409, LOCALE_SDAYNAME1, "Monday"},
      {0x0409, LOCALE_SDAYNAME7, "Sunday"},
      {0x0409, LOCALE_SABBREVDAYNAME3, "Wed"},
      {0x0409, LOCALE_SMONTHNAME9, "September"},
      {0x0409, LOCALE_SABBREVMONTHNAME12, "Dec"},
      {0x0409, LOCALE_SDATE, "/"},
      {0x0409, LOCALE_STIME, ":"},
      // The defaults resolve to the configured locale; the override flag changes nothing.
      {LOCALE_USER_DEFAULT, LOCALE_SDAYNAME2, "火曜日"},
      {LOCALE_SYSTEM_DEFAULT, LOCALE_SABBREVMONTHNAME1, "1"},
      {0x0409, LOCALE_NOUSEROVERRIDE | LOCALE_SDAYNAME5, "Friday"},
      // A locale without a table of its own answers English.
      {0x0407, LOCALE_SMONTHNAME3, "March"},
  };
  for (const Case& c : cases) EXPECT_EQ(Info(c.lcid, c.type), c.text) << std::hex << c.lcid << " " << c.type;
}

TEST(Locale, BufferRulesAndUnknownValues) {
  // Sizes count bytes of UTF-8, terminator included.
  EXPECT_EQ(GetLocaleInfoA(0x0411, LOCALE_SDAYNAME1, nullptr, 0), 10);
  char small[9] = "untouch";
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfoA(0x0411, LOCALE_SDAYNAME1, small, sizeof small), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  char exact[10];
  EXPECT_EQ(GetLocaleInfoA(0x0411, LOCALE_SDAYNAME1, exact, sizeof exact), 10);
  EXPECT_STREQ(exact, "月曜日");
  EXPECT_EQ(GetLocaleInfoA(0x0409, 0x7777, exact, sizeof exact), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

}  // namespace
