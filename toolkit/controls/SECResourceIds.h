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

// Docking and the bars' gripper.
#define IDS_SEC_PREVENT_DOCKING 20535  // the status text while a bar is dragged
#define IDS_SEC_HIDE_DOCKED 20655      // tooltips of the gripper's buttons
#define IDS_SEC_EXPAND_DOCKED 20657
#define IDS_SEC_CONTRACT_DOCKED 20658
#define ID_SEC_ALLOW_DOCKING 43040     // the bar's right-click menu
#define ID_SEC_HIDE 43041
#define ID_SEC_FLOAT_IN_MAIN 43042

// The month calendar's title buttons send these commands to the calendar.
#define ID_SEC_CAL_NEXTMONTH 20520
#define ID_SEC_CAL_PREVYEAR 20521
#define ID_SEC_CAL_NEXTYEAR 20522
#define ID_SEC_CAL_PREVMONTH 20523

// The date/time control's drop-down arrow, in the system greys.
#define IDB_SEC_DTDROPDOWN 23000

// The colour grid's custom-colour button.
#define IDS_SEC_OTHER_COLOR 23100

// User toolbars are titled from this format and their number.
#define IDS_SEC_TOOLBAR_TITLE 20674

// The cursor of a button drag that copies.
#define IDC_SEC_COPYDROP 20691

// The splitter cursors of the sizing dock bar: vertical splitters (bars side by side)
// and horizontal ones (between rows).
#define IDC_SEC_SPLITTER_VERT 30980
#define IDC_SEC_SPLITTER_HORZ 30981

// The text of a floating frame's close item.
#define IDS_SEC_SCCLOSE 0xF011
