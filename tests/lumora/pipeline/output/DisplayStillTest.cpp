// Still pictures in the panes: shown fitted from the top-left corner, handed to the file
// output, read out pixel by pixel in the status bar, the mouse tools and their cursors,
// the zoom text, and the pane's background.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "DisplayRig.h"
#include "Faults.h"
#include "binding/CLead.h"
#include "display/Png.h"
#include "display/Screen.h"
#include "user/Driver.h"

namespace {

using displayrig::DisplayRig;
namespace responder = plat::user::responder;

class DisplayStill : public DisplayRig {
 protected:
  // A picture whose pixels tell where they are: blue = x, green = y (low bytes), red 90.
  LONG ShowStill(CVexDisplayOutput* pane, int width, int height, SHORT tool = 0) {
    const LONG handle = PutPicture(2, width, height, [](int x, int y, BYTE* p) { p[0] = BYTE(x), p[1] = BYTE(y), p[2] = 90; });
    doc->m_nImageState = 1;
    Still(pane, tool);
    EXPECT_EQ(pane->Output(2), 1);
    return handle;
  }
  static LONG Flag(CVexDisplayOutput* pane, DISPID id) {
    BOOL on = FALSE;
    pane->GetImagingControl()->GetProperty(id, VT_BOOL, &on);
    return on ? 1 : 0;
  }
  // The screen pixel at a point of a window's client area.
  static plat::display::Pixel ScreenAt(HWND window, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(window, &p);
    RECT r{p.x, p.y, p.x + 1, p.y + 1}, got{};
    const auto pixels = plat::display::Screen::Get().Copy(r, &got);
    return pixels.empty() ? 0 : pixels[0] & 0xFFFFFF;
  }
  static void Repaint(CWnd* window) {
    ::RedrawWindow(window->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
  }
};

TEST_F(DisplayStill, AStillIsShownFittedFromTheTopLeftAndHandedToTheFileOutput) {
  ShowStill(paneL, 512, 640);
  CLead* lead = paneL->GetImagingControl();
  EXPECT_FLOAT_EQ(lead->GetPaintZoom(), 80);
  EXPECT_FLOAT_EQ(paneL->GetBaseZoom(), 80);
  EXPECT_EQ(lead->GetDisplayLeft(), 0);
  EXPECT_EQ(lead->GetDisplayTop(), 0);
  EXPECT_EQ(lead->GetDisplayHeight(), 512);
  EXPECT_STREQ(doc->GetImageSizeText(), "512x640");
  EXPECT_EQ(buffers->GetSecondBitmap(), lead->GetBitmap()) << "the file output saves what is shown";
  EXPECT_EQ(buffers->GetBuffer(2), lead->GetBitmap());
  EXPECT_EQ(paneL->GetImageWidth(), 512);
  EXPECT_EQ(paneL->GetImageHeight(), 640);
  doc->m_nImageState = 0;
  EXPECT_EQ(paneL->GetImageWidth(), 0) << "no picture is shown before the first";
}

TEST_F(DisplayStill, ThePictureScaleFollowsResizedSaving) {
  const struct {
    bool shootMode;
    DWORD resize;
    DWORD index;
    double scale;
  } cases[] = {{true, 1, 0, 0.75}, {true, 1, 1, 0.5}, {true, 1, 2, 0.25}, {true, 1, 3, 1.0},
               {true, 0, 1, 1.0},  {false, 1, 1, 1.0}};
  for (const auto& c : cases) {
    ASSERT_EQ(doc->SetCaptureMode(c.shootMode ? 0 : 1), 1);
    doc->SetResizeSave(c.resize).SetResizeSaveSize(c.index);
    ShowStill(paneR, 64, 48);
    EXPECT_EQ(paneR->GetAnnotationScale(), c.scale) << c.shootMode << c.resize << c.index;
    EXPECT_EQ(paneR->GetFineMode(), doc->GetShotParameters().fineMode);
  }
}

TEST_F(DisplayStill, ThePixelReadOutAtTwoHundredPerCentGivesPicturePoints) {
  ShowStill(paneL, 640, 512);
  paneL->ZoomIn();  // 200 % about the middle: the pane's (0, 0) is the picture's (160, 128)
  ASSERT_FLOAT_EQ(paneL->GetImagingControl()->GetPaintZoom(), 200);
  paneL->OnControlMouseMove(0, 0, 100, 60);
  EXPECT_EQ(PaneText(2), "X : 0210   Y : 0158     R : 090   G : 158   B : 210");
  // Fitted again, pane and picture pixels are one.
  paneL->ZoomFit();
  paneL->OnControlMouseMove(0, 0, 7, 9);
  EXPECT_EQ(PaneText(2), "X : 0007   Y : 0009     R : 090   G : 009   B : 007");
  // Without a picture shown the read-out stays.
  doc->m_nImageState = 0;
  paneL->OnControlMouseMove(0, 0, 50, 50);
  EXPECT_EQ(PaneText(2), "X : 0007   Y : 0009     R : 090   G : 009   B : 007");
}

// The mouse moved over the pane, where the screen has it: beside a picture narrower than
// the pane there is no pixel, and the read-out is left empty.
TEST_F(DisplayStill, BesideThePictureTheReadOutIsEmpty) {
  namespace driver = plat::user::driver;
  ShowStill(paneL, 512, 640);  // fitted at 80 %: 410 of the pane's 640 columns
  RECT r;
  paneL->GetImagingControl()->GetWindowRect(&r);
  driver::MoveTo(r.left + 100, r.top + 50);
  driver::WaitIdle();
  EXPECT_EQ(PaneText(2).substr(0, 22), "X : 0124   Y : 0062   ");  // 100 / 0.8 in floats
  driver::MoveTo(r.left + 500, r.top + 50);
  driver::WaitIdle();
  EXPECT_EQ(PaneText(2), "");
}

TEST_F(DisplayStill, AnAllZeroReadOutIsShownAsText) {
  EXPECT_EQ(paneL->ShowPixelInfo(0, 0, 0, 0, 0), 1);
  EXPECT_EQ(PaneText(2), "X : 0000   Y : 0000     R : 000   G : 000   B : 000");
  EXPECT_EQ(PaneText(1), "");
}

TEST_F(DisplayStill, MouseToolsSetTheirCursorsAndTheControlsBand) {
  const struct {
    SHORT tool;
    UINT cursor;  // 0: none of the pane's own
    LONG band, keep, pan;
  } cases[] = {{1, 180, 1, 1, 0}, {2, 181, 0, 0, 1}, {0, 0, 0, 0, 0}};
  ShowStill(paneL, 64, 48);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tool);
    Still(paneL, c.tool);
    EXPECT_EQ(paneL->GetMouseTool(), c.tool);
    EXPECT_EQ(Flag(paneL, 48), c.band);
    EXPECT_EQ(Flag(paneL, 160), c.keep);
    EXPECT_EQ(Flag(paneL, 275), c.pan);
    ::SetCursor(nullptr);
    paneL->GetImagingControl()->SendMessage(WM_SETCURSOR, WPARAM(paneL->GetImagingControl()->m_hWnd),
                                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    if (c.cursor) {
      const HCURSOR expected = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(c.cursor));
      EXPECT_NE(expected, nullptr);
      EXPECT_EQ(::GetCursor(), expected);
    } else {
      EXPECT_EQ(::GetCursor(), nullptr) << "the pane leaves the cursor to the windows below";
    }
  }
  // An unknown tool changes nothing.
  Still(paneL, 7);
  EXPECT_EQ(paneL->GetMouseTool(), 0);
}

