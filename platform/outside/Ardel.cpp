#include "Ardel.h"

#include <atomic>

namespace {
std::atomic<int> g_calls{0};
}

extern "C" void AR_SetPowerStateOn() { ++g_calls; }

namespace plat::outside {
int ArdelPowerStateCalls() { return g_calls.load(); }
}  // namespace plat::outside
