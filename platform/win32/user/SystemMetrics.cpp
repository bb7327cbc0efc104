// System metrics of the classic look; the screen's size follows the virtual screen.
#include "Window.h"

int GetSystemMetrics(int index) {
  RECT screen = plat::user::ScreenRect();
  int cx = screen.right, cy = screen.bottom;
  switch (index) {
    case SM_CXSCREEN: return cx;
    case SM_CYSCREEN: return cy;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL:
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_CXFULLSCREEN: return cx;
    case SM_CYFULLSCREEN: return cy - 19;
    case SM_MOUSEPRESENT: return 1;
    case SM_CXMIN: case SM_CXMINTRACK: return 112;
    case SM_CYMIN: case SM_CYMINTRACK: return 27;
    case SM_CXSIZE: case SM_CYSIZE: return 18;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXICONSPACING: case SM_CYICONSPACING: return 75;
    case SM_DBCSENABLED: return 1;  // the narrow code page has multi-byte characters
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 15;
    case SM_CXSMSIZE: return 12;
    case SM_CYSMSIZE: return 14;
    case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return 24;
    case SM_CXMAXTRACK: return cx + 12;
    case SM_CYMAXTRACK: return cy + 12;
    case SM_CXMAXIMIZED: return cx + 8;
    case SM_CYMAXIMIZED: return cy + 8;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    case SM_MOUSEWHEELPRESENT: case SM_CMONITORS: return 1;
    default: return 0;
  }
}
