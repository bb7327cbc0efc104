// The stand-in's one time source. Tests can switch it to a virtual clock that only
// moves when someone sleeps or reads it, so timing rules run fast and repeatably.
#pragma once
#include <cstdint>
#include <optional>

namespace plat::clock {

// Monotonic microseconds since an arbitrary start. On the virtual clock every read
// also moves time on by the read step, so loops that poll the clock always end.
int64_t NowMicros();
// Sleeps (real clock) or advances time (virtual clock).
void SleepMicros(int64_t micros);

void UseVirtual(bool on, int64_t readStepMicros = 1);
bool IsVirtual();
void Advance(int64_t micros);

// Wall time in microseconds since 1970-01-01 UTC; a test may pin it.
int64_t WallMicros();
void PinWall(std::optional<int64_t> microsSinceEpoch);
// On the virtual clock, wall time can move with it: from now on it is the wall time of
// this call plus the virtual time passed since (unless pinned).
void WallFollowsVirtual(bool on);

}  // namespace plat::clock
