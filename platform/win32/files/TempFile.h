// A file written beside its target and renamed over it only when complete, so a
// failed or interrupted write never leaves a half-written target behind.
#pragma once
#include <string>
#include <string_view>

#include "WinTypes.h"

namespace plat::file {

class TempFile {
 public:
  // Creates the temporary file in the folder of native path `target`.
  explicit TempFile(std::string target);
  ~TempFile();  // removes the temporary file unless it was committed
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // 0 when the temporary file exists, else the Win32 error.
  DWORD Error() const { return error_; }
  int Fd() const { return fd_; }
  // Appends; asks the "WriteFile" fault point, so tests can fill the disk.
  DWORD Write(std::string_view data);
  // Gives the file `mode`, flushes it (the "TempFile::Flush" fault point) and renames it
  // over the target; with `noReplace`, an existing target makes it fail with
  // ERROR_FILE_EXISTS. Any failure leaves the target as it was.
  DWORD Commit(unsigned mode, bool noReplace = false);

 private:
  DWORD Flush();

  std::string target_;
  std::string temp_;
  int fd_ = -1;
  DWORD error_ = 0;
  bool committed_ = false;
};

}  // namespace plat::file
