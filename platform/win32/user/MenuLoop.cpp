// The modal loop that tracks the menu bar and popup menus by mouse and keyboard. It runs
// on the owner's thread, reads its queue itself, and lets other messages through.
#include <algorithm>
#include <cctype>

#include "../LastError.h"
#include "../WinError.h"
#include "Composition.h"
#include "Menu.h"
#include "MenuDraw.h"
#include "NcLayout.h"
#include "Window.h"

namespace plat::user {
namespace {

constexpr char kPopupClass[] = "#32768";
LRESULT CALLBACK PopupProc(HWND, UINT, WPARAM, LPARAM);

void RegisterPopupClass() {
  static bool done = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = PopupProc;
    wc.lpszClassName = kPopupClass;
    RegisterSystemClass(wc);
    return true;
  }();
  (void)done;
}

struct Level {
  HMENU menu = nullptr;
  HWND wnd = nullptr;  // null for the menu bar
  int sel = -1;
};

class Tracker;
thread_local Tracker* t_current = nullptr;

class Tracker {
 public:
  Tracker(HWND owner, bool bar, UINT flags, bool system)
      : owner_(owner), bar_(bar), flags_(flags), system_(system), outer_(t_current) {
    t_current = this;
  }
  ~Tracker() {
    while (!levels_.empty()) CloseFrom(0);
    t_current = outer_;
  }

  static Tracker* Current() { return t_current; }

  // Runs the loop; returns the chosen command (0 when cancelled).
  UINT Run(HMENU top, int openItem, bool keyboard, int x, int y, const RECT* exclude, UINT mnemonic) {
    RegisterPopupClass();
    Notify(WM_ENTERMENULOOP, bar_ ? FALSE : TRUE, 0);
    Notify(WM_INITMENU, reinterpret_cast<WPARAM>(top), 0);
    SetCapture(owner_);
    if (bar_) {
      levels_.push_back(Level{top, nullptr, -1});
      if (mnemonic) {
        Select(0, 0);
        Char(mnemonic);
      } else if (openItem >= 0) {
        Select(0, openItem);
        Open(0, false);
      } else {
        Select(0, 0);
      }
    } else {
      OpenPopup(top, x, y, exclude, system_ ? 0 : static_cast<UINT>(-1));
      if (keyboard) Step(levels_.size() - 1, +1);  // opened by a key: the first item is selected
    }
    Loop();
    if (!done_) result_ = 0;
    Notify(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    while (!levels_.empty()) CloseFrom(0);
    if (GetCapture() == owner_) ReleaseCapture();
    Notify(WM_EXITMENULOOP, bar_ ? FALSE : TRUE, 0);
    if (bar_) DrawMenuBar(owner_);
    return result_;
  }

  bool resultFromSystem() const { return resultSystem_; }
  // A system menu's commands go to its own window (a maximised MDI child's system menu
  // sits in its frame's menu bar).
  HWND resultTarget() const { return resultTarget_ && IsWindow(resultTarget_) ? resultTarget_ : owner_; }

  // The level a popup window shows, for its painting.
  const Level* LevelOf(HWND wnd) const {
    for (auto& l : levels_)
      if (l.wnd == wnd) return &l;
    return nullptr;
  }
  HWND Owner() const { return owner_; }
  void Cancel() { finished_ = true; }

 private:
  void Notify(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!(flags_ & TPM_NONOTIFY)) SendMessageA(owner_, msg, wParam, lParam);
  }

  static std::vector<MenuItem> Items(HMENU menu) {
    std::lock_guard lock(MenuMutex());
    auto m = FindMenu(menu);
    return m ? m->items : std::vector<MenuItem>{};
  }

  bool IsSystemMenu(HMENU menu) const {
    auto m = FindMenu(menu);
    return m && m->system;
  }

  void Repaint(size_t level) {
    Level& l = levels_[level];
    if (l.wnd) {
      InvalidateRect(l.wnd, nullptr, FALSE);
      UpdateWindow(l.wnd);
    } else {
      HDC dc = GetWindowDC(owner_);
      auto items = Items(l.menu);
      for (size_t i = 0; i < items.size(); ++i)
        DrawBarItem(dc, l.menu, owner_, static_cast<int>(i), static_cast<int>(i) == l.sel, levels_.size() > 1);
      ReleaseDC(owner_, dc);
    }
    PresentScreen();
  }

