// Deleting the pictures chosen in the thumbnail strip, one question at a time.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Config.h"
#include "TouchFile.h"
#include "TestEnv.h"
#include "display/Png.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "control/VexFileDelete.h"
#include "control/VexPathlistControl.h"
#include "user/Responder.h"

namespace responder = plat::user::responder;

namespace {

const char kQuestion[] = "画像ファイルの削除";

bool Exists(const CString& path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

class VexFileDelete : public ::testing::Test {
 protected:
  void SetUp() override {
    responder::Reset();
    deleter.SetDocument(&doc);
    deleter.SetErrorControl(&errors);
  }
  void TearDown() override { responder::Reset(); }
  // Pictures named in `names` (the first the newest) with thumbnails, all chosen.
  void Choose(const CString& folder, const std::vector<CString>& names) {
    CreateDirectoryA(folder, nullptr);
    CreateDirectoryA(folder + "\\s", nullptr);
    for (size_t i = 0; i < names.size(); ++i) {
      Touch(folder + "\\" + names[i], 2000 - static_cast<long long>(i));
      Touch(folder + "\\s\\" + CVexPathlistControl::ThumbnailNameOf(names[i]), 2000 - static_cast<long long>(i));
    }
    doc.SetListFolder(folder + "\\s");
    ASSERT_EQ(doc.ScanList(), static_cast<int>(names.size()));
    for (size_t i = 0; i < names.size(); ++i) doc.SetListSelected(1, static_cast<int>(i), 1);
  }
  // Answers the next deletion question with `button`, noting the path it showed.
  void Answer(int button) {
    responder::Push([this, button](const responder::Shown& shown) {
      EXPECT_EQ(shown.caption, kQuestion);
      char text[300] = {};
      GetDlgItemTextA(shown.hwnd, 1101, text, sizeof text);
      shownPaths.emplace_back(text);
      GetDlgItemTextA(shown.hwnd, 1102, text, sizeof text);
      question = text;
      SendMessageA(shown.hwnd, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      return 0;
    });
  }
  // Answers the next error box, noting its code line.
  void AnswerError() {
    responder::Push([this](const responder::Shown& shown) {
      EXPECT_EQ(shown.caption, "  エラー");
      char text[100] = {};
      GetDlgItemTextA(shown.hwnd, 1143, text, sizeof text);
      errorCodes.emplace_back(text);
      SendMessageA(shown.hwnd, WM_COMMAND, IDOK, 0);
      return 0;
    });
  }
  static int Asked() {
    int n = 0;
    for (const auto& shown : responder::History())
      if (shown.caption == kQuestion) ++n;
    return n;
  }
  CVexDoc doc;
  CVexErrorControl errors;
  CVexFileDelete deleter;
  std::vector<std::string> shownPaths;
  std::vector<std::string> errorCodes;
  std::string question;
};

TEST_F(VexFileDelete, DeleteAllOnTheSecondOfFourTakesTheRestWithoutAsking) {
  Choose("C:\\Pics", {"P0.jpg", "P1.bmp", "P2.tif", "P3.JPG"});
  Answer(1002);  // skip P3 (the walk starts at the last entry)
  Answer(1001);  // delete P2 and all that follow
  deleter.DeleteSelectedFiles();
  EXPECT_EQ(shownPaths, (std::vector<std::string>{"C:\\Pics\\P3.jpg", "C:\\Pics\\P2.tif"}));
  EXPECT_EQ(question, "以下のファイルを削除しますか？");
  EXPECT_TRUE(Exists("C:\\Pics\\P3.JPG"));
  EXPECT_TRUE(Exists("C:\\Pics\\s\\P3j.jpg"));
  for (const char* gone : {"C:\\Pics\\P2.tif", "C:\\Pics\\s\\P2t.jpg", "C:\\Pics\\P1.bmp", "C:\\Pics\\s\\P1b.jpg",
                           "C:\\Pics\\P0.jpg", "C:\\Pics\\s\\P0j.jpg"})
    EXPECT_FALSE(Exists(gone)) << gone;
  EXPECT_EQ(doc.DropMarkedFromList(), 1);
  EXPECT_STREQ(doc.GetListName(0), "P3j.jpg");
  EXPECT_TRUE(errorCodes.empty());
}

// In the installed fonts the question's path line is as tall as the characters it draws,
// so the underscore of a name is not cut at its bottom.
TEST_F(VexFileDelete, TheQuestionShowsThePathWhole) {
  plat::config::Set("FONT", "");
  Choose("C:\\Shown", {"img_001.jpg"});
  int cell = 0, place = 0;
  responder::Push([&](const responder::Shown& shown) {
    HWND path = GetDlgItem(shown.hwnd, 1101);
    RECT r;
    GetClientRect(path, &r);
    place = r.bottom;
    HDC dc = GetDC(path);
    HGDIOBJ font = reinterpret_cast<HFONT>(SendMessageA(path, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));  // what it draws with
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    cell = tm.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(path, dc);
    RedrawWindow(shown.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GetWindowRect(shown.hwnd, &r);
    plat::display::SavePng(testenv::ScratchDir() + "/delete-question.png", &r);
    SendMessageA(shown.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);  // deleted: nothing stays behind
    return 0;
  });
  deleter.DeleteSelectedFiles();
  plat::config::Set("FONT", std::nullopt);
  EXPECT_GE(place, cell);
}

TEST_F(VexFileDelete, EachAnswerDecidesOnePicture) {
  Choose("C:\\Pics", {"A0.jpg", "A1.jpg", "A2.jpg", "A3.jpg"});
  Answer(IDOK);      // A3 deleted
  Answer(1002);      // A2 stays
  Answer(IDCANCEL);  // A1 and A0 are not asked about
  deleter.DeleteSelectedFiles();
  EXPECT_EQ(Asked(), 3);
  EXPECT_FALSE(Exists("C:\\Pics\\A3.jpg"));
  EXPECT_FALSE(Exists("C:\\Pics\\s\\A3j.jpg"));
  for (const char* kept : {"C:\\Pics\\A2.jpg", "C:\\Pics\\A1.jpg", "C:\\Pics\\A0.jpg"}) EXPECT_TRUE(Exists(kept));
  EXPECT_EQ(doc.DropMarkedFromList(), 3);
}

TEST_F(VexFileDelete, PathsLongerThan254EndTheDeletion) {
  // Folder and names sized so that the pictures' paths are 254 and 255 characters.
  const CString folder = "C:\\" + CString('f', 120);
  const CString base = CString('n', 254 - folder.GetLength() - 1 - 4);
  const struct {
    std::vector<CString> names;  // newest first; the last is asked about first
    std::vector<int> answers;
    int asked;
    bool error;
  } cases[] = {
      {{base + ".jpg"}, {IDOK}, 1, false},
      {{base + "x.jpg"}, {}, 0, true},
      // "Delete all" from the 254 one reaches the 255 one and stops there.
      {{base + "x.jpg", base + ".jpg"}, {1001}, 1, true},
  };
  int round = 0;
  for (const auto& c : cases) {
    CString where;
    where.Format("%s%d", (LPCSTR)folder.Left(folder.GetLength() - 1), round++);
    Choose(where, c.names);
    responder::Reset();
    errorCodes.clear();
    for (int a : c.answers) Answer(a);
    if (c.error) AnswerError();
    deleter.DeleteSelectedFiles();
    EXPECT_EQ(Asked(), c.asked) << round;
    EXPECT_EQ(errorCodes, c.error ? std::vector<std::string>{"エラーコード: 700:002"} : std::vector<std::string>{})
        << round;
    EXPECT_FALSE(Exists(where + "\\" + base + ".jpg")) << round;  // the 254 one, when asked, went
    EXPECT_EQ(Exists(where + "\\" + base + "x.jpg"), c.names.front().GetLength() > base.GetLength() + 4) << round;
  }
}

TEST_F(VexFileDelete, PictureWhoseThumbnailHasGoneLeavesTheListQuietly) {
  Choose("C:\\Pics", {"T0.jpg", "T1.jpg"});
  DeleteFileA("C:\\Pics\\s\\T1j.jpg");  // gone since the list was read
  Answer(IDOK);
  Answer(IDCANCEL);
  deleter.DeleteSelectedFiles();
  EXPECT_FALSE(Exists("C:\\Pics\\T1.jpg"));
  for (const auto& shown : responder::History()) EXPECT_NE(shown.text, "DletePath didn't input");
  EXPECT_EQ(doc.DropMarkedFromList(), 1);
  EXPECT_STREQ(doc.GetListName(0), "T0j.jpg");
}

TEST_F(VexFileDelete, SingleStepsReportWhatWentWrong) {
  CreateDirectoryA("C:\\Pics", nullptr);
  CreateDirectoryA("C:\\Pics\\s", nullptr);
  Touch("C:\\Pics\\U.JPG", 100);
  Touch("C:\\Pics\\s\\UJ.jpg", 100);
  EXPECT_STREQ(CVexFileDelete::ThumbnailPathOf("C:\\Pics\\U.JPG"), "C:\\Pics\\s\\UJ.jpg");  // the letter as written
  EXPECT_STREQ(CVexFileDelete::ThumbnailPathOf("C:\\Pics\\V.jpg"), "");
  EXPECT_STREQ(CVexFileDelete::ThumbnailPathOf("C:\\Pics\\U"), "");

  EXPECT_EQ(deleter.SetDeletePath(""), 0);
  const auto shown = responder::History();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().text, "DletePath didn't input");
  EXPECT_EQ(shown.back().caption, "Lumora Error");

  EXPECT_EQ(deleter.SetDeletePath("C:\\Pics\\Missing.jpg"), 1);
  AnswerError();
  EXPECT_EQ(deleter.DeleteFile(), 0);
  EXPECT_EQ(errorCodes, std::vector<std::string>{"エラーコード: 700:001"});
  EXPECT_EQ(deleter.SetDeletePath("C:\\Pics\\U.JPG"), 1);
  EXPECT_EQ(deleter.DeleteFile(), 1);
  EXPECT_FALSE(Exists("C:\\Pics\\U.JPG"));

  deleter.DeleteSelectedFiles();  // nothing chosen: nothing asked
  EXPECT_EQ(Asked(), 0);
}

}  // namespace
