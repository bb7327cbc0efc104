// The user tool list: an object array of SECUserTool that owns its tools, kept between
// runs in a tool list file (the framework's archive of the array), and offered at the
// end of a popup menu.
#pragma once
#include <afxwin.h>

class CMenu;

// Appends the tools stored at `lpszPath`; TRUE when the array grew. A missing file
// changes nothing. A damaged one gives FALSE and keeps the tools read before the damage.
BOOL LoadUserTools(LPCSTR lpszPath, CObArray* pTools);
// Writes the whole array to `lpszPath`; on failure the file there stays as it was.
BOOL SaveUserTools(LPCSTR lpszPath, CObArray* pTools);
// Deletes every tool and empties the array.
void ClearUserTools(CObArray* pTools);

// Replaces the tool items of a popup (ids `nFirstId` on) by one item per tool, after a
// separator; TRUE when every tool got its item.
BOOL AppendUserToolsToMenu(CMenu* pMenu, UINT nFirstId, CObArray* pTools);
// The position of the item with command `nId`, searched from the top.
BOOL FindMenuItem(CMenu* pMenu, UINT nId, UINT* pPosition);
