// The common controls: trackbar, up-down, progress bar and tab control.
#pragma once
#include "WinControls.h"
#include "WinTypes.h"

void InitCommonControls();

#define WM_USER_CC 0x0400

#define TRACKBAR_CLASSA "msctls_trackbar32"
#define TRACKBAR_CLASS TRACKBAR_CLASSA
#define UPDOWN_CLASSA "msctls_updown32"
#define UPDOWN_CLASS UPDOWN_CLASSA
#define PROGRESS_CLASSA "msctls_progress32"
#define PROGRESS_CLASS PROGRESS_CLASSA

// Notification codes carried by WM_NOTIFY.
#define NM_FIRST 0U
#define NM_CLICK (NM_FIRST - 2)
#define NM_DBLCLK (NM_FIRST - 3)
#define NM_RETURN (NM_FIRST - 4)
#define NM_RCLICK (NM_FIRST - 5)
#define NM_SETFOCUS (NM_FIRST - 7)
#define NM_KILLFOCUS (NM_FIRST - 8)
#define NM_CUSTOMDRAW (NM_FIRST - 12)
#define NM_RELEASEDCAPTURE (NM_FIRST - 16)

// Trackbar
#define TBS_AUTOTICKS 0x0001
#define TBS_VERT 0x0002
#define TBS_HORZ 0x0000
#define TBS_TOP 0x0004
#define TBS_BOTTOM 0x0000
#define TBS_LEFT 0x0004
#define TBS_RIGHT 0x0000
#define TBS_BOTH 0x0008
#define TBS_NOTICKS 0x0010
#define TBS_ENABLESELRANGE 0x0020
#define TBS_FIXEDLENGTH 0x0040
#define TBS_NOTHUMB 0x0080

#define TBM_GETPOS (WM_USER_CC)
#define TBM_GETRANGEMIN (WM_USER_CC + 1)
#define TBM_GETRANGEMAX (WM_USER_CC + 2)
#define TBM_GETTIC (WM_USER_CC + 3)
#define TBM_SETTIC (WM_USER_CC + 4)
#define TBM_SETPOS (WM_USER_CC + 5)
#define TBM_SETRANGE (WM_USER_CC + 6)
#define TBM_SETRANGEMIN (WM_USER_CC + 7)
#define TBM_SETRANGEMAX (WM_USER_CC + 8)
#define TBM_CLEARTICS (WM_USER_CC + 9)
#define TBM_GETNUMTICS (WM_USER_CC + 16)
#define TBM_SETTICFREQ (WM_USER_CC + 20)
#define TBM_SETPAGESIZE (WM_USER_CC + 21)
#define TBM_GETPAGESIZE (WM_USER_CC + 22)
#define TBM_SETLINESIZE (WM_USER_CC + 23)
#define TBM_GETLINESIZE (WM_USER_CC + 24)
#define TBM_GETTHUMBRECT (WM_USER_CC + 25)
#define TBM_GETCHANNELRECT (WM_USER_CC + 26)

// Trackbar scroll codes (the low word of WM_HSCROLL / WM_VSCROLL).
#define TB_LINEUP 0
#define TB_LINEDOWN 1
#define TB_PAGEUP 2
#define TB_PAGEDOWN 3
#define TB_THUMBPOSITION 4
#define TB_THUMBTRACK 5
#define TB_TOP 6
#define TB_BOTTOM 7
#define TB_ENDTRACK 8

// Up-down
#define UDS_WRAP 0x0001
#define UDS_SETBUDDYINT 0x0002
#define UDS_ALIGNRIGHT 0x0004
#define UDS_ALIGNLEFT 0x0008
#define UDS_AUTOBUDDY 0x0010
#define UDS_ARROWKEYS 0x0020
#define UDS_HORZ 0x0040
#define UDS_NOTHOUSANDS 0x0080

#define UD_MAXVAL 0x7fff
#define UD_MINVAL (-UD_MAXVAL)

