#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Config.h"
#include "DrivePath.h"
#include "Faults.h"
#include "TestEnv.h"
#include "windows.h"

namespace {

namespace fs = std::filesystem;

std::string OnDisk(const std::string& rel) { return testenv::DriveC() + "/" + rel; }

void Put(const std::string& rel, const std::string& text) {
  fs::create_directories(fs::path(OnDisk(rel)).parent_path());
  std::ofstream(OnDisk(rel), std::ios::binary) << text;
}

std::string Get(const std::string& rel) {
  std::ifstream in(OnDisk(rel), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class Files : public testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(OnDisk("T"));
    fs::create_directories(OnDisk("T"));
    plat::faults::DisarmAll();
  }
};

TEST_F(Files, DispositionsFollowWindows) {
  struct Case {
    bool exists;
    DWORD disposition;
    bool opens;
    DWORD error;    // last error after the call
    const char* after;  // content afterwards
  } cases[] = {
      {false, CREATE_NEW, true, 0, ""},
      {true, CREATE_NEW, false, ERROR_FILE_EXISTS, "old"},
      {false, CREATE_ALWAYS, true, 0, ""},
      {true, CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
      {false, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
      {true, OPEN_EXISTING, true, 0, "old"},
      {false, OPEN_ALWAYS, true, 0, ""},
      {true, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "old"},
      {false, TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
      {true, TRUNCATE_EXISTING, true, 0, ""},
  };
  for (const auto& c : cases) {
    std::error_code ec;
    fs::remove(OnDisk("T/d.bin"), ec);
    if (c.exists) Put("T/d.bin", "old");
    SetLastError(1234);
    HANDLE h = CreateFileA("C:\\T\\d.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, c.disposition, 0, nullptr);
    SCOPED_TRACE(testing::Message() << "exists " << c.exists << " disposition " << c.disposition);
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens);
    EXPECT_EQ(GetLastError(), c.error);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    if (c.after) {
      EXPECT_EQ(Get("T/d.bin"), c.after);
    } else {
      EXPECT_FALSE(fs::exists(OnDisk("T/d.bin")));
    }
  }
}

TEST_F(Files, ReadWriteSeekAndTruncate) {
  HANDLE h = CreateFileA("C:/t/data.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  ASSERT_TRUE(WriteFile(h, "hello world", 11, &n, nullptr));
  EXPECT_EQ(n, 11u);
  EXPECT_EQ(SetFilePointer(h, -5, nullptr, FILE_END), 6u);
  char buf[16] = {};
  ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));
  EXPECT_EQ(std::string(buf, n), "world");
  ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));  // at the end: success, nothing read
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(SetFilePointer(h, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_NEGATIVE_SEEK));
  LONG high = 0;
  EXPECT_EQ(SetFilePointer(h, 5, &high, FILE_BEGIN), 5u);
  ASSERT_TRUE(SetEndOfFile(h));
  DWORD sizeHigh = 7;
  EXPECT_EQ(GetFileSize(h, &sizeHigh), 5u);
  EXPECT_EQ(sizeHigh, 0u);
  EXPECT_TRUE(FlushFileBuffers(h));
  ASSERT_TRUE(CloseHandle(h));
  EXPECT_EQ(Get("T/data.bin"), "hello");
  EXPECT_FALSE(ReadFile(h, buf, 1, &n, nullptr));  // the handle is gone
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST_F(Files, AccessRightsAndSharing) {
  Put("T/s.txt", "abc");
  HANDLE reader = CreateFileA("C:\\T\\S.TXT", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  DWORD n;
  EXPECT_FALSE(WriteFile(reader, "x", 1, &n, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
  // A writer is refused while the reader shares only reading; another reader is fine.
  EXPECT_EQ(CreateFileA("C:\\T\\s.txt", GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
  // A refused CREATE_ALWAYS must not have emptied the file.
  EXPECT_EQ(CreateFileA("C:\\T\\s.txt", GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(Get("T/s.txt"), "abc");
  HANDLE second = CreateFileA("C:\\T\\s.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(second, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFileA("C:\\T\\s.txt"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
  CloseHandle(second);
  CloseHandle(reader);
  EXPECT_TRUE(DeleteFileA("C:\\T\\s.txt"));
}

TEST_F(Files, ReadOnlyAttributeProtectsTheFile) {
  Put("T/ro.txt", "keep");
  EXPECT_EQ(GetFileAttributesA("C:\\T\\ro.txt"), DWORD(FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(SetFileAttributesA("C:\\T\\ro.txt", FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(GetFileAttributesA("C:\\T\\ro.txt"), DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(CreateFileA("C:\\T\\ro.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(DeleteFileA("C:\\T\\ro.txt"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(CopyFileA("C:\\Lumora\\..\\T\\ro.txt", "C:\\T\\ro.txt", FALSE));
  ASSERT_TRUE(SetFileAttributesA("C:\\T\\ro.txt", FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(DeleteFileA("C:\\T\\ro.txt"));
  EXPECT_EQ(GetFileAttributesA("C:\\T"), DWORD(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(GetFileAttributesA("C:\\T\\ro.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(GetFileAttributesA("C:\\T\\none\\ro.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
}

TEST_F(Files, FoldersAndTheNulDevice) {
  ASSERT_TRUE(CreateDirectoryA("C:\\T\\New", nullptr));
  EXPECT_FALSE(CreateDirectoryA("c:\\t\\new", nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(CreateDirectoryA("C:\\T\\a\\b", nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
  // "folder\NUL" opens exactly when the folder exists.
  HANDLE nul = CreateFileA("C:\\T\\New\\NUL", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(nul, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  EXPECT_TRUE(WriteFile(nul, "gone", 4, &n, nullptr));
  EXPECT_EQ(n, 4u);
  CloseHandle(nul);
  EXPECT_EQ(CreateFileA("C:\\T\\Old\\NUL", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  Put("T/New/f.txt", "x");
  EXPECT_FALSE(RemoveDirectoryA("C:\\T\\New"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_DIR_NOT_EMPTY));
  EXPECT_FALSE(RemoveDirectoryA("C:\\T\\New\\f.txt"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_DIRECTORY));
  EXPECT_EQ(CreateFileA("C:\\T\\New", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(DeleteFileA("C:\\T\\New\\F.TXT"));
  EXPECT_TRUE(RemoveDirectoryA("C:\\T\\New"));
  EXPECT_FALSE(fs::exists(OnDisk("T/New")));
}

TEST_F(Files, MoveAndCopy) {
  Put("T/a.txt", "A");
  Put("T/b.txt", "B");
  EXPECT_FALSE(MoveFileA("C:\\T\\a.txt", "C:\\T\\B.TXT"));  // never replaces
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(MoveFileExA("C:\\T\\a.txt", "C:\\T\\B.TXT", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(Get("T/b.txt"), "A");
  EXPECT_FALSE(fs::exists(OnDisk("T/a.txt")));
  EXPECT_TRUE(MoveFileA("C:\\T\\b.txt", "C:\\T\\Big.TXT"));  // a change of case alone
  EXPECT_TRUE(fs::exists(OnDisk("T/Big.TXT")));

  EXPECT_TRUE(CopyFileA("C:\\T\\big.txt", "C:\\T\\c.txt", TRUE));
  EXPECT_EQ(Get("T/c.txt"), "A");
  EXPECT_FALSE(CopyFileA("C:\\T\\big.txt", "C:\\T\\c.txt", TRUE));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_EXISTS));
  EXPECT_FALSE(CopyFileA("C:\\T\\missing.txt", "C:\\T\\d.txt", FALSE));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  // The copy keeps the last-write time.
  fs::last_write_time(OnDisk("T/Big.TXT"), fs::file_time_type::clock::now() - std::chrono::hours(48));
  EXPECT_TRUE(CopyFileA("C:\\T\\big.txt", "C:\\T\\c.txt", FALSE));
  EXPECT_EQ(fs::last_write_time(OnDisk("T/c.txt")), fs::last_write_time(OnDisk("T/Big.TXT")));
}

TEST_F(Files, FailedWritesLeaveTheOldFileIntact) {
  Put("T/keep.txt", "original");
  Put("T/src.txt", "replacement");
  {
    plat::faults::Scope full("WriteFile", ERROR_DISK_FULL);
    EXPECT_FALSE(CopyFileA("C:\\T\\src.txt", "C:\\T\\keep.txt", FALSE));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DISK_FULL));
    HANDLE h = CreateFileA("C:\\T\\keep.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 9;
    EXPECT_FALSE(WriteFile(h, "xx", 2, &n, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DISK_FULL));
    EXPECT_EQ(n, 0u);
    CloseHandle(h);
  }
  EXPECT_EQ(Get("T/keep.txt"), "original");
  for (auto& e : fs::directory_iterator(OnDisk("T")))  // no temporary files left behind
    EXPECT_TRUE(e.path().filename() == "keep.txt" || e.path().filename() == "src.txt") << e.path();

  struct Point {
    const char* name;
    std::function<BOOL()> call;
  } points[] = {
      {"CreateFileA", [] { return CreateFileA("C:\\T\\n", GENERIC_READ, 0, 0, CREATE_NEW, 0, 0) != INVALID_HANDLE_VALUE; }},
      {"MoveFileA", [] { return MoveFileA("C:\\T\\src.txt", "C:\\T\\m.txt"); }},
      {"CreateDirectoryA", [] { return CreateDirectoryA("C:\\T\\D", nullptr); }},
      {"DeleteFileA", [] { return DeleteFileA("C:\\T\\src.txt"); }},
      {"CopyFileA", [] { return CopyFileA("C:\\T\\src.txt", "C:\\T\\c.txt", FALSE); }},
  };
  for (auto& p : points) {
    plat::faults::Scope fault(p.name, ERROR_WRITE_PROTECT);
    EXPECT_FALSE(p.call()) << p.name;
    EXPECT_EQ(GetLastError(), DWORD(ERROR_WRITE_PROTECT)) << p.name;
  }
  EXPECT_EQ(Get("T/src.txt"), "replacement");
}

TEST_F(Files, NamesAndCurrentFolder) {
  Put("T/Long File Name.jpeg", "x");
  Put("T/Long File Other.jpeg", "x");
  Put("T/short.txt", "x");
  char buf[MAX_PATH];
  ASSERT_TRUE(SetCurrentDirectoryA("c:\\t"));
  EXPECT_EQ(GetCurrentDirectoryA(sizeof buf, buf), 4u);
  EXPECT_STREQ(buf, "C:\\t");
  EXPECT_EQ(GetCurrentDirectoryA(3, buf), 5u);  // too small: the size needed

  LPSTR part = nullptr;
  EXPECT_EQ(GetFullPathNameA("..\\x\\.\\pic.bmp", sizeof buf, buf, &part), 12u);
  EXPECT_STREQ(buf, "C:\\x\\pic.bmp");
  EXPECT_STREQ(part, "pic.bmp");

  EXPECT_GT(GetShortPathNameA("C:\\T\\long file other.jpeg", buf, sizeof buf), 0u);
  EXPECT_STREQ(buf, "C:\\T\\LONGFI~2.JPE");
  EXPECT_GT(GetShortPathNameA("C:\\T\\Long File Name.jpeg", buf, sizeof buf), 0u);
  EXPECT_STREQ(buf, "C:\\T\\LONGFI~1.JPE");
  EXPECT_GT(GetShortPathNameA("short.txt", buf, sizeof buf), 0u);
  EXPECT_STREQ(buf, "C:\\T\\short.txt");
  EXPECT_EQ(GetShortPathNameA("C:\\T\\none.txt", buf, sizeof buf), 0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));

  struct Title {
    const char* in;
    short rc;
    const char* title;
  } titles[] = {
      {"C:\\Image\\Img_0001.jpg", 0, "Img_0001.jpg"}, {"a/b.c", 0, "b.c"},   {"D:x.tif", 0, "x.tif"},
      {"C:\\Image\\", -1, nullptr},                   {"*.jpg", -1, nullptr}, {"", -1, nullptr},
  };
  for (const auto& t : titles) {
    char title[32] = {};
    EXPECT_EQ(GetFileTitleA(t.in, title, sizeof title), t.rc) << t.in;
    if (t.title) {
      EXPECT_STREQ(title, t.title) << t.in;
    }
  }
  char tiny[4];
  EXPECT_EQ(GetFileTitleA("C:\\x\\name.jpg", tiny, sizeof tiny), 9);
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\Lumora"));
}

TEST_F(Files, DiskSpaceHook) {
  ULARGE_INTEGER avail, total, free;
  ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &avail, &total, &free));
  EXPECT_GT(total.QuadPart, 0u);
  plat::config::Set("DISK_FREE", "12345");
  ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &avail, &total, &free));
  EXPECT_EQ(avail.QuadPart, 12345u);
  EXPECT_EQ(free.QuadPart, 12345u);
  DWORD spc, bps, freeClusters, totalClusters;
  ASSERT_TRUE(GetDiskFreeSpaceA(nullptr, &spc, &bps, &freeClusters, &totalClusters));
  EXPECT_EQ(uint64_t(spc) * bps * freeClusters, 12288u);  // whole clusters
  plat::config::Set("DISK_FREE", std::nullopt);
  EXPECT_FALSE(GetDiskFreeSpaceExA("Q:\\", &avail, &total, &free));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
  plat::faults::Scope fault("GetDiskFreeSpaceExA", ERROR_NOT_READY);
  EXPECT_FALSE(GetDiskFreeSpaceExA("C:\\", &avail, &total, &free));
}

}  // namespace
