// The date/time control's field handlers, validation with range modes and clamping, and
// the popup calendar.
#include <algorithm>
#include <memory>

#include "SECCalendar.h"
#include "SECDateTimeCtrl.h"

namespace {

// Each handler's clamp levels: for steps and typed values, and for Home and End.
struct ClampLevels {
  int step;
  int ends;
};
constexpr ClampLevels kHourLevels{2, 3};
constexpr ClampLevels kMinuteLevels{1, 2};
constexpr ClampLevels kSecondLevels{0, 1};
constexpr ClampLevels kAmPmLevels{2, 2};
constexpr ClampLevels kDayLevels{3, 4};
constexpr ClampLevels kMonthLevels{4, 5};
constexpr ClampLevels kYearLevels{5, 5};

int LevelFor(const ClampLevels& levels, int nCode) {
  return nCode == SECDTGadget::CodeFirst || nCode == SECDTGadget::CodeLast ? levels.ends : levels.step;
}

// The step of codes 1 to 4: one for a key, the spin's step otherwise.
int StepOf(int nCode, int nData) {
  return nCode == SECDTGadget::CodeStepUp || nCode == SECDTGadget::CodeStepDown ? 1 : nData;
}

BOOL IsUp(int nCode) { return nCode == SECDTGadget::CodeStepUp || nCode == SECDTGadget::CodeSpinUp; }
BOOL IsDown(int nCode) { return nCode == SECDTGadget::CodeStepDown || nCode == SECDTGadget::CodeSpinDown; }
BOOL IsTyped(int nCode) { return nCode == SECDTGadget::CodeTest || nCode == SECDTGadget::CodeSet; }

BOOL Compose(const SECDateTimeCtrl::Parts& p, COleDateTime& out) {
  return out.SetDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second) == COleDateTime::valid;
}

// A day that the month lacks (30 February) is lowered, not below 28, until the date exists.
BOOL ComposeLowering(SECDateTimeCtrl::Parts& p, COleDateTime& out) {
  while (!Compose(p, out)) {
    if (p.day <= 28) return FALSE;
    --p.day;
  }
  return TRUE;
}

int DaysInMonth(int year, int month) {
  COleDateTime probe;
  for (int day = 31; day > 28; --day)
    if (probe.SetDate(year, month, day) == COleDateTime::valid) return day;
  return 28;
}

int TodayYear() { return COleDateTime::GetCurrentTime().GetYear(); }

}  // namespace

BOOL SECDateTimeCtrl::OnGadgetNotify(int nCode, int nID, int nData) {
  if (nCode == SECDTGadget::CodeTyping) {
    if (nData)
      m_nModified |= ModTyping;
    else
      m_nModified &= ~ModTyping;
    return TRUE;
  }
  if (nCode == SECDTGadget::CodeComplete && m_bAutoAdvance) {
    NextGadget();
    return TRUE;
  }
  if (nID == ButtonId) {
    PopupCalendar();
    return TRUE;
  }
  if (nID == SpinId) {
    // The spin steps the active field, after that field has taken what was typed.
    SECDTGadget* pActive = GetGadget(m_nActiveGadget);
    if (!pActive) return FALSE;
    pActive->OnCancelMode();
    if (pActive->GetID() == ButtonId || pActive->GetID() == SpinId) return FALSE;
    return OnGadgetNotify(nCode, pActive->GetID(), nData);
  }
  if (nID <= 0 || nID > Year4) return FALSE;
  if (m_partial.bPartial) return OnPartial(nCode, nID, nData);
  switch (nID) {
    case Hour12:
    case Hour24: return OnHour(nCode, nID, nData);
    case Minute:
    case Second: return OnMinuteOrSecond(nCode, nID, nData);
    case AmPm: return OnAmPm(nCode, nID, nData);
    case Day:
    case DayName: return OnDay(nCode, nID, nData);
    case Month:
    case MonthName: return OnMonth(nCode, nID, nData);
    case Year2:
    case Year4: return OnYear(nCode, nID, nData);
    default: return FALSE;
  }
}

