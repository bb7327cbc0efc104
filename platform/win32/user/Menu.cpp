// Menu handles and the calls that build, change and query them.
#include "Menu.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "../HandleTable.h"
#include "../LastError.h"
#include "../WinError.h"
#include "Window.h"
#include "rc/ResourceRegistry.h"

namespace plat::user {
namespace {

HandleTable<MenuObject>& Menus() {
  static HandleTable<MenuObject> table(HandleKind::Menu);
  return table;
}

HMENU NewMenu(bool popup) {
  auto m = std::make_shared<MenuObject>();
  m->popup = popup;
  return ToHandle<HMENU>(Menus().Insert(std::move(m)));
}

MenuItem ItemFrom(UINT flags, UINT_PTR id, LPCSTR item) {
  MenuItem it;
  it.type = flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW | MF_MENUBARBREAK | MF_MENUBREAK | MF_RIGHTJUSTIFY);
  it.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  if (flags & MF_POPUP) {
    it.sub = reinterpret_cast<HMENU>(id);
    if (auto sub = FindMenu(it.sub)) sub->popup = true;
    it.id = id;
  } else {
    it.id = id;
  }
  if (it.type & MF_BITMAP) it.bitmap = reinterpret_cast<HBITMAP>(const_cast<LPSTR>(item));
  else if (it.type & MF_OWNERDRAW) it.data = reinterpret_cast<ULONG_PTR>(item);
  else if (!(it.type & MF_SEPARATOR) && item) it.text = item;
  return it;
}

}  // namespace

MenuItem* ItemOf(HMENU menu, UINT item, UINT flags) {
  HMENU owner = nullptr;
  int i = LocateItem(menu, item, flags, &owner);
  if (i < 0) return nullptr;
  return &FindMenu(owner)->items[static_cast<size_t>(i)];
}

std::recursive_mutex& MenuMutex() {
  static std::recursive_mutex m;
  return m;
}

std::shared_ptr<MenuObject> FindMenu(HMENU menu) { return Menus().Find(HandleId(menu)); }

int LocateItem(HMENU menu, UINT item, UINT flags, HMENU* owner) {
  std::lock_guard lock(MenuMutex());
  auto m = FindMenu(menu);
  if (!m) return -1;
  if (flags & MF_BYPOSITION) {
    if (item >= m->items.size()) return -1;
    if (owner) *owner = menu;
    return static_cast<int>(item);
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    const MenuItem& it = m->items[i];
    if (it.sub) {
      // A popup is found by its own id too, but a command inside it comes first.
      int inner = LocateItem(it.sub, item, flags, owner);
      if (inner >= 0) return inner;
      if (static_cast<UINT>(reinterpret_cast<UINT_PTR>(it.sub)) == item) {
        if (owner) *owner = menu;
        return static_cast<int>(i);
      }
    } else if (!(it.type & MF_SEPARATOR) && static_cast<UINT>(it.id) == item) {
      if (owner) *owner = menu;
      return static_cast<int>(i);
    }
  }
  return -1;
}

