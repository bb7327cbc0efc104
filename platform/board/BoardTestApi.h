// What tests (and only tests) use to steer the simulated board: faults to inject, an
// external trigger, and the log of what the camera library did to the board.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace plat::board {

class Scene;

struct FaultSet {
  bool noBoard = false;      // the PCI scan, the port probe and the driver's list find nothing
  bool noPower = false;      // the camera has no power, whatever the board commands say
  bool busyStuck = false;    // the status and the echo stay busy
  bool hung = false;         // the camera stays busy until its power is cut (0xB10, 0xB20)
  int hangAfter = 0;         // > 0: the camera hangs once this many more commands arrived
  bool statusStuck = false;  // the status dword freezes at its next value
  int echoMismatches = 0;    // this many command echoes come back wrong (-1: all)
  uint16_t faultWord = 0;    // camera fault code in the echo register (12512..12514); busy
  int readTimeouts = 0;      // this many line reads never complete (-1: all)
  int readAgain = 0;         // this many line reads arrive damaged and ask to be read again
  int64_t actuatorSettleMicros = 0;  // the actuator arrives this long after a move
  int shortFrames = 0;       // this many frames lose half their exposure at the re-arm (-1: all)
  // A busy machine: now and then (about one port access or line read in `stallEvery`) the
  // caller is held up for a while, up to `stallMicros`, before the access reaches the board.
  int stallEvery = 0;
  int64_t stallMicros = 0;
};

// Replaces the injected faults; counts run down as they are used.
void SetFaults(const FaultSet& faults);
FaultSet CurrentFaults();

// An external trigger pulse on board `board` (0-based), seen in the status for `holdMicros`.
void PulseTrigger(int board = 0, int64_t holdMicros = 50000);

struct LogEntry {
  enum class Kind { Write, FrameStart, Actuator } kind;
  int board;          // 0-based; -1 for ports of no board (PCI configuration, empty slots)
  uint32_t port;      // Write: the port; FrameStart and Actuator: 0
  uint32_t value;     // Write: the value written
  int bytes;          // Write: access width
  int x, y;           // Actuator: offset in 1/120 cell
  int64_t micros;     // plat::clock time of the event
};
// The most recent entries (at most 65536), oldest first.
std::vector<LogEntry> Log();
void ClearLog();

// Every camera looks at `scene` in place of the configured one, until the next Reset.
void ShowScene(std::shared_ptr<const Scene> scene);
// What every camera sees moves sideways by `pixels` more, as a hand moving the document.
void MoveScene(double pixels);

// Rebuilds the boards from the LUMORA_BOARD_... settings; faults and log are cleared.
void Reset();

}  // namespace plat::board
