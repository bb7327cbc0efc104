// The drive information dialog: the drives without CD-ROM drives, the second one chosen
// (the only one when there is one), its used space, free space and capacity in MB up to
// 1 GiB and in GB above, and the error when the system lacks the free-space function.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FrameRig.h"
#include "TestEnv.h"
#include "ui/VexDriveInfoDlg.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

struct Shown {
  std::vector<std::string> entries;
  int selected = -1;
  std::string used, free, capacity;
};

class DriveInfoDlg : public FrameRig {
 protected:
  void SetUp() override {
    FrameRig::SetUp();
    for (const char* d : {"/d", "/e"}) std::filesystem::create_directories(testenv::ScratchDir() + d);
    Set("DRIVES", "D=" + testenv::ScratchDir() + "/d;E=" + testenv::ScratchDir() + "/e");
  }
  static std::string Text(HWND dialog, int id) {
    char text[128] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
  }
  static Shown Read(HWND dialog) {
    Shown s;
    HWND list = ::GetDlgItem(dialog, CVexDriveInfoDlg::kDriveList);
    const int count = static_cast<int>(::SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char entry[128] = {};
      ::SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
      s.entries.push_back(entry);
    }
    s.selected = static_cast<int>(::SendMessageA(list, CB_GETCURSEL, 0, 0));
    s.used = Text(dialog, CVexDriveInfoDlg::kUsed);
    s.free = Text(dialog, CVexDriveInfoDlg::kFree);
    s.capacity = Text(dialog, CVexDriveInfoDlg::kCapacity);
    return s;
  }
  // Runs the dialog; `act` sees it as shown and may act on it before it is closed.
  Shown Run(const std::function<void(HWND)>& act = nullptr) {
    Shown shown;
    responder::Push([&](const responder::Shown& s) {
      shown = Read(s.hwnd);
      if (act) act(s.hwnd);
      ::SendMessageA(s.hwnd, WM_COMMAND, IDOK, 0);
      return 0;
    });
    CVexDriveInfoDlg dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    return shown;
  }
  static std::string Gb(ULONGLONG bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%8.2f GB", static_cast<double>(bytes / 1048576) / 1024.0);
    return text;
  }
};

TEST_F(DriveInfoDlg, ByteCountsShowInMBUpTo1GiBAndInGBAbove) {
  const struct {
    ULONGLONG bytes;
    const char* shown;
  } cases[] = {
      {0, "    0.00 MB"},
      {1023, "    0.00 MB"},
      {1572864, "    1.50 MB"},
      {1073741824, " 1024.00 MB"},
      {1073741825, "    1.00 GB"},
      {5ull << 30, "    5.00 GB"},
      {(1ull << 32) + 5, "    4.00 GB"},  // a count past 32 bits is never taken for MB
  };
  for (const auto& c : cases) EXPECT_EQ(std::string(CVexDriveInfoDlg::FormatBytes(c.bytes)), c.shown) << c.bytes;
}

TEST_F(DriveInfoDlg, ListsTheDrivesWithoutCdRomsAndShowsTheSecond) {
  ASSERT_TRUE(Start());
  Set("CDROM_DRIVES", "D");
  Set("DISK_FREE", "1073741824");
  ULARGE_INTEGER avail{}, total{};
  ASSERT_TRUE(::GetDiskFreeSpaceExA("E:\\", &avail, &total, nullptr));
  const Shown shown = Run();
  EXPECT_EQ(shown.entries, (std::vector<std::string>{"C:  Local Disk (C:)", "E:  Local Disk (E:)", "Z:  Local Disk (Z:)"}));
  EXPECT_EQ(shown.selected, 1);
  EXPECT_EQ(shown.free, " 1024.00 MB");
  EXPECT_EQ(shown.capacity, Gb(total.QuadPart));
  EXPECT_EQ(shown.used, Gb(total.QuadPart - 1073741824ull));
  EXPECT_TRUE(errors.empty());
}

TEST_F(DriveInfoDlg, AnotherChoiceShowsThatDrivesValues) {
  ASSERT_TRUE(Start());
  Set("DISK_FREE", "1073741824");
  Shown after;
  Run([&](HWND dialog) {
    Set("DISK_FREE", "1073741825");
    HWND list = ::GetDlgItem(dialog, CVexDriveInfoDlg::kDriveList);
    ::SendMessageA(list, CB_SETCURSEL, 0, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(CVexDriveInfoDlg::kDriveList, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    after = Read(dialog);
  });
  EXPECT_EQ(after.selected, 0);
  EXPECT_EQ(after.entries.at(0), "C:  Local Disk (C:)");
  EXPECT_EQ(after.free, "    1.00 GB");
}

TEST_F(DriveInfoDlg, ALoneDriveIsChosenAndShown) {
  ASSERT_TRUE(Start());
  Set("DRIVES", "");
  Set("CDROM_DRIVES", "Z");
  Set("DISK_FREE", "1048576");
  const Shown shown = Run();
  EXPECT_EQ(shown.entries, (std::vector<std::string>{"C:  Local Disk (C:)"}));
  EXPECT_EQ(shown.selected, 0);
  EXPECT_EQ(shown.free, "    1.00 MB");
  EXPECT_FALSE(shown.capacity.empty());
}

TEST_F(DriveInfoDlg, WithoutTheFreeSpaceFunctionTheErrorIsReportedAndNoValuesShown) {
  ASSERT_TRUE(Start());
  plat::faults::Scope missing("GetProcAddress:GetDiskFreeSpaceExA", ERROR_PROC_NOT_FOUND);
  AnswerErrorBox();
  const Shown shown = Run();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("801:002"), std::string::npos) << errors[0];
  EXPECT_EQ(shown.selected, 1);
  EXPECT_EQ(shown.free, "");
  EXPECT_EQ(shown.used, "");
  EXPECT_EQ(shown.capacity, "");
}

}  // namespace
