// The open and save dialogs, driven as a user would through the test responder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "Config.h"
#include "DialogDriver.h"
#include "ModuleRegistry.h"
#include "TestEnv.h"
#include "commdlg/DialogIds.h"
#include "display/Png.h"
#include "user/Driver.h"
#include "user/Input.h"
#include "user/Responder.h"
#include "windows.h"

namespace responder = plat::user::responder;
namespace dd = dialogdriver;

namespace {

void Touch(const std::string& relative) {
  std::string native = testenv::DriveC() + "/" + relative;
  std::filesystem::create_directories(std::filesystem::path(native).parent_path());
  std::ofstream(native) << "x";
}

const char kPictures[] = "Pictures\0*.jpg;*.bmp\0Jpeg\0*.jpg\0Bmp\0*.bmp\0All Files\0*.*\0";

class FileDialogs : public testing::Test {
 protected:
  void SetUp() override {
    responder::Reset();
    Touch("Pics/a.jpg");
    Touch("Pics/b.bmp");
    Touch("Pics/notes.txt");
    Touch("Pics/Sub/c.jpg");
    ofn_.lStructSize = sizeof ofn_;
    ofn_.lpstrFilter = kPictures;
    ofn_.lpstrFile = file_;
    ofn_.nMaxFile = sizeof file_;
    ofn_.lpstrFileTitle = title_;
    ofn_.nMaxFileTitle = sizeof title_;
    ofn_.lpstrInitialDir = "C:\\Pics";
    ofn_.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
  }
  // Runs `script` in the dialog once it is up; a script that leaves it open cancels it.
  void Script(std::function<void(HWND)> script) {
    responder::Push([script](const responder::Shown& s) {
      script(s.hwnd);
      if (dd::StillOpen(s.hwnd)) dd::Press(s.hwnd, IDCANCEL);
      return 0;
    });
  }
  std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const auto& s : responder::History())
      if (s.messageBox) texts.push_back(s.text);
    return texts;
  }

  OPENFILENAMEA ofn_{};
  char file_[MAX_PATH] = {};
  char title_[64] = {};
};

TEST_F(FileDialogs, ChoosesAnExistingFileFromTheFilteredList) {
  std::vector<std::string> shown;
  bool stayed = true;
  Script([&](HWND d) {
    shown = dd::Entries(d, IDC_FILE_FILES);
    dd::TypeAndOk(d, "a.jpg");
    stayed = dd::StillOpen(d);
  });
  ofn_.Flags |= OFN_FILEMUSTEXIST;
  ASSERT_TRUE(GetOpenFileNameA(&ofn_));
  EXPECT_FALSE(stayed);
  // Up, the subfolder, then only the files the first filter lets through.
  EXPECT_EQ(shown, (std::vector<std::string>{"..", "Sub", "a.jpg", "b.bmp"}));
  EXPECT_STREQ(file_, "C:\\Pics\\a.jpg");
  EXPECT_STREQ(title_, "a.jpg");
  EXPECT_EQ(ofn_.nFileOffset, 8);
  EXPECT_EQ(ofn_.nFileExtension, 10);
  EXPECT_EQ(ofn_.nFilterIndex, 1u);
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(responder::History()[0].caption, "Open");
}

TEST_F(FileDialogs, DoubleClickingAFileChoosesIt) {
  Script([&](HWND d) { dd::DoubleClick(d, IDC_FILE_FILES, "b.bmp"); });
  ASSERT_TRUE(GetOpenFileNameA(&ofn_));
  EXPECT_STREQ(file_, "C:\\Pics\\b.bmp");
}

