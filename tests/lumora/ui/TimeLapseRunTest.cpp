// A time-lapse series on the virtual clock, from the panel's START button and from the run
// dialog itself: the shots on a fixed schedule from one second after the dialog opens,
// the state and time-left lines, a count of one, a failed shot, and an Abort during a shot
// that lets the shot finish.
#include <gtest/gtest.h>

#include <afxcmn.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Clock.h"
#include "ControlPanelRig.h"
#include "Faults.h"
#include "FileList.h"
#include "ui/VexTimerRunDlg.h"

namespace {

namespace responder = plat::user::responder;

// What the run dialog showed at one look.
struct Sample {
  std::string status, left;
  int shots = 0;
  bool capturing = false;
};

std::string Stamp(int64_t seconds) {
  const CTime t(static_cast<time_t>(seconds));
  char text[32];
  std::snprintf(text, sizeof text, "%02d%02d%02d%02d%02d%02d", t.GetYear() % 100, t.GetMonth(), t.GetDay(),
                t.GetHour(), t.GetMinute(), t.GetSecond());
  return text;
}

using testenv::Files;

// Consecutive repeats dropped.
std::vector<std::string> Changes(const std::vector<Sample>& samples, std::string Sample::*field) {
  std::vector<std::string> out;
  for (const Sample& s : samples)
    if (out.empty() || out.back() != s.*field) out.push_back(s.*field);
  return out;
}

class TimeLapseRun : public ControlPanelRig {
 protected:
  void TearDown() override {
    if (sampler_) KillTimer(nullptr, sampler_);
    current_ = nullptr;
    plat::faults::DisarmAll();
    plat::clock::PinWall(std::nullopt);
    plat::clock::WallFollowsVirtual(false);
    plat::clock::UseVirtual(false);
    ControlPanelRig::TearDown();
  }
  // The panel in quick mode and time-lapse mode, pictures going to C:\Frame\tl as "run",
  // the clock virtual with wall time starting at a whole second.
  void Prepare(int interval, int shots) {
    StartPanel();
    CreateDirectoryA("C:\\Frame\\tl", nullptr);
    ASSERT_TRUE(panel->SetSaveFolder("C:\\Frame\\tl"));
    ASSERT_TRUE(panel->SetSavePrefix("run"));
    ASSERT_TRUE(panel->SetSaveBody(""));
    panel->ApplySaveFolder();
    panel->SetFineMode(0);
    panel->EnableTimeLapse(1);
    panel->SetInterval(interval / 3600, interval / 60 % 60, interval % 60);
    panel->SetTotalShots(shots);
    autoSave_ = doc->GetAutoSave();
    autoPrint_ = doc->GetAutoPrint();
    // Wall time stands at a whole second until the first run dialog has opened, then moves
    // with the virtual clock.
    plat::clock::UseVirtual(true, 10);
    start_ = plat::clock::WallMicros() / 1000000 + 1;
    plat::clock::PinWall(start_ * 1000000);
  }
  // Looks at the run dialog every `ms` while `body` runs; `during` sees each look.
  void Watch(const std::function<void()>& body, std::function<void(HWND, const Sample&)> during = {}, int ms = 50) {
    responder::Push([this](const responder::Shown& shown) {
      if (!shown.messageBox) dialog_ = shown.hwnd;
      if (!following_) {
        following_ = true;
        plat::clock::WallFollowsVirtual(true);
        plat::clock::PinWall(std::nullopt);
      }
      return IDOK;
    });
    current_ = this;
    during_ = std::move(during);
    sampler_ = SetTimer(nullptr, 0, static_cast<UINT>(ms), &TimeLapseRun::Look);
    body();
    KillTimer(nullptr, sampler_);
    sampler_ = 0;
    current_ = nullptr;
  }
  void PressStart() {
    panel->SendMessage(WM_COMMAND, MAKEWPARAM(1038, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(panel->m_hWnd, 1038)));
  }
  // The pictures and thumbnails expected for shots taken at these seconds after the start.
  std::vector<std::string> Pictures(std::initializer_list<int> at) const {
    std::vector<std::string> out;
    for (int s : at) out.push_back("run!" + Stamp(start_ + s) + ".tif");
    return out;
  }
  void ExpectPanelReady() {
    EXPECT_EQ(doc->GetAutoSave(), autoSave_);
    EXPECT_EQ(doc->GetAutoPrint(), autoPrint_);
    EXPECT_EQ(doc->IsDirectMode(), 0);
    EXPECT_EQ(panel->IsCaptureRunning(), 0);
    EXPECT_FALSE(frame->IsBusy());
    EXPECT_TRUE(frame->IsWindowEnabled());
  }
  static std::string Text(HWND dialog, int id) {
    char text[256] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
  }

