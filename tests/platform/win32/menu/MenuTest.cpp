// Menus, accelerators and resources, driven the way a user drives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "ModuleRegistry.h"
#include "afx.h"
#include "menu_ids.h"
#include "user/Driver.h"
#include "user/Menu.h"
#include "windows.h"

namespace {

namespace drv = plat::user::driver;

HMODULE Sample() {
  static HMODULE m = plat::RegisterModule(plat::ModuleSpec{"Sample.dll", "C:\\Lumora", {}, {}, true});
  return m;
}

// A top-level window that records the menu messages it gets.
struct MenuWindow {
  static inline std::vector<std::string> log;
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
      case WM_ENTERMENULOOP: log.push_back("ENTERMENULOOP"); break;
      case WM_EXITMENULOOP: log.push_back("EXITMENULOOP"); break;
      case WM_INITMENU: log.push_back("INITMENU"); break;
      case WM_INITMENUPOPUP: log.push_back("INITMENUPOPUP " + std::to_string(LOWORD(l))); break;
      case WM_MENUSELECT:
        log.push_back(HIWORD(w) == 0xFFFF && !l ? "MENUSELECT close" : "MENUSELECT " + std::to_string(LOWORD(w)));
        break;
      case WM_COMMAND: log.push_back("COMMAND " + std::to_string(LOWORD(w)) + "/" + std::to_string(HIWORD(w))); break;
      case WM_SYSCOMMAND: log.push_back("SYSCOMMAND " + std::to_string(w & 0xFFF0)); break;
      default: break;
    }
    return DefWindowProcA(h, m, w, l);
  }
  MenuWindow() {
    log.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "MenuWnd";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    menu = LoadMenuA(Sample(), MAKEINTRESOURCEA(IDR_MAIN));
    hwnd = CreateWindowExA(0, "MenuWnd", "Menu", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 400, 300, nullptr, menu,
                           nullptr, nullptr);
    drv::WaitIdle();
  }
  ~MenuWindow() { DestroyWindow(hwnd); }
  // The log entries of one kind or all.
  static std::vector<std::string> Only(const std::string& prefix) {
    std::vector<std::string> out;
    for (auto& s : log)
      if (s.rfind(prefix, 0) == 0) out.push_back(s);
    return out;
  }
  HMENU menu;
  HWND hwnd;
};