TEST_F(FileDialogs, RefusesNamesThatDoNotLeadToAFile) {
  struct Case {
    DWORD flags;
    const char* typed;
    const char* message;
  } cases[] = {
      {OFN_FILEMUSTEXIST, "missing.jpg", "missing.jpg\nFile not found.\nCheck the file name and try again."},
      {OFN_PATHMUSTEXIST, "Nowhere\\x.jpg", "C:\\Pics\\Nowhere\\x.jpg\nPath does not exist.\nCheck the path and try again."},
      {0, "bad|name.jpg", "bad|name.jpg\nThe file name is not valid."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    responder::Reset();
    bool stayed = false;
    Script([&](HWND d) {
      dd::TypeAndOk(d, c.typed);
      stayed = dd::StillOpen(d);
      dd::TypeAndOk(d, "a.jpg");
    });
    ofn_.Flags = OFN_EXPLORER | c.flags;
    ASSERT_TRUE(GetOpenFileNameA(&ofn_));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(Boxes(), std::vector<std::string>{c.message});
    EXPECT_STREQ(file_, "C:\\Pics\\a.jpg");
  }
}

TEST_F(FileDialogs, AsksBeforeReplacingAFileAndHonoursTheAnswer) {
  for (int answer : {IDYES, IDNO}) {
    SCOPED_TRACE(answer);
    responder::Reset();
    bool stayed = false;
    Script([&](HWND d) {
      dd::TypeAndOk(d, "b.bmp");
      stayed = dd::StillOpen(d);
    });
    responder::Push([answer](const responder::Shown&) { return answer; });
    ofn_.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT;
    file_[0] = '\0';
    BOOL chosen = GetSaveFileNameA(&ofn_);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"b.bmp already exists.\nDo you want to replace it?"});
    EXPECT_EQ(chosen, answer == IDYES);
    EXPECT_EQ(stayed, answer == IDNO);  // No keeps the dialog open for another name
    if (answer == IDYES) {
      EXPECT_STREQ(file_, "C:\\Pics\\b.bmp");
    }
    EXPECT_EQ(CommDlgExtendedError(), 0u);
  }
}

