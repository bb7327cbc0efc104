#include <gtest/gtest.h>

#include "UserTestSupport.h"

using usertest::Recorder;

namespace {

using Log = std::vector<std::string>;

TEST(Windows, VisibleTopLevelWindowIsCreatedShownAndActivatedInOrder) {
  Recorder rec;
  HWND top = rec.Create("top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(rec.Log({WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS}),
            (Log{"top:NCCREATE", "top:CREATE", "top:SIZE", "top:MOVE", "top:SHOWWINDOW", "top:NCACTIVATE",
                 "top:ACTIVATE", "top:SETFOCUS"}));
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(GetFocus(), top);
  EXPECT_TRUE(IsWindowVisible(top));
}

TEST(Windows, DestroyGoesDownForDestroyAndUpForNcDestroy) {
  Recorder rec;
  HWND parent = rec.Create("parent", WS_POPUP, 0, 0, 100, 100);
  rec.Create("a", WS_CHILD, 0, 0, 10, 10, parent, 1);
  HWND b = rec.Create("b", WS_CHILD, 0, 0, 10, 10, parent, 2);
  rec.Create("b1", WS_CHILD, 0, 0, 5, 5, b, 3);
  rec.Clear();
  ASSERT_TRUE(DestroyWindow(parent));
  EXPECT_EQ(rec.Log({WM_DESTROY, WM_NCDESTROY}),
            (Log{"parent:DESTROY", "a:DESTROY", "b:DESTROY", "b1:DESTROY", "a:NCDESTROY", "b1:NCDESTROY",
                 "b:NCDESTROY", "parent:NCDESTROY"}));
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(b));
  // A stale handle is refused cleanly.
  SetLastError(0);
  EXPECT_EQ(SendMessageA(b, WM_USER, 0, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(DestroyWindow(b));
}

TEST(Windows, ChildCreationNotifiesTheParent) {
  Recorder rec;
  HWND parent = rec.Create("parent", WS_POPUP, 0, 0, 100, 100);
  rec.Clear();
  HWND child = rec.Create("child", WS_CHILD, 0, 0, 10, 10, parent, 7);
  rec.Create("quiet", WS_CHILD, 0, 0, 10, 10, parent, 8, WS_EX_NOPARENTNOTIFY);
  EXPECT_EQ(rec.Log({WM_PARENTNOTIFY}), (Log{"parent:PARENTNOTIFY"}));
  EXPECT_EQ(GetDlgCtrlID(child), 7);
  EXPECT_EQ(GetDlgItem(parent, 7), child);
  EXPECT_EQ(GetParent(child), parent);
}

TEST(Windows, CreateAnsweredWithMinusOneFailsAndCleansUp) {
  Recorder rec;
  rec.handlers[WM_CREATE] = [](HWND, WPARAM, LPARAM) -> LRESULT { return -1; };
  HWND h = rec.Create("bad", WS_POPUP, 0, 0, 10, 10);
  EXPECT_EQ(h, nullptr);
  EXPECT_EQ(rec.Log({WM_CREATE, WM_DESTROY, WM_NCDESTROY}), (Log{"bad:CREATE", "bad:DESTROY", "bad:NCDESTROY"}));
}

TEST(Windows, UnknownClassFails) {
  SetLastError(0);
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

TEST(Windows, ChildrenKeepCreationOrderAndTopmostStaysAbove) {
  Recorder rec;
  HWND parent = rec.Create("parent", WS_POPUP, 0, 0, 100, 100);
  HWND a = rec.Create("a", WS_CHILD, 0, 0, 10, 10, parent, 1);
  HWND b = rec.Create("b", WS_CHILD, 0, 0, 10, 10, parent, 2);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), nullptr);
  HWND t1 = rec.Create("t1", WS_POPUP, 0, 0, 10, 10);
  SetWindowPos(t1, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  HWND t2 = rec.Create("t2", WS_POPUP, 0, 0, 10, 10);
  // A newer normal window still goes below the topmost one.
  EXPECT_EQ(GetTopWindow(nullptr), t1);
  EXPECT_EQ(GetWindow(t1, GW_HWNDNEXT), t2);
}

TEST(Windows, PropertiesLongsAndExtraBytes) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.cbWndExtra = 16;
  wc.lpszClassName = "ExtraWnd";
  ASSERT_NE(RegisterClassA(&wc), 0);
  EXPECT_EQ(RegisterClassA(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  HWND h = CreateWindowExA(0, "extrawnd", "x", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(SetWindowLongA(h, 4, 1234), 0);
  EXPECT_EQ(GetWindowLongA(h, 4), 1234);
  EXPECT_EQ(SetWindowLongPtrA(h, 8, 0x123456789ALL), 0);
  EXPECT_EQ(GetWindowLongPtrA(h, 8), 0x123456789ALL);
  SetLastError(0);
  EXPECT_EQ(GetWindowLongA(h, 14), 0);  // beyond the extra bytes
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  EXPECT_TRUE(SetPropA(h, "Lumora", reinterpret_cast<HANDLE>(1)));
  EXPECT_EQ(GetPropA(h, "LUMORA"), reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(RemovePropA(h, "lumora"), reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(GetPropA(h, "Lumora"), nullptr);
  char cls[32];
  EXPECT_EQ(GetClassNameA(h, cls, sizeof cls), 8);
  EXPECT_STREQ(cls, "ExtraWnd");
  EXPECT_FALSE(UnregisterClassA("ExtraWnd", nullptr));  // a window still uses it
  DestroyWindow(h);
  EXPECT_TRUE(UnregisterClassA("ExtraWnd", nullptr));
}

TEST(Windows, KeepTheirHelpContextId) {
  Recorder rec;
  HWND h = rec.Create("help", WS_POPUP, 0, 0, 5, 5);
  EXPECT_EQ(GetWindowContextHelpId(h), 0u);
  EXPECT_TRUE(SetWindowContextHelpId(h, 0x1234));
  EXPECT_EQ(GetWindowContextHelpId(h), 0x1234u);
  DestroyWindow(h);
  SetLastError(0);
  EXPECT_FALSE(SetWindowContextHelpId(h, 1));  // a stale handle
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(GetWindowContextHelpId(h), 0u);
}

TEST(Windows, TextNeverSplitsACharacter) {
  Recorder rec;
  HWND h = rec.Create("露光", WS_POPUP, 0, 0, 5, 5);
  EXPECT_EQ(GetWindowTextLengthA(h), 6);
  char buf[16];
  struct Case {
    int size;
    const char* text;
  } cases[] = {{16, "露光"}, {7, "露光"}, {6, "露"}, {4, "露"}, {3, ""}, {1, ""}};
  for (auto& c : cases) {
    EXPECT_EQ(GetWindowTextA(h, buf, c.size), static_cast<int>(strlen(c.text))) << c.size;
    EXPECT_STREQ(buf, c.text) << c.size;
  }
  SetWindowTextA(h, "exposure");
  GetWindowTextA(h, buf, sizeof buf);
  EXPECT_STREQ(buf, "exposure");
}

TEST(Windows, GeometryAndPointMapping) {
  Recorder rec;
  HWND top = rec.Create("top", WS_POPUP | WS_BORDER, 100, 50, 200, 150);
  HWND child = rec.Create("child", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 20, 50, 40, top, 1, WS_EX_CLIENTEDGE);
  RECT r;
  GetClientRect(top, &r);
  EXPECT_EQ(r.right, 198);
  EXPECT_EQ(r.bottom, 148);
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 111);  // 100 + border 1 + 10
  EXPECT_EQ(r.top, 71);
  GetClientRect(child, &r);
  EXPECT_EQ(r.right, 50 - 2 * 3);  // border and client edge on each side
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p.x, 114);
  EXPECT_EQ(p.y, 74);
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 13);
  EXPECT_EQ(p.y, 23);
  POINT pts[1] = {{0, 0}};
  MapWindowPoints(child, top, pts, 1);
  EXPECT_EQ(pts[0].x, 13);
  RECT want{0, 0, 200, 100};
  AdjustWindowRectEx(&want, WS_OVERLAPPEDWINDOW, FALSE, 0);
  EXPECT_EQ(want.left, -4);
  EXPECT_EQ(want.top, -4 - 19);
  EXPECT_EQ(want.right, 204);
  ShowWindow(top, SW_SHOWNA);
  EXPECT_EQ(WindowFromPoint(POINT{120, 80}), child);
  EXPECT_EQ(WindowFromPoint(POINT{105, 55}), top);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{15, 25}), child);
  ShowWindow(child, SW_HIDE);
  EXPECT_EQ(WindowFromPoint(POINT{120, 80}), top);
}

TEST(Windows, SetWindowPosSendsChangingChangedSizeAndMove) {
  Recorder rec;
  HWND h = rec.Create("w", WS_POPUP, 0, 0, 50, 50);
  rec.Clear();
  MoveWindow(h, 5, 5, 60, 50, TRUE);
  EXPECT_EQ(rec.Log({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE}),
            (Log{"w:POSCHANGING", "w:POSCHANGED", "w:SIZE", "w:MOVE"}));
  rec.Clear();
  MoveWindow(h, 5, 5, 60, 50, TRUE);  // no change: no WM_SIZE or WM_MOVE
  EXPECT_EQ(rec.Log({WM_SIZE, WM_MOVE}), Log{});
  HDWP dwp = BeginDeferWindowPos(2);
  dwp = DeferWindowPos(dwp, h, nullptr, 1, 2, 30, 40, SWP_NOZORDER);
  ASSERT_NE(dwp, nullptr);
  EXPECT_TRUE(EndDeferWindowPos(dwp));
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.bottom, 42);
}

TEST(Windows, MinimiseAndRestore) {
  Recorder rec;
  HWND h = rec.Create("w", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 30, 300, 200);
  ShowWindow(h, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(h));
  ShowWindow(h, SW_RESTORE);
  EXPECT_FALSE(IsIconic(h));
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.right, 320);
}

}  // namespace
