// Path-based file services: deleting, moving, copying, folders, attributes, names
// and disk space.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "Config.h"
#include "DrivePath.h"
#include "Faults.h"
#include "LastError.h"
#include "WinError.h"
#include "WinFile.h"
#include "files/FileFind.h"
#include "files/FileInfo.h"
#include "files/FileObject.h"
#include "files/TempFile.h"

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// Native path of a Windows name, or nullopt with the last error set.
std::optional<std::string> Native(LPCSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  DWORD error = 0;
  auto native = plat::path::ToNative(name, &error);
  if (!native) SetLastError(error);
  return native;
}

// Copies a string into a caller's buffer the Win32 way: the length without the NUL
// when it fits, else the size needed with the NUL.
DWORD CopyOut(const std::string& s, LPSTR buffer, DWORD size) {
  if (!buffer || size < s.size() + 1) return static_cast<DWORD>(s.size() + 1);
  std::memcpy(buffer, s.c_str(), s.size() + 1);
  return static_cast<DWORD>(s.size());
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

DWORD CopyNative(const std::string& from, const std::string& to, bool failIfExists) {
  struct stat src;
  if (stat(from.c_str(), &src) != 0) return plat::file::ErrorFromErrno(errno, from);
  if (S_ISDIR(src.st_mode)) return ERROR_ACCESS_DENIED;
  struct stat dst;
  if (stat(to.c_str(), &dst) == 0) {
    if (failIfExists) return ERROR_FILE_EXISTS;
    if (S_ISDIR(dst.st_mode) || !(dst.st_mode & S_IWUSR)) return ERROR_ACCESS_DENIED;
    if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) return ERROR_SHARING_VIOLATION;
  }
  int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return plat::file::ErrorFromErrno(errno, from);
  plat::file::TempFile out(to);
  DWORD error = out.Error();
  char buffer[65536];
  while (!error) {
    ssize_t n = read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = plat::file::ErrorFromErrno(errno);
    if (n <= 0) break;
    error = out.Write(std::string_view(buffer, static_cast<size_t>(n)));
  }
  close(in);
  if (error) return error;
  // The copy keeps the last-write time and attributes; it is a new file, created now.
  timespec times[2] = {src.st_atim, src.st_mtim};
  futimens(out.Fd(), times);
  plat::file::StoreCreationTime(out.Fd(), plat::file::Now());
  return out.Commit(src.st_mode & 07777, failIfExists);
}

BOOL Move(LPCSTR from, LPCSTR to, DWORD flags) {
  auto src = Native(from);
  if (!src) return FALSE;
  auto dst = Native(to);
  if (!dst) return FALSE;
  struct stat st;
  if (lstat(src->c_str(), &st) != 0) return Fail(plat::file::ErrorFromErrno(errno, *src));
  if (plat::file::FileObject::BlocksDelete(*src)) return Fail(ERROR_SHARING_VIOLATION);
  bool replace = flags & MOVEFILE_REPLACE_EXISTING;
  if (SameFile(*src, *dst)) {
    // Only the case of the name changes: the target resolved to the source itself.
    std::string given = to;
    size_t cut = given.find_last_of("\\/:");
    *dst = dst->substr(0, dst->find_last_of('/') + 1) + given.substr(cut == std::string::npos ? 0 : cut + 1);
    replace = true;
  }
  struct stat target;
  if (lstat(dst->c_str(), &target) == 0 && !SameFile(*src, *dst)) {
    if (!replace) return Fail(ERROR_ALREADY_EXISTS);
    if (S_ISDIR(target.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  }
  int rc = replace ? rename(src->c_str(), dst->c_str())
                   : renameat2(AT_FDCWD, src->c_str(), AT_FDCWD, dst->c_str(), RENAME_NOREPLACE);
  if (rc != 0 && !replace && errno == EINVAL) rc = rename(src->c_str(), dst->c_str());
  if (rc == 0) return TRUE;
  if (errno == EXDEV && !S_ISDIR(st.st_mode) && (flags & MOVEFILE_COPY_ALLOWED)) {
    // Between drives on different file systems a file moves by copy and delete.
    if (DWORD e = CopyNative(*src, *dst, !replace)) return Fail(e);
    unlink(src->c_str());
    return TRUE;
  }
  return Fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : plat::file::ErrorFromErrno(errno, *dst));
}

}  // namespace