TEST_F(FileDialogs, FilterIndexChoosesTheListAndTheDefaultExtensionCompletesTheName) {
  struct Case {
    const char* typed;
    const char* path;
    bool extensionDifferent;
  } cases[] = {
      {"new", "C:\\Pics\\new.bmp", false},
      {"new.tif", "C:\\Pics\\new.tif", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    responder::Reset();
    std::vector<std::string> before, after;
    LRESULT shownType = -1;
    Script([&](HWND d) {
      shownType = SendDlgItemMessageA(d, IDC_FILE_TYPES, CB_GETCURSEL, 0, 0);
      before = dd::Entries(d, IDC_FILE_FILES);
      dd::Choose(d, IDC_FILE_TYPES, 1);  // "Jpeg"
      after = dd::Entries(d, IDC_FILE_FILES);
      dd::TypeAndOk(d, c.typed);
    });
    ofn_.nFilterIndex = 3;  // "Bmp"
    ofn_.lpstrDefExt = "bmp";
    file_[0] = '\0';
    ASSERT_TRUE(GetSaveFileNameA(&ofn_));
    EXPECT_EQ(shownType, 2);
    EXPECT_EQ(before, (std::vector<std::string>{"..", "Sub", "b.bmp"}));
    EXPECT_EQ(after, (std::vector<std::string>{"..", "Sub", "a.jpg"}));
    EXPECT_STREQ(file_, c.path);
    EXPECT_EQ(ofn_.nFilterIndex, 2u);
    EXPECT_STREQ(file_ + ofn_.nFileExtension, std::strrchr(c.path, '.') + 1);
    EXPECT_EQ((ofn_.Flags & OFN_EXTENSIONDIFFERENT) != 0, c.extensionDifferent);
  }
}

TEST_F(FileDialogs, AFilterIndexOutOfRangeShowsTheFirstPair) {
  LRESULT shownType = -1;
  Script([&](HWND d) { shownType = SendDlgItemMessageA(d, IDC_FILE_TYPES, CB_GETCURSEL, 0, 0); });
  ofn_.nFilterIndex = 9;
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  EXPECT_EQ(shownType, 0);
  EXPECT_EQ(CommDlgExtendedError(), 0u);  // cancelled, not failed
}

TEST_F(FileDialogs, WalksIntoFoldersAndBackUp) {
  std::vector<std::string> inSub, afterDots, atRoot, wild;
  Script([&](HWND d) {
    dd::DoubleClick(d, IDC_FILE_FILES, "Sub");
    inSub = dd::Entries(d, IDC_FILE_FILES);
    dd::TypeAndOk(d, "..");
    afterDots = dd::Entries(d, IDC_FILE_FILES);
    dd::Press(d, IDC_FILE_UP);
    atRoot = dd::Entries(d, IDC_FILE_FILES);
    dd::TypeAndOk(d, "Pics\\*.txt");  // a wildcard name filters instead of choosing
    dd::TypeAndOk(d, "*.txt");
    wild = dd::Entries(d, IDC_FILE_FILES);
    dd::TypeAndOk(d, "Pics\\Sub\\c.jpg");
  });
  ASSERT_TRUE(GetOpenFileNameA(&ofn_));
  EXPECT_EQ(inSub, (std::vector<std::string>{"..", "c.jpg"}));
  EXPECT_EQ(afterDots, (std::vector<std::string>{"..", "Sub", "a.jpg", "b.bmp"}));
  EXPECT_NE(std::find(atRoot.begin(), atRoot.end(), "Pics"), atRoot.end());
  EXPECT_EQ(std::find(atRoot.begin(), atRoot.end(), ".."), atRoot.end());  // nothing above a drive
  EXPECT_STREQ(file_, "C:\\Pics\\Sub\\c.jpg");
}

TEST_F(FileDialogs, ALongFolderScrollsToTheFileThatADoubleClickChooses) {
  for (int i = 0; i < 60; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Many/p%02d.jpg", i);
    Touch(name);
  }
  ofn_.lpstrInitialDir = "C:\\Many";
  std::string picked;
  Script([&](HWND d) {
    HWND list = GetDlgItem(d, IDC_FILE_FILES);
    RECT c;
    GetClientRect(list, &c);
    const int item = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const int rows = c.bottom / item;
    POINT origin{0, 0};
    ClientToScreen(list, &origin);
    const int thick = GetSystemMetrics(SM_CXVSCROLL);
    const int barX = origin.x + c.right + thick / 2;
    // A click in the list gives it the wheel; the thumb goes to the end, the wheel back a notch.
    plat::user::driver::Click(origin.x + 20, origin.y + item / 2);
    plat::user::driver::WaitIdle();
    plat::user::driver::Drag({barX, origin.y + thick + 3}, {barX, origin.y + c.bottom + 20});
    plat::user::input::Wheel(1);
    plat::user::driver::WaitIdle();
    const int row = rows - 1;  // the last whole row shown
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    picked = dd::Entries(d, IDC_FILE_FILES)[static_cast<size_t>(top + row)];
    plat::user::driver::DoubleClick(origin.x + 20, origin.y + row * item + item / 2);
    plat::user::driver::WaitIdle();
  });
  ASSERT_TRUE(GetOpenFileNameA(&ofn_));
  // ".." and 60 files: the last page less the wheel's three rows.
  EXPECT_EQ(picked, "p" + std::to_string(60 - 3 - 1) + ".jpg");
  EXPECT_EQ(file_, "C:\\Many\\" + picked);
}

TEST_F(FileDialogs, TheChosenFolderBecomesCurrentUnlessTheCallerSaysNo) {
  for (bool keep : {false, true}) {
    SCOPED_TRACE(keep);
    responder::Reset();
    SetCurrentDirectoryA("C:\\Lumora");
    Script([&](HWND d) { dd::TypeAndOk(d, "Sub\\c.jpg"); });
    ofn_.Flags = OFN_EXPLORER | (keep ? OFN_NOCHANGEDIR : 0);
    ASSERT_TRUE(GetOpenFileNameA(&ofn_));
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_STREQ(current, keep ? "C:\\Lumora" : "C:\\Pics\\Sub");
  }
}

TEST_F(FileDialogs, StartsInTheFolderOfTheInitialNameWithItsNameFilledIn) {
  std::string typed, title;
  Script([&](HWND d) {
    typed = dd::Text(GetDlgItem(d, IDC_FILE_NAME));
    title = dd::Text(d);
    dd::Press(d, IDOK);
  });
  std::strcpy(file_, "C:\\Pics\\Sub\\c.jpg");
  ofn_.lpstrTitle = "Load Setting File";
  ASSERT_TRUE(GetOpenFileNameA(&ofn_));
  EXPECT_EQ(typed, "c.jpg");
  EXPECT_EQ(title, "Load Setting File");
  EXPECT_STREQ(file_, "C:\\Pics\\Sub\\c.jpg");
}

// The name field has the focus, its name selected, from the moment the dialog shows: a
// name typed at once replaces it, and Enter takes it. (The cancel posted behind the keys
// ends a dialog that took them elsewhere.)
TEST_F(FileDialogs, ANameTypedAtOnceGoesIntoTheNameField) {
  for (bool save : {false, true}) {
    SCOPED_TRACE(save ? "save" : "open");
    responder::Reset();
    responder::Push([](const responder::Shown& s) {
      plat::user::driver::TypeText("a.jpg\n");
      PostMessageA(s.hwnd, WM_COMMAND, IDCANCEL, 0);
      return 0;
    });
    std::strcpy(file_, "b.bmp");
    ASSERT_TRUE(save ? GetSaveFileNameA(&ofn_) : GetOpenFileNameA(&ofn_));
    EXPECT_STREQ(file_, "C:\\Pics\\a.jpg");
  }
}

TEST_F(FileDialogs, ReportsWhyItCouldNotAnswer) {
  // A buffer too small for the path: the caller learns the size it needs.
  Script([&](HWND d) { dd::TypeAndOk(d, "a.jpg"); });
  ofn_.nMaxFile = 8;
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
  WORD needed;
  std::memcpy(&needed, file_, sizeof needed);
  EXPECT_EQ(needed, 14);

  ofn_.nMaxFile = sizeof file_;
  responder::FailNextDialog();
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_DIALOGFAILURE));

  ofn_.lStructSize = 12;
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
}

