// Resource ids of the class library's own script (resources/toolkit/Toolkit.rc), which
// lies apart from the program's: strings and templates from 20500 to 21223 and from
// 43000 to 43100, and the folder picker's template 2000.
#pragma once

// The folder picker's old-style template (its items carry the file dialog's classic ids).
#define IDD_SEC_DIRSELECT 2000

#define IDS_SEC_NOCLOSE 20624          // the hidden file name that keeps the picker open
#define IDS_SEC_SELECT_DIRECTORY 20625
#define IDS_SEC_SELECT_FILE 20626
#define IDS_SEC_SPLASH_TITLE 20661
#define IDS_SEC_SPLASH_OWNER_TITLE 20662

// The month calendar's title buttons send these commands to the calendar.
#define ID_SEC_CAL_NEXTMONTH 20520
#define ID_SEC_CAL_PREVYEAR 20521
#define ID_SEC_CAL_NEXTYEAR 20522
#define ID_SEC_CAL_PREVMONTH 20523

// The date/time control's drop-down arrow, in the system greys.
#define IDB_SEC_DTDROPDOWN 23000