TEST_F(DisplayStill, ThePanToolGripsWhilePressedAndTheZoomToolZoomsOutOnTheRightButton) {
  ShowStill(paneL, 640, 512, 2);
  Press(paneL, 100, 100);
  EXPECT_EQ(::GetCursor(), ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(182)));
  Release(paneL, 100, 100);
  EXPECT_EQ(::GetCursor(), ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(181)));

  Still(paneL, 1);
  Release(paneL, 100, 50, 2);
  EXPECT_FLOAT_EQ(paneL->GetImagingControl()->GetPaintZoom(), 66.7f);
}

TEST_F(DisplayStill, MouseEventsBecomePicturePointsWithKeyFlags) {
  const struct {
    short button, shift;
    int flags;
  } cases[] = {{1, 0, 1}, {1, 1, 5}, {1, 2, 9}, {1, 3, 13}, {2, 0, 2}, {2, 1, 6},
               {2, 2, 10}, {2, 3, 14}, {0, 0, 0}, {4, 0, 0}, {1, 4, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(CVexDisplayOutput::ButtonStateToKeyFlags(c.button, c.shift), c.flags) << c.button << " " << c.shift;
  ShowStill(paneL, 640, 512);
  EXPECT_EQ(paneL->GetImageScale(), 1.0);
  EXPECT_EQ(paneL->GetScrollOffset(), CPoint(0, 0));
  paneL->ZoomIn();  // 200 %, the picture's (160, 128) at the pane's corner
  EXPECT_EQ(paneL->GetImageScale(), 0.5);
  EXPECT_EQ(paneL->GetScrollOffset(), CPoint(160, 128));
}

TEST_F(DisplayStill, TheZoomTextIsDrawnOverThePictureAndAFailureOnlyLosesIt) {
  ShowStill(paneL, 512, 640);
  Repaint(mainFrame);
  HWND control = paneL->GetImagingControl()->m_hWnd;
  int black = 0, white = 0;
  for (int y = 3; y < 45; ++y)
    for (int x = 500; x < 620; ++x) {
      const auto px = ScreenAt(control, x, y);
      black += px == 0;
      white += px == 0xFFFFFF;
    }
  EXPECT_GT(black, 20) << "the shadow of \"80.0%\", right-aligned at 620";
  EXPECT_GT(white, 20);
  EXPECT_EQ(ScreenAt(control, 630, 20), ScreenAt(control, 630, 200));

  doc->ClearLastError();
  {
    plat::faults::Scope fault("imaging.GetDrawDC", ERROR_INVALID_HANDLE);
    paneL->ShowZoomText();
  }
  EXPECT_EQ(Latched(), Pair(410, 1));
  EXPECT_FLOAT_EQ(paneL->GetImagingControl()->GetPaintZoom(), 80);
}

// Another writer holds the control's drawing context (as the painted event does while it
// writes the zoom text) when a capture thread's new picture comes: the capture waits for
// its turn, however long that is, and writes its own text after; nothing fails. The rig's
// clock is virtual, so a wait with a time limit would run out at once.
TEST_F(DisplayStill, ACaptureThatMeetsAnotherWritersDrawingContextWaitsItsTurn) {
  ShowStill(paneL, 512, 640);
  doc->ClearLastError();
  std::atomic<int> shown{-1}, shownWhileHeld{-2};
  std::atomic<bool> holding{false}, held{false};
  std::thread painter([&] {
    CVexDisplayOutput::DrawContext painting(*paneL);
    held = painting.Value() != 0;
    holding = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    shownWhileHeld = shown.load();
  });
  while (!holding) std::this_thread::yield();
  std::thread capture([&] { shown = paneL->Output(2); });
  // The window's thread goes on serving the capture's messages meanwhile.
  for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
       shown == -1 && std::chrono::steady_clock::now() < end;) {
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  painter.join();
  capture.join();
  Pump();
  EXPECT_TRUE(held);
  EXPECT_EQ(shownWhileHeld.load(), -1) << "the capture waits while the context is lent";
  EXPECT_EQ(shown.load(), 1);
  EXPECT_EQ(Latched(), Pair(0, 0)) << "nothing failed";
}

TEST_F(DisplayStill, RefreshingShowsTheCleanStillAgain) {
  ShowStill(paneR, 64, 48);
  const LONG still = buffers->GetSecondBitmap();
  PutFlat(2, 32, 32, 1, 2, 3);
  paneR->StoreImage(2, buffers->GetBuffer(2));
  EXPECT_EQ(paneR->GetImagingControl()->GetImageWidth(), 32);
  paneR->ReloadCurrentImage();
  EXPECT_EQ(paneR->GetImagingControl()->GetBitmap(), still);
  EXPECT_EQ(doc->GetAnnotationsDrawn(), 0);
  EXPECT_EQ(doc->GetScaleDrawn(), 0);
}

TEST_F(DisplayStill, TheBackgroundIsTiledWhereTheControlDoesNotCover) {
  paneL->GetImagingControl()->ShowWindow(SW_HIDE);
  Repaint(mainFrame);
  // The tile: button face with a raised dot every 8 pixels.
  for (int y0 : {0, 256, 504})
    for (int x0 : {0, 320, 632}) {
      EXPECT_EQ(ScreenAt(paneL->m_hWnd, x0 + 3, y0 + 3), 0xFFFFFFu) << x0 << "," << y0;
      EXPECT_EQ(ScreenAt(paneL->m_hWnd, x0 + 4, y0 + 4), 0x808080u);
      EXPECT_EQ(ScreenAt(paneL->m_hWnd, x0 + 1, y0 + 6), 0xC0C0C0u);
    }
  CRect r;
  paneL->GetWindowRect(&r);
  r.right = r.left + 160;
  r.bottom = r.top + 120;
  EXPECT_TRUE(plat::display::SavePng(displayrig::ShotPath("display-background.png"), &r));
}

TEST_F(DisplayStill, APaneThatCannotPaintItsBackgroundSaysSoOnce) {
  paneL->GetImagingControl()->ShowWindow(SW_HIDE);
  responder::Push([](const responder::Shown&) { return IDOK; });
  for (int i = 0; i < 3; ++i) {
    // The paint's DC and the pane's memory DC are made; the one for the bitmap is not.
    plat::faults::Arm("CDC::Attach", ERROR_NOT_ENOUGH_MEMORY, 2, 1);
    Repaint(paneL);
    EXPECT_EQ(plat::faults::Hits("CDC::Attach"), 3);
    plat::faults::Disarm("CDC::Attach");
  }
  ASSERT_EQ(responder::History().size(), 1u);
  EXPECT_EQ(responder::History()[0].text, "dcImage.CreateCompatibleDC Fail!");
  EXPECT_EQ(responder::History()[0].caption, "Lumora Error");
}

}  // namespace
