#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Config.h"
#include "DrivePath.h"
#include "TestEnv.h"
#include "WinError.h"
#include "WinFile.h"

namespace {

namespace fs = std::filesystem;
namespace path = plat::path;

class DrivePath : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(path::SetCurrentFolder("C:\\Lumora")); }
  void TearDown() override {
    plat::config::Set("DRIVES", std::nullopt);
    plat::config::Set("CDROM_DRIVES", std::nullopt);
  }
};

TEST_F(DrivePath, FullPathResolvesAgainstCurrentFolder) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"a.ini", "C:\\Lumora\\a.ini"},
      {".\\x\\..\\b.txt", "C:\\Lumora\\b.txt"},
      {"..\\WINDOWS\\Vexcam.INI", "C:\\WINDOWS\\Vexcam.INI"},
      {"\\Image\\p.jpg", "C:\\Image\\p.jpg"},
      {"c:/Image//p.jpg", "C:\\Image\\p.jpg"},
      {"C:sub\\f", "C:\\Lumora\\sub\\f"},   // drive-relative on the current drive
      {"D:sub\\f", "D:\\sub\\f"},           // other drives start at their root
      {"C:\\..\\..\\x", "C:\\x"},           // ".." never climbs above the root
      {"C:\\dir\\", "C:\\dir\\"},           // a trailing separator is kept
      {"C:\\name. . \\b", "C:\\name\\b"},   // trailing dots and blanks dropped
      {"C:\\a\\.", "C:\\a"},
      {"z:", "Z:\\"},
      {"\\\\.\\KQPCI1", "\\\\.\\KQPCI1"},  // devices stay as they are
  };
  for (const auto& c : cases) {
    auto full = path::FullPath(c.in);
    ASSERT_TRUE(full) << c.in;
    EXPECT_EQ(*full, c.out) << c.in;
  }
}

TEST_F(DrivePath, MalformedPathsAreRefused) {
  struct Case {
    const char* in;
    DWORD error;
  } cases[] = {
      {"", ERROR_INVALID_NAME},
      {"1:\\x", ERROR_INVALID_NAME},
      {"C:\\a|b", ERROR_INVALID_NAME},
      {"C:\\a\"b", ERROR_INVALID_NAME},
      {"\\\\server\\share\\f", ERROR_BAD_PATHNAME},
  };
  for (const auto& c : cases) {
    DWORD error = 0;
    EXPECT_FALSE(path::FullPath(c.in, &error)) << c.in;
    EXPECT_EQ(error, c.error) << c.in;
  }
  DWORD error = 0;
  EXPECT_FALSE(path::ToNative("Q:\\x", &error));  // drive not mapped
  EXPECT_EQ(error, ERROR_PATH_NOT_FOUND);
}

TEST_F(DrivePath, DriveCHoldsTheStandardFolders) {
  auto root = path::DriveRoot('c');
  ASSERT_TRUE(root);
  EXPECT_EQ(*root, testenv::DriveC());
  EXPECT_TRUE(fs::is_directory(*root + "/Lumora"));
  EXPECT_TRUE(fs::is_directory(*root + "/WINDOWS/SYSTEM32"));
  EXPECT_EQ(path::DriveRoot('Z'), "/");
  EXPECT_FALSE(path::DriveRoot('Q'));
  EXPECT_EQ(path::ToNative("C:\\WINDOWS\\SYSTEM32"), testenv::DriveC() + "/WINDOWS/SYSTEM32");
  EXPECT_EQ(path::ToNative("Z:\\tmp"), "/tmp");
}

TEST_F(DrivePath, OpeningIgnoresTheCaseOfEveryName) {
  fs::create_directories(testenv::DriveC() + "/Image/Sub");
  std::ofstream(testenv::DriveC() + "/Image/Sub/Pic.JPG") << "x";
  EXPECT_EQ(path::ToNative("c:\\IMAGE\\sub\\pic.jpg"), testenv::DriveC() + "/Image/Sub/Pic.JPG");
  // Names that do not exist yet keep the case they were given; parents still match.
  EXPECT_EQ(path::ToNative("C:\\image\\NEW\\x.Txt"), testenv::DriveC() + "/Image/NEW/x.Txt");
  // Two names differing only in case: the exact one wins, else a stable choice.
  std::ofstream(testenv::DriveC() + "/Image/pic.jpg") << "y";
  EXPECT_EQ(path::ToNative("C:\\Image\\Sub\\..\\pic.jpg"), testenv::DriveC() + "/Image/pic.jpg");
  EXPECT_EQ(path::ToNative("C:\\Image\\PIC.jpg"), testenv::DriveC() + "/Image/pic.jpg");
}

