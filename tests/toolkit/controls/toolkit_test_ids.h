// Ids of the toolkit tests' own resources (ToolkitTest.rc).
#pragma once

#define IDD_TEST_BROWSE 100
#define IDC_TEST_DIR_EDIT 1001
#define IDC_TEST_DISABLED_EDIT 1002
#define IDC_TEST_FILE_EDIT 1003
#define IDC_TEST_TAKEN 0x7FFF

#define IDD_TEST_BUTTONS 200
#define IDC_TEST_BUTTON_FIRST 2001  // 2001-2005: the five placements
#define IDC_TEST_BUTTON_NORMAL 2006
#define IDC_TEST_BUTTON_PRESSED 2007
#define IDC_TEST_BUTTON_DISABLED 2008

#define IDB_TEST_SPLASH 300
#define IDB_TEST_FACE 301
#define IDB_TEST_BUSY 302
#define IDB_TEST_TRUE 303

#define IDD_TEST_DATETIME 400
#define IDC_TEST_DT_BEFORE 4001
#define IDC_TEST_DT_FIELD 1004  // the item the date/time control takes the place of
#define IDC_TEST_DT_AFTER 4002
