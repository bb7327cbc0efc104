#include <gtest/gtest.h>

#include "outside/Ardel.h"

namespace {

TEST(Ardel, PowerStateCallsAreCounted) {
  int before = plat::outside::ArdelPowerStateCalls();
  AR_SetPowerStateOn();
  AR_SetPowerStateOn();
  EXPECT_EQ(plat::outside::ArdelPowerStateCalls(), before + 2);
}

}  // namespace
