#include <gtest/gtest.h>

#include "../VexcamFixture.h"
#include "ModuleRegistry.h"
#include "ProgressWindows.h"
#include "VexcamApp.h"

namespace {

class ProgressWindows : public VexcamTest {
 protected:
  // The library started as the program loads it, with its resource library.
  void SetUp() override {
    VexcamTest::SetUp();
    // The templates' text and Cancel button: plain windows of those classes are enough here.
    static const bool registered = [] {
      for (const char* name : {"Button", "Static"}) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = name;
        wc.style = CS_GLOBALCLASS;
        RegisterClassA(&wc);
      }
      return true;
    }();
    (void)registered;
    plat::ModuleSpec spec;
    spec.fileName = "Vexcam.dll";
    spec.loaded = true;
    app.m_hInstance = plat::RegisterModule(std::move(spec));
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(app.m_hResource, nullptr);
  }
  void TearDown() override {
    if (GetVexcamApp()) app.ExitInstance();
    VexcamTest::TearDown();
  }
  CVexcamApp app;
  void Click(HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }
};

}  // namespace

TEST_F(ProgressWindows, ReadoutWindowIsSizedAndDrawsItsBars) {
  CReadoutProgressWnd wnd(nullptr);
  ASSERT_NE(wnd.GetSafeHwnd(), nullptr);
  RECT r{};
  GetWindowRect(wnd.GetSafeHwnd(), &r);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 100);
  // Drawing goes through the window's DC and leaves the window in place.
  wnd.DrawBar1(150);
  wnd.DrawBar2(0);
  wnd.DrawBar3(50);
  RECT after{};
  GetWindowRect(wnd.GetSafeHwnd(), &after);
  EXPECT_TRUE(EqualRect(&r, &after));
}

TEST_F(ProgressWindows, CancelAbortsAndTheNextUpdateClosesTheWindow) {
  CCameraCtrl& cam = *Camera();
  cam.m_pProgress = std::make_unique<CReadoutProgressWnd>(nullptr);
  HWND hwnd = cam.m_pProgress->GetSafeHwnd();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(cam.UpdateProgress(30), 1);
  EXPECT_EQ(settings.Progress[2], 30);
  Click(hwnd);
  EXPECT_EQ(cam.UpdateProgress(40), 0);  // the click is dispatched inside the update
  EXPECT_EQ(settings.bAbort, 1u);
  EXPECT_EQ(cam.m_pProgress, nullptr);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(cam.UpdateProgress(50), 1);  // no window any more
  EXPECT_EQ(settings.Progress[2], 50);
}

TEST_F(ProgressWindows, WhiteBalancePumpStopsOnCancelOrAbort) {
  CCameraCtrl& cam = *Camera();
  {
    CWhiteBalanceWnd wnd(nullptr);
    ASSERT_NE(wnd.GetSafeHwnd(), nullptr);
    cam.m_WhiteBalanceOpen = true;
    EXPECT_EQ(cam.PumpWhiteBalance(), 1);
    Click(wnd.GetSafeHwnd());
    EXPECT_EQ(cam.PumpWhiteBalance(), 0);
    EXPECT_FALSE(cam.m_WhiteBalanceOpen);
  }
  settings.bAbort = 1;
  EXPECT_EQ(cam.PumpWhiteBalance(), 0);
}
