// The browse edits: the "..." button beside the edit, and the pickers it opens.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "Config.h"
#include "display/Png.h"
#include "ToolkitFixture.h"
#include "commdlg/DialogIds.h"
#include "controls/SECBrowseEdit.h"

namespace toolkit_test {
namespace {

namespace dd = dialogdriver;

// Names a file to keep the folder picker's screenshot in, drawn with the installed
// Japanese font (the font is chosen once, before the first window shows).
constexpr const char* kShotVariable = "LUMORA_FOLDER_PICKER_SHOT";

class BrowseEdits : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    if (std::getenv(kShotVariable)) setenv("LUMORA_FONT", "", 1);
    MakeFolder("C:\\Image\\Sub");
    MakeFolder("C:\\Home");
    WriteFile("C:\\Image\\a.jpg", "a");
    WriteFile("C:\\Image\\b.jpg", "b");
    ASSERT_TRUE(::SetCurrentDirectoryA("C:\\Home"));
    ASSERT_TRUE(dialog.Create(IDD_TEST_BROWSE));
    dialog.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    if (dialog.m_hWnd) dialog.DestroyWindow();
    ToolkitTest::TearDown();
  }
  CRect ItemRect(HWND item) {
    CRect r;
    ::GetWindowRect(item, &r);
    dialog.ScreenToClient(&r);
    return r;
  }
  std::string EditText(int id) {
    CString text;
    dialog.GetDlgItemText(id, text);
    return std::string(text);
  }
  void Click(SECBrowseEditBase& edit) { ::SendMessageA(edit.GetButton()->m_hWnd, BM_CLICK, 0, 0); }
  void Reopen() {
    dialog.DestroyWindow();
    ASSERT_TRUE(dialog.Create(IDD_TEST_BROWSE));
  }

  CDialog dialog;
};

TEST_F(BrowseEdits, TheButtonSitsBesideTheEditAndFollowsIt) {
  HWND item = dialog.GetDlgItem(IDC_TEST_DIR_EDIT)->m_hWnd;
  const CRect before = ItemRect(item);
  SECBrowseDirEdit edit;
  ASSERT_TRUE(edit.Initialize(IDC_TEST_DIR_EDIT, &dialog));
  SECBrowseButton* button = edit.GetButton();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(edit.m_hWnd, item);
  EXPECT_EQ(ItemRect(item), CRect(before.left, before.top, before.right - 26, before.bottom));
  EXPECT_EQ(ItemRect(button->m_hWnd), CRect(before.right - 25, before.top, before.right, before.bottom));
  EXPECT_EQ(button->GetDlgCtrlID(), 0x7FFE);  // 0x7FFF is taken
  EXPECT_EQ(dd::Text(button->m_hWnd), "...");
  EXPECT_EQ(button->GetStyle() & 0xFFFF0000u, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP));
  EXPECT_EQ(::GetWindow(item, GW_HWNDNEXT), button->m_hWnd);
  EXPECT_TRUE(button->IsWindowEnabled());

  edit.EnableWindow(FALSE);
  EXPECT_FALSE(button->IsWindowEnabled());
  edit.ShowWindow(SW_HIDE);
  EXPECT_FALSE(button->IsWindowVisible());
  edit.ShowWindow(SW_SHOW);
  EXPECT_TRUE(button->IsWindowVisible());
}

TEST_F(BrowseEdits, ADisabledEditGetsADisabledButton) {
  SECBrowseDirEdit first, disabled;
  ASSERT_TRUE(first.Initialize(IDC_TEST_DIR_EDIT, &dialog));
  ASSERT_TRUE(disabled.Initialize(IDC_TEST_DISABLED_EDIT, &dialog));
  EXPECT_EQ(disabled.GetButton()->GetDlgCtrlID(), 0x7FFD);
  EXPECT_FALSE(disabled.GetButton()->IsWindowEnabled());
  disabled.EnableWindow(TRUE);
  EXPECT_TRUE(disabled.GetButton()->IsWindowEnabled());

  SECBrowseDirEdit missing;
  EXPECT_FALSE(missing.Initialize(4711, &dialog));
  EXPECT_EQ(missing.GetButton(), nullptr);
}

