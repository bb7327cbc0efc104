#include "imaging/FileAccess.h"

#include <unistd.h>

#include <algorithm>
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

Status ReadAll(const std::string& path, FileBytes* bytes) {
  if (IsFolder(path)) return status::kCannotOpen;
  File f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr));
  if (!f.Ok()) return OpenStatus(GetLastError());
  DWORD high = 0;
  const DWORD low = GetFileSize(f.get(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return status::kFileError;
  const uint64_t size = (uint64_t(high) << 32) | low;
  if (size > kMaxFileBytes) return status::kNoMemory;
  FileBytes read;
  read.size = static_cast<size_t>(size);
  read.data = std::make_unique_for_overwrite<uint8_t[]>(std::max<size_t>(read.size, 1));
  size_t got = 0;
  while (got < read.size) {
    DWORD n = 0;
    const DWORD want = DWORD(std::min<size_t>(kPiece, read.size - got));
    if (!ReadFile(f.get(), read.data.get() + got, want, &n, nullptr) || n == 0) return status::kFileError;
    got += n;
  }
  *bytes = std::move(read);
  return status::kOk;
}

Status WriteReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
  return WriteReplacing(path, {Piece{bytes.data(), bytes.size()}});
}

Status WriteReplacing(const std::string& path, std::initializer_list<Piece> pieces) {
  if (IsFolder(path)) return status::kCannotOpen;
  static std::atomic<unsigned> counter{0};
  const std::string temp = path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  File f(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Ok()) return status::kCannotOpen;
  bool ok = true;
  for (const Piece& piece : pieces) {
    size_t put = 0;
    while (ok && put < piece.size) {
      DWORD n = 0;
      const DWORD want = DWORD(std::min<size_t>(kPiece, piece.size - put));
      ok = WriteFile(f.get(), piece.data + put, want, &n, nullptr) && n == want;
      put += n;
    }
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
