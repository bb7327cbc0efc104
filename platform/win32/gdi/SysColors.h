// The system colour table (the classic scheme). Kept on its own so the window manager
// can take it over with its settings.
#pragma once
#include "WinGdi.h"

namespace plat::gdi {

COLORREF SysColor(int index);
// For tests: replaces one colour (the brushes follow).
void SetSysColorForTest(int index, COLORREF color);

}  // namespace plat::gdi
