// How the imaging control reaches files: Windows paths through the stand-in's drive
// mapping, whole files read into memory, and saves that never destroy the old file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/Status.h"

namespace plat::imaging::files {

// Largest file read into memory.
inline constexpr uint64_t kMaxFileBytes = uint64_t(1) << 31;

// 2 when the file (or a folder on its path) does not exist, 20008 when it cannot be
// opened, 20009 when reading fails.
Status ReadAll(const std::string& path, std::vector<uint8_t>* bytes);
// Size of the file in bytes, with ReadAll's statuses.
Status FileSize(const std::string& path, uint64_t* size);
// Writes `bytes` to a new file beside `path` and renames it over `path` only when
// everything was written, so a failed save leaves the old file as it was.
// 20008 when the file cannot be created, 20009 when writing fails (a full disk).
// Fault point "imaging.WriteFile" fails the write after the new file was begun.
Status WriteReplacing(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace plat::imaging::files
