// The splash window: where it shows, who owns it, and how it ends.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Clock.h"
#include "ToolkitFixture.h"
#include "controls/SECSplashWnd.h"
#include "user/Driver.h"

namespace toolkit_test {
namespace {

// The screen of the splash's own example. The screen is made on first use, before any
// test runs.
const bool kScreen = (setenv("LUMORA_SCREEN", "1024x768", 1), true);

// A splash that says when it is gone and what its hook was given.
struct WatchedSplash : SECSplashWnd {
  WatchedSplash(UINT id, UINT ms, bool* gone, BOOL noTimer = FALSE) : SECSplashWnd(id, ms, noTimer), gone_(gone) {}
  ~WatchedSplash() override { *gone_ = true; }
  void OnDrawText(CDC* pDC, CRect& rect) override { drawnIn = rect; }
  CRect drawnIn;
  HWND HiddenOwner() const { return m_hWndHiddenParent; }

 private:
  bool* gone_;
};

COLORREF ScreenPixel(int x, int y) {
  HDC screen = ::GetDC(nullptr);
  COLORREF c = ::GetPixel(screen, x, y);
  ::ReleaseDC(nullptr, screen);
  return c;
}

class Splash : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    ASSERT_TRUE(kScreen);
    plat::clock::UseVirtual(true);
  }
  void TearDown() override {
    plat::clock::UseVirtual(false);
    ToolkitTest::TearDown();
  }
  // Lets `ms` milliseconds pass and handles what they bring.
  void Wait(int ms) {
    plat::clock::Advance(static_cast<int64_t>(ms) * 1000);
    Pump();
  }
  WatchedSplash* Show(UINT id, UINT ms, CWnd* parent = nullptr, BOOL noTimer = FALSE) {
    gone = false;
    auto* splash = new WatchedSplash(id, ms, &gone, noTimer);  // it deletes itself
    EXPECT_TRUE(splash->Create(parent, WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW));
    hwnd = splash->m_hWnd;
    Pump();
    return splash;
  }
  bool gone = false;
  HWND hwnd = nullptr;
};

TEST_F(Splash, ShowsItsBitmapInTheMiddleOwnedByAHiddenWindow) {
  ASSERT_EQ(::GetSystemMetrics(SM_CXSCREEN), 1024);
  ASSERT_EQ(::GetSystemMetrics(SM_CYSCREEN), 768);
  WatchedSplash* splash = Show(IDB_TEST_SPLASH, 2000);
  CRect r;
  ::GetWindowRect(hwnd, &r);
  EXPECT_EQ(r, CRect(192, 144, 192 + 640, 144 + 480));
  EXPECT_TRUE(::IsWindowVisible(hwnd));
  EXPECT_EQ(dialogdriver::Text(hwnd), "SECSplashWnd");
  const DWORD ex = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_EXSTYLE));
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_FALSE(ex & WS_EX_TOOLWINDOW);

  HWND owner = ::GetWindow(hwnd, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(owner, splash->HiddenOwner());
  EXPECT_EQ(dialogdriver::Text(owner), "SECSplashWndParent");
  EXPECT_FALSE(::IsWindowVisible(owner));
  EXPECT_TRUE(::GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

  // The bitmap's bands and its white panel, 1:1 on the screen.
  EXPECT_EQ(ScreenPixel(192 + 10, 144 + 10), RGB(128, 0, 0));
  EXPECT_EQ(ScreenPixel(192 + 10, 144 + 50), RGB(0, 128, 0));
  EXPECT_EQ(ScreenPixel(192 + 300, 144 + 240), RGB(255, 255, 255));
  EXPECT_EQ(splash->drawnIn, CRect(0, 0, 640, 480));

  Wait(1990);
  EXPECT_TRUE(::IsWindow(hwnd));
  EXPECT_FALSE(gone);
  Wait(20);
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_FALSE(::IsWindow(owner));
  EXPECT_TRUE(gone);
}

TEST_F(Splash, IsOwnedByTheMainWindowWhenThereIsOne) {
  CWinApp app("SplashApp");
  CWnd main;
  ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1024, 768,
                            nullptr, nullptr));
  app.m_pMainWnd = &main;
  WatchedSplash* splash = Show(IDB_TEST_SPLASH, 2000);
  EXPECT_EQ(::GetWindow(hwnd, GW_OWNER), main.m_hWnd);
  EXPECT_EQ(splash->HiddenOwner(), nullptr);
  EXPECT_EQ(::FindWindowA(nullptr, "SECSplashWndParent"), nullptr);
  EXPECT_FALSE(::GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);

  splash->DisableOwner(TRUE);
  EXPECT_FALSE(main.IsWindowEnabled());
  EXPECT_TRUE(::IsWindowEnabled(hwnd));
  Wait(2010);
  EXPECT_TRUE(gone);
  EXPECT_TRUE(main.IsWindowEnabled());  // given back when the splash went
  app.m_pMainWnd = nullptr;
  main.DestroyWindow();
}

