// An absolute time in whole seconds since 1970-01-01 UTC (64-bit), shown in the local
// time zone, and the span between two such times.
#pragma once
#include <compare>
#include <ctime>

#include "CString.h"
#include "WinTypes.h"

class CArchive;

class CTimeSpan {
 public:
  CTimeSpan() = default;
  CTimeSpan(time_t time) : m_timeSpan(time) {}
  CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

  LONG GetDays() const { return static_cast<LONG>(m_timeSpan / (24 * 3600)); }
  LONG GetTotalHours() const { return static_cast<LONG>(m_timeSpan / 3600); }
  int GetHours() const { return static_cast<int>(GetTotalHours() - GetDays() * 24); }
  LONG GetTotalMinutes() const { return static_cast<LONG>(m_timeSpan / 60); }
  int GetMinutes() const { return static_cast<int>(GetTotalMinutes() - GetTotalHours() * 60); }
  LONG GetTotalSeconds() const { return static_cast<LONG>(m_timeSpan); }
  int GetSeconds() const { return static_cast<int>(m_timeSpan - GetTotalMinutes() * 60LL); }
  time_t GetTimeSpan() const { return m_timeSpan; }

  CTimeSpan operator-(CTimeSpan other) const { return m_timeSpan - other.m_timeSpan; }
  CTimeSpan operator+(CTimeSpan other) const { return m_timeSpan + other.m_timeSpan; }
  const CTimeSpan& operator+=(CTimeSpan other) { m_timeSpan += other.m_timeSpan; return *this; }
  const CTimeSpan& operator-=(CTimeSpan other) { m_timeSpan -= other.m_timeSpan; return *this; }
  auto operator<=>(const CTimeSpan&) const = default;

  // %D days, %H hours, %M minutes, %S seconds, %% a percent sign.
  CString Format(LPCTSTR pFormat) const;

 private:
  time_t m_timeSpan = 0;
};

class CTime {
 public:
  static CTime PASCAL GetCurrentTime();

  CTime() = default;
  CTime(time_t time) : m_time(time) {}
  // Local time; nDST < 0 lets the time zone rules decide. Out-of-range parts carry over
  // (the 32nd of January is the 1st of February); a time that cannot be shown gives -1.
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
  CTime(WORD wDosDate, WORD wDosTime, int nDST = -1);
  CTime(const SYSTEMTIME& sysTime, int nDST = -1);  // local time
  CTime(const FILETIME& fileTime, int nDST = -1);   // UTC, as file times are

  std::tm* GetGmtTm(std::tm* ptm = nullptr) const;
  std::tm* GetLocalTm(std::tm* ptm = nullptr) const;
  time_t GetTime() const { return m_time; }
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday

  CTimeSpan operator-(CTime time) const { return m_time - time.m_time; }
  CTime operator-(CTimeSpan timeSpan) const { return m_time - timeSpan.GetTimeSpan(); }
  CTime operator+(CTimeSpan timeSpan) const { return m_time + timeSpan.GetTimeSpan(); }
  const CTime& operator+=(CTimeSpan timeSpan) { m_time += timeSpan.GetTimeSpan(); return *this; }
  const CTime& operator-=(CTimeSpan timeSpan) { m_time -= timeSpan.GetTimeSpan(); return *this; }
  auto operator<=>(const CTime&) const = default;

  // strftime codes of the run-time (see TimeFormat.h), in local time or in UTC.
  CString Format(LPCTSTR pFormat) const;
  CString FormatGmt(LPCTSTR pFormat) const;

 private:
  time_t m_time = 0;
};

// Archives keep a time as 32 unsigned bits of seconds since 1970, as stored files expect.
CArchive& operator<<(CArchive& ar, CTime time);
CArchive& operator>>(CArchive& ar, CTime& rtime);
