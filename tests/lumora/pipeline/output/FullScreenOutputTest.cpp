// The full-screen viewer: it covers the screen, shows a picture of the screen's size at
// 100 % and fits any other, places its control, hands pictures back to their slots,
// shows pictures from the live thread without waiting for this one, and closes on its
// keys and clicks only.
#include <future>

#include "DisplayRig.h"
#include "display/Png.h"
#include "display/Screen.h"
#include "pipeline/output/VexFullScreenOutput.h"

namespace {

class FullScreen : public displayrig::DisplayRig {
 protected:
  void SetUp() override {
    DisplayRig::SetUp();
    if (HasFatalFailure()) return;
    viewer = std::make_unique<CVexFullScreenOutput>(mainFrame);
    ASSERT_TRUE(viewer->Create(CVexFullScreenOutput::IDD, mainFrame));
    ASSERT_TRUE(viewer->CreateImagingControl());
    viewer->SetBufferControl(buffers);
    mainFrame->SetFullScreenWindow(viewer.get());
    screenW = ::GetSystemMetrics(SM_CXSCREEN);
    screenH = ::GetSystemMetrics(SM_CYSCREEN);
  }
  void TearDown() override {
    if (mainFrame) mainFrame->SetFullScreenWindow(nullptr);
    if (viewer && viewer->m_hWnd) viewer->DestroyWindow();
    viewer.reset();
    DisplayRig::TearDown();
  }
  void Enter() {
    viewer->ShowWindow(SW_SHOW);
    PumpAsTheApplication();
  }
  // The application's loop: windows see their messages first.
  static void PumpAsTheApplication() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) AfxPumpMessage();
  }
  // What the screen shows of a window's client area, B, G, R a pixel, top row first.
  static stagerig::Picture OnScreen(HWND window) {
    RECT r;
    ::GetClientRect(window, &r);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    RECT got{};
    const auto pixels = plat::display::Screen::Get().Copy(r, &got);
    stagerig::Picture out;
    out.width = got.right - got.left;
    out.height = got.bottom - got.top;
    for (auto px : pixels) out.bgr.insert(out.bgr.end(), {BYTE(px), BYTE(px >> 8), BYTE(px >> 16)});
    return out;
  }
  CRect ControlRect() const {
    CRect r;
    viewer->GetImagingControl()->GetWindowRect(&r);
    viewer->ScreenToClient(&r);
    return r;
  }

  std::unique_ptr<CVexFullScreenOutput> viewer;
  int screenW = 0, screenH = 0;
};

TEST_F(FullScreen, CoversTheScreen) {
  CRect window, frame;
  viewer->GetWindowRect(&window);
  EXPECT_EQ(window, CRect(0, 0, screenW, screenH));
  viewer->GetDlgItem(CVexFullScreenOutput::kPictureFrame)->GetWindowRect(&frame);
  EXPECT_EQ(frame, window);
  EXPECT_FALSE(viewer->IsWindowVisible()) << "made hidden, shown by the main frame";
}

// A picture of exactly the screen's size is shown pixel for pixel; one pixel more in
// either direction is fitted to the screen. The main frame places the control first.
TEST_F(FullScreen, ScreenSizedPictureAtFullSizeLargerOnesFitted) {
  struct Case {
    int dw, dh;
    bool actualSize;
  } cases[] = {{0, 0, true}, {1, 0, false}, {0, 1, false}, {0, 0, true}};
  CLead* lead = viewer->GetImagingControl();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dw) + ", " + std::to_string(c.dh));
    PutPicture(3, screenW + c.dw, screenH + c.dh, [](int x, int y, BYTE* p) { p[0] = BYTE(x), p[1] = BYTE(y), p[2] = BYTE(x ^ y); });
    ASSERT_EQ(viewer->FitControl(screenW + c.dw, screenH + c.dh), 1);
    ASSERT_EQ(viewer->ShowImage(3), 1);
    Enter();
    if (c.actualSize) {
      EXPECT_FLOAT_EQ(lead->GetPaintZoom(), 100.0f);
      // Every pixel of the screen is the picture's.
      const stagerig::Picture shown = OnScreen(lead->m_hWnd);
      const stagerig::Picture picture = Slot(3);
      ASSERT_EQ(shown.width, picture.width);
      size_t differ = 0, first = 0;
      for (size_t i = 0; i < shown.bgr.size(); ++i)
        if (shown.bgr[i] != picture.bgr[i] && !differ++) first = i;
      EXPECT_EQ(differ, 0u) << "first at pixel " << first / 3 % picture.width << ", " << first / 3 / picture.width;
    } else {
      EXPECT_EQ(lead->GetPaintSizeMode(), 3);
      EXPECT_LT(lead->GetPaintZoom(), 100.0f);
    }
  }
}

TEST_F(FullScreen, PicturesGoBackToTheirOwners) {
  PutPicture(0, 320, 240, [](int x, int y, BYTE* p) { p[0] = BYTE(x), p[1] = BYTE(y), p[2] = 5; });
  const stagerig::Picture still = Slot(0);
  buffers->SetSecondBitmap(buffers->GetBuffer(0));
  ASSERT_EQ(viewer->ShowImage(-1), 1);
  EXPECT_EQ(buffers->GetSecondBitmap(), viewer->GetImagingControl()->GetBitmap());
  EXPECT_TRUE(Read(buffers->GetSecondBitmap()).bgr == still.bgr);

  PutFlat(5, 64, 48, 1, 2, 3);
  ASSERT_EQ(viewer->ShowImage(5), 1);
  EXPECT_EQ(buffers->GetBuffer(5), viewer->GetImagingControl()->GetBitmap());
  EXPECT_EQ(Slot(5).width, 64);
}