TEST(Resources, StringsMenusAcceleratorsAndRawData) {
  char buf[64];
  EXPECT_EQ(LoadStringA(Sample(), IDS_TITLE, buf, sizeof buf), static_cast<int>(strlen("顕微鏡カメラ")));
  EXPECT_STREQ(buf, "顕微鏡カメラ");
  // A short buffer never ends inside a character ("露" is three bytes).
  EXPECT_EQ(LoadStringA(Sample(), IDS_LONG, buf, 5), 3);
  EXPECT_STREQ(buf, "露");
  EXPECT_EQ(LoadStringA(Sample(), 999, buf, sizeof buf), 0);

  HMENU m = LoadMenuA(Sample(), MAKEINTRESOURCEA(IDR_MAIN));
  ASSERT_TRUE(m);
  ASSERT_EQ(GetMenuItemCount(m), 2);
  HMENU file = GetSubMenu(m, 0);
  ASSERT_EQ(GetMenuItemCount(file), 4);
  EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(ID_FILE_OPEN));
  EXPECT_TRUE(GetMenuState(file, ID_FILE_SAVE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(GetMenuState(m, ID_VIEW_ZOOM, MF_BYCOMMAND) & MF_CHECKED);
  GetMenuStringA(m, ID_FILE_OPEN, buf, sizeof buf, MF_BYCOMMAND);
  EXPECT_STREQ(buf, "開く(&O)...\tCtrl+O");
  GetMenuStringA(m, 1, buf, sizeof buf, MF_BYPOSITION);
  EXPECT_STREQ(buf, "表示(&V)");
  EXPECT_TRUE(DestroyMenu(m));
  EXPECT_FALSE(IsMenu(file));  // submenus go with their menu

  HACCEL acc = LoadAcceleratorsA(Sample(), MAKEINTRESOURCEA(IDR_MAIN));
  ACCEL a[4];
  ASSERT_EQ(CopyAcceleratorTableA(acc, a, 4), 3);
  EXPECT_EQ(a[0].key, 'O');
  EXPECT_EQ(a[0].fVirt, FVIRTKEY | FCONTROL | FNOINVERT);
  EXPECT_EQ(a[2].key, VK_F5);
  EXPECT_EQ(a[2].cmd, ID_VIEW_ZOOM);

  HRSRC r = FindResourceA(Sample(), "CHART", RT_RCDATA);
  ASSERT_TRUE(r);
  ASSERT_EQ(SizeofResource(Sample(), r), 4u);
  auto* p = static_cast<const unsigned char*>(LockResource(LoadResource(Sample(), r)));
  EXPECT_EQ(std::memcmp(p, "AB\x01\x02", 4), 0);
  EXPECT_FALSE(FindResourceA(Sample(), "NOPE", RT_RCDATA));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST(Menus, BuildAndChangeItems) {
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, 10, "A");
  AppendMenuA(m, MF_STRING, 12, "C");
  InsertMenuA(m, 12, MF_BYCOMMAND | MF_STRING, 11, "B");
  ASSERT_EQ(GetMenuItemCount(m), 3);
  EXPECT_EQ(GetMenuItemID(m, 1), 11u);
  EXPECT_EQ(EnableMenuItem(m, 11, MF_GRAYED), static_cast<UINT>(MF_ENABLED));
  EXPECT_EQ(EnableMenuItem(m, 11, MF_ENABLED), static_cast<UINT>(MF_GRAYED));
  EXPECT_TRUE(CheckMenuRadioItem(m, 10, 12, 12, MF_BYCOMMAND));
  EXPECT_FALSE(GetMenuState(m, 10, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(m, 12, MF_BYCOMMAND) & MF_CHECKED);
  ModifyMenuA(m, 0, MF_BYPOSITION | MF_STRING, 20, "Z");
  EXPECT_EQ(GetMenuItemID(m, 0), 20u);
  EXPECT_TRUE(DeleteMenu(m, 11, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuItemCount(m), 2);
  EXPECT_FALSE(RemoveMenu(m, 99, MF_BYCOMMAND));
  EXPECT_EQ(EnableMenuItem(m, 99, MF_GRAYED), static_cast<UINT>(-1));
  DestroyMenu(m);
  EXPECT_EQ(GetMenuItemCount(m), -1);
}

TEST(Accelerators, KeysBecomeCommandsUnlessTheItemIsGrayed) {
  MenuWindow w;
  SetFocus(w.hwnd);
  HACCEL acc = LoadAcceleratorsA(Sample(), MAKEINTRESOURCEA(IDR_MAIN));
  struct Case {
    UINT vk;
    unsigned mods;
    std::vector<std::string> expected;
  } cases[] = {
      {'O', drv::kControl, {"COMMAND 1001/1"}},
      {'S', drv::kControl, {}},  // grayed in the menu: used up, no command
      {VK_F5, drv::kNone, {"COMMAND 1004/1"}},
      {'O', drv::kNone, {}},  // without Ctrl it is just a letter
  };
  for (auto& c : cases) {
    MenuWindow::log.clear();
    drv::PressKey(c.vk, c.mods);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      if (!TranslateAcceleratorA(w.hwnd, acc, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    EXPECT_EQ(MenuWindow::Only("COMMAND"), c.expected) << c.vk;
  }
  DestroyAcceleratorTable(acc);
  // A command of the system menu arrives as WM_SYSCOMMAND.
  ACCEL close{FVIRTKEY | FALT, VK_F4, SC_CLOSE & 0xFFFF};
  HACCEL own = CreateAcceleratorTableA(&close, 1);
  MenuWindow::log.clear();
  drv::PressKey(VK_F4, drv::kAlt);
  MSG msg;
  int translated = 0;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) translated += TranslateAcceleratorA(w.hwnd, own, &msg);
  EXPECT_EQ(translated, 1);
  EXPECT_EQ(MenuWindow::Only("SYSCOMMAND"), std::vector<std::string>{"SYSCOMMAND " + std::to_string(SC_CLOSE)});
  DestroyAcceleratorTable(own);
}

TEST(PopupMenus, KeyboardChoiceIsReturnedWithTheMessageOrder) {
  MenuWindow w;
  SetFocus(w.hwnd);
  HMENU popup = GetSubMenu(w.menu, 0);
  // Down twice lands on the grayed "save" (grayed items can be selected), once more skips
  // the separator to "exit"; Enter chooses it.
  drv::PressKey(VK_DOWN);
  drv::PressKey(VK_DOWN);
  drv::PressKey(VK_DOWN);
  drv::PressKey(VK_RETURN);
  UINT cmd = TrackPopupMenu(popup, TPM_RETURNCMD | TPM_LEFTALIGN, 100, 100, 0, w.hwnd, nullptr);
  EXPECT_EQ(cmd, static_cast<UINT>(ID_APP_EXIT));
  drv::WaitIdle();
  std::vector<std::string> expected{"ENTERMENULOOP", "INITMENU",       "INITMENUPOPUP 65535", "MENUSELECT 1001",
                                    "MENUSELECT 1002", "MENUSELECT 1003", "MENUSELECT close",   "EXITMENULOOP"};
  EXPECT_EQ(MenuWindow::log, expected);  // no WM_COMMAND with TPM_RETURNCMD
}

// A message filter of the menu loop sees the popup window, which answers its menu.
HMENU g_shownMenu = nullptr;
LRESULT CALLBACK RecordShownMenu(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU)
    if (HWND popup = FindWindowA("#32768", nullptr))
      g_shownMenu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(PopupMenus, APopupWindowAnswersTheMenuItShows) {
  MenuWindow w;
  SetFocus(w.hwnd);
  g_shownMenu = nullptr;
  HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, RecordShownMenu, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  HMENU popup = GetSubMenu(w.menu, 1);
  drv::PressKey(VK_ESCAPE);
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY, 50, 50, 0, w.hwnd, nullptr), 0);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(g_shownMenu, popup);
  // Any other window answers nothing.
  EXPECT_EQ(SendMessageA(w.hwnd, MN_GETHMENU, 0, 0), 0);
}

TEST(PopupMenus, EscapeCancelsAndMnemonicsChoose) {
  MenuWindow w;
  SetFocus(w.hwnd);
  drv::PressKey(VK_ESCAPE);
  EXPECT_EQ(TrackPopupMenu(GetSubMenu(w.menu, 1), TPM_RETURNCMD, 50, 50, 0, w.hwnd, nullptr), 0);
  drv::TypeText("a");
  EXPECT_TRUE(TrackPopupMenu(GetSubMenu(w.menu, 1), 0, 50, 50, 0, w.hwnd, nullptr));
  drv::WaitIdle();
  EXPECT_EQ(MenuWindow::Only("COMMAND"), std::vector<std::string>{"COMMAND 1005/0"});
}

TEST(MenuBar, KeyboardOpensMenusByMnemonicAndArrows) {
  MenuWindow w;
  SetFocus(w.hwnd);
  // Alt+V opens the view menu; Left moves to the file menu; Enter on its first item.
  drv::PressKey('V', drv::kAlt);
  drv::PressKey(VK_LEFT);
  drv::PressKey(VK_RETURN);
  drv::WaitIdle();
  EXPECT_EQ(MenuWindow::Only("COMMAND"), std::vector<std::string>{"COMMAND 1001/0"});
  EXPECT_EQ(MenuWindow::Only("INITMENUPOPUP"), (std::vector<std::string>{"INITMENUPOPUP 1", "INITMENUPOPUP 0"}));
}

TEST(MenuBar, MouseOpensAMenuAndChoosesAnItem) {
  MenuWindow w;
  RECT wr;
  GetWindowRect(w.hwnd, &wr);
  POINT client{0, 0};
  ClientToScreen(w.hwnd, &client);
  // The bar lies just above the client area; its first item starts at the left frame.
  POINT fileItem{wr.left + 12, client.y - 8};
  DWORD mainThread = GetCurrentThreadId();
  // The user acts from another thread while this one runs the window (and the menu loop).
  std::atomic<bool> finished{false};
  std::thread user([&] {
    drv::Click(fileItem.x, fileItem.y);
    drv::WaitIdle();
    HWND popup = FindWindowA("#32768", nullptr);
    if (popup) {
      RECT pr;
      GetWindowRect(popup, &pr);
      POINT exit{pr.left + 20, pr.top + 3 + 18 + 18 + 8 + 9};  // the fourth item, after the separator
      drv::MoveTo(exit.x, exit.y);
      drv::Click(exit.x, exit.y);
      drv::WaitIdle();
    }
    finished = true;
    PostThreadMessageA(mainThread, WM_NULL, 0, 0);
  });
  while (!finished) {
    MSG msg;
    if (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
  }
  user.join();
  EXPECT_FALSE(FindWindowA("#32768", nullptr));
  EXPECT_EQ(MenuWindow::Only("COMMAND"), std::vector<std::string>{"COMMAND 1003/0"});
  EXPECT_EQ(MenuWindow::log.front(), "SYSCOMMAND 61584");  // SC_MOUSEMENU
}

}  // namespace

namespace {

// Owner-drawn items are measured and drawn by the owner; letters no item has are asked
// about; the message filter hook sees the loop's messages.
struct OwnerDraw {
  static inline std::vector<UINT> measured, drawn;
  static inline std::vector<UINT> drawnSelected;
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_MEASUREITEM) {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
      measured.push_back(mis->itemID);
      mis->itemWidth = 80;
      mis->itemHeight = 24;
      return TRUE;
    }
    if (m == WM_DRAWITEM) {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
      if (dis->CtlType == ODT_MENU) {
        drawn.push_back(dis->itemID);
        if (dis->itemState & ODS_SELECTED) drawnSelected.push_back(dis->itemID);
        FillRect(dis->hDC, &dis->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      }
      return TRUE;
    }
    if (m == WM_MENUCHAR) {
      // '9' chooses the second item.
      if (LOWORD(w) == '9') return MAKELRESULT(1, MNC_EXECUTE);
      return 0;
    }
    return MenuWindow::Proc(h, m, w, l);
  }
};

std::vector<UINT> g_filtered;
LRESULT CALLBACK Filter(int code, WPARAM w, LPARAM l) {
  if (code == MSGF_MENU) g_filtered.push_back(reinterpret_cast<MSG*>(l)->message);
  return CallNextHookEx(nullptr, code, w, l);
}

TEST(PopupMenus, OwnerDrawnItemsMenuCharAndTheMessageFilter) {
  MenuWindow w;
  SetWindowLongPtrA(w.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerDraw::Proc));
  SetFocus(w.hwnd);
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_OWNERDRAW, 501, reinterpret_cast<LPCSTR>(0x1234));
  AppendMenuA(m, MF_OWNERDRAW, 502, reinterpret_cast<LPCSTR>(0x5678));
  HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId());
  drv::PressKey(VK_DOWN);
  drv::TypeText("9");
  UINT cmd = TrackPopupMenuEx(m, TPM_RETURNCMD, 10, 10, w.hwnd, nullptr);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(cmd, 502u);
  EXPECT_EQ(OwnerDraw::measured, (std::vector<UINT>{501, 502}));
  EXPECT_FALSE(OwnerDraw::drawn.empty());
  // Down selected the first item, the letter the second.
  EXPECT_EQ(OwnerDraw::drawnSelected, (std::vector<UINT>{501, 502}));
  EXPECT_NE(std::find(g_filtered.begin(), g_filtered.end(), static_cast<UINT>(WM_KEYDOWN)), g_filtered.end());
  DestroyMenu(m);
}

