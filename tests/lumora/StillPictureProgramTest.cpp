// A still picture worked on through the whole program as a user works: clicks at screen
// positions and keys, the file dialogs answered by typing a name. The comment a saved
// picture carries after another picture was retouched, and the scale bar on a captured
// picture calibrated with a line drawn on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "DialogDriver.h"
#include "ProgramRig.h"
#include "annotation/dialogs/VexScaleDialog.h"
#include "binding/CLead.h"
#include "imaging/ImageFile.h"
#include "pipeline/VexCommentField.h"

namespace {

using programrig::ProgramRig;
using programrig::Step;
namespace responder = plat::user::responder;
namespace driver = plat::user::driver;

constexpr const char* kFolder = "C:\\Run\\pics\\";

// The title a saved picture carries (its comment field 36), as any reader finds it.
std::string SavedTitle(const std::string& path) {
  plat::imaging::FileFields fields;
  if (plat::imaging::imagefile::ReadFields(path, &fields) != 0) return "(no fields)";
  const auto* bytes = std::get_if<std::vector<uint8_t>>(&fields.Get(vexcomment::kTitleField));
  if (!bytes || bytes->size() < 8) return "(no title)";
  std::string text(bytes->begin() + 8, bytes->end());
  return text.substr(0, text.find('\0'));
}

class StillPictureProgram : public ProgramRig {
 protected:
  void SetUp() override {
    ProgramRig::SetUp();
    CreateDirectoryA("C:\\Run\\pics", nullptr);
    // A dialog no step expects would wait for ever: it fails the test and is ended.
    responder::OnUnscriptedDialog([](const responder::Shown& shown) {
      ADD_FAILURE() << "unexpected window \"" << shown.caption << "\" " << shown.text;
      if (!shown.messageBox && shown.hwnd) ::EndDialog(shown.hwnd, IDCANCEL);
      return IDCANCEL;
    });
  }

