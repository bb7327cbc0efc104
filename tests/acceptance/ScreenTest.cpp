// What the screen shows after the user's steps, compared with reviewed reference pictures:
// the still pane after a capture and after each window that covered it has gone, the live
// pane's colours beside the camera's own picture, and the status bar and the thumbnail
// strip with their texts whole. The camera is noiseless, so that the same steps give the
// same picture.
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "ProgramOnX.h"
#include "ReferencePicture.h"

namespace acceptance {
namespace {

// The thumbnail strip below the large pane and the pixel read-out of the status bar (the
// clock beside it aside), in the main window.
constexpr RECT kStrip{4, 592, 654, 712};
constexpr RECT kReadout{629, 713, 906, 729};
// The still pane's reference allows for HALFTONE's rounding on another machine.
constexpr testenv::Tolerance kStillTolerance{2, 50};

// The zoom text over the still's top right: its soft edges grow darker when the program
// draws it again over itself, which paints in an order of their own decide.
constexpr RECT kZoomText{500, 0, 640, 48};

// The part of `p` at `r`, black where `aside` (in the part's coordinates) lies.
Picture Crop(const Picture& p, const RECT& r, const RECT& aside = {}) {
  Picture out;
  out.width = r.right - r.left;
  out.height = r.bottom - r.top;
  out.pixels.resize(static_cast<size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      const bool hidden = x >= aside.left && x < aside.right && y >= aside.top && y < aside.bottom;
      out.pixels[size_t(y) * out.width + x] = hidden ? 0 : At(p, r.left + x, r.top + y);
    }
  return out;
}

class Screen : public ProgramOnX {
 protected:
  void SetUp() override {
    ProgramOnX::SetUp();
    Set("BOARD_NOISE", "0");
  }
  // The program up with the live picture in the small pane (frame after frame the same).
  void StartLive() {
    Start();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Distinct(p, SmallPane()) > 200; }, "the live picture"));
  }
  // Waits until `area` (screen coordinates) shows its reference picture, then judges it
  // (a mismatch leaves the pictures named in the failure).
  void ExpectShows(const RECT& area, const std::string& reference, testenv::Tolerance tolerance = {},
                   const RECT& aside = {}) {
    // Settled first: the same picture twice in a row.
    Picture last = Crop(Shot(), area, aside);
    WaitForScreen(
        [&](const Picture& p) {
          Picture now = Crop(p, area, aside);
          const bool same = now.pixels == last.pixels;
          last = std::move(now);
          return same && testenv::ShowsReference(last, reference, tolerance);
        },
        "the reference picture " + reference);
    EXPECT_TRUE(testenv::MatchesReference(last, reference, tolerance));
  }
};

// A capture, then each window that covers the still pane and goes again: the pane shows
// the whole picture every time, without the view's background or lines where they were.
TEST_F(Screen, TheStillPaneShowsThePictureAfterEachWindowOverIt) {
  std::filesystem::create_directories(DriveC() + "/Image");
  ASSERT_NO_FATAL_FAILURE(StartLive());
  ASSERT_NO_FATAL_FAILURE(Capture());
  {
    SCOPED_TRACE("after the capture's progress window");
    ExpectShows(LargePane(), "screen-still-pane.png", kStillTolerance, kZoomText);
  }
  {
    SCOPED_TRACE("after the File menu closed over the picture");
    ASSERT_NO_FATAL_FAILURE(Menu(0, ""));
    Press("Escape");
    Press("Escape");
    ExpectShows(LargePane(), "screen-still-pane.png", kStillTolerance, kZoomText);
  }
  {
    SCOPED_TRACE("after File > Save and its busy window");
    ASSERT_NO_FATAL_FAILURE(Menu(0, "s"));
    ASSERT_TRUE(WaitUntil(
        [&] {
          std::error_code ec;
          for (const auto& e : std::filesystem::directory_iterator(DriveC() + "/Image", ec))
            if (e.is_regular_file()) return true;
          return false;
        },
        "the saved picture", 120));
    ASSERT_TRUE(WaitForMainWindowActive("the end of the save"));
    ExpectShows(LargePane(), "screen-still-pane.png", kStillTolerance, kZoomText);
  }
  {
    SCOPED_TRACE("after Image > Retouch and OK");
    ASSERT_NO_FATAL_FAILURE(Menu(1, "r"));
    ASSERT_TRUE(WaitForDialog("the retouch dialog"));
    Press("Return");
    ASSERT_TRUE(WaitForMainWindowActive("the retouch dialog gone"));
    ExpectShows(LargePane(), "screen-still-pane.png", kStillTolerance, kZoomText);
  }
}