TEST_F(FullScreen, FitControlCentresAndShrinksNeverEnlarges) {
  viewer->MoveWindow(0, 0, 1024, 768);
  struct Case {
    int w, h;
    int result;
    CRect placed;
  } cases[] = {
      {640, 512, 1, CRect(192, 128, 832, 640)},
      {1024, 768, 1, CRect(0, 0, 1024, 768)},
      {2048, 768, 1, CRect(0, 192, 1024, 576)},   // wider: the width is the window's
      {1024, 1536, 1, CRect(256, 0, 768, 768)},   // taller: the height is the window's
      {0, 512, 0, CRect()},
      {640, -1, 0, CRect()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    const CRect before = ControlRect();
    EXPECT_EQ(viewer->FitControl(c.w, c.h), c.result);
    EXPECT_EQ(ControlRect(), c.result ? c.placed : before);
  }
}

// The live thread shows frames full screen while this thread is busy elsewhere: the
// repaint it asks for is not waited for.
TEST_F(FullScreen, ShowImageFromAnotherThreadDoesNotWaitForThisOne) {
  Enter();
  PutFlat(4, 200, 150, 200, 100, 50);
  auto shown = std::async(std::launch::async, [&] { return viewer->ShowImage(4); });
  const bool finished = shown.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
  EXPECT_TRUE(finished) << "ShowImage waited for the window's thread";
  while (shown.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) Pump();
  EXPECT_EQ(shown.get(), 1);
  Pump();
}

TEST_F(FullScreen, ClosesOnItsKeysAndClicksOnly) {
  PutPicture(2, 320, 240, [](int x, int y, BYTE* p) { p[0] = BYTE(x), p[1] = BYTE(y), p[2] = 90; });
  ASSERT_EQ(viewer->ShowImage(2), 1);
  struct Case {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool closes;
  } cases[] = {
      {"Enter", WM_KEYDOWN, VK_RETURN, true},     {"Tab", WM_KEYDOWN, VK_TAB, true},
      {"Esc", WM_KEYDOWN, VK_ESCAPE, true},       {"Space", WM_KEYDOWN, VK_SPACE, true},
      {"End", WM_KEYDOWN, VK_END, true},          {"left click", WM_LBUTTONDOWN, MK_LBUTTON, true},
      {"right click", WM_RBUTTONDOWN, MK_RBUTTON, true}, {"A", WM_KEYDOWN, 'A', false},
      {"Home", WM_KEYDOWN, VK_HOME, false},       {"F1", WM_KEYDOWN, VK_F1, false},
      {"middle click", WM_MBUTTONDOWN, MK_MBUTTON, false}, {"Enter released", WM_KEYUP, VK_RETURN, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Enter();
    ASSERT_TRUE(viewer->IsWindowVisible());
    // As a user's input arrives: at the control under the mouse or with the focus.
    ::PostMessageA(viewer->GetImagingControl()->m_hWnd, c.message, c.wParam, MAKELPARAM(10, 10));
    PumpAsTheApplication();
    EXPECT_EQ(viewer->IsWindowVisible() == FALSE, c.closes);
    viewer->ShowWindow(SW_HIDE);
  }
}

// Enter and Esc reaching the dialog itself (its default buttons) leave full screen too,
// and the dialog is hidden, not ended.
TEST_F(FullScreen, OkAndCancelLeaveWithoutEndingTheDialog) {
  for (WORD command : {WORD(IDOK), WORD(IDCANCEL)}) {
    Enter();
    viewer->SendMessage(WM_COMMAND, command, 0);
    EXPECT_FALSE(viewer->IsWindowVisible());
    EXPECT_TRUE(::IsWindow(viewer->m_hWnd));
    EXPECT_TRUE(mainFrame->IsWindowEnabled());
  }
}

TEST_F(FullScreen, WithoutAControlNothingIsShown) {
  viewer->GetImagingControl()->DestroyWindow();
  EXPECT_EQ(viewer->ShowImage(-1), 0);
  EXPECT_EQ(viewer->FitControl(640, 512), 0);
}

// A picture smaller than the screen, centred on black as the main frame places it.
TEST_F(FullScreen, Screenshot) {
  PutPicture(1, 960, 720, [](int x, int y, BYTE* p) {
    const bool check = ((x / 60) + (y / 60)) % 2 == 0;
    p[0] = BYTE(check ? 230 : x / 4), p[1] = BYTE(check ? 230 : y / 3), p[2] = BYTE(check ? 230 : 140);
  });
  ASSERT_EQ(viewer->FitControl(960, 720), 1);
  ASSERT_EQ(viewer->ShowImage(1), 1);
  Enter();
  CRect r(0, 0, screenW, screenH);
  EXPECT_TRUE(plat::display::SavePng(displayrig::ShotPath("full-screen.png"), &r));
  EXPECT_TRUE(OnScreen(viewer->GetImagingControl()->m_hWnd).bgr == Slot(1).bgr);
}

}  // namespace
