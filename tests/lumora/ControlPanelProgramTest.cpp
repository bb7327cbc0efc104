// The operator's road through the control panel of the whole program: exposure and
// sensitivity set, the focus meter moving with the scene, a still picture from the capture
// button saved on its own, a time-lapse series through the run dialog, and the board's
// trigger; with screenshots of the panel and of the run dialog.
#include <gtest/gtest.h>

#include <memory>

#include "FileList.h"
#include "ProgramRig.h"
#include "ui/MonitorBar.h"

namespace {

using programrig::ProgramRig;
using programrig::Step;

using testenv::Files;

// A trigger pulse held longer than the program's 100 ms polling period: a poll sees it
// whatever the phase between the two.
constexpr int64_t kSeenByAPoll = 250000;

std::string Profile(const char* key, const char* ini) {
  char value[64] = {};
  GetPrivateProfileStringA("USER", key, "", value, sizeof value, ini);
  return value;
}

class ControlPanelProgram : public ProgramRig {
 protected:
  CVexMainControlView* Panel() const { return Frame() ? Frame()->ControlView() : nullptr; }
  HWND Item(int id) const { return ::GetDlgItem(Panel()->m_hWnd, id); }
  std::string ItemText(int id) const {
    char text[128] = {};
    ::GetDlgItemTextA(Panel()->m_hWnd, id, text, sizeof text);
    return text;
  }
  void Click(int id) const {
    Panel()->PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
  }
};

TEST_F(ControlPanelProgram, ExposureSensitivityFocusAndAStillSavedOnItsOwn) {
  Set("BOARD_MOTION", "40");
  const char* ini = "C:\\Run\\panel.ini";
  CreateDirectoryA("C:\\Run\\pics", nullptr);
  WriteUser(ini, {{"FineMode", "0"}, {"AutoSave", "1"}, {"FileFormat", "0"}, {"SaveFolder", "C:\\Run\\pics"},
              {"SavePrefix", "still"}, {"SaveBody", "$###"}});
  std::string readout, edit;
  DWORD exposure = 0, sensitivity = 0;
  std::vector<std::string> focusTexts;
  int highestLevel = 0;
  bool captureSeen = false, liveAgain = false;
  std::vector<std::string> pictures, thumbnails;
  const int rc = Run(
      std::string("/i ") + ini,
      {
          Ready(),
          [&] {
            // Seven steps shorter by keyboard, applied when the key is let go.
            HWND slider = Item(1039);
            ::SetFocus(slider);
            for (int i = 0; i < 7; ++i) {
              ::SendMessageA(slider, WM_KEYDOWN, VK_LEFT, 0);
              ::SendMessageA(slider, WM_KEYUP, VK_LEFT, 0);
            }
            readout = Panel()->Readout().GetText();
            exposure = Doc()->GetExposureTime();
            // High sensitivity, as a click on its radio button.
            ::SendMessageA(Item(1054), BM_CLICK, 0, 0);
            sensitivity = Doc()->GetSensitivity();
            return true;
          },
          [&] {
            // The meter polls every 300 ms while the scene moves under the camera.
            const std::string text = ItemText(1068);
            if (focusTexts.empty() || focusTexts.back() != text) focusTexts.push_back(text);
            highestLevel = std::max(highestLevel, Panel()->FocusBar().GetPos());
            return focusTexts.size() >= 4;
          },
          [&] {
            RECT r;
            Panel()->GetWindowRect(&r);
            plat::display::SavePng(ShotPath("control-panel.png"), &r);
            Click(1038);
            return true;
          },
          [&] { return captureSeen = captureSeen || Panel()->IsCaptureRunning() == 1; },
          [&] { return Panel()->IsCaptureRunning() == 0; },
          [&] {
            pictures = Files("C:\\Run\\pics\\*");
            thumbnails = Files("C:\\Run\\pics\\s\\*");
            return !thumbnails.empty();
          },
          [&] {
            liveAgain = Frame()->IsLiveRunning() != 0;
            Frame()->PostMessage(WM_CLOSE);
            return true;
          },
      });
  EXPECT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(readout, "    60");
  EXPECT_EQ(exposure, 20u);
  EXPECT_EQ(sensitivity, 1u);
  ASSERT_GE(focusTexts.size(), 4u);
  for (const auto& t : focusTexts) EXPECT_NE(t, "N/A");
  EXPECT_GT(highestLevel, 0);
  EXPECT_TRUE(captureSeen);
  EXPECT_EQ(pictures, std::vector<std::string>{"still001.jpg"});
  EXPECT_EQ(thumbnails.size(), 1u);
  EXPECT_TRUE(liveAgain);
  EXPECT_EQ(Profile("ExposureTime", ini), "20");
  EXPECT_EQ(Profile("Sensitivity", ini), "1");
}

TEST_F(ControlPanelProgram, ASeriesOfThreeThroughTheRunDialog) {
  const char* ini = "C:\\Run\\series.ini";
  CreateDirectoryA("C:\\Run\\series", nullptr);
  WriteUser(ini, {{"FineMode", "0"}, {"FileFormat", "0"}, {"AutoSave", "0"}, {"AutoPrint", "1"},
              {"EnableTimeLapse", "1"}, {"IntervalSec", "5"}, {"TotalShots", "3"},
              {"SaveFolder", "C:\\Run\\series"}, {"SavePrefix", "tl"}, {"SaveBody", ""}});
  std::string button, statusBox, dialogStatus, lastStatus;
  bool runSeen = false, shot = false, liveAgain = false;
  DWORD autoSave = 9, autoPrint = 9;
  LONG direct = 9;
  std::vector<std::string> pictures, thumbnails;
  const int rc = Run(
      std::string("/i ") + ini,
      {
          Ready(),
          [&] {
            button = ItemText(1038);
            statusBox = ItemText(1129);
            Click(1038);
            return true;
          },
          [&] {
            // The run dialog, once its first shot is done (a loaded machine may go on to the
            // next one at once, so the state word is not looked at).
            HWND dialog = ::FindWindowA(nullptr, "Lumora タイムラプス撮影中");
            if (!dialog) return false;
            runSeen = true;
            char text[128] = {};
            ::GetDlgItemTextA(dialog, 1124, text, sizeof text);
            lastStatus = text;
            if (std::string(text).find("撮影済み:   0/") != std::string::npos || !*text) return false;
            dialogStatus = text;
            RECT r;
            ::GetWindowRect(dialog, &r);
            plat::display::SavePng(ShotPath("time-lapse-run.png"), &r);
            return true;
          },
          [&] { return Panel()->IsCaptureRunning() == 0; },
          [&] {
            pictures = Files("C:\\Run\\series\\*");
            thumbnails = Files("C:\\Run\\series\\s\\*");
            return thumbnails.size() >= 3;
          },
          [&] {
            autoSave = Doc()->GetAutoSave();
            autoPrint = Doc()->GetAutoPrint();
            direct = Doc()->IsDirectMode();
            liveAgain = Frame()->IsLiveRunning() != 0;
            shot = Doc()->IsShotDone() == 1;
            Frame()->PostMessage(WM_CLOSE);
            return true;
          },
      },
      180);
  EXPECT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(button, "START");
  EXPECT_EQ(statusBox, "\n\n\n\n") << "no Print line in time-lapse mode";
  EXPECT_TRUE(runSeen);
  EXPECT_EQ(dialogStatus.rfind("撮影済み:", 0), 0u) << lastStatus;
  ASSERT_EQ(pictures.size(), 3u);
  for (const auto& p : pictures) EXPECT_EQ(p.rfind("tl!", 0), 0u) << p << " carries the time of its shot";
  EXPECT_EQ(thumbnails.size(), 3u);
  EXPECT_TRUE(shot);
  EXPECT_EQ(autoSave, 0u);
  EXPECT_EQ(autoPrint, 1u);
  EXPECT_EQ(direct, 0);
  EXPECT_TRUE(liveAgain);
  EXPECT_EQ(Profile("AutoSave", ini), "0");
  EXPECT_EQ(Profile("AutoPrint", ini), "1");
}

TEST_F(ControlPanelProgram, ATriggerPulseTakesOnePictureButNoneInTimeLapseMode) {
  const char* ini = "C:\\Run\\trigger.ini";
  CreateDirectoryA("C:\\Run\\trig", nullptr);
  WriteUser(ini, {{"FineMode", "0"}, {"FileFormat", "0"}, {"AutoSave", "1"}, {"ExternalTrigger", "1"},
              {"SaveFolder", "C:\\Run\\trig"}, {"SavePrefix", "trig"}, {"SaveBody", "$###"}});
  // Pulses every 300 ms, `pulses` of them: in time-lapse mode none may take a picture. Each
  // is held longer than the polling period, so every one is seen whatever their phases.
  auto pulsing = [](int pulses) -> Step {
    auto sent = std::make_shared<int>(0);
    auto last = std::make_shared<std::chrono::steady_clock::time_point>();
    return [=] {
      if (*sent >= pulses) return true;
      const auto now = std::chrono::steady_clock::now();
      if (now - *last < std::chrono::milliseconds(300)) return false;
      *last = now;
      ++*sent;
      plat::board::PulseTrigger(0, kSeenByAPoll);
      return false;
    };
  };
  size_t afterOne = 0, afterTimeLapse = 0;
  bool triggerRan = false;
  const int rc = Run(
      std::string("/i ") + ini,
      {
          Ready(),
          [&] { return triggerRan = Frame()->IsTriggerRunning() == 1; },
          [&] {
            // The trigger held until the capture it starts runs (a busy machine's polling may
            // come late), then let go: the polling thread waits for that capture to end.
            plat::board::PulseTrigger(0, int64_t{3600} * 1000000);
            return true;
          },
          [&] {
            if (Panel()->IsCaptureRunning() != 1 && Doc()->GetImageState() == 0) return false;
            plat::board::PulseTrigger(0, 0);
            return true;
          },
          [&] { return Panel()->IsCaptureRunning() == 0 && !Files("C:\\Run\\trig\\*.jpg").empty(); },
          Wait(1500),  // where a second picture would show
          [&] {
            afterOne = Files("C:\\Run\\trig\\*.jpg").size();
            Panel()->EnableTimeLapse(1);  // as the Timer page does
            return true;
          },
          pulsing(8),
          Wait(800),
          [&] {
            afterTimeLapse = Files("C:\\Run\\trig\\*.jpg").size();
            Frame()->PostMessage(WM_CLOSE);
            return true;
          },
      },
      120);
  EXPECT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(triggerRan);
  EXPECT_EQ(afterOne, 1u) << "one picture for one pulse";
  EXPECT_EQ(afterTimeLapse, 1u) << "no picture from the trigger in time-lapse mode";
  EXPECT_EQ(Profile("ExternalTrigger", ini), "1") << "quitting in time-lapse mode keeps the trigger";
  EXPECT_EQ(Profile("EnableTimeLapse", ini), "1");
}

// Started in time-lapse mode with the trigger on: the panel suspends polling before the
// application would start it, so none runs while live view does; leaving time-lapse mode
// starts it, and a pulse then takes its picture.
TEST_F(ControlPanelProgram, AStartInTimeLapseModeHoldsTheTriggerUntilTheModeEnds) {
  std::vector<std::string> unexpected;
  plat::user::responder::OnUnscriptedDialog([&](const plat::user::responder::Shown& shown) {
    char code[64] = {};
    ::GetDlgItemTextA(shown.hwnd, 1143, code, sizeof code);
    unexpected.push_back(shown.caption + " " + code);
    ::EndDialog(shown.hwnd, IDCANCEL);
    return 0;
  });
  const char* ini = "C:\\Run\\held.ini";
  CreateDirectoryA("C:\\Run\\held", nullptr);
  WriteUser(ini, {{"FineMode", "0"}, {"FileFormat", "0"}, {"AutoSave", "1"}, {"ExternalTrigger", "1"},
              {"EnableTimeLapse", "1"}, {"SaveFolder", "C:\\Run\\held"}, {"SavePrefix", "held"},
              {"SaveBody", "$###"}});
  bool pollingAtStart = true, liveAtStart = false, pollingAfter = false;
  std::string button;
  size_t inTimeLapse = 9, afterwards = 0;
  // Pulses every 300 ms, each held longer than the polling period: none may take a picture.
  auto pulsing = [](int count) -> Step {
    auto sent = std::make_shared<int>(0);
    auto last = std::make_shared<std::chrono::steady_clock::time_point>();
    return [=] {
      if (*sent >= count) return true;
      const auto now = std::chrono::steady_clock::now();
      if (now - *last < std::chrono::milliseconds(300)) return false;
      *last = now;
      ++*sent;
      plat::board::PulseTrigger(0, kSeenByAPoll);
      return false;
    };
  };
  const int rc = Run(
      std::string("/i ") + ini,
      {
          Ready(),
          Wait(500),
          [&] {
            pollingAtStart = Frame()->IsTriggerRunning() == 1;
            liveAtStart = Frame()->IsLiveRunning() != 0;
            button = ItemText(1038);
            return true;
          },
          pulsing(6),
          Wait(800),
          [&] {
            inTimeLapse = Files("C:\\Run\\held\\*.jpg").size();
            Panel()->EnableTimeLapse(0);  // as the Timer page does
            pollingAfter = Frame()->IsTriggerRunning() == 1;
            return true;
          },
          Ready(),
          [&] {
            // Held until the capture it starts runs (a busy machine's polling may come late).
            plat::board::PulseTrigger(0, int64_t{3600} * 1000000);
            return true;
          },
          [&] {
            if (Panel()->IsCaptureRunning() != 1 && Doc()->GetImageState() == 0) return false;
            plat::board::PulseTrigger(0, 0);
            return true;
          },
          [&] { return Panel()->IsCaptureRunning() == 0 && Files("C:\\Run\\held\\*.jpg").size() == 1; },
          Wait(1500),  // where a second picture would show
          [&] {
            afterwards = Files("C:\\Run\\held\\*.jpg").size();
            Frame()->PostMessage(WM_CLOSE);
            return true;
          },
      },
      120);
  EXPECT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(button, "START");
  EXPECT_FALSE(pollingAtStart) << "suspended by the panel before the start";
  EXPECT_TRUE(liveAtStart);
  EXPECT_EQ(inTimeLapse, 0u);
  EXPECT_TRUE(pollingAfter) << "the panel's resume starts polling";
  EXPECT_EQ(afterwards, 1u) << "one picture for one pulse";
  EXPECT_EQ(unexpected, std::vector<std::string>{});
  EXPECT_EQ(Profile("ExternalTrigger", ini), "1");
  EXPECT_EQ(Profile("EnableTimeLapse", ini), "0");
}

}  // namespace
