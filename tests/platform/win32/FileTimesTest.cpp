#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <fstream>

#include "Clock.h"
#include "KeptTimes.h"
#include "TestEnv.h"
#include "windows.h"

namespace {

namespace fs = std::filesystem;

ULONGLONG Ticks(const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; }
FILETIME FromTicks(ULONGLONG v) { return FILETIME{DWORD(v), DWORD(v >> 32)}; }

constexpr ULONGLONG kUnixEpoch = 116444736000000000ull;

TEST(FileTimes, SystemTimeConversions) {
  struct Case {
    SYSTEMTIME st;  // wDayOfWeek as the conversion gives it
    ULONGLONG ticks;
  } cases[] = {
      {{1601, 1, 1, 1, 0, 0, 0, 0}, 0},
      {{1970, 1, 4, 1, 0, 0, 0, 0}, kUnixEpoch},
      {{2000, 2, 2, 29, 12, 34, 56, 789}, 125963012967890000ull},
      {{2026, 12, 4, 31, 23, 59, 59, 999}, 134432351999990000ull},
  };
  for (const auto& c : cases) {
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&c.st, &ft)) << c.st.wYear;
    EXPECT_EQ(Ticks(ft), c.ticks) << c.st.wYear;
    SYSTEMTIME back;
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
    EXPECT_EQ(0, memcmp(&back, &c.st, sizeof back)) << c.st.wYear << " day of week " << back.wDayOfWeek;
  }
  SYSTEMTIME bad[] = {
      {2001, 2, 0, 29, 0, 0, 0, 0}, {2000, 13, 0, 1, 0, 0, 0, 0}, {1600, 12, 0, 31, 0, 0, 0, 0},
      {2000, 1, 0, 1, 24, 0, 0, 0}, {2000, 4, 0, 31, 0, 0, 0, 0}, {2000, 1, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& st : bad) {
    FILETIME ft;
    EXPECT_FALSE(SystemTimeToFileTime(&st, &ft)) << st.wYear << "-" << st.wMonth << "-" << st.wDay;
  }
  FILETIME huge = FromTicks(0x8000000000000000ull);
  SYSTEMTIME st;
  EXPECT_FALSE(FileTimeToSystemTime(&huge, &st));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));

  FILETIME a = FromTicks(5), b = FromTicks(0x100000000ull);
  EXPECT_EQ(CompareFileTime(&a, &b), -1);
  EXPECT_EQ(CompareFileTime(&b, &a), 1);
  EXPECT_EQ(CompareFileTime(&a, &a), 0);
}

TEST(FileTimes, LocalTimeUsesTheZone) {
  setenv("TZ", "JST-9", 1);
  tzset();
  FILETIME utc = FromTicks(kUnixEpoch), local, back;
  ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
  EXPECT_EQ(Ticks(local) - Ticks(utc), 9ull * 3600 * 10000000);
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
  EXPECT_EQ(Ticks(back), Ticks(utc));
}

TEST(FileTimes, CreationTimeIsKeptApartFromWrites) {
  if (!CanKeepCreationTimes()) GTEST_SKIP() << "no user extended attributes here";
  fs::create_directories(testenv::DriveC() + "/Times");
  const int64_t created = 1700000000;  // seconds since 1970
  plat::clock::PinWall(created * 1000000);
  HANDLE h = CreateFileA("C:\\Times\\pic.jpg", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  plat::clock::PinWall(std::nullopt);
  DWORD n;
  ASSERT_TRUE(WriteFile(h, "data", 4, &n, nullptr));
  FILETIME c, a, w;
  ASSERT_TRUE(GetFileTime(h, &c, &a, &w));
  EXPECT_EQ(Ticks(c), kUnixEpoch + ULONGLONG(created) * 10000000);
  EXPECT_GT(Ticks(w), Ticks(c));  // the write happened now

  // Copying times from a picture to its thumbnail, as the file output does.
  FILETIME pictureCreated = FromTicks(kUnixEpoch + 1000 * 10000000ull);
  FILETIME pictureWritten = FromTicks(kUnixEpoch + 2000 * 10000000ull + 1234500);
  ASSERT_TRUE(SetFileTime(h, &pictureCreated, nullptr, &pictureWritten));
  CloseHandle(h);
  ASSERT_TRUE(MoveFileA("C:\\Times\\pic.jpg", "C:\\Times\\moved.jpg"));  // a move keeps both
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA("C:\\Times\\moved.jpg", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  FindClose(find);
  EXPECT_EQ(Ticks(data.ftCreationTime), Ticks(pictureCreated));
  EXPECT_EQ(Ticks(data.ftLastWriteTime), Ticks(pictureWritten));

  // A file made outside the stand-in has no kept creation time: its last write stands in.
  std::ofstream(testenv::DriveC() + "/Times/native.txt") << "x";
  h = CreateFileA("C:\\Times\\native.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(GetFileTime(h, &c, nullptr, &w));
  EXPECT_EQ(Ticks(c), Ticks(w));
  EXPECT_FALSE(SetFileTime(h, &pictureCreated, nullptr, nullptr));  // opened for reading only
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
  CloseHandle(h);
}

}  // namespace