BOOL SECDateTimeCtrl::Finish(COleDateTime& datetime, int nCode, int nClampLevel, int nModBit) {
  if (!Validate(datetime, nClampLevel)) return FALSE;
  if (nCode == SECDTGadget::CodeTest) return TRUE;
  if (!OnChanging(datetime)) return FALSE;
  Apply(datetime);
  m_nModified |= nModBit;
  OnChanged();
  if (m_hWnd) UpdateWindow();
  return TRUE;
}

BOOL SECDateTimeCtrl::OnHour(int nCode, int nID, int nData) {
  Parts p;
  if (!DecodeDateTime(m_datetime, p)) return FALSE;
  const int step = std::min(StepOf(nCode, nData), 2);
  if (IsUp(nCode)) {
    p.hour += step;
    if (p.hour > 23) p.hour = 0;
  } else if (IsDown(nCode)) {
    p.hour -= step;
    if (p.hour < 0) p.hour = 23;
  } else if (IsTyped(nCode)) {
    if (nID == Hour12) {
      if (nData < 1 || nData > 12) return FALSE;
      p.hour = nData % 12 + (m_bPM ? 12 : 0);
    } else {
      if (nData < 0 || nData > 23) return FALSE;
      p.hour = nData;
    }
  } else if (nCode == SECDTGadget::CodeFirst) {
    p.hour = 0;
  } else if (nCode == SECDTGadget::CodeLast) {
    p.hour = 23;
  } else if (nCode != SECDTGadget::CodeComplete) {
    return FALSE;
  }
  COleDateTime datetime;
  if (!Compose(p, datetime)) return FALSE;
  if (!Finish(datetime, nCode, LevelFor(kHourLevels, nCode), ModTime)) return FALSE;
  if (nCode != SECDTGadget::CodeTest) m_bPM = m_datetime.GetHour() > 11;
  return TRUE;
}

BOOL SECDateTimeCtrl::OnMinuteOrSecond(int nCode, int nID, int nData) {
  Parts p;
  if (!DecodeDateTime(m_datetime, p)) return FALSE;
  int& field = nID == Minute ? p.minute : p.second;
  const int step = std::min(StepOf(nCode, nData), 2);
  if (IsUp(nCode)) {
    field += step;
    if (field > 59) field = 0;
  } else if (IsDown(nCode)) {
    field -= step;
    if (field < 0) field = 59;
  } else if (IsTyped(nCode)) {
    if (nData < 0 || nData > 59) return FALSE;
    field = nData;
  } else if (nCode == SECDTGadget::CodeFirst) {
    field = 0;
  } else if (nCode == SECDTGadget::CodeLast) {
    field = 59;
  } else if (nCode != SECDTGadget::CodeComplete) {
    return FALSE;
  }
  COleDateTime datetime;
  if (!Compose(p, datetime)) return FALSE;
  return Finish(datetime, nCode, LevelFor(nID == Minute ? kMinuteLevels : kSecondLevels, nCode), ModTime);
}

BOOL SECDateTimeCtrl::OnAmPm(int nCode, int nID, int nData) {
  Parts p;
  if (!DecodeDateTime(m_datetime, p)) return FALSE;
  const BOOL bPM = p.hour >= 12;
  if (IsUp(nCode) || IsDown(nCode)) {
    p.hour += bPM ? -12 : 12;
  } else if (IsTyped(nCode)) {
    if (nData == 0) {
      if (bPM) p.hour -= 12;
    } else if (nData == 1) {
      if (!bPM) p.hour += 12;
    } else {
      return FALSE;
    }
  } else if (nCode == SECDTGadget::CodeFirst) {
    if (bPM) p.hour -= 12;
  } else if (nCode == SECDTGadget::CodeLast) {
    if (!bPM) p.hour += 12;
  } else if (nCode != SECDTGadget::CodeComplete) {
    return FALSE;
  }
  COleDateTime datetime;
  if (!Compose(p, datetime)) return FALSE;
  if (!Finish(datetime, nCode, LevelFor(kAmPmLevels, nCode), ModTime)) return FALSE;
  if (nCode != SECDTGadget::CodeTest) m_bPM = m_datetime.GetHour() > 11;
  return TRUE;
}

