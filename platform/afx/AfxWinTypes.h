// Win32 declarations the window layer needs beyond the USER core: control notification
// codes, the list and combo owner-draw records and the notification header.
#pragma once
#include "windows.h"
#include "WinUser.h"

typedef struct tagNMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
} NMHDR, *LPNMHDR;

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

#ifndef ODT_MENU
#define ODT_MENU 1
#endif
#ifndef ODT_LISTBOX
#define ODT_LISTBOX 2
#endif
#ifndef ODT_COMBOBOX
#define ODT_COMBOBOX 3
#endif
#ifndef ODT_BUTTON
#define ODT_BUTTON 4
#endif
#ifndef ODT_STATIC
#define ODT_STATIC 5
#endif

#ifndef BN_CLICKED
#define BN_CLICKED 0
#endif
#ifndef BN_PAINT
#define BN_PAINT 1
#endif
#ifndef BN_HILITE
#define BN_HILITE 2
#endif
#ifndef BN_UNHILITE
#define BN_UNHILITE 3
#endif
#ifndef BN_DISABLE
#define BN_DISABLE 4
#endif
#ifndef BN_DOUBLECLICKED
#define BN_DOUBLECLICKED 5
#endif
#ifndef BN_SETFOCUS
#define BN_SETFOCUS 6
#endif
#ifndef BN_KILLFOCUS
#define BN_KILLFOCUS 7
#endif
#ifndef EN_SETFOCUS
#define EN_SETFOCUS 0x0100
#endif
#ifndef EN_KILLFOCUS
#define EN_KILLFOCUS 0x0200
#endif
#ifndef EN_CHANGE
#define EN_CHANGE 0x0300
#endif
#ifndef EN_UPDATE
#define EN_UPDATE 0x0400
#endif
#ifndef EN_ERRSPACE
#define EN_ERRSPACE 0x0500
#endif
#ifndef EN_MAXTEXT
#define EN_MAXTEXT 0x0501
#endif
#ifndef EN_HSCROLL
#define EN_HSCROLL 0x0601
#endif
#ifndef EN_VSCROLL
#define EN_VSCROLL 0x0602
#endif
#ifndef CBN_ERRSPACE
#define CBN_ERRSPACE (-1)
#endif
#ifndef CBN_SELCHANGE
#define CBN_SELCHANGE 1
#endif
#ifndef CBN_DBLCLK
#define CBN_DBLCLK 2
#endif
#ifndef CBN_SETFOCUS
#define CBN_SETFOCUS 3
#endif
#ifndef CBN_KILLFOCUS
#define CBN_KILLFOCUS 4
#endif
#ifndef CBN_EDITCHANGE
#define CBN_EDITCHANGE 5
#endif
#ifndef CBN_EDITUPDATE
#define CBN_EDITUPDATE 6
#endif
#ifndef CBN_DROPDOWN
#define CBN_DROPDOWN 7
#endif
#ifndef CBN_CLOSEUP
#define CBN_CLOSEUP 8
#endif
#ifndef CBN_SELENDOK
#define CBN_SELENDOK 9
#endif
#ifndef CBN_SELENDCANCEL
#define CBN_SELENDCANCEL 10
#endif
#ifndef LBN_ERRSPACE
#define LBN_ERRSPACE (-2)
#endif
#ifndef LBN_SELCHANGE
#define LBN_SELCHANGE 1
#endif
#ifndef LBN_DBLCLK
#define LBN_DBLCLK 2
#endif
#ifndef LBN_SELCANCEL
#define LBN_SELCANCEL 3
#endif
#ifndef LBN_SETFOCUS
#define LBN_SETFOCUS 4
#endif
#ifndef LBN_KILLFOCUS
#define LBN_KILLFOCUS 5
#endif
#ifndef STN_CLICKED
#define STN_CLICKED 0
#endif
#ifndef STN_DBLCLK
#define STN_DBLCLK 1
#endif

#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#ifndef IDABORT
#define IDABORT 3
#endif
#ifndef IDRETRY
#define IDRETRY 4
#endif
#ifndef IDIGNORE
#define IDIGNORE 5
#endif
#ifndef IDYES
#define IDYES 6
#endif
#ifndef IDNO
#define IDNO 7
#endif
#ifndef MB_OKCANCEL
#define MB_OKCANCEL 0x00000001L
#endif
#ifndef MB_ABORTRETRYIGNORE
#define MB_ABORTRETRYIGNORE 0x00000002L
#endif
#ifndef MB_YESNOCANCEL
#define MB_YESNOCANCEL 0x00000003L
#endif
#ifndef MB_YESNO
#define MB_YESNO 0x00000004L
#endif
#ifndef MB_RETRYCANCEL
#define MB_RETRYCANCEL 0x00000005L
#endif
#ifndef MB_ICONERROR
#define MB_ICONERROR MB_ICONHAND
#endif
#ifndef MB_ICONSTOP
#define MB_ICONSTOP MB_ICONHAND
#endif
#ifndef MB_ICONWARNING
#define MB_ICONWARNING MB_ICONEXCLAMATION
#endif
#ifndef MB_ICONINFORMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#endif
#ifndef MB_DEFBUTTON1
#define MB_DEFBUTTON1 0x00000000L
#endif
#ifndef MB_DEFBUTTON2
#define MB_DEFBUTTON2 0x00000100L
#endif
#ifndef MB_DEFBUTTON3
#define MB_DEFBUTTON3 0x00000200L
#endif
#ifndef MB_APPLMODAL
#define MB_APPLMODAL 0x00000000L
#endif
#ifndef MB_SYSTEMMODAL
#define MB_SYSTEMMODAL 0x00001000L
#endif
#ifndef MB_TASKMODAL
#define MB_TASKMODAL 0x00002000L
#endif
#ifndef MB_SETFOREGROUND
#define MB_SETFOREGROUND 0x00010000L
#endif
#ifndef MB_TOPMOST
#define MB_TOPMOST 0x00040000L
#endif