  void Select(size_t level, int item) {
    Level& l = levels_[level];
    auto items = Items(l.menu);
    if (item >= static_cast<int>(items.size())) item = -1;
    l.sel = item;
    if (item >= 0) {
      const MenuItem& it = items[static_cast<size_t>(item)];
      UINT flags = (it.state | it.type | MF_HILITE) & 0xFFFF;
      if (it.sub) flags |= MF_POPUP;
      if (IsSystemMenu(l.menu)) flags |= MF_SYSMENU;
      if (mouse_) flags |= MF_MOUSESELECT;
      WPARAM idOrPos = it.sub ? static_cast<WPARAM>(item) : static_cast<WPARAM>(it.id);
      Notify(WM_MENUSELECT, MAKEWPARAM(idOrPos, flags), reinterpret_cast<LPARAM>(l.menu));
    }
    Repaint(level);
  }

  // Opens the popup of the selected item of `level`; `selectFirst` for keyboard opening.
  void Open(size_t level, bool selectFirst) {
    CloseFrom(level + 1);
    Level& l = levels_[level];
    auto items = Items(l.menu);
    if (l.sel < 0 || l.sel >= static_cast<int>(items.size())) return;
    const MenuItem& it = items[static_cast<size_t>(l.sel)];
    if (!it.sub || (it.state & MF_GRAYED)) return;
    int x, y;
    RECT exclude{};
    if (!l.wnd) {
      RECT wr;
      GetWindowRect(owner_, &wr);
      x = wr.left + it.rect.left;
      y = wr.top + it.rect.bottom + 1;
      exclude = RECT{wr.left + it.rect.left, wr.top + it.rect.top, wr.left + it.rect.right, wr.top + it.rect.bottom};
      Repaint(level);
    } else {
      RECT pr;
      GetWindowRect(l.wnd, &pr);
      x = pr.right - 3;
      y = pr.top + it.rect.top - 3;
    }
    OpenPopup(it.sub, x, y, l.wnd ? nullptr : &exclude, static_cast<UINT>(l.sel));
    if (selectFirst) Step(levels_.size() - 1, +1);
  }

