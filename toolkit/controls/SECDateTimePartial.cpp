// The partial-date mode: the fields start empty and show placeholders, edits go into the
// partial-date record, and the control takes a value once every shown part is filled.
#include <algorithm>

#include "SECCalendar.h"
#include "SECDateTimeCtrl.h"

namespace {

// The part of the record that a field shows.
int PartOf(int nID) {
  switch (nID) {
    case SECDateTimeCtrl::Hour12:
    case SECDateTimeCtrl::Hour24:
    case SECDateTimeCtrl::AmPm: return SECDateTimeCtrl::PartHour;
    case SECDateTimeCtrl::Minute: return SECDateTimeCtrl::PartMinute;
    case SECDateTimeCtrl::Second: return SECDateTimeCtrl::PartSecond;
    case SECDateTimeCtrl::Year2:
    case SECDateTimeCtrl::Year4: return SECDateTimeCtrl::PartYear;
    case SECDateTimeCtrl::Month:
    case SECDateTimeCtrl::MonthName: return SECDateTimeCtrl::PartMonth;
    case SECDateTimeCtrl::Day: return SECDateTimeCtrl::PartDay;
    case SECDateTimeCtrl::DayName: return SECDateTimeCtrl::PartDayOfWeek;
    default: return 0;
  }
}

const int* NumberOf(const SECDateTimeCtrl::PartialDate& r, int nPart) {
  switch (nPart) {
    case SECDateTimeCtrl::PartHour: return &r.nHour;
    case SECDateTimeCtrl::PartMinute: return &r.nMinute;
    case SECDateTimeCtrl::PartSecond: return &r.nSecond;
    case SECDateTimeCtrl::PartYear: return &r.nYear;
    case SECDateTimeCtrl::PartMonth: return &r.nMonth;
    case SECDateTimeCtrl::PartDay: return &r.nDay;
    case SECDateTimeCtrl::PartDayOfWeek: return &r.nDayOfWeek;
    default: return nullptr;
  }
}

int* NumberOf(SECDateTimeCtrl::PartialDate& r, int nPart) {
  return const_cast<int*>(NumberOf(static_cast<const SECDateTimeCtrl::PartialDate&>(r), nPart));
}

BOOL IsUp(int nCode) { return nCode == SECDTGadget::CodeStepUp || nCode == SECDTGadget::CodeSpinUp; }
BOOL IsDown(int nCode) { return nCode == SECDTGadget::CodeStepDown || nCode == SECDTGadget::CodeSpinDown; }
BOOL IsTyped(int nCode) { return nCode == SECDTGadget::CodeTest || nCode == SECDTGadget::CodeSet; }

}  // namespace

WORD SECDateTimeCtrl::CalcPresentFields() const {
  WORD present = 0;
  for (int i = 0; i < GetGadgetCount(); ++i) present |= static_cast<WORD>(PartOf(GetGadget(i)->GetID()));
  return present;
}

BOOL SECDateTimeCtrl::IsPartShownEmpty(int nPart) const {
  const int* pNumber = NumberOf(m_partial, nPart);
  return ((m_partial.wPresent & nPart) && (m_partial.wEmpty & nPart)) || !pNumber || *pNumber == -1;
}

void SECDateTimeCtrl::RefreshPartialFields(int nMask) {
  for (int i = 0; i < GetGadgetCount(); ++i) {
    SECDTGadget* pGadget = GetGadget(i);
    const int id = pGadget->GetID();
    if (id <= 0 || id > Year4 || !(id & nMask)) continue;
    const int part = PartOf(id);
    if (IsPartShownEmpty(part)) {
      pGadget->SetStyle(pGadget->GetStyle() | SECDTGadget::IsEmpty);
      if (id == Hour24) m_bPM = 0;
      InvalidateGadget(pGadget, FALSE);
      continue;
    }
    const int number = *NumberOf(m_partial, part);
    int value = number;
    switch (id) {
      case Hour12: value = number % 12 == 0 ? 12 : number % 12; m_bPM = number > 11; break;
      case Hour24: m_bPM = number > 11; break;
      case AmPm: value = number >= 12 ? 1 : 0; break;
      case DayName:
      case MonthName: value = number - 1; break;
      case Year2: value = number % 100; break;
      default: break;
    }
    pGadget->SetStyle(pGadget->GetStyle() & ~SECDTGadget::IsEmpty);
    pGadget->SetValue(value);
    InvalidateGadget(pGadget, FALSE);
  }
}