TEST_F(BrowseEdits, TheButtonGoesWithTheEdit) {
  auto edit = std::make_unique<SECBrowseDirEdit>();
  ASSERT_TRUE(edit->Initialize(IDC_TEST_DIR_EDIT, &dialog));
  HWND button = edit->GetButton()->m_hWnd;
  edit.reset();  // the edit object goes first: its button's window with it
  EXPECT_FALSE(::IsWindow(button));

  SECBrowseDirEdit other;
  ASSERT_TRUE(other.Initialize(IDC_TEST_DISABLED_EDIT, &dialog));
  button = other.GetButton()->m_hWnd;
  dialog.DestroyWindow();  // the windows go first
  EXPECT_FALSE(::IsWindow(button));
  EXPECT_EQ(other.GetButton(), nullptr);
}

TEST_F(BrowseEdits, BrowseFlagsPickThePicker) {
  struct Case {
    const char* version;
    WORD flags;
    WORD kept;
  } cases[] = {
      {"5.1.2600", 0, 0}, {"5.1.2600", 1, 1}, {"5.1.2600", 2, 2}, {"5.1.2600", 3, 3},
      {"3.51.1057", 0, 1}, {"3.51.1057", 2, 3},  // before Windows 4 only the older dialog exists
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.version) + " " + std::to_string(c.flags));
    plat::config::Set("WINVER", c.version);
    SECBrowseDirEdit edit;
    EXPECT_EQ(edit.GetBrowseFlags(), 1);
    edit.SetBrowseFlags(c.flags);
    EXPECT_EQ(edit.GetBrowseFlags(), c.kept);
  }
  plat::config::Set("WINVER", std::nullopt);
}

