// Printing: printer DCs and print jobs.
#pragma once
#include "WinTypes.h"

typedef BOOL(CALLBACK* ABORTPROC)(HDC, int);

typedef struct _DOCINFOA {
  int cbSize;
  LPCSTR lpszDocName;
  LPCSTR lpszOutput;    // a file to print into, or null
  LPCSTR lpszDatatype;
  DWORD fwType;
} DOCINFOA, DOCINFO, *LPDOCINFOA, *LPDOCINFO;

#define SP_ERROR (-1)
#define SP_APPABORT (-2)
#define SP_USERABORT (-3)
#define SP_OUTOFDISK (-4)

int StartDocA(HDC hdc, const DOCINFOA* info);
int EndDoc(HDC hdc);
int StartPage(HDC hdc);
int EndPage(HDC hdc);
int AbortDoc(HDC hdc);
int SetAbortProc(HDC hdc, ABORTPROC proc);
#define StartDoc StartDocA
