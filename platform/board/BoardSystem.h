// The simulated machine around the capture boards: the I/O port space (PCI configuration
// through 0xCF8/0xCFC, each board's register window, the probe ports of the port board),
// the driver's board list, and the one lock every access takes.
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "Board.h"

namespace plat::board {

enum class OsFamily { Nt5, Nt4, Win9x };

// The driver's 24-byte board record: word 0 the transfer kind in bits 16-19 (3 =
// overlapped reads) and the board number below; words 1-3 bus, device and revision;
// word 4 the I/O base.
using BoardRecord = std::array<uint32_t, 6>;

class BoardSystem {
 public:
  static BoardSystem& Get();

  void Reset();  // from the LUMORA_BOARD_... settings
  OsFamily Os() const;  // as GetVersionExA tells it

  uint32_t ReadPort(uint32_t port, int bytes);
  void WritePort(uint32_t port, int bytes, uint32_t value);
  void ReadBlock(uint32_t port, uint32_t* out, size_t count);

  std::vector<BoardRecord> Records() const;  // the boards the driver knows
  // One line from PCI board `board` (0-based); false while the transfer cannot complete.
  bool ReadLine(int board, uint8_t* dst, uint32_t size, uint32_t* done);
  bool HasBoard(int board) const;
  double FramePeriodUs(int board) const;
  // Simulated time a line transfer takes (the virtual clock moves by it).
  void ChargeTransfer(uint32_t bytes) const;

  void SetFaults(const FaultSet& faults);
  FaultSet Faults() const;
  void PulseTrigger(int board, int64_t holdMicros);
  void ShowScene(std::shared_ptr<const Scene> scene);
  void MoveScene(double pixels);
  std::vector<LogEntry> Log() const;
  void ClearLog();

 private:
  BoardSystem();
  void ResetLocked();
  void ChargePort() const;
  // Holds the caller up as the injected scheduling delays say.
  void Stall();
  uint32_t ReadLocked(uint32_t port, int bytes, int64_t now);
  void WriteLocked(uint32_t port, int bytes, uint32_t value, int64_t now);
  uint32_t ConfigRead() const;

  struct PciSlot {
    std::unique_ptr<Board> board;
    uint32_t bar0;  // as configuration register 4 reads (bit 0: I/O space)
    int bus, device;
  };
  struct PortSlot {
    std::unique_ptr<Board> board;
    int slot;  // j: ports 0x180 + 16 j
  };

  mutable std::mutex mutex_;
  BoardShared shared_;
  std::vector<PciSlot> pci_;
  std::vector<PortSlot> ports_;
  uint32_t configAddress_ = 0;
  uint64_t stallState_ = 1;
  std::atomic<bool> stalls_{false};  // any scheduling delays injected
  int64_t portMicros_ = 2;
};

}  // namespace plat::board
