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

// Toolbars: 16 x 15 images in toolbar.bmp (six), toolbar2.bmp (three), short.bmp (two,
// for a resource that lists four).
#define IDR_TEST_TOOLBAR 500
#define IDR_TEST_TOOLBAR2 501
#define IDR_TEST_SHORT 502
#define IDR_TEST_SEPARATORS 503  // separators and a repeated id
#define IDR_TEST_DAMAGED 504     // promises more items than it holds
#define ID_TEST_CMD_A 40001
#define ID_TEST_CMD_B 40002
#define ID_TEST_CMD_C 40003
#define ID_TEST_CMD_D 40004
#define ID_TEST_CMD_E 40005
#define ID_TEST_CMD_F 40006
#define ID_TEST_CMD_G 40007
#define ID_TEST_CMD_H 40008
#define ID_TEST_CMD_NOIMAGE 40099

#define IDD_TEST_DATETIME 400
#define IDC_TEST_DT_BEFORE 4001
#define IDC_TEST_DT_FIELD 1004  // the item the date/time control takes the place of
#define IDC_TEST_DT_AFTER 4002

// Colour controls: a dialog with a well button and a menu button between two plain ones.
#define IDD_TEST_COLORS 700
#define IDC_TEST_COLOR_BEFORE 7001
#define IDC_TEST_COLOR_WELL 7002
#define IDC_TEST_COLOR_MENU 7003
#define IDC_TEST_COLOR_AFTER 7004
#define IDC_TEST_COLOR_GRID 7005
#define IDR_TEST_COLOR_MENU 701
