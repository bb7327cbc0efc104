// The Windows version the stand-in reports, and the Windows folders.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

#include "Config.h"
#include "DrivePath.h"
#include "Faults.h"
#include "LastError.h"
#include "WinError.h"
#include "WinSystem.h"
#include "kernel/TextCopy.h"

namespace {

struct Version {
  DWORD platform, major, minor, build;
};

DWORD PlatformId() {
  std::string p = plat::config::Get("PLATFORM", "NT");
  for (char& c : p) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (p == "NT") return VER_PLATFORM_WIN32_NT;
  if (p == "9X") return VER_PLATFORM_WIN32_WINDOWS;
  if (p == "WIN32S") return VER_PLATFORM_WIN32s;
  return static_cast<DWORD>(plat::config::GetInt("PLATFORM", VER_PLATFORM_WIN32_NT));  // any other id, as a number
}

// LUMORA_PLATFORM (NT, 9x, Win32s or a number) and LUMORA_WINVER ("major.minor.build");
// the default is Windows XP.
Version Configured() {
  Version v{PlatformId(), 5, 1, 2600};
  if (v.platform == VER_PLATFORM_WIN32_WINDOWS) v = {v.platform, 4, 10, 2222};  // Windows 98 SE
  std::string text = plat::config::Get("WINVER", "");
  unsigned major, minor, build;
  if (std::sscanf(text.c_str(), "%u.%u.%u", &major, &minor, &build) == 3) {
    v.major = major;
    v.minor = minor;
    v.build = build;
  }
  return v;
}

}  // namespace

BOOL GetVersionExA(LPOSVERSIONINFOA info) {
  if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  if (DWORD e = plat::faults::Check("GetVersionEx")) {
    SetLastError(e);
    return FALSE;
  }
  Version v = Configured();
  info->dwMajorVersion = v.major;
  info->dwMinorVersion = v.minor;
  info->dwPlatformId = v.platform;
  // Windows 9x keeps its version in the high word of the build number.
  info->dwBuildNumber = v.platform == VER_PLATFORM_WIN32_WINDOWS
                            ? ((v.major & 0xFF) << 24) | ((v.minor & 0xFF) << 16) | (v.build & 0xFFFF)
                            : v.build;
  std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  return TRUE;
}

DWORD GetVersion() {
  Version v = Configured();
  DWORD low = (v.major & 0xFF) | ((v.minor & 0xFF) << 8);
  DWORD high = v.platform == VER_PLATFORM_WIN32_NT ? (v.build & 0x7FFF) : 0x8000;
  return low | (high << 16);
}

namespace {
std::atomic<UINT> g_errorMode{0};
}  // namespace

UINT SetErrorMode(UINT mode) { return g_errorMode.exchange(mode); }

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) { return plat::CopyOrNeed(plat::path::kWindowsFolder, buffer, size); }

UINT GetSystemDirectoryA(LPSTR buffer, UINT size) { return plat::CopyOrNeed(plat::path::kSystemFolder, buffer, size); }
