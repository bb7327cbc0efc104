// Folder, status and listing functions of the C run-time, over the kernel file
// services so that drives, case and the NUL device behave the same everywhere.
#include <errno.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "DrivePath.h"
#include "LastError.h"
#include "WinError.h"
#include "WinFile.h"
#include "crt.h"
#include "files/FileInfo.h"

namespace {

int Errno(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_NO_MORE_FILES: return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_DIRECTORY: return EACCES;
    case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    default: return EINVAL;
  }
}

int FailErrno() {
  errno = Errno(GetLastError());
  return -1;
}

time_t ToTime(const FILETIME& ft) {
  uint64_t v = plat::file::Join(ft);
  if (v == 0) return -1;
  int64_t s, ns;
  plat::file::ToUnix(v, &s, &ns);
  return static_cast<time_t>(s);
}

bool HasWildcard(const char* path) { return std::strpbrk(path, "*?") != nullptr; }

// Looks a path up as a find would: one entry, the NUL device included.
bool Lookup(const char* path, WIN32_FIND_DATAA* data) {
  if (!path || !*path || HasWildcard(path)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  auto full = plat::path::FullPath(path);
  if (full && full->size() == 3) {  // a drive root has no entry of its own
    DWORD attributes = GetFileAttributesA(full->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    std::memset(data, 0, sizeof *data);
    data->dwFileAttributes = attributes;
    return true;
  }
  if (full && full->back() == '\\') full->pop_back();  // "folder\" names the folder
  HANDLE h = FindFirstFileA(full ? full->c_str() : path, data);
  if (h == INVALID_HANDLE_VALUE) return false;
  FindClose(h);
  return true;
}

void FillFindData(const WIN32_FIND_DATAA& d, struct _finddata_t* out) {
  out->attrib = d.dwFileAttributes & (_A_RDONLY | _A_HIDDEN | _A_SYSTEM | _A_SUBDIR | _A_ARCH);
  out->time_create = ToTime(d.ftCreationTime);
  out->time_access = ToTime(d.ftLastAccessTime);
  out->time_write = ToTime(d.ftLastWriteTime);
  out->size = d.nFileSizeLow;
  std::memcpy(out->name, d.cFileName, sizeof out->name);
}

}  // namespace

int _mkdir(const char* path) { return CreateDirectoryA(path, nullptr) ? 0 : FailErrno(); }

int _rmdir(const char* path) { return RemoveDirectoryA(path) ? 0 : FailErrno(); }

int _chdir(const char* path) { return SetCurrentDirectoryA(path) ? 0 : FailErrno(); }

int _getdrive() {
  std::string current = plat::path::CurrentFolder();
  char letter = current.empty() ? 'C' : current[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  return letter - 'A' + 1;
}

char* _getcwd(char* buffer, int size) {
  std::string current = plat::path::CurrentFolder();
  if (!buffer) {
    size_t n = std::max<size_t>(size > 0 ? size_t(size) : 0, current.size() + 1);
    buffer = static_cast<char*>(malloc(n));
    if (!buffer) {
      errno = ENOMEM;
      return nullptr;
    }
  } else if (size <= 0 || size_t(size) < current.size() + 1) {
    errno = ERANGE;
    return nullptr;
  }
  std::memcpy(buffer, current.c_str(), current.size() + 1);
  return buffer;
}

int _stat(const char* path, struct _stat* status) {
  WIN32_FIND_DATAA data;
  if (!status || !Lookup(path, &data)) return FailErrno();
  if (data.nFileSizeHigh != 0 || data.nFileSizeLow > 0x7FFFFFFFu) {
    errno = EOVERFLOW;  // the size does not fit the 32-bit field
    return -1;
  }
  std::memset(status, 0, sizeof *status);
  auto full = plat::path::FullPath(path);
  unsigned drive = full ? unsigned((*full)[0] - 'A') : 0;
  status->st_dev = status->st_rdev = drive;
  status->st_nlink = 1;
  status->st_size = static_cast<LONG>(data.nFileSizeLow);
  unsigned mode;
  if (plat::path::IsNulDevice(path)) {
    mode = _S_IFCHR | _S_IREAD | _S_IWRITE;
  } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    mode = _S_IFDIR | _S_IREAD | _S_IWRITE | _S_IEXEC;
  } else {
    mode = _S_IFREG | _S_IREAD;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) mode |= _S_IWRITE;
    std::string_view name = data.cFileName;
    size_t dot = name.find_last_of('.');
    std::string_view ext = dot == std::string_view::npos ? "" : name.substr(dot);
    for (const char* runnable : {".exe", ".com", ".bat", ".cmd"})
      if (plat::path::NamesEqual(ext, runnable)) mode |= _S_IEXEC;
  }
  mode |= (mode & 0700) >> 3 | (mode & 0700) >> 6;  // the owner's bits stand for everyone
  status->st_mode = static_cast<unsigned short>(mode);
  time_t write = ToTime(data.ftLastWriteTime);
  time_t access = ToTime(data.ftLastAccessTime);
  time_t create = ToTime(data.ftCreationTime);
  status->st_mtime = write;
  status->st_atime = access == -1 ? write : access;
  status->st_ctime = create == -1 ? write : create;
  return 0;
}

int _access(const char* path, int mode) {
  WIN32_FIND_DATAA data;
  if (!Lookup(path, &data)) return FailErrno();
  bool folder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
  if ((mode & 2) && !folder && (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) {
    errno = EACCES;
    return -1;
  }
  return 0;
}

intptr_t _findfirst(const char* pattern, struct _finddata_t* data) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(pattern, &found);
  if (h == INVALID_HANDLE_VALUE) return FailErrno();
  FillFindData(found, data);
  return reinterpret_cast<intptr_t>(h);
}

int _findnext(intptr_t handle, struct _finddata_t* data) {
  WIN32_FIND_DATAA found;
  if (!FindNextFileA(reinterpret_cast<HANDLE>(handle), &found)) return FailErrno();
  FillFindData(found, data);
  return 0;
}

int _findclose(intptr_t handle) { return FindClose(reinterpret_cast<HANDLE>(handle)) ? 0 : FailErrno(); }
