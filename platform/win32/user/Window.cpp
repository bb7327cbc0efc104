#include "Window.h"

#include "../controls/ControlSupport.h"

#include <strings.h>

#include <cstdio>

#include "../Config.h"
#include "../HandleTable.h"
#include "../LastError.h"
#include "../WinError.h"
#include <algorithm>
#include <cstring>

namespace plat::user {
namespace {

HandleTable<Window>& Table() {
  static HandleTable<Window> table(HandleKind::Window);
  return table;
}

struct ClassRegistry {
  std::vector<std::shared_ptr<WindowClass>> classes;
  ATOM nextAtom = 0xC000;
};
ClassRegistry& Classes() {
  static ClassRegistry registry;
  return registry;
}

}  // namespace

std::recursive_mutex& UserMutex() {
  static std::recursive_mutex m;
  return m;
}

std::shared_ptr<Window> FindWindowObject(HWND hwnd) { return Table().Find(HandleId(hwnd)); }

HWND InsertWindow(std::shared_ptr<Window> window) {
  uint32_t id = Table().Insert(window);
  if (!id) return nullptr;
  window->hwnd = ToHandle<HWND>(id);
  return window->hwnd;
}

void RemoveWindow(HWND hwnd) {
  Table().Remove(HandleId(hwnd));
}

std::vector<std::shared_ptr<Window>> AllWindows() {
  std::vector<std::shared_ptr<Window>> all;
  Table().ForEach([&](uint32_t, const std::shared_ptr<Window>& w) { all.push_back(w); });
  return all;
}

RECT ScreenRect() {
  // The virtual screen's size is a setting of the stand-in, "1280x1024" by default.
  std::string s = plat::config::Get("SCREEN", "1280x1024");
  int w = 1280, h = 1024;
  if (std::sscanf(s.c_str(), "%dx%d", &w, &h) != 2 || w < 320 || h < 200) {
    w = 1280;
    h = 1024;
  }
  return RECT{0, 0, w, h};
}

HWND DesktopHwnd() {
  static HWND desktop = [] {
    auto w = std::make_shared<Window>();
    w->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    w->rect = ScreenRect();
    w->client = w->rect;
    w->text = "";
    return InsertWindow(w);
  }();
  return desktop;
}

std::shared_ptr<WindowClass> FindClass(LPCSTR nameOrAtom, HINSTANCE instance) {
  // The standard controls exist before any window is looked up by class.
  static const bool controlsRegistered = (plat::controls::RegisterAll(), true);
  (void)controlsRegistered;
  std::lock_guard lock(UserMutex());
  auto& reg = Classes();
  if (IS_INTRESOURCE(nameOrAtom)) {
    ATOM atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(nameOrAtom));
    // The dialog class keeps its well-known atom.
    if (atom == 0x8002) return FindClass("#32770", instance);
    for (auto& c : reg.classes)
      if (c->atom == atom) return c;
    return nullptr;
  }
  // A class of the caller's module first, then classes any module can use.
  std::shared_ptr<WindowClass> anyModule;
  for (auto& c : reg.classes) {
    if (strcasecmp(c->name.c_str(), nameOrAtom) != 0) continue;
    if (c->instance == instance) return c;
    if (!anyModule || c->system || (c->style & CS_GLOBALCLASS)) anyModule = c;
  }
  return anyModule;
}

