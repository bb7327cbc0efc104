#include "COleDateTime.h"

#include <cmath>

#include "CTime.h"
#include "TimeFormat.h"

namespace {

// Day counts of 100-01-01 and 9999-12-31; every time of both days is in range.
constexpr double kMinDay = -657434.0;
constexpr double kMaxDay = 2958465.0;
// Days from 1899-12-30 to 1970-01-01.
constexpr long long kUnixEpochDay = 25569;
// A time that reads as a half second only because the day count cannot hold it exactly
// (about 40 microseconds near the year 9999) still rounds up.
constexpr double kHalfSecondSlack = 1e-4;

struct Parts {
  int year, month, day, hour, minute, second, dayOfWeek, dayOfYear;
};

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, int m, int d) {
  y -= m <= 2;
  long long era = (y >= 0 ? y : y - 399) / 400;
  long long yoe = y - era * 400;
  long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, long long& y, int& m, int& d) {
  z += 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2);
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

bool InRange(DATE dt) { return dt > kMinDay - 1 && dt < kMaxDay + 1; }

bool Decode(DATE dt, Parts& p) {
  if (!InRange(dt)) return false;
  double whole = std::trunc(dt);
  long long day = static_cast<long long>(whole);
  long long seconds = static_cast<long long>(std::floor(std::fabs(dt - whole) * 86400.0 + 0.5 + kHalfSecondSlack));
  // Rounding up past midnight moves to the next calendar day, which is the next day
  // count on both sides of 1899-12-30 (-1 is 12-29, 0 is 12-30).
  if (seconds >= 86400) {
    seconds -= 86400;
    ++day;
  }
  long long unixDay = day - kUnixEpochDay;
  long long year;
  CivilFromDays(unixDay, year, p.month, p.day);
  if (year < 100 || year > 9999) return false;
  p.year = static_cast<int>(year);
  p.hour = static_cast<int>(seconds / 3600);
  p.minute = static_cast<int>(seconds / 60 % 60);
  p.second = static_cast<int>(seconds % 60);
  p.dayOfWeek = static_cast<int>(((unixDay + 4) % 7 + 7) % 7) + 1;  // 1970-01-01 was a Thursday
  p.dayOfYear = static_cast<int>(unixDay - DaysFromCivil(year, 1, 1)) + 1;
  return true;
}

bool Encode(int y, int mo, int d, int h, int mi, int s, DATE& out) {
  if (y < 100 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo) || h < 0 || h > 23 || mi < 0 ||
      mi > 59 || s < 0 || s > 59)
    return false;
  double day = static_cast<double>(DaysFromCivil(y, mo, d) + kUnixEpochDay);
  double time = (h * 3600 + mi * 60 + s) / 86400.0;
  out = day >= 0 ? day + time : day - time;
  return true;
}

// Position on a continuous time line (days since 1899-12-30, negative before it).
double ToLinear(DATE dt) {
  double whole = std::trunc(dt);
  return whole + std::fabs(dt - whole);
}

DATE FromLinear(double x) {
  double whole = std::floor(x);
  double time = x - whole;
  return whole >= 0 ? whole + time : whole - time;
}

int Part(const COleDateTime& date, int Parts::*field) {
  Parts p;
  if (date.GetStatus() != COleDateTime::valid || !Decode(date.m_dt, p)) return AFX_OLE_DATETIME_ERROR;
  return p.*field;
}

// Null wins over invalid, as for the automation types these mirror.
template <class A, class B>
int CombinedStatus(const A& a, const B& b) {
  if (a.m_status == A::null || b.m_status == B::null) return 2;
  if (a.m_status == A::invalid || b.m_status == B::invalid) return 1;
  return 0;
}

// Half a second rounds away from zero, with the same slack as dates.
long long RoundedSeconds(double span) {
  auto magnitude = static_cast<long long>(std::floor(std::fabs(span) * 86400.0 + 0.5 + kHalfSecondSlack));
  return span < 0 ? -magnitude : magnitude;
}

}  // namespace

COleDateTime PASCAL COleDateTime::GetCurrentTime() { return COleDateTime(CTime::GetCurrentTime().GetTime()); }

COleDateTime::COleDateTime(time_t timeSrc) { *this = timeSrc; }
COleDateTime::COleDateTime(const SYSTEMTIME& systimeSrc) { *this = systimeSrc; }

COleDateTime::COleDateTime(const FILETIME& filetimeSrc) {
  long long ticks = (static_cast<long long>(filetimeSrc.dwHighDateTime) << 32) | filetimeSrc.dwLowDateTime;
  long long seconds = ticks / 10000000;  // since 1601-01-01
  long long unixDay = seconds / 86400 - 134774;
  long long rest = seconds % 86400;
  long long y;
  int m, d;
  CivilFromDays(unixDay, y, m, d);
  SetDateTime(static_cast<int>(y), m, d, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
              static_cast<int>(rest % 60));
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
  SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
  m_status = Encode(nYear, nMonth, nDay, nHour, nMin, nSec, m_dt) ? valid : invalid;
  return m_status;
}

