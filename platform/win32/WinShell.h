// Shell services: opening a document with the desktop's program, and file information.
#pragma once
#include "WinTypes.h"
#include "WinUser.h"

// ShellExecuteA answers a value above 32 on success, else one of these.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_NOASSOC 31

// Opens `file` (a document, a folder or a URL) with the desktop's opener. Only the verbs
// "open" and "explore" (or none) are known.
HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show);
#define ShellExecute ShellExecuteA

typedef struct _SHFILEINFOA {
  HICON hIcon;
  int iIcon;
  DWORD dwAttributes;
  CHAR szDisplayName[MAX_PATH];
  CHAR szTypeName[80];
} SHFILEINFOA;
typedef SHFILEINFOA SHFILEINFO;

#define SHGFI_DISPLAYNAME 0x000000200

// With SHGFI_DISPLAYNAME: the name the shell shows ("Local Disk (C:)" for a drive root).
// 0 when the path does not exist or the record is too small.
DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags);
#define SHGetFileInfo SHGetFileInfoA
