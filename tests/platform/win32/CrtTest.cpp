#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "Clock.h"
#include "Config.h"
#include "KeptTimes.h"
#include "TestEnv.h"
#include "direct.h"
#include "io.h"
#include "windows.h"

namespace {

namespace fs = std::filesystem;

TEST(Crt, SplitPath) {
  struct Case {
    const char* path;
    const char *drive, *dir, *fname, *ext;
  } cases[] = {
      {"C:\\Lumora\\Lumora.exe", "C:", "\\Lumora\\", "Lumora", ".exe"},
      {"d:/pics/a.b.jpg", "d:", "/pics/", "a.b", ".jpg"},
      {"setting", "", "", "setting", ""},
      {"setting.", "", "", "setting", "."},
      {"C:name.vex", "C:", "", "name", ".vex"},
      {"\\dir.x\\file", "", "\\dir.x\\", "file", ""},     // a dot in a folder is no extension
      {"C:\\dir\\.profile", "C:", "\\dir\\", "", ".profile"},
      {"C:\\Image\\", "C:", "\\Image\\", "", ""},
      {"", "", "", "", ""},
      {"C:\\写真\\記録.jpg", "C:", "\\写真\\", "記録", ".jpg"},
  };
  for (const auto& c : cases) {
    char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
    _splitpath(c.path, drive, dir, fname, ext);
    EXPECT_STREQ(drive, c.drive) << c.path;
    EXPECT_STREQ(dir, c.dir) << c.path;
    EXPECT_STREQ(fname, c.fname) << c.path;
    EXPECT_STREQ(ext, c.ext) << c.path;
  }
  char fname[_MAX_FNAME];
  _splitpath("C:\\x\\name.jpg", nullptr, nullptr, fname, nullptr);  // parts may be skipped
  EXPECT_STREQ(fname, "name");
}

TEST(Crt, SplitPathNeverCutsACharacter) {
  // 100 three-byte characters: 300 bytes do not fit the 256-byte name part.
  std::string name;
  for (int i = 0; i < 100; ++i) name += "写";
  char fname[_MAX_FNAME];
  _splitpath(("C:\\" + name + ".jpg").c_str(), nullptr, nullptr, fname, nullptr);
  EXPECT_EQ(std::strlen(fname), 255u);  // 85 whole characters
  EXPECT_EQ(std::string(fname), name.substr(0, 255));
}

TEST(Crt, MakePath) {
  struct Case {
    const char *drive, *dir, *fname, *ext, *path;
  } cases[] = {
      {"C:", "\\Lumora\\", "Lumora", "ini", "C:\\Lumora\\Lumora.ini"},
      {"C", "\\Lumora", "Lumora", ".ini", "C:\\Lumora\\Lumora.ini"},
      {"", "dir/", "a", "", "dir/a"},
      {nullptr, nullptr, "a", "b", "a.b"},
      {"D:", "", "x", nullptr, "D:x"},
  };
  for (const auto& c : cases) {
    char path[_MAX_PATH];
    _makepath(path, c.drive, c.dir, c.fname, c.ext);
    EXPECT_STREQ(path, c.path);
  }
}

TEST(Crt, FoldersAndCurrentFolder) {
  ASSERT_EQ(_mkdir("C:\\Crt"), 0);
  EXPECT_EQ(_mkdir("c:\\crt"), -1);
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(_mkdir("C:\\Crt\\a\\b"), -1);
  EXPECT_EQ(errno, ENOENT);
  ASSERT_EQ(_chdir("C:\\CRT"), 0);
  char buf[_MAX_PATH];
  ASSERT_NE(_getcwd(buf, sizeof buf), nullptr);
  EXPECT_STREQ(buf, "C:\\CRT");
  EXPECT_EQ(_getcwd(buf, 3), nullptr);
  EXPECT_EQ(errno, ERANGE);
  char* owned = _getcwd(nullptr, 0);
  ASSERT_NE(owned, nullptr);
  EXPECT_STREQ(owned, "C:\\CRT");
  free(owned);
  EXPECT_EQ(_mkdir("sub"), 0);  // relative to the current folder
  EXPECT_TRUE(fs::is_directory(testenv::DriveC() + "/Crt/sub"));
  char* full = _fullpath(nullptr, "sub\\..\\x.txt", _MAX_PATH);
  ASSERT_NE(full, nullptr);
  EXPECT_STREQ(full, "C:\\CRT\\x.txt");
  free(full);
  ASSERT_EQ(_chdir("C:\\"), 0);
  EXPECT_EQ(_getdrive(), 3);
  EXPECT_EQ(_rmdir("C:\\Crt\\Sub"), 0);
  EXPECT_EQ(_rmdir("C:\\Crt\\Sub"), -1);
  EXPECT_EQ(errno, ENOENT);
}

TEST(Crt, TheCurrentDriveFollowsTheCurrentFolder) {
  fs::create_directories(testenv::ScratchDir() + "/d");
  plat::config::Set("DRIVES", "D=" + testenv::ScratchDir() + "/d");
  ASSERT_EQ(_chdir("D:\\"), 0);
  EXPECT_EQ(_getdrive(), 4);
  ASSERT_EQ(_chdir("C:\\"), 0);
  EXPECT_EQ(_getdrive(), 3);
  plat::config::Set("DRIVES", std::nullopt);
}

TEST(Crt, StatAccessAndTheNulDevice) {
  fs::create_directories(testenv::DriveC() + "/St/Dir");
  plat::clock::PinWall(int64_t(1600000000) * 1000000);
  HANDLE h = CreateFileA("C:\\St\\f.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  plat::clock::PinWall(std::nullopt);
  DWORD n;
  WriteFile(h, "12345", 5, &n, nullptr);
  CloseHandle(h);

  struct _stat st;
  ASSERT_EQ(_stat("c:\\st\\F.TXT", &st), 0);
  EXPECT_EQ(st.st_size, 5);
  EXPECT_EQ(st.st_mode, _S_IFREG | 0666);  // read and write for all, no execute
  if (CanKeepCreationTimes()) {
    EXPECT_EQ(st.st_ctime, 1600000000);  // the creation time, kept apart
  }
  EXPECT_GE(st.st_mtime, st.st_ctime);
  EXPECT_EQ(st.st_dev, 2u);  // C:

  struct Case {
    const char* path;
    int statRc;
    unsigned type;
  } cases[] = {
      {"C:\\St\\Dir", 0, _S_IFDIR},   {"C:\\St\\Dir\\", 0, _S_IFDIR}, {"C:\\", 0, _S_IFDIR},
      {"C:\\St\\NUL", 0, _S_IFCHR},   {"C:\\St\\Dir\\nul", 0, _S_IFCHR},
      {"C:\\Gone\\NUL", -1, 0},       {"C:\\St\\none.txt", -1, 0},    {"C:\\St\\*.txt", -1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(_stat(c.path, &st), c.statRc) << c.path;
    EXPECT_EQ(_access(c.path, 0), c.statRc) << c.path;
    if (c.statRc == 0) {
      EXPECT_EQ(st.st_mode & _S_IFMT, c.type) << c.path;
    } else {
      EXPECT_EQ(errno, ENOENT) << c.path;
    }
  }
  ASSERT_TRUE(SetFileAttributesA("C:\\St\\f.txt", FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(_access("C:\\St\\f.txt", 4), 0);
  EXPECT_EQ(_access("C:\\St\\f.txt", 2), -1);
  EXPECT_EQ(errno, EACCES);
  ASSERT_EQ(_stat("C:\\St\\f.txt", &st), 0);
  EXPECT_EQ(st.st_mode & _S_IWRITE, 0);
}

TEST(Crt, FindFirstListsWithAttributes) {
  fs::create_directories(testenv::DriveC() + "/Fd/Sub");
  std::ofstream(testenv::DriveC() + "/Fd/b.jpg") << "abc";
  struct _finddata_t data;
  intptr_t h = _findfirst("C:\\Fd\\*", &data);
  ASSERT_NE(h, -1);
  std::vector<std::pair<std::string, unsigned>> seen{{data.name, data.attrib}};
  while (_findnext(h, &data) == 0) seen.emplace_back(data.name, data.attrib);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(_findclose(h), 0);
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, unsigned>>{
                      {".", _A_SUBDIR}, {"..", _A_SUBDIR}, {"b.jpg", _A_ARCH}, {"Sub", _A_SUBDIR}}));
  EXPECT_EQ(_findfirst("C:\\Fd\\*.bmp", &data), -1);
  EXPECT_EQ(errno, ENOENT);

  // The file output's folder test and folder maker: "folder\NUL" found means the folder exists.
  auto folderExists = [](const std::string& folder) {
    struct _finddata_t d;
    intptr_t f = _findfirst((folder + (folder.back() == '\\' ? "NUL" : "\\NUL")).c_str(), &d);
    if (f == -1) return false;
    _findclose(f);
    return true;
  };
  EXPECT_TRUE(folderExists("C:\\Fd"));
  EXPECT_TRUE(folderExists("C:\\Fd\\"));
  EXPECT_TRUE(folderExists("C:"));
  EXPECT_FALSE(folderExists("C:\\Fd\\New"));
  std::string target = "C:\\Fd\\New\\Deeper\\";
  for (size_t at = target.find('\\'); at != std::string::npos; at = target.find('\\', at + 1)) {
    if (!folderExists(target.substr(0, at))) {
      ASSERT_EQ(_mkdir(target.substr(0, at).c_str()), 0) << at;
    }
  }
  EXPECT_TRUE(fs::is_directory(testenv::DriveC() + "/Fd/New/Deeper"));
}

}  // namespace
