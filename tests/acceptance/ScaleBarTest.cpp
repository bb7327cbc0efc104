// The scale bar on a captured picture, as the operator gets it: a shot, Image > Scale, a
// calibration line measured on the picture, its length and the bar's typed, the bar
// switched on for captured pictures. Judged by the screen: the bar at the picture's lower
// left corner, as long as the line, with its length written above it.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "ProgramOnX.h"

namespace acceptance {
namespace {

namespace fs = std::filesystem;

class StillPicture : public ProgramOnX {
 protected:
  // A field typed over: a click into it, its text selected, the new text and Enter. With
  // `shown`, the keys wait until the field shows the click taken (its caret).
  void TypeOver(POINT field, const std::string& text, std::optional<RECT> shown = std::nullopt) {
    const Picture before = Shot();
    Click(field);
    if (shown) {
      ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(before, p, *shown) > 0; }, "the caret"));
    }
    Press("End");
    Press("shift+Home");
    Type(text);
    Press("Return");
  }
};

// The scale preset's colour, green, on the screen (the label's edges are blended).
bool BarGreen(uint32_t px) { return Green(px) >= 200 && Red(px) <= 80 && Blue(px) <= 80; }

// Where the pixels that pass `test` lie in `r`, and how many there are.
struct Spot {
  int count = 0;
  RECT box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
};
Spot Find(const Picture& p, RECT r, bool (*test)(uint32_t)) {
  Spot s;
  ForEach(p, r, [&](int x, int y, uint32_t px) {
    if (!test(px)) return;
    ++s.count;
    s.box.left = std::min<LONG>(s.box.left, x), s.box.top = std::min<LONG>(s.box.top, y);
    s.box.right = std::max<LONG>(s.box.right, x + 1), s.box.bottom = std::max<LONG>(s.box.bottom, y + 1);
  });
  return s;
}

// The bar: the rows of `r` in which a long run of the bar's colour lies (the label's rows
// hold short strokes only).
Spot BarRows(const Picture& p, RECT r) {
  Spot bar;
  for (int y = r.top; y < r.bottom; ++y) {
    const RECT row{r.left, y, r.right, y + 1};
    const Spot s = Find(p, row, BarGreen);
    if (s.count < 200) continue;
    bar.count += s.count;
    bar.box.left = std::min(bar.box.left, s.box.left), bar.box.top = std::min(bar.box.top, s.box.top);
    bar.box.right = std::max(bar.box.right, s.box.right), bar.box.bottom = std::max(bar.box.bottom, s.box.bottom);
  }
  return bar;
}

