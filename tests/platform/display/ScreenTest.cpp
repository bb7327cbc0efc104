#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "Config.h"
#include "TestEnv.h"
#include "display/Png.h"
#include "display/Screen.h"
#include "windows.h"

namespace {

using plat::display::Pixel;
using plat::display::Screen;

void Fill(Screen& s, const RECT& r, Pixel colour) {
  auto access = s.Lock();
  for (LONG y = r.top; y < r.bottom; ++y)
    for (LONG x = r.left; x < r.right; ++x) access.Row(y)[x] = colour;
  access.MarkDirty(r);
}

TEST(Screen, ProcessScreenIsHeadless1280x1024ByDefault) {
  Screen& s = Screen::Get();
  EXPECT_EQ(s.Width(), 1280);
  EXPECT_EQ(s.Height(), 1024);
  EXPECT_STREQ(s.BackendName(), "headless");
  EXPECT_EQ(&s, &Screen::Get());
}

TEST(Screen, SettingsChooseSize) {
  plat::config::Set("SCREEN", "800x600");
  auto s = Screen::FromSettings();
  EXPECT_EQ(s->Width(), 800);
  EXPECT_EQ(s->Height(), 600);
  plat::config::Set("SCREEN", "huge");  // malformed: the default size
  s = Screen::FromSettings();
  EXPECT_EQ(s->Width(), 1280);
  plat::config::Set("SCREEN", std::nullopt);
}

TEST(Screen, ParsesSizeSetting) {
  struct Case {
    const char* text;
    bool ok;
    int w, h;
  } cases[] = {{"1280x1024", true, 1280, 1024}, {"640x480", true, 640, 480}, {"640x", false, 0, 0},
               {"x480", false, 0, 0},           {"640x480x2", false, 0, 0}, {"10x10", false, 0, 0},
               {"-640x480", false, 0, 0},       {"99999x480", false, 0, 0}};
  for (const auto& c : cases) {
    int w = 0, h = 0;
    EXPECT_EQ(plat::display::ParseScreenSize(c.text, w, h), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(w, c.w) << c.text;
      EXPECT_EQ(h, c.h) << c.text;
    }
  }
}

TEST(Screen, UnknownBackendFallsBackToHeadless) {
  Screen s(100, 100, "teletype");
  EXPECT_STREQ(s.BackendName(), "headless");
}

TEST(Screen, DirtyAreaIsUnionClippedAndClearedByPresent) {
  Screen s(100, 80);
  EXPECT_EQ(s.Dirty().right, 0);
  Fill(s, RECT{10, 10, 20, 20}, 0xFF0000);
  {
    auto a = s.Lock();
    a.MarkDirty(RECT{90, 70, 150, 150});  // beyond the edge: clipped
    a.MarkDirty(RECT{5, 5, 5, 50});       // empty: ignored
  }
  RECT d = s.Dirty();
  EXPECT_EQ(d.left, 10);
  EXPECT_EQ(d.top, 10);
  EXPECT_EQ(d.right, 100);
  EXPECT_EQ(d.bottom, 80);
  s.Present();
  d = s.Dirty();
  EXPECT_TRUE(d.right <= d.left);
}

TEST(Screen, DrawingFromManyThreadsKeepsEveryPixel) {
  Screen s(64, 64);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&s, t] {
      for (int y = t * 16; y < t * 16 + 16; ++y) {
        Fill(s, RECT{0, y, 64, y + 1}, 0x010101u * (t + 1));
        s.Present();
      }
    });
  for (auto& th : threads) th.join();
  RECT got;
  auto px = s.Copy(RECT{0, 0, 64, 64}, &got);
  for (int y = 0; y < 64; ++y) ASSERT_EQ(px[y * 64 + 63], 0x010101u * (y / 16 + 1)) << y;
}

TEST(Screen, CopyClipsToTheScreen) {
  Screen s(50, 40);
  Fill(s, RECT{45, 35, 50, 40}, 0x123456);
  RECT got;
  auto px = s.Copy(RECT{40, 30, 60, 60}, &got);
  EXPECT_EQ(got.left, 40);
  EXPECT_EQ(got.right, 50);
  EXPECT_EQ(got.bottom, 40);
  ASSERT_EQ(px.size(), 100u);
  EXPECT_EQ(px[0], 0u);
  EXPECT_EQ(px[99], 0x123456u);
  EXPECT_TRUE(s.Copy(RECT{60, 60, 70, 70}, &got).empty());
}

