// Pictures of the control panel with each settings page in front, and of the drive
// information dialog, for the documentation (LUMORA_DISPLAY_SHOTS names the folder; the
// real fonts are used then). Each picture is read back and must show the page's own
// controls drawn, not an empty place.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "SettingsSheetRig.h"
#include "TestEnv.h"
#include "display/Png.h"
#include "ui/VexDriveInfoDlg.h"

namespace {

class SettingsScreenshots : public SettingsSheetRig {
 protected:
  void SetUp() override {
    SettingsSheetRig::SetUp();
    const char* keep = std::getenv("LUMORA_DISPLAY_SHOTS");
    folder = keep && *keep ? keep : testenv::ScratchDir();
    if (keep && *keep) setenv("LUMORA_FONT", "", 1);
  }
  // Saves `window` as `name` and answers how many of its pixels differ from the face colour.
  int Shoot(HWND window, const std::string& name) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    RECT r;
    ::GetWindowRect(window, &r);
    const std::string path = folder + "/" + name;
    EXPECT_TRUE(plat::display::SavePng(path, &r)) << path;
    auto image = plat::display::ReadPng(path);
    if (!image) return 0;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const uint32_t bgrx = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    int drawn = 0;
    for (uint32_t px : image->pixels) drawn += (px & 0xFFFFFF) != bgrx;
    return drawn;
  }
  std::string folder;
};

TEST_F(SettingsScreenshots, EachPageInThePanel) {
  StartSheet();
  // The splash lies over the panel for its first seconds.
  CRect tabs;
  sheet->GetTabControl()->GetWindowRect(&tabs);
  const POINT corner{tabs.left + 4, tabs.top + 4};
  EXPECT_TRUE(PumpUntil([&] { return ::WindowFromPoint(corner) == sheet->GetTabControl()->m_hWnd; }, 10));
  const char* const names[] = {"settings-photo.png", "settings-save.png", "settings-live.png", "settings-timer.png",
                               "settings-option.png"};
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(sheet->SetActivePage(i));
    EXPECT_TRUE(::IsWindowVisible(Page(i)));
    Pump();
    const int drawn = Shoot(Page(i), std::string("page-") + names[i]);
    EXPECT_GT(drawn, 500) << names[i] << ": the page's controls are drawn";
    Shoot(panel->m_hWnd, names[i]);
  }
}

TEST_F(SettingsScreenshots, DriveInformation) {
  StartSheet();
  int drawn = 0;
  plat::user::responder::Push([&](const plat::user::responder::Shown& s) {
    drawn = Shoot(s.hwnd, "drive-information.png");
    ::SendMessageA(s.hwnd, WM_COMMAND, IDOK, 0);
    return 0;
  });
  CVexDriveInfoDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_GT(drawn, 500);
}

}  // namespace