void SplitItemText(const std::string& text, std::string* label, std::string* shortcut) {
  size_t tab = text.find('\t');
  if (label) *label = text.substr(0, tab);
  if (shortcut) *shortcut = tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

unsigned MnemonicOf(const std::string& label) {
  for (size_t i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != '&') continue;
    if (label[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<unsigned>(std::tolower(static_cast<unsigned char>(label[i + 1])));
  }
  return 0;
}

}  // namespace plat::user

using namespace plat::user;

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL IsMenu(HMENU menu) { return FindMenu(menu) != nullptr; }

BOOL DestroyMenu(HMENU menu) {
  std::vector<HMENU> subs;
  {
    std::lock_guard lock(MenuMutex());
    auto m = FindMenu(menu);
    if (!m) {
      ::SetLastError(ERROR_INVALID_MENU_HANDLE);
      return FALSE;
    }
    for (auto& it : m->items)
      if (it.sub) subs.push_back(it.sub);
    Menus().Remove(plat::HandleId(menu));
  }
  // A menu takes its submenus with it.
  for (HMENU s : subs) DestroyMenu(s);
  return TRUE;
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item) {
  std::lock_guard lock(MenuMutex());
  auto m = FindMenu(menu);
  if (!m) {
    ::SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  size_t at = m->items.size();
  if (position != static_cast<UINT>(-1)) {
    HMENU owner = nullptr;
    int i = LocateItem(menu, position, flags, &owner);
    if (i >= 0) {
      if (owner != menu) return InsertMenuA(owner, static_cast<UINT>(i), flags | MF_BYPOSITION, id, item);
      at = static_cast<size_t>(i);
    } else if (!(flags & MF_BYPOSITION)) {
      ::SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
      return FALSE;
    }
  }
  m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), ItemFrom(flags, id, item));
  return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR item) {
  return InsertMenuA(menu, static_cast<UINT>(-1), flags | MF_BYPOSITION, id, item);
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item) {
  std::lock_guard lock(MenuMutex());
  MenuItem* it = ItemOf(menu, position, flags);
  if (!it) {
    ::SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  HMENU oldSub = it->sub;
  *it = ItemFrom(flags, id, item);
  // Replacing a popup with something else destroys the popup, as Windows does.
  if (oldSub && oldSub != it->sub) DestroyMenu(oldSub);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  std::lock_guard lock(MenuMutex());
  HMENU owner = nullptr;
  int i = LocateItem(menu, position, flags, &owner);
  if (i < 0) {
    ::SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  auto m = FindMenu(owner);
  m->items.erase(m->items.begin() + i);
  return TRUE;
}

// RemoveMenu, and the item's popup destroyed too.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  HMENU sub = nullptr;
  {
    std::lock_guard lock(MenuMutex());
    if (MenuItem* it = ItemOf(menu, position, flags)) sub = it->sub;
    if (!RemoveMenu(menu, position, flags)) return FALSE;
  }
  if (sub) DestroyMenu(sub);
  return TRUE;
}

UINT EnableMenuItem(HMENU menu, UINT id, UINT enable) {
  std::lock_guard lock(MenuMutex());
  MenuItem* item = ItemOf(menu, id, enable);
  if (!item) return static_cast<UINT>(-1);
  MenuItem& it = *item;
  UINT old = it.state & (MF_GRAYED | MF_DISABLED);
  it.state = (it.state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return old;
}

DWORD CheckMenuItem(HMENU menu, UINT id, UINT check) {
  std::lock_guard lock(MenuMutex());
  MenuItem* item = ItemOf(menu, id, check);
  if (!item) return static_cast<DWORD>(-1);
  MenuItem& it = *item;
  DWORD old = it.state & MF_CHECKED;
  it.state = (it.state & ~MF_CHECKED) | (check & MF_CHECKED);
  return old;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  std::lock_guard lock(MenuMutex());
  HMENU owner = nullptr;
  int a = LocateItem(menu, first, flags, &owner);
  HMENU owner2 = nullptr;
  int b = LocateItem(menu, last, flags, &owner2);
  int c = LocateItem(menu, check, flags, nullptr);
  if (a < 0 || b < 0 || c < 0 || owner != owner2) return FALSE;
  auto m = FindMenu(owner);
  for (int i = std::min(a, b); i <= std::max(a, b); ++i) {
    MenuItem& it = m->items[static_cast<size_t>(i)];
    if (i == c) {
      it.state |= MF_CHECKED;
      it.type |= MFT_RADIOCHECK;
    } else {
      it.state &= ~MF_CHECKED;
    }
  }
  return TRUE;
}

UINT GetMenuItemID(HMENU menu, int pos) {
  std::lock_guard lock(MenuMutex());
  auto m = FindMenu(menu);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return static_cast<UINT>(-1);
  const MenuItem& it = m->items[static_cast<size_t>(pos)];
  return it.sub ? static_cast<UINT>(-1) : static_cast<UINT>(it.id);
}

int GetMenuItemCount(HMENU menu) {
  std::lock_guard lock(MenuMutex());
  auto m = FindMenu(menu);
  if (!m) {
    ::SetLastError(ERROR_INVALID_MENU_HANDLE);
    return -1;
  }
  return static_cast<int>(m->items.size());
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags) {
  std::lock_guard lock(MenuMutex());
  const MenuItem* item = ItemOf(menu, id, flags);
  if (!item) return static_cast<UINT>(-1);
  const MenuItem& it = *item;
  UINT state = it.state | it.type;
  if (it.sub) {
    // A popup answers its item count in the high byte.
    auto sub = FindMenu(it.sub);
    state = (state & 0xFF) | MF_POPUP | ((sub ? static_cast<UINT>(sub->items.size()) : 0) << 8);
  }
  return state;
}

int GetMenuStringA(HMENU menu, UINT id, LPSTR text, int max, UINT flags) {
  std::lock_guard lock(MenuMutex());
  const MenuItem* item = ItemOf(menu, id, flags);
  if (!item) {
    if (text && max > 0) text[0] = '\0';
    return 0;
  }
  const std::string& s = item->text;
  if (!text || max <= 0) return static_cast<int>(s.size());
  size_t n = std::min(s.size(), static_cast<size_t>(max - 1));
  while (n > 0 && n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  std::memcpy(text, s.data(), n);
  text[n] = '\0';
  return static_cast<int>(n);
}

HMENU GetSubMenu(HMENU menu, int pos) {
  std::lock_guard lock(MenuMutex());
  auto m = FindMenu(menu);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return nullptr;
  return m->items[static_cast<size_t>(pos)].sub;
}

BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOA info) {
  if (!info) return FALSE;
  std::lock_guard lock(MenuMutex());
  const MenuItem* found = ItemOf(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!found) {
    ::SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  const MenuItem& it = *found;
  if (info->fMask & MIIM_STATE) info->fState = it.state;
  if (info->fMask & MIIM_ID) info->wID = static_cast<UINT>(it.id);
  if (info->fMask & MIIM_SUBMENU) info->hSubMenu = it.sub;
  if (info->fMask & MIIM_CHECKMARKS) {
    info->hbmpChecked = it.checked;
    info->hbmpUnchecked = it.unchecked;
  }
  if (info->fMask & MIIM_DATA) info->dwItemData = it.data;
  if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = it.type;
  if (info->fMask & MIIM_BITMAP) info->hbmpItem = it.bitmap;
  if (info->fMask & (MIIM_TYPE | MIIM_STRING)) {
    if (info->dwTypeData && info->cch > 0) {
      size_t n = std::min(it.text.size(), static_cast<size_t>(info->cch - 1));
      // A short buffer never ends inside a character.
      while (n > 0 && n < it.text.size() && (static_cast<unsigned char>(it.text[n]) & 0xC0) == 0x80) --n;
      std::memcpy(info->dwTypeData, it.text.data(), n);
      info->dwTypeData[n] = '\0';
    }
    info->cch = static_cast<UINT>(it.text.size());
  }
  return TRUE;
}

namespace {
void Apply(MenuItem& it, LPCMENUITEMINFOA info) {
  if (info->fMask & MIIM_STATE) it.state = info->fState;
  if (info->fMask & MIIM_ID) it.id = info->wID;
  if (info->fMask & MIIM_SUBMENU) it.sub = info->hSubMenu;
  if (info->fMask & MIIM_CHECKMARKS) {
    it.checked = info->hbmpChecked;
    it.unchecked = info->hbmpUnchecked;
  }
  if (info->fMask & MIIM_DATA) it.data = info->dwItemData;
  if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) it.type = info->fType;
  if (info->fMask & MIIM_BITMAP) it.bitmap = info->hbmpItem;
  if ((info->fMask & MIIM_TYPE) && (it.type & MF_BITMAP))
    it.bitmap = reinterpret_cast<HBITMAP>(info->dwTypeData);
  else if ((info->fMask & (MIIM_TYPE | MIIM_STRING)) && !(it.type & (MF_SEPARATOR | MF_OWNERDRAW)))
    it.text = info->dwTypeData ? info->dwTypeData : "";
}
}  // namespace

BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOA info) {
  if (!info) return FALSE;
  std::lock_guard lock(MenuMutex());
  MenuItem* found = ItemOf(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!found) {
    ::SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return FALSE;
  }
  Apply(*found, info);
  return TRUE;
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOA info) {
  if (!info) return FALSE;
  std::lock_guard lock(MenuMutex());
  if (!InsertMenuA(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, 0, "")) return FALSE;
  HMENU owner = nullptr;
  int i = LocateItem(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, &owner);
  auto m = FindMenu(owner ? owner : menu);
  if (i < 0) i = static_cast<int>(m->items.size()) - 1;  // appended at the end
  Apply(m->items[static_cast<size_t>(i)], info);
  return TRUE;
}

BOOL SetMenuItemBitmaps(HMENU menu, UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked) {
  std::lock_guard lock(MenuMutex());
  MenuItem* it = ItemOf(menu, position, flags);
  if (!it) return FALSE;
  it->checked = checked;
  it->unchecked = unchecked;
  return TRUE;
}

LONG GetMenuCheckMarkDimensions() {
  return MAKELONG(GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK));
}

BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT hilite) {
  {
    std::lock_guard lock(MenuMutex());
    MenuItem* it = ItemOf(menu, item, hilite);
    if (!it) return FALSE;
    it->state = (it->state & ~MF_HILITE) | (hilite & MF_HILITE);
  }
  DrawMenuBar(hwnd);
  return TRUE;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT uItem, UINT fByPos) {
  std::lock_guard lock(MenuMutex());
  auto m = FindMenu(menu);
  if (!m) {
    ::SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  // Only items of this menu itself can be its default.
  int at = -1;
  if (uItem != static_cast<UINT>(-1)) {
    for (size_t i = 0; i < m->items.size(); ++i) {
      const MenuItem& it = m->items[i];
      const bool match = fByPos ? i == uItem
                                : !(it.type & MF_SEPARATOR) && static_cast<UINT>(it.id) == uItem;
      if (match) {
        at = static_cast<int>(i);
        break;
      }
    }
    if (at < 0) {
      ::SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
      return FALSE;
    }
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    if (static_cast<int>(i) == at) m->items[i].state |= MF_DEFAULT;
    else m->items[i].state &= ~MF_DEFAULT;
  }
  return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT fByPos, UINT gmdiFlags) {
  std::lock_guard lock(MenuMutex());
  // A chain of popups whose default items open popups ends where one does not (or in
  // a loop of popups, which is cut).
  for (int depth = 0; depth < 32; ++depth) {
    auto m = FindMenu(menu);
    if (!m) {
      ::SetLastError(ERROR_INVALID_MENU_HANDLE);
      return static_cast<UINT>(-1);
    }
    auto it = std::find_if(m->items.begin(), m->items.end(), [](const MenuItem& i) { return (i.state & MF_DEFAULT) != 0; });
    if (it == m->items.end()) return static_cast<UINT>(-1);
    if (!(gmdiFlags & GMDI_USEDISABLED) && (it->state & (MF_GRAYED | MF_DISABLED))) return static_cast<UINT>(-1);
    if ((gmdiFlags & GMDI_GOINTOPOPUPS) && it->sub) {
      auto sub = FindMenu(it->sub);
      const bool deeper = sub && std::any_of(sub->items.begin(), sub->items.end(),
                                             [](const MenuItem& i) { return (i.state & MF_DEFAULT) != 0; });
      if (deeper) {
        menu = it->sub;
        continue;
      }
    }
    return fByPos ? static_cast<UINT>(it - m->items.begin()) : static_cast<UINT>(it->id);
  }
  return static_cast<UINT>(-1);
}

HMENU GetMenu(HWND hwnd) {
  auto w = FindWindowObject(hwnd);
  if (!w || (w->style & WS_CHILD)) return nullptr;
  return reinterpret_cast<HMENU>(w->id);
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  auto w = FindWindowObject(hwnd);
  if (!w || (w->style & WS_CHILD)) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (menu && !FindMenu(menu)) {
    ::SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  {
    std::lock_guard lock(UserMutex());
    w->id = reinterpret_cast<LONG_PTR>(menu);
  }
  // The client area shrinks or grows by the bar.
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) {
  if (!FindWindowObject(hwnd)) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // Only the frame is drawn again, at once; the client area keeps its pixels.
  if (IsWindowVisible(hwnd)) SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  return TRUE;
}

namespace plat::user {

// The classic template: a header of two words, then items, a popup's items after it. A
// template that runs past `size` bytes (or past a missing end mark) gives no menu;
// SIZE_MAX stands for a template whose size the caller does not know.
HMENU LoadMenuTemplate(const void* menuTemplate, size_t size) {
  if (!menuTemplate || size < 4) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const auto* p = static_cast<const WORD*>(menuTemplate);
  // Words left from `q` on (a template of unknown size never runs out).
  const size_t words = size / 2;
  auto past = [&](const WORD* q) { return size != SIZE_MAX && static_cast<size_t>(q - static_cast<const WORD*>(menuTemplate)) >= words; };
  if (p[0] != 0 || (size != SIZE_MAX && static_cast<size_t>(2 + p[1] / 2) > words)) {
    ::SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  p += 2 + p[1] / 2;
  HMENU menu = CreateMenu();
  std::vector<HMENU> stack{menu};
  auto fail = [&] {
    DestroyMenu(menu);
    ::SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  };
  while (!stack.empty()) {
    if (past(p)) return fail();
    WORD flags = *p++;
    WORD id = 0;
    if (!(flags & MF_POPUP)) {
      if (past(p)) return fail();
      id = *p++;
    }
    const WORD* t = p;
    while (!past(p) && *p) ++p;
    if (past(p)) return fail();
    std::string text = plat::rc::Utf16ToUtf8(reinterpret_cast<const uint16_t*>(t), static_cast<size_t>(p - t));
    ++p;
    UINT itemFlags = flags & ~(MF_END | MF_POPUP);
    if (flags & MF_POPUP) {
      HMENU sub = CreatePopupMenu();
      AppendMenuA(stack.back(), itemFlags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
      if (flags & MF_END) stack.back() = nullptr;  // the level closes once the popup's items are done
      stack.push_back(sub);
      continue;
    }
    if (id == 0 && text.empty() && !(flags & ~MF_END)) itemFlags |= MF_SEPARATOR;
    AppendMenuA(stack.back(), itemFlags, id, text.empty() ? nullptr : text.c_str());
    if (flags & MF_END) {
      stack.pop_back();
      while (!stack.empty() && stack.back() == nullptr) stack.pop_back();
    }
  }
  return menu;
}

}  // namespace plat::user

// The caller vouches for the template's size.
HMENU LoadMenuIndirectA(const void* menuTemplate) { return LoadMenuTemplate(menuTemplate, SIZE_MAX); }