TEST_F(FileDialogs, OldStyleDialogSwitchesDrives) {
  std::filesystem::create_directories(testenv::ScratchDir() + "/d");
  std::ofstream(testenv::ScratchDir() + "/d/x.jpg") << "x";
  plat::config::Set("DRIVES", "D=" + testenv::ScratchDir() + "/d");
  std::vector<std::string> drives, files;
  std::string folder;
  Script([&](HWND d) {
    HWND combo = GetDlgItem(d, IDC_FILE_DRIVES);
    for (int i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
      char text[64] = {};
      SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      drives.push_back(text);
    }
    dd::Choose(d, IDC_FILE_DRIVES, 1);
    folder = dd::Text(GetDlgItem(d, IDC_FILE_FOLDERPATH));
    files = dd::Entries(d, IDC_FILE_FILES);
    dd::TypeAndOk(d, "x.jpg");
  });
  ofn_.Flags = OFN_FILEMUSTEXIST;  // the old style, on the stand-in's own template
  BOOL chosen = GetOpenFileNameA(&ofn_);
  plat::config::Set("DRIVES", std::nullopt);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(drives, (std::vector<std::string>{"Local Disk (C:)", "Local Disk (D:)", "Local Disk (Z:)"}));
  EXPECT_EQ(folder, "D:\\");
  EXPECT_EQ(files, std::vector<std::string>{"x.jpg"});
  EXPECT_STREQ(file_, "D:\\x.jpg");
}

// The old-style dialog on a program's own template, with a hook that trims it to a
// folder picker the way the toolkit does.
std::vector<UINT> g_hookMessages;
UINT_PTR CALLBACK FolderPickerHook(HWND d, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    g_hookMessages.push_back(msg);
    EXPECT_EQ(reinterpret_cast<LPOPENFILENAMEA>(lParam)->lCustData, 77);
    for (int id : {1090, 1152, 1120, 1089, 1136}) ShowWindow(GetDlgItem(d, id), SW_HIDE);
    SetDlgItemTextA(d, 1152, "noclose");
    SetFocus(GetDlgItem(d, 1121));
    return FALSE;
  }
  if (msg == RegisterWindowMessageA(FILEOKSTRINGA)) g_hookMessages.push_back(msg);
  return FALSE;
}