TEST_F(StillPicture, ImageScaleWithACalibrationLine) {
  // Fine pictures of 1600 x 1200, shown at 40 %.
  fs::create_directories(Native("C:\\Lumora"));
  std::ofstream(Native("C:\\Lumora") + "/Lumora.ini") << "[USER]\nFineMode=1\nFinePhotoMode=5\n";
  Start();
  const RECT still = LargePane();
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Distinct(p, SmallPane()) > 200; }, "the live picture"));
  const std::optional<RECT> main = ActiveCaption();
  ASSERT_TRUE(main);

  // A shot by the capture button under the exposure read-out.
  Click(InMain(748, 468));
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Distinct(p, still) > 200 && acceptance::ActiveCaption(p) &&
                                                          acceptance::ActiveCaption(p)->top == main->top; },
                            "the still picture", 180));

  // Image > Scale, from the menu.
  const Picture menuClosed = Shot();
  Click(MenuTitle(1));
  const RECT items = InMain(RECT{50, 40, 180, 100});
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(menuClosed, p, items) > 200; }, "the Image menu"));
  Click(InMain(80, 77));
  std::optional<RECT> scale = WaitForDialog("the Scale window", main);
  ASSERT_TRUE(scale);

  // Its details, the Measurement source and the Measuring Pixels mode.
  const Picture shortWindow = Shot();
  Click(DialogPoint(*scale, 384, 70));
  const RECT sources = RECT{scale->left, scale->bottom + 200, scale->left + 120, scale->bottom + 240};
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(shortWindow, p, sources) > 100; }, "the details"));
  Click(DialogPoint(*scale, 16, 142));
  Click(DialogPoint(*scale, 35, 160));
  const std::optional<RECT> measuring = WaitForDialog("the Measuring Pixels window", scale);
  ASSERT_TRUE(measuring);

  // The calibration line: 300 screen pixels across the still picture.
  const POINT from{still.left + 100, still.top + 150}, to{still.left + 400, still.top + 150};
  const Picture noLine = Shot();
  Drag(from, to);
  const RECT along{from.x - 10, from.y - 10, to.x + 10, to.y + 10};
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(noLine, p, along) > 10; }, "the calibration line"));
  // Its "OK" sits at (40, 5) to (90, 25) of the small window.
  Click(POINT{measuring->left + 65, measuring->bottom + 1 + 15});
  scale = WaitForDialog("the Scale window again", measuring);
  ASSERT_TRUE(scale);

  // The line is 100 um long, and so is the bar; shown on captured pictures; Apply, OK.
  // Each entry is taken when its field loses the focus; the next waits until the window
  // shows it taken.
  const RECT pixelSize{scale->left + 470, scale->bottom + 1 + 150, scale->left + 560, scale->bottom + 1 + 185};
  const RECT lengthField{scale->left + 400, scale->bottom + 1 + 70, scale->left + 465, scale->bottom + 1 + 88};
  const RECT capturedBox{scale->left + 10, scale->bottom + 1 + 10, scale->left + 30, scale->bottom + 1 + 30};
  Picture before = Shot();
  TypeOver(DialogPoint(*scale, 121, 158), "100");
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(before, p, pixelSize) > 20; }, "the pixel size"));
  before = Shot();
  TypeOver(DialogPoint(*scale, 288, 53), "100", lengthField);
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(before, p, lengthField) > 20; }, "the bar's length"));
  before = Shot();
  Click(DialogPoint(*scale, 12, 13));
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(before, p, capturedBox) > 3; }, "the tick"));
  // Apply shows the bar below the window; OK then closes the window.
  const RECT lower{still.left, still.top + (still.bottom - still.top) / 2, still.right, still.bottom};
  Click(DialogPoint(*scale, 384, 50));
  // Apply has ended once the main window is enabled and active again.
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        const auto active = acceptance::ActiveCaption(p);
        return active && active->top == main->top && BarRows(p, lower).count > 0;
      },
      "the bar after Apply"));
  Click(DialogPoint(*scale, 384, 14));
  // The chart's yellow column where the window was.
  const RECT yellow{still.left + 230, still.top + 40, still.left + 260, still.top + 60};
  Picture shown;
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        shown = p;
        const auto active = acceptance::ActiveCaption(p);
        const int chart = Count(p, yellow, [](uint32_t px) { return Red(px) >= 200 && Green(px) >= 200 && Blue(px) <= 60; });
        return active && active->top == main->top && chart == 30 * 20 && BarRows(p, lower).count > 0;
      },
      "the scale bar"));
  SaveShot("scale-bar");

  // The bar: its left end 10 % in from the picture's left edge, its bottom near 90 % of
  // the picture's height, as long as the line.
  const int width = still.right - still.left, height = still.bottom - still.top;
  const Spot bar = BarRows(shown, lower);
  ASSERT_GT(bar.count, 0);
  EXPECT_NEAR(bar.box.left - still.left, width / 10, 4);
  EXPECT_NEAR(bar.box.right - bar.box.left, to.x - from.x, 4);
  EXPECT_GT(bar.box.bottom - still.top, height * 8 / 10);
  EXPECT_LE(bar.box.bottom - still.top, height * 9 / 10 + 2);
  // The length above its middle: the strokes of "100um", centred on the bar.
  const int middle = (bar.box.left + bar.box.right) / 2;
  const Spot label = Find(shown, RECT{middle - 120, bar.box.top - 90, middle + 120, bar.box.top - 1}, BarGreen);
  EXPECT_GT(label.count, 150) << "no length written above the bar";
  EXPECT_NEAR((label.box.left + label.box.right) / 2, middle, 8);
  EXPECT_GT(label.box.right - label.box.left, 60) << "a label narrower than its five characters";
}

}  // namespace
}  // namespace acceptance
