// Item id lists of file-system folders and files: one id holding the Windows path.
#pragma once
#include <optional>
#include <string>

#include "WinShellFolders.h"

namespace plat::shell {

// A new list (task allocator) for a full Windows path; null when out of memory.
LPITEMIDLIST MakeIdList(const std::string& path);
// The path a list names; nullopt for an empty (desktop) or foreign list.
std::optional<std::string> PathOfIdList(LPCITEMIDLIST list);

}  // namespace plat::shell