TEST(Screen, InputQueueKeepsOrderAndWakesListener) {
  Screen s(10, 10);
  int woken = 0;
  s.SetInputListener([&] { ++woken; });
  plat::display::InputEvent a;
  a.kind = plat::display::InputEvent::Kind::MouseDown;
  a.x = 3;
  plat::display::InputEvent b;
  b.kind = plat::display::InputEvent::Kind::KeyDown;
  b.key = 0x61;
  s.PostInput(a);
  s.PostInput(b);
  EXPECT_EQ(woken, 2);
  plat::display::InputEvent got;
  ASSERT_TRUE(s.PopInput(got));
  EXPECT_EQ(got.kind, plat::display::InputEvent::Kind::MouseDown);
  EXPECT_EQ(got.x, 3);
  ASSERT_TRUE(s.PopInput(got));
  EXPECT_EQ(got.key, 0x61);
  EXPECT_FALSE(s.PopInput(got));
}

TEST(ScreenPng, ScreenshotOfRectangleReadsBack) {
  Screen& s = Screen::Get();
  Fill(s, RECT{0, 0, 40, 30}, 0x000000);
  Fill(s, RECT{10, 5, 20, 15}, 0x3366CC);
  Fill(s, RECT{20, 15, 30, 25}, 0xFFFFFF);
  std::string path = testenv::ScratchDir() + "/shot.png";
  RECT r{5, 5, 35, 25};
  ASSERT_TRUE(plat::display::SavePng(path, &r));
  auto img = plat::display::ReadPng(path);
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, 30);
  EXPECT_EQ(img->height, 20);
  EXPECT_EQ(img->pixels[0], 0u);                          // screen (5,5)
  EXPECT_EQ(img->pixels[0 * 30 + 5], 0x3366CCu);          // screen (10,5)
  EXPECT_EQ(img->pixels[10 * 30 + 15], 0xFFFFFFu);        // screen (20,15)
  EXPECT_EQ(img->pixels[19 * 30 + 29], 0u);               // screen (34,24)
}

TEST(ScreenPng, TextOnTheDesktopDcReachesTheScreenshot) {
  HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 0));
  ASSERT_TRUE(TextOutA(dc, 100, 200, "Lumora", 6));
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  RECT dirty = Screen::Get().Dirty();
  EXPECT_LE(dirty.left, 100);
  EXPECT_GE(dirty.right, 147);
  Screen::Get().Present();

  std::string path = testenv::ScratchDir() + "/text.png";
  RECT r{90, 190, 190, 230};
  ASSERT_TRUE(plat::display::SavePng(path, &r));
  auto img = plat::display::ReadPng(path);
  ASSERT_TRUE(img);
  // Six 7 x 12 test-font blocks, 8 pixels apart, from (100, 204).
  int yellow = 0, left = 1000, right = 0, top = 1000, bottom = 0;
  for (int y = 0; y < img->height; ++y)
    for (int x = 0; x < img->width; ++x)
      if (img->pixels[y * img->width + x] == 0xFFFF00) {
        ++yellow;
        left = std::min(left, x), right = std::max(right, x + 1);
        top = std::min(top, y), bottom = std::max(bottom, y + 1);
      }
  EXPECT_EQ(yellow, 6 * 7 * 12);
  EXPECT_EQ(left + 90, 100);
  EXPECT_EQ(right + 90, 147);
  EXPECT_EQ(top + 190, 204);
  EXPECT_EQ(bottom + 190, 216);
}

TEST(ScreenPng, WholeScreenAndFailures) {
  std::string path = testenv::ScratchDir() + "/all.png";
  ASSERT_TRUE(plat::display::SavePng(path));
  auto img = plat::display::ReadPng(path);
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, Screen::Get().Width());
  EXPECT_EQ(img->height, Screen::Get().Height());

  RECT outside{5000, 5000, 5100, 5100};
  EXPECT_FALSE(plat::display::SavePng(testenv::ScratchDir() + "/none.png", &outside));
  EXPECT_FALSE(plat::display::SavePng(testenv::ScratchDir() + "/no/such/folder.png"));
  EXPECT_FALSE(plat::display::ReadPng(testenv::ScratchDir() + "/missing.png"));
  std::string junk = testenv::ScratchDir() + "/junk.png";
  FILE* f = fopen(junk.c_str(), "wb");
  fputs("\x89PNG\r\n\x1a\nnot really", f);
  fclose(f);
  EXPECT_FALSE(plat::display::ReadPng(junk));
}

TEST(ScreenPng, WritesAnyBufferWithStride) {
  std::vector<Pixel> buf = {0x010203, 0x040506, 0xDEAD, 0x0A0B0C, 0x0D0E0F, 0xBEEF};
  std::string path = testenv::ScratchDir() + "/buf.png";
  ASSERT_TRUE(plat::display::WritePng(path, buf.data(), 2, 2, 3));
  auto img = plat::display::ReadPng(path);
  ASSERT_TRUE(img);
  EXPECT_EQ(img->pixels, (std::vector<Pixel>{0x010203, 0x040506, 0x0A0B0C, 0x0D0E0F}));
  EXPECT_FALSE(plat::display::WritePng(path, buf.data(), 2, 2, 1));
}

}  // namespace
