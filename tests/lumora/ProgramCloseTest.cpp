// Closing the program while a long exposure runs, as a user does it: Alt+F4 (the key
// reaches the capture's progress window, which holds the keyboard meanwhile) and the
// desktop's close of the window. The capture is aborted as the close comes, the program
// ends cleanly with its settings written, and no half-taken picture is saved.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <utility>

#include "Clock.h"
#include "FileList.h"
#include "ProgramRig.h"
#include "board/BoardTestApi.h"
#include "display/InputEvent.h"
#include "user/Driver.h"

namespace {

using programrig::ProgramRig;
using programrig::Step;

enum class CloseBy { AltF4, Desktop };

std::string Profile(const char* section, const char* key, const char* ini) {
  char value[64] = {};
  GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, ini);
  return value;
}

// The shift positions of a Fine capture (thirds of a cell, in 1/120 cell) the actuator was
// driven to from `since` on; its settle moves and its home are none of them.
std::set<std::pair<int, int>> PositionsVisited(int64_t since) {
  auto third = [](int v) { return v == 0 || v == 40 || v == 80; };
  std::set<std::pair<int, int>> positions;
  for (const auto& e : plat::board::Log())
    if (e.kind == plat::board::LogEntry::Kind::Actuator && e.micros >= since && third(e.x) && third(e.y) &&
        (e.x || e.y))
      positions.emplace(e.x, e.y);
  return positions;
}

class ProgramClose : public ProgramRig, public ::testing::WithParamInterface<CloseBy> {};

TEST_P(ProgramClose, DuringALongFineExposureEndsTheProgramPromptly) {
  const char* ini = "C:\\Run\\close.ini";
  CreateDirectoryA("C:\\Run\\pics", nullptr);
  // Fine: nine exposures of 10 s each, saved on their own.
  for (auto [key, value] : {std::pair{"LongExposureMode", "1"}, {"LongExposureTime", "10"}, {"FineMode", "1"},
                            {"AutoSave", "1"}, {"SaveFolder", "C:\\Run\\pics"}})
    WritePrivateProfileStringA("USER", key, value, ini);
  std::chrono::steady_clock::time_point closed;
  int64_t clicked = 0, closedAt = 0;
  const int rc = Run(std::string("/i ") + ini,
                     {
                         [&] { return Frame() && Frame()->IsWindowEnabled() && Frame()->IsLiveRunning(); },
                         [&] {
                           // A click on the capture button where it shows on the screen.
                           RECT r{};
                           ::GetWindowRect(::GetDlgItem(Frame()->ControlView()->m_hWnd, 1038), &r);
                           clicked = plat::clock::NowMicros();
                           plat::user::driver::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
                           return true;
                         },
                         [&] { return Frame()->IsCapturing() == 1; },
                         Wait(500),
                         [&] {
                           closed = std::chrono::steady_clock::now();
                           closedAt = plat::clock::NowMicros();
                           if (GetParam() == CloseBy::AltF4) {
                             plat::user::driver::PressKey(VK_F4, plat::user::driver::kAlt);
                           } else {
                             plat::display::InputEvent quit;
                             quit.kind = plat::display::InputEvent::Kind::Quit;
                             plat::display::Screen::Get().PostInput(quit);
                           }
                           return true;
                         },
                         [] { return false; },  // the program ends by itself
                     });
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - closed);
  RecordProperty("close_to_exit_ms", std::to_string(took.count()));
  std::printf("from the close to the exit: %lld ms\n", static_cast<long long>(took.count()));
  EXPECT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(Profile("USER", "LongExposureTime", ini), "10") << "the settings are written at exit";
  EXPECT_EQ(Profile("CAMERA", "bAbort", ini), "0") << "no abort is kept for the next start";
  EXPECT_TRUE(testenv::Files("C:\\Run\\pics\\*").empty()) << "no picture of the cut capture is saved";
  // The library saw the abort before the next exposure: the actuator went to no further
  // shift position (a whole capture visits eight) and ended at home.
  EXPECT_LE(PositionsVisited(closedAt).size(), 1u);
  EXPECT_LE(PositionsVisited(clicked).size(), 2u);
  bool home = false;
  for (const auto& e : plat::board::Log())
    if (e.kind == plat::board::LogEntry::Kind::Actuator && e.micros >= closedAt) home = e.x == 0 && e.y == 0;
  EXPECT_TRUE(home);
}

INSTANTIATE_TEST_SUITE_P(By, ProgramClose, ::testing::Values(CloseBy::AltF4, CloseBy::Desktop),
                         [](const auto& info) { return info.param == CloseBy::AltF4 ? "AltF4" : "Desktop"; });

}  // namespace
