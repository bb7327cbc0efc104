// The operator's main job on the real program, one scenario a step: each starts
// build/lumora afresh on its own X server, drive C: and home, works it with the mouse and
// the keyboard, and judges it by the screen, the files and the INI.
#include <cstdio>
#include <filesystem>
#include <set>

#include "PdfPages.h"
#include "ProgramOnX.h"

namespace acceptance {
namespace {

class MainJob : public ProgramOnX {
 protected:
  // The program up with live view, a still taken and saved untouched as C:\Image\plain.bmp.
  void StillSavedAsPlain() {
    std::filesystem::create_directories(DriveC() + "/Image");
    Start();
    ASSERT_NO_FATAL_FAILURE(WaitForLive(SmallPane()));
    ASSERT_NO_FATAL_FAILURE(Capture());
    ASSERT_NO_FATAL_FAILURE(SaveAs("C:\\Image\\plain.bmp"));
  }
  // File > Save As with a name typed into the dialog's name field; the overlays (when the
  // picture has any) and a JPEG's quality as offered.
  void SaveAs(const std::string& path, bool overlays = false) {
    ASSERT_NO_FATAL_FAILURE(Menu(0, "a"));
    const auto dialog = WaitForDialog("the save dialog");
    ASSERT_TRUE(dialog);
    // The name field, emptied: the caret alone shows in it.
    const POINT nameTopLeft = DialogPoint(*dialog, 64, 126), nameBottomRight = DialogPoint(*dialog, 236, 138);
    const RECT name{nameTopLeft.x + 2, nameTopLeft.y + 2, nameBottomRight.x - 2, nameBottomRight.y - 2};
    Click(DialogPoint(*dialog, 150, 132));
    ASSERT_TRUE(WaitForCaret(name));
    const Picture empty = Shot();
    Type(path);
    ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(empty, p, name) > 40; }, "the typed name"));
    Press("Return");
    if (overlays) {
      ASSERT_TRUE(WaitForDialog("the overlay dialog", dialog));
      Press("Return");
    }
    if (path.size() > 4 && path.substr(path.size() - 4) == ".jpg") {
      ASSERT_TRUE(WaitForDialog("the JPEG quality dialog", dialog));
      Press("Return");
    }
    ASSERT_TRUE(WaitForFile(path, 120));
  }
  // How many pixels differ by more than a few levels between two pictures of the same size,
  // within `area` (picture pixels), as ImageMagick counts them.
  long Differing(const std::string& a, const std::string& b, const RECT& area) {
    const std::string crop = "[" + std::to_string(area.right - area.left) + "x" + std::to_string(area.bottom - area.top) +
                             "+" + std::to_string(area.left) + "+" + std::to_string(area.top) + "]";
    const std::string out = Shell("compare -metric AE -fuzz 3% '" + Native(a) + crop + "' '" + Native(b) + crop +
                                  "' null: 2>&1");
    return out.empty() ? -1 : std::atol(out.c_str());
  }
  // What exiftool reads in a picture file: type, width, height.
  std::string Exif(const std::string& windowsPath) {
    return Shell("exiftool -s -s -s -FileType -ImageWidth -ImageHeight '" + Native(windowsPath) + "' | tr '\\n' ' '");
  }
};

double Luminance(uint32_t px) { return 0.299 * Red(px) + 0.587 * Green(px) + 0.114 * Blue(px); }

// The live picture of the simulated camera's chart: present, new frames arriving, and
// exposed so that the chart's grey wedge keeps its steps apart at both ends.
TEST_F(MainJob, LiveViewIsUpAndWellExposed) {
  Start();
  ASSERT_NO_FATAL_FAILURE(WaitForLive(SmallPane()));
  const RECT live = SmallPane();
  const Picture p = Shot();
  const auto mean = Mean(p, live);
  const double luminance = 0.299 * mean[0] + 0.587 * mean[1] + 0.114 * mean[2];
  EXPECT_GT(luminance, 60);
  EXPECT_LT(luminance, 190);
  // The wedge runs across the chart's second band, from mid grey to white.
  double lightest = 0;
  ForEach(p, RECT{live.left, live.top + 100, live.right, live.top + 101},
          [&](int, int, uint32_t px) { lightest = std::max(lightest, Luminance(px)); });
  EXPECT_GT(lightest, 160) << "the white end of the wedge is dim";
  EXPECT_LT(lightest, 245) << "the white end of the wedge is burnt out";
}

