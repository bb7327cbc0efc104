#include <gtest/gtest.h>

#include "../VexcamFixture.h"
#include "ProgressWindows.h"

namespace {

class ProgressWindows : public VexcamTest {
 protected:
  void SetUp() override {
    VexcamTest::SetUp();
    // The templates' Cancel button: a plain window of the button class is enough here.
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = DefWindowProcA;
      wc.lpszClassName = "Button";
      wc.style = CS_GLOBALCLASS;
      return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
  }
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
  // Drawing goes through the window's DC and leaves the window as it was.
  wnd.DrawBar1(150);
  wnd.DrawBar2(0);
  wnd.DrawBar3(50);
  EXPECT_TRUE(IsWindowVisible(wnd.GetSafeHwnd()));
}

TEST_F(ProgressWindows, CancelAbortsAndTheNextUpdateClosesTheWindow) {
  CCameraCtrl& cam = MakeCamera();
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
  CCameraCtrl& cam = MakeCamera();
  SetCamera(&cam);
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
  SetCamera(nullptr);
}
