#include "SECLocaleNames.h"

#include "SECAuxData.h"

CString SECLocaleText(LCTYPE type) {
  char buffer[256] = {};
  if (!::GetLocaleInfoA(secData.lcidUser, type, buffer, sizeof buffer)) return CString();
  return buffer;
}

CString SECWeekdayName(int nDay, BOOL bLong) {
  if (nDay < 1 || nDay > 7) return CString();
  const LCTYPE monday = bLong ? LOCALE_SDAYNAME1 : LOCALE_SABBREVDAYNAME1;
  return SECLocaleText(nDay == 1 ? monday + 6 : monday + static_cast<LCTYPE>(nDay - 2));
}

CString SECMonthName(int nMonth, BOOL bLong) {
  if (nMonth < 1 || nMonth > 12) return CString();
  return SECLocaleText((bLong ? LOCALE_SMONTHNAME1 : LOCALE_SABBREVMONTHNAME1) + static_cast<LCTYPE>(nMonth - 1));
}
