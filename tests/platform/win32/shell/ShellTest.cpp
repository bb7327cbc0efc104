// Drives, shell names, item id lists, the folder browser and opening documents.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "Config.h"
#include "DialogDriver.h"
#include "TestEnv.h"
#include "commdlg/DialogIds.h"
#include "shell/Launches.h"
#include "user/Responder.h"
#include "windows.h"

namespace responder = plat::user::responder;
namespace dd = dialogdriver;

namespace {

class Shell : public testing::Test {
 protected:
  void SetUp() override {
    responder::Reset();
    plat::shell::ClearLaunches();
    std::filesystem::create_directories(testenv::DriveC() + "/Pics/Sub");
    std::filesystem::create_directories(testenv::ScratchDir() + "/d");
    std::ofstream(testenv::DriveC() + "/Pics/a.jpg") << "x";
    plat::config::Set("DRIVES", "D=" + testenv::ScratchDir() + "/d");
  }
  void TearDown() override { plat::config::Set("DRIVES", std::nullopt); }
};

TEST_F(Shell, ListsTheMappedDrives) {
  char roots[64];
  DWORD length = GetLogicalDriveStringsA(sizeof roots, roots);
  EXPECT_EQ(std::string(roots, length), std::string("C:\\\0D:\\\0Z:\\\0", 12));
  EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 3) | (1u << 25));
  // A short buffer gets nothing and the size it needs.
  char small[4] = "old";
  EXPECT_EQ(GetLogicalDriveStringsA(sizeof small, small), 13u);
  EXPECT_STREQ(small, "old");
}

TEST_F(Shell, TellsWhatKindADriveIs) {
  struct Case {
    const char* root;
    UINT type;
  } cases[] = {
      {"C:\\", DRIVE_FIXED}, {"c:", DRIVE_FIXED},         {"D:/", DRIVE_FIXED},
      {nullptr, DRIVE_FIXED}, {"Q:\\", DRIVE_NO_ROOT_DIR}, {"C:\\Pics", DRIVE_NO_ROOT_DIR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.root ? c.root : "(null)");
    EXPECT_EQ(GetDriveTypeA(c.root), c.type);
  }
}

TEST_F(Shell, DisplayNamesOfDrivesFoldersAndFiles) {
  struct Case {
    const char* path;
    const char* name;  // null: the call fails
  } cases[] = {
      {"C:\\", "Local Disk (C:)"}, {"d:\\", "Local Disk (D:)"}, {"C:\\Pics", "Pics"},
      {"C:\\pics\\A.JPG", "a.jpg"}, {"C:\\Missing", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    SHFILEINFOA info{};
    DWORD_PTR ok = SHGetFileInfoA(c.path, 0, &info, sizeof info, SHGFI_DISPLAYNAME);
    EXPECT_EQ(ok != 0, c.name != nullptr);
    if (c.name) {
      EXPECT_STREQ(info.szDisplayName, c.name);
    }
  }
}

TEST_F(Shell, ParsesPathsIntoItemIdListsAndBack) {
  IShellFolder* desktop = nullptr;
  ASSERT_EQ(SHGetDesktopFolder(&desktop), S_OK);
  WCHAR name[] = u"c:\\pics\\sub";
  LPITEMIDLIST list = nullptr;
  ULONG eaten = 0;
  ASSERT_EQ(desktop->ParseDisplayName(nullptr, nullptr, name, &eaten, &list, nullptr), S_OK);
  char path[MAX_PATH];
  ASSERT_TRUE(SHGetPathFromIDListA(list, path));
  EXPECT_STREQ(path, "C:\\Pics\\Sub");  // the names as they are on disk
  EXPECT_EQ(eaten, 11u);
  LPMALLOC allocator = nullptr;
  ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
  allocator->Free(list);
  allocator->Release();

  // A drive alone names the drive, wherever its current folder is.
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\Pics"));
  WCHAR drive[] = u"c:";
  ASSERT_EQ(desktop->ParseDisplayName(nullptr, nullptr, drive, &eaten, &list, nullptr), S_OK);
  ASSERT_TRUE(SHGetPathFromIDListA(list, path));
  EXPECT_STREQ(path, "C:\\");
  EXPECT_EQ(eaten, 2u);
  CoTaskMemFree(list);

  WCHAR missing[] = u"C:\\Nowhere";
  EXPECT_TRUE(FAILED(desktop->ParseDisplayName(nullptr, nullptr, missing, nullptr, &list, nullptr)));
  EXPECT_EQ(list, nullptr);
  desktop->Release();

  // The desktop's own (empty) list has no file-system path.
  USHORT empty = 0;
  EXPECT_FALSE(SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(&empty), path));
  EXPECT_STREQ(path, "");
}

// Selects the starting folder once the browser is up, as the toolkit's picker does.
int CALLBACK SelectStart(HWND browser, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED) SendMessageA(browser, BFFM_SETSELECTIONA, FALSE, data);
  return 0;
}

