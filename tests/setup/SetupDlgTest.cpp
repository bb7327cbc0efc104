// The failure dialog: which sub-installer each Windows and language get, and what the
// dialog says when it cannot be started.
#include <errno.h>

#include <filesystem>
#include <fstream>

#include "SetupFixture.h"
#include "user/Driver.h"

namespace {

namespace fs = std::filesystem;
using setuptest::SetupTest;
using setuptest::Shown;

const std::string kHeadingE = "Setup Failed\n\n";
const std::string kHeadingJ = "セットアップが失敗しました。\n\n";

std::string MissingE(const std::string& path) { return kHeadingE + "No such file or directory.\n\n" + path + "\n"; }
std::string MissingJ(const std::string& path) { return kHeadingJ + "以下のファイルが見つかりません。\n\n" + path; }

TEST_F(SetupTest, ChoosesTheSubInstallerByWindowsVersionAndLanguage) {
  struct Case {
    const char* platform;
    const char* version;
    int osClass;
    const char* folderE;  // null: no sub-installer for this system
    const char* folderJ;
  };
  const Case cases[] = {
      {"9x", "4.0.950", -1, nullptr, nullptr},  // Windows 95
      {"9x", "4.10.2222", 0, "98NTE", "98NTJ"},
      {"9x", "4.90.3000", 0, "98NTE", "98NTJ"},  // Me
      {"NT", "4.0.1381", 1, "98NTE", "98NTJ"},
      {"NT", "4.0.1057", -1, nullptr, nullptr},  // NT 4 builds other than 1381
      {"NT", "5.0.2195", 2, "Win2kE", "Win2kJ"},
      {"NT", "5.0.2194", -1, nullptr, nullptr},
      {"NT", "5.1.2600", 3, "WinXPE", "WinXPJ"},
      {"NT", "5.2.3790", -1, nullptr, nullptr},  // after XP
      {"NT", "6.1.7601", -1, nullptr, nullptr},
      {"Win32s", "3.10.0", 4, nullptr, nullptr},
      {"3", "5.1.2600", 4, nullptr, nullptr},
  };
  struct Lang {
    LCID lcid;
    bool japanese;
  };
  // Only exactly 1041 is Japanese: 0x10411 (Japanese with another sort order) is not.
  const Lang languages[] = {{0x0409, false}, {0x10411, false}, {0x0411, true}};
  for (const Case& c : cases) {
    Windows(c.platform, c.version);
    EXPECT_EQ(CSetupDlg().GetOSClass(), c.osClass) << c.platform << " " << c.version;
    for (const Lang& l : languages) {
      SCOPED_TRACE(std::string(c.platform) + " " + c.version + " lcid " + std::to_string(l.lcid));
      Language(l.lcid);
      Shown shown = RunDialog();
      EXPECT_EQ(shown.result, IDOK);
      EXPECT_EQ(shown.title, "Setup is canceled.");
      std::string expected, code;
      if (c.folderE) {
        std::string path = std::string("C:\\m\\") + (l.japanese ? c.folderJ : c.folderE) + "\\setup.exe";
        expected = l.japanese ? MissingJ(path) : MissingE(path);
        code = "Error code : 001:0002";
      } else if (c.osClass == 4) {
        expected = l.japanese ? kHeadingJ + "このOSのバージョンはサポートされていません。\n"
                              : kHeadingE + "This OS version is not supported.";
        code = l.japanese ? "Error code : 001:0004" : "";
      } else {
        // The query worked, so there is no code to show.
        expected = l.japanese ? kHeadingJ + "OSのバージョンを取得できません。\n" : kHeadingE + "Unable to get OS version.\n";
      }
      EXPECT_EQ(shown.message, expected);
      EXPECT_EQ(shown.code, code);
    }
  }
}

TEST_F(SetupTest, FailedVersionQueryShowsItsErrorInBothLanguages) {
  for (LCID lcid : {0x0409u, 0x0411u}) {
    plat::faults::Scope fail("GetVersionEx", ERROR_INVALID_PARAMETER);  // 87
    EXPECT_EQ(CSetupDlg().GetOSClass(), -1);
    Language(lcid);
    Shown shown = RunDialog();
    EXPECT_EQ(shown.message, lcid == 0x0411 ? kHeadingJ + "OSのバージョンを取得できません。\n"
                                            : kHeadingE + "Unable to get OS version.\n");
    EXPECT_EQ(shown.code, "Error code : 000:0087");
    EXPECT_EQ(shown.title, "Setup is canceled.");
  }
}

TEST_F(SetupTest, StartFailuresSayWhyInBothLanguages) {
  const std::string path = "C:\\m\\WinXPE\\setup.exe";
  const std::string pathJ = "C:\\m\\WinXPJ\\setup.exe";
  // Files that are there but are no programs: one with content Windows would not run,
  // one that may not be run at all.
  for (const char* folder : {"WinXPE", "WinXPJ"}) {
    fs::path dir = fs::path(testenv::DriveC()) / "m" / folder;
    fs::create_directories(dir);
  }
  auto notAProgram = [](const std::string& folder, fs::perms perms) {
    fs::path file = fs::path(testenv::DriveC()) / "m" / folder / "setup.exe";
    fs::remove(file);
    std::ofstream(file) << "MZ this is no program here";
    fs::permissions(file, perms);
  };
  auto clear = [](const std::string& folder) { fs::remove(fs::path(testenv::DriveC()) / "m" / folder / "setup.exe"); };
  struct Case {
    const char* what;
    std::function<void(const std::string&)> prepare;
    uint32_t fault;  // errno the start fails with; 0: none
    std::string english, japanese, code;
  };
  const Case cases[] = {
      {"missing", clear, 0, MissingE(path), MissingJ(pathJ), "Error code : 001:0002"},
      {"not a program", [&](const std::string& f) { notAProgram(f, fs::perms::owner_all); }, 0,
       kHeadingE + "Execution file format error.\n\n" + path + "\n",
       kHeadingJ + "以下のファイルが実行できませんでした。\n\n" + pathJ, "Error code : 001:0008"},
      {"not executable", [&](const std::string& f) { notAProgram(f, fs::perms::owner_read); }, 0,
       kHeadingE + "Execution file format error.\n\n" + path + "\n",
       kHeadingJ + "以下のファイルが実行できませんでした。\n\n" + pathJ, "Error code : 001:0008"},
      {"out of memory", clear, ENOMEM, kHeadingE + "Not enough memory space.\n\nPlease quit other application.",
       kHeadingJ + "メモリが不足しています。\n\n他のアプリケーションを終了してください", "Error code : 001:0012"},
      {"unlisted error", clear, E2BIG, kHeadingE + "Unknown error.", kHeadingJ + "その他のエラーです。",
       "Error code : 001:0007"},
  };
  for (const Case& c : cases) {
    for (bool japanese : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (japanese ? " (Japanese)" : " (English)"));
      Language(japanese ? 0x0411 : 0x0409);
      c.prepare(japanese ? "WinXPJ" : "WinXPE");
      if (c.fault) plat::faults::Arm("_spawn", c.fault, 0, 1);
      Shown shown = RunDialog();
      EXPECT_EQ(shown.title, "Setup is canceled.");
      EXPECT_EQ(shown.message, japanese ? c.japanese : c.english);
      EXPECT_EQ(shown.code, c.code);
    }
  }
}

