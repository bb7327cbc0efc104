// What the file services know about a native file: its Windows attributes, times and
// size, and the Win32 error for a failed native call.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "WinTypes.h"

namespace plat::file {

// Extended attribute that keeps a file's creation time (a FILETIME as decimal text),
// which the native file system does not record.
inline constexpr const char* kCreationTimeAttribute = "user.lumora.ctime";

struct Info {
  DWORD attributes = 0;
  uint64_t creation = 0;  // FILETIME values
  uint64_t lastAccess = 0;
  uint64_t lastWrite = 0;
  uint64_t size = 0;
  bool IsFolder() const { return attributes & 0x10; }
};

// nullopt (and *error) when the file cannot be queried.
std::optional<Info> Query(const std::string& native, DWORD* error = nullptr);
std::optional<Info> QueryOpen(int fd, DWORD* error = nullptr);

// The Win32 error for errno `err` on `native`: a missing file is ERROR_FILE_NOT_FOUND
// when its folder exists, else ERROR_PATH_NOT_FOUND.
DWORD ErrorFromErrno(int err, const std::string& native = {});

uint64_t FromUnix(int64_t seconds, int64_t nanos);
void ToUnix(uint64_t fileTime, int64_t* seconds, int64_t* nanos);
uint64_t Now();  // the stand-in's wall clock as a FILETIME value

// Creation time kept on the open file; false when the file system refuses.
bool StoreCreationTime(int fd, uint64_t fileTime);

inline uint64_t Join(const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; }
inline FILETIME Split(uint64_t v) { return FILETIME{DWORD(v), DWORD(v >> 32)}; }

}  // namespace plat::file