  std::vector<Sample> samples;
  HWND dialog_ = nullptr;
  int64_t start_ = 0;

 private:
  static void CALLBACK Look(HWND, UINT, UINT_PTR, DWORD) {
    TimeLapseRun* t = current_;
    if (!t || !t->dialog_ || !::IsWindow(t->dialog_) || !::IsWindowVisible(t->dialog_)) return;
    Sample s;
    s.status = Text(t->dialog_, 1124);
    s.left = Text(t->dialog_, 1126);
    s.shots = static_cast<int>(::SendMessageA(::GetDlgItem(t->dialog_, 1125), PBM_GETPOS, 0, 0));
    s.capturing = t->frame->IsCapturing() != 0;
    t->samples.push_back(s);
    if (t->during_) t->during_(t->dialog_, s);
  }
  static inline TimeLapseRun* current_ = nullptr;
  UINT_PTR sampler_ = 0;
  bool following_ = false;
  std::function<void(HWND, const Sample&)> during_;
  DWORD autoSave_ = 0, autoPrint_ = 0;
};

TEST_F(TimeLapseRun, ShotsFollowAFixedScheduleWithTheirStateAndTimeLeft) {
  // A minute apart: on the virtual clock a capture's own length varies with the machine's
  // load, and stays far below that.
  Prepare(60, 3);
  // Live view's thread would move the virtual clock at its own pace between the ticks.
  frame->StopLive();
  Watch([&] { PressStart(); });
  // One second after the dialog opened, then every minute; each saved with its thumbnail
  // although automatic saving was off.
  EXPECT_EQ(Files("C:\\Frame\\tl\\*.tif"), Pictures({1, 61, 121}));
  const auto thumbs = Files("C:\\Frame\\tl\\s\\*");
  EXPECT_EQ(thumbs.size(), 3u);
  for (int s : {1, 61, 121})
    EXPECT_EQ(std::count_if(thumbs.begin(), thumbs.end(),
                            [&](const std::string& n) { return n.find(Stamp(start_ + s)) != std::string::npos; }),
              1)
        << s;

  const auto statuses = Changes(samples, &Sample::status);
  const std::vector<std::string> expected = {
      "",
      "撮影済み:   0/  3 枚           撮影中",
      "撮影済み:   1/  3 枚           待機中",
      "撮影済み:   1/  3 枚           撮影中",
      "撮影済み:   2/  3 枚           待機中",
  };
  ASSERT_GE(statuses.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(statuses.begin(), statuses.begin() + 5), expected);
  if (statuses.size() > 5) { EXPECT_EQ(statuses[5], "撮影済み:   2/  3 枚           撮影中"); }
  // The time left counts the shots still to come: it changes only when a shot is done.
  const auto left = Changes(samples, &Sample::left);
  ASSERT_GE(left.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(left.begin() + 1, left.begin() + 4),
            (std::vector<std::string>{"残り時間: 00:03:00", "残り時間: 00:02:00", "残り時間: 00:01:00"}));
  for (size_t i = 1; i < samples.size(); ++i)
    if (samples[i].left != samples[i - 1].left && !samples[i - 1].left.empty()) {
      EXPECT_EQ(samples[i].shots, samples[i - 1].shots + 1) << i;
    }
  ExpectPanelReady();
}

TEST_F(TimeLapseRun, EachRunCountsItsOwnShotsAndACountOfOneEndsAtOnce) {
  Prepare(5, 2);
  frame->StopLive();
  doc->SetDirectMode(1);
  auto run = [&](UINT total, int hours) {
    CVexTimerRunDlg dialog;
    dialog.SetShotCount(total);
    dialog.SetInterval(hours, 0, 5);
    dialog.SetArmed(1);
    dialog.SetDocument(doc);
    dialog.SetErrorControl(frame->ErrorControl());
    dialog.SetCaptureSeconds(0);
    doc->MakeAutoSaveName();
    const int64_t opened = plat::clock::WallMicros();
    int result = -1;
    Watch([&] { result = dialog.DoModal(); });
    EXPECT_EQ(result, 0);
    return std::make_pair(dialog.GetShotsTaken(), (plat::clock::WallMicros() - opened) / 1000000);
  };
  // Two series of two in one program: each takes both of its shots.
  for (int i = 0; i < 2; ++i) {
    const auto [shots, seconds] = run(2, 0);
    EXPECT_EQ(shots, 2u) << "series " << i;
    EXPECT_GE(seconds, 5) << "the second shot waits out the interval";
  }
  // A count of one ends after the first shot, not an hour later.
  const auto [shots, seconds] = run(1, 1);
  EXPECT_EQ(shots, 1u);
  EXPECT_LT(seconds, 60);
  EXPECT_EQ(frame->IsLiveRunning(), 0) << "the dialog starts live view only where it stopped it";
}

TEST_F(TimeLapseRun, AFailedShotEndsTheSeriesWithItsError) {
  Prepare(5, 3);
  frame->StopLive();
  // The shooting buffer cannot be made: the shot fails and is reported once.
  plat::faults::Arm("imaging.CreateImage", ERROR_NOT_ENOUGH_MEMORY, 0, -1);
  Watch([&] {
    AnswerErrorBox();
    PressStart();
  });
  EXPECT_EQ(errors, std::vector<std::string>{"エラーコード: 001:001"});
  plat::faults::DisarmAll();
  EXPECT_TRUE(Files("C:\\Frame\\tl\\*.tif").empty());
  ASSERT_FALSE(samples.empty());
  EXPECT_EQ(samples.back().shots, 0);
  ExpectPanelReady();
}

TEST_F(TimeLapseRun, AnAbortDuringAShotLetsItFinishAndReturnsMinusTwo) {
  Prepare(5, 3);
  ASSERT_EQ(frame->IsLiveRunning(), 1);
  CVexTimerRunDlg dialog;
  dialog.SetShotCount(3);
  dialog.SetInterval(0, 0, 5);
  dialog.SetArmed(1);
  dialog.SetDocument(doc);
  dialog.SetErrorControl(frame->ErrorControl());
  doc->SetDirectMode(1);
  std::string statusAfterAbort;
  int result = 0;
  Watch(
      [&] { result = dialog.DoModal(); },
      [&](HWND wnd, const Sample& s) {
        if (!s.capturing || !statusAfterAbort.empty()) return;
        ::SendMessageA(::GetDlgItem(wnd, 1001), BM_CLICK, 0, 0);
        statusAfterAbort = Text(wnd, 1124);
        EXPECT_EQ(frame->IsCapturing(), 1) << "the shot goes on";
      },
      10);
  doc->SetDirectMode(0);
  EXPECT_EQ(statusAfterAbort, "中止しています。お待ちください。");
  EXPECT_EQ(result, -2);
  EXPECT_EQ(doc->IsShotDone(), 1) << "the shot under way ran to its end";
  EXPECT_EQ(dialog.GetShotsTaken(), 0u);
  EXPECT_EQ(frame->IsLiveRunning(), 0) << "the dialog leaves live view to its caller";
}

TEST_F(TimeLapseRun, AfterAnAbortThePanelStartsLiveViewAgain) {
  Prepare(5, 3);
  ASSERT_EQ(frame->IsLiveRunning(), 1);
  bool pressed = false;
  Watch([&] { PressStart(); },
        [&](HWND wnd, const Sample& s) {
          if (!s.capturing || pressed) return;
          pressed = true;
          ::SendMessageA(::GetDlgItem(wnd, 1001), BM_CLICK, 0, 0);
        },
        10);
  EXPECT_TRUE(pressed);
  // The shot under way was saved (its second depends on live view's pace).
  const auto pictures = Files("C:\\Frame\\tl\\*.tif");
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].rfind("run!", 0), 0u);
  ExpectPanelReady();
  EXPECT_EQ(frame->IsLiveRunning(), 1);
}

}  // namespace
