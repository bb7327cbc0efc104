#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Config.h"
#include "Faults.h"
#include "KernelFixtures.h"
#include "windows.h"

namespace {

using kerneltest::Setting;

OSVERSIONINFOA Query(BOOL* ok) {
  OSVERSIONINFOA info;
  std::memset(&info, 0, sizeof info);
  info.dwOSVersionInfoSize = 148;
  *ok = GetVersionExA(&info);
  return info;
}

TEST(Version, ReportsTheConfiguredWindows) {
  struct Case {
    const char* platform;
    const char* winver;
    DWORD id, major, minor, build;
  };
  const Case cases[] = {
      {"", "", VER_PLATFORM_WIN32_NT, 5, 1, 2600},  // Windows XP by default
      {"NT", "5.0.2195", VER_PLATFORM_WIN32_NT, 5, 0, 2195},
      {"nt", "4.0.1381", VER_PLATFORM_WIN32_NT, 4, 0, 1381},
      // Windows 9x keeps major and minor in the build number's high word.
      {"9x", "", VER_PLATFORM_WIN32_WINDOWS, 4, 10, 0x040A08AE},
      {"9x", "4.0.950", VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0x040003B6},
      {"Win32s", "3.10.0", VER_PLATFORM_WIN32s, 3, 10, 0},
      {"3", "", 3, 5, 1, 2600},
  };
  for (const Case& c : cases) {
    Setting platform("PLATFORM", c.platform);
    Setting winver("WINVER", c.winver);
    BOOL ok;
    OSVERSIONINFOA v = Query(&ok);
    ASSERT_TRUE(ok) << c.platform;
    EXPECT_EQ(v.dwPlatformId, c.id) << c.platform << " " << c.winver;
    EXPECT_EQ(v.dwMajorVersion, c.major) << c.platform << " " << c.winver;
    EXPECT_EQ(v.dwMinorVersion, c.minor) << c.platform << " " << c.winver;
    EXPECT_EQ(v.dwBuildNumber, c.build) << c.platform << " " << c.winver;
    EXPECT_EQ(v.szCSDVersion[0], '\0');
  }
}

TEST(Version, RefusesAWrongRecordSizeAndReportsInjectedFailure) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = 100;
  SetLastError(0);
  EXPECT_FALSE(GetVersionExA(&info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_FALSE(GetVersionExA(nullptr));

  plat::faults::Scope fail("GetVersionEx", ERROR_ACCESS_DENIED);
  BOOL ok;
  Query(&ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(Version, PacksTheVersionIntoOneNumber) {
  struct Case {
    const char* platform;
    const char* winver;
    DWORD version;
  };
  const Case cases[] = {
      {"", "", 0x0A280105},  // XP: 5.1, build 2600 in the high word
      {"NT", "4.0.1381", 0x05650004},
      {"9x", "", 0x80000A04},  // the 9x family sets the top bit instead of a build
      {"Win32s", "3.10.0", 0x80000A03},
  };
  for (const Case& c : cases) {
    Setting platform("PLATFORM", c.platform);
    Setting winver("WINVER", c.winver);
    EXPECT_EQ(GetVersion(), c.version) << c.platform << " " << c.winver;
  }
}

TEST(Version, TheErrorModeIsKeptAndTheOldOneReturned) {
  const UINT before = SetErrorMode(SEM_FAILCRITICALERRORS);
  EXPECT_EQ(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX), static_cast<UINT>(SEM_FAILCRITICALERRORS));
  EXPECT_EQ(SetErrorMode(before), static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
}

TEST(Version, WindowsFoldersAnswerLikeWindows) {
  char buf[MAX_PATH];
  EXPECT_EQ(GetWindowsDirectoryA(buf, sizeof buf), 10u);
  EXPECT_STREQ(buf, "C:\\WINDOWS");
  EXPECT_EQ(GetSystemDirectoryA(buf, sizeof buf), 19u);
  EXPECT_STREQ(buf, "C:\\WINDOWS\\SYSTEM32");
  // Too small: the size needed, terminator included, and nothing written.
  char small[5] = "keep";
  EXPECT_EQ(GetWindowsDirectoryA(small, sizeof small), 11u);
  EXPECT_STREQ(small, "keep");
  EXPECT_EQ(GetWindowsDirectoryA(buf, 10), 11u);
}

}  // namespace
