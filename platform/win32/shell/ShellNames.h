// How the shell names drives ("Local Disk (C:)") and the paths it hands out.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace plat::shell {

std::string DriveDisplayName(char letter);
// The roots of the mapped drives, "C:\" ..., in letter order.
std::vector<std::string> DriveRoots();
// The full Windows path of an existing file or folder, with its names as they are on
// disk; nullopt when there is nothing at `path`.
std::optional<std::string> OnDiskPath(const std::string& path);

}  // namespace plat::shell
