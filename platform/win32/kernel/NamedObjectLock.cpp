#include "kernel/NamedObjectLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "DrivePath.h"

namespace plat {
namespace {

// A folder only this user may use: refuses one that someone else made or a link.
bool PrivateFolder(const std::string& path) {
  mkdir(path.c_str(), 0700);
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid();
}

uint64_t Fnv1a(const std::string& s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
  return h;
}

std::string FileName(const std::string& name) {
  std::string out = "obj-";
  for (unsigned char c : name) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_') {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

// Closes a descriptor when it goes out of scope.
struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) close(fd);
  }
};

}  // namespace

std::string NamedObjectLock::Folder() {
  std::string base;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && PrivateFolder(std::string(runtime) + "/lumora"))
    base = std::string(runtime) + "/lumora";
  else if (PrivateFolder("/tmp/lumora-" + std::to_string(getuid())))
    base = "/tmp/lumora-" + std::to_string(getuid());
  else
    return {};
  // Names are per user as on one Windows session; programs sharing a drive C: share
  // them, while test processes (each with its own drive C:) stay apart.
  char sub[32];
  std::snprintf(sub, sizeof sub, "/names-%016llx",
                static_cast<unsigned long long>(Fnv1a(path::DriveRoot('C').value_or("default"))));
  std::string folder = base + sub;
  return PrivateFolder(folder) ? folder : std::string();
}

std::unique_ptr<NamedObjectLock> NamedObjectLock::Open(const std::string& name, bool* existed) {
  *existed = false;
  std::string folder = Folder();
  if (folder.empty()) return nullptr;
  // The guard makes "test for another holder, then hold" one step across processes.
  Fd guard{open((folder + "/guard").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)};
  if (guard.fd < 0 || flock(guard.fd, LOCK_EX) != 0) return nullptr;
  int fd = open((folder + "/" + FileName(name)).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  *existed = flock(fd, LOCK_EX | LOCK_NB) != 0;
  if (flock(fd, LOCK_SH) != 0) {
    close(fd);
    *existed = false;
    return nullptr;
  }
  return std::unique_ptr<NamedObjectLock>(new NamedObjectLock(fd));
}

NamedObjectLock::~NamedObjectLock() { close(fd_); }

}  // namespace plat
