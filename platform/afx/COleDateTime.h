// Automation dates: a double count of days since 1899-12-30 00:00 with the time of day as
// its fraction, from 100-01-01 to 9999-12-31, plus a status. Before 1899-12-30 the whole
// part counts days back and the fraction still runs forward through that day, so -1.25 is
// 1899-12-29 06:00. Parts are read rounded to the nearest second, half a second up.
#pragma once
#include <ctime>

#include "CString.h"
#include "WinTypes.h"

typedef double DATE;

#define AFX_OLE_DATETIME_ERROR (-1)

class COleDateTimeSpan;

class COleDateTime {
 public:
  enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

  static COleDateTime PASCAL GetCurrentTime();  // local time, whole seconds

  COleDateTime() = default;
  COleDateTime(DATE dtSrc) : m_dt(dtSrc) {}
  COleDateTime(time_t timeSrc);  // shown in local time
  COleDateTime(const SYSTEMTIME& systimeSrc);
  COleDateTime(const FILETIME& filetimeSrc);  // taken as it stands (UTC)
  COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);

  DateTimeStatus GetStatus() const { return m_status; }
  void SetStatus(DateTimeStatus status) { m_status = status; }
  operator DATE() const { return m_dt; }

  // Each returns the new status: 0 (valid), or 1 (invalid: a part out of range, the
  // day count left as it was).
  int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
  int SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }
  int SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

  // AFX_OLE_DATETIME_ERROR unless the status is valid and the value lies in range.
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday
  int GetDayOfYear() const;  // 1 = 1 January

  const COleDateTime& operator=(DATE dtSrc);
  const COleDateTime& operator=(time_t timeSrc);
  const COleDateTime& operator=(const SYSTEMTIME& systimeSrc);

  // Compared and shifted along the time line, so dates before 1899-12-30 order correctly.
  bool operator==(const COleDateTime& date) const;
  bool operator!=(const COleDateTime& date) const { return !(*this == date); }
  bool operator<(const COleDateTime& date) const;
  bool operator>(const COleDateTime& date) const { return date < *this; }
  bool operator<=(const COleDateTime& date) const { return !(date < *this); }
  bool operator>=(const COleDateTime& date) const { return !(*this < date); }

  COleDateTime operator+(const COleDateTimeSpan& dateSpan) const;
  COleDateTime operator-(const COleDateTimeSpan& dateSpan) const;
  const COleDateTime& operator+=(const COleDateTimeSpan& dateSpan);
  const COleDateTime& operator-=(const COleDateTimeSpan& dateSpan);
  COleDateTimeSpan operator-(const COleDateTime& date) const;

  // strftime codes (see TimeFormat.h); "Invalid DateTime" when invalid, empty when null.
  CString Format(LPCTSTR lpszFormat) const;

  DATE m_dt = 0;
  DateTimeStatus m_status = valid;
};

class COleDateTimeSpan {
 public:
  enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

  COleDateTimeSpan() = default;
  COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc) {}
  COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) { SetDateTimeSpan(lDays, nHours, nMins, nSecs); }

  DateTimeSpanStatus GetStatus() const { return m_status; }
  void SetStatus(DateTimeSpanStatus status) { m_status = status; }
  void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);
  operator double() const { return m_span; }

  double GetTotalDays() const { return m_span; }
  double GetTotalHours() const { return m_span * 24; }
  double GetTotalMinutes() const { return m_span * 24 * 60; }
  double GetTotalSeconds() const { return m_span * 24 * 60 * 60; }
  // Parts of the span rounded to the nearest second; negative spans give negative parts.
  LONG GetDays() const;
  LONG GetHours() const;
  LONG GetMinutes() const;
  LONG GetSeconds() const;

  bool operator==(const COleDateTimeSpan& other) const { return m_span == other.m_span; }
  bool operator!=(const COleDateTimeSpan& other) const { return m_span != other.m_span; }
  bool operator<(const COleDateTimeSpan& other) const { return m_span < other.m_span; }
  bool operator>(const COleDateTimeSpan& other) const { return m_span > other.m_span; }
  bool operator<=(const COleDateTimeSpan& other) const { return m_span <= other.m_span; }
  bool operator>=(const COleDateTimeSpan& other) const { return m_span >= other.m_span; }

  COleDateTimeSpan operator+(const COleDateTimeSpan& other) const;
  COleDateTimeSpan operator-(const COleDateTimeSpan& other) const;
  const COleDateTimeSpan& operator+=(const COleDateTimeSpan& other) { return *this = *this + other; }
  const COleDateTimeSpan& operator-=(const COleDateTimeSpan& other) { return *this = *this - other; }
  COleDateTimeSpan operator-() const;

  // %D days, %H hours, %M minutes, %S seconds, %% a percent sign.
  CString Format(LPCTSTR pFormat) const;

  double m_span = 0;
  DateTimeSpanStatus m_status = valid;
};
