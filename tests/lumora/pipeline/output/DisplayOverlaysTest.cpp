// The live measuring overlays: what each live frame shows (looked for in the frame's own
// pixels, which the live slot holds after Output), how the mouse drags them, and how the
// white-balance point or rectangle reaches the sensor.
#include <gtest/gtest.h>

#include <string>

#include "DisplayRig.h"
#include "Faults.h"
#include "binding/CLead.h"

namespace {

using displayrig::DisplayRig;
using displayrig::Picture;
namespace responder = plat::user::responder;

constexpr BYTE kGround = 64;  // the frames here are this grey
bool White(const Picture& p, int x, int y) { return p.At(x, y)[0] == 255 && p.At(x, y)[1] == 255 && p.At(x, y)[2] == 255; }
bool Black(const Picture& p, int x, int y) { return p.At(x, y)[0] == 0 && p.At(x, y)[1] == 0 && p.At(x, y)[2] == 0; }
bool Ground(const Picture& p, int x, int y) { return p.At(x, y)[0] == kGround && p.At(x, y)[2] == kGround; }
bool Guide(const Picture& p, int x, int y) { return p.At(x, y)[0] == 192 && p.At(x, y)[1] == 192; }
// Whether any pixel of the rows `top`..`bottom` at column x passes `test`.
template <class Test>
bool AnyInColumn(const Picture& p, int x, int top, int bottom, Test test) {
  for (int y = top; y <= bottom; ++y)
    if (test(p, x, y)) return true;
  return false;
}

class DisplayOverlays : public DisplayRig {
 protected:
  void SetUp() override {
    DisplayRig::SetUp();
    if (HasFatalFailure()) return;
    // A shot of 1920 x 1536 sensor pixels: 320 x 256 on the display, brackets of 40.
    doc->m_nShootWidth = 1920;
    doc->m_nShootHeight = 1536;
    doc->SetShootTargetPoint(LONG(320), LONG(256));
    doc->SetFocusTargetState(1);
    doc->SetFocusTargetDocking(0);
    doc->SetFocusPosition(LONG(320), LONG(256));
  }
  // A grey live frame in the live slot, shown by `pane`; the slot then holds what was drawn.
  Picture Frame(CVexDisplayOutput* pane, SHORT areaType, int width = 640, int height = 512) {
    PutFlat(0, width, height, kGround, kGround, kGround);
    Live(pane, areaType);
    EXPECT_EQ(pane->Output(0), 1) << Latched().first << ":" << Latched().second;
    return Slot(0);
  }
};

TEST_F(DisplayOverlays, AreaMarksAreCornerBracketsAndFocusTicksWithShadows) {
  const Picture p = Frame(paneL, 0);
  ASSERT_EQ(paneL->GetShootArea(), CRect(160, 128, 480, 384));
  ASSERT_EQ(paneL->GetFocusBox(), CRect(280, 216, 360, 296));
  // Top-left bracket: 40 along the top from the corner, its shadow 2 below and right.
  EXPECT_TRUE(AnyInColumn(p, 190, 127, 129, White));
  EXPECT_TRUE(AnyInColumn(p, 190, 130, 131, Black));
  EXPECT_TRUE(White(p, 160, 150) || White(p, 159, 150)) << "and 40 down the left side";
  EXPECT_FALSE(White(p, 160, 175) || White(p, 159, 175));
  EXPECT_TRUE(AnyInColumn(p, 220, 125, 134, Ground)) << "past the bracket's length";
  // Bottom-right bracket.
  EXPECT_TRUE(AnyInColumn(p, 450, 383, 385, White));
  // Focus ticks: 30 in from the box's left side, 5 above and below its centre row 256.
  EXPECT_TRUE(AnyInColumn(p, 295, 250, 252, White));
  EXPECT_TRUE(AnyInColumn(p, 295, 260, 262, White));
  EXPECT_TRUE(AnyInColumn(p, 295, 253, 254, Black));
  EXPECT_TRUE(AnyInColumn(p, 320, 248, 264, Ground)) << "the box itself is not outlined";
  EXPECT_TRUE(AnyInColumn(p, 280, 200, 210, Ground));
  // The label, top right.
  int white = 0, black = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 540; x < 640; ++x) white += White(p, x, y), black += Black(p, x, y);
  EXPECT_GT(white, 50);
  EXPECT_GT(black, 50);
  EXPECT_TRUE(Ground(p, 20, 20)) << "nothing else is drawn";
}

