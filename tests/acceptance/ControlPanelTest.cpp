// The camera control panel and its settings pages on the real program, worked with the
// mouse and the keyboard: sensitivity, white balance by a rectangle on the live picture,
// the Photo page's mode and format, the Save page's names typed with backslashes, and a
// time-lapse series set on the Timer page. Judged by the screen, the files and the INI.
#include <cstdlib>
#include <filesystem>

#include "ProgramOnX.h"

namespace acceptance {
namespace {

namespace fs = std::filesystem;

// Places of the panel's controls in the main window (its top-left 0, 0).
constexpr POINT kNormal{831, 369}, kHigh{906, 369}, kCapture{750, 470};
constexpr POINT kPhotoTab{699, 532}, kSaveTab{757, 532}, kLiveTab{812, 532}, kTimerTab{870, 532};
constexpr POINT kQuick{695, 603}, kFormat{850, 657};
constexpr POINT kFolder{800, 573}, kPrefix{770, 620}, kBody{910, 620}, kApply{921, 679};
constexpr POINT kRectangle{839, 588}, kWB{936, 574}, kStart{935, 600};
constexpr POINT kEnableTimer{731, 560}, kIntervalSeconds{935, 603}, kShots{840, 633};
constexpr RECT kExample{700, 638, 930, 652}, kFocusBar{669, 384, 800, 393};
constexpr RECT kFineList{757, 568, 930, 585}, kQuickList{757, 595, 930, 612}, kStartButton{913, 593, 957, 608};

double Luminance(const std::array<double, 3>& c) { return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]; }
int Black(const Picture& p, RECT r) { return Count(p, r, [](uint32_t px) { return px == 0; }); }
int Dark(const Picture& p, RECT r) {
  return Count(p, r, [](uint32_t px) { return Red(px) < 64 && Green(px) < 64 && Blue(px) < 64; });
}

class ControlPanel : public ProgramOnX {
 protected:
  // The program up, its window enabled by the live picture.
  void StartLive() {
    Start();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Distinct(p, SmallPane()) > 200; }, "the live picture"));
  }
  void ClickAt(POINT p) { Click(In(p)); }
  // A settings page brought up by its tab, once the page area shows it.
  void OpenPage(POINT tab) {
    const RECT page = In(RECT{650, 545, 930, 690});
    const Picture before = Shot();
    ASSERT_TRUE(ClickUntil(In(tab), [&](const Picture& p) { return Changed(before, p, page) > 500; }, "the page"));
  }
  // Everything in an edit replaced by `text`, once the edit shows the click taken (its caret).
  void Retype(POINT edit, const std::string& text) {
    const Picture before = Shot();
    ClickAt(edit);
    ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(before, p, In(RECT{edit.x - 60, edit.y - 8, edit.x + 60, edit.y + 8})) > 0; },
                              "the caret in the edit"));
    Press("End");
    Press("shift+Home");
    Type(text);
  }
  // Alt+F4 from whichever control has the focus; the program writes its INI as it ends.
  void Close() {
    Press("alt+F4");
    EXPECT_EQ(WaitForExit(120), 0);
  }
  std::string User(const std::string& key) const { return Ini("USER", key); }
  RECT In(const RECT& r) const { return InMain(r); }
  POINT In(POINT p) const { return InMain(p.x, p.y); }
};

TEST_F(ControlPanel, SensitivityHighThenNormal) {
  StartLive();
  const double normal = Luminance(Mean(Shot(), SmallPane()));
  ClickAt(kHigh);
  EXPECT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        return Luminance(Mean(p, SmallPane())) > normal + 15 && Black(p, In(RECT{902, 365, 911, 374})) > 4 &&
               Black(p, In(RECT{827, 365, 836, 374})) == 0;
      },
      "High chosen and the live picture brighter"));
  ClickAt(kNormal);
  EXPECT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        return Luminance(Mean(p, SmallPane())) < normal + 8 && Black(p, In(RECT{827, 365, 836, 374})) > 4 &&
               Black(p, In(RECT{902, 365, 911, 374})) == 0;
      },
      "Normal chosen and the live picture as before"));
  Close();
  EXPECT_EQ(User("Sensitivity"), "0");
}

// A warm lamp gives the live picture a cast; a white balance over the chart's grey wedge
// takes most of it away.
TEST_F(ControlPanel, WhiteBalanceByARectangleOnTheLivePage) {
  Set("BOARD_CAST", "1.3,1,0.7");
  StartLive();
  const RECT live = SmallPane();
  const RECT wedge{live.left + 150, live.top + 75, live.left + 310, live.top + 95};
  const auto cast = [&](const Picture& p) {
    const auto m = Mean(p, wedge);
    return m[0] - m[2];
  };
  const double before = cast(Shot());
  ASSERT_GT(before, 40) << "the lamp's cast";
  // The Live page up: its Start button is there, drawn disabled (only its frame dark).
  const auto startDark = [&](const Picture& p) { return Dark(p, In(kStartButton)); };
  const Picture photoPage = Shot();
  ASSERT_TRUE(ClickUntil(
      In(kLiveTab),
      [&](const Picture& p) { return Changed(photoPage, p, In(kStartButton)) > 100 && startDark(p) < 30; },
      "the Live page"));
  ClickAt(kRectangle);
  // Start is drawn enabled, its text dark too, once the picking has begun.
  ASSERT_TRUE(ClickUntil(In(kWB), [&](const Picture& p) { return startDark(p) > 40; }, "Start enabled"));
  // The window takes input again once the live picture is ready for picking: a rectangle and
  // a Start made while it was still busy are made again. The balance has begun when the
  // focus bar is cleared for it.
  const auto focusCleared = [&](const Picture& p) {
    return Count(p, In(kFocusBar), [](uint32_t px) { return px == 0x00FF00; }) == 0;
  };
  ASSERT_TRUE(ActUntil(
      [&] {
        // A Start taken before the rectangle answers that no area is set: the message goes.
        const auto caption = ActiveCaption();
        if (caption && std::abs(caption->left - MainWindow().left) > 8) Press("Return");
        Drag(POINT{live.left + 40, live.top + 72}, POINT{live.left + 280, live.top + 95});
        ClickAt(kStart);
      },
      focusCleared, "the white balance begun"));
  EXPECT_TRUE(WaitForScreen([&](const Picture& p) { return cast(p) < before * 0.4; }, "the cast balanced away", 600));
}

