#include "profile/ProfileStore.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "WinError.h"
#include "files/FileInfo.h"
#include "files/TempFile.h"

namespace plat::profile {
namespace {

struct Stamp {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = -1;
  timespec mtime{};
  bool operator==(const Stamp& o) const {
    return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
           mtime.tv_nsec == o.mtime.tv_nsec;
  }
};

struct Cached {
  Stamp stamp;
  std::shared_ptr<const ProfileFile> file;
};

// One lock for reads and writes: writes of one process never interleave, and a
// read never sees a file between two writes of the same update.
std::mutex g_mutex;
std::map<std::string, Cached>& Cache() {
  static std::map<std::string, Cached> cache;
  return cache;
}

Stamp StampOf(const struct stat& st) { return Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim}; }

// Reads the file when the cache does not hold its current contents. Lock held.
std::shared_ptr<const ProfileFile> LoadLocked(const std::string& native, DWORD* error, bool* exists) {
  struct stat st;
  if (stat(native.c_str(), &st) != 0) {
    *exists = false;
    if (errno == ENOENT || errno == ENOTDIR) {
      Cache().erase(native);
      static const auto empty = std::make_shared<const ProfileFile>();
      return empty;
    }
    *error = file::ErrorFromErrno(errno, native);
    return nullptr;
  }
  *exists = true;
  Stamp stamp = StampOf(st);
  auto it = Cache().find(native);
  if (it != Cache().end() && it->second.stamp == stamp) return it->second.file;
  int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = file::ErrorFromErrno(errno, native);
    return nullptr;
  }
  std::string text;
  char buffer[16384];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  struct stat after;
  bool stable = n == 0 && fstat(fd, &after) == 0 && StampOf(after) == stamp;
  close(fd);
  if (n < 0) {
    *error = file::ErrorFromErrno(errno, native);
    return nullptr;
  }
  auto parsed = std::make_shared<const ProfileFile>(ProfileFile::Parse(text));
  if (stable) Cache()[native] = Cached{stamp, parsed};  // a file changing under us is not kept
  return parsed;
}

}  // namespace

std::shared_ptr<const ProfileFile> Load(const std::string& native, DWORD* error) {
  std::lock_guard lock(g_mutex);
  bool exists = false;
  return LoadLocked(native, error, &exists);
}

DWORD Update(const std::string& native, const std::function<bool(ProfileFile&)>& change, bool createIfMissing) {
  std::lock_guard lock(g_mutex);
  DWORD error = 0;
  bool exists = false;
  auto current = LoadLocked(native, &error, &exists);
  if (!current) return error;
  if (!exists && !createIfMissing) return 0;
  ProfileFile edited = *current;
  if (!change(edited) && exists) return 0;

  struct stat st;
  unsigned mode = 0644;
  if (exists && stat(native.c_str(), &st) == 0) {
    if (!(st.st_mode & S_IWUSR)) return ERROR_ACCESS_DENIED;  // read-only INI files stay as they are
    mode = st.st_mode & 07777;
  }
  file::TempFile temp(native);
  if (DWORD e = temp.Write(edited.Serialize())) return e;
  if (!exists) file::StoreCreationTime(temp.Fd(), file::Now());
  if (DWORD e = temp.Commit(mode)) return e;
  Cache().erase(native);  // the next read takes the new stamp
  return 0;
}

}  // namespace plat::profile
