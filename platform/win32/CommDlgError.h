// The common dialogs' own error code, read after a dialog call answered FALSE.
#pragma once
#include "WinTypes.h"

#define CDERR_DIALOGFAILURE 0xFFFF
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define CDERR_NOTEMPLATE 0x0003
#define CDERR_FINDRESFAILURE 0x0006
#define CDERR_LOADRESFAILURE 0x0007
#define CDERR_NOHOOK 0x000B
#define FNERR_INVALIDFILENAME 0x3002
#define FNERR_BUFFERTOOSMALL 0x3003

// 0 when the last dialog of this thread ended normally (OK or Cancel).
DWORD CommDlgExtendedError();

namespace plat::commdlg {
void SetExtendedError(DWORD code);  // every common dialog sets it when it ends
}  // namespace plat::commdlg