int COleDateTime::GetYear() const { return Part(*this, &Parts::year); }
int COleDateTime::GetMonth() const { return Part(*this, &Parts::month); }
int COleDateTime::GetDay() const { return Part(*this, &Parts::day); }
int COleDateTime::GetHour() const { return Part(*this, &Parts::hour); }
int COleDateTime::GetMinute() const { return Part(*this, &Parts::minute); }
int COleDateTime::GetSecond() const { return Part(*this, &Parts::second); }
int COleDateTime::GetDayOfWeek() const { return Part(*this, &Parts::dayOfWeek); }
int COleDateTime::GetDayOfYear() const { return Part(*this, &Parts::dayOfYear); }

const COleDateTime& COleDateTime::operator=(DATE dtSrc) {
  m_dt = dtSrc;
  m_status = valid;
  return *this;
}

const COleDateTime& COleDateTime::operator=(time_t timeSrc) {
  std::tm t{};
  if (localtime_r(&timeSrc, &t) == nullptr)
    m_status = invalid;
  else
    SetDateTime(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return *this;
}

const COleDateTime& COleDateTime::operator=(const SYSTEMTIME& st) {
  SetDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
  return *this;
}

bool COleDateTime::operator==(const COleDateTime& date) const {
  return m_status == date.m_status && ToLinear(m_dt) == ToLinear(date.m_dt);
}

bool COleDateTime::operator<(const COleDateTime& date) const { return ToLinear(m_dt) < ToLinear(date.m_dt); }

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& dateSpan) const {
  COleDateTime result;
  result.m_status = static_cast<DateTimeStatus>(CombinedStatus(*this, dateSpan));
  if (result.m_status != valid) return result;
  result.m_dt = FromLinear(ToLinear(m_dt) + dateSpan.m_span);
  if (!InRange(result.m_dt)) result.m_status = invalid;
  return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& dateSpan) const { return *this + -dateSpan; }

const COleDateTime& COleDateTime::operator+=(const COleDateTimeSpan& dateSpan) { return *this = *this + dateSpan; }
const COleDateTime& COleDateTime::operator-=(const COleDateTimeSpan& dateSpan) { return *this = *this - dateSpan; }

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const {
  COleDateTimeSpan span;
  span.m_status = static_cast<COleDateTimeSpan::DateTimeSpanStatus>(CombinedStatus(*this, date));
  if (span.m_status == COleDateTimeSpan::valid) span.m_span = ToLinear(m_dt) - ToLinear(date.m_dt);
  return span;
}

CString COleDateTime::Format(LPCTSTR lpszFormat) const {
  if (m_status == null) return CString();
  Parts p;
  if (m_status != valid || !Decode(m_dt, p)) return CString("Invalid DateTime");
  std::tm t{};
  t.tm_year = p.year - 1900;
  t.tm_mon = p.month - 1;
  t.tm_mday = p.day;
  t.tm_hour = p.hour;
  t.tm_min = p.minute;
  t.tm_sec = p.second;
  t.tm_wday = p.dayOfWeek - 1;
  t.tm_yday = p.dayOfYear - 1;
  return CString(plat::afx::FormatTime(lpszFormat, t, "").c_str());
}

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) {
  m_span = lDays + nHours / 24.0 + nMins / (24.0 * 60) + nSecs / (24.0 * 60 * 60);
  m_status = valid;
}

LONG COleDateTimeSpan::GetDays() const { return static_cast<LONG>(RoundedSeconds(m_span) / 86400); }
LONG COleDateTimeSpan::GetHours() const { return static_cast<LONG>(RoundedSeconds(m_span) / 3600 % 24); }
LONG COleDateTimeSpan::GetMinutes() const { return static_cast<LONG>(RoundedSeconds(m_span) / 60 % 60); }
LONG COleDateTimeSpan::GetSeconds() const { return static_cast<LONG>(RoundedSeconds(m_span) % 60); }

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& other) const {
  COleDateTimeSpan result;
  result.m_status = static_cast<DateTimeSpanStatus>(CombinedStatus(*this, other));
  if (result.m_status == valid) result.m_span = m_span + other.m_span;
  return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& other) const { return *this + -other; }

COleDateTimeSpan COleDateTimeSpan::operator-() const {
  COleDateTimeSpan result(-m_span);
  result.m_status = m_status;
  return result;
}

CString COleDateTimeSpan::Format(LPCTSTR pFormat) const {
  if (m_status != valid) return CString();
  return CString(plat::afx::FormatSpan(pFormat, GetDays(), GetHours(), GetMinutes(), GetSeconds()).c_str());
}