BOOL DeleteFileA(LPCSTR name) {
  if (DWORD e = plat::faults::Check("DeleteFileA")) return Fail(e);
  auto native = Native(name);
  if (!native) return FALSE;
  struct stat st;
  if (lstat(native->c_str(), &st) != 0) return Fail(plat::file::ErrorFromErrno(errno, *native));
  if (S_ISDIR(st.st_mode) || (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR))) return Fail(ERROR_ACCESS_DENIED);
  if (plat::file::FileObject::BlocksDelete(*native)) return Fail(ERROR_SHARING_VIOLATION);
  if (unlink(native->c_str()) != 0) return Fail(plat::file::ErrorFromErrno(errno, *native));
  return TRUE;
}

BOOL MoveFileA(LPCSTR from, LPCSTR to) {
  if (DWORD e = plat::faults::Check("MoveFileA")) return Fail(e);
  return Move(from, to, MOVEFILE_COPY_ALLOWED);
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  if (DWORD e = plat::faults::Check("MoveFileExA")) return Fail(e);
  return Move(from, to, flags);
}

BOOL CopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists) {
  if (DWORD e = plat::faults::Check("CopyFileA")) return Fail(e);
  auto src = Native(from);
  if (!src) return FALSE;
  auto dst = Native(to);
  if (!dst) return FALSE;
  if (DWORD e = CopyNative(*src, *dst, failIfExists)) return Fail(e);
  return TRUE;
}

BOOL CreateDirectoryA(LPCSTR name, LPSECURITY_ATTRIBUTES) {
  if (DWORD e = plat::faults::Check("CreateDirectoryA")) return Fail(e);
  auto native = Native(name);
  if (!native) return FALSE;
  if (mkdir(native->c_str(), 0777) != 0) return Fail(plat::file::ErrorFromErrno(errno, *native));
  std::string now = std::to_string(plat::file::Now());
  setxattr(native->c_str(), plat::file::kCreationTimeAttribute, now.data(), now.size(), 0);
  return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR name) {
  if (DWORD e = plat::faults::Check("RemoveDirectoryA")) return Fail(e);
  auto native = Native(name);
  if (!native) return FALSE;
  struct stat st;
  if (lstat(native->c_str(), &st) != 0) return Fail(plat::file::ErrorFromErrno(errno, *native));
  if (!S_ISDIR(st.st_mode)) return Fail(ERROR_DIRECTORY);
  if (rmdir(native->c_str()) != 0) return Fail(plat::file::ErrorFromErrno(errno, *native));
  return TRUE;
}

DWORD GetFileAttributesA(LPCSTR name) {
  if (name && plat::path::IsNulDevice(name)) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(name, &data);
    if (h == INVALID_HANDLE_VALUE) return INVALID_FILE_ATTRIBUTES;
    FindClose(h);
    return data.dwFileAttributes;
  }
  auto native = Native(name);
  if (!native) return INVALID_FILE_ATTRIBUTES;
  DWORD error = 0;
  auto info = plat::file::Query(*native, &error);
  if (!info) {
    SetLastError(error);
    return INVALID_FILE_ATTRIBUTES;
  }
  return info->attributes;
}

BOOL SetFileAttributesA(LPCSTR name, DWORD attributes) {
  if (DWORD e = plat::faults::Check("SetFileAttributesA")) return Fail(e);
  auto native = Native(name);
  if (!native) return FALSE;
  struct stat st;
  if (stat(native->c_str(), &st) != 0) return Fail(plat::file::ErrorFromErrno(errno, *native));
  // Only read-only has a native meaning, and only for files: a read-only folder
  // does not stop files being made in it on Windows.
  if (S_ISDIR(st.st_mode)) return TRUE;
  mode_t mode = st.st_mode & 07777;
  if (attributes & FILE_ATTRIBUTE_READONLY)
    mode &= ~(S_IWUSR | S_IWGRP | S_IWOTH);
  else
    mode |= S_IWUSR;
  if (chmod(native->c_str(), mode) != 0) return Fail(plat::file::ErrorFromErrno(errno, *native));
  return TRUE;
}

BOOL SetCurrentDirectoryA(LPCSTR name) {
  if (!name || !*name) return Fail(ERROR_INVALID_PARAMETER);
  DWORD error = 0;
  if (!plat::path::SetCurrentFolder(name, &error)) return Fail(error);
  return TRUE;
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) { return CopyOut(plat::path::CurrentFolder(), buffer, size); }

