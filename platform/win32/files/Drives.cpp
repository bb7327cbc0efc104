// The drive letters of the drive mapping and the kind of each drive.
#include <sys/vfs.h>

#include <cctype>
#include <cstring>
#include <string>

#include "Config.h"
#include "DrivePath.h"
#include "WinFile.h"

namespace {

// File-system magic numbers (statfs) that tell optical discs and network shares apart.
constexpr long kIso9660 = 0x9660;
constexpr long kUdf = 0x15013346;
constexpr long kNfs = 0x6969;
constexpr long kSmb = 0x517B;
constexpr long kCifs = 0xFF534D42;
constexpr long kSmb2 = 0xFE534D42;

UINT TypeOfFolder(const std::string& native) {
  struct statfs fs {};
  if (statfs(native.c_str(), &fs) != 0) return DRIVE_NO_ROOT_DIR;
  auto magic = static_cast<long>(fs.f_type);
  if (magic == kIso9660 || magic == kUdf) return DRIVE_CDROM;
  if (magic == kNfs || magic == kSmb || magic == kCifs || magic == kSmb2) return DRIVE_REMOTE;
  return DRIVE_FIXED;
}

}  // namespace

DWORD GetLogicalDrives() {
  DWORD mask = 0;
  for (char letter = 'A'; letter <= 'Z'; ++letter)
    if (plat::path::DriveRoot(letter)) mask |= 1u << (letter - 'A');
  return mask;
}

DWORD GetLogicalDriveStringsA(DWORD size, LPSTR buffer) {
  std::string all;
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i)
    if (mask & (1u << i)) {
      all += static_cast<char>('A' + i);
      all += ":\\";
      all += '\0';
    }
  // Too small a buffer gets nothing and learns the size it needs (with the final NUL).
  auto needed = static_cast<DWORD>(all.size() + 1);
  if (!buffer || size < needed) return needed;
  std::memcpy(buffer, all.data(), all.size());
  buffer[all.size()] = '\0';
  return static_cast<DWORD>(all.size());
}

UINT GetDriveTypeA(LPCSTR root) {
  std::string r = root ? root : "";
  if (r.empty()) r = plat::path::CurrentFolder().substr(0, 3);
  // Only a drive's root is a root: "C:\", "C:" or "C:/".
  bool isRoot = r.size() >= 2 && r[1] == ':' && (r.size() == 2 || (r.size() == 3 && (r[2] == '\\' || r[2] == '/')));
  if (!isRoot) return DRIVE_NO_ROOT_DIR;
  auto native = plat::path::DriveRoot(r[0]);
  if (!native) return DRIVE_NO_ROOT_DIR;
  // LUMORA_CDROM_DRIVES ("DE") names mapped letters that act as optical drives, so the
  // skipping of CD-ROM drives can be seen without a disc.
  if (auto cd = plat::config::Find("CDROM_DRIVES"); cd && cd->find(static_cast<char>(std::toupper(static_cast<unsigned char>(r[0])))) != std::string::npos)
    return DRIVE_CDROM;
  if (r[0] == 'C' || r[0] == 'c') return DRIVE_FIXED;  // the program's own drive, wherever it lives
  return TypeOfFolder(native->empty() ? "/" : *native);
}
