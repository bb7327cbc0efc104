// How the imaging control reaches files: Windows paths through the stand-in's file
// calls (drive mapping, case-blind names, their fault points), read whole or at chosen
// places, and saves that never destroy the old file.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "WinTypes.h"
#include "imaging/Status.h"

namespace plat::imaging::files {

// Largest file read into memory: the largest picture block and some room.
inline constexpr uint64_t kMaxFileBytes = (uint64_t(1) << 30) + (uint64_t(64) << 20);

// Bytes a codec reads at chosen places and, when writing, writes at chosen places:
// a block of memory, a file being read, or a new file being written.
class RandomAccess {
 public:
  virtual ~RandomAccess() = default;
  virtual uint64_t Size() const = 0;
  // Reads up to n bytes at `at`; how many were read (0 at or past the end, or on an error).
  virtual size_t ReadAt(uint64_t at, void* out, size_t n) = 0;
  // Writes n bytes at `at` (a gap before it reads as zeros); false when it cannot.
  virtual bool WriteAt(uint64_t at, const void* in, size_t n) { return false; }
  // The whole contents when they lie in memory, else null.
  virtual const uint8_t* Memory() const { return nullptr; }
  // True once a write failed (a full disk).
  virtual bool WriteFailed() const { return false; }
};

// Bytes in memory: read-only over a caller's block, or a growing block being written.
class MemoryAccess : public RandomAccess {
 public:
  MemoryAccess(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit MemoryAccess(std::vector<uint8_t>* out) : out_(out) {}
  uint64_t Size() const override { return out_ ? out_->size() : size_; }
  size_t ReadAt(uint64_t at, void* out, size_t n) override;
  bool WriteAt(uint64_t at, const void* in, size_t n) override;
  const uint8_t* Memory() const override { return out_ ? out_->data() : data_; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  std::vector<uint8_t>* out_ = nullptr;
};

// A caller's block of fixed size being written in place: a write that does not fit is
// refused and marks the block full.
class BlockAccess : public RandomAccess {
 public:
  BlockAccess(uint8_t* block, size_t capacity) : block_(block), capacity_(capacity) {}
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t at, void* out, size_t n) override;
  bool WriteAt(uint64_t at, const void* in, size_t n) override;
  bool Full() const { return full_; }

 private:
  uint8_t* block_;
  size_t capacity_, size_ = 0;
  bool full_ = false;
};

// A file opened for reading, read where asked without holding it in memory.
class InputFile : public RandomAccess {
 public:
  InputFile() = default;
  ~InputFile() override;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  // 2 when the file (or a folder on its path) does not exist, 20008 when it cannot be
  // opened, 20009 when its size cannot be read.
  Status Open(const std::string& path);
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t at, void* out, size_t n) override;

 private:
  HANDLE h_ = nullptr;
  uint64_t size_ = 0;
  uint64_t pos_ = 0;  // where the handle stands
};

// A new file written beside `path` that takes its name only on Commit, after it was
// flushed; dropped (and the old file left as it was) otherwise.
class ReplacingFile : public RandomAccess {
 public:
  ReplacingFile() = default;
  ~ReplacingFile() override;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  // 20008 when the new file cannot be made.
  Status Create(const std::string& path);
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t at, void* out, size_t n) override;
  bool WriteAt(uint64_t at, const void* in, size_t n) override;
  bool WriteFailed() const override { return failed_; }
  // 20009 when a write failed (a full disk) or the file could not be put in place.
  Status Commit();

 private:
  void Drop();
  HANDLE h_ = nullptr;
  std::string path_, temp_;
  uint64_t size_ = 0;
  uint64_t pos_ = 0;  // where the handle stands
  bool failed_ = false;
};

// A whole file in memory. The block is not cleared before the file is read into it.
struct FileBytes {
  std::unique_ptr<uint8_t[]> data;
  size_t size = 0;
};

// Reads all of an opened file; 20001 when it is too large to hold, 20009 when reading fails.
Status ReadAll(InputFile& file, FileBytes* bytes);
// Opens and reads a whole file, with the statuses of InputFile::Open and ReadAll.
Status ReadAll(const std::string& path, FileBytes* bytes);

// Writes the pieces, one after another, as a ReplacingFile: 20008 when the file cannot
// be created, 20009 when writing fails (a full disk).
struct Piece {
  const uint8_t* data;
  size_t size;
};
Status WriteReplacing(const std::string& path, std::initializer_list<Piece> pieces);
Status WriteReplacing(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace plat::imaging::files