  void OpenPopup(HMENU menu, int x, int y, const RECT* exclude, UINT pos) {
    Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(pos, IsSystemMenu(menu) ? 1 : 0));
    SIZE s = LayoutPopup(menu, owner_);
    if (flags_ & TPM_RIGHTALIGN) x -= s.cx;
    else if (flags_ & TPM_CENTERALIGN) x -= s.cx / 2;
    if (flags_ & TPM_BOTTOMALIGN) y -= s.cy;
    else if (flags_ & TPM_VCENTERALIGN) y -= s.cy / 2;
    // Kept on the screen; a popup that would run off the bottom opens above its bar item.
    RECT screen = ScreenRect();
    if (x + s.cx > screen.right) x = screen.right - s.cx;
    if (y + s.cy > screen.bottom) y = exclude ? exclude->top - s.cy : screen.bottom - s.cy;
    x = std::max<int>(x, 0);
    y = std::max<int>(y, 0);
    HWND wnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPopupClass, "", WS_POPUP | WS_CLIPSIBLINGS, x, y,
                               s.cx, s.cy, owner_, nullptr, nullptr, nullptr);
    levels_.push_back(Level{menu, wnd, -1});
    if (!wnd) return;
    SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(wnd);
    PresentScreen();
  }

  void CloseFrom(size_t level) {
    while (levels_.size() > level) {
      HWND w = levels_.back().wnd;
      levels_.pop_back();
      if (w) DestroyWindow(w);
    }
    PresentScreen();
  }

  // Moves the selection of a popup level to the next item that is not a separator.
  void Step(size_t level, int dir) {
    auto items = Items(levels_[level].menu);
    int n = static_cast<int>(items.size());
    if (n == 0) return;
    int i = levels_[level].sel;
    for (int k = 0; k < n; ++k) {
      i = i < 0 ? (dir > 0 ? 0 : n - 1) : (i + dir + n) % n;
      if (!(items[static_cast<size_t>(i)].type & MF_SEPARATOR)) {
        Select(level, i);
        return;
      }
    }
  }

  void Execute(size_t level, int item) {
    auto items = Items(levels_[level].menu);
    if (item < 0 || item >= static_cast<int>(items.size())) return;
    const MenuItem& it = items[static_cast<size_t>(item)];
    if (it.sub) {
      if (levels_[level].sel != item) Select(level, item);
      Open(level, true);
      return;
    }
    if (it.type & MF_SEPARATOR) return;
    if (it.state & (MF_GRAYED | MF_DISABLED)) return;
    result_ = static_cast<UINT>(it.id);
    resultSystem_ = IsSystemMenu(levels_[level].menu);
    if (resultSystem_) {
      auto m = FindMenu(levels_[level].menu);
      resultTarget_ = m ? m->sysOwner : nullptr;
    }
    done_ = finished_ = true;
  }

  void BarStep(int dir) {
    bool wasOpen = levels_.size() > 1;
    auto items = Items(levels_[0].menu);
    int n = static_cast<int>(items.size());
    if (n == 0) return;
    CloseFrom(1);
    Select(0, (levels_[0].sel + dir + n) % n);
    if (wasOpen) Open(0, true);
  }

  void Key(UINT vk) {
    size_t deepest = levels_.size() - 1;
    const bool atBar = bar_ && deepest == 0;
    switch (vk) {
      case VK_ESCAPE:
        if (deepest > 0) {
          CloseFrom(deepest);
          Repaint(deepest - 1);
        } else {
          finished_ = true;
        }
        break;
      case VK_MENU:
      case VK_F10:
        finished_ = true;
        break;
      case VK_UP:
      case VK_DOWN:
        if (atBar) Open(0, true);
        else Step(deepest, vk == VK_DOWN ? 1 : -1);
        break;
      case VK_LEFT:
        if (deepest >= 2 || (!bar_ && deepest >= 1)) {
          CloseFrom(deepest);
        } else if (bar_) {
          BarStep(-1);
        }
        break;
      case VK_RIGHT: {
        auto items = Items(levels_[deepest].menu);
        int sel = levels_[deepest].sel;
        if (!atBar && sel >= 0 && items[static_cast<size_t>(sel)].sub) Open(deepest, true);
        else if (bar_) BarStep(+1);
        break;
      }
      case VK_RETURN:
        if (atBar) Open(0, true);
        else Execute(deepest, levels_[deepest].sel);
        break;
      default:
        break;
    }
  }

  void Char(UINT ch) {
    size_t deepest = levels_.size() - 1;
    Level& l = levels_[deepest];
    auto items = Items(l.menu);
    unsigned key = static_cast<unsigned>(std::tolower(static_cast<int>(ch & 0xFF)));
    std::vector<int> hits;
    for (size_t i = 0; i < items.size(); ++i) {
      std::string label;
      SplitItemText(items[i].text, &label, nullptr);
      if (!(items[i].type & (MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP)) && MnemonicOf(label) == key)
        hits.push_back(static_cast<int>(i));
    }
    if (hits.size() == 1) {
      Select(deepest, hits[0]);
      if (!l.wnd) Open(deepest, true);
      else Execute(deepest, hits[0]);
      return;
    }
    if (hits.size() > 1) {
      // Several items share the letter: each press moves to the next of them.
      auto next = std::find_if(hits.begin(), hits.end(), [&](int i) { return i > l.sel; });
      Select(deepest, next == hits.end() ? hits[0] : *next);
      return;
    }
    UINT kind = (l.wnd ? MF_POPUP : 0) | (IsSystemMenu(l.menu) ? MF_SYSMENU : 0);
    LRESULT r = SendMessageA(owner_, WM_MENUCHAR, MAKEWPARAM(ch, kind), reinterpret_cast<LPARAM>(l.menu));
    switch (HIWORD(r)) {
      case MNC_CLOSE: finished_ = true; break;
      case MNC_EXECUTE: Select(deepest, LOWORD(r)); Execute(deepest, LOWORD(r)); break;
      case MNC_SELECT: Select(deepest, LOWORD(r)); break;
      default: break;
    }
  }

  // The level and item under a screen point; false when the point is on no menu.
  bool HitTest(POINT pt, size_t* level, int* item) {
    for (size_t i = levels_.size(); i-- > 0;) {
      const Level& l = levels_[i];
      if (!l.wnd) {
        int hit = MenuBarItemAt(owner_, pt);
        if (hit >= 0) {
          *level = i;
          *item = hit;
          return true;
        }
        continue;
      }
      RECT wr;
      GetWindowRect(l.wnd, &wr);
      if (!Contains(wr, pt)) continue;
      *level = i;
      *item = -1;
      POINT c{pt.x - wr.left, pt.y - wr.top};
      auto items = Items(l.menu);
      for (size_t k = 0; k < items.size(); ++k)
        if (Contains(items[k].rect, c)) *item = static_cast<int>(k);
      return true;
    }
    return false;
  }

  void Mouse(UINT msg, POINT pt) {
    mouse_ = true;
    size_t level = 0;
    int item = -1;
    bool on = HitTest(pt, &level, &item);
    const bool down = msg == WM_LBUTTONDOWN || msg == WM_NCLBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_NCRBUTTONDOWN;
    const bool up = msg == WM_LBUTTONUP || msg == WM_NCLBUTTONUP || msg == WM_RBUTTONUP || msg == WM_NCRBUTTONUP;
    const bool right = msg == WM_RBUTTONDOWN || msg == WM_NCRBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_NCRBUTTONUP;
    // The bar answers the left button only, a popup the right one too with TPM_RIGHTBUTTON;
    // a right click away from every menu still closes it.
    if (right && (bar_ || !(flags_ & TPM_RIGHTBUTTON)) && (on || !down)) return;
    if (msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE) {
      if (!on || item < 0) return;
      Level& l = levels_[level];
      if (l.sel == item && levels_.size() > level + 1) return;
      if (!l.wnd) {
        if (levels_.size() > 1 && l.sel != item) {
          CloseFrom(1);
          Select(0, item);
          Open(0, false);
        } else if (levels_.size() == 1) {
          Select(0, item);
        }
        return;
      }
      CloseFrom(level + 1);
      if (l.sel != item) Select(level, item);
      Open(level, false);
      return;
    }
    if (down) {
      if (!on) {
        finished_ = true;
        return;
      }
      if (item < 0) return;
      if (!levels_[level].wnd) {
        if (levels_.size() > 1 && levels_[0].sel == item) {
          CloseFrom(1);
          Repaint(0);
        } else {
          CloseFrom(1);
          Select(0, item);
          Open(0, false);
        }
        return;
      }
      if (levels_[level].sel != item) Select(level, item);
      Open(level, false);
      return;
    }
    if (up && on && item >= 0) {
      // A popup's item, or a bar item that is a command itself (a maximised MDI child's
      // buttons), runs when the button comes up over it.
      auto items = Items(levels_[level].menu);
      if (!items[static_cast<size_t>(item)].sub && (levels_[level].wnd || levels_[level].sel == item))
        Execute(level, item);
    }
  }

  void Loop() {
    bool idleSent = false;
    while (!finished_) {
      if (!IsWindow(owner_)) return;
      MSG msg;
      if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!idleSent) {
          HWND top = levels_.empty() ? nullptr : levels_.back().wnd;
          Notify(WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(top));
          idleSent = true;
          continue;
        }
        PresentScreen();
        WaitMessage();
        continue;
      }
      idleSent = false;
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      if (CallMsgFilterA(&msg, MSGF_MENU)) continue;
      switch (msg.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
          if (msg.wParam == VK_ESCAPE || msg.wParam == VK_MENU || msg.wParam == VK_F10 || msg.wParam == VK_UP ||
              msg.wParam == VK_DOWN || msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT || msg.wParam == VK_RETURN) {
            Key(static_cast<UINT>(msg.wParam));
          } else {
            TranslateMessage(&msg);
          }
          break;
        case WM_CHAR:
        case WM_SYSCHAR:
          Char(static_cast<UINT>(msg.wParam));
          break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
          break;
        default:
          if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
              (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK)) {
            Mouse(msg.message, msg.pt);
          } else {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
          }
      }
    }
  }

  HWND owner_;
  bool bar_;
  UINT flags_;
  bool system_;
  Tracker* outer_;
  std::vector<Level> levels_;
  bool finished_ = false, done_ = false, mouse_ = false;
  UINT result_ = 0;
  bool resultSystem_ = false;
  HWND resultTarget_ = nullptr;
};