BOOL SECDateTimeCtrl::OnDay(int nCode, int nID, int nData) {
  Parts p;
  if (!DecodeDateTime(m_datetime, p)) return FALSE;
  const int step = std::min(StepOf(nCode, nData), 2);
  COleDateTime datetime;
  if (nID == DayName && (IsTyped(nCode) || nCode == SECDTGadget::CodeFirst || nCode == SECDTGadget::CodeLast)) {
    // A weekday moves the date within its Sunday-to-Saturday week.
    int weekday;
    if (IsTyped(nCode)) {
      if (nData < 0 || nData > 6) return FALSE;
      weekday = nData + 1;
    } else {
      weekday = nCode == SECDTGadget::CodeFirst ? 1 : 7;
    }
    datetime = m_datetime + COleDateTimeSpan(weekday - p.dayOfWeek, 0, 0, 0);
    Parts moved;
    if (!DecodeDateTime(datetime, moved)) return FALSE;
    datetime.SetStatus(COleDateTime::valid);
  } else {
    if (IsUp(nCode)) {
      p.day += step;
      if (p.day > DaysInMonth(p.year, p.month)) p.day = 1;
    } else if (IsDown(nCode)) {
      p.day -= step;
      if (p.day <= 0) p.day = 31;
    } else if (IsTyped(nCode)) {
      if (p.year < 100 || nData < 1 || nData > DaysInMonth(p.year, p.month)) return FALSE;
      p.day = nData;
    } else if (nCode == SECDTGadget::CodeFirst) {
      p.day = 1;
    } else if (nCode == SECDTGadget::CodeLast) {
      p.day = 31;
    } else if (nCode != SECDTGadget::CodeComplete) {
      return FALSE;
    }
    if (!ComposeLowering(p, datetime)) return FALSE;
  }
  return Finish(datetime, nCode, LevelFor(kDayLevels, nCode), ModDate);
}

BOOL SECDateTimeCtrl::OnMonth(int nCode, int nID, int nData) {
  Parts p;
  if (!DecodeDateTime(m_datetime, p)) return FALSE;
  if (IsUp(nCode)) {
    p.month = p.month == 12 ? 1 : p.month + 1;  // the spin's step is not used
  } else if (IsDown(nCode)) {
    p.month = p.month == 1 ? 12 : p.month - 1;
  } else if (IsTyped(nCode)) {
    const int month = nID == MonthName ? nData + 1 : nData;
    if (month < 1 || month > 12) return FALSE;
    p.month = month;
  } else if (nCode == SECDTGadget::CodeFirst) {
    p.month = 1;
  } else if (nCode == SECDTGadget::CodeLast) {
    p.month = 12;
  } else if (nCode != SECDTGadget::CodeComplete) {
    return FALSE;
  }
  COleDateTime datetime;
  if (!ComposeLowering(p, datetime)) return FALSE;
  return Finish(datetime, nCode, LevelFor(kMonthLevels, nCode), ModDate);
}

BOOL SECDateTimeCtrl::OnYear(int nCode, int nID, int nData) {
  Parts p;
  if (!DecodeDateTime(m_datetime, p)) return FALSE;
  const int step = StepOf(nCode, nData);
  if (IsUp(nCode)) {
    p.year += step;
    if (p.year > 9998) p.year = 9999;
  } else if (IsDown(nCode)) {
    p.year -= step;
    if (p.year <= 100) p.year = 100;
  } else if (IsTyped(nCode)) {
    if (nID == Year2) {
      if (nData < 0 || nData > 99) return FALSE;
      const int century = (GetStyle() & SEC_DTS_Y2K_KEEP) ? p.year / 100 * 100 : GetCentury(p.year, nData);
      p.year = century + nData;
    } else {
      if (nData < 0 || nData > 9999) return FALSE;
      p.year = nData;
    }
  } else if (nCode == SECDTGadget::CodeFirst) {
    p.year = m_dtMin.GetYear();
  } else if (nCode == SECDTGadget::CodeLast) {
    p.year = TodayYear();
  } else if (nCode != SECDTGadget::CodeComplete) {
    return FALSE;
  }
  COleDateTime datetime;
  if (!ComposeLowering(p, datetime)) return FALSE;
  return Finish(datetime, nCode, LevelFor(kYearLevels, nCode), ModDate);
}

