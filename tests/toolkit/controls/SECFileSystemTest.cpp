#include <gtest/gtest.h>

#include "controls/SECFileSystem.h"

TEST(SECFileSystem, GetPathKeepsUpToTheLastSeparator) {
  struct Case {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\Image\\Img_001.jpg", "C:\\Image\\"},
      {"C:\\Image\\s\\", "C:\\Image\\s\\"},
      {"C:/Image/a.bmp", "C:/Image/"},
      {"C:\\Image/sub\\a", "C:\\Image/sub\\"},   // whichever separator comes last
      {"C:\\Image\\sub/a", "C:\\Image\\sub/"},
      {"Img_001.jpg", ""},
      {"C:Img", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_STREQ(SECFileSystem().GetPath(c.path), c.folder) << c.path;
}
