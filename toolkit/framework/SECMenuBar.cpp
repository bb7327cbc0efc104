#include "SECMenuBar.h"

IMPLEMENT_DYNCREATE(SECMenuBar, SECCustomToolBar)

// A bar that shows no menu has no buttons to put back.
void SECMenuBar::ResetMenus() {}
