#include "imaging/FileAccess.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <utility>

#include "DrivePath.h"
#include "Faults.h"

namespace plat::imaging::files {
namespace {

Status OpenStatus(int err) {
  return err == ENOENT || err == ENOTDIR ? status::kFileNotFound : status::kCannotOpen;
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

bool Native(const std::string& path, std::string* native) {
  auto n = plat::path::ToNative(path);
  if (!n) return false;
  *native = std::move(*n);
  return true;
}

}  // namespace

Status FileSize(const std::string& path, uint64_t* size) {
  std::string native;
  if (!Native(path, &native)) return status::kCannotOpen;
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0) return OpenStatus(errno);
  if (!S_ISREG(st.st_mode)) return status::kCannotOpen;
  *size = uint64_t(st.st_size);
  return status::kOk;
}

Status ReadAll(const std::string& path, std::vector<uint8_t>* bytes) {
  std::string native;
  if (!Native(path, &native)) return status::kCannotOpen;
  Fd fd(::open(native.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return OpenStatus(errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return status::kCannotOpen;
  if (uint64_t(st.st_size) > kMaxFileBytes) return status::kNoMemory;
  std::vector<uint8_t> data(size_t(st.st_size));
  size_t got = 0;
  while (got < data.size()) {
    const ssize_t n = ::read(fd.get(), data.data() + got, data.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return status::kFileError;
    got += size_t(n);
  }
  *bytes = std::move(data);
  return status::kOk;
}

Status WriteReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string native;
  if (!Native(path, &native)) return status::kCannotOpen;
  struct stat st {};
  if (::stat(native.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return status::kCannotOpen;
  static std::atomic<unsigned> counter{0};
  const std::string temp = native + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.get() < 0) return status::kCannotOpen;
  bool ok = plat::faults::Check("imaging.WriteFile") == 0;
  size_t put = 0;
  while (ok && put < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + put, bytes.size() - put);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else put += size_t(n);
  }
  // The data must be on the disk before the new file takes the old one's name.
  if (ok && ::fdatasync(fd.get()) != 0) ok = false;
  if (::close(fd.release()) != 0) ok = false;
  if (ok && ::rename(temp.c_str(), native.c_str()) != 0) ok = false;
  if (!ok) {
    ::unlink(temp.c_str());
    return status::kFileError;
  }
  return status::kOk;
}

}  // namespace plat::imaging::files
