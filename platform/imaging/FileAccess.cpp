#include "imaging/FileAccess.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

#include "LastError.h"
#include "WinError.h"
#include "WinFile.h"

namespace plat::imaging::files {
namespace {

// Reads and writes go in pieces a DWORD can count.
constexpr DWORD kPiece = 1u << 24;

bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }

Status OpenStatus(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? status::kFileNotFound
                                                                         : status::kCannotOpen;
}

bool IsFolder(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Seek(HANDLE h, uint64_t at) {
  LONG high = LONG(at >> 32);
  SetLastError(NO_ERROR);
  const DWORD low = SetFilePointer(h, LONG(uint32_t(at)), &high, FILE_BEGIN);
  return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

// `pos` is where the handle stands (seeking is skipped when it is already there);
// it is left after what was read, or unknown after an error.
size_t ReadHandle(HANDLE h, uint64_t* pos, uint64_t at, void* out, size_t n) {
  if (*pos != at && !Seek(h, at)) {
    *pos = UINT64_MAX;
    return 0;
  }
  *pos = at;
  size_t got = 0;
  while (got < n) {
    DWORD k = 0;
    const DWORD want = DWORD(std::min<size_t>(kPiece, n - got));
    if (!ReadFile(h, static_cast<uint8_t*>(out) + got, want, &k, nullptr) || k == 0) {
      *pos = UINT64_MAX;
      return got;
    }
    got += k;
    *pos += k;
  }
  return got;
}

}  // namespace

// ---- memory

size_t MemoryAccess::ReadAt(uint64_t at, void* out, size_t n) {
  const uint64_t size = Size();
  if (n == 0 || at >= size) return 0;  // `out` may be null for nothing
  const size_t k = size_t(std::min<uint64_t>(n, size - at));
  std::memcpy(out, Memory() + at, k);
  return k;
}

bool MemoryAccess::WriteAt(uint64_t at, const void* in, size_t n) {
  if (!out_ || at > kMaxFileBytes || n > kMaxFileBytes) return false;
  std::vector<uint8_t>& out = *out_;
  const auto* p = static_cast<const uint8_t*>(in);
  if (at > out.size()) out.resize(size_t(at));  // a seek past the end leaves a gap
  // Overwrite what is there, append the rest (no zero fill before the copy).
  const size_t over = std::min(n, out.size() - size_t(at));
  std::memcpy(out.data() + at, p, over);
  out.insert(out.end(), p + over, p + n);
  return true;
}

size_t BlockAccess::ReadAt(uint64_t at, void* out, size_t n) {
  if (n == 0 || at >= size_) return 0;
  const size_t k = size_t(std::min<uint64_t>(n, size_ - at));
  std::memcpy(out, block_ + at, k);
  return k;
}

bool BlockAccess::WriteAt(uint64_t at, const void* in, size_t n) {
  if (at > capacity_ || n > capacity_ - at) {
    full_ = true;
    return false;
  }
  if (at > size_) std::memset(block_ + size_, 0, size_t(at) - size_);  // a seek past the end leaves a gap
  std::memcpy(block_ + at, in, n);
  size_ = std::max(size_, size_t(at) + n);
  return true;
}

// ---- reading a file

InputFile::~InputFile() {
  if (Valid(h_)) CloseHandle(h_);
}

Status InputFile::Open(const std::string& path) {
  if (IsFolder(path)) return status::kCannotOpen;
  h_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                   nullptr);
  if (!Valid(h_)) return OpenStatus(GetLastError());
  DWORD high = 0;
  const DWORD low = GetFileSize(h_, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return status::kFileError;
  size_ = (uint64_t(high) << 32) | low;
  return status::kOk;
}

size_t InputFile::ReadAt(uint64_t at, void* out, size_t n) {
  if (!Valid(h_) || at >= size_) return 0;
  return ReadHandle(h_, &pos_, at, out, size_t(std::min<uint64_t>(n, size_ - at)));
}

Status ReadAll(InputFile& file, FileBytes* bytes) {
  const uint64_t size = file.Size();
  if (size > kMaxFileBytes) return status::kNoMemory;
  FileBytes read;
  read.size = static_cast<size_t>(size);
  read.data = std::make_unique_for_overwrite<uint8_t[]>(std::max<size_t>(read.size, 1));
  if (file.ReadAt(0, read.data.get(), read.size) != read.size) return status::kFileError;
  *bytes = std::move(read);
  return status::kOk;
}

Status ReadAll(const std::string& path, FileBytes* bytes) {
  InputFile file;
  if (Status st = file.Open(path)) return st;
  return ReadAll(file, bytes);
}

// ---- writing a file

ReplacingFile::~ReplacingFile() { Drop(); }

Status ReplacingFile::Create(const std::string& path) {
  if (IsFolder(path)) return status::kCannotOpen;
  static std::atomic<unsigned> counter{0};
  path_ = path;
  // A short name of its own in the target's folder: a name near the longest a folder
  // takes must still be writable.
  const size_t cut = path.find_last_of("\\/");
  const std::string folder = cut != std::string::npos                 ? path.substr(0, cut + 1)
                             : path.size() >= 2 && path[1] == ':' ? path.substr(0, 2)
                                                                  : std::string();
  temp_ = folder + "~lum" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
  h_ = CreateFileA(temp_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                   nullptr);
  return Valid(h_) ? status::kOk : status::kCannotOpen;
}

size_t ReplacingFile::ReadAt(uint64_t at, void* out, size_t n) {
  if (!Valid(h_) || at >= size_) return 0;
  return ReadHandle(h_, &pos_, at, out, size_t(std::min<uint64_t>(n, size_ - at)));
}

bool ReplacingFile::WriteAt(uint64_t at, const void* in, size_t n) {
  if (!Valid(h_) || failed_ || (pos_ != at && !Seek(h_, at))) {
    failed_ = true;
    return false;
  }
  pos_ = at;
  size_t put = 0;
  while (put < n) {
    DWORD k = 0;
    const DWORD want = DWORD(std::min<size_t>(kPiece, n - put));
    if (!WriteFile(h_, static_cast<const uint8_t*>(in) + put, want, &k, nullptr) || k != want) {
      failed_ = true;
      return false;
    }
    put += k;
    pos_ += k;
  }
  size_ = std::max(size_, at + n);
  return true;
}

Status ReplacingFile::Commit() {
  if (!Valid(h_)) return status::kFileError;
  // The data must be on the disk before the new file takes the old one's name.
  bool ok = !failed_ && FlushFileBuffers(h_);
  ok = CloseHandle(std::exchange(h_, nullptr)) && ok;
  ok = ok && MoveFileExA(temp_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) {
    DeleteFileA(temp_.c_str());
    return status::kFileError;
  }
  return status::kOk;
}

void ReplacingFile::Drop() {
  if (!Valid(h_)) return;
  CloseHandle(std::exchange(h_, nullptr));
  DeleteFileA(temp_.c_str());
}

Status WriteReplacing(const std::string& path, std::initializer_list<Piece> pieces) {
  ReplacingFile f;
  if (Status st = f.Create(path)) return st;
  uint64_t at = 0;
  for (const Piece& piece : pieces) {
    if (!f.WriteAt(at, piece.data, piece.size)) break;
    at += piece.size;
  }
  return f.Commit();
}

Status WriteReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
  return WriteReplacing(path, {Piece{bytes.data(), bytes.size()}});
}

}  // namespace plat::imaging::files
