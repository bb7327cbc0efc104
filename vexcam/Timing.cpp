#include "Timing.h"

#include <algorithm>

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
        // The caller's loop must still see a quit taken here.
        if (msg.message == WM_QUIT) {
          PostQuitMessage(static_cast<int>(msg.wParam));
          break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    // Long waits sleep in small steps instead of spinning the processor.
    if (!done() && wanted - SecondsSince(start) * 1000.0 > 2) Sleep(1);
  }
  d.transferBusy = false;
}

PollBudget::PollBudget(int64_t factor)
    : m_Limit(int64_t(DeviceState().portReadsPerHalfSecond) * std::max<int64_t>(1, factor)),
      m_Micros(500000 * std::max<int64_t>(1, factor)),
      m_Start(DeviceState().hasCounter ? Counter() : 0) {}

bool PollBudget::Spend() {
  ++m_Reads;
  if (m_Reads < m_Limit) return false;
  const BoardDeviceState& d = DeviceState();
  if (!d.hasCounter || d.counterFrequency <= 0) return true;
  // The clock is read now and then only: on a quiet machine the reads take the time anyway.
  if ((m_Reads - m_Limit) % 256 != 0) return false;
  return double(Counter() - m_Start) * 1e6 / double(d.counterFrequency) >= double(m_Micros);
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

// The first count (in steps of 1000) whose stable reads of port 0xCFC take 0.05 s or
// more, times 10. The first n reads of a run take as long as a round of n reads, so one
// run, looked at every 1000 reads, finds the count without timing each round afresh;
// a read of 0x12345678 ends a round early, and the next count starts a new run.
LONG CalibratePortPoll() {
  if (!DeviceState().hasCounter) return 200000;
  LONG count = 0, done = 0;
  int64_t start = Counter();
  for (;;) {
    bool cut = false;
    for (; done < count; ++done)
      if (ReadStable(0xCFC) == 0x12345678) {
        cut = true;
        break;
      }
    if (SecondsSince(start) >= 0.05 || count >= kMaxPortRound) return count * 10;
    count += 1000;
    if (cut) start = Counter(), done = 0;
  }
}

// The first count (in steps of 100) whose empty loop takes 0.2 ms or more, divided by 10:
// counts doubled until one is long enough, then the steps between halved, since a round
// cannot be looked at midway without slowing the loop it times.
LONG CalibrateBusyLoop() {
  if (!DeviceState().hasCounter) return 1024;
  auto longEnough = [](LONG count) {
    const int64_t start = Counter();
    EmptyLoop(count);
    return SecondsSince(start) >= 0.0002;
  };
  if (longEnough(0)) return 0;
  LONG below = 0, count = 100;  // `below` is known to be too short
  while (count < kMaxLoopRound && !longEnough(count)) below = count, count = std::min(2 * count, kMaxLoopRound);
  if (count >= kMaxLoopRound && !longEnough(kMaxLoopRound)) return kMaxLoopRound / 10;
  while (count - below > 100) {
    const LONG middle = below + (count - below) / 200 * 100;
    if (longEnough(middle))
      count = middle;
    else
      below = middle;
  }
  return count / 10;
}

void BusyPause20us() { EmptyLoop(DeviceState().loopsPer20us); }