// A capture, then File > Save As with a typed path, as JPEG, BMP and TIFF by the name's
// extension: each file is read back by outside tools at the camera's size.
TEST_F(MainJob, CaptureThenSaveAsJpegBmpAndTiff) {
  std::filesystem::create_directories(DriveC() + "/Image");
  Start();
  ASSERT_NO_FATAL_FAILURE(WaitForLive(SmallPane()));
  ASSERT_NO_FATAL_FAILURE(Capture());
  struct Case {
    const char* path;
    const char* exif;
  } cases[] = {
      {"C:\\Image\\a.jpg", "JPEG 3840 3072 "},
      {"C:\\Image\\a.bmp", "BMP 3840 3072 "},
      {"C:\\Image\\a.tif", "TIFF 3840 3072 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ASSERT_NO_FATAL_FAILURE(SaveAs(c.path));
    EXPECT_EQ(Exif(c.path), c.exif);
    // Every pixel decodes: ImageMagick reads the whole picture.
    EXPECT_EQ(Shell("identify -format '%w %h' '" + Native(c.path) + "' 2>&1"), "3840 3072");
  }
}

// The same path typed on an X server with the Japanese keyboard map, whose ':', '@', '_'
// and '\\' keys lie elsewhere than on a US keyboard.
TEST_F(MainJob, SaveAsTypedOnAJapaneseKeyboard) {
  std::filesystem::create_directories(DriveC() + "/Image");
  ASSERT_NO_FATAL_FAILURE(KeyboardMap("jp"));
  Start();
  ASSERT_NO_FATAL_FAILURE(WaitForLive(SmallPane()));
  ASSERT_NO_FATAL_FAILURE(Capture());
  ASSERT_NO_FATAL_FAILURE(SaveAs("C:\\Image\\x_1@2.jpg"));
  EXPECT_EQ(Exif("C:\\Image\\x_1@2.jpg"), "JPEG 3840 3072 ");
}

// View > Full Screen shows the still over the whole screen; Esc brings the main window back.
TEST_F(MainJob, FullScreenAndBack) {
  Start();
  ASSERT_NO_FATAL_FAILURE(WaitForLive(SmallPane()));
  ASSERT_NO_FATAL_FAILURE(Capture());
  const Picture window = Shot();
  const RECT screen{0, 0, window.width, window.height};
  const RECT menuBar = InMain(RECT{4, 22, 300, 40});
  ASSERT_NO_FATAL_FAILURE(Menu(2, "u"));
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        return At(p, 2, 2) != kDesktop && At(p, p.width - 3, p.height - 3) != kDesktop && Changed(window, p, menuBar) > 500;
      },
      "the still on the whole screen"));
  const Picture full = Shot();
  EXPECT_GT(Distinct(full, screen), 100u) << "the picture, not a blank screen";
  Press("Escape");
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) { return At(p, 2, 2) == kDesktop && Changed(window, p, menuBar) < 20; },
      "the main window back"));
}