TEST_F(ControlPanel, PhotoPageQuickAndAFormat) {
  StartLive();
  ClickAt(kPhotoTab);
  ClickAt(kQuick);
  EXPECT_TRUE(WaitForScreen(
      [&](const Picture& p) { return Black(p, In(kFineList)) == 0 && Black(p, In(kQuickList)) > 20; },
      "the fine list greyed and the quick one enabled"));
  // From Tiff up to Bitmap in the dropped list, once it shows.
  const RECT underFormat = In(RECT{kFormat.x - 90, kFormat.y + 12, kFormat.x + 80, kFormat.y + 40});
  const Picture closed = Shot();
  ASSERT_TRUE(ClickUntil(In(kFormat), [&](const Picture& p) { return Changed(closed, p, underFormat) > 200; },
                         "the format list dropped"));
  Press("Up");
  Press("Return");
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(closed, p, underFormat) == 0; }, "the format list closed"));
  Close();
  EXPECT_EQ(User("FineMode"), "0");
  EXPECT_EQ(User("FileFormat"), "3");
}

// Apply takes the names; the folder is made by the first save into it, File > Save after a
// capture, which names the picture by them.
TEST_F(ControlPanel, SavePageNamesTypedWithBackslashesAndApplied) {
  StartLive();
  ASSERT_NO_FATAL_FAILURE(OpenPage(kSaveTab));
  Retype(kFolder, "C:\\Cells\\Day1");
  Retype(kPrefix, "cell_");
  Retype(kBody, "$###");
  const RECT example = In(kExample);
  const Picture typed = Shot();
  ASSERT_TRUE(ClickUntil(In(kApply), [&](const Picture& p) { return Changed(typed, p, example) > 20; },
                         "the example named by the typed names"));
  ASSERT_NO_FATAL_FAILURE(Capture());
  ASSERT_NO_FATAL_FAILURE(Menu(0, "s"));
  EXPECT_TRUE(WaitForFile("C:\\Cells\\Day1\\cell_001.tif", 120));
  ASSERT_TRUE(WaitForMainWindowActive("the end of the save"));
  Close();
  EXPECT_EQ(User("SaveFolder"), "C:\\Cells\\Day1\\");
  EXPECT_EQ(User("SavePrefix"), "cell_");
  EXPECT_EQ(User("SaveBody"), "$###");
}

// Small quick pictures, so that the series is soon done; every 6 s, as a quick picture
// needs 5 s between shots.
TEST_F(ControlPanel, ATimeLapseOfThreeShotsSetOnTheTimerPage) {
  WriteIni("[USER]\r\nFineMode=0\r\nQuickPhotoMode=13\r\nFileFormat=0\r\nSaveFolder=C:\\Series\r\n");
  StartLive();
  ASSERT_NO_FATAL_FAILURE(OpenPage(kTimerTab));
  // The capture button reads "START" once the timer is on.
  const RECT captureButton = In(RECT{kCapture.x - 40, kCapture.y - 15, kCapture.x + 40, kCapture.y + 15});
  const Picture timerOff = Shot();
  ASSERT_TRUE(ClickUntil(In(kEnableTimer),
                         [&](const Picture& p) { return Changed(timerOff, p, captureButton) > 30; }, "the timer on"));
  ClickAt(kIntervalSeconds);
  Type("6");
  Retype(kShots, "3");
  const auto pictures = [&] {
    int n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(Native("C:\\Series"), ec))
      n += e.is_regular_file() && e.path().extension() == ".jpg";
    return n;
  };
  // The series has begun once its run window is active (or a picture is there).
  ASSERT_TRUE(ClickUntil(
      In(kCapture),
      [&](const Picture& p) {
        const auto active = acceptance::ActiveCaption(p);
        return pictures() > 0 || (active && std::abs(active->top - MainWindow().top) > 8);
      },
      "the series begun"));
  EXPECT_TRUE(WaitUntil([&] { return pictures() == 3; }, "three pictures of the series", 300));
  // The run dialog goes and the main window is active again.
  EXPECT_TRUE(WaitForMainWindowActive("the main window active again"));
  Close();
  EXPECT_EQ(pictures(), 3);
  EXPECT_EQ(User("EnableTimeLapse"), "1");
  EXPECT_EQ(User("TotalShots"), "3");
  EXPECT_EQ(User("IntervalSec"), "6");
}

}  // namespace
}  // namespace acceptance