BOOL SECDateTimeCtrl::OnPartial(int nCode, int nID, int nData) {
  const int part = PartOf(nID);
  int* pNumber = NumberOf(m_partial, part);
  if (!pNumber) return FALSE;
  const int current = IsPartShownEmpty(part) ? -1 : *pNumber;
  const BOOL bStep = IsUp(nCode) || IsDown(nCode);
  const int step = nCode == SECDTGadget::CodeStepUp || nCode == SECDTGadget::CodeStepDown ? 1 : nData;
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  int number = current;
  int refresh = nID;
  int modBit = ModDate;

  switch (nID) {
    case Hour12:
    case Hour24:
    case Minute:
    case Second: {
      const int top = nID == Hour12 || nID == Hour24 ? 23 : 59;
      modBit = ModTime;
      if (current < 0 && bStep) {
        number = nID == Minute ? now.wMinute : nID == Second ? now.wSecond : now.wHour;
      } else if (IsUp(nCode)) {
        number = current + std::min(step, 2);
        if (number > top) number = 0;
      } else if (IsDown(nCode)) {
        number = current - std::min(step, 2);
        if (number < 0) number = top;
      } else if (IsTyped(nCode)) {
        if (nID == Hour12) {
          if (nData < 1 || nData > 12) return FALSE;
          number = nData % 12 + (m_bPM ? 12 : 0);
        } else {
          if (nData < 0 || nData > top) return FALSE;
          number = nData;
        }
      } else if (nCode == SECDTGadget::CodeFirst) {
        number = 0;
      } else if (nCode == SECDTGadget::CodeLast) {
        number = top;
      } else if (nCode != SECDTGadget::CodeComplete) {
        return FALSE;
      }
      if (part == PartHour) refresh = Hour12 | Hour24 | AmPm;
      break;
    }
    case AmPm: {
      modBit = ModTime;
      refresh = Hour12 | Hour24 | AmPm;
      if (bStep) {
        number = current < 0 ? 0 : current < 12 ? current + 12 : current - 12;
      } else if (IsTyped(nCode)) {
        if (nData != 0 && nData != 1) return FALSE;
        if (current < 0)
          number = nData ? 12 : 0;
        else
          number = nData ? (current < 12 ? current + 12 : current) : (current >= 12 ? current - 12 : current);
      } else if (nCode == SECDTGadget::CodeFirst) {
        if (current >= 0 && current < 12) return TRUE;
        number = current < 0 ? 0 : current - 12;
      } else if (nCode == SECDTGadget::CodeLast) {
        if (current >= 12) return TRUE;
        number = current < 0 ? 23 : current + 12;
      } else if (nCode != SECDTGadget::CodeComplete) {
        return FALSE;
      }
      break;
    }
    case Day:
    case DayName: {
      const int top = nID == Day ? 31 : 7;
      if (current < 0 && bStep) {
        number = nID == Day ? now.wDay : now.wDayOfWeek + 1;
      } else if (IsUp(nCode)) {
        number = current + std::min(step, 2);
        if (number > top) number -= top;
      } else if (IsDown(nCode)) {
        number = current - std::min(step, 2);
        if (number < 1) number += top;
      } else if (IsTyped(nCode)) {
        number = nID == Day ? nData : nData + 1;
        if (number < 1 || number > top) return FALSE;
      } else if (nCode == SECDTGadget::CodeFirst) {
        number = 1;
      } else if (nCode == SECDTGadget::CodeLast) {
        number = top;
      } else if (nCode != SECDTGadget::CodeComplete) {
        return FALSE;
      }
      break;
    }
    case Month:
    case MonthName: {
      refresh = Month | MonthName;
      if (current < 0 && bStep) {
        number = now.wMonth;
      } else if (IsUp(nCode)) {
        number = current == 12 ? 1 : current + 1;
      } else if (IsDown(nCode)) {
        number = current == 1 ? 12 : current - 1;
      } else if (IsTyped(nCode)) {
        number = nID == MonthName ? nData + 1 : nData;
        if (number < 1 || number > 12) return FALSE;
      } else if (nCode == SECDTGadget::CodeFirst) {
        number = 1;
      } else if (nCode == SECDTGadget::CodeLast) {
        number = 12;
      } else if (nCode != SECDTGadget::CodeComplete) {
        return FALSE;
      }
      break;
    }
    case Year2:
    case Year4: {
      refresh = Year2 | Year4;
      if (current < 0 && bStep) {
        number = now.wYear;
      } else if (IsUp(nCode)) {
        number = current + step;
        if (number >= 9999) number = 9999;
      } else if (IsDown(nCode)) {
        number = current - step;
        if (number <= 100) number = 100;
      } else if (IsTyped(nCode)) {
        if (nID == Year2) {
          if (nData < 0 || nData > 99) return FALSE;
          int century;
          if (GetStyle() & SEC_DTS_Y2K_KEEP)
            century = (current >= 0 ? current : SystemYear()) / 100 * 100;
          else
            century = GetCentury(current, nData);
          number = century + nData;
        } else {
          if (nData < 0 || nData > 9999) return FALSE;
          number = nData;
        }
      } else if (nCode == SECDTGadget::CodeFirst) {
        number = m_dtMin.GetYear();
      } else if (nCode == SECDTGadget::CodeLast) {
        number = COleDateTime::GetCurrentTime().GetYear();
      } else if (nCode != SECDTGadget::CodeComplete) {
        return FALSE;
      }
      if (number > m_dtMax.GetYear() || number < m_dtMin.GetYear()) return FALSE;
      break;
    }
    default: return FALSE;
  }
  if (number < 0) return TRUE;  // code 11 on a part that has no number: nothing to store again

  *pNumber = number;
  m_partial.wEmpty &= static_cast<WORD>(~part);
  if (nID == Day || nID == DayName) {
    // The day and the weekday store each other again when the other has a number.
    const int other = nID == Day ? PartDayOfWeek : PartDay;
    if (!IsPartShownEmpty(other)) {
      m_partial.wEmpty &= static_cast<WORD>(~other);
      refresh |= nID == Day ? DayName : Day;
    }
  }
  if (nID == AmPm) m_bPM = number > 11;
  RefreshFields(refresh);
  m_nModified |= modBit;
  CompletePartialDate();
  const BOOL bDatePart = nID == Day || nID == DayName || nID == Month || nID == MonthName || nID == Year2 || nID == Year4;
  if (bDatePart && !m_partial.bPartial) return FinishDate(nCode, nID);
  if (m_hWnd) UpdateWindow();
  return TRUE;
}