TEST_F(Shell, BrowsesForAFolderFromTheSelectionTheCallbackGives) {
  IShellFolder* desktop = nullptr;
  SHGetDesktopFolder(&desktop);
  WCHAR start[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, "C:\\Pics", -1, start, MAX_PATH);
  LPITEMIDLIST startList = nullptr;
  ASSERT_EQ(desktop->ParseDisplayName(nullptr, nullptr, start, nullptr, &startList, nullptr), S_OK);
  desktop->Release();

  std::string selectedAtStart, title;
  std::vector<std::string> tree;
  responder::Push([&](const responder::Shown& s) {
    selectedAtStart = dd::Selected(s.hwnd, IDC_BROWSE_TREE);
    title = dd::Text(GetDlgItem(s.hwnd, IDC_BROWSE_TITLE));
    tree = dd::Entries(s.hwnd, IDC_BROWSE_TREE);
    dd::Select(s.hwnd, IDC_BROWSE_TREE, "Sub");
    dd::Press(s.hwnd, IDOK);
    return 0;
  });
  char display[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.lpszTitle = "Select Directory";
  info.pszDisplayName = display;
  info.lpfn = SelectStart;
  info.lParam = reinterpret_cast<LPARAM>(startList);
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  CoTaskMemFree(startList);
  ASSERT_NE(chosen, nullptr);
  char path[MAX_PATH];
  ASSERT_TRUE(SHGetPathFromIDListA(chosen, path));
  CoTaskMemFree(chosen);
  EXPECT_STREQ(path, "C:\\Pics\\Sub");
  EXPECT_STREQ(display, "Sub");
  EXPECT_EQ(selectedAtStart, "Pics");
  EXPECT_EQ(title, "Select Directory");
  EXPECT_EQ(tree, (std::vector<std::string>{"Local Disk (C:)", "Pics", "Sub", "Local Disk (D:)", "Local Disk (Z:)"}));
}

TEST_F(Shell, FolderBrowserOpensFoldersByDoubleClickAndCancels) {
  std::vector<std::string> opened;
  responder::Push([&](const responder::Shown& s) {
    SendMessageA(s.hwnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>("C:\\"));
    dd::DoubleClick(s.hwnd, IDC_BROWSE_TREE, "Pics");
    opened = dd::Entries(s.hwnd, IDC_BROWSE_TREE);
    dd::Press(s.hwnd, IDCANCEL);
    return 0;
  });
  BROWSEINFOA info{};
  EXPECT_EQ(SHBrowseForFolderA(&info), nullptr);
  EXPECT_EQ(opened, (std::vector<std::string>{"Local Disk (C:)", "Pics", "Sub", "Local Disk (D:)", "Local Disk (Z:)"}));
}

TEST_F(Shell, OpeningDocumentsIsRecordedWithTheirNativePaths) {
  struct Case {
    const char* verb;
    const char* file;
    const char* folder;
    INT_PTR result;        // above 32: success
    std::string native;    // recorded for a success
  } cases[] = {
      {"open", "C:\\Pics\\a.jpg", nullptr, 42, testenv::DriveC() + "/Pics/a.jpg"},
      {nullptr, "a.jpg", "C:\\Pics", 42, testenv::DriveC() + "/Pics/a.jpg"},
      {"explore", "C:\\Pics", nullptr, 42, testenv::DriveC() + "/Pics"},
      {"open", "https://example.com/help", nullptr, 42, "https://example.com/help"},
      {"open", "C:\\Pics\\missing.jpg", nullptr, SE_ERR_FNF, ""},
      {"print", "C:\\Pics\\a.jpg", nullptr, SE_ERR_NOASSOC, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    plat::shell::ClearLaunches();
    auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, c.verb, c.file, nullptr, c.folder, SW_SHOWNORMAL));
    EXPECT_EQ(result, c.result);
    auto launches = plat::shell::Launches();
    ASSERT_EQ(launches.size(), c.result > 32 ? 1u : 0u);
    if (c.result > 32) {
      EXPECT_EQ(launches[0].native, c.native);
      EXPECT_FALSE(launches[0].ran);  // tests record without starting anything
    }
  }
}

TEST_F(Shell, TheConfiguredOpenerIsStartedWithTheNativePath) {
  std::string marker = testenv::ScratchDir() + "/opened.txt";
  std::string opener = testenv::ScratchDir() + "/opener.sh";
  std::ofstream(opener) << "#!/bin/sh\necho \"$1\" > " << marker << ".tmp && mv " << marker << ".tmp " << marker << "\n";
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  plat::config::Set("OPENER", opener);
  auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "C:\\Pics\\a.jpg", nullptr, nullptr, SW_SHOW));
  plat::config::Set("OPENER", std::nullopt);
  EXPECT_GT(result, 32);
  ASSERT_TRUE(plat::shell::Launches().at(0).ran);
  // The opener runs on its own; wait until it has written what it was given.
  for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::string got;
  std::getline(std::ifstream(marker), got);
  EXPECT_EQ(got, testenv::DriveC() + "/Pics/a.jpg");

  plat::config::Set("OPENER", testenv::ScratchDir() + "/no-such-opener");
  result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", "C:\\Pics\\a.jpg", nullptr, nullptr, SW_SHOW));
  plat::config::Set("OPENER", std::nullopt);
  EXPECT_EQ(result, SE_ERR_NOASSOC);
}

}  // namespace
