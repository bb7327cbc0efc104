// Multiple-document interface: the "MDIClient" window class that holds a frame's child
// windows, and the default procedures of MDI frames and MDI children.
#pragma once
#include "WinTypes.h"

typedef struct tagCLIENTCREATESTRUCT {
  HANDLE hWindowMenu;  // the popup that lists the children
  UINT idFirstChild;   // the command id of the first child in that list
} CLIENTCREATESTRUCT, *LPCLIENTCREATESTRUCT;

typedef struct tagMDICREATESTRUCTA {
  LPCSTR szClass;
  LPCSTR szTitle;
  HANDLE hOwner;
  int x;
  int y;
  int cx;
  int cy;
  DWORD style;
  LPARAM lParam;  // reaches the child as CREATESTRUCT::lpCreateParams->lParam
} MDICREATESTRUCTA, *LPMDICREATESTRUCTA;
typedef MDICREATESTRUCTA MDICREATESTRUCT;
typedef LPMDICREATESTRUCTA LPMDICREATESTRUCT;

#define MDIS_ALLCHILDSTYLES 0x0001
#define MDITILE_VERTICAL 0x0000
#define MDITILE_HORIZONTAL 0x0001
#define MDITILE_SKIPDISABLED 0x0002

// Bitmap items of a menu bar that the system draws itself.
#define HBMMENU_CALLBACK ((HBITMAP)-1)
#define HBMMENU_SYSTEM ((HBITMAP)1)
#define HBMMENU_MBAR_RESTORE ((HBITMAP)2)
#define HBMMENU_MBAR_MINIMIZE ((HBITMAP)3)
#define HBMMENU_MBAR_CLOSE ((HBITMAP)5)
#define HBMMENU_MBAR_CLOSE_D ((HBITMAP)6)
#define HBMMENU_MBAR_MINIMIZE_D ((HBITMAP)7)

LRESULT DefFrameProcA(HWND hwnd, HWND hwndMDIClient, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefMDIChildProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Ctrl+F4 closes and Ctrl+F6 (Ctrl+Tab) moves to the next child of the client; TRUE when
// the key was taken.
BOOL TranslateMDISysAccel(HWND hwndClient, LPMSG lpMsg);
#define DefFrameProc DefFrameProcA
#define DefMDIChildProc DefMDIChildProcA
