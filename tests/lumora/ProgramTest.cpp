// The whole program, started as a user starts it and driven as a user would: live view
// from the simulated camera reaches the screen, a capture fills the still pane, and a
// close ends the program cleanly with its settings written.
#include <gtest/gtest.h>

#include "ProgramRig.h"
#include "binding/CLead.h"

namespace {

using programrig::ProgramRig;
using programrig::Step;

class Program : public ProgramRig {};

TEST_F(Program, LiveFramesReachTheScreenAndACloseEndsCleanly) {
  Set("BOARD_MOTION", "40");
  WritePrivateProfileStringA("USER", "LiveWindowLeft", "1", "C:\\Run\\run.ini");
  std::vector<plat::display::Pixel> first, second;
  bool running = false;
  const int rc = Run("/i C:\\Run\\run.ini",
                     {
                         [&] { return Frame() && Frame()->IsWindowEnabled() && Frame()->IsLiveRunning(); },
                         // The scene on the screen, then a later frame of it, however long a
                         // busy machine takes to show one.
                         [&] {
                           first = Shown(Frame()->LeftDisplay());
                           return ProgramRig::Distinct(first) > 100;
                         },
                         [&] {
                           second = Shown(Frame()->LeftDisplay());
                           return second != first;
                         },
                         [&] {
                           running = Frame()->IsLiveRunning() != 0;
                           RECT r;
                           Frame()->GetWindowRect(&r);
                           plat::display::SavePng(ShotPath("main-window.png"), &r);
                           Frame()->PostMessage(WM_CLOSE);
                           return true;
                         },
                     });
  EXPECT_FALSE(TimedOut()) << StepsDone();
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

namespace {

TEST_F(Program, ACaptureFillsTheStillPaneAndLiveViewGoesOn) {
  WritePrivateProfileStringA("USER", "LiveWindowLeft", "1", "C:\\Run\\shot.ini");
  int shotWidth = 0, shotHeight = 0, slotWidth = 0, slotHeight = 0;
  size_t stillValues = 0;
  bool liveAgain = false;
  const int rc = Run("/i C:\\Run\\shot.ini",
                     {
                         [&] { return Frame() && Frame()->IsWindowEnabled() && Frame()->IsLiveRunning(); },
                         [&] {
                           // A click on the capture button, as the mouse sends it.
                           Frame()->ControlView()->PostMessage(WM_COMMAND, MAKEWPARAM(1038, BN_CLICKED));
                           return true;
                         },
                         // Running, or already over when a busy machine let no tick see it run.
                         [&] { return Frame()->ControlView()->IsCaptureRunning() == 1 || Doc()->GetImageState() != 0; },
                         [&] { return Frame()->ControlView()->IsCaptureRunning() == 0; },
                         [&] {
                           CVexDoc* doc = Doc();
                           const bool turned = doc->GetDir90() != 0;
                           shotWidth = turned ? doc->GetShootHeight() : doc->GetShootWidth();
                           shotHeight = turned ? doc->GetShootWidth() : doc->GetShootHeight();
                           const LONG handle = Frame()->BufferControl()->GetBuffer(Frame()->FlowControl()->GetShootBufferIndex());
                           if (auto dib = plat::imaging::ImageStore::Instance().Find(static_cast<DWORD>(handle))) {
                             slotWidth = dib->Width();
                             slotHeight = dib->Height();
                           }
                           return true;
                         },
                         [&] {
                           // The still pane painted and live view started again, however long
                           // a busy machine takes for either.
                           stillValues = ProgramRig::Distinct(Shown(Frame()->RightDisplay()));
                           liveAgain = Frame()->IsLiveRunning() != 0;
                           return stillValues > 100 && liveAgain;
                         },
                         [&] {
                           RECT r;
                           Frame()->GetWindowRect(&r);
                           plat::display::SavePng(ShotPath("main-window-shot.png"), &r);
                           Frame()->PostMessage(WM_CLOSE);
                           return true;
                         },
                     });
  EXPECT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);
  EXPECT_GT(shotWidth, 0);
  EXPECT_EQ(slotWidth, shotWidth);
  EXPECT_EQ(slotHeight, shotHeight);
  EXPECT_GT(stillValues, 100u) << "the still pane shows the shot";
  EXPECT_TRUE(liveAgain);
}

// The live picture shown at half size in the small pane keeps the camera's colours: each
// screen pixel is within a few levels of the average of the picture's pixels under it.
TEST_F(Program, TheLivePaneAtHalfSizeShowsTheCamerasColours) {
  Set("BOARD_NOISE", "0");  // frame after frame the same picture
  WritePrivateProfileStringA("USER", "LiveWindowLeft", "0", "C:\\Run\\halfsize.ini");
  int worst = 0;
  size_t compared = 0;
  const int rc = Run("/i C:\\Run\\halfsize.ini",
                     {
                         [&] { return Frame() && Frame()->IsWindowEnabled() && Frame()->IsLiveRunning(); },
                         [&] {
                           // Until one frame's picture and its showing are seen together.
                           CLead* lead = Frame()->RightDisplay()->GetImagingControl();
                           auto dib = plat::imaging::ImageStore::Instance().Find(static_cast<DWORD>(lead->GetBitmap()));
                           if (!dib || dib->Width() != 640 || lead->GetDisplayWidth() != 320.0f) return false;
                           const int bytes = dib->Bits() / 8;
                           RECT r;
                           lead->GetWindowRect(&r);
                           RECT got{};
                           const auto shown = plat::display::Screen::Get().Copy(r, &got);
                           const int w = got.right - got.left;
                           worst = 0;
                           compared = 0;
                           // The pane's frame aside.
                           for (int y = 2; y < 254; ++y)
                             for (int x = 2; x < 318; ++x) {
                               const plat::display::Pixel p = shown[static_cast<size_t>(y * w + x)];
                               const int screen[3] = {int(p & 0xFF), int((p >> 8) & 0xFF), int((p >> 16) & 0xFF)};
                               for (int c = 0; c < 3; ++c) {
                                 int sum = 0;
                                 for (int dy = 0; dy < 2; ++dy)
                                   for (int dx = 0; dx < 2; ++dx) sum += dib->Row(2 * y + dy)[(2 * x + dx) * bytes + c];
                                 worst = std::max(worst, std::abs(screen[c] - (sum + 2) / 4));
                               }
                               ++compared;
                             }
                           return worst <= 4;
                         },
                         [&] {
                           Frame()->PostMessage(WM_CLOSE);
                           return true;
                         },
                     },
                     60);
  EXPECT_FALSE(TimedOut()) << "worst difference " << worst;
  EXPECT_EQ(rc, 0);
  EXPECT_GT(compared, 70000u);
}

TEST_F(Program, WithoutACameraTheWindowComesUpAndExitEndsIt) {
  Set("BOARD_CAMERA", "0");
  std::vector<std::string> codes;
  plat::user::responder::Push([&](const plat::user::responder::Shown& shown) {
    char code[64] = {};
    GetDlgItemTextA(shown.hwnd, 1143, code, sizeof code);
    codes.push_back(code);
    SendMessageA(shown.hwnd, WM_COMMAND, IDOK, 0);
    return 0;
  });
  bool enabled = false;
  const int rc = Run("/i C:\\Run\\nocamera.ini",
                     {
                         [&] { return Frame() && Frame()->IsWindowVisible(); },
                         [&] { return enabled = Frame()->IsWindowEnabled() != 0; },
                         [&] {
                           Frame()->PostMessage(WM_COMMAND, ID_APP_EXIT);
                           return true;
                         },
                     });
  EXPECT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(enabled);
  EXPECT_EQ(codes, std::vector<std::string>{"エラーコード: 110:006"});
}

}  // namespace

namespace {

// The program itself, as `make run` starts it, on the sdl screen of a private X server:
// it comes up with its window on the desktop and keeps running until it is stopped.
TEST(ProgramOnX, TheProgramShowsItsWindowOnTheDesktop) {
  testenv::Xvfb x;
  if (x.Display().empty()) GTEST_SKIP() << "Xvfb is not available";
  if (access("/usr/bin/xwininfo", X_OK) != 0) GTEST_SKIP() << "xwininfo is not available";
  const std::string program = testenv::BinaryDir() + "/lumora";
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("DISPLAY", x.Display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("LUMORA_DISPLAY", "sdl", 1);
    execl(program.c_str(), "lumora", "/i", "C:\\Run\\x.ini", static_cast<char*>(nullptr));
    _exit(127);
  }
  ASSERT_GT(pid, 0);
  // Its window appears on the X server and the program goes on running.
  bool shown = false;
  for (int i = 0; i < 100 && !shown; ++i) {
    usleep(100000);
    const std::string cmd = "DISPLAY=" + x.Display() + " /usr/bin/xwininfo -root -tree 2>/dev/null | grep -q '\"Lumora\"'";
    shown = std::system(cmd.c_str()) == 0;
  }
  usleep(1500000);
  int status = 0;
  const bool running = waitpid(pid, &status, WNOHANG) == 0;
  kill(pid, SIGTERM);
  waitpid(pid, &status, 0);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(running);
}

}  // namespace