TEST(PopupMenus, NoNotifyKeepsTheOwnerOutOfIt) {
  MenuWindow w;
  SetFocus(w.hwnd);
  drv::PressKey(VK_DOWN);
  drv::PressKey(VK_RETURN);
  EXPECT_TRUE(TrackPopupMenu(GetSubMenu(w.menu, 1), TPM_NONOTIFY, 10, 10, 0, w.hwnd, nullptr));
  drv::WaitIdle();
  EXPECT_TRUE(MenuWindow::log.empty()) << MenuWindow::log.front();
  EXPECT_EQ(TrackPopupMenu(GetSubMenu(w.menu, 1), TPM_NONOTIFY, 10, 10, 0, nullptr, nullptr), FALSE);
}

TEST(PopupMenus, APopupShowsOnTheScreenWithItsSelection) {
  MenuWindow w;
  SetFocus(w.hwnd);
  HMENU popup = GetSubMenu(w.menu, 1);
  COLORREF highlight = 0, face = 0;
  // The owner acts when the loop idles: first it presses Down, then it looks at the
  // screen and presses Escape.
  struct Peek {
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM l) {
      if (m == WM_ENTERIDLE && wp == MSGF_MENU && l) {
        if (!GetPropA(h, "pressed")) {
          SetPropA(h, "pressed", reinterpret_cast<HANDLE>(1));
          drv::PressKey(VK_DOWN);
        } else {
          RECT r;
          GetWindowRect(reinterpret_cast<HWND>(l), &r);
          HDC dc = GetDC(nullptr);
          *reinterpret_cast<COLORREF*>(GetPropA(h, "hl")) = GetPixel(dc, r.right - 8, r.top + 3 + 9);
          *reinterpret_cast<COLORREF*>(GetPropA(h, "face")) = GetPixel(dc, r.right - 8, r.top + 3 + 18 + 9);
          ReleaseDC(nullptr, dc);
          drv::PressKey(VK_ESCAPE);
        }
      }
      return MenuWindow::Proc(h, m, wp, l);
    }
  };
  SetPropA(w.hwnd, "hl", reinterpret_cast<HANDLE>(&highlight));
  SetPropA(w.hwnd, "face", reinterpret_cast<HANDLE>(&face));
  SetWindowLongPtrA(w.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Peek::Proc));
  EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, 500, 400, 0, w.hwnd, nullptr), 0);
  EXPECT_EQ(highlight, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(face, GetSysColor(COLOR_MENU));
  EXPECT_FALSE(FindWindowA("#32768", nullptr));
}

