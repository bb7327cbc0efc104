#include <gtest/gtest.h>

#include <set>
#include <string>

#include "FileBytes.h"
#include "afx.h"

namespace {

TEST(FileFind, WalksEveryMatchAndReadsItsDetails) {
  ASSERT_TRUE(CreateDirectoryA("C:\\Image", nullptr));
  WriteBytes("C:\\Image\\Img_001.jpg", "12345");
  WriteBytes("C:\\Image\\Img_002.jpg", "1");
  WriteBytes("C:\\Image\\notes.txt", "x");
  ASSERT_TRUE(CreateDirectoryA("C:\\Image\\s", nullptr));

  CFileFind finder;
  std::set<std::string> paths;
  BOOL more = finder.FindFile("C:\\Image\\*.jpg");
  ASSERT_TRUE(more);
  while (more) {
    more = finder.FindNextFile();
    paths.insert(static_cast<LPCTSTR>(finder.GetFilePath()));
    EXPECT_FALSE(finder.IsDirectory());
    if (finder.GetFileName() == CString("Img_001.jpg")) {
      EXPECT_EQ(finder.GetLength(), 5u);
      EXPECT_STREQ(finder.GetFileTitle(), "Img_001");
      CTime written;
      EXPECT_TRUE(finder.GetLastWriteTime(written));
      EXPECT_GT(written.GetTime(), 0);
    }
  }
  EXPECT_EQ(paths, (std::set<std::string>{"C:\\Image\\Img_001.jpg", "C:\\Image\\Img_002.jpg"}));
  EXPECT_STREQ(finder.GetRoot(), "C:\\Image");
  EXPECT_FALSE(finder.FindNextFile());  // the walk is over

  std::set<std::string> names;
  for (BOOL go = finder.FindFile("C:\\Image\\*.*"); go;) {
    go = finder.FindNextFile();
    if (!finder.IsDots()) names.insert(std::string(finder.GetFileName()) + (finder.IsDirectory() ? "/" : ""));
  }
  EXPECT_EQ(names, (std::set<std::string>{"Img_001.jpg", "Img_002.jpg", "notes.txt", "s/"}));
}

TEST(FileFind, AnswersWhetherOneFileExists) {
  WriteBytes("C:\\present.jpg", "p");
  CFileFind finder;
  EXPECT_TRUE(finder.FindFile("C:\\present.jpg"));
  EXPECT_FALSE(finder.FindNextFile());  // found, and it was the only one
  EXPECT_STREQ(finder.GetFilePath(), "C:\\present.jpg");
  finder.Close();
  EXPECT_FALSE(finder.FindFile("C:\\absent.jpg"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(finder.FindNextFile());
}

}  // namespace
