// Runs the stand-in on the virtual clock for the life of the object: timers, pauses and
// time-outs pass at once instead of in real time.
#pragma once
#include "Clock.h"

namespace testenv {

struct VirtualClock {
  VirtualClock() { plat::clock::UseVirtual(true); }
  ~VirtualClock() { plat::clock::UseVirtual(false); }
  VirtualClock(const VirtualClock&) = delete;
  VirtualClock& operator=(const VirtualClock&) = delete;
};

}  // namespace testenv
