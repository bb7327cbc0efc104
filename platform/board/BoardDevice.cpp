#include "BoardDevice.h"

#include <strings.h>

#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "BoardSystem.h"
#include "Clock.h"
#include "LastError.h"
#include "VxdBuffers.h"
#include "WinError.h"
#include "WinFile.h"
#include "files/FileObject.h"

namespace plat::board {
namespace {
constexpr DWORD kSemaphoreTimeout = 121;  // ERROR_SEM_TIMEOUT

BOOL Fail(DWORD error) {
  ::SetLastError(error);
  return FALSE;
}

int WidthBytes(DWORD code) {
  switch (code & 3) {
    case 1: return 1;
    case 2: return 2;
    case 3: return 4;  // the library also sends 3 for byte accesses; a dword read covers them
    default: return 0;
  }
}

// Finishes an overlapped request as the I/O manager does: the record holds the error
// and the count, waiters on the record wake, and the record's event is set.
void Complete(OVERLAPPED* o, DWORD error, DWORD bytes) { file::CompleteOverlapped(o, error, bytes); }

// Registers the device names when the stand-in library loads.
[[maybe_unused]] const bool g_registered = [] {
  RegisterDevice("KQPCI*", &BoardDevice::Open);
  RegisterDevice("kq2pci", &BoardDevice::Open);
  return true;
}();
}  // namespace

std::shared_ptr<KernelObject> BoardDevice::Open(std::string_view name, DWORD access, DWORD flags, DWORD* error) {
  if (name.substr(0, 4) == "\\\\.\\") name.remove_prefix(4);
  BoardSystem& system = BoardSystem::Get();
  bool nt = system.Os() != OsFamily::Win9x;
  *error = ERROR_FILE_NOT_FOUND;
  if (name.size() == 6 && strncasecmp(name.data(), "kq2pci", 6) == 0) {
    if (nt || !system.HasBoard(0)) return nullptr;
    *error = 0;
    return std::make_shared<BoardDevice>(Kind::Vxd, 0, false);
  }
  if (name.size() <= 5 || strncasecmp(name.data(), "KQPCI", 5) != 0 || !nt) return nullptr;
  std::string number(name.substr(5));
  char* end = nullptr;
  long n = std::strtol(number.c_str(), &end, 10);
  if (!end || *end != '\0' || n < 1 || !system.HasBoard(int(n - 1))) return nullptr;
  *error = 0;
  return std::make_shared<BoardDevice>(Kind::Nt, int(n - 1), (flags & FILE_FLAG_OVERLAPPED) != 0);
}

BOOL BoardDevice::BoardList(void* out, DWORD outSize, DWORD* returned) {
  if (!out || outSize < kBoardListBytes) return Fail(ERROR_INSUFFICIENT_BUFFER);
  auto records = BoardSystem::Get().Records();
  auto* p = static_cast<uint8_t*>(out);
  std::memset(p, 0, kBoardListBytes);
  DWORD count = DWORD(std::min<size_t>(records.size(), 10));
  for (DWORD i = 0; i < count; ++i) std::memcpy(p + 24 * i, records[i].data(), 24);
  std::memcpy(p + 240, &count, 4);
  if (returned) *returned = kBoardListBytes;
  return TRUE;
}

BOOL BoardDevice::Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped) {
  if (kind_ != Kind::Nt) return Fail(ERROR_INVALID_FUNCTION);
  if (!buffer && size) return Fail(ERROR_INVALID_PARAMETER);
  if (done) *done = 0;
  BoardSystem& system = BoardSystem::Get();
  uint32_t got = 0;
  bool ok = system.ReadLine(board_, static_cast<uint8_t*>(buffer), size, &got);
  if (ok) system.ChargeTransfer(got);
  if (overlapped_ && overlapped) {
    std::lock_guard lock(mutex_);
    if (ok) {
      if (done) *done = got;
      Complete(overlapped, 0, got);
      return TRUE;
    }
    // The transfer waits for data that is not coming; CancelIo ends it.
    pending_ = Pending{static_cast<uint8_t*>(buffer), size, overlapped};
    {
      std::lock_guard kernel(KernelMutex());
      overlapped->Internal = STATUS_PENDING;
      overlapped->InternalHigh = 0;
    }
    return Fail(ERROR_IO_PENDING);
  }
  if (!ok) {
    // A synchronous transfer gives up after one frame period without data.
    clock::SleepMicros(int64_t(system.FramePeriodUs(board_)));
    return Fail(kSemaphoreTimeout);
  }
  if (done) *done = got;
  return TRUE;
}