LRESULT CALLBACK PopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      Tracker* t = Tracker::Current();
      if (const Level* l = t ? t->LevelOf(hwnd) : nullptr) {
        RECT client;
        GetClientRect(hwnd, &client);
        DrawPopupItems(dc, l->menu, t->Owner(), l->sel, client);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

void Deliver(HWND owner, UINT cmd, bool system, UINT flags) {
  if (!cmd || (flags & (TPM_RETURNCMD | TPM_NONOTIFY))) return;
  if (system) PostMessageA(owner, WM_SYSCOMMAND, cmd, 0);
  else PostMessageA(owner, WM_COMMAND, MAKEWPARAM(cmd, 0), 0);
}

}  // namespace

void TrackMenuBar(HWND hwnd, int startItem, bool keyboard, UINT mnemonic) {
  HMENU menu = GetMenu(hwnd);
  if (!menu || GetMenuItemCount(menu) <= 0) return;
  UINT cmd;
  bool system;
  HWND target;
  {
    Tracker t(hwnd, true, 0, false);
    cmd = t.Run(menu, startItem, keyboard, 0, 0, nullptr, mnemonic);
    system = t.resultFromSystem();
    target = system ? t.resultTarget() : hwnd;
  }
  Deliver(target, cmd, system, 0);
}

