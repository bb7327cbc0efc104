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
// The user tools editor's pickers: the program's title and filter, the folder's title.
#define IDS_SEC_SELECT_PROGRAM 20680
#define IDS_SEC_PROGRAM_FILTER 20681
#define IDS_SEC_SELECT_INITIAL_DIR 20682

// Docking and the bars' gripper.
#define IDS_SEC_PREVENT_DOCKING 20535  // the status text while a bar is dragged
#define IDS_SEC_HIDE_DOCKED 20655      // tooltips of the gripper's buttons
#define IDS_SEC_EXPAND_DOCKED 20657
#define IDS_SEC_CONTRACT_DOCKED 20658
#define ID_SEC_ALLOW_DOCKING 43040     // the bar's right-click menu
#define ID_SEC_HIDE 43041
#define ID_SEC_FLOAT_IN_MAIN 43042
// The MDI child that holds a bar floated inside the main window: its title and icon.
#define IDR_SEC_CONTROLBAR_CHILD 20514

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

// The toolbar dialogs: the list of toolbars (a dialog and a customise page) and the
// name of a new toolbar.
#define IDD_SEC_TOOLBARLIST 20510
#define IDD_SEC_NEWTOOLBAR 20511
#define IDD_SEC_TOOLBARLIST_PAGE 20513
#define IDS_SEC_RESET 20536            // the reset button of a built-in toolbar
#define IDS_SEC_DELETE 20537           // and of a user toolbar
#define IDC_SEC_TOOLBAR_LIST 43094     // check list of the bars
#define IDC_SEC_NEW_TOOLBAR_NAME 43096
#define IDC_SEC_TOOLBAR_NAME_LABEL 43097
#define IDC_SEC_TOOLBAR_NEW 43098
#define IDC_SEC_TOOLBAR_CUSTOMIZE 43099
#define IDC_SEC_TOOLBAR_RESET 43100
#define IDC_SEC_TOOLTIPS 43101
#define IDC_SEC_TOOLBAR_NAME 43102
#define IDC_SEC_LARGE_BUTTONS 43103
#define IDC_SEC_COOL_LOOK 43104

// The splitter cursors of the sizing dock bar: vertical splitters (bars side by side)
// and horizontal ones (between rows).
#define IDC_SEC_SPLITTER_VERT 30980
#define IDC_SEC_SPLITTER_HORZ 30981

// The text of a floating frame's close item.
#define IDS_SEC_SCCLOSE 0xF011