DWORD GetFullPathNameA(LPCSTR name, DWORD size, LPSTR buffer, LPSTR* filePart) {
  if (filePart) *filePart = nullptr;
  DWORD error = 0;
  auto full = name ? plat::path::FullPath(name, &error) : std::nullopt;
  if (!full) {
    SetLastError(name ? error : ERROR_INVALID_PARAMETER);
    return 0;
  }
  DWORD n = CopyOut(*full, buffer, size);
  if (n < size && filePart && full->back() != '\\') *filePart = buffer + full->find_last_of('\\') + 1;
  return n;
}

DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size) {
  DWORD error = 0;
  auto full = longPath ? plat::path::FullPath(longPath, &error) : std::nullopt;
  auto native = full ? plat::path::ToNative(*full, &error) : std::nullopt;
  if (!native) {
    SetLastError(longPath ? error : ERROR_INVALID_PARAMETER);
    return 0;
  }
  struct stat st;
  if (stat(native->c_str(), &st) != 0) {
    SetLastError(plat::file::ErrorFromErrno(errno, *native));
    return 0;
  }
  // Walk the names as they are on disk, below the drive's folder.
  std::string root = *plat::path::DriveRoot((*full)[0]);
  std::string folder = root;
  std::string out = full->substr(0, 3);
  size_t pos = root == "/" ? 1 : root.size() + 1;
  bool first = true;
  while (pos < native->size()) {
    size_t end = native->find('/', pos);
    if (end == std::string::npos) end = native->size();
    std::string name = native->substr(pos, end - pos);
    if (!first) out += '\\';
    out += plat::file::ShortNameIn(folder, name);
    folder += (folder == "/" ? "" : "/") + name;
    first = false;
    pos = end + 1;
  }
  if (full->back() == '\\' && out.back() != '\\') out += '\\';
  return CopyOut(out, shortPath, size);
}

short GetFileTitleA(LPCSTR name, LPSTR title, WORD size) {
  if (!name || !*name) return -1;
  std::string_view s = name;
  if (s.find_first_of("*?<>|\"") != std::string_view::npos) return -1;
  size_t cut = s.find_last_of("\\/:");
  std::string_view t = cut == std::string_view::npos ? s : s.substr(cut + 1);
  if (t.empty()) return -1;
  if (!title || size < t.size() + 1) return static_cast<short>(t.size() + 1);
  std::memcpy(title, t.data(), t.size());
  title[t.size()] = '\0';
  return 0;
}

BOOL GetDiskFreeSpaceExA(LPCSTR root, PULARGE_INTEGER freeToCaller, PULARGE_INTEGER total,
                         PULARGE_INTEGER totalFree) {
  if (DWORD e = plat::faults::Check("GetDiskFreeSpaceExA")) return Fail(e);
  std::string where = root && *root ? std::string(root) : plat::path::CurrentFolder().substr(0, 3);
  auto native = Native(where.c_str());
  if (!native) return FALSE;
  struct statvfs vfs;
  if (statvfs(native->c_str(), &vfs) != 0) return Fail(plat::file::ErrorFromErrno(errno, *native));
  uint64_t avail = uint64_t(vfs.f_bavail) * vfs.f_frsize;
  uint64_t free = uint64_t(vfs.f_bfree) * vfs.f_frsize;
  uint64_t all = uint64_t(vfs.f_blocks) * vfs.f_frsize;
  // LUMORA_DISK_FREE (bytes) stands in for the free space of every drive, so tests
  // can make a disk look full or roomy.
  if (auto forced = plat::config::Find("DISK_FREE"); forced && !forced->empty()) {
    avail = free = std::strtoull(forced->c_str(), nullptr, 10);
    all = std::max(all, free);
  }
  if (freeToCaller) freeToCaller->QuadPart = avail;
  if (total) total->QuadPart = all;
  if (totalFree) totalFree->QuadPart = free;
  return TRUE;
}

BOOL GetDiskFreeSpaceA(LPCSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector, LPDWORD freeClusters,
                       LPDWORD totalClusters) {
  ULARGE_INTEGER avail, all;
  if (!GetDiskFreeSpaceExA(root, &avail, &all, nullptr)) return FALSE;
  constexpr uint64_t kCluster = 4096;
  if (sectorsPerCluster) *sectorsPerCluster = 8;
  if (bytesPerSector) *bytesPerSector = 512;
  if (freeClusters) *freeClusters = static_cast<DWORD>(std::min<uint64_t>(avail.QuadPart / kCluster, 0xFFFFFFFFu));
  if (totalClusters) *totalClusters = static_cast<DWORD>(std::min<uint64_t>(all.QuadPart / kCluster, 0xFFFFFFFFu));
  return TRUE;
}
