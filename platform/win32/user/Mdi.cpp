// MDI: the client window that holds a frame's children, keeps their list in the frame's
// window menu, and puts a maximised child's system menu and buttons into the frame's
// menu bar and its title into the frame's ("Frame - [Child]").
#include "Mdi.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "../WinGdi.h"
#include "../WinUserUi.h"
#include "Menu.h"
#include "NonClient.h"
#include "Window.h"

namespace plat::user {
namespace {

constexpr int kListed = 9;  // children named in the window menu

struct MdiState {
  HWND client = nullptr, frame = nullptr;
  HMENU windowMenu = nullptr;
  UINT idFirst = 0;
  std::vector<HWND> children;  // children[i] has the id idFirst + i
  HWND active = nullptr;
  HWND maximised = nullptr;     // the child whose controls are in the frame's menu bar
  HMENU decorated = nullptr;    // the menu that carries them
  HMENU listedIn = nullptr;     // the menu that carries the window list
  bool separatorAdded = false;  // the list brought its own separator
  std::string frameTitle;       // the frame's own title, without the child's
  bool frameTitleKnown = false;
};

std::mutex& StatesMutex() {
  static std::mutex m;
  return m;
}
std::unordered_map<HWND, std::shared_ptr<MdiState>>& States() {
  static std::unordered_map<HWND, std::shared_ptr<MdiState>> s;
  return s;
}

std::shared_ptr<MdiState> StateOf(HWND client) {
  std::lock_guard lock(StatesMutex());
  auto it = States().find(client);
  return it == States().end() ? nullptr : it->second;
}

bool Alive(HWND h) {
  auto w = FindWindowObject(h);
  return w && !w->destroying;
}

bool IsMaxBitmap(HBITMAP b) {
  return b == HBMMENU_SYSTEM || b == HBMMENU_MBAR_RESTORE || b == HBMMENU_MBAR_MINIMIZE || b == HBMMENU_MBAR_CLOSE ||
         b == HBMMENU_MBAR_CLOSE_D || b == HBMMENU_MBAR_MINIMIZE_D;
}

std::string TextOf(HWND h) {
  auto w = FindWindowObject(h);
  if (!w) return {};
  std::lock_guard lock(UserMutex());
  return w->text;
}

// The frame's caption shows its own title, and the maximised child's in brackets.
void ComposeTitle(MdiState& s) {
  auto fw = FindWindowObject(s.frame);
  if (!fw) return;
  std::string text;
  {
    std::lock_guard lock(UserMutex());
    if (!s.frameTitleKnown) {
      s.frameTitle = fw->text;
      s.frameTitleKnown = true;
    }
    text = s.frameTitle;
  }
  if (s.maximised && Alive(s.maximised)) {
    std::string child = TextOf(s.maximised);
    if (!child.empty()) text += " - [" + child + "]";
  }
  bool changed;
  {
    std::lock_guard lock(UserMutex());
    changed = fw->text != text;
    fw->text = text;
  }
  if (changed && (fw->style & WS_CAPTION) == WS_CAPTION) PaintNonClient(s.frame);
}

void Undecorate(MdiState& s) {
  HMENU menu = s.decorated;
  s.decorated = nullptr;
  if (!menu) return;
  {
    std::lock_guard lock(MenuMutex());
    auto m = FindMenu(menu);
    if (!m) return;
    auto& items = m->items;
    items.erase(std::remove_if(items.begin(), items.end(),
                               [](const MenuItem& it) { return (it.type & MF_BITMAP) && IsMaxBitmap(it.bitmap); }),
                items.end());
  }
  if (IsWindow(s.frame) && GetMenu(s.frame) == menu) DrawMenuBar(s.frame);
}

// The maximised child's system menu goes first in the frame's bar, its minimise,
// restore and close buttons last, at the right end.
void Decorate(MdiState& s, HWND child) {
  HMENU menu = GetMenu(s.frame);
  if (s.decorated == menu && menu) return;
  Undecorate(s);
  if (!menu || !IsWindow(child)) return;
  HMENU sys = GetSystemMenu(child, FALSE);
  InsertMenuA(menu, 0, MF_BYPOSITION | MF_POPUP | MF_BITMAP, reinterpret_cast<UINT_PTR>(sys),
              reinterpret_cast<LPCSTR>(HBMMENU_SYSTEM));
  AppendMenuA(menu, MF_BITMAP | MF_RIGHTJUSTIFY, SC_MINIMIZE, reinterpret_cast<LPCSTR>(HBMMENU_MBAR_MINIMIZE));
  AppendMenuA(menu, MF_BITMAP, SC_RESTORE, reinterpret_cast<LPCSTR>(HBMMENU_MBAR_RESTORE));
  AppendMenuA(menu, MF_BITMAP, SC_CLOSE, reinterpret_cast<LPCSTR>(HBMMENU_MBAR_CLOSE));
  s.decorated = menu;
  DrawMenuBar(s.frame);
}

void SetMaximised(MdiState& s, HWND child) {
  if (s.maximised == child && (!child || s.decorated == GetMenu(s.frame))) {
    ComposeTitle(s);
    return;
  }
  s.maximised = child;
  if (child)
    Decorate(s, child);
  else
    Undecorate(s);
  ComposeTitle(s);
}

void RemoveList(MdiState& s) {
  HMENU menu = s.listedIn;
  s.listedIn = nullptr;
  if (!menu || !IsMenu(menu)) return;
  for (int i = 0; i < kListed; ++i) RemoveMenu(menu, s.idFirst + static_cast<UINT>(i), MF_BYCOMMAND);
  if (s.separatorAdded) {
    int n = GetMenuItemCount(menu);
    if (n > 0 && (GetMenuState(menu, static_cast<UINT>(n - 1), MF_BYPOSITION) & MF_SEPARATOR))
      RemoveMenu(menu, static_cast<UINT>(n - 1), MF_BYPOSITION);
  }
  s.separatorAdded = false;
}

// "&1 title" for each visible child in id order, the active one checked.
void RefreshList(MdiState& s) {
  RemoveList(s);
  HMENU menu = s.windowMenu;
  if (!menu || !IsMenu(menu)) return;
  std::vector<HWND> shown;
  for (HWND c : s.children)
    if (Alive(c) && (GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE)) shown.push_back(c);
  if (shown.empty()) return;
  if (GetMenuItemCount(menu) > 0) {
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    s.separatorAdded = true;
  }
  int n = 0;
  for (HWND c : shown) {
    if (n == kListed) break;
    std::string label = "&" + std::to_string(n + 1) + " " + TextOf(c);
    UINT id = static_cast<UINT>(GetWindowLongA(c, GWL_ID));
    AppendMenuA(menu, MF_STRING | (c == s.active ? MF_CHECKED : 0), id, label.c_str());
    ++n;
  }
  s.listedIn = menu;
}

RECT ClientArea(const MdiState& s) {
  RECT r{};
  GetClientRect(s.client, &r);
  return r;
}

// The client's children, top of the z-order first, that are alive and shown.
std::vector<HWND> ZOrder(const MdiState& s, bool withMinimised, bool skipDisabled) {
  std::vector<HWND> out;
  for (HWND h = GetWindow(s.client, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (std::find(s.children.begin(), s.children.end(), h) == s.children.end() || !Alive(h)) continue;
    if (!IsWindowVisible(h)) continue;
    if (!withMinimised && IsIconic(h)) continue;
    if (skipDisabled && !IsWindowEnabled(h)) continue;
    out.push_back(h);
  }
  return out;
}

bool FrameIsActive(const MdiState& s) { return GetActiveWindow() == GetAncestor(s.frame, GA_ROOT); }

// The old child hears of the change first, then the new one.
void Activate(MdiState& s, HWND child) {
  if (child && !Alive(child)) return;
  HWND old = s.active;
  if (old == child) return;
  const bool wasMaximised = old && Alive(old) && IsZoomed(old);
  s.active = child;
  if (old && IsWindow(old)) {
    SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
    SendMessageA(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
  }
  if (child) {
    // A maximised child hands its state on.
    if (wasMaximised && !IsZoomed(child)) {
      if (IsWindowVisible(old)) ShowWindow(old, SW_RESTORE);
      ShowWindow(child, SW_SHOWMAXIMIZED);
    }
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(child, WM_NCACTIVATE, FrameIsActive(s) ? TRUE : FALSE, 0);
    SendMessageA(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
    if (s.active == child && FrameIsActive(s)) {
      HWND f = GetFocus();
      if (!(f && (f == child || IsChild(child, f)))) SetFocus(child);
    }
  } else if (HWND f = GetFocus(); f && IsChild(s.client, f)) {
    SetFocus(s.client);
  }
  RefreshList(s);
}

void ChildGone(MdiState& s, HWND child) {
  auto it = std::find(s.children.begin(), s.children.end(), child);
  if (it == s.children.end()) return;
  const bool wasMaximised = s.maximised == child;
  s.children.erase(it);
  // Ids stay dense: the children after it move up one.
  for (size_t i = 0; i < s.children.size(); ++i)
    if (IsWindow(s.children[i])) SetWindowLongA(s.children[i], GWL_ID, static_cast<LONG>(s.idFirst + i));
  if (wasMaximised) SetMaximised(s, nullptr);
  if (s.active == child) {
    HWND next = nullptr;
    for (HWND h : ZOrder(s, true, false))
      if (h != child) {
        next = h;
        break;
      }
    Activate(s, next);
    if (next && wasMaximised && !IsIconic(next)) ShowWindow(next, SW_SHOWMAXIMIZED);
  }
  RefreshList(s);
}

HWND Create(MdiState& s, const MDICREATESTRUCTA* mcs) {
  if (!mcs) return nullptr;
  DWORD clientStyle = static_cast<DWORD>(GetWindowLongA(s.client, GWL_STYLE));
  DWORD style = mcs->style | WS_CHILD | WS_CLIPSIBLINGS;
  if (!(clientStyle & MDIS_ALLCHILDSTYLES))
    style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  const bool visible = (style & WS_VISIBLE) != 0;
  HWND previous = s.active && Alive(s.active) ? s.active : nullptr;
  const bool maximise = (style & WS_MAXIMIZE) || (visible && previous && IsZoomed(previous));
  const bool minimise = (style & WS_MINIMIZE) != 0;
  style &= ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
  RECT area = ClientArea(s);
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  int x = mcs->x, y = mcs->y, cx = mcs->cx, cy = mcs->cy;
  if (x == CW_USEDEFAULT) {
    int k = static_cast<int>(s.children.size()) % 8;
    x = y = k * step;
  }
  if (cx == CW_USEDEFAULT) {
    cx = std::max<int>(area.right * 3 / 4, GetSystemMetrics(SM_CXMINTRACK));
    cy = std::max<int>(area.bottom * 3 / 4, GetSystemMetrics(SM_CYMINTRACK));
  }
  const UINT id = s.idFirst + static_cast<UINT>(s.children.size());
  HWND h = CreateWindowExA(WS_EX_MDICHILD, mcs->szClass, mcs->szTitle, style, x, y, cx, cy, s.client,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                           static_cast<HINSTANCE>(mcs->hOwner), const_cast<MDICREATESTRUCTA*>(mcs));
  if (!h) return nullptr;
  s.children.push_back(h);
  if (minimise)
    ShowWindow(h, SW_SHOWMINNOACTIVE);
  else if (maximise && visible)
    ShowWindow(h, SW_SHOWMAXIMIZED);
  else if (visible)
    ShowWindow(h, SW_SHOW);
  if (!IsWindow(h)) return nullptr;
  if (visible) Activate(s, h);
  if (maximise && !IsZoomed(h) && IsWindowVisible(h)) ShowWindow(h, SW_SHOWMAXIMIZED);
  RefreshList(s);
  return h;
}

void Next(MdiState& s, HWND from, bool previous) {
  auto order = ZOrder(s, true, false);
  if (order.size() < 2) return;
  HWND current = from && Alive(from) ? from : s.active;
  HWND target;
  if (previous) {
    target = order.back();
  } else {
    auto it = std::find(order.begin(), order.end(), current);
    target = (it == order.end() || it + 1 == order.end()) ? order.front() : *(it + 1);
  }
  if (target == current) return;
  Activate(s, target);
  if (!previous && current && Alive(current))
    SetWindowPos(current, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void RestoreMaximised(MdiState& s) {
  if (s.maximised && Alive(s.maximised) && IsZoomed(s.maximised)) ShowWindow(s.maximised, SW_RESTORE);
}

int IconRows(MdiState& s) {
  // Minimised children line up along the bottom of the client, left to right.
  RECT area = ClientArea(s);
  const int w = GetSystemMetrics(SM_CXMINIMIZED), h = GetSystemMetrics(SM_CYMINIMIZED);
  const int perRow = std::max<int>(1, area.right / w);
  int n = 0;
  for (HWND c : s.children) {
    if (!Alive(c) || !IsIconic(c)) continue;
    int x = (n % perRow) * w, y = area.bottom - (n / perRow + 1) * h;
    SetWindowPos(c, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ++n;
  }
  return n == 0 ? 0 : (n + perRow - 1) / perRow;
}

// What cascading and tiling share: the maximised child restored, the windows to place (the
// top of the z-order first) and the client area above the rows of icons.
std::vector<HWND> ArrangeSetUp(MdiState& s, UINT how, RECT& area) {
  RestoreMaximised(s);
  const int iconRows = IconRows(s);
  auto order = ZOrder(s, false, (how & MDITILE_SKIPDISABLED) != 0);
  area = ClientArea(s);
  area.bottom -= iconRows * GetSystemMetrics(SM_CYMINIMIZED);
  return order;
}

BOOL Cascade(MdiState& s, UINT how) {
  RECT area;
  auto order = ArrangeSetUp(s, how, area);
  if (order.empty()) return FALSE;
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  const int n = static_cast<int>(order.size());
  // Each window is the area less the offset of the last, but never under half of it;
  // the offsets start again when that would push a window out.
  int cx = std::max<int>(area.right - step * (n - 1), area.right / 2);
  int cy = std::max<int>(area.bottom - step * (n - 1), area.bottom / 2);
  int fit = std::max(1, std::min((area.right - cx) / step, (area.bottom - cy) / step) + 1);
  // The bottom of the z-order first, so the top window ends in front, furthest in.
  for (int i = 0; i < n; ++i) {
    HWND h = order[static_cast<size_t>(n - 1 - i)];
    int off = (i % fit) * step;
    SetWindowPos(h, HWND_TOP, off, off, cx, cy, SWP_NOACTIVATE);
  }
  return TRUE;
}

BOOL Tile(MdiState& s, UINT how) {
  RECT area;
  auto order = ArrangeSetUp(s, how, area);
  if (order.empty()) return FALSE;
  const int n = static_cast<int>(order.size());
  const int lines = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n))));
  // Horizontal tiling stacks wide windows in columns; vertical tiling puts tall
  // windows side by side in rows. The later lines take the odd windows.
  const bool horizontal = (how & MDITILE_HORIZONTAL) != 0;
  int index = 0;
  for (int line = 0; line < lines; ++line) {
    int inLine = n / lines + (line >= lines - n % lines ? 1 : 0);
    for (int k = 0; k < inLine; ++k, ++index) {
      RECT r;
      if (horizontal) {
        int colW = area.right / lines;
        r = RECT{line * colW, area.bottom * k / inLine, line == lines - 1 ? area.right : (line + 1) * colW,
                 area.bottom * (k + 1) / inLine};
      } else {
        int rowH = area.bottom / lines;
        r = RECT{area.right * k / inLine, line * rowH, area.right * (k + 1) / inLine,
                 line == lines - 1 ? area.bottom : (line + 1) * rowH};
      }
      SetWindowPos(order[static_cast<size_t>(index)], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE | SWP_NOZORDER);
    }
  }
  return TRUE;
}

LRESULT SetMenus(MdiState& s, HMENU frameMenu, HMENU windowMenu) {
  HMENU old = GetMenu(s.frame);
  if (frameMenu && frameMenu != old) {
    if (s.decorated) Undecorate(s);
    if (!IsMenu(frameMenu)) return 0;
    SetMenu(s.frame, frameMenu);
  }
  if (windowMenu && windowMenu != s.windowMenu) {
    RemoveList(s);
    s.windowMenu = IsMenu(windowMenu) ? windowMenu : nullptr;
  }
  if (s.maximised && Alive(s.maximised)) Decorate(s, s.maximised);
  RefreshList(s);
  return reinterpret_cast<LRESULT>(old);
}

LRESULT CALLBACK MdiClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto st = std::make_shared<MdiState>();
    st->client = hwnd;
    st->frame = GetParent(hwnd);
    if (cs && cs->lpCreateParams) {
      auto* ccs = static_cast<CLIENTCREATESTRUCT*>(cs->lpCreateParams);
      st->windowMenu = IsMenu(static_cast<HMENU>(ccs->hWindowMenu)) ? static_cast<HMENU>(ccs->hWindowMenu) : nullptr;
      st->idFirst = ccs->idFirstChild;
    }
    std::lock_guard lock(StatesMutex());
    States()[hwnd] = st;
    return 0;
  }
  auto s = StateOf(hwnd);
  if (!s) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCDESTROY: {
      RemoveList(*s);
      Undecorate(*s);
      std::lock_guard lock(StatesMutex());
      States().erase(hwnd);
      break;
    }
    case WM_MDICREATE:
      return reinterpret_cast<LRESULT>(Create(*s, reinterpret_cast<const MDICREATESTRUCTA*>(lParam)));
    case WM_MDIDESTROY: {
      HWND child = reinterpret_cast<HWND>(wParam);
      if (std::find(s->children.begin(), s->children.end(), child) == s->children.end()) return 0;
      ChildGone(*s, child);
      DestroyWindow(child);
      return 0;
    }
    case WM_MDIACTIVATE: {
      HWND child = reinterpret_cast<HWND>(wParam);
      if (std::find(s->children.begin(), s->children.end(), child) != s->children.end()) Activate(*s, child);
      return 0;
    }
    case WM_MDIGETACTIVE: {
      HWND a = s->active && IsWindow(s->active) ? s->active : nullptr;
      if (lParam) *reinterpret_cast<BOOL*>(lParam) = a && IsZoomed(a);
      return reinterpret_cast<LRESULT>(a);
    }
    case WM_MDINEXT:
      Next(*s, reinterpret_cast<HWND>(wParam), lParam != 0);
      return 0;
    case WM_MDIMAXIMIZE: {
      HWND child = reinterpret_cast<HWND>(wParam);
      if (std::find(s->children.begin(), s->children.end(), child) != s->children.end())
        ShowWindow(child, SW_SHOWMAXIMIZED);
      return 0;
    }
    case WM_MDIRESTORE: {
      HWND child = reinterpret_cast<HWND>(wParam);
      if (std::find(s->children.begin(), s->children.end(), child) != s->children.end())
        ShowWindow(child, SW_RESTORE);
      return 0;
    }
    case WM_MDITILE:
      return Tile(*s, static_cast<UINT>(wParam));
    case WM_MDICASCADE:
      return Cascade(*s, static_cast<UINT>(wParam));
    case WM_MDIICONARRANGE:
      IconRows(*s);
      return 0;
    case WM_MDISETMENU:
      return SetMenus(*s, reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam));
    case WM_MDIREFRESHMENU:
      RefreshList(*s);
      return reinterpret_cast<LRESULT>(GetMenu(s->frame));
    case WM_SETFOCUS:
      if (s->active && Alive(s->active) && !IsIconic(s->active)) SetFocus(s->active);
      return 0;
    case WM_SIZE:
      // A maximised child keeps filling the client.
      if (s->maximised && Alive(s->maximised) && IsZoomed(s->maximised)) {
        MINMAXINFO mmi{};
        SendMessageA(s->maximised, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        SetWindowPos(s->maximised, nullptr, mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxSize.x,
                     mmi.ptMaxSize.y, SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterMdiClientClass() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = MdiClientProc;
  wc.lpszClassName = "MDIClient";
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
  RegisterSystemClass(wc);
}

}  // namespace plat::user

using namespace plat::user;

LRESULT DefFrameProcA(HWND hwnd, HWND hwndMDIClient, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto s = hwndMDIClient ? StateOf(hwndMDIClient) : nullptr;
  if (!s) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_COMMAND: {
      if (lParam != 0) break;  // a control's notification
      const UINT id = LOWORD(wParam);
      if (id >= s->idFirst && id < s->idFirst + s->children.size()) {
        HWND child = s->children[id - s->idFirst];
        if (IsIconic(child)) ShowWindow(child, SW_RESTORE);
        Activate(*s, child);
        return 0;
      }
      // The maximised child's buttons in the bar are its system commands.
      if ((id & 0xF000) == 0xF000 && s->active && Alive(s->active) && IsZoomed(s->active)) {
        SendMessageA(s->active, WM_SYSCOMMAND, id, lParam);
        return 0;
      }
      break;
    }
    case WM_SETTEXT: {
      s->frameTitle = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      s->frameTitleKnown = true;
      ComposeTitle(*s);
      return TRUE;
    }
    case WM_SETFOCUS:
      if (IsWindow(hwndMDIClient) && !IsIconic(hwnd)) SetFocus(hwndMDIClient);
      return 0;
    case WM_SIZE:
      if (IsWindow(hwndMDIClient)) MoveWindow(hwndMDIClient, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_NCACTIVATE: {
      LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
      if (s->active && Alive(s->active)) SendMessageA(s->active, WM_NCACTIVATE, wParam, 0);
      return r;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT DefMDIChildProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND client = GetParent(hwnd);
  auto s = client ? StateOf(client) : nullptr;
  if (!s || std::find(s->children.begin(), s->children.end(), hwnd) == s->children.end())
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
      if (s->maximised == hwnd) ComposeTitle(*s);
      RefreshList(*s);
      return r;
    }
    case WM_CLOSE:
      SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd), 0);
      return 0;
    case WM_DESTROY:
      ChildGone(*s, hwnd);
      break;
    case WM_CHILDACTIVATE:
      Activate(*s, hwnd);
      return 0;
    case WM_MOUSEACTIVATE: {
      LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
      if (r != MA_NOACTIVATE && r != MA_NOACTIVATEANDEAT) Activate(*s, hwnd);
      return r;
    }
    case WM_SETFOCUS:
      if (s->active != hwnd) Activate(*s, hwnd);
      return 0;
    case WM_GETMINMAXINFO: {
      // Maximised, the child's frame and caption lie outside the client: only its
      // client area shows, and its title joins the frame's.
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
      auto w = FindWindowObject(hwnd);
      if (!mmi || !w) return 0;
      RECT in = FrameInsets(w->style, w->exStyle, false);
      RECT area{};
      GetClientRect(client, &area);
      mmi->ptMaxPosition = POINT{-in.left, -in.top};
      mmi->ptMaxSize = POINT{area.right + in.left + in.right, area.bottom + in.top + in.bottom};
      return 0;
    }
    case WM_SIZE:
      if (wParam == SIZE_MAXIMIZED) {
        if (s->maximised && s->maximised != hwnd && Alive(s->maximised) && IsZoomed(s->maximised))
          ShowWindow(s->maximised, SW_RESTORE);
        SetMaximised(*s, hwnd);
      } else if (s->maximised == hwnd) {
        SetMaximised(*s, nullptr);
      }
      break;
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
      if (pos && (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) RefreshList(*s);
      return r;
    }
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_NEXTWINDOW:
          SendMessageA(client, WM_MDINEXT, reinterpret_cast<WPARAM>(hwnd), 0);
          return 0;
        case SC_PREVWINDOW:
          SendMessageA(client, WM_MDINEXT, reinterpret_cast<WPARAM>(hwnd), 1);
          return 0;
        case SC_MAXIMIZE:
          if (IsZoomed(hwnd)) return SendMessageA(s->frame, WM_SYSCOMMAND, wParam, lParam);
          break;
        case SC_KEYMENU:
          if (IsZoomed(hwnd)) return SendMessageA(s->frame, WM_SYSCOMMAND, wParam, lParam);
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

BOOL TranslateMDISysAccel(HWND hwndClient, LPMSG lpMsg) {
  if (!lpMsg || (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN)) return FALSE;
  auto s = StateOf(hwndClient);
  if (!s || !(GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000)) return FALSE;
  HWND active = s->active;
  if (!active || !Alive(active) || !IsWindowEnabled(active)) return FALSE;
  UINT command;
  switch (lpMsg->wParam) {
    case VK_F4: command = SC_CLOSE; break;
    case VK_F6:
    case VK_TAB: command = (GetKeyState(VK_SHIFT) & 0x8000) ? SC_PREVWINDOW : SC_NEXTWINDOW; break;
    default: return FALSE;
  }
  SendMessageA(active, WM_SYSCOMMAND, command, MAKELPARAM(static_cast<WORD>(lpMsg->wParam), 0));
  return TRUE;
}
