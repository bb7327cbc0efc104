// The name checks of the program's file dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "control/VexFileDialog.h"
#include "user/Responder.h"

namespace responder = plat::user::responder;

namespace {

constexpr char kFilter[] = "Jpeg Files(*.jpg;*.jpeg)|*.jpg;*.jpeg|Bmp Files(*.bmp)|*.bmp|Tiff Files(*.tif;*tiff)|*.tif;*tiff|"
                           "All Files(*.jpg;*.jpeg;*.bmp;*.tif;*.tiff)|*.jpg;*.jpeg;*.bmp;*.tif;*.tiff||";

class VexFileDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    responder::Reset();
    CreateDirectoryA("C:\\Pics", nullptr);
  }
  void TearDown() override { responder::Reset(); }
  // Runs the name check as the dialog does when the user presses OK.
  static BOOL Check(CVexFileDialog& dlg, const char* chosen, DWORD filterIndex = 1) {
    std::strcpy(dlg.m_ofn.lpstrFile, chosen);
    dlg.m_ofn.nFilterIndex = filterIndex;
    return dlg.OnFileNameOK();
  }
  static bool Told(const std::string& text) {
    for (const auto& shown : responder::History())
      if (shown.text.find(text) != std::string::npos) return true;
    return false;
  }
};

TEST_F(VexFileDialog, PictureSaveNamesGetTheirExtensionOrAreRefused) {
  const struct {
    const char* chosen;
    DWORD filterIndex;
    int defaultFormat;
    const char* result;  // empty: the dialog stays open
    int kind;
    const char* told;
  } cases[] = {
      {"C:\\Pics\\a", 2, 4, "C:\\Pics\\a.bmp", 1, nullptr},
      {"C:\\Pics\\a", 3, 4, "C:\\Pics\\a.tif", 2, nullptr},
      {"C:\\Pics\\a", 4, 4, "C:\\Pics\\a.tif", 2, nullptr},
      {"C:\\Pics\\a", 4, 3, "C:\\Pics\\a.bmp", 1, nullptr},
      {"C:\\Pics\\a.BMP", 1, 4, "C:\\Pics\\a.BMP", 1, nullptr},  // the typed extension stands
      {"C:\\Pics\\a.tiff", 2, 4, "C:\\Pics\\a.tiff", 2, nullptr},
      {"C:\\Pics\\a", 4, 9, "", -1, "ファイルフォーマットが未対応です"},
      {"C:\\Pics\\a.png", 1, 4, "", -1, "ファイルフォーマットが未対応です"},
      {"C:\\Pics\\a.vex", 1, 4, "", -1, "ファイルフォーマットが未対応です"},
      {"C:\\Pics\\a:b.bmp", 1, 4, "", -1, "このファイル名は無効です。"},  // a colon past the drive
      {"C:\\Pics\\a?.bmp", 1, 4, "", -1, "このファイル名は無効です。"},
      {"C:\\Pics\\50%.bmp", 1, 4, "", -1, "このファイル名は無効です。"},
      {"C:\\Pics\\a+b.bmp", 1, 4, "", -1, "このファイル名は無効です。"},
      {"C:\\Pics\\a|b.bmp", 1, 4, "", -1, "このファイル名は無効です。"},
  };
  for (const auto& c : cases) {
    responder::Reset();
    CVexFileDialog dlg(FALSE, nullptr, nullptr, 0x1004, kFilter, nullptr, 0, c.defaultFormat);
    const BOOL keepOpen = Check(dlg, c.chosen, c.filterIndex);
    EXPECT_EQ(keepOpen != 0, *c.result == 0) << c.chosen;
    if (*c.result) {
      EXPECT_STREQ(dlg.GetResultPath(), c.result) << c.chosen;
      EXPECT_EQ(dlg.GetFileKind(), c.kind) << c.chosen;
    }
    if (c.told) {
      EXPECT_TRUE(Told(c.told)) << c.chosen;
    }
  }
}

