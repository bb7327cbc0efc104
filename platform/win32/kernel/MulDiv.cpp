#include <climits>
#include <cstdint>

#include "WinSystem.h"

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const int64_t product = static_cast<int64_t>(number) * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  // Magnitudes fit: |product| <= 2^62, |denominator| <= 2^31.
  const uint64_t p = product < 0 ? static_cast<uint64_t>(-product) : static_cast<uint64_t>(product);
  const uint64_t d =
      denominator < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(denominator)) : static_cast<uint64_t>(denominator);
  const uint64_t q = (p + d / 2) / d;  // a remainder of half or more rounds the magnitude up
  if (negative) return q > static_cast<uint64_t>(INT_MAX) + 1 ? -1 : static_cast<int>(-static_cast<int64_t>(q));
  return q > static_cast<uint64_t>(INT_MAX) ? -1 : static_cast<int>(q);
}
