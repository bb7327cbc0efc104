#include "files/FileObject.h"

#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <vector>

#include "LastError.h"
#include "WinError.h"
#include "WinFile.h"
#include "WinSync.h"
#include "files/FileInfo.h"

namespace plat::file {
namespace {

struct Opening {
  const FileObject* owner;
  bool read, write;
  DWORD share;
};

std::mutex g_shareMutex;
std::map<std::pair<dev_t, ino_t>, std::vector<Opening>>& Openings() {
  static std::map<std::pair<dev_t, ino_t>, std::vector<Opening>> openings;
  return openings;
}

BOOL Fail(DWORD error) {
  ::SetLastError(error);
  return FALSE;
}

}  // namespace

void CompleteOverlapped(OVERLAPPED* overlapped, DWORD error, DWORD bytes) {
  {
    std::lock_guard lock(KernelMutex());
    overlapped->InternalHigh = bytes;
    overlapped->Internal = error;
  }
  NotifyObjectWaiters();
  if (overlapped->hEvent) ::SetEvent(overlapped->hEvent);
}

FileObject::FileObject(int fd, std::string native, bool canRead, bool canWrite, DWORD share, bool overlapped)
    : fd_(fd), native_(std::move(native)), canRead_(canRead), canWrite_(canWrite), share_(share),
      overlapped_(overlapped) {}

FileObject::~FileObject() {
  if (registered_) {
    std::lock_guard lock(g_shareMutex);
    auto it = Openings().find({dev_, ino_});
    if (it != Openings().end()) {
      std::erase_if(it->second, [this](const Opening& o) { return o.owner == this; });
      if (it->second.empty()) Openings().erase(it);
    }
  }
  if (fd_ >= 0) close(fd_);
}

DWORD FileObject::Register() {
  struct stat st;
  if (fstat(fd_, &st) != 0) return ErrorFromErrno(errno);
  dev_ = st.st_dev;
  ino_ = st.st_ino;
  std::lock_guard lock(g_shareMutex);
  auto& list = Openings()[{dev_, ino_}];
  for (const Opening& o : list) {
    bool clash = (canRead_ && !(o.share & FILE_SHARE_READ)) || (canWrite_ && !(o.share & FILE_SHARE_WRITE)) ||
                 (o.read && !(share_ & FILE_SHARE_READ)) || (o.write && !(share_ & FILE_SHARE_WRITE));
    if (clash) {
      if (list.empty()) Openings().erase({dev_, ino_});
      return ERROR_SHARING_VIOLATION;
    }
  }
  list.push_back(Opening{this, canRead_, canWrite_, share_});
  registered_ = true;
  return 0;
}

bool FileObject::BlocksDelete(const std::string& native) {
  struct stat st;
  if (stat(native.c_str(), &st) != 0) return false;
  std::lock_guard lock(g_shareMutex);
  auto it = Openings().find({st.st_dev, st.st_ino});
  if (it == Openings().end()) return false;
  for (const Opening& o : it->second)
    if (!(o.share & FILE_SHARE_DELETE)) return true;
  return false;
}

BOOL FileObject::Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped) {
  if (done) *done = 0;
  if (!canRead_) return Fail(ERROR_ACCESS_DENIED);
  if (overlapped_ && !overlapped) return Fail(ERROR_INVALID_PARAMETER);  // no file position to use
  ssize_t n;
  if (overlapped) {
    off_t at = static_cast<off_t>((uint64_t(overlapped->OffsetHigh) << 32) | overlapped->Offset);
    n = pread(fd_, buffer, size, at);
  } else {
    n = read(fd_, buffer, size);
  }
  if (n < 0) {
    DWORD error = ErrorFromErrno(errno);
    if (overlapped) CompleteOverlapped(overlapped, error, 0);
    return Fail(error);
  }
  if (done) *done = static_cast<DWORD>(n);
  if (overlapped) {
    // A positioned read at the end is an error, where a plain read just moves nothing.
    DWORD error = (n == 0 && size > 0) ? ERROR_HANDLE_EOF : 0;
    CompleteOverlapped(overlapped, error, static_cast<DWORD>(n));
    if (error) return Fail(error);
  }
  return TRUE;
}

BOOL FileObject::Write(const void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped) {
  if (done) *done = 0;
  if (!canWrite_) return Fail(ERROR_ACCESS_DENIED);
  if (overlapped_ && !overlapped) return Fail(ERROR_INVALID_PARAMETER);
  const char* p = static_cast<const char*>(buffer);
  DWORD total = 0;
  DWORD error = 0;
  off_t at = overlapped ? static_cast<off_t>((uint64_t(overlapped->OffsetHigh) << 32) | overlapped->Offset) : 0;
  while (total < size) {
    ssize_t n = overlapped ? pwrite(fd_, p + total, size - total, at + total) : write(fd_, p + total, size - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = ErrorFromErrno(errno);
      break;
    }
    if (n == 0) {
      error = ERROR_DISK_FULL;
      break;
    }
    total += static_cast<DWORD>(n);
  }
  if (done) *done = total;
  if (overlapped) CompleteOverlapped(overlapped, error, total);
  return error ? Fail(error) : TRUE;
}

BOOL NulDevice::Read(void*, DWORD, DWORD* done, OVERLAPPED* overlapped) {
  if (done) *done = 0;
  if (overlapped) CompleteOverlapped(overlapped, 0, 0);
  return TRUE;
}

BOOL NulDevice::Write(const void*, DWORD size, DWORD* done, OVERLAPPED* overlapped) {
  if (done) *done = size;
  if (overlapped) CompleteOverlapped(overlapped, 0, size);
  return TRUE;
}

}  // namespace plat::file