BOOL SECDateTimeCtrl::FinishDate(int nCode, int nID) {
  Parts p;
  if (!DecodeDateTime(m_datetime, p)) return FALSE;
  COleDateTime datetime;
  if (!ComposeLowering(p, datetime)) return FALSE;
  const ClampLevels& levels = nID == Day || nID == DayName ? kDayLevels
                              : nID == Month || nID == MonthName ? kMonthLevels
                                                                  : kYearLevels;
  return Finish(datetime, nCode, LevelFor(levels, nCode), ModDate);
}

int SECDateTimeCtrl::SystemYear() const {
  SYSTEMTIME now;
  ::GetSystemTime(&now);
  return now.wYear;
}

int SECDateTimeCtrl::GetCentury(int nCurrentYear, int nTypedYear) {
  // An empty year (-1) takes the system year even when the value's year is asked for.
  const int reference = (GetStyle() & SEC_DTS_Y2K_NEAREST) && nCurrentYear != -1 ? nCurrentYear : SystemYear();
  return (reference - nTypedYear + 50) / 100 * 100;
}

// ---- range modes

namespace {

// The value that a range mode compares with the limits; FALSE for modes without one.
BOOL ComparedValue(int nMode, const SECDateTimeCtrl::Parts& p, COleDateTime& out) {
  switch (nMode) {
    case SECDateTimeCtrl::TimeOfDay: return out.SetDateTime(1899, 12, 30, p.hour, p.minute, p.second) == 0;
    case SECDateTimeCtrl::DateOnly: return out.SetDateTime(p.year, p.month, p.day, 0, 0, 0) == 0;
    case SECDateTimeCtrl::DateAndTime: return out.SetDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second) == 0;
    default: return FALSE;
  }
}

}  // namespace

BOOL SECDateTimeCtrl::IsValidDateTime(const COleDateTime& datetime) const {
  Parts p;
  if (datetime.GetStatus() != COleDateTime::valid || !DecodeDateTime(datetime, p)) return FALSE;
  if (m_nRangeMode == NoRange) return TRUE;
  COleDateTime compared;
  if (!ComparedValue(m_nRangeMode, p, compared)) return FALSE;
  return compared >= m_dtMin && compared <= m_dtMax;
}

BOOL SECDateTimeCtrl::Validate(COleDateTime& datetime, int nClampLevel) {
  Parts p;
  if (!InWindow(datetime) || !DecodeDateTime(datetime, p)) return FALSE;
  if (m_nRangeMode == NoRange) return TRUE;
  COleDateTime compared;
  if (!ComparedValue(m_nRangeMode, p, compared)) return FALSE;
  if (compared >= m_dtMin && compared <= m_dtMax) return TRUE;
  if (nClampLevel == 0) return FALSE;
  Parts limit;
  if (!DecodeDateTime(compared < m_dtMin ? m_dtMin : m_dtMax, limit)) return FALSE;
  // Fields from the second up: a level takes the fields below it from the crossed limit
  // and needs the ones from it up to equal the limit's; -1 takes them all.
  int* own[] = {&p.second, &p.minute, &p.hour, &p.day, &p.month, &p.year};
  const int lim[] = {limit.second, limit.minute, limit.hour, limit.day, limit.month, limit.year};
  int taken = 0;
  if (nClampLevel >= 1 && nClampLevel <= 5) taken = nClampLevel;
  if (nClampLevel == -1) taken = 6;
  const BOOL bChecked = (nClampLevel >= 1 && nClampLevel <= 5) || nClampLevel == -1;
  for (int i = taken; bChecked && i < 6; ++i)
    if (*own[i] != lim[i]) return FALSE;
  for (int i = 0; i < taken; ++i) *own[i] = lim[i];
  datetime.SetDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second);
  return IsValidDateTime(datetime);
}

