// The colour and font choosers.
#pragma once
#include "WinGdiText.h"
#include "WinTypes.h"

typedef UINT_PTR(CALLBACK* LPCCHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef UINT_PTR(CALLBACK* LPCFHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagCHOOSECOLORA {
  DWORD lStructSize;
  HWND hwndOwner;
  HWND hInstance;
  COLORREF rgbResult;      // in with CC_RGBINIT; out: the chosen colour
  COLORREF* lpCustColors;  // 16 custom colours, in and out
  DWORD Flags;
  LPARAM lCustData;
  LPCCHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
} CHOOSECOLORA, CHOOSECOLOR, *LPCHOOSECOLORA, *LPCHOOSECOLOR;

#define CC_RGBINIT 0x00000001
#define CC_FULLOPEN 0x00000002
#define CC_PREVENTFULLOPEN 0x00000004
#define CC_ENABLEHOOK 0x00000010

typedef struct tagCHOOSEFONTA {
  DWORD lStructSize;
  HWND hwndOwner;
  HDC hDC;              // the printer's DC for CF_PRINTERFONTS
  LPLOGFONTA lpLogFont; // in with CF_INITTOLOGFONTSTRUCT; out: the chosen font
  INT iPointSize;       // out: the size in tenths of a point
  DWORD Flags;
  COLORREF rgbColors;   // in and out with CF_EFFECTS
  LPARAM lCustData;
  LPCFHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
  HINSTANCE hInstance;
  LPSTR lpszStyle;
  WORD nFontType;
  WORD ___MISSING_ALIGNMENT__;
  INT nSizeMin;  // points, with CF_LIMITSIZE
  INT nSizeMax;
} CHOOSEFONTA, CHOOSEFONT, *LPCHOOSEFONTA, *LPCHOOSEFONT;

#define CF_SCREENFONTS 0x00000001
#define CF_PRINTERFONTS 0x00000002
#define CF_BOTH (CF_SCREENFONTS | CF_PRINTERFONTS)
#define CF_ENABLEHOOK 0x00000008
#define CF_INITTOLOGFONTSTRUCT 0x00000040
#define CF_EFFECTS 0x00000100
#define CF_LIMITSIZE 0x00002000
#define CF_SCALABLEONLY 0x00020000  // no raster faces
#define CF_TTONLY 0x00040000

#define SIMULATED_FONTTYPE 0x8000
#define PRINTER_FONTTYPE 0x4000
#define SCREEN_FONTTYPE 0x2000
#define BOLD_FONTTYPE 0x0100
#define ITALIC_FONTTYPE 0x0200
#define REGULAR_FONTTYPE 0x0400

// Extended errors of the font chooser (CommDlgExtendedError).
#define CFERR_NOFONTS 0x2001
#define CFERR_MAXLESSTHANMIN 0x2002

// Both answer FALSE when the user cancels or the chooser cannot be shown
// (CommDlgExtendedError tells which).
BOOL ChooseColorA(LPCHOOSECOLORA cc);
BOOL ChooseFontA(LPCHOOSEFONTA cf);
#define ChooseColor ChooseColorA
#define ChooseFont ChooseFontA

// Control ids of the choosers' templates (for hooks and tests).
#define COLOR_BASIC_GRID 720
#define COLOR_CUSTOM_GRID 721
#define COLOR_RED 706
#define COLOR_GREEN 707
#define COLOR_BLUE 708
#define COLOR_CURRENT 709
#define COLOR_ADD 712
#define COLOR_MIX 719
#define FONT_FACE 0x470
#define FONT_STYLE 0x471
#define FONT_SIZE 0x472
#define FONT_COLOR 0x473
#define FONT_STRIKEOUT 0x410
#define FONT_UNDERLINE 0x411
#define FONT_SAMPLE 0x444
#define FONT_EFFECTS 0x431
