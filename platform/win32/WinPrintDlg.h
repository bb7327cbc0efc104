// The print dialog, and the printer settings it passes in movable memory blocks.
#pragma once
#include "WinTypes.h"

#define CCHDEVICENAME 32
#define CCHFORMNAME 32

typedef struct _devicemodeA {
  BYTE dmDeviceName[CCHDEVICENAME];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  short dmOrientation;
  short dmPaperSize;
  short dmPaperLength;
  short dmPaperWidth;
  short dmScale;
  short dmCopies;
  short dmDefaultSource;
  short dmPrintQuality;
  short dmColor;
  short dmDuplex;
  short dmYResolution;
  short dmTTOption;
  short dmCollate;
  BYTE dmFormName[CCHFORMNAME];
  WORD dmLogPixels;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  DWORD dmDisplayFlags;
  DWORD dmDisplayFrequency;
} DEVMODEA, DEVMODE, *LPDEVMODEA, *LPDEVMODE;

#define DM_SPECVERSION 0x0401
#define DM_ORIENTATION 0x00000001
#define DM_PAPERSIZE 0x00000002
#define DM_COPIES 0x00000100
#define DM_PRINTQUALITY 0x00000400
#define DM_YRESOLUTION 0x00002000
#define DMORIENT_PORTRAIT 1
#define DMPAPER_A4 9

// Offsets (in characters) of the driver, device and port names that follow it.
typedef struct tagDEVNAMES {
  WORD wDriverOffset;
  WORD wDeviceOffset;
  WORD wOutputOffset;
  WORD wDefault;
} DEVNAMES, *LPDEVNAMES;
#define DN_DEFAULTPRN 0x0001

typedef UINT_PTR(CALLBACK* LPPRINTHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef UINT_PTR(CALLBACK* LPSETUPHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagPDA {
  DWORD lStructSize;
  HWND hwndOwner;
  HGLOBAL hDevMode;   // DEVMODEA, in and out
  HGLOBAL hDevNames;  // DEVNAMES, in and out
  HDC hDC;            // out with PD_RETURNDC
  DWORD Flags;
  WORD nFromPage;
  WORD nToPage;
  WORD nMinPage;
  WORD nMaxPage;
  WORD nCopies;
  HINSTANCE hInstance;
  LPARAM lCustData;
  LPPRINTHOOKPROC lpfnPrintHook;
  LPSETUPHOOKPROC lpfnSetupHook;
  LPCSTR lpPrintTemplateName;
  LPCSTR lpSetupTemplateName;
  HGLOBAL hPrintTemplate;
  HGLOBAL hSetupTemplate;
} PRINTDLGA, PRINTDLG, *LPPRINTDLGA, *LPPRINTDLG;

#define PD_ALLPAGES 0x00000000
#define PD_SELECTION 0x00000001
#define PD_PAGENUMS 0x00000002
#define PD_NOSELECTION 0x00000004
#define PD_NOPAGENUMS 0x00000008
#define PD_COLLATE 0x00000010
#define PD_PRINTSETUP 0x00000040
#define PD_RETURNDC 0x00000100
#define PD_RETURNDEFAULT 0x00000400
#define PD_ENABLEPRINTHOOK 0x00001000
#define PD_ENABLESETUPHOOK 0x00002000
#define PD_USEDEVMODECOPIES 0x00040000
#define PD_USEDEVMODECOPIESANDCOLLATE 0x00040000

// Extended errors of the print dialog (CommDlgExtendedError).
#define PDERR_INITFAILURE 0x1006
#define PDERR_NODEFAULTPRN 0x1008
#define PDERR_CREATEICFAILURE 0x100A
#define PDERR_RETDEFFAILURE 0x100C

// FALSE when the user cancels or the dialog cannot run (then hDC stays null and
// CommDlgExtendedError tells why).
BOOL PrintDlgA(LPPRINTDLGA pd);
#define PrintDlg PrintDlgA

// Control ids of the print dialog's template (for tests).
#define PRINT_PRINTER 0x473
#define PRINT_ALL 0x420
#define PRINT_SELECTION 0x421
#define PRINT_PAGES 0x422
#define PRINT_FROM 0x480
#define PRINT_TO 0x481
#define PRINT_COPIES 0x482
#define PRINT_RANGE_GROUP 0x430