TEST_F(SetupTest, LongPathsBreakOnceAfterTheirFirstBackslashFrom36) {
  plat::config::Set("DRIVES", "D=" + testenv::ScratchDir() + "/medium");
  fs::create_directories(testenv::ScratchDir() + "/medium");
  struct Case {
    const char* folder;  // the current folder
    const char* shown;   // the path as the message shows it
  };
  const Case cases[] = {
      // At a drive root the folder already ends in a backslash.
      {"D:\\", "D:\\WinXPE\\setup.exe"},
      // 36 bytes in all: nothing to break.
      {"C:\\abcdefghijklmnop", "C:\\abcdefghijklmnop\\WinXPE\\setup.exe"},
      // The last backslash at 35: 45 bytes, still whole.
      {"C:\\abcdefghijklmnopqrstuvwxy", "C:\\abcdefghijklmnopqrstuvwxy\\WinXPE\\setup.exe"},
      // A backslash at 36: the break comes right after it.
      {"C:\\abcdefghijklmnopqrstuvwxyz", "C:\\abcdefghijklmnopqrstuvwxyz\\WinXPE\\\nsetup.exe"},
      // Later backslashes get no second break.
      {"C:\\abcdefghijklmnopqrstuvwxyzABCDEFGHIJ\\second folder\\third",
       "C:\\abcdefghijklmnopqrstuvwxyzABCDEFGHIJ\\\nsecond folder\\third\\WinXPE\\setup.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    CurrentFolder(c.folder);
    EXPECT_EQ(RunDialog().message, MissingE(c.shown));
  }
}

TEST_F(SetupTest, UnreadableFolderStartsNothingAndReportsTheBarePath) {
  // Deeper than the Windows path limit: the folder cannot be read into its buffer.
  std::string deep = "C:";
  while (deep.size() < MAX_PATH + 10) deep += "\\folder-of-the-medium";
  CurrentFolder(deep);
  plat::faults::Scope watch("_spawn", 0, 0, 0);  // only counts the starts
  for (bool japanese : {false, true}) {
    Language(japanese ? 0x0411 : 0x0409);
    Shown shown = RunDialog();
    EXPECT_EQ(shown.message, japanese ? MissingJ("WinXPJ\\setup.exe") : MissingE("WinXPE\\setup.exe"));
    EXPECT_EQ(shown.code, "Error code : 001:0002");
  }
  EXPECT_EQ(plat::faults::Hits("_spawn"), 0);
}

TEST_F(SetupTest, SystemMenuOffersTheAboutBox) {
  // The about box as the user reads it: its title and the texts beside its icon.
  std::vector<std::string> about;
  auto readAbout = [&](const setuptest::responder::Shown& s) {
    about.push_back(s.caption);
    for (HWND c = GetWindow(s.hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if ((GetWindowLongA(c, GWL_STYLE) & 0x1F) == SS_ICON)
        about.push_back(SendMessageA(c, STM_GETICON, 0, 0) ? "<icon>" : "<no icon>");
      else
        about.push_back(setuptest::WindowText(c));
    }
    SendMessageA(GetDlgItem(s.hwnd, IDOK), BM_CLICK, 0, 0);
    return 0;
  };
  std::string item;
  UINT separator = 0;
  Shown shown = RunDialog([&](HWND dialog) {
    HMENU menu = GetSystemMenu(dialog, FALSE);
    int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    char text[128] = {};
    GetMenuStringA(menu, IDM_ABOUTBOX, text, sizeof text, MF_BYCOMMAND);
    item = text;
    separator = GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR;
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    // The low four bits of a system command are the system's own.
    for (WPARAM command : {WPARAM{IDM_ABOUTBOX}, WPARAM{IDM_ABOUTBOX | 0x3}}) {
      setuptest::responder::Push(readAbout);
      SendMessageA(dialog, WM_SYSCOMMAND, command, 0);
      EXPECT_TRUE(IsWindow(dialog));
    }
    // Other commands keep their usual meaning: closing cancels.
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(shown.result, IDCANCEL);
  EXPECT_EQ(item, "setup のﾊﾞｰｼﾞｮﾝ情報(&A)...");
  EXPECT_NE(separator, 0u);
  const std::vector<std::string> expected = {"setupのﾊﾞｰｼﾞｮﾝ情報", "<icon>", "setup Version 1.0",
                                             "Copyright (C) Valdane", "OK"};
  std::vector<std::string> twice = expected;
  twice.insert(twice.end(), expected.begin(), expected.end());
  EXPECT_EQ(about, twice);
}

TEST_F(SetupTest, EnterEscapeCloseAndTheButtonEndTheDialog) {
  namespace driver = plat::user::driver;
  struct Case {
    const char* what;
    std::function<void(HWND)> act;
    int result;
  };
  const Case cases[] = {
      {"button 1000", [](HWND d) { SendMessageA(GetDlgItem(d, IDC_BUTTON_OK), BM_CLICK, 0, 0); }, IDOK},
      {"Enter", [](HWND) { driver::PressKey(VK_RETURN); }, IDOK},
      {"Escape", [](HWND) { driver::PressKey(VK_ESCAPE); }, IDCANCEL},
      {"close box", [](HWND d) { SendMessageA(d, WM_CLOSE, 0, 0); }, IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RunDialog(c.act).result, c.result);
  }
}

}  // namespace