  CVexMainControlView* Panel() const { return Frame()->ControlView(); }
  // A shot by the capture button, done once the still picture is there.
  std::vector<Step> Capture() const {
    return {[this] { return ClickOn(::GetDlgItem(Panel()->m_hWnd, 1038)); },
            [this] { return Doc()->GetImageState() == 1 && !Panel()->IsCaptureRunning() && !Frame()->IsCapturing(); }};
  }
  // A file dialog that gets `path` typed and OK.
  static void AnswerFileDialog(const std::string& path) {
    responder::Push([path](const responder::Shown& shown) {
      dialogdriver::TypeAndOk(shown.hwnd, path);
      return 0;
    });
  }
  static bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  // File > Save As by its keys, done once the file is written.
  std::vector<Step> SaveAs(const std::string& name) const {
    const std::string path = kFolder + name;
    std::vector<Step> steps{[path] {
      AnswerFileDialog(path);
      // A JPEG name asks for the quality: the preset one.
      responder::Push([](const responder::Shown& shown) {
        dialogdriver::Press(shown.hwnd, IDOK);
        return 0;
      });
      return true;
    }};
    Append(steps, MenuKeys('F', 'A'));
    steps.push_back([this, path] { return Exists(path) && Frame()->IsWindowEnabled(); });
    return steps;
  }
  // File > Open by its accelerator, done once the picture is shown.
  std::vector<Step> Open(const std::string& name) const {
    const std::string path = kFolder + name;
    return {[path] {
              AnswerFileDialog(path);
              return true;
            },
            FocusMainWindow(), Keys('O', driver::kControl),
            [this, path] {
              return Doc()->GetImageState() == 3 && std::string(Doc()->GetLoadPath()) == path &&
                     Frame()->IsWindowEnabled();
            }};
  }
  static void Append(std::vector<Step>& to, std::vector<Step> steps) {
    for (Step& s : steps) to.push_back(std::move(s));
  }
};

TEST_F(StillPictureProgram, ThePictureOpenedAfterARetouchIsSavedWithoutTheRetouchedMark) {
  const char* ini = "C:\\Run\\mark.ini";
  WriteUser(ini, {{"FineMode", "1"}, {"FinePhotoMode", "9"}, {"AutoSave", "0"}, {"FileFormat", "0"},
                  {"SaveFolder", "C:\\Run\\pics"}});
  bool retouched = false;
  std::vector<Step> steps{Ready()};
  // Two untouched pictures of one shot.
  Append(steps, Capture());
  Append(steps, SaveAs("First.jpg"));
  Append(steps, SaveAs("Second.jpg"));
  // The first one opened, retouched (Image > Retouch, OK) and saved.
  Append(steps, Open("First.jpg"));
  steps.push_back([] {
    responder::Push([](const responder::Shown& shown) {
      dialogdriver::Press(shown.hwnd, IDOK);
      return 0;
    });
    return true;
  });
  Append(steps, MenuKeys('I', 'R'));
  steps.push_back([&] { return retouched = Doc()->GetShotParameters().retouched == 1 && Frame()->IsWindowEnabled(); });
  Append(steps, SaveAs("FirstRetouched.jpg"));
  // Then the second one opened and saved as it is.
  Append(steps, Open("Second.jpg"));
  Append(steps, SaveAs("SecondAgain.jpg"));
  steps.push_back([&] {
    Frame()->PostMessage(WM_CLOSE);
    return true;
  });
  const int rc = Run(std::string("/i ") + ini, std::move(steps), 300);
  EXPECT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(retouched);
  const std::string folder = kFolder;
  EXPECT_EQ(SavedTitle(folder + "Second.jpg").substr(0, 30), "[Second.jpg][Fine  640x480][26");
  EXPECT_EQ(SavedTitle(folder + "FirstRetouched.jpg"), "[FirstRetouched.jpg][FR 640x480]");
  EXPECT_EQ(SavedTitle(folder + "SecondAgain.jpg"), "[SecondAgain.jpg][Fine 640x480]");
}

// The still picture's pixels on the screen of the pane that shows it, and where they are.
struct PaneShot {
  std::vector<plat::display::Pixel> pixels;
  RECT where{};
  int Width() const { return where.right - where.left; }
  plat::display::Pixel At(int x, int y) const { return pixels[static_cast<size_t>(y * Width() + x)]; }
};

// The preset's bar colour, green (the label's edges are blended into the picture).
bool BarGreen(plat::display::Pixel px) {
  const int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
  return g >= 200 && r <= 80 && b <= 80;
}

// Where the bar's colour lies in one part of the pane, pane coordinates.
struct Found {
  int count = 0;
  CRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
};
Found FindGreen(const PaneShot& shot, const CRect& within) {
  Found f;
  for (int y = within.top; y < within.bottom; ++y)
    for (int x = within.left; x < within.right; ++x)
      if (BarGreen(shot.At(x, y))) {
        ++f.count;
        f.box.left = std::min<LONG>(f.box.left, x);
        f.box.top = std::min<LONG>(f.box.top, y);
        f.box.right = std::max<LONG>(f.box.right, x + 1);
        f.box.bottom = std::max<LONG>(f.box.bottom, y + 1);
      }
  return f;
}

// The bar: the rows in which a long run of its colour lies (the label's rows hold short
// strokes only).
Found BarRows(const PaneShot& shot, const CRect& within) {
  Found bar;
  for (int y = within.top; y < within.bottom; ++y) {
    const Found row = FindGreen(shot, CRect(within.left, y, within.right, y + 1));
    if (row.count < 200) continue;
    bar.count += row.count;
    bar.box.left = std::min(bar.box.left, row.box.left);
    bar.box.top = std::min(bar.box.top, row.box.top);
    bar.box.right = std::max(bar.box.right, row.box.right);
    bar.box.bottom = std::max(bar.box.bottom, row.box.bottom);
  }
  return bar;
}

TEST_F(StillPictureProgram, ImageScaleWithACalibrationLineShowsTheBarAtItsCorner) {
  const char* ini = "C:\\Run\\scale.ini";
  WriteUser(ini, {{"FineMode", "1"}, {"FinePhotoMode", "5"}, {"AutoSave", "0"}});
  CVexDisplayOutput* still = nullptr;
  HWND pane = nullptr;
  CVexScaleDialog* dialog = nullptr;
  auto item = [&](int id) { return ::GetDlgItem(dialog->m_hWnd, id); };
  auto text = [&](int id) { return dialogdriver::Text(item(id)); };
  auto click = [&](int id) {
    return [&, id] { return ClickOn(item(id)); };
  };
  // A field typed over as a user does: click into it, select its text, type, Enter.
  auto type = [&](int id, const char* value) {
    return std::vector<Step>{click(id), [value] {
                               driver::PressKey(VK_HOME);
                               driver::PressKey(VK_END, driver::kShift);
                               driver::TypeText(value);
                               driver::PressKey(VK_RETURN);
                               return true;
                             }};
  };
  POINT lineFrom{}, lineTo{};
  int measured = 0, calibration = 0;
  PaneShot shot;
  std::vector<Step> steps{Ready()};
  Append(steps, Capture());
  Append(steps, MenuKeys('I', 'S'));  // Image > Scale
  steps.push_back([&] {
    dialog = Frame()->GetScaleDialog();
    still = Frame()->GetStillDisplay();
    pane = still->GetImagingControl()->m_hWnd;
    return dialog && dialog->IsWindowVisible();
  });
  steps.push_back(click(1148));  // Captured Image
  steps.push_back(click(1001));  // Details
  steps.push_back([&] { return ::IsDlgButtonChecked(dialog->m_hWnd, 1148) == BST_CHECKED && dialog->IsDetailsShown(); });
  steps.push_back(click(1169));  // Measurement
  steps.push_back([&] { return ::IsDlgButtonChecked(dialog->m_hWnd, 1169) == BST_CHECKED; });
  steps.push_back(click(1194));  // Measuring Pixels
  steps.push_back([&] { return dialogdriver::Text(dialog->m_hWnd) == "Measuring Pixels"; });
  // The calibration line: 300 pixels across the upper half of the still picture.
  steps.push_back([&] {
    RECT r{};
    ::GetWindowRect(pane, &r);
    lineFrom = POINT{r.left + 100, r.top + 150};
    lineTo = POINT{r.left + 400, r.top + 150};
    EXPECT_EQ(::WindowFromPoint(lineFrom), pane) << "the line starts on the picture";
    EXPECT_EQ(::WindowFromPoint(lineTo), pane) << "the line ends on the picture";
    driver::Drag(lineFrom, lineTo, 6);
    return true;
  });
  steps.push_back(click(1199));  // OK of the measuring
  steps.push_back([&] {
    if (dialogdriver::Text(dialog->m_hWnd) != "Scale") return false;
    measured = std::atoi(text(1193).c_str());
    return true;
  });
  Append(steps, type(1176, "100"));  // the line is 100 um long
  steps.push_back([&] { return dialog->GetPreset(dialog->GetCurrentIndex()).measuredLength == 100.0; });
  Append(steps, type(1158, "100"));  // and so is the bar
  steps.push_back([&] { return dialog->GetPreset(dialog->GetCurrentIndex()).lengthValue == 100.0; });
  steps.push_back(click(1166));  // Apply
  steps.push_back([&] { return Doc()->m_bScaleOnCaptured == 1 && still->IsScalePresent(); });
  steps.push_back(click(IDOK));
  steps.push_back([&] {
    if (Frame()->GetScaleDialog()) return false;
    tScaleInfo preset;
    Doc()->GetSelectedScale(preset);
    calibration = preset.barLength;
    // The pane has shown the bar once its colour is on the screen.
    shot.pixels = Shown(CWnd::FromHandle(pane), &shot.where);
    return BarRows(shot, CRect(0, 0, shot.Width(), shot.where.bottom - shot.where.top)).count > 0;
  });
  steps.push_back([&] {
    RECT r{};
    Frame()->GetWindowRect(&r);
    plat::display::SavePng(ShotPath("scale-bar.png"), &r);
    Frame()->PostMessage(WM_CLOSE);
    return true;
  });
  const int rc = Run(std::string("/i ") + ini, std::move(steps), 300);
  EXPECT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);

