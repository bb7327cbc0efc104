// The MDI client with plain window procedures: activation, maximising into the frame's
// menu bar and title, the window list, the keyboard, menus, tiling and cascading.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "user/Driver.h"
#include "windows.h"

namespace {

constexpr UINT kFirstChild = 100;
constexpr UINT kCascadeCmd = 40;

std::vector<std::string> g_log;
HWND g_client = nullptr;

std::string NameOf(HWND h) {
  if (!h) return "-";
  char text[64] = {};
  GetWindowTextA(h, text, sizeof text);
  return text;
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefFrameProcA(hwnd, g_client, msg, wParam, lParam);
}

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MDIACTIVATE) {
    bool gaining = reinterpret_cast<HWND>(lParam) == hwnd;
    g_log.push_back(NameOf(hwnd) + (gaining ? " gains from " : " loses to ") +
                    NameOf(reinterpret_cast<HWND>(gaining ? wParam : lParam)));
  }
  return DefMDIChildProcA(hwnd, msg, wParam, lParam);
}

void RegisterClasses() {
  static bool done = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = "MdiTestFrame";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassExA(&wc);
    wc.lpfnWndProc = ChildProc;
    wc.lpszClassName = "MdiTestChild";
    RegisterClassExA(&wc);
    return true;
  }();
  (void)done;
}

std::string ItemText(HMENU menu, int pos) {
  char text[64] = {};
  GetMenuStringA(menu, static_cast<UINT>(pos), text, sizeof text, MF_BYPOSITION);
  return text;
}

class MdiClient : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses();
    g_log.clear();
    menu = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1, "&Open");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    windowMenu = CreatePopupMenu();
    AppendMenuA(windowMenu, MF_STRING, kCascadeCmd, "&Cascade");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(windowMenu), "&Window");
    frame = CreateWindowExA(0, "MdiTestFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 600, 400, nullptr,
                            menu, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    CLIENTCREATESTRUCT ccs{windowMenu, kFirstChild};
    RECT rc;
    GetClientRect(frame, &rc);
    g_client = client = CreateWindowExA(0, "MDIClient", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                        rc.right, rc.bottom, frame, nullptr, nullptr, &ccs);
    ASSERT_NE(client, nullptr);
  }
  void TearDown() override {
    if (IsWindow(frame)) DestroyWindow(frame);
    g_client = nullptr;
    plat::user::driver::WaitIdle();
  }

  HWND NewChild(const char* title, DWORD style = WS_VISIBLE) {
    MDICREATESTRUCTA mcs{"MdiTestChild", title, nullptr, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                         style, 0};
    return reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  }
  HWND Active(BOOL* maximised = nullptr) {
    return reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximised)));
  }
  std::string FrameTitle() { return NameOf(frame); }
  // The window list: the texts after the window menu's own items and its separator.
  std::vector<std::string> List(HMENU m = nullptr) {
    if (!m) m = windowMenu;
    std::vector<std::string> out;
    for (int i = 0, n = GetMenuItemCount(m); i < n; ++i) {
      UINT id = GetMenuItemID(m, i);
      if (id < kFirstChild || id >= kFirstChild + 9) continue;
      bool checked = GetMenuState(m, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED;
      out.push_back(ItemText(m, i) + (checked ? " *" : "") + " #" + std::to_string(id - kFirstChild));
    }
    return out;
  }
  // Messages handled as the thread's loop would, with the MDI keys first.
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (TranslateMDISysAccel(client, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  HMENU menu = nullptr, windowMenu = nullptr;
  HWND frame = nullptr, client = nullptr;
};

TEST_F(MdiClient, TheOldChildHearsOfActivationBeforeTheNewOne) {
  HWND one = NewChild("One");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(g_log, (std::vector<std::string>{"One gains from -"}));
  g_log.clear();
  HWND two = NewChild("Two");
  EXPECT_EQ(g_log, (std::vector<std::string>{"One loses to Two", "Two gains from One"}));
  EXPECT_EQ(Active(), two);
  EXPECT_EQ(GetWindowLongA(one, GWL_ID), static_cast<LONG>(kFirstChild));
  EXPECT_EQ(GetWindowLongA(two, GWL_ID), static_cast<LONG>(kFirstChild + 1));
  EXPECT_EQ(GetWindowLongA(two, GWL_EXSTYLE) & WS_EX_MDICHILD, WS_EX_MDICHILD);
  EXPECT_EQ(GetFocus(), two);
  g_log.clear();
  SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(one), 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"Two loses to One", "One gains from Two"}));
  EXPECT_EQ(Active(), one);
  // Activating the active child again tells nobody.
  g_log.clear();
  SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(one), 0);
  EXPECT_TRUE(g_log.empty());
}