TEST(MenuBar, AltSpaceOpensTheSystemMenu) {
  MenuWindow w;
  SetFocus(w.hwnd);
  drv::PressKey(VK_SPACE, drv::kAlt);
  drv::PressKey(VK_UP);  // wraps to the last item: close
  drv::PressKey(VK_RETURN);
  drv::WaitIdle();
  auto sys = MenuWindow::Only("SYSCOMMAND");
  ASSERT_GE(sys.size(), 2u);
  EXPECT_EQ(sys.back(), "SYSCOMMAND " + std::to_string(SC_CLOSE));
  EXPECT_FALSE(IsWindow(w.hwnd));
}

TEST(MenuBar, AltAloneSelectsTheBarAndEscapeLeaves) {
  MenuWindow w;
  SetFocus(w.hwnd);
  drv::PressKey(VK_MENU);
  drv::PressKey(VK_ESCAPE);
  drv::WaitIdle();
  EXPECT_EQ(MenuWindow::log, (std::vector<std::string>{"SYSCOMMAND 61696", "ENTERMENULOOP", "INITMENU",
                                                        "MENUSELECT 0", "MENUSELECT close", "EXITMENULOOP"}));
}

}  // namespace

namespace {

TEST(Resources, TheProgramsOwnStringsNeedNoModuleHandle) {
  // The program module answers for a null instance, and the framework's strings go
  // through it.
  plat::SetProgramName("Sample.exe");
  char buf[64];
  EXPECT_GT(LoadStringA(nullptr, IDS_TITLE, buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "顕微鏡カメラ");
  CString s;
  ASSERT_TRUE(s.LoadString(IDS_LONG));
  EXPECT_STREQ(static_cast<LPCSTR>(s), "露光時間の設定");
  EXPECT_FALSE(s.LoadString(4242));
  HMENU m = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDR_MAIN));
  EXPECT_EQ(GetMenuItemCount(m), 2);
  DestroyMenu(m);
}

