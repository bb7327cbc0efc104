// Ids of the toolbar dialog tests' own resources (ToolbarDialogs.rc).
#pragma once

// Toolbars: 16 x 15 images of the toolkit tests' bitmaps.
#define IDR_TD_STANDARD 500  // A B | C D | E F
#define IDR_TD_DRAWING 501   // G B H
#define IDR_TD_MENU 502      // two buttons standing for the menu
#define ID_TD_CMD_A 40001
#define ID_TD_CMD_B 40002
#define ID_TD_CMD_C 40003
#define ID_TD_CMD_D 40004
#define ID_TD_CMD_E 40005
#define ID_TD_CMD_F 40006
#define ID_TD_CMD_G 40007
#define ID_TD_CMD_H 40008

// A page of the customise sheet that listens to the toolbar page.
#define IDD_TD_OTHER_PAGE 600