TEST_F(Splash, AClickOnItClosesItAndClicksElsewhereDoNot) {
  CWinApp app("SplashApp");
  CWnd main;
  ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, nullptr,
                            nullptr));
  app.m_pMainWnd = &main;
  Show(IDB_TEST_SPLASH, 2000);
  plat::user::driver::Click(50, 50);  // on the main window
  plat::user::driver::Click(900, 700, 1);
  Pump();
  EXPECT_TRUE(::IsWindow(hwnd));
  plat::user::driver::Click(500, 400);  // on the splash
  Pump();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_TRUE(gone);

  Show(IDB_TEST_SPLASH, 2000);
  ::PostMessageA(hwnd, WM_KEYDOWN, VK_SPACE, 0);
  Pump();
  EXPECT_TRUE(gone);
  app.m_pMainWnd = nullptr;
  main.DestroyWindow();
}

TEST_F(Splash, WithoutATimerOnlyTheOwnerClosesIt) {
  WatchedSplash* splash = Show(IDB_TEST_SPLASH, 2000, nullptr, TRUE);
  splash->SetCloseOnInput(TRUE);
  Wait(5000);
  plat::user::driver::Click(500, 400);
  Pump();
  EXPECT_TRUE(::IsWindow(hwnd));
  splash->Close();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_TRUE(gone);
}

TEST_F(Splash, TimeoutsCanBeChangedAndInputIgnored) {
  WatchedSplash* splash = Show(IDB_TEST_SPLASH, 2000);
  splash->SetCloseOnInput(FALSE);
  plat::user::driver::Click(500, 400);
  Pump();
  EXPECT_TRUE(::IsWindow(hwnd));
  splash->SetTimeout(500);
  Wait(400);
  splash->RestartTimer();  // starts the 500 ms anew
  Wait(400);
  EXPECT_TRUE(::IsWindow(hwnd));
  Wait(200);
  EXPECT_TRUE(gone);
}

TEST_F(Splash, TopMostAndCaptionAreTheCallersToChoose) {
  gone = false;
  auto* splash = new WatchedSplash(IDB_TEST_SPLASH, 2000, &gone);
  splash->SetCaption("Lumora");
  ASSERT_TRUE(splash->Create(nullptr, WS_POPUP | WS_VISIBLE, 0));
  HWND h = splash->m_hWnd;
  EXPECT_EQ(dialogdriver::Text(h), "Lumora");
  EXPECT_EQ(splash->HiddenOwner(), nullptr);  // with a caption it shows on its own
  EXPECT_EQ(::GetWindow(h, GW_OWNER), nullptr);
  EXPECT_TRUE(::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_FALSE(::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
  splash->SetTopMost(TRUE);
  EXPECT_TRUE(::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
  splash->SetTopMost(FALSE);
  EXPECT_FALSE(::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
  CRect r;
  ::GetWindowRect(h, &r);
  EXPECT_EQ(r.TopLeft(), CPoint(192, 144));  // neither moved nor sized
  splash->Close();
  EXPECT_TRUE(gone);
}

TEST_F(Splash, ABitmapThatCannotBeLoadedShowsNothingButStillEnds) {
  Show(999, 2000);
  ASSERT_TRUE(::IsWindow(hwnd));
  CRect r;
  ::GetWindowRect(hwnd, &r);
  EXPECT_TRUE(r.IsRectEmpty());
  EXPECT_EQ(r.TopLeft(), CPoint(512, 384));
  Wait(2010);
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_TRUE(gone);
}

}  // namespace
}  // namespace toolkit_test