TEST(Menus, ItemInfoReadsAndChangesItems) {
  HMENU m = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(m, MF_STRING, 7, "七");
  AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "下");
  MENUITEMINFOA mii{sizeof mii};
  char text[16];
  mii.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU | MIIM_DATA;
  mii.dwTypeData = text;
  mii.cch = sizeof text;
  ASSERT_TRUE(GetMenuItemInfoA(m, 1, TRUE, &mii));
  EXPECT_EQ(mii.hSubMenu, sub);
  EXPECT_STREQ(text, "下");
  MENUITEMINFOA set{sizeof set};
  set.fMask = MIIM_STATE | MIIM_DATA | MIIM_STRING;
  set.fState = MFS_CHECKED | MFS_GRAYED;
  set.dwItemData = 99;
  set.dwTypeData = const_cast<LPSTR>("なな");
  ASSERT_TRUE(SetMenuItemInfoA(m, 7, FALSE, &set));
  mii.cch = sizeof text;
  ASSERT_TRUE(GetMenuItemInfoA(m, 7, FALSE, &mii));
  EXPECT_EQ(mii.wID, 7u);
  EXPECT_EQ(mii.fState, static_cast<UINT>(MFS_CHECKED | MFS_GRAYED));
  EXPECT_EQ(mii.dwItemData, 99u);
  EXPECT_STREQ(text, "なな");
  EXPECT_FALSE(GetMenuItemInfoA(m, 8, FALSE, &mii));
  set.fMask = MIIM_ID | MIIM_STRING;
  set.wID = 6;
  set.dwTypeData = const_cast<LPSTR>("六");
  ASSERT_TRUE(InsertMenuItemA(m, 0, TRUE, &set));
  EXPECT_EQ(GetMenuItemID(m, 0), 6u);
  EXPECT_EQ(GetMenuItemCount(m), 3);
  DestroyMenu(m);
}