TEST_F(DisplayOverlays, FocusTicksOnlyWhileTheFocusBoxIsShown) {
  doc->SetFocusTargetState(0);
  const Picture p = Frame(paneL, 0);
  EXPECT_FALSE(AnyInColumn(p, 295, 245, 265, White));
  EXPECT_TRUE(AnyInColumn(p, 190, 127, 129, White)) << "the brackets stay";
}

TEST_F(DisplayOverlays, TheHalfSizePaneDrawsTwiceAsWide) {
  const Picture p = Frame(paneR, 0);
  // Four pixels of white at the top edge of the area, the shadow 4 lower.
  int whiteRows = 0;
  for (int y = 124; y <= 132; ++y) whiteRows += White(p, 190, y);
  EXPECT_EQ(whiteRows, 4);
  EXPECT_TRUE(AnyInColumn(p, 190, 131, 134, Black));
}

TEST_F(DisplayOverlays, ProfileLineWithItsShadowAndTheGuideLine) {
  doc->SetImageProfilePosition(100);
  const Picture p = Frame(paneL, 1);
  for (int x : {0, 320, 639}) {
    EXPECT_TRUE(AnyInColumn(p, x, 99, 100, White)) << x;
    EXPECT_TRUE(AnyInColumn(p, x, 101, 103, Black)) << x;
    EXPECT_TRUE(Guide(p, x, 52)) << x;  // 512 - 460
  }
  EXPECT_FALSE(Guide(p, 320, 51));
  EXPECT_FALSE(AnyInColumn(p, 190, 127, 129, White)) << "no area marks with the profile";
}

TEST_F(DisplayOverlays, OnATurnedFrameTheGuideLineLiesAtRow179Over512Pixels) {
  ASSERT_EQ(doc->SetRotation(1), 1);
  doc->SetImageProfilePosition(300);
  const Picture p = Frame(paneL, 1, 512, 640);
  EXPECT_TRUE(Guide(p, 0, 179));
  EXPECT_TRUE(Guide(p, 511, 179));
  EXPECT_FALSE(Guide(p, 256, 52));
  EXPECT_TRUE(AnyInColumn(p, 511, 299, 300, White)) << "the profile line spans the 512 pixels too";
}

TEST_F(DisplayOverlays, TheProfileRowIsHeldTwoPixelsFromTheEdges) {
  const struct {
    LONG to;
    SHORT row;
  } cases[] = {{-50, 2}, {700, 510}, {300, 297}};  // the line moves as far as the mouse
  for (const auto& c : cases) {
    doc->SetImageProfilePosition(100);
    Frame(paneL, 1);
    Press(paneL, 320, 103);  // within 5 of the line
    Move(paneL, 320, c.to);
    Release(paneL, 320, c.to);
    EXPECT_EQ(doc->GetImageProfilePosition(), c.row) << c.to;
    EXPECT_EQ(paneL->GetProfileRow(), c.row);
  }
  doc->SetImageProfilePosition(100);
  Frame(paneL, 1);
  Press(paneL, 320, 110);  // too far from the line: nothing moves
  Release(paneL, 320, 300);
  EXPECT_EQ(doc->GetImageProfilePosition(), 100);
}

TEST_F(DisplayOverlays, DragsPastTheEdgesKeepTheSizeAndStoreThePictureCentre) {
  Frame(paneL, 0);
  Press(paneL, 320, 256);  // inside the focus box
  Move(paneL, 500, 400);
  Release(paneL, 700, 600);
  EXPECT_EQ(paneL->GetFocusBox(), CRect(560, 432, 640, 512));
  EXPECT_EQ(CPoint(doc->GetFocusPosition()), CPoint(600, 472));
  EXPECT_EQ(paneL->GetShootArea(), CRect(160, 128, 480, 384)) << "the area stays";

  Press(paneL, 160, 128);  // the area's corner: its border counts
  Release(paneL, -340, -372);
  EXPECT_EQ(paneL->GetShootArea(), CRect(0, 0, 320, 256));
  EXPECT_EQ(CPoint(doc->GetShootTargetPoint()), CPoint(160, 128));

  // In the half-size pane the mouse moves twice as far on the display.
  Frame(paneR, 0);
  Press(paneR, 80, 64);  // display (160, 128): inside the area now at (0, 0, 320, 256)
  Release(paneR, 130, 94);
  EXPECT_EQ(paneR->GetShootArea(), CRect(100, 60, 420, 316));
}

