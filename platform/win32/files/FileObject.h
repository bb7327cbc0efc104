// The kernel objects behind file handles: an open native file (with the Windows
// sharing rules among the handles of this process) and the NUL device.
#pragma once
#include <sys/types.h>

#include <string>

#include "KernelObject.h"

namespace plat::file {

class FileObject : public KernelObject {
 public:
  // Takes ownership of `fd`. Register() must succeed before the object is used.
  FileObject(int fd, std::string native, bool canRead, bool canWrite, DWORD share, bool overlapped);
  ~FileObject() override;
  FileObject(const FileObject&) = delete;
  FileObject& operator=(const FileObject&) = delete;

  // Checks the sharing rules against the other open handles of the same file and
  // joins them; ERROR_SHARING_VIOLATION when they do not allow this open.
  DWORD Register();
  // True when some open handle does not let `native` be deleted or renamed.
  static bool BlocksDelete(const std::string& native);

  BOOL Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped) override;
  BOOL Write(const void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped) override;
  BOOL CancelIo() override { return TRUE; }  // requests complete before they return

  int Fd() const { return fd_; }
  bool CanWrite() const { return canWrite_; }
  const std::string& Native() const { return native_; }

 private:
  int fd_;
  std::string native_;
  bool canRead_, canWrite_;
  DWORD share_;
  bool overlapped_;
  bool registered_ = false;
  dev_t dev_ = 0;
  ino_t ino_ = 0;
};

// "NUL": reads find the end at once, writes vanish.
class NulDevice : public KernelObject {
 public:
  BOOL Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped) override;
  BOOL Write(const void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped) override;
  BOOL CancelIo() override { return TRUE; }
};

// Marks an OVERLAPPED record finished: status 0 or a Win32 error, bytes moved.
void CompleteOverlapped(OVERLAPPED* overlapped, DWORD error, DWORD bytes);

}  // namespace plat::file
