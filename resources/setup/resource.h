// Resource ids of the setup launcher, shared by its resource script and its code.
#pragma once

#define IDM_ABOUTBOX 0x0010  // system-menu command; its low four bits stay free for Windows
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_SETUP_DIALOG 102
#define IDR_MAINFRAME 128
#define IDC_BUTTON_OK 1000
#define IDC_STATIC_MESSAGE 1003
#define IDC_STATIC_ERRORCODE 1005
