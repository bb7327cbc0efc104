// The system colour table (the classic scheme). Kept on its own so the window manager
// can take it over with its settings.
#pragma once
#include "WinGdi.h"

namespace plat::gdi {

COLORREF SysColor(int index);
// Replaces one colour; its system brush follows. SetSysColors tells the windows.
void SetSysColor(int index, COLORREF color);
// For tests: the same, without telling anybody.
inline void SetSysColorForTest(int index, COLORREF color) { SetSysColor(index, color); }

}  // namespace plat::gdi
