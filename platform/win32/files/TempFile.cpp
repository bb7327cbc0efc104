#include "files/TempFile.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Faults.h"
#include "WinError.h"
#include "files/FileInfo.h"

namespace plat::file {

TempFile::TempFile(std::string target) : target_(std::move(target)) {
  size_t slash = target_.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : target_.substr(0, slash);
  temp_ = folder + "/.lumora-tmp-XXXXXX";
  fd_ = mkostemp(temp_.data(), O_CLOEXEC);
  if (fd_ < 0) error_ = ErrorFromErrno(errno, target_);
}

TempFile::~TempFile() {
  if (fd_ >= 0) close(fd_);
  if (fd_ >= 0 && !committed_) unlink(temp_.c_str());
}

DWORD TempFile::Write(std::string_view data) {
  if (error_) return error_;
  if (DWORD e = faults::Check("WriteFile")) return error_ = e;
  while (!data.empty()) {
    ssize_t n = write(fd_, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return error_ = n < 0 ? ErrorFromErrno(errno) : ERROR_DISK_FULL;
    data.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

// On the disk before the rename: after a crash the target is the old file or the whole
// new one, never a renamed file whose data never arrived.
DWORD TempFile::Flush() {
  if (DWORD e = faults::Check("TempFile::Flush")) return e;
  return fsync(fd_) == 0 ? 0 : ErrorFromErrno(errno);
}

DWORD TempFile::Commit(unsigned mode, bool noReplace) {
  if (error_) return error_;
  if (fchmod(fd_, mode) != 0) return error_ = ErrorFromErrno(errno);
  if (DWORD e = Flush()) return error_ = e;
  int rc = noReplace ? renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE)
                     : rename(temp_.c_str(), target_.c_str());
  if (rc != 0 && noReplace && errno == EINVAL) {
    // File systems without the no-replace rename: link fails on an existing target.
    rc = link(temp_.c_str(), target_.c_str());
    if (rc == 0) unlink(temp_.c_str());
  }
  if (rc != 0) return error_ = errno == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(errno, target_);
  committed_ = true;
  return 0;
}

}  // namespace plat::file
