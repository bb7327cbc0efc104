// Deleting the pictures chosen in the thumbnail strip, one question at a time.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DialogScript.h"
#include "TouchFile.h"
#include "ErrorBoxReader.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "control/VexFileDelete.h"
#include "control/VexPathlistControl.h"
#include "user/Responder.h"

namespace {

const char kQuestion[] = "画像ファイルの削除";

bool Exists(const CString& path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

class VexFileDelete : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::user::responder::Reset();
    dialogscript::Start();
    errorbox::Start();
    deleter.SetDocument(&doc);
    deleter.SetErrorControl(&errors);
  }
  void TearDown() override {
    errorbox::Stop();
    dialogscript::Stop();
  }
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
    dialogscript::On(kQuestion, [this, button](HWND dlg) {
      char text[300] = {};
      GetDlgItemTextA(dlg, 1101, text, sizeof text);
      shownPaths.emplace_back(text);
      GetDlgItemTextA(dlg, 1102, text, sizeof text);
      question = text;
      dialogscript::Press(dlg, button);
    });
  }
  CVexDoc doc;
  CVexErrorControl errors;
  CVexFileDelete deleter;
  std::vector<std::string> shownPaths;
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
  EXPECT_TRUE(errorbox::Boxes().empty());
}

TEST_F(VexFileDelete, EachAnswerDecidesOnePicture) {
  Choose("C:\\Pics", {"A0.jpg", "A1.jpg", "A2.jpg", "A3.jpg"});
  Answer(IDOK);      // A3 deleted
  Answer(1002);      // A2 stays
  Answer(IDCANCEL);  // A1 and A0 are not asked about
  deleter.DeleteSelectedFiles();
  EXPECT_EQ(dialogscript::Opened(kQuestion), 3);
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
    const size_t boxes = errorbox::Boxes().size();
    for (int a : c.answers) Answer(a);
    const int before = dialogscript::Opened(kQuestion);
    deleter.DeleteSelectedFiles();
    EXPECT_EQ(dialogscript::Opened(kQuestion) - before, c.asked) << round;
    EXPECT_EQ(errorbox::Boxes().size() - boxes, c.error ? 1u : 0u) << round;
    if (c.error) {
      EXPECT_NE(errorbox::Boxes().back().code.find("700:002"), std::string::npos);
    }
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
  for (const auto& shown : plat::user::responder::History()) EXPECT_NE(shown.text, "DletePath didn't input");
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
  const auto shown = plat::user::responder::History();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().text, "DletePath didn't input");
  EXPECT_EQ(shown.back().caption, "Lumora Error");

  EXPECT_EQ(deleter.SetDeletePath("C:\\Pics\\Missing.jpg"), 1);
  EXPECT_EQ(deleter.DeleteFile(), 0);
  ASSERT_EQ(errorbox::Boxes().size(), 1u);
  EXPECT_NE(errorbox::Boxes()[0].code.find("700:001"), std::string::npos);
  EXPECT_EQ(deleter.SetDeletePath("C:\\Pics\\U.JPG"), 1);
  EXPECT_EQ(deleter.DeleteFile(), 1);
  EXPECT_FALSE(Exists("C:\\Pics\\U.JPG"));

  deleter.DeleteSelectedFiles();  // nothing chosen: nothing asked
  EXPECT_EQ(dialogscript::Opened(kQuestion), 0);
}

}  // namespace