  // The line was measured in picture pixels (2.5 to a screen pixel), and a bar as long as
  // the line was worked out from it.
  EXPECT_NEAR(measured, 750, 3);
  EXPECT_EQ(calibration, measured);
  ASSERT_FALSE(shot.pixels.empty());
  // The bar stands at the picture's lower left corner: its left end 10 % in from the left
  // edge, its box's bottom 10 % up from the bottom edge, and it is as long as the line.
  const int w = shot.Width(), h = static_cast<int>(shot.where.bottom - shot.where.top);
  const Found bar = BarRows(shot, CRect(0, h / 2, w, h));
  ASSERT_GT(bar.count, 0);
  EXPECT_NEAR(bar.box.left, w / 10, 3);
  EXPECT_NEAR(bar.box.Width(), lineTo.x - lineFrom.x, 3);
  EXPECT_GT(bar.box.bottom, h * 8 / 10);
  EXPECT_LT(bar.box.bottom, h * 9 / 10);
  // The length is written above its middle.
  const int middle = (bar.box.left + bar.box.right) / 2;
  const Found label = FindGreen(shot, CRect(middle - 120, bar.box.top - 90, middle + 120, bar.box.top - 1));
  EXPECT_GT(label.count, 40) << "the label's strokes";
  EXPECT_NEAR((label.box.left + label.box.right) / 2, middle, 6);
}

}  // namespace