TEST_F(MdiClient, NextGoesDownTheStackAndPreviousTakesTheBottom) {
  HWND one = NewChild("One"), two = NewChild("Two"), three = NewChild("Three");
  ASSERT_EQ(Active(), three);
  // Stack, top first: Three Two One. Next sends Three to the bottom.
  SendMessageA(client, WM_MDINEXT, 0, 0);
  EXPECT_EQ(Active(), two);
  SendMessageA(client, WM_MDINEXT, 0, 0);
  EXPECT_EQ(Active(), one);
  SendMessageA(client, WM_MDINEXT, 0, 1);
  EXPECT_EQ(Active(), two);
  (void)three;
}

TEST_F(MdiClient, AMaximisedChildLendsTheFrameItsTitleAndItsControlsAndHandsThemOn) {
  HWND one = NewChild("One"), two = NewChild("Two");
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(two), 0);
  BOOL maximised = FALSE;
  EXPECT_EQ(Active(&maximised), two);
  EXPECT_TRUE(maximised);
  EXPECT_EQ(FrameTitle(), "Frame - [Two]");
  // The child's system menu first, then File and Window, then minimise, restore, close.
  ASSERT_EQ(GetMenuItemCount(menu), 6);
  EXPECT_EQ(GetSubMenu(menu, 0), GetSystemMenu(two, FALSE));
  EXPECT_EQ(GetMenuItemID(menu, 3), static_cast<UINT>(SC_MINIMIZE));
  EXPECT_EQ(GetMenuItemID(menu, 4), static_cast<UINT>(SC_RESTORE));
  EXPECT_EQ(GetMenuItemID(menu, 5), static_cast<UINT>(SC_CLOSE));
  // Only the child's client area shows: it fills the MDI client.
  RECT childClient, area;
  GetClientRect(two, &childClient);
  GetClientRect(client, &area);
  EXPECT_EQ(childClient.right, area.right);
  EXPECT_EQ(childClient.bottom, area.bottom);

  // The next child takes the maximised state; the title and the system menu follow.
  SendMessageA(client, WM_MDINEXT, 0, 0);
  EXPECT_EQ(Active(&maximised), one);
  EXPECT_TRUE(IsZoomed(one));
  EXPECT_FALSE(IsZoomed(two));
  EXPECT_EQ(FrameTitle(), "Frame - [One]");
  EXPECT_EQ(GetMenuItemCount(menu), 6);
  EXPECT_EQ(GetSubMenu(menu, 0), GetSystemMenu(one, FALSE));
  // A new child comes maximised too.
  HWND three = NewChild("Three");
  EXPECT_TRUE(IsZoomed(three));
  EXPECT_EQ(FrameTitle(), "Frame - [Three]");
  // The frame's own title changes under the bracket.
  SetWindowTextA(frame, "Renamed");
  EXPECT_EQ(FrameTitle(), "Renamed - [Three]");

  SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(three), 0);
  EXPECT_FALSE(IsZoomed(three));
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  EXPECT_EQ(FrameTitle(), "Renamed");
}

