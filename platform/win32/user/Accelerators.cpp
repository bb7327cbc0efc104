// Accelerator tables and the translation of keys into commands.
#include <vector>

#include "../HandleTable.h"
#include "../LastError.h"
#include "../WinError.h"
#include "Menu.h"
#include "ResourceLookup.h"

namespace plat::user {
namespace {

struct AccelTable {
  std::vector<ACCEL> entries;
};

HandleTable<AccelTable>& Tables() {
  static HandleTable<AccelTable> table(HandleKind::User);
  return table;
}

HACCEL Add(std::vector<ACCEL> entries) {
  auto t = std::make_shared<AccelTable>();
  t->entries = std::move(entries);
  return ToHandle<HACCEL>(Tables().Insert(std::move(t)));
}

bool Held(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

bool Matches(const ACCEL& a, const MSG& m) {
  const bool alt = Held(VK_MENU);
  if (a.fVirt & FVIRTKEY) {
    if (m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN) return false;
    if (a.key != static_cast<WORD>(m.wParam)) return false;
    return ((a.fVirt & FSHIFT) != 0) == Held(VK_SHIFT) && ((a.fVirt & FCONTROL) != 0) == Held(VK_CONTROL) &&
           ((a.fVirt & FALT) != 0) == alt;
  }
  // Character entries ("^S", "a") match the character the key made.
  if (m.message != WM_CHAR && m.message != WM_SYSCHAR) return false;
  return a.key == static_cast<WORD>(m.wParam & 0xFFFF) && ((a.fVirt & FALT) != 0) == alt;
}

// Whether `cmd` is an item of the window's menu that is disabled; `system` when it is
// found in the system menu instead.
bool Disabled(HWND hwnd, WORD cmd, bool* system) {
  *system = false;
  HMENU menu = GetMenu(hwnd);
  if (menu) {
    if (LocateItem(menu, cmd, MF_BYCOMMAND, nullptr) >= 0)
      return (GetMenuState(menu, cmd, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) != 0;
  }
  // Windows with a system menu find its commands there (SC_CLOSE and the like).
  HMENU sys = (GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU) ? GetSystemMenu(hwnd, FALSE) : nullptr;
  if (sys && LocateItem(sys, cmd, MF_BYCOMMAND, nullptr) >= 0) {
    *system = true;
    return (GetMenuState(sys, cmd, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) != 0;
  }
  return false;
}

}  // namespace
}  // namespace plat::user

using namespace plat::user;

HACCEL CreateAcceleratorTableA(LPACCEL accels, int count) {
  if (!accels || count <= 0) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Add(std::vector<ACCEL>(accels, accels + count));
}

HACCEL LoadAcceleratorsA(HINSTANCE instance, LPCSTR name) {
  const plat::rc::Entry* e = FindEntry(instance, name, RT_ACCELERATOR);
  if (!e) {
    ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  // Eight bytes an entry: flags, key, command, padding; the last entry has bit 0x80.
  std::vector<ACCEL> entries;
  for (uint32_t off = 0; off + 8 <= e->size; off += 8) {
    const unsigned char* p = e->data + off;
    WORD flags = static_cast<WORD>(p[0] | (p[1] << 8));
    entries.push_back(ACCEL{static_cast<BYTE>(flags & 0x7F), static_cast<WORD>(p[2] | (p[3] << 8)),
                            static_cast<WORD>(p[4] | (p[5] << 8))});
    if (flags & 0x80) break;
  }
  return Add(std::move(entries));
}

BOOL DestroyAcceleratorTable(HACCEL table) { return Tables().Remove(plat::HandleId(table)) ? TRUE : FALSE; }

int CopyAcceleratorTableA(HACCEL table, LPACCEL out, int count) {
  auto t = Tables().Find(plat::HandleId(table));
  if (!t) return 0;
  if (!out) return static_cast<int>(t->entries.size());
  int n = std::min(count, static_cast<int>(t->entries.size()));
  for (int i = 0; i < n; ++i) out[i] = t->entries[static_cast<size_t>(i)];
  return n;
}

int TranslateAcceleratorA(HWND hwnd, HACCEL table, LPMSG msg) {
  auto t = Tables().Find(plat::HandleId(table));
  if (!t) {
    ::SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return 0;
  }
  if (!msg || !IsWindow(hwnd)) return 0;
  for (const ACCEL& a : t->entries) {
    if (!Matches(a, *msg)) continue;
    // The menu gets its chance to update its items' states first.
    if (HMENU menu = GetMenu(hwnd)) SendMessageA(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    bool system = false;
    if (Disabled(hwnd, a.cmd, &system)) return 1;  // the key is used up, the command not sent
    if (system) SendMessageA(hwnd, WM_SYSCOMMAND, a.cmd, 0);
    else SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
    return 1;
  }
  return 0;
}
