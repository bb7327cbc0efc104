// Creating and destroying windows, the tree, their data and their geometry.
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "../HandleTable.h"
#include "../LastError.h"
#include "../WinError.h"
#include "../WinUserUi.h"
#include "Focus.h"
#include "Hooks.h"
#include "MessageQueue.h"
#include "Painting.h"
#include "ScrollBars.h"
#include "Window.h"

using namespace plat::user;

namespace {

std::shared_ptr<Window> Get(HWND hwnd) {
  auto w = FindWindowObject(hwnd);
  if (!w) ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

bool IsTopLevel(const Window& w) { return w.parent == DesktopHwnd(); }

void Unlink(Window& w) {
  if (auto p = FindWindowObject(w.parent)) std::erase(p->children, w.hwnd);
}

// Owned windows stay above their owner, as Windows keeps them: when the owner moves in
// the z-order, the windows it owns (and theirs) come along, just above it. A topmost owned
// window of an owner that is not topmost stays in the topmost band, above it anyway.
void KeepOwnedAbove(std::vector<HWND>& list, const Window& owner) {
  auto ownedBy = [&](HWND h) {
    for (auto x = FindWindowObject(h); x && x->owner;) {
      if (x->owner == owner.hwnd) return true;
      x = FindWindowObject(x->owner);
    }
    return false;
  };
  const bool ownerTopmost = (owner.exStyle & WS_EX_TOPMOST) != 0;
  std::vector<HWND> lifted;
  for (HWND h : list) {
    auto x = FindWindowObject(h);
    if (x && ownedBy(h) && (ownerTopmost || !(x->exStyle & WS_EX_TOPMOST))) lifted.push_back(h);
  }
  if (lifted.empty()) return;
  std::erase_if(list, [&](HWND h) { return std::find(lifted.begin(), lifted.end(), h) != lifted.end(); });
  list.insert(std::find(list.begin(), list.end(), owner.hwnd), lifted.begin(), lifted.end());
}

// Places `w` in its parent's z-order after `after` (HWND_TOP, HWND_BOTTOM, HWND_TOPMOST ...).
void PlaceInZOrder(Window& w, HWND after) {
  auto p = FindWindowObject(w.parent);
  if (!p) return;
  auto& list = p->children;
  std::erase(list, w.hwnd);
  if (after == HWND_TOPMOST) {
    w.exStyle |= WS_EX_TOPMOST;
    after = HWND_TOP;
  } else if (after == HWND_NOTOPMOST) {
    w.exStyle &= ~WS_EX_TOPMOST;
    after = HWND_TOP;
  }
  auto isTopmost = [](HWND h) {
    auto x = FindWindowObject(h);
    return x && (x->exStyle & WS_EX_TOPMOST);
  };
  bool topmost = IsTopLevel(w) && (w.exStyle & WS_EX_TOPMOST);
  if (after == HWND_TOP) {
    // A normal window goes below every topmost one.
    auto it = list.begin();
    if (IsTopLevel(w) && !topmost)
      while (it != list.end() && isTopmost(*it)) ++it;
    list.insert(it, w.hwnd);
  } else if (after == HWND_BOTTOM) {
    if (topmost) w.exStyle &= ~WS_EX_TOPMOST;
    list.push_back(w.hwnd);
  } else {
    auto it = std::find(list.begin(), list.end(), after);
    list.insert(it == list.end() ? list.end() : it + 1, w.hwnd);
  }
  if (IsTopLevel(w)) KeepOwnedAbove(list, w);
}

RECT ComputeClient(HWND hwnd, const RECT& windowRect) {
  // The window answers WM_NCCALCSIZE with its client area in parent coordinates.
  NCCALCSIZE_PARAMS p{};
  p.rgrc[0] = windowRect;
  SendMessageA(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&p.rgrc[0]));
  RECT c = p.rgrc[0];
  c.right = std::max(c.right, c.left);
  c.bottom = std::max(c.bottom, c.top);
  return c;
}

void SendSizeAndMove(HWND hwnd, const Window& w) {
  LONG cw = w.client.right - w.client.left, ch = w.client.bottom - w.client.top;
  WPARAM kind = (w.style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w.style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
  SendMessageA(hwnd, WM_SIZE, kind, MAKELPARAM(cw, ch));
  SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(w.client.left, w.client.top));
}

void NotifyParent(const Window& w, UINT event) {
  if (!(w.style & WS_CHILD) || (w.exStyle & WS_EX_NOPARENTNOTIFY)) return;
  SendMessageA(w.parent, WM_PARENTNOTIFY, MAKEWPARAM(event, static_cast<WORD>(w.id)), reinterpret_cast<LPARAM>(w.hwnd));
}

std::vector<HWND> OwnedWindows(HWND owner) {
  std::vector<HWND> owned;
  for (auto& w : AllWindows())
    if (w->owner == owner && !w->destroying) owned.push_back(w->hwnd);
  return owned;
}

void SendDestroy(HWND hwnd) {
  auto w = FindWindowObject(hwnd);
  if (!w) return;
  SendMessageA(hwnd, WM_DESTROY, 0, 0);
  std::vector<HWND> children;
  {
    std::lock_guard lock(UserMutex());
    children = w->children;
  }
  for (HWND c : children) SendDestroy(c);
}

void SendNcDestroy(HWND hwnd) {
  auto w = FindWindowObject(hwnd);
  if (!w) return;
  std::vector<HWND> children;
  {
    std::lock_guard lock(UserMutex());
    children = w->children;
  }
  for (HWND c : children) SendNcDestroy(c);
  SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
  // The window takes its menu bar and its copy of the system menu with it.
  {
    HMENU bar = (w->style & WS_CHILD) ? nullptr : reinterpret_cast<HMENU>(w->id);
    HMENU sys = w->sysMenu;
    if (bar) DestroyMenu(bar);
    if (sys) DestroyMenu(sys);
  }
  KillWindowTimers(hwnd);
  ForgetScrollBars(hwnd);
  ForgetPaint(hwnd);
  ForgetWindowState(hwnd);
  {
    std::lock_guard lock(UserMutex());
    Unlink(*w);
    w->children.clear();
  }
  RemoveWindow(hwnd);
}

LONG_PTR ReadExtra(const Window& w, int index, size_t size) {
  if (index < 0 || static_cast<size_t>(index) + size > w.extra.size()) {
    ::SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  LONG_PTR v = 0;
  std::memcpy(&v, w.extra.data() + index, size);
  if (size == sizeof(LONG)) v = static_cast<LONG>(v);
  return v;
}

}  // namespace

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  auto cls = FindClass(className, instance);
  if (!cls) {
    ::SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if ((style & WS_CHILD) && (!parent || !FindWindowObject(parent))) {
    ::SetLastError(parent ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto w = std::make_shared<Window>();
  w->cls = cls;
  w->proc = cls->proc;
  w->style = style & ~WS_VISIBLE;  // shown at the end of creation
  w->exStyle = exStyle;
  w->instance = instance;
  w->threadId = CurrentQueue()->threadId;  // the thread's queue exists from its first window on
  w->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
  w->text = windowName && !IS_INTRESOURCE(windowName) ? windowName : "";
  if (style & WS_CHILD) {
    w->parent = parent;
    w->id = reinterpret_cast<LONG_PTR>(menu);
  } else {
    w->parent = DesktopHwnd();
    w->owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    w->id = reinterpret_cast<LONG_PTR>(menu);
    if (!(style & WS_POPUP)) w->style |= WS_CLIPSIBLINGS;
    if ((style & (WS_POPUP | WS_CHILD)) == 0) w->style |= WS_CAPTION;  // overlapped windows always have one
  }
  // Default placement of overlapped windows.
  RECT screen = ScreenRect();
  if (!(style & (WS_CHILD | WS_POPUP))) {
    if (x == CW_USEDEFAULT) {
      x = 32;
      y = 32;
    }
    if (width == CW_USEDEFAULT) {
      width = screen.right * 3 / 4;
      height = screen.bottom * 3 / 4;
    }
  }
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) width = height = 0;
  w->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
  w->client = w->rect;
  HWND hwnd = InsertWindow(w);
  if (!hwnd) {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  {
    std::lock_guard lock(UserMutex());
    if (auto p = FindWindowObject(w->parent)) {
      if (IsTopLevel(*w))
        PlaceInZOrder(*w, HWND_TOP);
      else
        p->children.push_back(hwnd);  // below its older siblings: the first child stays on top, so tab order is creation order
    }
  }
  CREATESTRUCTA cs{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style), windowName, className, exStyle};
  // A creation hook sees the window before its first message (frameworks attach their
  // objects here) and may refuse it.
  if (HasHooks(WH_CBT)) {
    CBT_CREATEWNDA cbt{&cs, HWND_TOP};
    if (RunHooks(WH_CBT, HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&cbt))) {
      SendNcDestroy(hwnd);
      ::SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
  }
  if (!(style & WS_CHILD) && (style & (WS_THICKFRAME | WS_CAPTION))) {
    MINMAXINFO mmi{};
    mmi.ptMaxSize = POINT{screen.right, screen.bottom};
    mmi.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    w->rect.right = w->rect.left + std::clamp<LONG>(w->rect.right - w->rect.left, 0, mmi.ptMaxTrackSize.x);
    w->rect.bottom = w->rect.top + std::clamp<LONG>(w->rect.bottom - w->rect.top, 0, mmi.ptMaxTrackSize.y);
  }
  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    SendNcDestroy(hwnd);
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  w->created = true;
  w->client = ComputeClient(hwnd, w->rect);
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  SendSizeAndMove(hwnd, *w);
  NotifyParent(*w, WM_CREATE);
  if (!IsWindow(hwnd)) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(hwnd, (style & WS_CHILD) ? SW_SHOW : SW_SHOWNORMAL);
  return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  auto w = Get(hwnd);
  if (!w || hwnd == DesktopHwnd()) return FALSE;
  if (w->threadId != CurrentThreadId()) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (w->destroying) return TRUE;
  w->destroying = true;
  for (HWND owned : OwnedWindows(hwnd)) DestroyWindow(owned);
  if (w->style & WS_VISIBLE)
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  LeaveWindowState(hwnd);
  NotifyParent(*w, WM_DESTROY);
  SendDestroy(hwnd);
  SendNcDestroy(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return FindWindowObject(hwnd) != nullptr; }

HWND GetDesktopWindow() { return DesktopHwnd(); }

HWND GetParent(HWND hwnd) {
  auto w = Get(hwnd);
  if (!w) return nullptr;
  if (w->style & WS_CHILD) return w->parent;
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  for (auto w = FindWindowObject(hwnd); w && (w->style & WS_CHILD); w = FindWindowObject(w->parent))
    if (w->parent == parent) return TRUE;
  return FALSE;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  auto w = Get(hwnd);
  if (!w || hwnd == DesktopHwnd()) return nullptr;
  if (flags == GA_PARENT) return w->parent;
  while ((w->style & WS_CHILD) && w->parent != DesktopHwnd()) {
    auto p = FindWindowObject(w->parent);
    if (!p) break;
    w = p;
  }
  if (flags == GA_ROOTOWNER)
    while (w->owner) {
      auto o = FindWindowObject(w->owner);
      if (!o) break;
      w = o;
    }
  return w->hwnd;
}

HWND SetParent(HWND child, HWND newParent) {
  auto w = Get(child);
  if (!w) return nullptr;
  if (!newParent) newParent = DesktopHwnd();
  auto np = Get(newParent);
  if (!np) return nullptr;
  HWND old;
  {
    std::lock_guard lock(UserMutex());
    old = w->parent;
    // Keep the window where it is on the screen relative to the new parent's client area.
    Unlink(*w);
    w->parent = newParent;
    np->children.insert(np->children.begin(), child);
  }
  // What it covered in the old parent shows again; in the new one it is drawn on top.
  if ((w->style & WS_VISIBLE) && old != newParent) {
    if (FindWindowObject(old)) Redraw(old, &w->rect, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    Redraw(child, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  }
  return old;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  auto w = Get(hwnd);
  if (!w) return nullptr;
  std::lock_guard lock(UserMutex());
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (cmd == GW_OWNER) return w->owner;
  if (cmd == GW_ENABLEDPOPUP) {
    for (HWND h : OwnedWindows(hwnd)) {
      auto o = FindWindowObject(h);
      if (o && (o->style & WS_VISIBLE) && !(o->style & WS_DISABLED)) return h;
    }
    return nullptr;
  }
  auto p = FindWindowObject(w->parent);
  if (!p) return nullptr;
  auto& list = p->children;
  auto it = std::find(list.begin(), list.end(), hwnd);
  switch (cmd) {
    case GW_HWNDFIRST: return list.empty() ? nullptr : list.front();
    case GW_HWNDLAST: return list.empty() ? nullptr : list.back();
    case GW_HWNDNEXT: return (it == list.end() || it + 1 == list.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == list.end() || it == list.begin()) ? nullptr : *(it - 1);
    default: ::SetLastError(ERROR_INVALID_GW_COMMAND); return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) { return GetWindow(hwnd ? hwnd : DesktopHwnd(), GW_CHILD); }
HWND GetNextWindow(HWND hwnd, UINT cmd) { return GetWindow(hwnd, cmd); }

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  if (!parent) parent = DesktopHwnd();
  auto w = Get(parent);
  if (!w || !proc) return FALSE;
  std::vector<HWND> children;
  {
    std::lock_guard lock(UserMutex());
    children = w->children;
  }
  // Every descendant, depth first, each before its own children.
  for (HWND c : children) {
    if (!IsWindow(c)) continue;
    if (!proc(c, lParam)) return FALSE;
    if (!EnumChildWindows(c, proc, lParam)) return FALSE;
  }
  return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  for (HWND h : TopLevelWindows())
    if (IsWindow(h) && !proc(h, lParam)) return FALSE;
  return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam) {
  for (HWND h : TopLevelWindows()) {
    auto w = FindWindowObject(h);
    if (w && w->threadId == threadId && !proc(h, lParam)) return FALSE;
  }
  return TRUE;
}

HWND FindWindowExA(HWND parent, HWND childAfter, LPCSTR className, LPCSTR windowName) {
  auto p = Get(parent ? parent : DesktopHwnd());
  if (!p) return nullptr;
  std::vector<HWND> children;
  {
    std::lock_guard lock(UserMutex());
    children = p->children;
  }
  auto it = children.begin();
  if (childAfter) {
    it = std::find(children.begin(), children.end(), childAfter);
    if (it != children.end()) ++it;
  }
  for (; it != children.end(); ++it) {
    auto w = FindWindowObject(*it);
    if (!w) continue;
    if (className) {
      if (IS_INTRESOURCE(className) ? (w->cls->atom != static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(className)))
                                    : strcasecmp(w->cls->name.c_str(), className) != 0)
        continue;
    }
    if (windowName && w->text != windowName) continue;
    return *it;
  }
  return nullptr;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
  return FindWindowExA(nullptr, nullptr, className, windowName);
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
  auto w = Get(hwnd);
  if (!w) return 0;
  if (processId) *processId = static_cast<DWORD>(::getpid());
  return w->threadId;
}

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data) {
  auto w = Get(hwnd);
  if (!w || !name) return FALSE;
  std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name;
  std::lock_guard lock(UserMutex());
  for (auto& [k, v] : w->props)
    if (strcasecmp(k.c_str(), key.c_str()) == 0) {
      v = data;
      return TRUE;
    }
  w->props.emplace_back(key, data);
  return TRUE;
}

HANDLE GetPropA(HWND hwnd, LPCSTR name) {
  auto w = FindWindowObject(hwnd);
  if (!w || !name) return nullptr;
  std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name;
  std::lock_guard lock(UserMutex());
  for (auto& [k, v] : w->props)
    if (strcasecmp(k.c_str(), key.c_str()) == 0) return v;
  return nullptr;
}

BOOL SetWindowContextHelpId(HWND hwnd, DWORD helpId) {
  auto w = Get(hwnd);
  if (!w) return FALSE;
  std::lock_guard lock(UserMutex());
  w->contextHelpId = helpId;
  return TRUE;
}

DWORD GetWindowContextHelpId(HWND hwnd) {
  auto w = Get(hwnd);
  if (!w) return 0;
  std::lock_guard lock(UserMutex());
  return w->contextHelpId;
}

HANDLE RemovePropA(HWND hwnd, LPCSTR name) {
  auto w = FindWindowObject(hwnd);
  if (!w || !name) return nullptr;
  std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name;
  std::lock_guard lock(UserMutex());
  for (auto it = w->props.begin(); it != w->props.end(); ++it)
    if (strcasecmp(it->first.c_str(), key.c_str()) == 0) {
      HANDLE v = it->second;
      w->props.erase(it);
      return v;
    }
  return nullptr;
}

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
  auto w = Get(hwnd);
  if (!w) return 0;
  std::lock_guard lock(UserMutex());
  switch (index) {
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>((w->style & WS_CHILD) ? w->parent : w->owner);
    case GWL_USERDATA: return w->userData;
    case GWL_ID: return w->id;
    default: return ReadExtra(*w, index, sizeof(LONG_PTR));
  }
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  auto w = Get(hwnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtrA(hwnd, index);
  if (index == GWL_STYLE || index == GWL_EXSTYLE) {
    STYLESTRUCT ss{static_cast<DWORD>(old), static_cast<DWORD>(value)};
    SendMessageA(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    {
      std::lock_guard lock(UserMutex());
      (index == GWL_STYLE ? w->style : w->exStyle) = ss.styleNew;
    }
    SendMessageA(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    return old;
  }
  std::lock_guard lock(UserMutex());
  switch (index) {
    case GWL_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
    case GWL_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWL_HWNDPARENT: w->owner = reinterpret_cast<HWND>(value); break;
    case GWL_USERDATA: w->userData = value; break;
    case GWL_ID: w->id = value; break;
    default:
      if (index < 0 || static_cast<size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) {
        ::SetLastError(ERROR_INVALID_INDEX);
        return 0;
      }
      std::memcpy(w->extra.data() + index, &value, sizeof value);
  }
  return old;
}

LONG GetWindowLongA(HWND hwnd, int index) {
  // Pointers do not fit a LONG: those indexes are read with GetWindowLongPtrA.
  if (index == GWL_WNDPROC || index == GWL_HINSTANCE || index == GWL_HWNDPARENT) {
    auto v = GetWindowLongPtrA(hwnd, index);
    if (v != static_cast<LONG>(v)) {
      ::SetLastError(ERROR_INVALID_INDEX);
      return 0;
    }
    return static_cast<LONG>(v);
  }
  auto w = FindWindowObject(hwnd);
  if (w && index >= 0) {
    std::lock_guard lock(UserMutex());
    return static_cast<LONG>(ReadExtra(*w, index, sizeof(LONG)));
  }
  return static_cast<LONG>(GetWindowLongPtrA(hwnd, index));
}

LONG SetWindowLongA(HWND hwnd, int index, LONG value) {
  auto w = FindWindowObject(hwnd);
  if (w && index >= 0) {
    std::lock_guard lock(UserMutex());
    if (static_cast<size_t>(index) + sizeof(LONG) > w->extra.size()) {
      ::SetLastError(ERROR_INVALID_INDEX);
      return 0;
    }
    LONG old;
    std::memcpy(&old, w->extra.data() + index, sizeof old);
    std::memcpy(w->extra.data() + index, &value, sizeof value);
    return old;
  }
  return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, value));
}

WORD GetWindowWord(HWND hwnd, int index) { return static_cast<WORD>(GetWindowLongA(hwnd, index)); }

int GetDlgCtrlID(HWND hwnd) {
  auto w = Get(hwnd);
  return w && (w->style & WS_CHILD) ? static_cast<int>(w->id) : 0;
}

HWND GetDlgItem(HWND dialog, int id) {
  auto w = Get(dialog);
  if (!w) return nullptr;
  std::lock_guard lock(UserMutex());
  for (HWND c : w->children) {
    auto cw = FindWindowObject(c);
    if (cw && static_cast<int>(cw->id) == id) return c;
  }
  ::SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

int SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!Get(hwnd)) return FALSE;
  return static_cast<int>(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")));
}

int GetWindowTextA(HWND hwnd, LPSTR text, int max) {
  if (!text || max <= 0) return 0;
  text[0] = '\0';
  if (!Get(hwnd)) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthA(HWND hwnd) {
  if (!Get(hwnd)) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  auto w = Get(hwnd);
  if (!w || hwnd == DesktopHwnd()) return FALSE;
  WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
  {
    std::lock_guard lock(UserMutex());
    if (flags & SWP_NOMOVE) {
      pos.x = w->rect.left;
      pos.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
      pos.cx = w->rect.right - w->rect.left;
      pos.cy = w->rect.bottom - w->rect.top;
    }
  }
  if ((flags & SWP_SHOWWINDOW) && (w->style & WS_VISIBLE)) pos.flags &= ~SWP_SHOWWINDOW;
  if ((flags & SWP_HIDEWINDOW) && !(w->style & WS_VISIBLE)) pos.flags &= ~SWP_HIDEWINDOW;
  if (!(flags & SWP_NOSENDCHANGING)) SendMessageA(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  if (!IsWindow(hwnd)) return FALSE;
  pos.cx = std::max(pos.cx, 0);
  pos.cy = std::max(pos.cy, 0);
  RECT oldRect, oldClient;
  bool sized, moved, restacked = false, lowered = false;
  {
    std::lock_guard lock(UserMutex());
    oldRect = w->rect;
    oldClient = w->client;
    RECT nr{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    sized = (nr.right - nr.left) != (oldRect.right - oldRect.left) || (nr.bottom - nr.top) != (oldRect.bottom - oldRect.top);
    moved = nr.left != oldRect.left || nr.top != oldRect.top;
    w->rect = nr;
    if (!(pos.flags & SWP_NOZORDER)) {
      auto p = FindWindowObject(w->parent);
      std::vector<HWND> before = p ? p->children : std::vector<HWND>{};
      PlaceInZOrder(*w, pos.hwndInsertAfter);
      restacked = p && p->children != before;
      if (restacked) {
        auto at = [&](const std::vector<HWND>& list) { return std::find(list.begin(), list.end(), hwnd) - list.begin(); };
        lowered = at(p->children) > at(before);
      }
    }
    if (pos.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (pos.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
  }
  if (sized || moved || (pos.flags & SWP_FRAMECHANGED)) {
    RECT client = ComputeClient(hwnd, w->rect);
    std::lock_guard lock(UserMutex());
    w->client = client;
  }
  if (!sized) pos.flags |= SWP_NOSIZE;
  if (!moved) pos.flags |= SWP_NOMOVE;
  SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  if (!IsWindow(hwnd)) return TRUE;
  // What was uncovered in the parent and what the window shows now need painting.
  if (!(pos.flags & SWP_NOREDRAW)) {
    // A window sent down the z-order uncovers the siblings that now lie above it.
    if ((pos.flags & SWP_HIDEWINDOW) || sized || moved || lowered) {
      // The rectangle is in the parent's client coordinates already, as Redraw takes it.
      if (FindWindowObject(w->parent)) Redraw(w->parent, &oldRect, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    // A window raised above others shows parts that were covered: it paints them again.
    if ((pos.flags & SWP_SHOWWINDOW) || sized || moved || restacked || (pos.flags & SWP_FRAMECHANGED))
      Redraw(hwnd, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  }
  if (pos.flags & SWP_HIDEWINDOW) WindowHidden(hwnd);
  if ((pos.flags & SWP_SHOWWINDOW) && !(pos.flags & SWP_NOACTIVATE) && IsTopLevel(*w) && !(w->style & WS_CHILD))
    SetActiveWindow(hwnd);
  (void)oldClient;
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

namespace {
struct DeferBatch {
  std::vector<WINDOWPOS> positions;
};
plat::HandleTable<DeferBatch>& DeferTable() {
  static plat::HandleTable<DeferBatch> table(plat::HandleKind::DeferPos);
  return table;
}
}  // namespace

HDWP BeginDeferWindowPos(int count) {
  if (count < 0) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto batch = std::make_shared<DeferBatch>();
  batch->positions.reserve(static_cast<size_t>(count));
  return plat::ToHandle<HDWP>(DeferTable().Insert(batch));
}

HDWP DeferWindowPos(HDWP info, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  auto batch = DeferTable().Find(plat::HandleId(info));
  if (!batch || !IsWindow(hwnd)) {
    // A failed step ends the batch, as Windows does.
    DeferTable().Remove(plat::HandleId(info));
    ::SetLastError(batch ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_HANDLE);
    return nullptr;
  }
  for (auto& p : batch->positions)
    if (p.hwnd == hwnd) {
      p = WINDOWPOS{hwnd, insertAfter, x, y, cx, cy, flags};
      return info;
    }
  batch->positions.push_back(WINDOWPOS{hwnd, insertAfter, x, y, cx, cy, flags});
  return info;
}

BOOL EndDeferWindowPos(HDWP info) {
  auto batch = DeferTable().Remove(plat::HandleId(info));
  if (!batch) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  for (auto& p : batch->positions) SetWindowPos(p.hwnd, p.hwndInsertAfter, p.x, p.y, p.cx, p.cy, p.flags);
  return TRUE;
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

namespace {
// A minimised child lies at the bottom left of its parent's client area, after the
// siblings minimised before it.
RECT MinimizedChildRect(const Window& w) {
  RECT area{};
  GetClientRect(w.parent, &area);
  const int cx = GetSystemMetrics(SM_CXMINIMIZED), cy = GetSystemMetrics(SM_CYMINIMIZED);
  int n = 0;
  for (HWND h = GetWindow(w.parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (h != w.hwnd && IsIconic(h) && IsWindowVisible(h)) ++n;
  const int perRow = std::max(1, static_cast<int>(area.right) / cx);
  const int x = (n % perRow) * cx, y = static_cast<int>(area.bottom) - (n / perRow + 1) * cy;
  return RECT{x, y, x + cx, y + cy};
}
}  // namespace

BOOL ShowWindow(HWND hwnd, int cmd) {
  auto w = Get(hwnd);
  if (!w) return FALSE;
  bool wasVisible = (w->style & WS_VISIBLE) != 0;
  bool child = (w->style & WS_CHILD) != 0;
  UINT flags = SWP_NOMOVE | SWP_NOSIZE;
  switch (cmd) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      SendMessageA(hwnd, WM_SHOWWINDOW, FALSE, 0);
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags | SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
      return TRUE;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: {
      if (!(w->style & WS_MINIMIZE)) {
        RECT r;
        {
          std::lock_guard lock(UserMutex());
          if (!(w->style & WS_MAXIMIZE)) w->restore = w->rect;
          w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
          RECT screen = ScreenRect();
          r = RECT{0, screen.bottom - GetSystemMetrics(SM_CYMINIMIZED), GetSystemMetrics(SM_CXMINIMIZED), screen.bottom};
        }
        if (child) r = MinimizedChildRect(*w);
        if (!wasVisible) SendMessageA(hwnd, WM_SHOWWINDOW, TRUE, 0);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if (GetActiveWindow() == hwnd) SetActiveWindow(nullptr);
      }
      return wasVisible;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
      if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        RECT r;
        {
          std::lock_guard lock(UserMutex());
          w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
          r = w->restore;
        }
        if (!wasVisible) SendMessageA(hwnd, WM_SHOWWINDOW, TRUE, 0);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_SHOWWINDOW | SWP_FRAMECHANGED | (child ? SWP_NOACTIVATE | SWP_NOZORDER : 0));
        return wasVisible;
      }
      break;
    case SW_SHOWMAXIMIZED: {
      RECT screen = ScreenRect();
      {
        std::lock_guard lock(UserMutex());
        if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE))) w->restore = w->rect;
        w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
      }
      if (!wasVisible) SendMessageA(hwnd, WM_SHOWWINDOW, TRUE, 0);
      int f = GetSystemMetrics(SM_CXFRAME);
      if (child) {
        // A child fills its parent's client area, its frame just outside; the window
        // may ask for more (an MDI child hides its caption too).
        RECT area{};
        GetClientRect(w->parent, &area);
        RECT in = FrameInsets(w->style & ~WS_CAPTION, w->exStyle, false);
        MINMAXINFO mmi{};
        mmi.ptMaxPosition = POINT{-in.left, -in.top};
        mmi.ptMaxSize = POINT{area.right + in.left + in.right, area.bottom + in.top + in.bottom};
        SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        SetWindowPos(hwnd, nullptr, mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxSize.x, mmi.ptMaxSize.y,
                     SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE);
        return wasVisible;
      }
      SetWindowPos(hwnd, nullptr, -f, -f, screen.right + 2 * f, screen.bottom + 2 * f, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
      return wasVisible;
    }
    default:
      break;
  }
  bool activate = !child && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE;
  if (!wasVisible) SendMessageA(hwnd, WM_SHOWWINDOW, TRUE, 0);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               flags | SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE) | (child || !activate ? SWP_NOZORDER : 0));
  return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
  for (auto w = FindWindowObject(hwnd); w; w = FindWindowObject(w->parent)) {
    if (!(w->style & WS_VISIBLE)) return FALSE;
    if (!(w->style & WS_CHILD)) return TRUE;
  }
  return FALSE;
}

BOOL IsIconic(HWND hwnd) {
  auto w = FindWindowObject(hwnd);
  return w && (w->style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND hwnd) {
  auto w = FindWindowObject(hwnd);
  return w && (w->style & WS_MAXIMIZE);
}

BOOL OpenIcon(HWND hwnd) { return ShowWindow(hwnd, SW_RESTORE), TRUE; }

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  auto w = Get(hwnd);
  if (!w) return FALSE;
  bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (!enable && !wasDisabled) {
    SendMessageA(hwnd, WM_CANCELMODE, 0, 0);
    {
      std::lock_guard lock(UserMutex());
      w->style |= WS_DISABLED;
    }
    WindowDisabled(hwnd);
    SendMessageA(hwnd, WM_ENABLE, FALSE, 0);
  } else if (enable && wasDisabled) {
    {
      std::lock_guard lock(UserMutex());
      w->style &= ~WS_DISABLED;
    }
    SendMessageA(hwnd, WM_ENABLE, TRUE, 0);
  }
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  auto w = FindWindowObject(hwnd);
  return w && !(w->style & WS_DISABLED);
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  auto w = Get(hwnd);
  if (!w || !rect) return FALSE;
  std::lock_guard lock(UserMutex());
  *rect = ScreenWindowRect(*w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  auto w = Get(hwnd);
  if (!w || !rect) return FALSE;
  std::lock_guard lock(UserMutex());
  *rect = RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  auto w = Get(hwnd);
  if (!w || !point) return FALSE;
  std::lock_guard lock(UserMutex());
  POINT o = ClientOrigin(*w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  auto w = Get(hwnd);
  if (!w || !point) return FALSE;
  std::lock_guard lock(UserMutex());
  POINT o = ClientOrigin(*w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT a{0, 0}, b{0, 0};
  if (from && from != DesktopHwnd()) {
    auto w = Get(from);
    if (!w) return 0;
    std::lock_guard lock(UserMutex());
    a = ClientOrigin(*w);
  }
  if (to && to != DesktopHwnd()) {
    auto w = Get(to);
    if (!w) return 0;
    std::lock_guard lock(UserMutex());
    b = ClientOrigin(*w);
  }
  LONG dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(static_cast<SHORT>(dx)), static_cast<WORD>(static_cast<SHORT>(dy)));
}

namespace {
bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// What the hit test reads of one window, under the lock.
struct HitEntry {
  bool under = false;       // visible and the point lies in its window rectangle
  bool intoChildren = false;
  bool ownThread = false;
  bool disabledChild = false;  // the mouse over it reaches its parent
  std::vector<HWND> children;
};

HitEntry ReadHitEntry(HWND hwnd, POINT screen) {
  HitEntry e;
  std::lock_guard lock(UserMutex());
  auto w = FindWindowObject(hwnd);
  if (!w || !(w->style & WS_VISIBLE) || !Contains(ScreenWindowRect(*w), screen)) return e;
  e.under = true;
  e.ownThread = w->threadId == CurrentThreadId();
  e.disabledChild = (w->style & (WS_CHILD | WS_DISABLED)) == (WS_CHILD | WS_DISABLED);
  if (w->style & (WS_MINIMIZE | WS_DISABLED)) return e;
  POINT o = ClientOrigin(*w);
  RECT sc{o.x, o.y, o.x + w->client.right - w->client.left, o.y + w->client.bottom - w->client.top};
  e.intoChildren = Contains(sc, screen);
  if (e.intoChildren) e.children = w->children;
  return e;
}
}  // namespace

namespace plat::user {
// Children are tried before their parent and before the siblings below them. A window of
// this thread that answers HTTRANSPARENT (a group box over its radios, a tab control's
// body under its pages) lets the point through to what lies below it; windows of other
// threads are not asked, as the system asks only its caller's.
HWND HitTestPoint(HWND parent, POINT screen, int* hit) {
  std::vector<HWND> children;
  {
    std::lock_guard lock(UserMutex());
    auto p = FindWindowObject(parent);
    if (!p) return nullptr;
    children = p->children;
  }
  for (HWND c : children) {
    HitEntry e = ReadHitEntry(c, screen);
    if (!e.under) continue;
    // A disabled control takes no mouse input: its parent gets it (and can show its tip).
    if (e.disabledChild) return nullptr;
    if (e.intoChildren)
      if (HWND d = HitTestPoint(c, screen, hit)) return d;
    int code = kHitNotAsked;
    if (e.ownThread) code = static_cast<int>(SendMessageA(c, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
    if (code == HTTRANSPARENT) continue;
    if (hit) *hit = code;
    return c;
  }
  return nullptr;
}

}  // namespace plat::user

HWND WindowFromPoint(POINT point) { return HitTestPoint(DesktopHwnd(), point, nullptr); }

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
  auto p = Get(parent);
  if (!p) return nullptr;
  std::lock_guard lock(UserMutex());
  RECT client{0, 0, p->client.right - p->client.left, p->client.bottom - p->client.top};
  if (!Contains(client, point)) return nullptr;
  POINT o = ClientOrigin(*p);
  POINT screen{point.x + o.x, point.y + o.y};
  for (HWND c : p->children) {
    auto w = FindWindowObject(c);
    if (!w) continue;
    if ((flags & CWP_SKIPINVISIBLE) && !(w->style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (w->style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (w->exStyle & WS_EX_TRANSPARENT)) continue;
    if (Contains(ScreenWindowRect(*w), screen)) return c;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) { return ChildWindowFromPointEx(parent, point, CWP_ALL); }

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) return FALSE;
  RECT in = FrameInsets(style, exStyle, menu != FALSE);
  rect->left -= in.left;
  rect->top -= in.top;
  rect->right += in.right;
  rect->bottom += in.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }

namespace plat::user {
std::vector<HWND> TopLevelWindows() {
  auto d = FindWindowObject(DesktopHwnd());
  std::lock_guard lock(UserMutex());
  return d ? d->children : std::vector<HWND>{};
}
}  // namespace plat::user
