// The display's coordinate spaces: pane pixels to the 640 x 512 display grid (halved
// panes, turned pictures), display grid to the camera picture for the eight rotation and
// reversal modes, rectangles kept inside the grid; and the display mode it accepts.
#include <gtest/gtest.h>

#include "DisplayRig.h"
#include "binding/CLead.h"

namespace {

using displayrig::DisplayRig;

TEST(DisplaySpaces, PictureAndDisplayMapBothWaysInAllEightModes) {
  const CPoint picture(100, 50), display(100, 50);
  const struct {
    SHORT mode;
    CPoint shown;    // where the picture point is shown
    CPoint pointed;  // the picture point under the display point
  } cases[] = {{0, {100, 50}, {100, 50}},  {1, {462, 100}, {50, 412}}, {2, {540, 462}, {540, 462}},
               {3, {50, 540}, {590, 100}}, {4, {540, 50}, {540, 50}},  {5, {462, 540}, {590, 412}},
               {6, {100, 462}, {100, 462}}, {7, {50, 100}, {50, 100}}, {8, {100, 50}, {100, 50}},
               {-1, {100, 50}, {100, 50}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    EXPECT_EQ(CVexDisplayOutput::PictureToDisplay(picture, c.mode), c.shown);
    EXPECT_EQ(CVexDisplayOutput::DisplayToPicture(display, c.mode), c.pointed);
    EXPECT_EQ(CVexDisplayOutput::DisplayToPicture(CVexDisplayOutput::PictureToDisplay(picture, c.mode), c.mode),
              picture);
  }
  // A rectangle maps corner by corner; a turning mode leaves it to be put in order.
  EXPECT_EQ(CVexDisplayOutput::DisplayRectToPicture(CRect(10, 20, 30, 60), 2), CRect(630, 492, 610, 452));
}

TEST_F(DisplayRig, PanePixelsReachTheDisplayGridHalvedAndTurned) {
  const struct {
    SHORT displayMode;
    SHORT rotation;
    CPoint window;
    CPoint display;
  } cases[] = {
      {0, 0, {101, 51}, {101, 51}},   {1, 0, {101, 51}, {202, 102}}, {2, 0, {101, 51}, {101, 51}},
      {3, 0, {101, 51}, {202, 102}},  // the half-size panes double
      {0, 1, {101, 51}, {126, 64}},   // turned: times 1.25, 126.25 and 63.75 rounded
      {3, 3, {101, 51}, {253, 128}},  // 252.5 and 127.5: halves away from zero
      {2, 7, {-3, 2}, {-4, 3}},       // -3.75 and 2.5
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.displayMode << " " << c.rotation);
    ASSERT_EQ(doc->SetRotation(c.rotation), 1);
    ASSERT_EQ(paneL->SetDisplayMode(c.displayMode), 1);
    EXPECT_EQ(paneL->WindowToDisplay(c.window), c.display);
  }
}

TEST_F(DisplayRig, RectanglesAreShiftedIntoTheDisplayKeepingTheirSize) {
  const struct {
    bool turned;
    CRect given, shifted;
  } cases[] = {
      {false, {100, 100, 180, 180}, {100, 100, 180, 180}},  // inside: as it is
      {false, {-10, 20, 70, 100}, {0, 20, 80, 100}},        {false, {600, 20, 700, 100}, {540, 20, 640, 100}},
      {false, {10, -5, 50, 35}, {10, 0, 50, 40}},           {false, {10, 500, 50, 540}, {10, 472, 50, 512}},
      {false, {-30, -30, 10, 10}, {0, 0, 40, 40}},
      // Wider than the display: it ends at the right edge and starts left of 0.
      {false, {-100, 0, 700, 80}, {-160, 0, 640, 80}},
      {true, {480, 600, 560, 680}, {432, 560, 512, 640}},  // a turned picture's grid is 512 x 640
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.given.left << "," << c.given.top << " turned " << c.turned);
    ASSERT_EQ(doc->SetRotation(c.turned ? 1 : 0), 1);
    paneL->OnSettingsChanged(0x1000);  // takes the document's grid
    EXPECT_EQ(paneL->ShiftIntoDisplay(c.given), c.shifted);
  }
}

TEST_F(DisplayRig, DisplayModesOutsideZeroToThreeAreRefused) {
  ASSERT_EQ(paneL->SetDisplayMode(2), 1);
  for (SHORT bad : {4, -1, 100}) {
    EXPECT_EQ(paneL->SetDisplayMode(bad), 0) << bad;
    EXPECT_EQ(paneL->GetDisplayMode(), 2) << bad;
  }
}

TEST_F(DisplayRig, FlagTwoThreeSevenMarksAStillPaneWithoutAPicture) {
  auto flag237 = [&] {
    BOOL on = FALSE;
    paneL->GetImagingControl()->GetProperty(237, VT_BOOL, &on);
    return on != FALSE;
  };
  const struct {
    SHORT mode;
    SHORT imageState;
    bool flag;
  } cases[] = {{0, 0, true}, {1, 0, true}, {0, 1, false}, {1, 3, false}, {2, 0, false}, {3, 0, false}};
  for (const auto& c : cases) {
    doc->m_nImageState = c.imageState;
    ASSERT_EQ(paneL->SetDisplayMode(c.mode), 1);
    EXPECT_EQ(flag237(), c.flag) << c.mode << " " << c.imageState;
  }
}

}  // namespace