BOOL BoardDevice::CancelIo() {
  std::lock_guard lock(mutex_);
  if (pending_) {
    Complete(pending_->overlapped, ERROR_OPERATION_ABORTED, 0);
    pending_.reset();
  }
  vxdRead_.reset();
  return TRUE;
}

void BoardDevice::OnClose() {
  std::lock_guard lock(mutex_);
  pending_.reset();
  vxdRead_.reset();
}

BOOL BoardDevice::IoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned,
                            OVERLAPPED* overlapped) {
  if (returned) *returned = 0;
  if (kind_ == Kind::Vxd) return VxdRequest(code, in, inSize, out, outSize, returned);
  switch (code) {
    case kIoctlBoardList: return BoardList(out, outSize, returned);
    case kIoctlBoardRecord: {
      if (!out || outSize < 24) return Fail(ERROR_INSUFFICIENT_BUFFER);
      auto records = BoardSystem::Get().Records();
      if (board_ >= int(records.size())) return Fail(ERROR_DEVICE_NOT_CONNECTED);
      std::memcpy(out, records[board_].data(), 24);
      if (returned) *returned = 24;
      return TRUE;
    }
    case kIoctlSyncReadEnd: return TRUE;
    case kIoctlPortRead:
    case kIoctlPortWrite:
    case kIoctlBlockRead: return PortRequest(code, in, inSize, out, outSize, returned);
    default: return Fail(ERROR_INVALID_FUNCTION);
  }
}

BOOL BoardDevice::PortRequest(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned) {
  DWORD address = 0;
  if (!in || inSize < 4) return Fail(ERROR_INVALID_PARAMETER);
  std::memcpy(&address, in, 4);
  int bytes = WidthBytes(address);
  uint32_t port = (address >> 2) & 0xFFFF;
  if (bytes == 0) return Fail(ERROR_INVALID_PARAMETER);
  BoardSystem& system = BoardSystem::Get();
  if (code == kIoctlPortRead) {
    if (!out || outSize < 4) return Fail(ERROR_INSUFFICIENT_BUFFER);
    uint32_t v = system.ReadPort(port, bytes);
    std::memcpy(out, &v, 4);
    if (returned) *returned = 4;
    return TRUE;
  }
  if (code == kIoctlPortWrite) {
    if (inSize < 8) return Fail(ERROR_INVALID_PARAMETER);
    uint32_t v = 0;
    std::memcpy(&v, static_cast<const uint8_t*>(in) + 4, 4);
    if (bytes < 4) v &= (1u << (8 * bytes)) - 1;
    system.WritePort(port, bytes, v);
    return TRUE;
  }
  if (!out) return Fail(ERROR_INVALID_PARAMETER);
  size_t count = outSize / 4;
  std::vector<uint32_t> words(count);
  system.ReadBlock(port, words.data(), count);
  std::memcpy(out, words.data(), count * 4);
  if (returned) *returned = DWORD(count * 4);
  return TRUE;
}

BOOL BoardDevice::VxdRequest(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned) {
  BoardSystem& system = BoardSystem::Get();
  switch (code) {
    case kVxdBoardList: return BoardList(out, outSize, returned);
    case kVxdSelectBoard: {
      DWORD n = 0;
      if (!in || inSize < 4) return Fail(ERROR_INVALID_PARAMETER);
      std::memcpy(&n, in, 4);
      if (n < 1 || !system.HasBoard(int(n) - 1)) return Fail(ERROR_INVALID_PARAMETER);
      board_ = int(n) - 1;
      return TRUE;
    }
    case kVxdStartRead: {
      DWORD words[3] = {};
      if (!in || inSize < 12) return Fail(ERROR_INVALID_PARAMETER);
      std::memcpy(words, in, 12);
      void* buffer = FindVxdBuffer(words[2], words[1]);
      if (!buffer) return Fail(ERROR_INVALID_PARAMETER);
      std::lock_guard lock(mutex_);
      vxdRead_ = Pending{static_cast<uint8_t*>(buffer), words[1], nullptr};
      return TRUE;
    }
    case kVxdPollRead: {
      if (!out || outSize < 4) return Fail(ERROR_INSUFFICIENT_BUFFER);
      DWORD finished = 1;
      std::lock_guard lock(mutex_);
      if (vxdRead_) {
        uint32_t got = 0;
        if (system.ReadLine(board_, vxdRead_->buffer, vxdRead_->size, &got)) {
          system.ChargeTransfer(got);
          vxdRead_.reset();
        } else {
          finished = 0;
        }
      }
      std::memcpy(out, &finished, 4);
      if (returned) *returned = 4;
      return TRUE;
    }
    default: return Fail(ERROR_INVALID_FUNCTION);
  }
}

}  // namespace plat::board
