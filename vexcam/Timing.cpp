#include "Timing.h"

#include "BoardDevice.h"
#include "SettingsBlock.h"

namespace {

int64_t Counter() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double SecondsSince(int64_t start) {
  int64_t frequency = DeviceState().counterFrequency;
  return frequency > 0 ? double(Counter() - start) / double(frequency) : 0.0;
}

void EmptyLoop(LONG count) {
  // The counter is volatile so the loop is not optimised away: it is what is being timed.
  volatile LONG i = 0;
  while (i < count) i = i + 1;
}

// Upper bounds of the calibrations: a port or a clock that never takes time must not
// keep start-up spinning.
constexpr LONG kMaxPortRound = 30000;
constexpr LONG kMaxLoopRound = 100000;

}  // namespace

void StartStopwatch(int which) { DeviceState().stopwatchStart[which & 1] = Counter(); }

LONG ElapsedMs(int which) { return LONG(SecondsSince(DeviceState().stopwatchStart[which & 1]) * 1000.0); }

void Delay(double seconds) {
  if (seconds == 0) return;
  BoardDeviceState& d = DeviceState();
  d.transferBusy = true;
  int64_t start = Counter();
  LONG wanted = LONG(seconds * 1000.0);
  auto done = [&] { return !d.hasCounter || SecondsSince(start) * 1000.0 >= wanted; };
  while (!done()) {
    if (Settings().bSwitched && !d.handshakeRecovery) {
      MSG msg;
      while (!done() && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    // Long waits sleep in small steps instead of spinning the processor.
    if (!done() && wanted - SecondsSince(start) * 1000.0 > 2) Sleep(1);
  }
  d.transferBusy = false;
}

void* AllocLocked(SIZE_T size) {
  void* p = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (p) VirtualLock(p, size);
  return p;
}

void FreeLocked(void* address, SIZE_T size) {
  if (!address) return;
  VirtualUnlock(address, size);
  VirtualFree(address, 0, MEM_RELEASE);
}

LONG CalibratePortPoll() {
  if (!DeviceState().hasCounter) return 200000;
  LONG count = 0;
  for (;;) {
    int64_t start = Counter();
    for (LONG i = 0; i < count; ++i)
      if (ReadStable(0xCFC) == 0x12345678) break;
    if (SecondsSince(start) >= 0.05 || count >= kMaxPortRound) return count * 10;
    count += 1000;
  }
}

LONG CalibrateBusyLoop() {
  if (!DeviceState().hasCounter) return 1024;
  LONG count = 0;
  for (;;) {
    int64_t start = Counter();
    EmptyLoop(count);
    if (SecondsSince(start) >= 0.0002 || count >= kMaxLoopRound) return count / 10;
    count += 100;
  }
}

void BusyPause20us() { EmptyLoop(DeviceState().loopsPer20us); }
