#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestEnv.h"
#include "files/FileFind.h"
#include "windows.h"

namespace {

namespace fs = std::filesystem;

class FindFiles : public testing::Test {
 protected:
  void SetUp() override {
    root_ = testenv::DriveC() + "/F";
    fs::remove_all(root_);
    fs::create_directories(root_ + "/Sub");
    for (const char* name : {"Img_0001.jpg", "img_0002.JPG", "Img_0010.tif", "README", "notes.txt", "b.jpeg",
                             "写真.jpg"})
      std::ofstream(root_ + "/" + name) << name;
  }
  // Every name the pattern finds, in listing order.
  static std::vector<std::string> List(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFileA(h, &data));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(h));
    return names;
  }
  std::string root_;
};

TEST(Wildcards, MatchLikeWindows) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*", "anything.txt", true},   {"*.*", "README", true},        {"*.*", "a.b.c", true},
      {"*.jpg", "X.JPG", true},      {"*.jpg", "x.jpeg", false},     {"*.jpg", "x.jpg.bak", false},
      {"img_????.jpg", "IMG_0001.jpg", true}, {"img_????.jpg", "img_001.jpg", false},
      {"a?c", "a写c", true},          {"a??c", "a写c", false},        {"Img_0*", "Img_0010.tif", true},
      {"x.*", "x", true},            {"x.*", "xy", false},           {"*a*b*", "zzazzbzz", true},
      {"*a*b", "zzazzbzz", false},   {"", "a", false},               {"abc", "ABC", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(plat::file::MatchWildcard(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
}

TEST_F(FindFiles, ShortNamesAreStableAndNeverSplitACharacter) {
  for (const char* name : {"Program Files", "Program Data", "写真の記録.jpeg", "a+b=c.html", ".profile"})
    fs::create_directories(root_ + "/S/" + name);
  struct Case {
    const char* name;
    const char* shortName;
  } cases[] = {
      {"Program Files", "PROGRA~2"},  // numbered in listing order: "Program Data" comes first
      {"Program Data", "PROGRA~1"},
      {"写真の記録.jpeg", "写真~1.JPE"},
      {"a+b=c.html", "A_B_C~1.HTM"},
      {".profile", "PROFIL~1"},
      {"README", "README"},  // valid 8.3 names stay as they are
  };
  for (const auto& c : cases) EXPECT_EQ(plat::file::ShortNameIn(root_ + "/S", c.name), c.shortName) << c.name;
}

TEST_F(FindFiles, ListsInNameOrderWithoutRegardToCase) {
  EXPECT_EQ(List("C:\\F\\*.jpg"), (std::vector<std::string>{"Img_0001.jpg", "img_0002.JPG", "写真.jpg"}));
  EXPECT_EQ(List("c:/f/IMG_*"), (std::vector<std::string>{"Img_0001.jpg", "img_0002.JPG", "Img_0010.tif"}));
  EXPECT_EQ(List("C:\\F\\*.*"), (std::vector<std::string>{".", "..", "b.jpeg", "Img_0001.jpg", "img_0002.JPG",
                                                          "Img_0010.tif", "notes.txt", "README", "Sub",
                                                          "写真.jpg"}));
  EXPECT_EQ(List("C:\\F\\readme"), (std::vector<std::string>{"README"}));
  // A drive root lists no "." and "..".
  auto atRoot = List("C:\\*");
  EXPECT_EQ(std::count(atRoot.begin(), atRoot.end(), "."), 0);
  EXPECT_EQ(std::count(atRoot.begin(), atRoot.end(), "F"), 1);
}

TEST_F(FindFiles, FillsTheFindData) {
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA("C:\\F\\b.jpeg", &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, "b.jpeg");
  EXPECT_STREQ(data.cAlternateFileName, "B~1.JPE");
  EXPECT_EQ(data.nFileSizeLow, 6u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_EQ(data.dwFileAttributes, DWORD(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
  FindClose(h);
  h = FindFirstFileA("C:\\F\\sub", &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, "Sub");
  EXPECT_STREQ(data.cAlternateFileName, "");  // already an 8.3 name
  EXPECT_EQ(data.dwFileAttributes, DWORD(FILE_ATTRIBUTE_DIRECTORY));
  FindClose(h);
}

TEST_F(FindFiles, ErrorsAndTheNulTest) {
  struct Case {
    const char* pattern;
    bool found;
    DWORD error;
  } cases[] = {
      {"C:\\F\\*.bmp", false, ERROR_FILE_NOT_FOUND},
      {"C:\\Missing\\*", false, ERROR_PATH_NOT_FOUND},
      {"C:\\F\\", false, ERROR_FILE_NOT_FOUND},
      {"C:\\F\\NUL", true, 0},         // the classic "folder exists" test
      {"C:\\F\\Sub\\nul", true, 0},
      {"C:\\Missing\\NUL", false, ERROR_PATH_NOT_FOUND},
      {"C:\\F\\README\\NUL", false, ERROR_PATH_NOT_FOUND},  // a file is no folder
  };
  for (const auto& c : cases) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(c.pattern, &data);
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.found) << c.pattern;
    if (h != INVALID_HANDLE_VALUE)
      FindClose(h);
    else
      EXPECT_EQ(GetLastError(), c.error) << c.pattern;
  }
  EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST_F(FindFiles, ListingIsTakenWhenTheSearchStarts) {
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA("C:\\F\\Img_*", &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  fs::remove(root_ + "/Img_0010.tif");  // deleting while searching, as delete loops do
  std::vector<std::string> names{data.cFileName};
  while (FindNextFileA(h, &data)) names.push_back(data.cFileName);
  FindClose(h);
  EXPECT_EQ(names.size(), 3u);
}

}  // namespace