TEST_F(DisplayOverlays, ADockedFocusBoxFollowsTheAreaAndCannotBeDraggedAlone) {
  doc->SetFocusTargetDocking(1);
  Frame(paneL, 0);
  EXPECT_EQ(paneL->GetFocusBox(), CRect(280, 216, 360, 296));
  Press(paneL, 320, 256);  // inside the focus box, but it is docked: the area moves
  Release(paneL, 220, 206);
  EXPECT_EQ(paneL->GetShootArea(), CRect(60, 78, 380, 334));
  EXPECT_EQ(paneL->GetFocusBox(), CRect(180, 166, 260, 246));
  EXPECT_EQ(CPoint(doc->GetShootTargetPoint()), CPoint(220, 206));
  EXPECT_EQ(CPoint(doc->GetFocusPosition()), CPoint(220, 206));
  // The next frame shows the ticks where the box went.
  const Picture p = Frame(paneL, 0);
  EXPECT_TRUE(AnyInColumn(p, 195, 200, 202, White));
}

TEST_F(DisplayOverlays, OverlaysKeptInPictureSpaceAreShownTurnedAndStoredBack) {
  // Mode 2 shows the picture upside down: the focus point (100, 50) is shown at (540, 462).
  ASSERT_EQ(doc->SetRotation(2), 1);
  doc->SetFocusPosition(LONG(100), LONG(50));
  Frame(paneL, 0);
  EXPECT_EQ(paneL->GetFocusBox(), CRect(500, 422, 580, 502));
  Press(paneL, 540, 462);
  Release(paneL, 440, 362);
  EXPECT_EQ(CPoint(doc->GetFocusPosition()), CPoint(200, 150));
}

TEST_F(DisplayOverlays, AWhiteBalancePointIsMovedInsideOrRefusedNearTheBottom) {
  const struct {
    CPoint click;
    bool taken;
    CRect sensor;
  } cases[] = {
      {{0, 200}, true, {0, 396, 8, 404}},        // at the left edge: moved right to start at 0
      {{300, 101}, true, {596, 196, 604, 204}},  // 198 and 206 go down to the 4-pixel grid
      {{639, 20}, true, {1268, 36, 1276, 44}},   // the right edge is at 1276
      {{100, 510}, false, {}},                   // starts below row 992 after the clamp
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.click.x << "," << c.click.y);
    Frame(paneL, 2);
    doc->SetWhiteBalanceRect(CRect(1, 2, 3, 4));
    responder::Reset();
    responder::Push([](const responder::Shown&) { return IDOK; });
    Press(paneL, c.click.x, c.click.y);
    EXPECT_EQ(doc->IsWhiteBalanceRectSet(), 0) << "a press starts a new area";
    Release(paneL, c.click.x, c.click.y);
    EXPECT_EQ(doc->IsWhiteBalanceRectSet(), c.taken ? 1 : 0);
    if (c.taken) {
      EXPECT_EQ(CRect(doc->GetWhiteBalanceRect()), c.sensor);
      EXPECT_TRUE(responder::History().empty());
    } else {
      ASSERT_EQ(responder::History().size(), 1u);
      EXPECT_EQ(responder::History()[0].caption, "Lumora Caution");
      EXPECT_EQ(responder::History()[0].text, "ホワイトバランスを測定する点が領域外です。\n再度選択しなおしてください。");
    }
  }
}

TEST_F(DisplayOverlays, AWhiteBalanceRectangleClickedOnceIsTwoDisplayPixelsOrFourAtHalfSize) {
  const struct {
    bool half;
    CPoint click;  // control pixels
    CRect area;    // display pixels
    CRect sensor;
  } cases[] = {{false, {101, 51}, {100, 50, 102, 52}, {200, 100, 204, 104}},
               {true, {51, 25}, {100, 48, 104, 52}, {200, 96, 208, 104}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.half);
    CVexDisplayOutput* pane = c.half ? paneR : paneL;
    Frame(pane, 3);
    // The control tracks the band itself; the click reaches the pane as its events.
    HWND control = pane->GetImagingControl()->m_hWnd;
    ::SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.click.x, c.click.y));
    ::SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(c.click.x, c.click.y));
    EXPECT_EQ(pane->GetWhiteBalanceArea(), c.area);
    EXPECT_EQ(CRect(doc->GetWhiteBalanceRect()), c.sensor);
  }
}

TEST_F(DisplayOverlays, AWhiteBalanceRectangleDraggedOutOfTheBottomIsRefused) {
  Frame(paneL, 3);
  responder::Push([](const responder::Shown&) { return IDOK; });
  HWND control = paneL->GetImagingControl()->m_hWnd;
  ::SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 500));
  ::SendMessageA(control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 510));
  ::SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(300, 510));
  EXPECT_EQ(doc->IsWhiteBalanceRectSet(), 0);
  ASSERT_EQ(responder::History().size(), 1u);
  EXPECT_EQ(responder::History()[0].text, "ホワイトバランスを測定する矩形が領域外です。\n再度選択しなおしてください。");
}

