// Ids of the docking framework tests' resources and bars.
#pragma once

#define IDD_TEST_DIALOGBAR 300
#define IDC_TEST_DLG_EDIT 301
#define IDC_TEST_DLG_BUTTON 302
#define IDR_TEST_FRAME 310

#define ID_TEST_BAR_A 0x101
#define ID_TEST_BAR_B 0x102
#define ID_TEST_BAR_C 0x103
#define ID_TEST_BAR_D 0x104
#define ID_TEST_DIALOGBAR 0x106

#define IDD_TEST_CONTROLBAR 320
#define IDC_TEST_CONTROL 321
#define ID_TEST_CONTROLBAR 0x109
#define IDR_TEST_SHEET 330
#define IDI_TEST_BAR 331
