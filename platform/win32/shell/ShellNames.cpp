#include "ShellNames.h"

#include <sys/stat.h>

#include "DrivePath.h"
#include "WinFile.h"

namespace plat::shell {

std::string DriveDisplayName(char letter) {
  std::string root = std::string(1, letter) + ":\\";
  const char* kind = "Local Disk";
  switch (GetDriveTypeA(root.c_str())) {
    case DRIVE_CDROM: kind = "CD Drive"; break;
    case DRIVE_REMOTE: kind = "Network Drive"; break;
    default: break;
  }
  return std::string(kind) + " (" + std::string(1, letter) + ":)";
}

std::vector<std::string> DriveRoots() {
  std::vector<std::string> roots;
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i)
    if (mask & (1u << i)) roots.push_back(std::string(1, static_cast<char>('A' + i)) + ":\\");
  return roots;
}

std::optional<std::string> OnDiskPath(const std::string& path) {
  auto full = plat::path::FullPath(path);
  if (!full) return std::nullopt;
  auto native = plat::path::ToNative(*full);
  struct stat st {};
  if (!native || stat(native->c_str(), &st) != 0) return std::nullopt;
  // A drive root keeps its own letter even where drives share a folder.
  return full->size() <= 3 ? *full : plat::path::ToWindows(*native);
}

}  // namespace plat::shell
