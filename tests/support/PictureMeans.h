// Channel means of a bottom-up 24-bit picture (blue, green, red bytes, rows 4-byte
// aligned), as the camera library writes them.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace testenv {

// Means of red, green and blue over columns x0..x1 - 1 and rows y0..y1 - 1, rows counted
// from the top of the picture.
inline std::array<double, 3> ChannelMeans(const uint8_t* bits, int width, int height, int x0, int y0, int x1,
                                          int y1) {
  const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
  std::array<double, 3> sum{};
  double n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x, ++n) {
      const uint8_t* p = bits + size_t(height - 1 - y) * stride + 3 * size_t(x);
      sum[0] += p[2], sum[1] += p[1], sum[2] += p[0];
    }
  for (double& v : sum) v = n > 0 ? v / n : 0;
  return sum;
}

// The spread of a colour: its largest channel less its smallest.
inline double Spread(const std::array<double, 3>& c) {
  double lo = c[0], hi = c[0];
  for (double v : c) lo = v < lo ? v : lo, hi = v > hi ? v : hi;
  return hi - lo;
}

}  // namespace testenv
