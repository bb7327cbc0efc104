#include "kernel/LocaleData.h"

#include <array>

#include "Config.h"
#include "WinSystem.h"

namespace plat::locale {
namespace {

struct Table {
  const char* shortDate;
  const char* longDate;
  const char* timeFormat;
  const char* am;
  const char* pm;
  const char* dateSeparator;
  const char* timeSeparator;
  const char* firstDayOfWeek;  // 0 Monday ... 6 Sunday
  const char* era;
  std::array<const char*, 7> days;  // Monday first, as LOCALE_SDAYNAME1..7
  std::array<const char*, 7> abbrevDays;
  std::array<const char*, 12> months;
  std::array<const char*, 12> abbrevMonths;
};

const Table kJapanese = {
    "yyyy/MM/dd",
    "yyyy'年'M'月'd'日'",
    "H:mm:ss",
    "午前",
    "午後",
    "/",
    ":",
    "6",
    "西暦",
    {"月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日", "日曜日"},
    {"月", "火", "水", "木", "金", "土", "日"},
    {"1月", "2月", "3月", "4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月"},
    {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"},
};

const Table kEnglish = {
    "M/d/yyyy",
    "dddd, MMMM dd, yyyy",
    "h:mm:ss tt",
    "AM",
    "PM",
    "/",
    ":",
    "6",
    "A.D.",
    {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
    {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
    {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
     "November", "December"},
    {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
};

const Table& TableFor(LCID lcid) {
  return (Resolve(lcid) & 0x3FF) == LANG_JAPANESE ? kJapanese : kEnglish;
}

}  // namespace

LCID DefaultLcid() { return static_cast<LCID>(config::GetInt("LCID", 0x0411)); }

LCID Resolve(LCID lcid) {
  if (lcid == 0 || lcid == LOCALE_USER_DEFAULT || lcid == LOCALE_SYSTEM_DEFAULT) return DefaultLcid();
  return lcid;
}

std::optional<std::string_view> Info(LCID lcid, LCTYPE type) {
  const Table& t = TableFor(lcid);
  switch (type) {
    case LOCALE_SSHORTDATE: return t.shortDate;
    case LOCALE_SLONGDATE: return t.longDate;
    case LOCALE_STIMEFORMAT: return t.timeFormat;
    case LOCALE_S1159: return t.am;
    case LOCALE_S2359: return t.pm;
    case LOCALE_SDATE: return t.dateSeparator;
    case LOCALE_STIME: return t.timeSeparator;
    case LOCALE_IFIRSTDAYOFWEEK: return t.firstDayOfWeek;
  }
  if (type >= LOCALE_SDAYNAME1 && type <= LOCALE_SDAYNAME7) return t.days[type - LOCALE_SDAYNAME1];
  if (type >= LOCALE_SABBREVDAYNAME1 && type <= LOCALE_SABBREVDAYNAME7)
    return t.abbrevDays[type - LOCALE_SABBREVDAYNAME1];
  if (type >= LOCALE_SMONTHNAME1 && type <= LOCALE_SMONTHNAME12) return t.months[type - LOCALE_SMONTHNAME1];
  if (type >= LOCALE_SABBREVMONTHNAME1 && type <= LOCALE_SABBREVMONTHNAME12)
    return t.abbrevMonths[type - LOCALE_SABBREVMONTHNAME1];
  return std::nullopt;
}

std::string_view EraName(LCID lcid) { return TableFor(lcid).era; }

}  // namespace plat::locale
