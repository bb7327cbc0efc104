#include "imaging/FileAccess.h"

#include <unistd.h>

#include <atomic>
#include <utility>

#include "LastError.h"
#include "WinError.h"
#include "WinFile.h"

namespace plat::imaging::files {
namespace {

// Reads and writes go in pieces a DWORD can count.
constexpr DWORD kPiece = 1u << 24;

class File {
 public:
  explicit File(HANDLE h) : h_(h) {}
  ~File() { Close(); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  bool Ok() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  bool Close() {
    if (!Ok()) return true;
    return CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE)) != FALSE;
  }

 private:
  HANDLE h_;
};

Status OpenStatus(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? status::kFileNotFound
                                                                         : status::kCannotOpen;
}

bool IsFolder(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

Status ReadAll(const std::string& path, std::vector<uint8_t>* bytes) {
  if (IsFolder(path)) return status::kCannotOpen;
  File f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr));
  if (!f.Ok()) return OpenStatus(GetLastError());
  DWORD high = 0;
  const DWORD low = GetFileSize(f.get(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return status::kFileError;
  const uint64_t size = (uint64_t(high) << 32) | low;
  if (size > kMaxFileBytes) return status::kNoMemory;
  std::vector<uint8_t> data(static_cast<size_t>(size));
  size_t got = 0;
  while (got < data.size()) {
    DWORD n = 0;
    const DWORD want = DWORD(std::min<size_t>(kPiece, data.size() - got));
    if (!ReadFile(f.get(), data.data() + got, want, &n, nullptr) || n == 0) return status::kFileError;
    got += n;
  }
  *bytes = std::move(data);
  return status::kOk;
}

Status WriteReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (IsFolder(path)) return status::kCannotOpen;
  static std::atomic<unsigned> counter{0};
  // A short name of its own in the target's folder: a name near the longest a folder
  // takes must still be writable.
  const size_t cut = path.find_last_of("\\/");
  const std::string folder = cut != std::string::npos                 ? path.substr(0, cut + 1)
                             : path.size() >= 2 && path[1] == ':' ? path.substr(0, 2)
                                                                  : std::string();
  const std::string temp = folder + "~lum" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
  File f(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Ok()) return status::kCannotOpen;
  bool ok = true;
  size_t put = 0;
  while (ok && put < bytes.size()) {
    DWORD n = 0;
    const DWORD want = DWORD(std::min<size_t>(kPiece, bytes.size() - put));
    ok = WriteFile(f.get(), bytes.data() + put, want, &n, nullptr) && n == want;
    put += n;
  }
  // The data must be on the disk before the new file takes the old one's name.
  ok = ok && FlushFileBuffers(f.get());
  ok = f.Close() && ok;
  ok = ok && MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) {
    DeleteFileA(temp.c_str());
    return status::kFileError;
  }
  return status::kOk;
}

}  // namespace plat::imaging::files
