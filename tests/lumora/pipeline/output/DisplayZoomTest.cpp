// Zoom of the picture panes: the step tables, the zoom about a point, the rubber-band
// zoom, and the live picture shown enlarged through a rectangle around the focus point.
#include <gtest/gtest.h>

#include "DisplayRig.h"
#include "binding/CLead.h"

namespace {

using displayrig::DisplayRig;

TEST(DisplayZoomSteps, StillStepsNeedMoreThanHalfAPercentToMove) {
  const struct {
    int down;
    float from, to;
  } cases[] = {{0, 2400, 2400}, {0, 99.6f, 200}, {0, 99.4f, 100}, {1, 5.2f, 5},    {0, 5, 8.33f},
               {1, 100, 66.7f}, {1, 2400, 2000}, {0, 3000, 2400},  {1, 4, 5},      {1, 100.6f, 100}};
  for (const auto& c : cases)
    EXPECT_EQ(CVexDisplayOutput::StepStillZoom(c.down, c.from), c.to) << c.down << " " << c.from;
}

TEST(DisplayZoomSteps, LiveStepsEndAtEightHundredAndHaveNoTolerance) {
  const struct {
    int down;
    float from, to;
  } cases[] = {{0, 800, 800}, {0, 700, 800}, {0, 100, 200},  {0, 99.9f, 100}, {1, 100, 66.7f},
               {1, 100.1f, 100}, {1, 5, 5},  {0, 2000, 800}, {1, 2000, 800}};
  for (const auto& c : cases)
    EXPECT_EQ(CVexDisplayOutput::StepLiveZoom(c.down, c.from), c.to) << c.down << " " << c.from;
}

class DisplayZoom : public DisplayRig {
 protected:
  // A 640 x 512 still in the left pane, fitted at 100 %, with the mouse tool given.
  void ShowStill(SHORT tool = 1) {
    PutPicture(2, 640, 512, [](int x, int y, BYTE* p) { p[0] = BYTE(x), p[1] = BYTE(y), p[2] = 90; });
    doc->m_nImageState = 1;
    Still(paneL, tool);
    ASSERT_EQ(paneL->Output(2), 1);
    ASSERT_FLOAT_EQ(Zoom(paneL), 100);
  }
  static float Zoom(CVexDisplayOutput* pane) { return pane->GetImagingControl()->GetPaintZoom(); }
  static CRect Shown(CVexDisplayOutput* pane) {
    CLead* lead = pane->GetImagingControl();
    return CRect(CPoint(LONG(lead->GetDisplayLeft()), LONG(lead->GetDisplayTop())),
                 CSize(LONG(lead->GetDisplayWidth()), LONG(lead->GetDisplayHeight())));
  }
  // A drag with the left button on the pane's control, as the mouse makes it.
  static void Band(CVexDisplayOutput* pane, CPoint from, CPoint to) {
    HWND control = pane->GetImagingControl()->m_hWnd;
    ::SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    ::SendMessageA(control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    ::SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  }
};

TEST_F(DisplayZoom, ZoomAboutAPointPutsThatPointInTheMiddleOfThePane) {
  ShowStill();
  const struct {
    float zoom, x, y;
    float shownZoom;
  } cases[] = {{200, 100, 50, 200}, {50, 320, 256, 50}, {400, 600, 500, 400}, {4000, 0, 0, 2800}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.zoom);
    paneL->ResetZoom();
    ASSERT_EQ(paneL->ZoomAboutPoint(c.zoom, c.x, c.y), 1);
    EXPECT_FLOAT_EQ(Zoom(paneL), c.shownZoom);
    // At 100 % the pane point (x, y) is the picture point (x, y); it is now at (320, 256).
    const CRect shown = Shown(paneL);
    EXPECT_EQ(shown.left, LONG(320 - c.x * c.shownZoom / 100));
    EXPECT_EQ(shown.top, LONG(256 - c.y * c.shownZoom / 100));
  }
}

TEST_F(DisplayZoom, ZoomCommandsStepAndFitAStillPicture) {
  ShowStill(0);
  paneL->ZoomIn();
  EXPECT_FLOAT_EQ(Zoom(paneL), 200);
  paneL->ZoomOut();
  paneL->ZoomOut();
  EXPECT_FLOAT_EQ(Zoom(paneL), 66.7f);
  paneL->ZoomFit();
  EXPECT_FLOAT_EQ(Zoom(paneL), 100);
  EXPECT_EQ(Shown(paneL), CRect(0, 0, 640, 512));
  EXPECT_EQ(recorder->LastUpdateFlags(), 0x2u);
  EXPECT_TRUE(mainFrame->IsWindowEnabled());
  // Stepping onto the fitted zoom fits again.
  paneL->ZoomOut();
  paneL->ZoomIn();
  EXPECT_FLOAT_EQ(Zoom(paneL), 100);
  EXPECT_EQ(paneL->GetImagingControl()->GetPaintSizeMode(), 3);
}

TEST_F(DisplayZoom, RubberBandsZoomByAStepToTheBandOrToTheLimit) {
  const struct {
    const char* what;
    bool zoomedFirst;
    CPoint from, to;
    float zoom;
  } cases[] = {
      {"24 x 24: one step about its centre", false, {100, 100}, {124, 124}, 200},
      {"25 x 3: the band's width fills the picture's", false, {100, 100}, {125, 103}, 2560},  // 100 x 640 / 25
      {"drawn up and left", false, {125, 103}, {100, 100}, 2560},
      {"30 x 25 at 200 %: 4096 % is more than the limit", true, {100, 100}, {130, 125}, 2800},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ShowStill(1);
    if (c.zoomedFirst) paneL->ZoomIn();
    const CRect before = Shown(paneL);
    const float zoomBefore = Zoom(paneL);
    Band(paneL, c.from, c.to);
    EXPECT_FLOAT_EQ(Zoom(paneL), c.zoom);
    // The picture point under the band's centre is in the middle of the pane now.
    const float centreX = (c.from.x + c.to.x) / 2.0f, centreY = (c.from.y + c.to.y) / 2.0f;
    const CRect after = Shown(paneL);
    EXPECT_NEAR((320 - after.left) / (c.zoom / 100), (centreX - before.left) / (zoomBefore / 100), 1.0);
    EXPECT_NEAR((256 - after.top) / (c.zoom / 100), (centreY - before.top) / (zoomBefore / 100), 1.0);
    EXPECT_TRUE(mainFrame->IsWindowEnabled());
  }
}

TEST_F(DisplayZoom, ARubberBandBeforeAnyStillWasShownDoesNothing) {
  doc->m_nImageState = 0;
  Still(paneR, 1);
  const float zoom = Zoom(paneR);
  const CRect shown = Shown(paneR);
  Band(paneR, {10, 10}, {200, 150});
  EXPECT_EQ(Zoom(paneR), zoom);
  EXPECT_EQ(Shown(paneR), shown);
  EXPECT_EQ(paneR->GetBaseZoom(), 0);
}

TEST_F(DisplayZoom, LiveZoomRectanglesLieAroundTheFocusPoint) {
  PutFlat(0, 640, 512, 60, 60, 60);
  doc->SetFocusTargetDocking(0);  // the focus point stays where it is put
  const struct {
    bool half;
    SHORT rotation;
    float zoom;
    CPoint focus;  // picture space
    CRect placed;
  } cases[] = {
      {false, 0, 200, {320, 256}, {-320, -256, 960, 768}},
      {false, 0, 200, {600, 20}, {-640, 0, 640, 1024}},  // kept from leaving a gap at the edges
      {false, 0, 100, {600, 20}, {0, 0, 640, 512}},      // at the base zoom: the whole pane
      {true, 0, 66.7f, {320, 256}, {-53, -42, 373, 299}},
      {true, 0, 50, {320, 256}, {0, 0, 320, 256}},
      {false, 1, 200, {256, 320}, {-64, -256, 960, 1024}},  // turned: 1024 x 1280 around (192, 256)
      {true, 1, 40, {256, 320}, {0, 0, 204, 256}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.zoom << " half " << c.half << " rotation " << c.rotation);
    ASSERT_EQ(doc->SetRotation(c.rotation), 1);
    doc->SetFocusPosition(LONG(c.focus.x), LONG(c.focus.y));
    CVexDisplayOutput* pane = c.half ? paneR : paneL;
    Live(pane, 0);
    ASSERT_EQ(pane->SetZoom(c.zoom), 1);
    EXPECT_EQ(pane->GetLiveZoomRect(), c.placed);
  }
}

TEST_F(DisplayZoom, ZoomingLiveShowsTheFrameThroughItsRectangleUpToEightHundred) {
  PutFlat(0, 640, 512, 60, 60, 60);
  doc->SetFocusPosition(LONG(320), LONG(256));
  Live(paneL, 0);
  ASSERT_EQ(paneL->Output(0), 1);
  paneL->ZoomIn();
  EXPECT_FLOAT_EQ(Zoom(paneL), 200);
  EXPECT_EQ(paneL->IsLiveZoomed(), 1);
  EXPECT_EQ(doc->GetProfileDisplay(), 0);
  EXPECT_EQ(recorder->LastUpdateFlags(), 0x2u);
  ASSERT_EQ(paneL->Output(0), 1);
  EXPECT_EQ(Shown(paneL), CRect(-320, -256, 960, 768));
  for (int i = 0; i < 8; ++i) paneL->ZoomIn();
  EXPECT_FLOAT_EQ(Zoom(paneL), 800);
  paneL->ZoomOut();
  EXPECT_FLOAT_EQ(Zoom(paneL), 700);
  // Back at the base zoom the frame is no longer enlarged and the profile shows again.
  paneL->ZoomFit();
  EXPECT_EQ(paneL->IsLiveZoomed(), 0);
  EXPECT_EQ(doc->GetProfileDisplay(), 1);
}

TEST_F(DisplayZoom, LiveZoomWithAnotherAreaTypeChangesNothing) {
  PutFlat(0, 640, 512, 60, 60, 60);
  for (SHORT type : {1, 2, 3}) {
    SCOPED_TRACE(type);
    Live(paneL, type);
    ASSERT_EQ(paneL->Output(0), 1);
    const float zoom = Zoom(paneL);
    paneL->ZoomIn();
    EXPECT_EQ(Zoom(paneL), zoom);
    EXPECT_EQ(paneL->IsLiveZoomed(), 0);
    EXPECT_TRUE(mainFrame->IsWindowEnabled());
    EXPECT_EQ(mainFrame->IsCaptureAllowed(), 1);
  }
}

}  // namespace