void SECDateTimeCtrl::CompletePartialDate() {
  const WORD present = m_partial.wPresent & static_cast<WORD>(~PartDayOfWeek);
  for (int part = PartHour; part <= PartDay; part <<= 1)
    if ((present & part) && IsPartShownEmpty(part)) return;
  COleDateTime datetime;
  datetime.SetDateTime(m_partial.nYear, m_partial.nMonth, m_partial.nDay, m_partial.nHour, m_partial.nMinute,
                       m_partial.nSecond);
  if (datetime.GetStatus() != COleDateTime::valid || !IsValidDateTime(datetime)) {
    m_datetime.SetStatus(COleDateTime::invalid);
    return;
  }
  if (!OnChanging(datetime)) return;
  m_datetime = datetime;
  m_partial.bPartial = 0;
  OnChanged();
  RefreshFields(0xFFFF);
}

void SECDateTimeCtrl::OnPartialCalendarOK(const COleDateTime& chosen) {
  if (!IsValidDateTime(chosen) || !OnChanging(chosen)) return;
  m_partial.nYear = chosen.GetYear();
  m_partial.nMonth = chosen.GetMonth();
  m_partial.nDay = chosen.GetDay();
  m_partial.wEmpty &= static_cast<WORD>(~(PartYear | PartMonth | PartDay));
  RefreshFields(Day | DayName | Month | MonthName | Year2 | Year4);
  m_nModified |= ModDate;
  CompletePartialDate();
  OnChanged();
}
