// The framework's file dialog: the object is the dialog while it runs, checks the name
// in OnFileNameOK, and serves the toolkit's old-style folder picker.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "ModuleRegistry.h"
#include "TestEnv.h"
#include "afxdlgs.h"
#include "frame_ids.h"
#include "user/Responder.h"

namespace responder = plat::user::responder;
namespace dd = dialogdriver;

namespace {

HINSTANCE Resources() {
  static HMODULE m = plat::RegisterModule(plat::ModuleSpec{"FrameRes.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(m);
}

class FileDialog : public testing::Test {
 protected:
  void SetUp() override {
    responder::Reset();
    std::filesystem::create_directories(testenv::DriveC() + "/Sets/Sub");
    std::ofstream(testenv::DriveC() + "/Sets/day.vex") << "x";
  }
  static void Script(std::function<void(HWND)> script) {
    responder::Push([script](const responder::Shown& s) {
      script(s.hwnd);
      if (dd::StillOpen(s.hwnd)) dd::Press(s.hwnd, IDCANCEL);
      return 0;
    });
  }
};

// Keeps the dialog open for the first name it is offered.
class CCheckingDialog : public CFileDialog {
 public:
  CCheckingDialog()
      : CFileDialog(FALSE, "vex", nullptr, OFN_HIDEREADONLY, "Setting Files(*.vex)|*.vex|All Files(*.*)|*.*||") {
    m_ofn.lpstrInitialDir = "C:\\Sets";
    m_ofn.lpstrTitle = "Save Setting File";
  }
  std::vector<std::string> offered;
  std::string titleAtInit;
  int inits = 0;

 protected:
  BOOL OnInitDialog() override {
    CFileDialog::OnInitDialog();
    ++inits;
    CString title;
    GetWindowText(title);
    titleAtInit = static_cast<LPCSTR>(title);
    return TRUE;
  }
  BOOL OnFileNameOK() override {
    offered.push_back(static_cast<LPCSTR>(GetPathName()));
    return offered.size() == 1;
  }
};

TEST_F(FileDialog, OnFileNameOKKeepsTheDialogOpenUntilItAccepts) {
  CCheckingDialog dialog;
  bool stayed = false;
  Script([&](HWND d) {
    dd::TypeAndOk(d, "first");
    stayed = dd::StillOpen(d);
    dd::TypeAndOk(d, "second");
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(stayed);
  EXPECT_EQ(dialog.offered, (std::vector<std::string>{"C:\\Sets\\first.vex", "C:\\Sets\\second.vex"}));
  EXPECT_EQ(dialog.inits, 1);
  EXPECT_EQ(dialog.titleAtInit, "Save Setting File");
  EXPECT_STREQ(dialog.GetPathName(), "C:\\Sets\\second.vex");
  EXPECT_EQ(dialog.m_ofn.nFilterIndex, 1u);
  EXPECT_EQ(dialog.m_hWnd, nullptr);  // the window went with the dialog
}

TEST_F(FileDialog, PartsOfTheChosenName) {
  struct Case {
    const char* typed;
    const char* name;
    const char* ext;
    const char* title;
  } cases[] = {
      {"archive.tar.gz", "archive.tar.gz", "gz", "archive.tar"},
      {"plain", "plain", "", "plain"},
      {"dotted.", "dotted", "", "dotted"},  // trailing dots are no part of a name
      {"Sub\\inner.bmp", "inner.bmp", "bmp", "inner"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    CFileDialog dialog(FALSE, nullptr, nullptr, 0, nullptr);
    dialog.m_ofn.lpstrInitialDir = "C:\\Sets";
    Script([&](HWND d) { dd::TypeAndOk(d, c.typed); });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_STREQ(dialog.GetFileName(), c.name);
    EXPECT_STREQ(dialog.GetFileExt(), c.ext);
    EXPECT_STREQ(dialog.GetFileTitle(), c.title);
  }
}

TEST_F(FileDialog, OpenDialogOffersTheInitialFileAndRefusesMissingOnes) {
  CFileDialog dialog(TRUE, "vex", "C:\\Sets\\day.vex", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     "Setting Files(*.vex)|*.VEX|All Files(*.*)|*.*||");
  std::vector<std::string> files;
  std::string offered;
  bool stayed = false;
  Script([&](HWND d) {
    files = dd::Entries(d, 1120);
    offered = dd::Text(GetDlgItem(d, 1152));
    dd::TypeAndOk(d, "night");
    stayed = dd::StillOpen(d);
    dd::TypeAndOk(d, "day");
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(offered, "day.vex");
  EXPECT_EQ(files, (std::vector<std::string>{"..", "Sub", "day.vex"}));  // "*.VEX" matches without regard to case
  EXPECT_TRUE(stayed);
  ASSERT_EQ(responder::History().size(), 2u);
  EXPECT_EQ(responder::History()[1].text, "night.vex\nFile not found.\nCheck the file name and try again.");
  EXPECT_STREQ(dialog.GetPathName(), "C:\\Sets\\day.vex");
}

// The toolkit's folder picker: the old-style dialog on the program's template 2000,
// trimmed to its folder list.
class CFolderPicker : public CFileDialog {
 public:
  CFolderPicker()
      : CFileDialog(FALSE, nullptr, nullptr, OFN_ENABLETEMPLATE | OFN_SHOWHELP | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "(nofiles)|NOFILES.$$$||") {
    m_ofn.Flags &= ~OFN_EXPLORER;
    m_ofn.hInstance = Resources();
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_PICK_FOLDER);
    m_ofn.lpstrInitialDir = "C:\\Sets";
  }

 protected:
  BOOL OnInitDialog() override {
    CFileDialog::OnInitDialog();
    for (int id : {1090, 1152, 1120, 1089, 1136}) GetDlgItem(id)->ShowWindow(SW_HIDE);
    GetDlgItem(1152)->SetWindowText("noclose");
    GetDlgItem(1121)->SetFocus();
    return FALSE;
  }
};

TEST_F(FileDialog, OldStyleTemplatePicksAFolder) {
  CFolderPicker picker;
  bool nameHidden = false;
  std::vector<std::string> folders;
  Script([&](HWND d) {
    nameHidden = !IsWindowVisible(GetDlgItem(d, 1152));
    dd::DoubleClick(d, 1121, "Sub");
    folders = dd::Entries(d, 1121);
    dd::Press(d, IDOK);
  });
  ASSERT_EQ(picker.DoModal(), IDOK);
  EXPECT_TRUE(nameHidden);
  EXPECT_EQ(folders, (std::vector<std::string>{"C:\\", "Sets", "Sub"}));
  CString path = picker.GetPathName();
  EXPECT_STREQ(path.Left(picker.m_ofn.nFileOffset), "C:\\Sets\\Sub\\");
}

TEST_F(FileDialog, CancelAndFailureBothAnswerCancel) {
  CFileDialog dialog(TRUE);
  Script([](HWND d) { dd::Press(d, IDCANCEL); });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  responder::FailNextDialog();
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_DIALOGFAILURE));
}

}  // namespace