TEST_F(DisplayOverlays, WhiteBalanceAreasShowThePickCursorAndThenTheTakenOne) {
  auto cursor = [](UINT id) { return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); };
  for (UINT id : {132, 133, 148, 180, 181, 182}) EXPECT_NE(cursor(id), nullptr) << id;
  Frame(paneL, 2);
  CLead* lead = paneL->GetImagingControl();
  auto over = [&] {
    ::SetCursor(nullptr);
    lead->SendMessage(WM_SETCURSOR, WPARAM(lead->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor();
  };
  EXPECT_EQ(over(), cursor(132));
  Press(paneL, 300, 200);
  Release(paneL, 300, 200);
  EXPECT_EQ(over(), cursor(133));
  Frame(paneL, 0);  // the shooting area again: the pane's own cursor is gone
  EXPECT_NE(over(), cursor(133));
}

TEST_F(DisplayOverlays, DrawingFailuresAreLatchedAndTheSlotStillNamesThePicture) {
  const struct {
    const char* point;
    LONG detail;
  } cases[] = {{"imaging.GetImageDC", 1},
               {"CDC::Attach", 2},
               {"SaveDC", 3},
               {"RestoreDC", 4},
               {"imaging.ReleaseImageDC", 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.point);
    PutFlat(0, 640, 512, kGround, kGround, kGround);
    Live(paneL, 0);
    doc->ClearLastError();
    {
      plat::faults::Scope fault(c.point, ERROR_INVALID_HANDLE);
      EXPECT_EQ(paneL->Output(0), 0);
    }
    EXPECT_EQ(Latched(), Pair(410, c.detail));
    EXPECT_EQ(doc->GetLastErrorValue(), 1);
    const Picture p = Slot(0);
    EXPECT_EQ(p.width, 640);
    EXPECT_EQ(buffers->GetBuffer(0), paneL->GetImagingControl()->GetBitmap());
  }
  // Once the fault is gone frames are shown again.
  doc->ClearLastError();
  EXPECT_EQ(paneL->Output(0), 1);
}

TEST_F(DisplayOverlays, ShowingTheNewestFrameAgainDrawsItsOverlaysOnAPrivateCopy) {
  PutFlat(5, 640, 512, kGround, kGround, kGround);
  ASSERT_EQ(buffers->SetThirdBitmap(buffers->GetBuffer(5)), 1);
  const LONG third = buffers->GetThirdBitmap();
  Live(paneL, 0);
  ASSERT_EQ(paneL->ShowLiveFrame(), 1);
  ASSERT_EQ(paneL->ShowLiveFrame(), 1);
  EXPECT_TRUE(Ground(Read(third), 190, 128)) << "the newest frame itself stays clean";
  const Picture shown = Read(paneL->GetImagingControl()->GetBitmap());
  EXPECT_TRUE(AnyInColumn(shown, 190, 127, 129, White));
  // A still pane shows no live frame.
  Still(paneR, 0);
  EXPECT_EQ(paneR->ShowLiveFrame(), 0);
}

TEST_F(DisplayOverlays, AFrameIsCopiedOnceForItsOverlays) {
  PutFlat(0, 640, 512, kGround, kGround, kGround);
  Live(paneL, 0);
  auto& store = plat::imaging::ImageStore::Instance();
  const auto copies = store.Copies();
  ASSERT_EQ(paneL->Output(0), 1);
  // The slot and the pane hold the frame: drawing on it makes the pane's own copy.
  EXPECT_EQ(store.Copies(), copies + 1);
  const auto shown = store.Copies();
  ::RedrawWindow(paneL->GetImagingControl()->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(store.Copies(), shown) << "painting reads the held picture";
}

TEST_F(DisplayOverlays, WhileZoomedTheFrameIsNeitherDrawnOnNorCopied) {
  PutFlat(0, 640, 512, kGround, kGround, kGround);
  doc->SetFocusPosition(LONG(320), LONG(256));
  Live(paneL, 0);
  ASSERT_EQ(paneL->Output(0), 1);
  paneL->ZoomIn();
  PutFlat(0, 640, 512, kGround, kGround, kGround);
  const auto copies = plat::imaging::ImageStore::Instance().Copies();
  ASSERT_EQ(paneL->Output(0), 1);
  EXPECT_EQ(plat::imaging::ImageStore::Instance().Copies(), copies);
  EXPECT_TRUE(Ground(Slot(0), 190, 128));
  // Nor does the mouse move the overlays.
  Press(paneL, 320, 256);
  Release(paneL, 100, 100);
  EXPECT_EQ(paneL->GetFocusBox(), CRect(280, 216, 360, 296));
}

}  // namespace
