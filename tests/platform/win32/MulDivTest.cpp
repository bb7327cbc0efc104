// MulDiv: a 64-bit product divided and rounded to the nearest, halves away from zero.
#include <gtest/gtest.h>

#include <climits>

#include "windows.h"

namespace {

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
  const struct {
    int number, numerator, denominator, result;
  } cases[] = {
      {10, 96, 72, 13},  // 13.33: the preview font's pixel height at 96 dpi
      {12, 96, 72, 16},  // exact
      {3, 1, 2, 2},      // 1.5 rounds up
      {-3, 1, 2, -2},    // -1.5 rounds down
      {3, -1, 2, -2},    // the sign may come from any argument
      {3, 1, -2, -2},
      {-3, -1, -2, -2},
      {5, 1, 3, 2},  // 1.67
      {4, 1, 3, 1},  // 1.33
      {-4, 1, 3, -1},
      {7, 1, 7, 1},
      {0, 5, 3, 0},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // the product needs 62 bits
      {INT_MIN, 1, 1, INT_MIN},
      {65536, 65536, 2, -1},        // 2^31 does not fit
      {-65536, 65536, 2, INT_MIN},  // -2^31 does
      {1, 1, 0, -1},                // no divisor
      {INT_MAX, 2, 1, -1},          // beyond 32 bits
  };
  for (const auto& c : cases)
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.result)
        << c.number << " * " << c.numerator << " / " << c.denominator;
}

}  // namespace
