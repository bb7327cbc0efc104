// How the imaging control reaches files: Windows paths through the stand-in's file
// calls (drive mapping, case-blind names, their fault points), whole files read into
// memory, and saves that never destroy the old file.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "imaging/Status.h"

namespace plat::imaging::files {

// Largest file read into memory: the largest picture block and some room.
inline constexpr uint64_t kMaxFileBytes = (uint64_t(1) << 30) + (uint64_t(64) << 20);

// A whole file in memory. The block is not cleared before the file is read into it.
struct FileBytes {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;
};

// 2 when the file (or a folder on its path) does not exist, 20008 when it cannot be
// opened, 20009 when reading fails, 20001 when it is too large to hold.
Status ReadAll(const std::string& path, FileBytes* bytes);
// Writes `bytes` to a new file beside `path`, flushes it, and only then renames it
// over `path`, so a failed save leaves the old file as it was. 20008 when the file
// cannot be created, 20009 when writing fails (a full disk).
Status WriteReplacing(const std::string& path, const std::vector<uint8_t>& bytes);
// The same for a file made of several pieces written one after another.
struct Piece {
  const uint8_t* data;
  size_t size;
};
Status WriteReplacing(const std::string& path, std::initializer_list<Piece> pieces);

}  // namespace plat::imaging::files