TEST(Menus, AWindowTakesItsMenusWithIt) {
  HMENU bar, sys;
  {
    MenuWindow w;
    bar = w.menu;
    sys = GetSystemMenu(w.hwnd, FALSE);
    EXPECT_TRUE(IsMenu(sys));
    EXPECT_EQ(GetSystemMenu(w.hwnd, FALSE), sys);
    EXPECT_EQ(GetMenuItemID(sys, GetMenuItemCount(sys) - 1), static_cast<UINT>(SC_CLOSE));
  }
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_FALSE(IsMenu(sys));
}

TEST(Menus, SettingTheMenuBarResizesTheClientArea) {
  MenuWindow w;
  RECT before, after;
  GetClientRect(w.hwnd, &before);
  HMENU old = GetMenu(w.hwnd);
  ASSERT_TRUE(SetMenu(w.hwnd, nullptr));
  GetClientRect(w.hwnd, &after);
  EXPECT_EQ(after.bottom - before.bottom, GetSystemMetrics(SM_CYMENU));
  EXPECT_FALSE(GetMenu(w.hwnd));
  EXPECT_FALSE(SetMenu(w.hwnd, reinterpret_cast<HMENU>(0x1234)));
  DestroyMenu(old);
}

}  // namespace

namespace {

TEST(MenuBar, TheSystemMenuOffersWhatTheWindowCanDoNow) {
  MenuWindow w;
  SetFocus(w.hwnd);
  struct Case {
    int show;
    std::vector<UINT> grayed, enabled;
  } cases[] = {
      {SW_SHOWNORMAL, {SC_RESTORE}, {SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE}},
      {SW_SHOWMAXIMIZED, {SC_MOVE, SC_SIZE, SC_MAXIMIZE}, {SC_RESTORE, SC_MINIMIZE, SC_CLOSE}},
  };
  for (auto& c : cases) {
    ShowWindow(w.hwnd, c.show);
    drv::WaitIdle();
    drv::PressKey(VK_ESCAPE);
    SendMessageA(w.hwnd, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    HMENU sys = GetSystemMenu(w.hwnd, FALSE);
    for (UINT id : c.grayed) EXPECT_TRUE(GetMenuState(sys, id, MF_BYCOMMAND) & MF_GRAYED) << c.show << " " << id;
    for (UINT id : c.enabled) EXPECT_FALSE(GetMenuState(sys, id, MF_BYCOMMAND) & MF_GRAYED) << c.show << " " << id;
  }
}

}  // namespace

namespace {

TEST(Resources, DamagedMenuTemplatesGiveNoMenu) {
  // Header (version 0, offset 0), then MF_END | MF_STRING item 5 "A".
  const std::vector<WORD> good{0, 0, MF_END, 5, 'A', 0};
  struct Case {
    std::vector<WORD> words;
    bool ok;
  } cases[] = {
      {good, true},
      {{0, 0, MF_END, 5, 'A'}, false},                        // the text never ends
      {{0, 0, 0, 5, 'A', 0}, false},                          // no end mark
      {{0, 40, MF_END, 5, 'A', 0}, false},                    // header offset past the end
      {{0, 0, MF_POPUP | MF_END, 'P', 0, 0, 7, 'B', 0}, false},  // the popup's items never end
      {{1, 0, MF_END, 5, 'A', 0}, false},                     // not the classic form
  };
  for (auto& c : cases) {
    HMENU m = plat::user::LoadMenuTemplate(c.words.data(), c.words.size() * sizeof(WORD));
    EXPECT_EQ(m != nullptr, c.ok) << c.words.size();
    if (m) {
      EXPECT_EQ(GetMenuItemID(m, 0), 5u);
      DestroyMenu(m);
    }
  }
}

}  // namespace