#ifndef WM_DEVMODECHANGE
#define WM_DEVMODECHANGE 0x001B
#endif
#ifndef WM_SYSTIMER
#define WM_SYSTIMER 0x0118  // the caret's blink timer; not a reason to run idle work
#endif

#ifndef BM_GETCHECK
#define BM_GETCHECK 0x00F0
#endif
#ifndef BM_SETCHECK
#define BM_SETCHECK 0x00F1
#endif
#ifndef BM_GETSTATE
#define BM_GETSTATE 0x00F2
#endif
#ifndef BM_SETSTATE
#define BM_SETSTATE 0x00F3
#endif
#ifndef BM_SETSTYLE
#define BM_SETSTYLE 0x00F4
#endif
#ifndef BM_CLICK
#define BM_CLICK 0x00F5
#endif
#ifndef BST_UNCHECKED
#define BST_UNCHECKED 0x0000
#endif
#ifndef BST_CHECKED
#define BST_CHECKED 0x0001
#endif
#ifndef BST_INDETERMINATE
#define BST_INDETERMINATE 0x0002
#endif
#ifndef BST_PUSHED
#define BST_PUSHED 0x0004
#endif
#ifndef BST_FOCUS
#define BST_FOCUS 0x0008
#endif
#ifndef DLGC_WANTARROWS
#define DLGC_WANTARROWS 0x0001
#endif
#ifndef DLGC_WANTTAB
#define DLGC_WANTTAB 0x0002
#endif
#ifndef DLGC_WANTALLKEYS
#define DLGC_WANTALLKEYS 0x0004
#endif
#ifndef DLGC_WANTMESSAGE
#define DLGC_WANTMESSAGE 0x0004
#endif
#ifndef DLGC_HASSETSEL
#define DLGC_HASSETSEL 0x0008
#endif
#ifndef DLGC_DEFPUSHBUTTON
#define DLGC_DEFPUSHBUTTON 0x0010
#endif
#ifndef DLGC_UNDEFPUSHBUTTON
#define DLGC_UNDEFPUSHBUTTON 0x0020
#endif
#ifndef DLGC_RADIOBUTTON
#define DLGC_RADIOBUTTON 0x0040
#endif
#ifndef DLGC_WANTCHARS
#define DLGC_WANTCHARS 0x0080
#endif
#ifndef DLGC_STATIC
#define DLGC_STATIC 0x0100
#endif
#ifndef DLGC_BUTTON
#define DLGC_BUTTON 0x2000
#endif
#ifndef ICON_SMALL
#define ICON_SMALL 0
#endif
#ifndef ICON_BIG
#define ICON_BIG 1
#endif

#ifndef MF_POPUP
#define MF_POPUP 0x00000010L
#endif
#ifndef MF_SEPARATOR
#define MF_SEPARATOR 0x00000800L
#endif
#ifndef EM_GETSEL
#define EM_GETSEL 0x00B0
#endif
#ifndef EM_SETSEL
#define EM_SETSEL 0x00B1
#endif
#ifndef EM_LIMITTEXT
#define EM_LIMITTEXT 0x00C5
#endif
#ifndef EM_SETLIMITTEXT
#define EM_SETLIMITTEXT EM_LIMITTEXT
#endif
#ifndef CB_ERR
#define CB_ERR (-1)
#endif
#ifndef CB_ADDSTRING
#define CB_ADDSTRING 0x0143
#endif
#ifndef CB_GETCOUNT
#define CB_GETCOUNT 0x0146
#endif
#ifndef CB_GETCURSEL
#define CB_GETCURSEL 0x0147
#endif
#ifndef CB_GETLBTEXT
#define CB_GETLBTEXT 0x0148
#endif
#ifndef CB_GETLBTEXTLEN
#define CB_GETLBTEXTLEN 0x0149
#endif
#ifndef CB_RESETCONTENT
#define CB_RESETCONTENT 0x014B
#endif
#ifndef CB_SELECTSTRING
#define CB_SELECTSTRING 0x014D
#endif
#ifndef CB_SETCURSEL
#define CB_SETCURSEL 0x014E
#endif
#ifndef CB_FINDSTRINGEXACT
#define CB_FINDSTRINGEXACT 0x0158
#endif
#ifndef LB_ERR
#define LB_ERR (-1)
#endif
#ifndef LB_ADDSTRING
#define LB_ADDSTRING 0x0180
#endif
#ifndef LB_SETCURSEL
#define LB_SETCURSEL 0x0186
#endif
#ifndef LB_GETCURSEL
#define LB_GETCURSEL 0x0188
#endif
#ifndef LB_GETTEXT
#define LB_GETTEXT 0x0189
#endif
#ifndef LB_GETTEXTLEN
#define LB_GETTEXTLEN 0x018A
#endif
#ifndef LB_GETCOUNT
#define LB_GETCOUNT 0x018B
#endif
#ifndef LB_SELECTSTRING
#define LB_SELECTSTRING 0x018C
#endif
#ifndef LB_FINDSTRINGEXACT
#define LB_FINDSTRINGEXACT 0x01A2
#endif
#ifndef TBM_GETPOS
#define TBM_GETPOS (WM_USER)
#endif
#ifndef TBM_SETPOS
#define TBM_SETPOS (WM_USER + 5)
#endif
