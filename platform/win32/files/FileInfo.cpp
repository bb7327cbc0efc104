#include "files/FileInfo.h"

#include <errno.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cstdlib>

#include "Clock.h"
#include "WinError.h"

namespace plat::file {
namespace {

constexpr uint64_t kEpochDelta = 116444736000000000ull;  // 1601 to 1970 in 100 ns units

uint64_t ParseCreation(const char* text, ssize_t n) {
  if (n <= 0 || n >= 32) return 0;
  std::string s(text, static_cast<size_t>(n));
  char* end = nullptr;
  unsigned long long v = std::strtoull(s.c_str(), &end, 10);
  return (end && *end == '\0') ? v : 0;
}

Info FromStat(const struct stat& st, uint64_t creation) {
  Info info;
  if (S_ISDIR(st.st_mode))
    info.attributes = 0x10;  // FILE_ATTRIBUTE_DIRECTORY
  else
    info.attributes = 0x20;  // FILE_ATTRIBUTE_ARCHIVE, as Windows gives new files
  // Read-only is the owner's write bit; the bits, not access(), since root may write anyway.
  if (!(st.st_mode & S_IWUSR)) info.attributes |= 0x01;
  info.lastWrite = FromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
  info.lastAccess = FromUnix(st.st_atim.tv_sec, st.st_atim.tv_nsec);
  info.creation = creation ? creation : info.lastWrite;
  info.size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
  return info;
}

}  // namespace

uint64_t FromUnix(int64_t seconds, int64_t nanos) {
  int64_t v = seconds * 10000000 + nanos / 100 + static_cast<int64_t>(kEpochDelta);
  return v < 0 ? 0 : static_cast<uint64_t>(v);
}

void ToUnix(uint64_t fileTime, int64_t* seconds, int64_t* nanos) {
  int64_t v = static_cast<int64_t>(fileTime) - static_cast<int64_t>(kEpochDelta);
  int64_t s = v / 10000000, r = v % 10000000;
  if (r < 0) {
    r += 10000000;
    --s;
  }
  *seconds = s;
  *nanos = r * 100;
}

uint64_t Now() {
  int64_t us = clock::WallMicros();
  return FromUnix(us / 1000000, (us % 1000000) * 1000);
}

std::optional<Info> Query(const std::string& native, DWORD* error) {
  struct stat st;
  if (stat(native.c_str(), &st) != 0) {
    if (error) *error = ErrorFromErrno(errno, native);
    return std::nullopt;
  }
  char buf[32];
  ssize_t n = getxattr(native.c_str(), kCreationTimeAttribute, buf, sizeof buf);
  return FromStat(st, ParseCreation(buf, n));
}

std::optional<Info> QueryOpen(int fd, DWORD* error) {
  struct stat st;
  if (fstat(fd, &st) != 0) {
    if (error) *error = ErrorFromErrno(errno);
    return std::nullopt;
  }
  char buf[32];
  ssize_t n = fgetxattr(fd, kCreationTimeAttribute, buf, sizeof buf);
  return FromStat(st, ParseCreation(buf, n));
}

bool StoreCreationTime(int fd, uint64_t fileTime) {
  std::string text = std::to_string(fileTime);
  return fsetxattr(fd, kCreationTimeAttribute, text.data(), text.size(), 0) == 0;
}

DWORD ErrorFromErrno(int err, const std::string& native) {
  switch (err) {
    case ENOENT: {
      if (native.empty()) return ERROR_FILE_NOT_FOUND;
      size_t slash = native.find_last_of('/');
      std::string parent = slash == 0 ? "/" : native.substr(0, slash);
      struct stat st;
      return (slash != std::string::npos && stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                 ? ERROR_FILE_NOT_FOUND
                 : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EBUSY: return ERROR_BUSY;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EBADF: return ERROR_INVALID_HANDLE;
    default: return ERROR_GEN_FAILURE;
  }
}

}  // namespace plat::file
