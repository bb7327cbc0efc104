// Pictures of the control panel with each settings page in front, and of the drive
// information dialog, for the documentation (LUMORA_DISPLAY_SHOTS names the folder; the
// real fonts are used then). Drawn with the test font, each picture must match its
// reviewed reference.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "SettingsSheetRig.h"
#include "ReferencePicture.h"
#include "TestEnv.h"
#include "display/Png.h"
#include "ui/VexDriveInfoDlg.h"

namespace {

// Room for the focus value and its bar, which the live picture moves.
constexpr testenv::Tolerance kLiveReadouts{0, 2500};

// Room for the drive's size, which is the machine's own (its free space is set).
constexpr testenv::Tolerance kDriveSizes{0, 1500};

class SettingsScreenshots : public SettingsSheetRig {
 protected:
  void SetUp() override {
    SettingsSheetRig::SetUp();
    const char* keep = std::getenv("LUMORA_DISPLAY_SHOTS");
    documentation = keep && *keep;
    folder = documentation ? keep : testenv::ScratchDir();
    if (documentation) setenv("LUMORA_FONT", "", 1);
  }
  // Saves `window` as `name` and, drawn with the test font, compares it with its reference.
  void Shoot(HWND window, const std::string& name, testenv::Tolerance tolerance = {}) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    RECT r;
    ::GetWindowRect(window, &r);
    const std::string path = folder + "/" + name;
    ASSERT_TRUE(plat::display::SavePng(path, &r)) << path;
    if (!documentation) EXPECT_TRUE(testenv::MatchesReference(path, name, tolerance));
  }
  std::string folder;
  bool documentation = false;
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
    Shoot(Page(i), std::string("page-") + names[i]);
    // The panel's focus value and bar follow the live picture.
    Shoot(panel->m_hWnd, names[i], kLiveReadouts);
  }
}

TEST_F(SettingsScreenshots, DriveInformation) {
  Set("DISK_FREE", "21474836480");
  StartSheet();
  plat::user::responder::Push([&](const plat::user::responder::Shown& s) {
    Shoot(s.hwnd, "drive-information.png", kDriveSizes);
    ::SendMessageA(s.hwnd, WM_COMMAND, IDOK, 0);
    return 0;
  });
  CVexDriveInfoDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
}

}  // namespace
