#include <SDL.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "TestEnv.h"
#include "Xvfb.h"
#include "display/Png.h"
#include "display/Screen.h"

namespace {

using plat::display::Pixel;
using plat::display::Screen;

using testenv::Xvfb;

// The sdl back end on a private X server.
class SdlScreenOnXvfb : public testing::Test {
 protected:
  void SetUp() override {
    if (xvfb_.Display().empty()) GTEST_SKIP() << "Xvfb is not available";
    xvfb_.UseForSdl();
  }
  Xvfb xvfb_;
};

TEST_F(SdlScreenOnXvfb, ShowsTheScreenInAWindow) {
  Screen s(320, 240, "sdl");
  ASSERT_STREQ(s.BackendName(), "sdl");
  {
    auto a = s.Lock();
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 320; ++x) a.Row(y)[x] = (x < 160) ? 0x2040C0 : (y < 120 ? 0xFFFFFF : 0x00A000);
    a.MarkDirty(RECT{0, 0, 320, 240});
  }
  s.Present();

  std::vector<Pixel> shown;
  ASSERT_TRUE(s.ReadShown(shown));
  ASSERT_EQ(shown.size(), 320u * 240u);
  EXPECT_EQ(shown[10 * 320 + 10], 0x2040C0u);
  EXPECT_EQ(shown[10 * 320 + 300], 0xFFFFFFu);
  EXPECT_EQ(shown[200 * 320 + 300], 0x00A000u);

  std::string path = testenv::ScratchDir() + "/sdl.png";
  ASSERT_TRUE(plat::display::SavePng(s, path));
  auto img = plat::display::ReadPng(path);
  ASSERT_TRUE(img);
  EXPECT_EQ(img->pixels, shown);
}

TEST_F(SdlScreenOnXvfb, DesktopInputReachesTheQueueAsWindowsWouldSeeIt) {
  Screen s(320, 240, "sdl");
  ASSERT_STREQ(s.BackendName(), "sdl");
  std::mutex m;
  std::condition_variable cv;
  int posted = 0;
  s.SetInputListener([&] {
    std::lock_guard lock(m);
    ++posted;
    cv.notify_all();
  });
  SDL_Event ev{};
  ev.type = SDL_MOUSEBUTTONDOWN;
  ev.button.button = SDL_BUTTON_RIGHT;
  ev.button.x = 10;
  ev.button.y = 20;
  ev.button.clicks = 2;
  SDL_PushEvent(&ev);
  ev = SDL_Event{};
  ev.type = SDL_KEYDOWN;
  ev.key.keysym.sym = SDLK_F5;
  SDL_PushEvent(&ev);
  ev = SDL_Event{};
  ev.type = SDL_TEXTINPUT;
  std::strcpy(ev.text.text, "あ");
  SDL_PushEvent(&ev);
  {
    std::unique_lock lock(m);
    ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(5), [&] { return posted >= 3; }));
  }
  using Kind = plat::display::InputEvent::Kind;
  plat::display::InputEvent in;
  std::vector<plat::display::InputEvent> got;
  while (s.PopInput(in))
    if (in.kind != Kind::MouseMove) got.push_back(in);  // the window manager may add moves of its own
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].kind, Kind::MouseDown);
  EXPECT_EQ(got[0].button, static_cast<uint32_t>(plat::display::InputEvent::RButton));
  EXPECT_EQ(got[0].x, 10);
  EXPECT_EQ(got[0].y, 20);
  EXPECT_EQ(got[0].clicks, 2);
  EXPECT_EQ(got[1].kind, Kind::KeyDown);
  EXPECT_EQ(got[1].key, SDLK_F5);
  EXPECT_EQ(got[2].kind, Kind::Text);
  EXPECT_EQ(got[2].text, "あ");
}

TEST(SdlScreen, FallsBackToHeadlessWithoutADisplay) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  setenv("SDL_VIDEODRIVER", "x11", 1);
  testing::internal::CaptureStderr();
  Screen s(100, 100, "sdl");
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_STREQ(s.BackendName(), "headless");
  EXPECT_NE(err.find("using headless"), std::string::npos);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);
  s.Present();  // still works as a memory screen
}

}  // namespace
