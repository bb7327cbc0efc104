// What the shell tells about a file, a folder or a drive.
#include <cstring>

#include "DrivePath.h"
#include "WinFile.h"
#include "WinShell.h"
#include "shell/ShellNames.h"

DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD, SHFILEINFOA* info, UINT size, UINT flags) {
  if (!path || !info || size < sizeof(SHFILEINFOA)) return 0;
  auto full = plat::shell::OnDiskPath(path);
  if (!full) return 0;
  std::memset(info, 0, sizeof *info);
  if (flags & SHGFI_DISPLAYNAME) {
    std::string name = full->size() <= 3 ? plat::shell::DriveDisplayName((*full)[0])
                                         : full->substr(full->find_last_of('\\') + 1);
    std::strncpy(info->szDisplayName, name.c_str(), sizeof info->szDisplayName - 1);
  }
  return 1;
}
