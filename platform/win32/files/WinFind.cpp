// FindFirstFileA / FindNextFileA / FindClose over a listing taken when the search starts.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "Faults.h"
#include "KernelObject.h"
#include "LastError.h"
#include "WinError.h"
#include "WinFile.h"
#include "files/FileFind.h"

namespace {

class FindObject : public plat::KernelObject {
 public:
  explicit FindObject(std::vector<plat::file::Entry> entries) : entries_(std::move(entries)) {}
  // Fills `data` with the next entry; false at the end.
  bool Next(WIN32_FIND_DATAA* data) {
    std::lock_guard lock(mutex_);
    if (next_ >= entries_.size()) return false;
    const plat::file::Entry& e = entries_[next_++];
    std::memset(data, 0, sizeof *data);
    data->dwFileAttributes = e.info.attributes;
    data->ftCreationTime = plat::file::Split(e.info.creation);
    data->ftLastAccessTime = plat::file::Split(e.info.lastAccess);
    data->ftLastWriteTime = plat::file::Split(e.info.lastWrite);
    data->nFileSizeHigh = static_cast<DWORD>(e.info.size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(e.info.size);
    std::memcpy(data->cFileName, e.name.data(), std::min(e.name.size(), sizeof data->cFileName - 1));
    std::memcpy(data->cAlternateFileName, e.shortName.data(),
                std::min(e.shortName.size(), sizeof data->cAlternateFileName - 1));
    return true;
  }

 private:
  std::mutex mutex_;
  std::vector<plat::file::Entry> entries_;
  size_t next_ = 0;
};

}  // namespace

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  if (!pattern || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  if (DWORD e = plat::faults::Check("FindFirstFileA")) {
    SetLastError(e);
    return INVALID_HANDLE_VALUE;
  }
  DWORD error = ERROR_FILE_NOT_FOUND;
  auto entries = plat::file::Find(pattern, &error);
  if (!entries) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
  }
  auto find = std::make_shared<FindObject>(std::move(*entries));
  find->Next(data);
  HANDLE h = plat::InsertKernelObject(find);
  if (!h) return INVALID_HANDLE_VALUE;
  SetLastError(0);
  return h;
}

BOOL FindNextFileA(HANDLE h, LPWIN32_FIND_DATAA data) {
  auto find = plat::FindKernel<FindObject>(h);
  if (!find || !data) {
    SetLastError(find ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!find->Next(data)) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  return TRUE;
}

BOOL FindClose(HANDLE h) {
  if (!plat::FindKernel<FindObject>(h)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return plat::CloseKernelHandle(h);
}