// On a still, the palette's rectangle tool draws a rectangle by a drag, and its text tool a
// text by a click and the words typed into the dialog that click opens: both show in the
// large pane, and a save burns them into the picture where they were drawn, and nothing else.
TEST_F(MainJob, ARectangleAndATextDrawnWithThePalette) {
  ASSERT_NO_FATAL_FAILURE(StillSavedAsPlain());
  const Picture withoutPalette = Shot();
  ASSERT_NO_FATAL_FAILURE(Menu(1, "a"));
  // The palette opens over the pane's top-left corner and leaves the main window active; the
  // menu, which dropped grey over the same corner, is gone from the picture beside it.
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        return Changed(withoutPalette, p, InMain(RECT{10, 50, 75, 200})) > 2000 &&
               Count(p, InMain(RECT{100, 100, 150, 150}), [](uint32_t px) { return px == kFace; }) < 50;
      },
      "the annotation palette"));
  const POINT rectangleTool = InMain(61, 113), textTool = InMain(61, 80);

  // The rectangle: its outline changes, its inside does not.
  const RECT pane = LargePane();
  const POINT from{pane.left + 100, pane.top + 100}, to{pane.left + 400, pane.top + 300};
  Click(rectangleTool);
  const Picture plain = Shot();
  Drag(from, to);
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) { return Changed(plain, p, RECT{from.x + 10, from.y - 2, to.x - 10, from.y + 3}, 24) > 200; },
      "the rectangle's outline"));
  EXPECT_LT(Changed(plain, Shot(), RECT{from.x + 10, from.y + 10, to.x - 10, to.y - 10}, 24), 50);

  // The text: a click opens its dialog with the focus in the text field.
  Click(textTool);
  const POINT at{pane.left + 150, pane.top + 400};
  Click(at);
  const auto textDialog = WaitForDialog("the text dialog");
  ASSERT_TRUE(textDialog);
  Type("Lumora");
  Press("Return");
  const RECT words{at.x - 4, at.y - 4, at.x + 120, at.y + 40};
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(plain, p, words, 24) > 60; }, "the text on the still"));
  SaveShot("drawn");

  ASSERT_NO_FATAL_FAILURE(SaveAs("C:\\Image\\drawn.bmp", true));
  EXPECT_EQ(Exif("C:\\Image\\drawn.bmp"), "BMP 3840 3072 ");
  // The pane shows the picture at a sixth of its size: each pane pixel is 6 x 6 of the file's.
  auto inPicture = [&](int x0, int y0, int x1, int y1) {
    return RECT{(x0 - pane.left) * 6, (y0 - pane.top) * 6, (x1 - pane.left) * 6, (y1 - pane.top) * 6};
  };
  const std::string a = "C:\\Image\\plain.bmp", b = "C:\\Image\\drawn.bmp";
  EXPECT_GT(Differing(a, b, inPicture(from.x + 10, from.y - 3, to.x - 10, from.y + 3)), 1500) << "the top edge";
  EXPECT_GT(Differing(a, b, inPicture(from.x - 3, from.y + 10, from.x + 3, to.y - 10)), 1000) << "the left edge";
  EXPECT_EQ(Differing(a, b, inPicture(from.x + 10, from.y + 10, to.x - 10, to.y - 10)), 0) << "inside the rectangle";
  EXPECT_GT(Differing(a, b, inPicture(words.left, words.top, words.right, words.bottom)), 500) << "the text";
  EXPECT_EQ(Differing(a, b, inPicture(pane.left + 450, pane.top, pane.right, pane.bottom)), 0) << "beside both";
}

// Image > Retouch, Negative from the dialog's own menu by mouse and keys, and OK: the still
// becomes its negative on the screen and in the file saved after it.
TEST_F(MainJob, RetouchMakesTheStillItsNegative) {
  ASSERT_NO_FATAL_FAILURE(StillSavedAsPlain());
  const Picture plain = Shot();
  ASSERT_NO_FATAL_FAILURE(Menu(1, "r"));
  const auto dialog = WaitForDialog("the retouch dialog");
  ASSERT_TRUE(dialog);
  // The preview fills the dialog's left part, below its menu bar.
  const RECT preview{dialog->left + 20, dialog->bottom + 40, dialog->left + 600, dialog->bottom + 480};
  const Picture before = Shot();
  Click(POINT{dialog->left + 22, dialog->bottom + 10});  // its menu's "Image"
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(before, p, RECT{dialog->left + 10, dialog->bottom + 24, dialog->left + 100, dialog->bottom + 60}) > 200; },
                            "the retouch menu to drop"));
  Press("Up");  // round to its last item, "Negative"
  Press("Return");
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(before, p, preview, 24) > 100000; }, "the negative preview"));
  Press("Return");  // OK
  const RECT large = LargePane();
  const auto was = Mean(plain, large);
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        const auto caption = acceptance::ActiveCaption(p);
        if (!caption || caption->left == dialog->left) return false;  // the dialog is still there
        const auto now = Mean(p, large);
        for (int c = 0; c < 3; ++c)
          if (std::abs(now[c] - (255 - was[c])) >= 12) return false;
        return true;
      },
      "the negative in the large pane"));
  ASSERT_NO_FATAL_FAILURE(SaveAs("C:\\Image\\negative.bmp"));
  // Pixel for pixel the negative of the picture saved before.
  Shell("convert '" + Native("C:\\Image\\plain.bmp") + "' -negate '" + DriveC() + "/expected.bmp'");
  EXPECT_EQ(Shell("compare -metric AE -fuzz 1% '" + DriveC() + "/expected.bmp' '" + Native("C:\\Image\\negative.bmp") +
                  "' null: 2>&1"),
            "0");
}

