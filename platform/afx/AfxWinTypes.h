// Win32 declarations the window layer needs beyond the USER core: control notification
// codes, the list and combo owner-draw records and the notification header.
#pragma once
#include "windows.h"
#include "WinUser.h"

typedef struct tagCOMPAREITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  HWND hwndItem;
  UINT itemID1;
  ULONG_PTR itemData1;
  UINT itemID2;
  ULONG_PTR itemData2;
  DWORD dwLocaleId;
} COMPAREITEMSTRUCT, *LPCOMPAREITEMSTRUCT;

typedef struct tagDELETEITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  HWND hwndItem;
  ULONG_PTR itemData;
} DELETEITEMSTRUCT, *LPDELETEITEMSTRUCT;

#ifndef WM_DEVMODECHANGE
#define WM_DEVMODECHANGE 0x001B
#endif
#ifndef WM_SYSTIMER
#define WM_SYSTIMER 0x0118  // the caret's blink timer; not a reason to run idle work
#endif

#ifndef ICON_SMALL
#define ICON_SMALL 0
#endif
#ifndef ICON_BIG
#define ICON_BIG 1
#endif