TEST_F(FileDialogs, OldStyleTemplateWithAHookPicksAFolder) {
  HMODULE module = plat::RegisterModule(plat::ModuleSpec{"FolderPicker.dll", "C:\\Lumora", {}, {}, true});
  g_hookMessages.clear();
  std::vector<std::string> folders, afterOpen;
  std::string shownPath;
  bool stayedOnAncestor = false;
  Script([&](HWND d) {
    folders = dd::Entries(d, 1121);
    shownPath = dd::Text(GetDlgItem(d, 1088));
    dd::DoubleClick(d, 1121, "Sub");
    afterOpen = dd::Entries(d, 1121);
    // OK on another folder of the list opens it rather than ending the dialog.
    dd::Select(d, 1121, "Pics");
    dd::Press(d, IDOK);
    stayedOnAncestor = dd::StillOpen(d);
    dd::DoubleClick(d, 1121, "Sub");
    SetFocus(GetDlgItem(d, 1121));
    dd::Press(d, IDOK);
  });
  ofn_.Flags = OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  ofn_.hInstance = reinterpret_cast<HINSTANCE>(module);
  ofn_.lpTemplateName = MAKEINTRESOURCEA(2000);
  ofn_.lpfnHook = FolderPickerHook;
  ofn_.lCustData = 77;
  ofn_.lpstrFilter = "(nofiles)\0NOFILES.$$$\0";
  ASSERT_TRUE(GetSaveFileNameA(&ofn_));
  EXPECT_EQ(folders, (std::vector<std::string>{"C:\\", "Pics", "Sub"}));
  EXPECT_EQ(shownPath, "C:\\Pics");
  EXPECT_EQ(afterOpen, (std::vector<std::string>{"C:\\", "Pics", "Sub"}));
  EXPECT_TRUE(stayedOnAncestor);
  EXPECT_EQ(std::string(file_, ofn_.nFileOffset), "C:\\Pics\\Sub\\");
  EXPECT_EQ(std::string(file_ + ofn_.nFileOffset), "noclose");
  ASSERT_EQ(g_hookMessages.size(), 2u);  // WM_INITDIALOG, then its say on the name
  EXPECT_EQ(g_hookMessages[0], static_cast<UINT>(WM_INITDIALOG));

  ofn_.lpTemplateName = MAKEINTRESOURCEA(2001);
  EXPECT_FALSE(GetSaveFileNameA(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_FINDRESFAILURE));
}

TEST_F(FileDialogs, Screenshot) {
  // LUMORA_FILEDIALOG_SHOT names a file to keep, drawn with the installed Japanese font.
  const char* keep = std::getenv("LUMORA_FILEDIALOG_SHOT");
  if (keep) setenv("LUMORA_FONT", "", 1);
  bool saved = false;
  std::optional<plat::display::PixelImage> image;
  Script([&](HWND d) {
    dd::Select(d, IDC_FILE_FILES, "a.jpg");
    RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    RECT r;
    GetWindowRect(d, &r);
    std::string path = keep ? keep : testenv::ScratchDir() + "/file-dialog.png";
    saved = plat::display::SavePng(path, &r);
    image = plat::display::ReadPng(path);
  });
  GetOpenFileNameA(&ofn_);
  ASSERT_TRUE(saved);
  ASSERT_TRUE(image.has_value());
  // The classic face, the list's white, the folder's yellow and the selection's blue all show.
  auto count = [&](uint32_t rgb) {
    int n = 0;
    for (auto px : image->pixels)
      if ((px & 0xFFFFFF) == rgb) ++n;
    return n;
  };
  EXPECT_GT(count(0xC0C0C0), 1000);  // button face
  EXPECT_GT(count(0xFFFFFF), 1000);  // the list and the edit
  EXPECT_GT(count(0xFFFF80), 20);    // folder pictures (BGRX order: R=FF G=FF B=80)
  EXPECT_GT(count(0x000080), 100);   // the selected entry
}

}  // namespace
