// How the imaging control reaches files: Windows paths through the stand-in's file
// calls (drive mapping, case-blind names, their fault points), whole files read into
// memory, and saves that never destroy the old file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/Status.h"

namespace plat::imaging::files {

// Largest file read into memory: the largest picture block and some room.
inline constexpr uint64_t kMaxFileBytes = (uint64_t(1) << 30) + (uint64_t(64) << 20);

// 2 when the file (or a folder on its path) does not exist, 20008 when it cannot be
// opened, 20009 when reading fails, 20001 when it is too large to hold.
Status ReadAll(const std::string& path, std::vector<uint8_t>* bytes);
// Writes `bytes` to a new file beside `path`, flushes it, and only then renames it
// over `path`, so a failed save leaves the old file as it was. 20008 when the file
// cannot be created, 20009 when writing fails (a full disk).
Status WriteReplacing(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace plat::imaging::files
