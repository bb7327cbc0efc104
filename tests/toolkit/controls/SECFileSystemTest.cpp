#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "ToolkitFixture.h"
#include "controls/SECFileSystem.h"

namespace toolkit_test {
namespace {

TEST(SECFileSystem, SplitsPaths) {
  struct Case {
    const char* path;
    const char* name;
    const char* folder;
    const char* folderWithoutDrive;
    const char* extension;
    const char* base;
  } cases[] = {
      {"C:\\Image\\Img_001.jpg", "Img_001.jpg", "C:\\Image\\", "\\Image\\", "jpg", "Img_001"},
      {"C:\\Image/a.jpg", "a.jpg", "C:\\Image/", "\\Image/", "jpg", "a"},  // whichever separator comes last
      {"C:/Image\\sub/a", "a", "C:/Image\\sub/", "/Image\\sub/", "", "a"},
      {"C:\\Image\\s\\", "", "C:\\Image\\s\\", "\\Image\\s\\", "", ""},
      {"a.jpg", "a.jpg", "", "", "jpg", "a"},
      {"C:Img", "C:Img", "", "", "", "C:Img"},
      {"C:\\a.b\\c", "c", "C:\\a.b\\", "\\a.b\\", "", "c"},  // the folder's dot is not the name's
      {"x.", "x.", "", "", "", "x"},
      {"x.tar.gz", "x.tar.gz", "", "", "gz", "x.tar"},
      {"x", "x", "", "", "", "x"},
      {"C:\\写真\\夏.jpeg", "夏.jpeg", "C:\\写真\\", "\\写真\\", "jpeg", "夏"},
      {"", "", "", "", "", ""},
  };
  SECFileSystem fs;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_STREQ(fs.GetFileName(c.path), c.name);
    EXPECT_STREQ(fs.GetPath(c.path), c.folder);
    EXPECT_STREQ(fs.GetPath(c.path, FALSE), c.folderWithoutDrive);
    EXPECT_STREQ(fs.GetExtension(c.path), c.extension);
    EXPECT_STREQ(fs.GetBaseFileName(c.path), c.base);
  }
}

TEST(SECFileSystem, TestsFilesFoldersRootsAndMissingPaths) {
  WriteFile("C:\\Tests\\a.jpg", "12345");
  MakeFolder("C:\\Tests\\Sub");
  struct Case {
    const char* path;
    BOOL exists;
    BOOL directory;
    LONG size;
  } cases[] = {
      {"C:\\Tests\\a.jpg", TRUE, FALSE, 5},
      {"c:\\tests\\A.JPG", TRUE, FALSE, 5},  // names match without regard to case
      {"C:\\Tests\\Sub", TRUE, TRUE, 0},     // a folder counts as existing
      {"C:\\Tests\\Sub\\", TRUE, TRUE, 0},
      {"C:\\", TRUE, TRUE, 0},
      {"C:\\Tests\\b.jpg", FALSE, FALSE, -1},
      {"Q:\\x", FALSE, FALSE, -1},  // an unmapped drive
      {"", FALSE, FALSE, -1},
  };
  SECFileSystem fs;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(fs.FileExists(c.path), c.exists);
    EXPECT_EQ(fs.DirectoryExists(c.path), c.directory);
    LONG size = -1;
    time_t created = 0;
    EXPECT_EQ(fs.GetFileSize(c.path, size), c.exists);
    EXPECT_EQ(fs.GetFileCreateTime(c.path, created), c.exists);
    if (c.exists && !c.directory) {
      EXPECT_EQ(size, c.size);
      EXPECT_LE(std::llabs(static_cast<long long>(created - std::time(nullptr))), 3600);
    }
  }
}

TEST(SECFileSystem, FullPathOfAFolderLeavesTheCurrentFolderAndErrorModeAlone) {
  MakeFolder("C:\\Work\\Deep\\Er");
  ASSERT_TRUE(::SetCurrentDirectoryA("C:\\Work\\Deep"));
  const UINT mode = SEM_NOOPENFILEERRORBOX;
  ::SetErrorMode(mode);
  struct Case {
    const char* folder;
    const char* full;
  } cases[] = {
      {"", "C:\\Work\\Deep"},  // the current folder
      {"Er", "C:\\Work\\Deep\\Er"},
      {"..", "C:\\Work"},
      {"C:\\Work\\Deep\\Er\\", "C:\\Work\\Deep\\Er"},
      {"C:\\", "C:\\"},
      {"Missing", ""},
      {"C:\\Work\\Deep\\Er\\none", ""},
  };
  SECFileSystem fs;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_STREQ(fs.GetFullPath(c.folder), c.full);
    EXPECT_EQ(Current(), "C:\\Work\\Deep");  // not the drive's root
    EXPECT_EQ(::SetErrorMode(mode), mode);
  }
  ::SetErrorMode(0);
}

TEST(SECFileSystem, FullPathOfAFolderThatIsTooLongForTheBufferIsEmpty) {
  MakeFolder("C:\\Work\\A");
  ASSERT_TRUE(::SetCurrentDirectoryA("C:\\"));
  SECFileSystem fs;
  fs.m_nMaxPath = 6;  // "C:\Work\A" does not fit
  EXPECT_STREQ(fs.GetFullPath("C:\\Work\\A"), "");
  EXPECT_EQ(Current(), "C:\\");
}

}  // namespace
}  // namespace toolkit_test
