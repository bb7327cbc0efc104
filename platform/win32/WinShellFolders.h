// The shell's name space as far as the system uses it: item id lists of file-system
// folders, the desktop folder that parses paths into them, and the folder browser.
#pragma once
#include "ComBase.h"
#include "WinTypes.h"
#include "WinUser.h"

#pragma pack(push, 1)
typedef struct _SHITEMID {
  USHORT cb;  // bytes of this id, cb included; 0 ends the list
  BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
  SHITEMID mkid;
} ITEMIDLIST, *LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
#pragma pack(pop)

struct IBindCtx;
typedef IBindCtx* LPBC;

struct IShellFolder : IUnknown {
  // Turns a path into an item id list (freed with CoTaskMemFree or the shell allocator).
  virtual HRESULT ParseDisplayName(HWND owner, LPBC bindContext, LPWSTR displayName, ULONG* eaten,
                                   LPITEMIDLIST* idList, ULONG* attributes) = 0;

 protected:
  ~IShellFolder() = default;
};
typedef IShellFolder* LPSHELLFOLDER;

HRESULT SHGetDesktopFolder(IShellFolder** folder);
HRESULT SHGetMalloc(LPMALLOC* allocator);
BOOL SHGetPathFromIDListA(LPCITEMIDLIST idList, LPSTR path);  // path: MAX_PATH bytes
#define SHGetPathFromIDList SHGetPathFromIDListA

// The folder browser.
typedef int(CALLBACK* BFFCALLBACK)(HWND browser, UINT msg, LPARAM lParam, LPARAM data);

typedef struct _browseinfoA {
  HWND hwndOwner;
  LPCITEMIDLIST pidlRoot;
  LPSTR pszDisplayName;  // out: the chosen folder's name (MAX_PATH bytes)
  LPCSTR lpszTitle;      // the text above the tree
  UINT ulFlags;
  BFFCALLBACK lpfn;
  LPARAM lParam;         // passed to the callback
  int iImage;
} BROWSEINFOA, *LPBROWSEINFOA;
typedef BROWSEINFOA BROWSEINFO;
typedef LPBROWSEINFOA LPBROWSEINFO;

#define BFFM_INITIALIZED 1                // to the callback, once the browser is filled
#define BFFM_SETSELECTIONA (WM_USER + 102)  // to the browser: wParam TRUE: lParam a path; FALSE: an id list
#define BFFM_SETSELECTION BFFM_SETSELECTIONA

// The chosen folder as an item id list (the caller frees it), or null on Cancel.
LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA info);
#define SHBrowseForFolder SHBrowseForFolderA
