// The whole program, started as a user starts it and driven as a user would: live view
// from the simulated camera reaches the screen, a capture fills the still pane, and a
// close ends the program cleanly with its settings written.
#include <gtest/gtest.h>

#include "ProgramRig.h"

namespace {

using programrig::ProgramRig;
using programrig::Step;

class Program : public ProgramRig {};

TEST_F(Program, LiveFramesReachTheScreenAndACloseEndsCleanly) {
  Set("BOARD_MOTION", "300");
  WritePrivateProfileStringA("USER", "LiveWindowLeft", "1", "C:\\Run\\run.ini");
  std::vector<plat::display::Pixel> first, second;
  bool running = false;
  const int rc = Run("/i C:\\Run\\run.ini",
                     {
                         [&] { return Frame() && Frame()->IsWindowEnabled() && Frame()->IsLiveRunning(); },
                         Wait(400),
                         [&] {
                           first = Shown(Frame()->LeftDisplay());
                           return true;
                         },
                         Wait(600),
                         [&] {
                           second = Shown(Frame()->LeftDisplay());
                           running = Frame()->IsLiveRunning() != 0;
                           RECT r;
                           Frame()->GetWindowRect(&r);
                           plat::display::SavePng(ShotPath("main-window.png"), &r);
                           Frame()->PostMessage(WM_CLOSE);
                           return true;
                         },
                     });
  EXPECT_FALSE(TimedOut());
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(running);
  // The left pane shows the scene (many values), and the scene moves between two looks.
  EXPECT_GT(ProgramRig::Distinct(first), 100u);
  EXPECT_NE(first, second);
  char value[32] = {};
  GetPrivateProfileStringA("USER", "ExposureTime", "", value, sizeof value, "C:\\Run\\run.ini");
  EXPECT_STRNE(value, "") << "the settings are written at exit";
}

}  // namespace
