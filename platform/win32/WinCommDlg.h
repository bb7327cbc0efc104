// The common file dialogs: choosing a file to open or a name to save under.
#pragma once
#include "CommDlgError.h"
#include "WinControls.h"
#include "WinTypes.h"
#include "WinUser.h"

typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagOFNA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;       // holds lpTemplateName (OFN_ENABLETEMPLATE)
  LPCSTR lpstrFilter;        // "text\0pattern;pattern\0...\0\0"
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;        // 1-based; 0 or too large: the first pair
  LPSTR lpstrFile;           // in: initial name (may hold a folder); out: the full path
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;      // out: the name with extension
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;          // out: where the name starts in lpstrFile
  WORD nFileExtension;       // out: where the extension starts (after the '.')
  LPCSTR lpstrDefExt;        // added to a name typed without extension
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
} OPENFILENAMEA, *LPOPENFILENAMEA;
typedef OPENFILENAMEA OPENFILENAME;
typedef LPOPENFILENAMEA LPOPENFILENAME;

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_SHOWHELP 0x00000010
#define OFN_ENABLEHOOK 0x00000020
#define OFN_ENABLETEMPLATE 0x00000040
#define OFN_EXTENSIONDIFFERENT 0x00000400
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_EXPLORER 0x00080000

// The hook's say on the chosen name: the old-style dialog sends the registered message
// FILEOKSTRING (non-zero answer: keep the dialog open); the Explorer-style one sends
// WM_NOTIFY with CDN_FILEOK (non-zero DWLP_MSGRESULT: keep it open).
#define FILEOKSTRINGA "commdlg_FileNameOK"
#define FILEOKSTRING FILEOKSTRINGA
#define CDN_FIRST (0U - 601U)
#define CDN_FILEOK (CDN_FIRST - 0x0006)

typedef struct _OFNOTIFYA {
  NMHDR hdr;
  LPOPENFILENAMEA lpOFN;
  LPSTR pszFile;
} OFNOTIFYA, *LPOFNOTIFYA;
typedef OFNOTIFYA OFNOTIFY;
typedef LPOFNOTIFYA LPOFNOTIFY;

// TRUE when the user chose a name; FALSE on Cancel or failure (CommDlgExtendedError).
BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn);
BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn);
#define GetOpenFileName GetOpenFileNameA
#define GetSaveFileName GetSaveFileNameA
