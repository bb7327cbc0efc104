// The capture board driver as seen through a device handle: "\\.\KQPCI<n>" on the NT
// family (port requests, board list and record, line reads by ReadFile, synchronous or
// overlapped) and "\\.\kq2pci" on 9x (the VxD requests).
#pragma once
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

#include "KernelObject.h"

namespace plat::board {

enum : DWORD {
  kIoctlBoardList = 0x9C402404,
  kIoctlBoardRecord = 0x9C402410,
  kIoctlPortRead = 0x9C402414,
  kIoctlPortWrite = 0x9C402418,
  kIoctlBlockRead = 0x9C402420,
  kIoctlSyncReadEnd = 0x9C402424,
  kVxdStartRead = 5,
  kVxdBoardList = 6,
  kVxdPollRead = 7,
  kVxdSelectBoard = 9,
};
constexpr DWORD kBoardListBytes = 10 * 24 + 4;

class BoardDevice : public KernelObject {
 public:
  enum class Kind { Nt, Vxd };
  BoardDevice(Kind kind, int board, bool overlapped) : kind_(kind), board_(board), overlapped_(overlapped) {}

  // The opener registered for the device names; `name` with or without "\\.\".
  static std::shared_ptr<KernelObject> Open(std::string_view name, DWORD access, DWORD flags, DWORD* error);

  BOOL Read(void* buffer, DWORD size, DWORD* done, OVERLAPPED* overlapped) override;
  BOOL IoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned,
                 OVERLAPPED* overlapped) override;
  BOOL CancelIo() override;
  // A read still pending when the last handle goes is dropped without touching its
  // OVERLAPPED record, which its owner may have released by then.
  void OnClose() override;

 private:
  BOOL PortRequest(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned);
  BOOL VxdRequest(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned);
  static BOOL BoardList(void* out, DWORD outSize, DWORD* returned);

  Kind kind_;
  int board_;  // 0-based
  bool overlapped_;
  std::mutex mutex_;
  struct Pending {
    uint8_t* buffer = nullptr;
    DWORD size = 0;
    OVERLAPPED* overlapped = nullptr;
  };
  std::optional<Pending> pending_;   // an overlapped line read not yet complete
  std::optional<Pending> vxdRead_;   // the 9x line read in progress
};

}  // namespace plat::board
