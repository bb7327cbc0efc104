// The library's clocks and waits: two stopwatches on the performance counter, the delay
// that keeps the caller's windows alive, locked page memory, and the start-up
// calibrations of the busy waits.
#pragma once
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
// Empty-loop iterations per 20 microseconds.
LONG CalibrateBusyLoop();
// The settle pause of the synchronous line read.
void BusyPause20us();