// File > Print on the built-in PDF printer: one page, with the picture on it.
TEST_F(MainJob, PrintToThePdfPrinter) {
  Start();
  ASSERT_NO_FATAL_FAILURE(WaitForLive(SmallPane()));
  ASSERT_NO_FATAL_FAILURE(Capture());
  ASSERT_NO_FATAL_FAILURE(Menu(0, "p"));
  ASSERT_TRUE(WaitForDialog("the print dialog"));
  Press("Return");
  std::string pdf;
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(Native("C:\\Lumora\\Printed"), ec))
          if (e.path().extension() == ".pdf") pdf = e.path().string();
        return !pdf.empty() && printing::PdfPageCount(pdf) > 0;
      },
      "a printed PDF", 120));
  EXPECT_EQ(printing::PdfPageCount(pdf), 1);
  // Rendered by poppler, the page holds the picture: many colours, not a blank sheet.
  const printing::PagePicture page = printing::RenderPdfPage(pdf, 1, 30);
  ASSERT_GT(page.width, 0);
  std::set<uint32_t> colours;
  for (size_t i = 0; i + 2 < page.rgb.size(); i += 3) colours.insert(Rgb(page.rgb[i], page.rgb[i + 1], page.rgb[i + 2]));
  EXPECT_GT(colours.size(), 200u);
}

// File > Open in a folder of 60 pictures, longer than the dialog's list: the list's bar
// and the wheel bring the picture into view, and a double click on it opens it.
TEST_F(MainJob, OpenAPictureFoundByScrollingALongFolder) {
  // Folders first ("s", the thumbnails), then p00 to p59 by name; p56 alone is red.
  std::filesystem::create_directories(DriveC() + "/Image/s");
  const std::string grey = Native("C:\\Image") + "/p00.jpg";
  ASSERT_EQ(Shell("convert -size 640x512 xc:gray50 '" + grey + "' && echo ok"), "ok\n");
  for (int i = 1; i < 60; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "/p%02d.jpg", i);
    std::filesystem::copy_file(grey, Native("C:\\Image") + name);
  }
  ASSERT_EQ(Shell("convert -size 640x512 xc:red '" + Native("C:\\Image\\p56.jpg") + "' && echo ok"), "ok\n");
  Start();
  ASSERT_NO_FATAL_FAILURE(WaitForLive(SmallPane()));
  ASSERT_NO_FATAL_FAILURE(Menu(0, "o"));
  const auto dialog = WaitForDialog("the open dialog");
  ASSERT_TRUE(dialog);
  // The file list (6, 24, 288 x 96 dialog units) inside its border; rows of 18 pixels,
  // the bar down its right side.
  const POINT topLeft = DialogPoint(*dialog, 6, 24), bottomRight = DialogPoint(*dialog, 294, 120);
  const RECT list{topLeft.x + 1, topLeft.y + 1, bottomRight.x - 1, bottomRight.y - 1};
  const int rowHeight = 18, rows = (list.bottom - list.top) / rowHeight, barX = list.right - 8;
  auto row = [&](int r) { return POINT{list.left + 40, list.top + r * rowHeight + rowHeight / 2}; };
  // A click on the first row gives the list the focus, and with it the wheel.
  const Picture before = Shot();
  Click(row(0));
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(before, p, list) > 100; }, "the first row chosen"));
  const Picture atTop = Shot();
  Drag(POINT{barX, list.top + 20}, POINT{barX, list.bottom + 40});
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(atTop, p, list) > 200; }, "the list scrolled to its end"));
  const Picture atEnd = Shot();
  Wheel(row(rows / 2), 1);
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(atEnd, p, list) > 200; }, "the list wheeled back"));
  // 62 entries: at the end less the wheel's three rows, the last whole row shows p56.
  DoubleClick(row(rows - 1));
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        return Count(p, LargePane(), [](uint32_t px) { return Red(px) > 200 && Green(px) < 60 && Blue(px) < 60; }) >
               200000;
      },
      "the red picture p56 in the large pane"));
}

}  // namespace
}  // namespace acceptance
