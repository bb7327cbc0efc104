// Menus: the items behind an HMENU, how they are measured and drawn, and the modal loop
// that tracks the menu bar and popup menus.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../WinUserUi.h"

namespace plat::user {

struct MenuItem {
  UINT type = MF_STRING;  // MF_SEPARATOR, MF_BITMAP, MF_OWNERDRAW, breaks, MFT_RADIOCHECK
  UINT state = 0;         // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_HILITE, MF_DEFAULT
  UINT_PTR id = 0;
  HMENU sub = nullptr;
  std::string text;
  HBITMAP bitmap = nullptr;
  HBITMAP checked = nullptr, unchecked = nullptr;
  ULONG_PTR data = 0;
  RECT rect{};  // where it was last laid out (menu window or menu bar coordinates)
};

struct MenuObject {
  std::vector<MenuItem> items;
  bool popup = false;
  bool system = false;
  HWND sysOwner = nullptr;  // the window whose system menu this is
};

// Guards every menu's items; no window procedure is called while it is held.
std::recursive_mutex& MenuMutex();
std::shared_ptr<MenuObject> FindMenu(HMENU menu);

// The index of an item by command (searching submenus; `owner` gets the menu that holds
// it) or by position; -1 when there is none.
int LocateItem(HMENU menu, UINT item, UINT flags, HMENU* owner);

// Lays out and draws the menu bar of `hwnd` in `bar` (window coordinates of `dc`).
void PaintMenuBar(HWND hwnd, HDC dc, const RECT& bar);
// The bar item under a screen point, or -1.
int MenuBarItemAt(HWND hwnd, POINT screen);

// The modal menu loop. `startItem` opens that bar item (-1: only select the first).
void TrackMenuBar(HWND hwnd, int startItem, bool keyboard, UINT mnemonic = 0);
void TrackSystemMenu(HWND hwnd, bool keyboard);
UINT TrackPopup(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude);

// The item by command or position, with the menu lock held by the caller; null when absent.
MenuItem* ItemOf(HMENU menu, UINT item, UINT flags);

// A menu from a template of `size` bytes (the resource compiler's MENU form); null for
// a damaged template.
HMENU LoadMenuTemplate(const void* menuTemplate, size_t size);

// The text of an item with the part after a tab (the shortcut) split off.
void SplitItemText(const std::string& text, std::string* label, std::string* shortcut);
// The mnemonic character of a label (after '&'), lower-cased; 0 for none.
unsigned MnemonicOf(const std::string& label);

}  // namespace plat::user