TEST_F(VexFileDialog, ExistingPictureIsReplacedOnlyWhenTheUserAgrees) {
  HANDLE h = CreateFileA("C:\\Pics\\old.bmp", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
  for (int answer : {IDCANCEL, IDOK}) {
    responder::Reset();
    responder::Push([answer](const responder::Shown&) { return answer; });
    CVexFileDialog dlg(FALSE, nullptr, nullptr, 0x1004, kFilter, nullptr, 0, 4);
    EXPECT_EQ(Check(dlg, "C:\\Pics\\old", 2) != 0, answer == IDCANCEL);
    EXPECT_TRUE(Told("C:\\Pics\\old.bmp ファイルは既に存在します。\n上書きしますか？"));
  }
}

TEST_F(VexFileDialog, JpegNamesAskForTheQuality) {
  const struct {
    int button;
    int click;
    bool keepOpen;
    int quality;
  } cases[] = {{IDOK, 1097, false, 1}, {IDOK, 0, false, 2}, {IDCANCEL, 1096, true, 2}};
  for (const auto& c : cases) {
    CVexFileDialog dlg(FALSE, nullptr, nullptr, 0x1004, kFilter, nullptr, 0, 4);
    dlg.SetJpegQuality(2);
    int shown = 0;
    responder::Push([&](const responder::Shown& box) {
      EXPECT_EQ(box.caption, "Jpeg Quality");
      HWND q = box.hwnd;
      for (int id = 1096; id <= 1098; ++id)
        if (IsDlgButtonChecked(q, id) == BST_CHECKED) shown = id;
      if (c.click) SendMessageA(GetDlgItem(q, c.click), BM_CLICK, 0, 0);
      SendMessageA(q, WM_COMMAND, c.button, 0);
      return 0;
    });
    EXPECT_EQ(Check(dlg, "C:\\Pics\\shot", 1) != 0, c.keepOpen);
    EXPECT_EQ(shown, 1098);  // the dialog's own quality is the preset
    EXPECT_EQ(dlg.GetJpegQuality(), c.quality);
    if (!c.keepOpen) {
      EXPECT_STREQ(dlg.GetResultPath(), "C:\\Pics\\shot.jpg");
    }
  }
  CVexFileDialog dlg(FALSE, nullptr, nullptr, 0x1004, kFilter, nullptr, 0, 4);
  dlg.SetJpegQuality(5);
  EXPECT_EQ(dlg.GetJpegQuality(), 0);
}

TEST_F(VexFileDialog, OpeningAndSettingFilesTakeTheChosenName) {
  const struct {
    BOOL open;
    int settingFile;
    const char* chosen;
    bool keepOpen;
    const char* result;
  } cases[] = {
      {TRUE, 0, "C:\\Pics\\a.JPEG", false, "C:\\Pics\\a.JPEG"},
      {TRUE, 0, "C:\\Pics\\a.png", true, "C:\\Pics\\a.png"},  // no message: the dialog stays
      {TRUE, 1, "C:\\Sets\\lab.any", false, "C:\\Sets\\lab.any"},
      {FALSE, 1, "C:\\Sets\\lab", false, "C:\\Sets\\lab.vex"},
      {FALSE, 1, "C:\\Sets\\lab.txt", false, "C:\\Sets\\lab.txt"},  // taken as typed
      {FALSE, 1, "C:\\Sets\\lab.VEX", false, "C:\\Sets\\lab.VEX"},
  };
  for (const auto& c : cases) {
    responder::Reset();
    CVexFileDialog dlg(c.open, "vex", nullptr, 0x1006, kFilter, nullptr, c.settingFile, 0);
    EXPECT_EQ(Check(dlg, c.chosen) != 0, c.keepOpen) << c.chosen;
    EXPECT_STREQ(dlg.GetResultPath(), c.result) << c.chosen;
    EXPECT_TRUE(responder::History().empty()) << c.chosen;
  }
  EXPECT_STREQ(CVexFileDialog::AppendExtension("C:\\x.d\\a", ""), "");
  EXPECT_STREQ(CVexFileDialog::AppendExtension("C:\\x.d\\a", ".tif"), "C:\\x.d\\a.tif");
  EXPECT_STREQ(CVexFileDialog::AppendExtension("C:\\x.d\\a", " "), "");
}

}  // namespace
