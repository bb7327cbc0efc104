// The window manager's records: classes, windows and the window tree.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../WinUser.h"

namespace plat::user {

struct WindowClass {
  std::string name;  // as registered; looked up without regard to case
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int clsExtra = 0;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON iconSmall = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::string menuName;
  ULONG_PTR menuId = 0;  // when the menu is named by id
  std::vector<BYTE> extra;
  bool system = false;  // registered by the stand-in for every process (BUTTON, EDIT ...)
};

struct Window {
  HWND hwnd = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // the desktop for top-level windows
  HWND owner = nullptr;
  std::vector<HWND> children;  // z-order, top first
  RECT rect{};                 // window rectangle in the parent's client coordinates
  RECT client{};               // client rectangle in the same coordinates
  RECT restore{};              // rectangle to restore after minimise or maximise
  std::string text;
  LONG_PTR id = 0;  // child id, or the menu of a top-level window
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  std::vector<BYTE> extra;
  DWORD threadId = 0;
  std::vector<std::pair<std::string, HANDLE>> props;
  HWND lastActivePopup = nullptr;
  bool destroying = false;
  bool created = false;  // WM_NCCREATE has been answered
  bool ncActive = false;  // the caption is drawn in the active colours
  HMENU sysMenu = nullptr;  // the window's own copy of the system menu, made on demand
  HICON iconBig = nullptr;  // WM_SETICON: the window's own icons, before its class's
  HICON iconSmall = nullptr;
  DWORD contextHelpId = 0;  // SetWindowContextHelpId
};

// Guards the tree, the classes and focus state. Window procedures are never called
// while it is held.
std::recursive_mutex& UserMutex();

std::shared_ptr<Window> FindWindowObject(HWND hwnd);
HWND InsertWindow(std::shared_ptr<Window> window);
void RemoveWindow(HWND hwnd);
std::vector<std::shared_ptr<Window>> AllWindows();

HWND DesktopHwnd();
RECT ScreenRect();

// The class registry (case-insensitive names, atoms).
std::shared_ptr<WindowClass> FindClass(LPCSTR nameOrAtom, HINSTANCE instance);
// Registers a class of the stand-in's own (the standard controls); `system` classes
// need no instance to be found.
ATOM RegisterSystemClass(const WNDCLASSEXA& wc);

// Calls the window's procedure on this thread; 0 for a window that is gone.
LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Rectangle of `hwnd` in screen coordinates (window or client area).
RECT ScreenWindowRect(const Window& w);
POINT ClientOrigin(const Window& w);

// The window under a screen point below `parent`, as the mouse reaches it (WindowFromPoint
// from the desktop). `hit`, when given, gets the window's WM_NCHITTEST answer, or
// kHitNotAsked for a window of another thread, which is not asked.
constexpr int kHitNotAsked = -100;
HWND HitTestPoint(HWND parent, POINT screen, int* hit);

// Non-client geometry of a style, as WM_NCCALCSIZE computes it by default.
RECT FrameInsets(DWORD style, DWORD exStyle, bool hasMenu);

}  // namespace plat::user
