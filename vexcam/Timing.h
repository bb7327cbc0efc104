// The library's clocks and waits: two stopwatches on the performance counter, the delay
// that keeps the caller's windows alive, locked page memory, and the start-up
// calibrations of the busy waits.
#pragma once
#include <cstdint>

#include "windows.h"

void StartStopwatch(int which);
LONG ElapsedMs(int which);

// Waits `seconds`; while the camera is switched on and no recovery runs, the calling
// thread's messages are dispatched meanwhile.
void Delay(double seconds);

void* AllocLocked(SIZE_T size);
void FreeLocked(void* address, SIZE_T size);

// Port reads per half second, the poll budget of every status wait.
LONG CalibratePortPoll();

// The budget of a wait for the camera's frame timing: `factor` times the calibrated
// port reads per half second. A calibration taken while the machine was busy counts
// fewer reads than half a second holds later on, so the budget is spent only once its
// reads are done and its time (factor x 0.5 s on the stopwatch of the wait) has passed
// too: a frame the camera still delivers is waited for, however fast the reads go.
class PollBudget {
 public:
  explicit PollBudget(int64_t factor = 1);
  // Counts one read; true once the budget is spent.
  bool Spend();
  int64_t Reads() const { return m_Reads; }

 private:
  int64_t m_Limit, m_Micros, m_Start, m_Reads = 0;
};
// Empty-loop iterations per 20 microseconds.
LONG CalibrateBusyLoop();
// The settle pause of the synchronous line read.
void BusyPause20us();
