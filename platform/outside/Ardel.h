// The Ardel library: keeps the machine from suspending while the program runs. Here it
// only counts its calls.
#pragma once

extern "C" void AR_SetPowerStateOn();

namespace plat::outside {
// How often AR_SetPowerStateOn was called in this process.
int ArdelPowerStateCalls();
}  // namespace plat::outside
