// The library-wide state of the board device: the Windows family, the open driver
// handles, the boards found, the line-counter tracking and the calibrations; and the
// port operations, which go to the NT driver by request or, on 9x, to the ports directly.
#pragma once
#include <cstdint>

#include "windows.h"

struct BoardDeviceState {
  DWORD platformId = 0;
  bool nt = false, nt5 = false, win95 = false, win98 = false, win32s = false;

  HANDLE ntDevice = INVALID_HANDLE_VALUE;   // also carries every port request on NT
  HANDLE vxdDevice = INVALID_HANDLE_VALUE;  // the 9x driver

  // Boards found: PCI device numbers first (bus numbers beside them), then port boards.
  DWORD boardList[11] = {};
  int pciBus[10] = {};
  int pciCount = 0;
  int portCount = 0;

  // Line counter tracking of the stable status read.
  LONG lastLine = 0;
  bool upperHalf = false;
  BYTE wrapCount = 0;
  bool variantDetected = false;

  bool transferBusy = false;      // a delay or a line read is running
  bool handshakeRecovery = false; // the delay pumps no messages while set
  BYTE overlappedTimeouts = 0;    // consecutive, 0 to 16

  LONG portReadsPerHalfSecond = 200000;  // the poll budget
  LONG loopsPer20us = 1024;

  int64_t stopwatchStart[2] = {};
  int64_t counterFrequency = 0;
  bool hasCounter = false;
};

BoardDeviceState& DeviceState();

// Ports are base + offset, added as 16-bit values.
DWORD ReadPortD(DWORD base, DWORD offset);
WORD ReadPortW(DWORD base, DWORD offset);
BYTE ReadPortB(DWORD base, DWORD offset);
BOOL WritePortD(DWORD base, DWORD offset, DWORD value);
BOOL WritePortW(DWORD base, DWORD offset, WORD value);
BOOL WritePortB(DWORD base, DWORD offset, BYTE value);
// count 32-bit reads of one port into buffer.
BOOL ReadPortBlock(DWORD port, DWORD* buffer, DWORD count);

// Offset 0: the stable status read (the first value read twice in a row), which also
// tracks the sensor line counter; other offsets: a plain 32-bit read. A status that
// never settles within the poll budget sets Camera_Status -13 and gives the last read.
DWORD ReadStatus(DWORD base, DWORD offset);
// The stable read of any port, without line tracking (PCI configuration data).
DWORD ReadStable(DWORD port, bool* settled = nullptr);
// The stable-read rule over any source of reads: the first value read twice in a row,
// within `budget` reads; *settled tells whether one was found.
template <class Read>
DWORD FirstRepeated(Read read, LONG budget, bool* settled) {
  DWORD previous = read(), value = read();
  for (LONG reads = 2; value != previous; ++reads) {
    if (reads >= budget) {
      if (settled) *settled = false;
      return value;
    }
    previous = value;
    value = read();
  }
  if (settled) *settled = true;
  return value;
}
// Follows the sensor line counter of a status dword: the wrap count and the detection
// of the taller sensor variant (bit 13 of cameraVer).
void TrackLineCounter(DWORD status, LONG linesPerField, LONG& cameraVer);
// The PCI configuration dword of (bus, device, function 0, register).
DWORD ReadPciConfig(int bus, int device, int reg);