TEST_F(MdiClient, TheBarsCloseButtonClosesTheMaximisedChildAndTheNextTakesItsPlace) {
  HWND one = NewChild("One"), two = NewChild("Two");
  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(two), 0);
  // A click on the close item at the right end of the bar.
  RECT item;
  ASSERT_TRUE(GetMenuItemRect(frame, menu, 5, &item));
  EXPECT_EQ(item.right - item.left, GetSystemMetrics(SM_CXMENUSIZE));
  plat::user::driver::Click((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  plat::user::driver::WaitIdle();
  EXPECT_FALSE(IsWindow(two));
  EXPECT_EQ(Active(), one);
  EXPECT_TRUE(IsZoomed(one));
  EXPECT_EQ(FrameTitle(), "Frame - [One]");
  // Its restore item gives the frame its own bar back.
  ASSERT_TRUE(GetMenuItemRect(frame, menu, 4, &item));
  plat::user::driver::Click((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  plat::user::driver::WaitIdle();
  EXPECT_FALSE(IsZoomed(one));
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  EXPECT_EQ(FrameTitle(), "Frame");
}

TEST_F(MdiClient, TheWindowMenuListsTheChildrenAndChoosesAmongThem) {
  HWND one = NewChild("One"), two = NewChild("Two");
  EXPECT_EQ(List(), (std::vector<std::string>{"&1 One #0", "&2 Two * #1"}));
  EXPECT_EQ(GetMenuState(windowMenu, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  // Choosing an entry activates its child.
  SendMessageA(frame, WM_COMMAND, kFirstChild, 0);
  EXPECT_EQ(Active(), one);
  EXPECT_EQ(List(), (std::vector<std::string>{"&1 One * #0", "&2 Two #1"}));
  // A renamed child is renamed in the list; a closed one leaves it and the ids close up.
  SetWindowTextA(two, "Second");
  EXPECT_EQ(List(), (std::vector<std::string>{"&1 One * #0", "&2 Second #1"}));
  SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(one), 0);
  EXPECT_FALSE(IsWindow(one));
  EXPECT_EQ(Active(), two);
  EXPECT_EQ(GetWindowLongA(two, GWL_ID), static_cast<LONG>(kFirstChild));
  EXPECT_EQ(List(), (std::vector<std::string>{"&1 Second * #0"}));
  // The last one takes the list and its separator with it.
  SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(two), 0);
  EXPECT_EQ(Active(), nullptr);
  EXPECT_EQ(GetMenuItemCount(windowMenu), 1);
}

TEST_F(MdiClient, ControlF6MovesOnAndControlF4Closes) {
  HWND one = NewChild("One"), two = NewChild("Two");
  using namespace plat::user::driver;
  PressKey(VK_F6, kControl);
  Pump();
  EXPECT_EQ(Active(), one);
  PressKey(VK_F6, kControl | kShift);
  Pump();
  EXPECT_EQ(Active(), two);
  PressKey(VK_F4, kControl);
  Pump();
  EXPECT_FALSE(IsWindow(two));
  EXPECT_EQ(Active(), one);
  // Without Ctrl the keys are the program's.
  MSG plain{one, WM_KEYDOWN, VK_F6, 0, 0, {}};
  EXPECT_FALSE(TranslateMDISysAccel(client, &plain));
}

TEST_F(MdiClient, SetMenuAnswersTheOldMenuAndCarriesTheListAndTheMaximisedControls) {
  HWND one = NewChild("One");
  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(one), 0);
  HMENU other = CreateMenu();
  HMENU otherWindow = CreatePopupMenu();
  AppendMenuA(otherWindow, MF_STRING, kCascadeCmd, "&Cascade");
  AppendMenuA(other, MF_POPUP, reinterpret_cast<UINT_PTR>(otherWindow), "&Window");
  auto old = reinterpret_cast<HMENU>(
      SendMessageA(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(other), reinterpret_cast<LPARAM>(otherWindow)));
  EXPECT_EQ(old, menu);
  EXPECT_EQ(GetMenu(frame), other);
  // The old menus are as they were; the new ones carry the list and the controls.
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  EXPECT_EQ(GetMenuItemCount(windowMenu), 1);
  EXPECT_EQ(List(otherWindow), (std::vector<std::string>{"&1 One * #0"}));
  EXPECT_EQ(GetMenuItemCount(other), 5);
  EXPECT_EQ(GetSubMenu(other, 0), GetSystemMenu(one, FALSE));
  // Null parts leave their menus alone; the refresh answers the frame menu.
  EXPECT_EQ(reinterpret_cast<HMENU>(SendMessageA(client, WM_MDISETMENU, 0, 0)), other);
  EXPECT_EQ(reinterpret_cast<HMENU>(SendMessageA(client, WM_MDIREFRESHMENU, 0, 0)), other);
  EXPECT_EQ(List(otherWindow), (std::vector<std::string>{"&1 One * #0"}));
  SendMessageA(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), reinterpret_cast<LPARAM>(windowMenu));
  EXPECT_EQ(GetMenuItemCount(other), 1);
  DestroyMenu(other);
}

TEST_F(MdiClient, TilingSharesTheClientAndCascadingStepsByACaption) {
  HWND one = NewChild("One"), two = NewChild("Two");
  RECT area;
  GetClientRect(client, &area);
  auto rectOf = [&](HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  struct Case {
    UINT how;
    RECT top, other;  // the active child's and the other's
  };
  const Case cases[] = {
      {MDITILE_HORIZONTAL, {0, 0, area.right, area.bottom / 2}, {0, area.bottom / 2, area.right, area.bottom}},
      {MDITILE_VERTICAL, {0, 0, area.right / 2, area.bottom}, {area.right / 2, 0, area.right, area.bottom}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    EXPECT_TRUE(SendMessageA(client, WM_MDITILE, c.how, 0));
    RECT a = rectOf(two), b = rectOf(one);
    EXPECT_TRUE(EqualRect(&a, &c.top)) << a.left << "," << a.top << "," << a.right << "," << a.bottom;
    EXPECT_TRUE(EqualRect(&b, &c.other)) << b.left << "," << b.top << "," << b.right << "," << b.bottom;
  }
  // Cascading: the back window at the origin, the active one a caption further in, on top.
  EXPECT_TRUE(SendMessageA(client, WM_MDICASCADE, 0, 0));
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  RECT back = rectOf(one), front = rectOf(two);
  EXPECT_EQ(back.left, 0);
  EXPECT_EQ(back.top, 0);
  EXPECT_EQ(front.left, step);
  EXPECT_EQ(front.top, step);
  EXPECT_EQ(front.right - front.left, area.right - step);
  EXPECT_EQ(front.bottom - front.top, area.bottom - step);
  EXPECT_EQ(GetWindow(client, GW_CHILD), two);
  // A maximised child is restored first.
  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(two), 0);
  SendMessageA(client, WM_MDITILE, MDITILE_VERTICAL, 0);
  EXPECT_FALSE(IsZoomed(two));
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  // Nothing to arrange answers FALSE.
  SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(one), 0);
  SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(two), 0);
  EXPECT_FALSE(SendMessageA(client, WM_MDICASCADE, 0, 0));
}

TEST_F(MdiClient, MinimisedChildrenLineUpAlongTheBottom) {
  HWND one = NewChild("One"), two = NewChild("Two");
  ShowWindow(one, SW_MINIMIZE);
  ShowWindow(two, SW_MINIMIZE);
  SendMessageA(client, WM_MDIICONARRANGE, 0, 0);
  RECT area, a, b;
  GetClientRect(client, &area);
  GetWindowRect(one, &a);
  GetWindowRect(two, &b);
  MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&a), 2);
  MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&b), 2);
  EXPECT_EQ(a.left, 0);
  EXPECT_EQ(a.bottom, area.bottom);
  EXPECT_EQ(b.left, GetSystemMetrics(SM_CXMINIMIZED));
  EXPECT_EQ(b.bottom, area.bottom);
}

}  // namespace
