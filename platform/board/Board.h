// One capture board with its camera: the register window the camera library drives
// (status, commands, echo, board registers, data port), the frame timing of the sensor,
// and line delivery. Callers hold the board system's lock.
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

#include "BoardTestApi.h"
#include "Camera.h"

namespace plat::board {

struct BoardOptions {
  int revision = 217;
  bool portBoard = false;  // the port-probed board of older systems (ports 0x180 + 16 j)
  bool cameraPresent = true;
  bool powered = true;
  int model = 0xA;
};

// What all boards share: the injected faults and the log.
struct BoardShared {
  FaultSet faults;
  std::deque<LogEntry> log;
  void Add(LogEntry e);
};

class Board {
 public:
  Board(int index, const BoardOptions& options, std::shared_ptr<const Scene> scene, uint32_t seed,
        double driftPixelsPerSecond, int64_t now, BoardShared& shared);

  // Register window: byte offset from the I/O base (PCI) or from 0x180 + 16 j (port board).
  uint32_t Read(uint32_t offset, int bytes, int64_t now);
  void Write(uint32_t offset, int bytes, uint32_t value, int64_t now);

  // One line as the transfer engine delivers it (cells from word 0). false: the camera
  // delivers nothing now and the transfer would not complete.
  bool ReadLine(uint8_t* dst, uint32_t size, uint32_t* done, int64_t now);
  uint32_t LineBytes() const { return options_.revision == 225 ? 1288 : uint32_t(geometry_.lineWords) * 4; }

  void PulseTrigger(int64_t now, int64_t holdMicros) { triggerUntil_ = now + holdMicros; }
  void FaultsChanged() { frozenStatus_.reset(); }
  void ShowScene(std::shared_ptr<const Scene> scene) { camera_.ShowScene(std::move(scene)); }
  void MoveScene(double pixels) { camera_.MoveScene(pixels); }

  int Revision() const { return options_.revision; }
  bool IsPortBoard() const { return options_.portBoard; }
  int LinesPerFrame() const { return geometry_.linesPerFrame; }
  double FramePeriodUs() const { return geometry_.FramePeriodUs(); }

 private:
  bool Powered() const { return options_.powered && !shared_.faults.noPower; }
  bool Ready(int64_t now) const { return options_.cameraPresent && Powered() && now >= readyAt_; }
  bool Busy(int64_t now) const;
  int Counter(int64_t now) const;
  bool LongOnOldBoard(double lines) const {
    return options_.revision < 217 && lines > geometry_.linesPerFrame;
  }
  bool FrameReady(int64_t now) const { return started_ && now >= frameReadyAt_; }
  uint32_t Status(int64_t now);
  uint32_t ComputeStatus(int64_t now) const;
  uint8_t PortStatus(int64_t now) const;
  uint32_t TransferState(int64_t now) const;

  void Command(uint32_t word, int64_t now);
  void CameraRegister(int reg, uint8_t value, int64_t now);
  void BoardRegister(int reg, uint8_t value, int64_t now);
  void PowerOn(int64_t now);
  // A preview start (readout variant bit 4) takes the free-running sensor's next frame.
  void StartFrame(bool halfSize, bool preview, int64_t now);
  void Rearm(int64_t now);
  // The exposure a frame begun now gets: where the actuator has arrived by now.
  Exposure ExposureAt(int64_t now) const;
  uint32_t DataPort(int bytes);
  int PairOfLine(int line) const;  // picture line pair of a delivered line
  // Word `w` of the current line: `lead` words of black before the cells.
  uint32_t LineWord(int line, int w, int lead) const;
  void FillLine(uint32_t* out, int words, int line, int lead) const;

  int index_;
  BoardOptions options_;
  SensorGeometry geometry_;
  Camera camera_;
  BoardShared& shared_;
  int64_t origin_;        // scene time zero
  int64_t epoch_ = 0;     // line counter zero (power-on)
  int64_t readyAt_ = 0;   // camera answers from here on
  int64_t busyUntil_ = 0; // a command in progress
  int64_t triggerUntil_ = 0;
  bool started_ = false;
  int64_t frameStartAt_ = 0;
  int64_t exposureSetAt_ = 0;  // last write of the exposure registers
  int64_t frameReadyAt_ = 0;
  Exposure exposing_{};   // the settings the running exposure began with
  int windowStart_ = 0;   // sensor row of the window's first line
  bool halfSize_ = false;
  bool preview_ = false;
  bool longExposure_ = false;
  uint32_t echo_ = 0;
  bool readAgain_ = false;
  bool shortFrame_ = false;  // the latched frame was cut short
  int64_t movedAt_ = 0;      // the actuator's last move, and where it stood before it
  int leftX_ = 0, leftY_ = 0;
  int line_ = 0;          // delivered line of the latched frame
  uint32_t portByte_ = 0; // data-port position within the line
  int portRegister_ = 0;  // port board: register number awaiting its value
  std::optional<uint32_t> frozenStatus_;
};

}  // namespace plat::board
