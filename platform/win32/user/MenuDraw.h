// Measuring and drawing menu items: the menu bar and popup menu windows.
#pragma once
#include "Menu.h"

namespace plat::user {

HFONT MenuFont();
// Lays out the bar items of `menu` in `bar` (their rects are stored in the items).
void LayoutMenuBar(HMENU menu, HWND owner, const RECT& bar);
// Measures a popup menu (its items' rects are stored) and answers the window size.
SIZE LayoutPopup(HMENU menu, HWND owner);
// Draws a popup menu's items (`selected` hilited) in a DC of its window.
void DrawPopupItems(HDC dc, HMENU menu, HWND owner, int selected, const RECT& client);
// Draws a menu check mark (DFCS_MENUCHECK), radio bullet (DFCS_MENUBULLET) or submenu
// arrow (DFCS_MENUARROW) centred in `r`.
void DrawMenuGlyph(HDC dc, const RECT& r, UINT glyph, COLORREF color);
// Draws one bar item in window coordinates of `dc`.
void DrawBarItem(HDC dc, HMENU menu, HWND owner, int index, bool selected, bool pushed);

}  // namespace plat::user
