// A still picture worked on through the whole program as a user works: clicks at screen
// positions and keys, the file dialogs answered by typing a name. The comment a saved
// picture carries after another picture was retouched, and the scale bar on a captured
// picture calibrated with a line drawn on it (LUMORA_DISPLAY_SHOTS names a folder for the
// documentation's picture of the main window, drawn with the real fonts; drawn with the
// test font, the still pane must match its reviewed reference).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "DialogDriver.h"
#include "ProgramRig.h"
#include "ReferencePicture.h"
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
  // File > Save As by its keys, done once the file is written and the save has ended.
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
    steps.push_back([this, path] { return Exists(path) && !Frame()->IsBusy() && Frame()->IsWindowEnabled(); });
    return steps;
  }
  // File > Open by its keys, done once the picture is shown.
  std::vector<Step> Open(const std::string& name) const {
    const std::string path = kFolder + name;
    std::vector<Step> steps{[path] {
      AnswerFileDialog(path);
      return true;
    }};
    Append(steps, MenuKeys('F', 'O'));
    steps.push_back([this, path] {
      return Doc()->GetImageState() == 3 && std::string(Doc()->GetLoadPath()) == path && !Frame()->IsBusy() &&
             Frame()->IsWindowEnabled();
    });
    return steps;
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
  const int rc = Run(std::string("/i ") + ini, std::move(steps), 240);
  EXPECT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(retouched);
  const std::string folder = kFolder;
  EXPECT_EQ(SavedTitle(folder + "Second.jpg").substr(0, 30), "[Second.jpg][Fine  640x480][26");
  EXPECT_EQ(SavedTitle(folder + "FirstRetouched.jpg"), "[FirstRetouched.jpg][FR 640x480]");
  EXPECT_EQ(SavedTitle(folder + "SecondAgain.jpg"), "[SecondAgain.jpg][Fine 640x480]");
}

// Keys of the file menu pressed while a save still runs (its wait pumps them) start no
// second save inside it: no dialog opens and nothing is written.
TEST_F(StillPictureProgram, TheFileCommandsWaitForASaveThatRuns) {
  const char* ini = "C:\\Run\\busy.ini";
  WriteUser(ini, {{"FineMode", "0"}, {"AutoSave", "0"}, {"FileFormat", "0"}, {"SaveFolder", "C:\\Run\\pics"}});
  bool stillBusy = false;
  std::vector<Step> steps{Ready()};
  Append(steps, Capture());
  // The flag a save sets while its worker runs.
  steps.push_back([this] {
    Frame()->SetBusy(TRUE);
    return true;
  });
  Append(steps, MenuKeys('F', 'A'));  // Save As
  Append(steps, MenuKeys('F', 'S'));  // Save
  Append(steps, MenuKeys('F', 'O'));  // Open
  steps.push_back([&] {
    stillBusy = Frame()->IsBusy() == TRUE;
    Frame()->SetBusy(FALSE);
    Frame()->PostMessage(WM_CLOSE);
    return true;
  });
  const int rc = Run(std::string("/i ") + ini, std::move(steps), 240);
  EXPECT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(stillBusy);
  WIN32_FIND_DATAA found{};
  HANDLE any = ::FindFirstFileA("C:\\Run\\pics\\*.jpg", &found);
  EXPECT_EQ(any, INVALID_HANDLE_VALUE) << "a picture was saved: " << found.cFileName;
  if (any != INVALID_HANDLE_VALUE) ::FindClose(any);
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
  const char* keep = std::getenv("LUMORA_DISPLAY_SHOTS");
  const bool documentation = keep && *keep;
  if (documentation) setenv("LUMORA_FONT", "", 1);
  int measured = 0, calibration = 0;
  bool saved = false;
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
    const POINT lineFrom{r.left + 100, r.top + 150}, lineTo{r.left + 400, r.top + 150};
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
    if (Frame()->GetScaleDialog() || Doc()->GetScaleDrawn() != 1) return false;
    tScaleInfo preset;
    Doc()->GetSelectedScale(preset);
    calibration = preset.barLength;
    return true;
  });
  // The picture once the pane shows the bar's green in its lower left quarter, where
  // the chart has none.
  steps.push_back([&] {
    RECT r{};
    const std::vector<plat::display::Pixel> shown = Shown(CWnd::FromHandle(pane), &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    int green = 0;
    for (int y = h / 2; y < h; ++y)
      green += static_cast<int>(std::count(shown.begin() + y * w, shown.begin() + y * w + w / 2, plat::display::Pixel{0x00FF00}));
    return green > 200;
  });
  steps.push_back([&] {
    RECT r{};
    if (documentation) {
      Frame()->GetWindowRect(&r);
      saved = plat::display::SavePng(ShotPath("scale-bar.png"), &r);
    } else {
      ::GetWindowRect(pane, &r);
      saved = plat::display::SavePng(ShotPath("scale-bar-still.png"), &r);
    }
    Frame()->PostMessage(WM_CLOSE);
    return true;
  });
  const int rc = Run(std::string("/i ") + ini, std::move(steps), 240);
  EXPECT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);

  // The line was measured in picture pixels (2.5 to a screen pixel), and a bar as long as
  // the line was worked out from it.
  EXPECT_NEAR(measured, 750, 3);
  EXPECT_EQ(calibration, measured);
  ASSERT_TRUE(saved);
  // The still picture with the bar at its lower left corner and "100um" above it; the
  // captured chart carries the board's noise.
  if (!documentation)
    EXPECT_TRUE(testenv::MatchesReference(ShotPath("scale-bar-still.png"), "scale-bar-still.png", {24, 400}));
}

}  // namespace