// ---- popup calendar

SECPopupCalendar* SECDateTimeCtrl::CreatePopupCalendar() { return new SECPopupCalendar; }

void SECDateTimeCtrl::PopupCalendar() {
  if (m_pPopupCalendar || !m_hWnd) return;
  if (SECDTGadget* pActive = GetGadget(m_nActiveGadget)) pActive->OnCancelMode();
  SECPopupCalendar* pCalendar = CreatePopupCalendar();
  if (!pCalendar) return;
  m_pPopupCalendar.reset(pCalendar);
  pCalendar->SetCloseMode(2);  // losing activation cancels
  pCalendar->SetStyle(pCalendar->GetStyle() | SEC_CS_SELECTOUTOFMONTH | SEC_CS_DRAGSELECT);
  pCalendar->SetOutOfMonthStyle(pCalendar->GetOutOfMonthStyle() | SEC_PDS_GREYOUTOFMONTH | SEC_PDS_BEVELSELECTED);
  COleDateTime shown = m_datetime;
  if (m_partial.bPartial) {
    // Today stands in for each part still empty; a date that does not exist gives today.
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    const int year = IsPartShownEmpty(PartYear) ? today.wYear : m_partial.nYear;
    const int month = IsPartShownEmpty(PartMonth) ? today.wMonth : m_partial.nMonth;
    const int day = IsPartShownEmpty(PartDay) ? today.wDay : m_partial.nDay;
    if (shown.SetDate(year, month, day) != COleDateTime::valid) shown.SetDate(today.wYear, today.wMonth, today.wDay);
  }
  pCalendar->SetDate(shown, FALSE);
  pCalendar->SelectDate(shown, TRUE);
  CRect rect;
  GetWindowRect(&rect);
  if (!pCalendar->CreatePopup(0x90040001, rect, this)) m_pPopupCalendar.reset();
}

LRESULT SECDateTimeCtrl::OnCalendarResult(WPARAM, LPARAM) {
  // A result can arrive after its calendar is gone (a second close posted while the
  // popup was being destroyed); it is ignored. The calendar is held here while the
  // choice is applied, so it goes even if the parent's EN_CHANGE handler ends the control.
  const std::unique_ptr<SECCalendar> calendar = std::move(m_pPopupCalendar);
  if (!calendar) return 0;
  const COleDateTime chosen = calendar->GetSelectedDate();
  if (m_partial.bPartial)
    OnPartialCalendarOK(chosen);
  else
    OnCalendarOK(chosen);
  return 0;
}

LRESULT SECDateTimeCtrl::OnCalendarCancel(WPARAM, LPARAM) {
  m_pPopupCalendar.reset();
  return 0;
}

void SECDateTimeCtrl::OnCalendarOK(const COleDateTime& chosen) {
  if ((m_nFixedFields & (FixYear | FixMonth | FixDay)) == (FixYear | FixMonth | FixDay)) return;
  Parts c, v;
  if (chosen.GetStatus() != COleDateTime::valid || !DecodeDateTime(chosen, c) || !DecodeDateTime(m_datetime, v))
    return;
  // Fixed parts keep the value's; the time of day is the value's.
  const int year = (m_nFixedFields & FixYear) ? v.year : c.year;
  const int month = (m_nFixedFields & FixMonth) ? v.month : c.month;
  const int day = (m_nFixedFields & FixDay) ? v.day : c.day;
  COleDateTime datetime;
  if (datetime.SetDateTime(year, month, day, v.hour, v.minute, v.second) != COleDateTime::valid) return;
  if (datetime == m_datetime || !IsValidDateTime(datetime) || !OnChanging(datetime)) return;
  m_nModified |= ModDate;
  Apply(datetime);
  OnChanged();
}