TEST_F(DrivePath, ConfiguredDrivesMapBothWays) {
  std::string d = testenv::ScratchDir() + "/drive_d";
  fs::create_directories(d + "/Data");
  plat::config::Set("DRIVES", "D=" + d + "/;E=/nonexistent;bad");
  EXPECT_EQ(path::ToNative("d:\\data\\f.bmp"), d + "/Data/f.bmp");
  EXPECT_EQ(path::ToWindows(d + "/Data/f.bmp"), "D:\\Data\\f.bmp");
  EXPECT_EQ(path::ToWindows(d), "D:\\");
  // The deepest mapping wins: drive C: lies below Z:'s "/".
  EXPECT_EQ(path::ToWindows(testenv::DriveC() + "/Lumora/Lumora.ini"), "C:\\Lumora\\Lumora.ini");
  EXPECT_EQ(path::ToWindows("/usr/share"), "Z:\\usr\\share");
  EXPECT_EQ(path::ToWindows("/"), "Z:\\");
}

TEST_F(DrivePath, DrivesNamedAsOpticalReportThemselvesAsCdRoms) {
  std::string d = testenv::ScratchDir() + "/drive_d";
  fs::create_directories(d);
  plat::config::Set("DRIVES", "D=" + d);
  EXPECT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_FIXED));
  plat::config::Set("CDROM_DRIVES", "DZ");
  const struct {
    const char* root;
    UINT type;
  } cases[] = {{"D:\\", DRIVE_CDROM}, {"d:", DRIVE_CDROM}, {"Z:\\", DRIVE_CDROM}, {"C:\\", DRIVE_FIXED},
               {"E:\\", DRIVE_NO_ROOT_DIR}, {"D:\\Data", DRIVE_NO_ROOT_DIR}};
  for (const auto& c : cases) EXPECT_EQ(GetDriveTypeA(c.root), c.type) << c.root;
}

TEST_F(DrivePath, CurrentFolderFollowsSetCurrentDirectory) {
  EXPECT_EQ(path::CurrentFolder(), "C:\\Lumora");
  fs::create_directories(testenv::DriveC() + "/Work");
  std::ofstream(testenv::DriveC() + "/Work/file.txt") << "x";
  ASSERT_TRUE(path::SetCurrentFolder("c:\\work\\"));
  EXPECT_EQ(path::CurrentFolder(), "C:\\work");
  EXPECT_EQ(path::ToNative("file.txt"), testenv::DriveC() + "/Work/file.txt");

  DWORD error = 0;
  EXPECT_FALSE(path::SetCurrentFolder("C:\\missing", &error));
  EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(path::SetCurrentFolder("C:\\Work\\file.txt", &error));
  EXPECT_EQ(error, ERROR_DIRECTORY);
  EXPECT_EQ(path::CurrentFolder(), "C:\\work");
}

TEST_F(DrivePath, ProgramTakesItsNativeWorkingFolder) {
  const fs::path before = fs::current_path();
  const std::string d = fs::canonical(testenv::ScratchDir()).string() + "/medium";
  fs::create_directories(d + "/Disk 1");
  fs::create_directories(d + "/odd:name");
  plat::config::Set("DRIVES", "D=" + d);
  struct Case {
    std::string native;
    const char* folder;
  };
  const Case cases[] = {
      {d, "D:\\"},  // the root of a mapped drive
      {d + "/Disk 1", "D:\\Disk 1"},
      {"/usr", "Z:\\usr"},  // everything else is on Z:
  };
  for (const Case& c : cases) {
    fs::current_path(c.native);
    EXPECT_TRUE(path::AdoptNativeWorkingFolder()) << c.native;
    EXPECT_EQ(path::CurrentFolder(), c.folder);
  }
  // A native name that Windows cannot spell leaves the current folder as it was.
  fs::current_path(d + "/odd:name");
  DWORD error = 0;
  EXPECT_FALSE(path::AdoptNativeWorkingFolder(&error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_NAME));
  EXPECT_EQ(path::CurrentFolder(), "Z:\\usr");
  fs::current_path(before);
}

TEST_F(DrivePath, DeviceAndNulNames) {
  EXPECT_EQ(path::DeviceName("\\\\.\\kq2pci"), "kq2pci");
  EXPECT_EQ(path::DeviceName("//./KQPCI1"), "KQPCI1");
  EXPECT_FALSE(path::DeviceName("C:\\x"));
  EXPECT_FALSE(path::DeviceName("\\\\.\\"));
  for (const char* p : {"C:\\Image\\NUL", "C:\\Image\\nul", "nul.txt", "C:NUL", "x/Nul "})
    EXPECT_TRUE(path::IsNulDevice(p)) << p;
  for (const char* p : {"C:\\Image\\NULL", "C:\\NUL\\x", "annul"}) EXPECT_FALSE(path::IsNulDevice(p)) << p;
}

}  // namespace
