// Handle-based file services: opening, reading, writing, device requests.
#include "WinFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DrivePath.h"
#include "Faults.h"
#include "KernelObject.h"
#include "LastError.h"
#include "WinError.h"
#include "WinSync.h"
#include "files/FileInfo.h"
#include "files/FileObject.h"

namespace {

using plat::file::FileObject;

HANDLE FailHandle(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// The folder part of a Windows path exists as a folder.
bool FolderOfExists(LPCSTR name) {
  auto full = plat::path::FullPath(name);
  if (!full) return false;
  size_t cut = full->find_last_of('\\');
  auto native = plat::path::ToNative(full->substr(0, cut + 1));
  struct stat st;
  return native && stat(native->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

HANDLE Insert(std::shared_ptr<plat::KernelObject> object) {
  HANDLE h = plat::InsertKernelObject(std::move(object));
  return h ? h : INVALID_HANDLE_VALUE;  // the table set the error
}

HANDLE OpenFile(LPCSTR name, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  bool read = access & (GENERIC_READ | GENERIC_ALL | FILE_READ_DATA);
  bool write = access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA);
  if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING) return FailHandle(ERROR_INVALID_PARAMETER);
  if (disposition == TRUNCATE_EXISTING && !write) return FailHandle(ERROR_INVALID_PARAMETER);

  if (plat::path::IsNulDevice(name)) {
    if (!FolderOfExists(name)) return FailHandle(ERROR_PATH_NOT_FOUND);
    SetLastError(0);
    return Insert(std::make_shared<plat::file::NulDevice>());
  }
  for (const char* p = name; *p; ++p)
    if (*p == '*' || *p == '?') return FailHandle(ERROR_INVALID_NAME);

  DWORD error = 0;
  auto native = plat::path::ToNative(name, &error);
  if (!native) return FailHandle(error);

  struct stat st;
  bool exists = stat(native->c_str(), &st) == 0;
  int fd = -1;
  bool created = false;
  if (exists) {
    if (disposition == CREATE_NEW) return FailHandle(ERROR_FILE_EXISTS);
    if (S_ISDIR(st.st_mode)) {
      // Folders open only for their times and attributes, as on Windows.
      if (!(flags & FILE_FLAG_BACKUP_SEMANTICS)) return FailHandle(ERROR_ACCESS_DENIED);
      fd = open(native->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (fd < 0) return FailHandle(plat::file::ErrorFromErrno(errno, *native));
      auto object = std::make_shared<FileObject>(fd, *native, false, write, share, false);
      if (DWORD e = object->Register()) return FailHandle(e);
      SetLastError(0);
      return Insert(std::move(object));
    }
    bool truncates = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    if ((write || truncates) && !(st.st_mode & S_IWUSR)) return FailHandle(ERROR_ACCESS_DENIED);
  } else {
    if (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING)
      return FailHandle(plat::file::ErrorFromErrno(ENOENT, *native));
  }

  int mode = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
  if (!exists) {
    // A new file that is asked to be read-only gets its write bits only after creation.
    fd = open(native->c_str(), mode | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return FailHandle(plat::file::ErrorFromErrno(errno, *native));
    created = true;
    plat::file::StoreCreationTime(fd, plat::file::Now());
  } else {
    fd = open(native->c_str(), mode | O_CLOEXEC);
    if (fd < 0) return FailHandle(plat::file::ErrorFromErrno(errno, *native));
  }
  auto object = std::make_shared<FileObject>(fd, *native, read, write, share, flags & FILE_FLAG_OVERLAPPED);
  if (DWORD e = object->Register()) return FailHandle(e);
  // Truncation waits until sharing allowed the open, so a refused open changes nothing.
  if (exists && (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING)) {
    int rc = write ? ftruncate(fd, 0) : truncate(native->c_str(), 0);
    if (rc != 0) return FailHandle(plat::file::ErrorFromErrno(errno, *native));
  }
  if (created && (flags & FILE_ATTRIBUTE_READONLY)) {
    struct stat now;
    if (fstat(fd, &now) == 0) fchmod(fd, now.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH));
  }
  bool reported = exists && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
  HANDLE h = Insert(std::move(object));
  if (h != INVALID_HANDLE_VALUE) SetLastError(reported ? ERROR_ALREADY_EXISTS : 0);
  return h;
}

// Starts a request on an OVERLAPPED record and makes sure it reads as finished when
// the object answered at once (devices that complete later update it themselves).
template <class Call>
BOOL Dispatch(OVERLAPPED* overlapped, DWORD* done, Call call) {
  DWORD local = 0;
  if (!done) {
    if (!overlapped) return Fail(ERROR_INVALID_PARAMETER);
    done = &local;
  }
  if (!overlapped) return call(done);
  // As on Windows, the record's event is reset when a request starts.
  if (overlapped->hEvent) ResetEvent(overlapped->hEvent);
  {
    std::lock_guard lock(plat::KernelMutex());
    overlapped->Internal = STATUS_PENDING;
    overlapped->InternalHigh = 0;
  }
  BOOL ok = call(done);
  DWORD error = ok ? 0 : GetLastError();
  if (error != ERROR_IO_PENDING) {
    bool untouched;
    {
      std::lock_guard lock(plat::KernelMutex());
      untouched = overlapped->Internal == STATUS_PENDING;
    }
    if (untouched) plat::file::CompleteOverlapped(overlapped, error, *done);
    SetLastError(error);
  }
  return ok;
}

std::shared_ptr<FileObject> FindFile(HANDLE h) {
  auto object = plat::FindKernelObject(h);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto file = std::dynamic_pointer_cast<FileObject>(object);
  if (!file) SetLastError(ERROR_INVALID_FUNCTION);
  return file;
}

}  // namespace

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD flags,
                   HANDLE) {
  if (!name || !*name) return FailHandle(ERROR_PATH_NOT_FOUND);
  if (DWORD e = plat::faults::Check("CreateFileA")) return FailHandle(e);
  if (auto device = plat::path::DeviceName(name)) {
    DWORD error = ERROR_FILE_NOT_FOUND;
    auto object = plat::OpenDevice(*device, access, flags, &error);
    if (!object) return FailHandle(error);
    SetLastError(0);
    return Insert(std::move(object));
  }
  return OpenFile(name, access, share, disposition, flags);
}

BOOL ReadFile(HANDLE h, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped) {
  auto object = plat::FindKernelObject(h);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (read) *read = 0;
  if (DWORD e = plat::faults::Check("ReadFile")) return Fail(e);
  return Dispatch(overlapped, read, [&](DWORD* done) { return object->Read(buffer, size, done, overlapped); });
}

BOOL WriteFile(HANDLE h, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  auto object = plat::FindKernelObject(h);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (written) *written = 0;
  if (DWORD e = plat::faults::Check("WriteFile")) return Fail(e);
  return Dispatch(overlapped, written, [&](DWORD* done) { return object->Write(buffer, size, done, overlapped); });
}

BOOL DeviceIoControl(HANDLE h, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize, LPDWORD returned,
                     LPOVERLAPPED overlapped) {
  auto object = plat::FindKernelObject(h);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  if (returned) *returned = 0;
  if (DWORD e = plat::faults::Check("DeviceIoControl")) return Fail(e);
  return Dispatch(overlapped, returned, [&](DWORD* done) {
    return object->IoControl(code, in, inSize, out, outSize, done, overlapped);
  });
}

BOOL GetOverlappedResult(HANDLE h, LPOVERLAPPED overlapped, LPDWORD transferred, BOOL wait) {
  if (!plat::FindKernelObject(h)) return Fail(ERROR_INVALID_HANDLE);
  if (!overlapped || !transferred) return Fail(ERROR_INVALID_PARAMETER);
  std::unique_lock lock(plat::KernelMutex());
  if (overlapped->Internal == STATUS_PENDING) {
    if (!wait) {
      lock.unlock();
      return Fail(ERROR_IO_INCOMPLETE);
    }
    plat::ObjectWaitScope waiting;
    plat::KernelCondition().wait(lock, [&] { return overlapped->Internal != STATUS_PENDING; });
  }
  *transferred = static_cast<DWORD>(overlapped->InternalHigh);
  DWORD error = static_cast<DWORD>(overlapped->Internal);
  lock.unlock();
  return error ? Fail(error) : TRUE;
}

BOOL CancelIo(HANDLE h) {
  auto object = plat::FindKernelObject(h);
  if (!object) return Fail(ERROR_INVALID_HANDLE);
  return object->CancelIo();
}

DWORD SetFilePointer(HANDLE h, LONG distance, PLONG distanceHigh, DWORD method) {
  auto file = FindFile(h);
  if (!file) return INVALID_SET_FILE_POINTER;
  int64_t move = distanceHigh ? static_cast<int64_t>((uint64_t(uint32_t(*distanceHigh)) << 32) | uint32_t(distance))
                              : static_cast<int64_t>(distance);
  int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
  if (whence < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  off_t base = whence == SEEK_SET ? 0 : lseek(file->Fd(), 0, whence);
  if (base < 0 || base + move < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  off_t at = lseek(file->Fd(), base + move, SEEK_SET);
  if (at < 0) {
    SetLastError(plat::file::ErrorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh) *distanceHigh = static_cast<LONG>(uint64_t(at) >> 32);
  SetLastError(0);  // 0xFFFFFFFF can be a good low part; callers tell by the error
  return static_cast<DWORD>(at);
}

DWORD GetFileSize(HANDLE h, LPDWORD sizeHigh) {
  auto file = FindFile(h);
  if (!file) return INVALID_FILE_SIZE;
  DWORD error = 0;
  auto info = plat::file::QueryOpen(file->Fd(), &error);
  if (!info) {
    SetLastError(error);
    return INVALID_FILE_SIZE;
  }
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(info->size >> 32);
  SetLastError(0);
  return static_cast<DWORD>(info->size);
}

BOOL SetEndOfFile(HANDLE h) {
  auto file = FindFile(h);
  if (!file) return FALSE;
  if (!file->CanWrite()) return Fail(ERROR_ACCESS_DENIED);
  if (DWORD e = plat::faults::Check("SetEndOfFile")) return Fail(e);
  off_t at = lseek(file->Fd(), 0, SEEK_CUR);
  if (at < 0 || ftruncate(file->Fd(), at) != 0) return Fail(plat::file::ErrorFromErrno(errno));
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE h) {
  auto file = FindFile(h);
  if (!file) return FALSE;
  if (DWORD e = plat::faults::Check("FlushFileBuffers")) return Fail(e);
  if (fsync(file->Fd()) != 0) return Fail(plat::file::ErrorFromErrno(errno));
  return TRUE;
}

BOOL GetFileTime(HANDLE h, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite) {
  auto file = FindFile(h);
  if (!file) return FALSE;
  DWORD error = 0;
  auto info = plat::file::QueryOpen(file->Fd(), &error);
  if (!info) return Fail(error);
  if (creation) *creation = plat::file::Split(info->creation);
  if (lastAccess) *lastAccess = plat::file::Split(info->lastAccess);
  if (lastWrite) *lastWrite = plat::file::Split(info->lastWrite);
  return TRUE;
}

BOOL SetFileTime(HANDLE h, const FILETIME* creation, const FILETIME* lastAccess, const FILETIME* lastWrite) {
  auto file = FindFile(h);
  if (!file) return FALSE;
  if (!file->CanWrite()) return Fail(ERROR_ACCESS_DENIED);
  if (DWORD e = plat::faults::Check("SetFileTime")) return Fail(e);
  timespec times[2];
  const FILETIME* given[2] = {lastAccess, lastWrite};
  for (int i = 0; i < 2; ++i) {
    if (!given[i]) {
      times[i].tv_sec = 0;
      times[i].tv_nsec = UTIME_OMIT;
      continue;
    }
    int64_t s, ns;
    plat::file::ToUnix(plat::file::Join(*given[i]), &s, &ns);
    times[i].tv_sec = s;
    times[i].tv_nsec = ns;
  }
  if (futimens(file->Fd(), times) != 0) return Fail(plat::file::ErrorFromErrno(errno));
  if (creation && !plat::file::StoreCreationTime(file->Fd(), plat::file::Join(*creation)))
    return Fail(ERROR_NOT_SUPPORTED);
  return TRUE;
}
