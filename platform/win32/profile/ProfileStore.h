// Parsed INI files cached by path, checked against the file's identity, size and
// modification time on every read, and written atomically.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "WinTypes.h"
#include "profile/ProfileFile.h"

namespace plat::profile {

// The parsed file (empty when it does not exist); nullptr with *error when it
// cannot be read.
std::shared_ptr<const ProfileFile> Load(const std::string& native, DWORD* error);

// Applies `change` to the current contents and, when it reports a change, writes the
// whole file to a temporary file beside it and renames that over it. A missing file
// is created unless `createIfMissing` is false. Returns 0 or the Win32 error.
DWORD Update(const std::string& native, const std::function<bool(ProfileFile&)>& change, bool createIfMissing = true);

}  // namespace plat::profile
