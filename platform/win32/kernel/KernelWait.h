// The one wait of the stand-in: sleeps on KernelCondition() until one (or all) of
// the objects is signalled or the time-out, measured by plat::clock, has passed.
#pragma once
#include <memory>
#include <vector>

#include "KernelObject.h"

namespace plat {

// Answers WAIT_OBJECT_0 + i, WAIT_ABANDONED_0 + i or WAIT_TIMEOUT.
DWORD WaitForObjects(const std::vector<std::shared_ptr<KernelObject>>& objects, bool waitAll, DWORD milliseconds);

}  // namespace plat