void TrackSystemMenu(HWND hwnd, bool keyboard) {
  HMENU menu = GetSystemMenu(hwnd, FALSE);
  if (!menu) return;
  // Only what the window can do now is enabled.
  const DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
  const bool zoomed = (style & WS_MAXIMIZE) != 0, iconic = (style & WS_MINIMIZE) != 0;
  auto enable = [&](UINT cmd, bool on) { EnableMenuItem(menu, cmd, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  enable(SC_RESTORE, zoomed || iconic);
  enable(SC_MOVE, !zoomed);
  enable(SC_SIZE, !zoomed && !iconic && (style & WS_THICKFRAME));
  enable(SC_MINIMIZE, !iconic && (style & WS_MINIMIZEBOX));
  enable(SC_MAXIMIZE, !zoomed && (style & WS_MAXIMIZEBOX));
  if (auto w = FindWindowObject(hwnd)) enable(SC_CLOSE, !(w->cls && (w->cls->style & CS_NOCLOSE)));
  RECT wr;
  GetWindowRect(hwnd, &wr);
  auto w = FindWindowObject(hwnd);
  if (!w) return;
  NcLayout l = LayoutOf(*w);
  UINT cmd;
  {
    Tracker t(hwnd, false, 0, true);
    cmd = t.Run(menu, -1, keyboard, wr.left + l.sysIcon.left, wr.top + l.caption.bottom + 1, nullptr, 0);
  }
  Deliver(hwnd, cmd, true, 0);
}

UINT TrackPopup(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude) {
  if (Tracker::Current()) return 0;  // one menu at a time on a thread
  UINT cmd;
  bool system;
  HWND target;
  {
    Tracker t(owner, false, flags, false);
    cmd = t.Run(menu, -1, false, x, y, exclude, 0);
    system = t.resultFromSystem();
    target = system ? t.resultTarget() : owner;
  }
  Deliver(target, cmd, system, flags);
  return cmd;
}

bool CancelMenuOfThread() {
  Tracker* t = Tracker::Current();
  if (!t) return false;
  t->Cancel();
  return true;
}

}  // namespace plat::user

using namespace plat::user;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND hwnd, LPTPMPARAMS params) {
  if (!FindMenu(menu) || !IsWindow(hwnd)) {
    ::SetLastError(FindMenu(menu) ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  UINT cmd = TrackPopup(menu, flags, x, y, hwnd, params ? &params->rcExclude : nullptr);
  return (flags & TPM_RETURNCMD) ? static_cast<BOOL>(cmd) : TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND hwnd, const RECT*) {
  return TrackPopupMenuEx(menu, flags, x, y, hwnd, nullptr);
}

BOOL EndMenu() { return CancelMenuOfThread() ? TRUE : FALSE; }

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  auto w = FindWindowObject(hwnd);
  if (!w) return nullptr;
  HMENU old;
  {
    std::lock_guard lock(UserMutex());
    old = w->sysMenu;
    if (revert) w->sysMenu = nullptr;
  }
  if (revert) {
    if (old) DestroyMenu(old);
    return nullptr;
  }
  if (old && IsMenu(old)) return old;
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, SC_RESTORE, "元のサイズに戻す(&R)");
  AppendMenuA(m, MF_STRING, SC_MOVE, "移動(&M)");
  AppendMenuA(m, MF_STRING, SC_SIZE, "サイズ変更(&S)");
  AppendMenuA(m, MF_STRING, SC_MINIMIZE, "最小化(&N)");
  AppendMenuA(m, MF_STRING, SC_MAXIMIZE, "最大化(&X)");
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m, MF_STRING, SC_CLOSE, "閉じる(&C)\tAlt+F4");
  if (auto obj = FindMenu(m)) {
    obj->system = true;
    obj->sysOwner = hwnd;
  }
  std::lock_guard lock(UserMutex());
  w->sysMenu = m;
  return m;
}
