// Names from the user's locale as the calendar and the date/time control number them:
// months 1 to 12, weekdays 1 (Sunday) to 7 (Saturday). The locale itself numbers its
// weekdays from Monday (LOCALE_SDAYNAME1) to Sunday (LOCALE_SDAYNAME7).
#pragma once
#include <afxwin.h>

// The locale's text of `type` (up to 256 bytes); empty when it has none.
CString SECLocaleText(LCTYPE type);
CString SECWeekdayName(int nDay, BOOL bLong);
CString SECMonthName(int nMonth, BOOL bLong);