#define UDM_SETRANGE (WM_USER_CC + 101)
#define UDM_GETRANGE (WM_USER_CC + 102)
#define UDM_SETPOS (WM_USER_CC + 103)
#define UDM_GETPOS (WM_USER_CC + 104)
#define UDM_SETBUDDY (WM_USER_CC + 105)
#define UDM_GETBUDDY (WM_USER_CC + 106)
#define UDM_SETBASE (WM_USER_CC + 109)
#define UDM_GETBASE (WM_USER_CC + 110)
#define UDM_SETRANGE32 (WM_USER_CC + 111)
#define UDM_GETRANGE32 (WM_USER_CC + 112)
#define UDM_SETPOS32 (WM_USER_CC + 113)
#define UDM_GETPOS32 (WM_USER_CC + 114)

#define UDN_FIRST (0U - 721)
#define UDN_DELTAPOS (UDN_FIRST - 1)

typedef struct tagNMUPDOWN {
  NMHDR hdr;
  int iPos;
  int iDelta;
} NMUPDOWN, *LPNMUPDOWN;

// Progress bar
#define PBS_SMOOTH 0x01
#define PBS_VERTICAL 0x04

#define PBM_SETRANGE (WM_USER_CC + 1)
#define PBM_SETPOS (WM_USER_CC + 2)
#define PBM_DELTAPOS (WM_USER_CC + 3)
#define PBM_SETSTEP (WM_USER_CC + 4)
#define PBM_STEPIT (WM_USER_CC + 5)
#define PBM_SETRANGE32 (WM_USER_CC + 6)
#define PBM_GETRANGE (WM_USER_CC + 7)
#define PBM_GETPOS (WM_USER_CC + 8)
#define PBM_SETBARCOLOR (WM_USER_CC + 9)
#define PBM_SETBKCOLOR 0x2001
#define CLR_DEFAULT 0xFF000000L

typedef struct {
  int iLow;
  int iHigh;
} PBRANGE, *PPBRANGE;

// Tab control
#define WC_TABCONTROLA "SysTabControl32"
#define WC_TABCONTROL WC_TABCONTROLA

#define TCS_BUTTONS 0x0100
#define TCS_MULTILINE 0x0200
#define TCS_FIXEDWIDTH 0x0400
#define TCS_FOCUSNEVER 0x8000

#define TCIF_TEXT 0x0001
#define TCIF_IMAGE 0x0002
#define TCIF_PARAM 0x0008

typedef struct tagTCITEMA {
  UINT mask;
  DWORD dwState;
  DWORD dwStateMask;
  LPSTR pszText;
  int cchTextMax;
  int iImage;
  LPARAM lParam;
} TCITEMA, TCITEM, *LPTCITEMA, *LPTCITEM;

#define TCM_FIRST 0x1300
#define TCM_GETITEMCOUNT (TCM_FIRST + 4)
#define TCM_GETITEMA (TCM_FIRST + 5)
#define TCM_SETITEMA (TCM_FIRST + 6)
#define TCM_INSERTITEMA (TCM_FIRST + 7)
#define TCM_DELETEITEM (TCM_FIRST + 8)
#define TCM_DELETEALLITEMS (TCM_FIRST + 9)
#define TCM_GETITEMRECT (TCM_FIRST + 10)
#define TCM_GETCURSEL (TCM_FIRST + 11)
#define TCM_SETCURSEL (TCM_FIRST + 12)
#define TCM_ADJUSTRECT (TCM_FIRST + 40)
#define TCM_GETCURFOCUS (TCM_FIRST + 47)
#define TCM_GETITEM TCM_GETITEMA
#define TCM_SETITEM TCM_SETITEMA
#define TCM_INSERTITEM TCM_INSERTITEMA

#define TCN_FIRST (0U - 550)
#define TCN_KEYDOWN (TCN_FIRST - 0)
#define TCN_SELCHANGE (TCN_FIRST - 1)
#define TCN_SELCHANGING (TCN_FIRST - 2)
