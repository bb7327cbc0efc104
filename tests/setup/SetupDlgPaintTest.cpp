// The failure dialog on the screen: its icon, minimised and dragged, and how it looks.
#include <cstdlib>
#include <filesystem>

#include "SetupFixture.h"
#include "display/Png.h"
#include "display/Screen.h"

namespace {

namespace fs = std::filesystem;
using setuptest::SetupTest;

uint32_t ScreenPixel(int x, int y) {
  RECT got;
  auto pixels = plat::display::Screen::Get().Copy(RECT{x, y, x + 1, y + 1}, &got);
  return pixels.empty() ? 0xFFFFFFFFu : pixels[0] & 0xFFFFFF;
}

TEST_F(SetupTest, DialogCarriesIconOneTwentyEight) {
  HICON icon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
  ASSERT_NE(icon, nullptr);
  RunDialog([&](HWND dialog) {
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0)), icon);
    SendMessageA(GetDlgItem(dialog, IDC_BUTTON_OK), BM_CLICK, 0, 0);
  });
}

TEST_F(SetupTest, MinimisedDialogPaintsItsIconCentred) {
  RunDialog([&](HWND dialog) {
    ShowWindow(dialog, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(dialog));
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(dialog, &client);
    // Centred with the division rounding towards zero: on a client lower than the icon the
    // top offset is negative, (24 - 32 + 1) / 2 = -3.
    const int x = (client.right - 32 + 1) / 2, y = (client.bottom - 32 + 1) / 2;
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    // Column 22 of the picture: the arrow's dark outline in row 12, its green from row 13.
    EXPECT_EQ(ScreenPixel(origin.x + x + 22, origin.y + y + 12), 0x005000u);
    EXPECT_EQ(ScreenPixel(origin.x + x + 22, origin.y + y + 13), 0x00B000u);
    ShowWindow(dialog, SW_RESTORE);
    SendMessageA(GetDlgItem(dialog, IDC_BUTTON_OK), BM_CLICK, 0, 0);
  });
}

// Text is black; smoothed installed fonts give near-black edges too.
bool Dark(uint32_t px) { return ((px >> 16) & 0xFF) < 0x60 && ((px >> 8) & 0xFF) < 0x60 && (px & 0xFF) < 0x60; }

// LUMORA_SETUP_SHOTS names a folder to keep the pictures in, drawn with the installed fonts.
TEST_F(SetupTest, FailureDialogScreenshots) {
  const char* keep = std::getenv("LUMORA_SETUP_SHOTS");
  if (keep) plat::config::Set("FONT", "");
  const std::string medium = testenv::ScratchDir() + "/medium";
  fs::create_directories(medium);
  plat::config::Set("DRIVES", "D=" + medium);
  CurrentFolder("D:\\");  // setup at the root of the medium
  for (bool japanese : {false, true}) {
    Language(japanese ? 0x0411 : 0x0409);
    std::string path = std::string(keep ? keep : testenv::ScratchDir().c_str()) + "/setup-failure-" +
                       (japanese ? "ja" : "en") + ".png";
    std::optional<plat::display::PixelImage> image;
    RECT message{}, frame{};
    RunDialog([&](HWND dialog) {
      RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      GetWindowRect(dialog, &frame);
      GetWindowRect(GetDlgItem(dialog, IDC_STATIC_MESSAGE), &message);
      ASSERT_TRUE(plat::display::SavePng(path, &frame));
      image = plat::display::ReadPng(path);
      SendMessageA(GetDlgItem(dialog, IDC_BUTTON_OK), BM_CLICK, 0, 0);
    });
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->width, frame.right - frame.left);
    // The face is the classic grey, and the message is written on it in black.
    int face = 0;
    for (auto px : image->pixels) face += (px & 0xFFFFFF) == 0xC0C0C0;
    EXPECT_GT(face, image->width * image->height / 2);
    std::vector<int> inkRows;
    for (int y = message.top - frame.top; y < message.bottom - frame.top; ++y) {
      int ink = 0;
      for (int x = message.left - frame.left; x < message.right - frame.left; ++x)
        ink += Dark(image->pixels[static_cast<size_t>(y) * image->width + x]);
      if (ink) inkRows.push_back(y);
    }
    EXPECT_GT(inkRows.size(), 20u) << "the message is drawn";
  }
  plat::config::Set("FONT", std::nullopt);
}

}  // namespace