namespace {
ATOM Register(const WNDCLASSEXA& wc, bool system) {
  if (!wc.lpszClassName || !wc.lpfnWndProc || wc.cbClsExtra < 0 || wc.cbWndExtra < 0 ||
      wc.cbClsExtra > 40000 || wc.cbWndExtra > 40000) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::lock_guard lock(UserMutex());
  auto& reg = Classes();
  for (auto& c : reg.classes)
    if (!IS_INTRESOURCE(wc.lpszClassName) && strcasecmp(c->name.c_str(), wc.lpszClassName) == 0 &&
        c->instance == wc.hInstance && c->system == system) {
      ::SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  auto c = std::make_shared<WindowClass>();
  c->name = wc.lpszClassName;
  c->atom = reg.nextAtom++;
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->clsExtra = wc.cbClsExtra;
  c->wndExtra = wc.cbWndExtra;
  c->instance = wc.hInstance;
  c->icon = wc.hIcon;
  c->iconSmall = wc.hIconSm;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  if (wc.lpszMenuName) {
    if (IS_INTRESOURCE(wc.lpszMenuName))
      c->menuId = reinterpret_cast<ULONG_PTR>(wc.lpszMenuName);
    else
      c->menuName = wc.lpszMenuName;
  }
  c->extra.assign(static_cast<size_t>(wc.cbClsExtra), 0);
  c->system = system;
  reg.classes.push_back(c);
  return c->atom;
}
}  // namespace

ATOM RegisterSystemClass(const WNDCLASSEXA& wc) { return Register(wc, true); }

LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto w = FindWindowObject(hwnd);
  if (!w) return 0;
  WNDPROC proc;
  {
    std::lock_guard lock(UserMutex());
    proc = w->proc;
  }
  return proc ? proc(hwnd, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

POINT ClientOrigin(const Window& w) {
  POINT p{w.client.left, w.client.top};
  HWND parent = w.parent;
  while (parent && parent != DesktopHwnd()) {
    auto pw = FindWindowObject(parent);
    if (!pw) break;
    p.x += pw->client.left;
    p.y += pw->client.top;
    parent = pw->parent;
  }
  return p;
}

RECT ScreenWindowRect(const Window& w) {
  RECT r = w.rect;
  HWND parent = w.parent;
  while (parent && parent != DesktopHwnd()) {
    auto pw = FindWindowObject(parent);
    if (!pw) break;
    r.left += pw->client.left;
    r.right += pw->client.left;
    r.top += pw->client.top;
    r.bottom += pw->client.top;
    parent = pw->parent;
  }
  return r;
}

RECT FrameInsets(DWORD style, DWORD exStyle, bool hasMenu) {
  RECT in{0, 0, 0, 0};
  auto add = [&](int n) {
    in.left += n;
    in.top += n;
    in.right += n;
    in.bottom += n;
  };
  bool child = (style & WS_CHILD) != 0;
  if (style & WS_THICKFRAME) {
    add(GetSystemMetrics(SM_CXFRAME));
  } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    add(GetSystemMetrics(SM_CXDLGFRAME));
  } else if (style & WS_BORDER) {
    add(GetSystemMetrics(SM_CXBORDER));
  }
  if (exStyle & WS_EX_CLIENTEDGE) add(GetSystemMetrics(SM_CXEDGE));
  if (exStyle & WS_EX_STATICEDGE) add(GetSystemMetrics(SM_CXBORDER));
  if ((style & WS_CAPTION) == WS_CAPTION)
    in.top += (exStyle & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
  if (hasMenu && !child) in.top += GetSystemMetrics(SM_CYMENU);
  if (style & WS_VSCROLL) in.right += GetSystemMetrics(SM_CXVSCROLL);
  if (style & WS_HSCROLL) in.bottom += GetSystemMetrics(SM_CYHSCROLL);
  return in;
}

}  // namespace plat::user

using plat::user::FindWindowObject;
using plat::user::UserMutex;

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEXA)) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return plat::user::Register(*wc, false);
}

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXA ex{sizeof(WNDCLASSEXA), wc->style, wc->lpfnWndProc, wc->cbClsExtra, wc->cbWndExtra, wc->hInstance,
                 wc->hIcon, wc->hCursor, wc->hbrBackground, wc->lpszMenuName, wc->lpszClassName, nullptr};
  return plat::user::Register(ex, false);
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance) {
  std::lock_guard lock(UserMutex());
  auto c = plat::user::FindClass(className, instance);
  if (!c || c->system) {
    ::SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  for (auto& w : plat::user::AllWindows())
    if (w->cls == c) {
      ::SetLastError(ERROR_ACCESS_DENIED);  // windows of the class still exist
      return FALSE;
    }
  auto& list = plat::user::Classes().classes;
  std::erase(list, c);
  return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, LPWNDCLASSEXA wc) {
  auto c = plat::user::FindClass(className, instance);
  if (!c || !wc) {
    ::SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  wc->cbSize = sizeof(WNDCLASSEXA);
  wc->style = c->style;
  wc->lpfnWndProc = c->proc;
  wc->cbClsExtra = c->clsExtra;
  wc->cbWndExtra = c->wndExtra;
  wc->hInstance = c->instance;
  wc->hIcon = c->icon;
  wc->hCursor = c->cursor;
  wc->hbrBackground = c->background;
  wc->lpszMenuName = c->menuId ? reinterpret_cast<LPCSTR>(c->menuId) : (c->menuName.empty() ? nullptr : c->menuName.c_str());
  wc->lpszClassName = c->name.c_str();
  wc->hIconSm = c->iconSmall;
  return c->atom;
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA wc) {
  WNDCLASSEXA ex{};
  if (!GetClassInfoExA(instance, className, &ex) || !wc) return FALSE;
  *wc = WNDCLASSA{ex.style, ex.lpfnWndProc, ex.cbClsExtra, ex.cbWndExtra, ex.hInstance, ex.hIcon,
                  ex.hCursor, ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
  return TRUE;
}

int GetClassNameA(HWND hwnd, LPSTR name, int max) {
  auto w = FindWindowObject(hwnd);
  if (!w || !w->cls || !name || max <= 0) {
    ::SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  size_t n = std::min(w->cls->name.size(), static_cast<size_t>(max - 1));
  w->cls->name.copy(name, n);
  name[n] = '\0';
  return static_cast<int>(n);
}

ULONG_PTR GetClassLongPtrA(HWND hwnd, int index) {
  auto w = FindWindowObject(hwnd);
  if (!w || !w->cls) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  std::lock_guard lock(UserMutex());
  auto& c = *w->cls;
  switch (index) {
    case GCL_STYLE: return c.style;
    case GCL_WNDPROC: return reinterpret_cast<ULONG_PTR>(c.proc);
    case GCL_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c.background);
    case GCL_HCURSOR: return reinterpret_cast<ULONG_PTR>(c.cursor);
    case GCL_HICON: return reinterpret_cast<ULONG_PTR>(c.icon);
    case GCL_HICONSM: return reinterpret_cast<ULONG_PTR>(c.iconSmall);
    case GCL_HMODULE: return reinterpret_cast<ULONG_PTR>(c.instance);
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(c.wndExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(c.clsExtra);
    case GCW_ATOM: return c.atom;
    default:
      if (index >= 0 && static_cast<size_t>(index) + sizeof(ULONG_PTR) <= c.extra.size()) {
        ULONG_PTR v;
        std::memcpy(&v, c.extra.data() + index, sizeof v);
        return v;
      }
  }
  ::SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

ULONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  auto w = FindWindowObject(hwnd);
  if (!w || !w->cls) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  ULONG_PTR old = GetClassLongPtrA(hwnd, index);
  std::lock_guard lock(UserMutex());
  auto& c = *w->cls;
  switch (index) {
    case GCL_STYLE: c.style = static_cast<UINT>(value); break;
    case GCL_WNDPROC: c.proc = reinterpret_cast<WNDPROC>(value); break;
    case GCL_HBRBACKGROUND: c.background = reinterpret_cast<HBRUSH>(value); break;
    case GCL_HCURSOR: c.cursor = reinterpret_cast<HCURSOR>(value); break;
    case GCL_HICON: c.icon = reinterpret_cast<HICON>(value); break;
    case GCL_HICONSM: c.iconSmall = reinterpret_cast<HICON>(value); break;
    default:
      if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= c.extra.size()) {
        std::memcpy(c.extra.data() + index, &value, sizeof value);
        break;
      }
      ::SetLastError(ERROR_INVALID_INDEX);
      return 0;
  }
  return old;
}

DWORD GetClassLongA(HWND hwnd, int index) { return static_cast<DWORD>(GetClassLongPtrA(hwnd, index)); }
DWORD SetClassLongA(HWND hwnd, int index, LONG value) {
  return static_cast<DWORD>(SetClassLongPtrA(hwnd, index, value));
}
