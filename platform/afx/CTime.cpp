#include "CTime.h"

#include "CArchive.h"
#include "Clock.h"
#include "TimeFormat.h"

namespace {

// 100-nanosecond steps between 1601-01-01 and 1970-01-01.
constexpr long long kFileTimeEpoch = 116444736000000000LL;

time_t FromLocalParts(int year, int month, int day, int hour, int minute, int second, int dst) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = dst < 0 ? -1 : (dst > 0 ? 1 : 0);
  return std::mktime(&t);
}

std::tm Local(time_t time) {
  std::tm t{};
  if (localtime_r(&time, &t) == nullptr) t = std::tm{};
  return t;
}

std::tm* Fill(std::tm* ptm, const std::tm& value) {
  thread_local std::tm shared;
  std::tm* out = ptm ? ptm : &shared;
  *out = value;
  return out;
}

}  // namespace

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
    : m_timeSpan(nSecs + 60LL * (nMins + 60LL * (nHours + 24LL * lDays))) {}

CString CTimeSpan::Format(LPCTSTR pFormat) const {
  return CString(plat::afx::FormatSpan(pFormat, GetDays(), GetHours(), GetMinutes(), GetSeconds()).c_str());
}

CTime PASCAL CTime::GetCurrentTime() {
  long long micros = plat::clock::WallMicros();
  long long seconds = micros / 1000000;
  if (micros % 1000000 < 0) --seconds;
  return CTime(static_cast<time_t>(seconds));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
    : m_time(FromLocalParts(nYear, nMonth, nDay, nHour, nMin, nSec, nDST)) {}

CTime::CTime(WORD wDosDate, WORD wDosTime, int nDST)
    : m_time(FromLocalParts((wDosDate >> 9) + 1980, (wDosDate >> 5) & 0xF, wDosDate & 0x1F, wDosTime >> 11,
                            (wDosTime >> 5) & 0x3F, (wDosTime & 0x1F) * 2, nDST)) {}

CTime::CTime(const SYSTEMTIME& sysTime, int nDST)
    : m_time(FromLocalParts(sysTime.wYear, sysTime.wMonth, sysTime.wDay, sysTime.wHour, sysTime.wMinute,
                            sysTime.wSecond, nDST)) {}

CTime::CTime(const FILETIME& fileTime, int nDST) {
  long long ticks = (static_cast<long long>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
  long long delta = ticks - kFileTimeEpoch;
  long long seconds = delta / 10000000;
  if (delta % 10000000 < 0) --seconds;
  m_time = static_cast<time_t>(seconds);
}

std::tm* CTime::GetGmtTm(std::tm* ptm) const {
  std::tm t{};
  if (gmtime_r(&m_time, &t) == nullptr) t = std::tm{};
  return Fill(ptm, t);
}

std::tm* CTime::GetLocalTm(std::tm* ptm) const { return Fill(ptm, Local(m_time)); }

int CTime::GetYear() const { return Local(m_time).tm_year + 1900; }
int CTime::GetMonth() const { return Local(m_time).tm_mon + 1; }
int CTime::GetDay() const { return Local(m_time).tm_mday; }
int CTime::GetHour() const { return Local(m_time).tm_hour; }
int CTime::GetMinute() const { return Local(m_time).tm_min; }
int CTime::GetSecond() const { return Local(m_time).tm_sec; }
int CTime::GetDayOfWeek() const { return Local(m_time).tm_wday + 1; }

CString CTime::Format(LPCTSTR pFormat) const {
  std::tm t = Local(m_time);
  return CString(plat::afx::FormatTime(pFormat, t, t.tm_zone).c_str());
}

CString CTime::FormatGmt(LPCTSTR pFormat) const {
  std::tm t = *GetGmtTm(nullptr);
  return CString(plat::afx::FormatTime(pFormat, t, "UTC").c_str());
}

CArchive& operator<<(CArchive& ar, CTime time) { return ar << static_cast<DWORD>(time.GetTime()); }

CArchive& operator>>(CArchive& ar, CTime& rtime) {
  DWORD seconds = 0;
  ar >> seconds;
  rtime = CTime(static_cast<time_t>(seconds));
  return ar;
}