TEST_F(BrowseEdits, TheShellBrowserStartsAtTheFolderInTheEdit) {
  struct Case {
    const char* text;
    const char* chosen;  // what OK takes: the folder selected when the browser opened
  } cases[] = {
      {"C:", "C:\\"},
      {"C:\\", "C:\\"},
      {"C:\\Image", "C:\\Image\\"},
      {"C:\\Image\\", "C:\\Image\\"},
      {"C:\\Image\\a.jpg", "C:\\Home\\"},  // a file name: no starting folder, so the current one
      {"", "C:\\Home\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Reopen();
    SECBrowseDirEdit edit;
    ASSERT_TRUE(edit.Initialize(IDC_TEST_DIR_EDIT, &dialog));
    edit.SetBrowseFlags(2);
    edit.SetWindowText(c.text);
    std::string title;
    Script([&](HWND d) {
      title = dd::Text(::GetDlgItem(d, IDC_BROWSE_TITLE));
      dd::Press(d, IDOK);
    });
    Click(edit);
    EXPECT_EQ(title, "Select Directory");
    EXPECT_EQ(EditText(IDC_TEST_DIR_EDIT), c.chosen);
  }
}

TEST_F(BrowseEdits, TheShellBrowserTakesASubfolderAndCancelChangesNothing) {
  SECBrowseDirEdit edit;
  ASSERT_TRUE(edit.Initialize(IDC_TEST_DIR_EDIT, &dialog));
  edit.SetBrowseFlags(2);
  edit.SetTitle("保存先");
  edit.SetWindowText("C:\\Image");
  std::string title;
  Script([&](HWND d) {
    title = dd::Text(::GetDlgItem(d, IDC_BROWSE_TITLE));
    ASSERT_TRUE(dd::Select(d, IDC_BROWSE_TREE, "Sub"));
    dd::Press(d, IDOK);
  });
  Click(edit);
  EXPECT_EQ(title, "保存先");
  EXPECT_EQ(EditText(IDC_TEST_DIR_EDIT), "C:\\Image\\Sub\\");

  Script([&](HWND d) { dd::Press(d, IDCANCEL); });
  Click(edit);
  EXPECT_EQ(EditText(IDC_TEST_DIR_EDIT), "C:\\Image\\Sub\\");
}

TEST_F(BrowseEdits, TheOlderDialogShowsOnlyFoldersAndGivesTheFolderWithItsBackslash) {
  SECBrowseDirEdit edit;
  ASSERT_TRUE(edit.Initialize(IDC_TEST_DIR_EDIT, &dialog));  // flags 1: the older dialog
  edit.SetWindowText("C:\\Image");
  std::string caption, hiddenName, shownFolder;
  std::vector<int> visible;
  bool folderListFocused = false;
  Script([&](HWND d) {
    caption = dd::Text(d);
    for (int id : {1090, 1152, 1120, 1089, 1136, 1121, 1088, 1137, IDOK, IDCANCEL})
      if (::IsWindowVisible(::GetDlgItem(d, id))) visible.push_back(id);
    hiddenName = dd::Text(::GetDlgItem(d, 1152));
    shownFolder = dd::Text(::GetDlgItem(d, 1088));
    folderListFocused = ::GetFocus() == ::GetDlgItem(d, 1121);
    ASSERT_TRUE(dd::DoubleClick(d, 1121, "Sub"));
    ::SetFocus(::GetDlgItem(d, 1121));
    dd::Press(d, IDOK);
  });
  Click(edit);
  EXPECT_EQ(caption, "Select Directory");
  EXPECT_EQ(visible, (std::vector<int>{1121, 1088, 1137, IDOK, IDCANCEL}));
  EXPECT_EQ(hiddenName, "noclose");
  EXPECT_EQ(shownFolder, "C:\\Image");
  EXPECT_TRUE(folderListFocused);
  EXPECT_EQ(EditText(IDC_TEST_DIR_EDIT), "C:\\Image\\Sub\\");

  Script([&](HWND d) { dd::Press(d, IDCANCEL); });
  Click(edit);
  EXPECT_EQ(EditText(IDC_TEST_DIR_EDIT), "C:\\Image\\Sub\\");
}

TEST_F(BrowseEdits, TheFileEditOpensAtItsFileAndLeavesTheCurrentFolder) {
  SECBrowseFileEdit edit;
  ASSERT_TRUE(edit.Initialize(IDC_TEST_FILE_EDIT, &dialog));
  edit.SetFilter("Pictures (*.jpg)|*.jpg|All files (*.*)|*.*||");
  struct Case {
    const char* text;
    const char* name;  // the name the dialog opens with
    bool inImage;      // it shows C:\Image (else the current folder, which is empty)
  } cases[] = {
      {"C:\\Image\\a.jpg", "a.jpg", true},
      {"C:\\Image", "", true},
      {"C:\\Image\\missing.jpg", "", false},
      {"", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    edit.SetWindowText(c.text);
    std::string caption, name;
    bool inImage = false;
    std::vector<std::string> types;
    Script([&](HWND d) {
      caption = dd::Text(d);
      name = dd::Text(::GetDlgItem(d, IDC_FILE_NAME));
      inImage = dd::Find(d, IDC_FILE_FILES, "b.jpg") >= 0;
      char look[MAX_PATH] = {};
      ::SendMessageA(::GetDlgItem(d, IDC_FILE_TYPES), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(look));
      types.push_back(look);
      dd::Press(d, IDCANCEL);
    });
    Click(edit);
    EXPECT_EQ(caption, "Select File");
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(inImage, c.inImage);
    EXPECT_EQ(types, (std::vector<std::string>{"Pictures (*.jpg)"}));
    EXPECT_EQ(EditText(IDC_TEST_FILE_EDIT), c.text);  // Cancel changes nothing
    EXPECT_EQ(Current(), "C:\\Home");
  }

  edit.SetWindowText("C:\\Image\\a.jpg");
  Script([&](HWND d) {
    ASSERT_TRUE(dd::Select(d, IDC_FILE_FILES, "b.jpg"));
    dd::Press(d, IDOK);
  });
  Click(edit);
  EXPECT_EQ(EditText(IDC_TEST_FILE_EDIT), "C:\\Image\\b.jpg");
  EXPECT_EQ(Current(), "C:\\Home");
}

TEST_F(BrowseEdits, FolderPickerScreenshot) {
  const char* keep = std::getenv(kShotVariable);
  SECBrowseDirEdit edit;
  ASSERT_TRUE(edit.Initialize(IDC_TEST_DIR_EDIT, &dialog));
  edit.SetWindowText("C:\\Image");
  bool saved = false;
  std::optional<plat::display::PixelImage> image;
  CRect r;
  Script([&](HWND d) {
    ::RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    ::GetWindowRect(d, &r);
    const std::string path = keep ? keep : testenv::ScratchDir() + "/folder-picker.png";
    saved = plat::display::SavePng(path, &r);
    image = plat::display::ReadPng(path);
  });
  Click(edit);
  ASSERT_TRUE(saved);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, r.Width());
  // The folder list shows, white.
  int white = 0;
  for (auto px : image->pixels) white += (px & 0xFFFFFF) == 0xFFFFFF;
  EXPECT_GT(white, 1000);
}

}  // namespace
}  // namespace toolkit_test