// File > Save puts the picture's thumbnail in the strip's first slot, with its name above
// it and its mode and size below, whole: no character cut by the strip's bottom edge.
TEST_F(Screen, TheThumbnailStripShowsItsLabelsWhole) {
  std::filesystem::create_directories(DriveC() + "/Image");
  ASSERT_NO_FATAL_FAILURE(StartLive());
  ASSERT_NO_FATAL_FAILURE(Capture());
  ASSERT_NO_FATAL_FAILURE(Menu(0, "s"));
  const RECT thumbnail = InMain(RECT{kStrip.left + 60, kStrip.top + 30, kStrip.left + 140, kStrip.top + 90});
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Distinct(p, thumbnail) > 50; }, "the thumbnail in the strip", 120));
  ASSERT_TRUE(WaitForMainWindowActive("the end of the save"));
  // The row just above the strip's bottom edge, under the first slot's label.
  const RECT lastRow = InMain(RECT{kStrip.left + 51, kStrip.bottom - 4, kStrip.left + 151, kStrip.bottom - 3});
  EXPECT_EQ(Count(Shot(), lastRow, [](uint32_t px) { return Red(px) < 96 && Green(px) < 96 && Blue(px) < 96; }), 0);
  SaveShot("strip");
}

// The pointer over the still: the status bar reads the place and the colour under it with
// every digit; beside the picture it reads nothing, not negative places.
TEST_F(Screen, TheStatusBarReadsThePixelUnderThePointerWhole) {
  ASSERT_NO_FATAL_FAILURE(StartLive());
  ASSERT_NO_FATAL_FAILURE(Capture());
  const RECT pane = LargePane();
  MoveTo(POINT{pane.left + 100, pane.top + 40});
  ExpectShows(InMain(kReadout), "screen-readout-yellow.png");
  MoveTo(POINT{pane.left + 300, pane.top + 200});
  ExpectShows(InMain(kReadout), "screen-readout-grey.png");
}

// The live picture in the large pane at its own size is the camera's picture; moved to the
// small pane it is shown at half size, and each shown pixel keeps the mean colour of the
// four it stands for within 4 levels.
TEST_F(Screen, TheLivePaneAtHalfSizeKeepsTheCamerasColours) {
  WriteIni("[USER]\r\nLiveWindowLeft=1\r\n");
  Start();
  const RECT large = LargePane(), small = SmallPane();
  // The camera's picture at its own size: the chart (its red bar, the start-up picture
  // gone) in live frames that no longer change.
  Picture camera;
  auto red = [](uint32_t px) { return Red(px) > 200 && Green(px) < 60 && Blue(px) < 60; };
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        Picture now = Crop(p, large);
        const bool steady = Count(p, large, red) > 5000 && now.pixels == camera.pixels;
        camera = std::move(now);
        return steady;
      },
      "the live picture in the large pane"));
  ASSERT_NO_FATAL_FAILURE(Menu(3, "d"));
  // In the small pane's coordinates: its frame and the corner marks along its edges, and
  // the label at the top right and the focus marks in the middle, which both panes draw
  // over the picture, aside.
  const RECT marks[] = {{200, 0, 320, 36}, {130, 96, 190, 160}};
  auto over = [&](int x, int y) {
    for (const RECT& r : marks)
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
  };
  int worst = 0;
  POINT worstAt{0, 0};
  const bool near = WaitForScreen(
      [&](const Picture& p) {
        worst = 0;
        for (int y = 8; y < 248; ++y)
          for (int x = 8; x < 312; ++x) {
            if (over(x, y)) continue;
            const uint32_t shown = At(p, small.left + x, small.top + y);
            for (int shift : {0, 8, 16}) {
              int sum = 0;
              for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) sum += int(At(camera, 2 * x + dx, 2 * y + dy) >> shift) & 0xFF;
              const int difference = std::abs(int(shown >> shift & 0xFF) - (sum + 2) / 4);
              if (difference > worst) worst = difference, worstAt = POINT{x, y};
            }
          }
        return worst <= 4;
      },
      "the live picture at half size in the small pane");
  EXPECT_TRUE(near) << "worst difference " << worst << " at " << worstAt.x << ", " << worstAt.y;
  if (!near) plat::display::WritePng(SaveShot("half-size") + "-camera.png", camera.pixels.data(), camera.width, camera.height, camera.width);
}

}  // namespace
}  // namespace acceptance
