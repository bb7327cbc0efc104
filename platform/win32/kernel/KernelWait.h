// The one wait of the stand-in: sleeps on KernelCondition() until one (or all) of
// the objects is signalled or the time-out, measured by plat::clock, has passed.
#pragma once
#include <chrono>
#include <memory>
#include <vector>

#include "KernelObject.h"

namespace plat {

// On the virtual clock other threads get this much real time to signal before a
// waiter's time-out is reached by moving virtual time on to it.
inline constexpr auto kVirtualGrace = std::chrono::milliseconds(5);

// Answers WAIT_OBJECT_0 + i, WAIT_ABANDONED_0 + i or WAIT_TIMEOUT.
DWORD WaitForObjects(const std::vector<std::shared_ptr<KernelObject>>& objects, bool waitAll, DWORD milliseconds);

}  // namespace plat
