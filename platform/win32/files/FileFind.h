// Folder listings as Windows presents them: wildcard matching, a stable order and
// the 8.3 short names of long names.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "WinTypes.h"
#include "files/FileInfo.h"

namespace plat::file {

// Windows wildcards: '*' any run, '?' one character, without regard to case; a
// pattern ending in ".*" also matches names without a dot ("*.*" matches all).
bool MatchWildcard(std::string_view pattern, std::string_view name);

struct Entry {
  std::string name;
  std::string shortName;  // empty when the name already is a valid 8.3 name
  Info info;
};

// The entries of the folder of the Windows pattern that match its last part,
// sorted by name without regard to case. "." and ".." are listed except at a drive
// root. nullopt with *error when the folder is missing or nothing matches.
std::optional<std::vector<Entry>> Find(std::string_view pattern, DWORD* error);

// True for names that are valid 8.3 names as they stand.
bool IsShortName(std::string_view name);
// The 8.3 name of `name` in native folder `folder` (the name itself when it is one).
std::string ShortNameIn(const std::string& folder, const std::string& name);

}  // namespace plat::file
