// Looking at screen pictures: colours, means and spreads of areas, and where the windows
// the program draws lie on them.
#pragma once
#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <set>

#include "display/Png.h"

namespace acceptance {

using Picture = plat::display::PixelImage;

inline uint32_t Rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }
inline int Red(uint32_t p) { return int(p >> 16) & 0xFF; }
inline int Green(uint32_t p) { return int(p >> 8) & 0xFF; }
inline int Blue(uint32_t p) { return int(p) & 0xFF; }

inline uint32_t At(const Picture& p, int x, int y) {
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return 0;
  return p.pixels[size_t(y) * p.width + x] & 0xFFFFFF;
}

// Calls `f(x, y, pixel)` for the pixels of `r` that lie on the picture.
inline void ForEach(const Picture& p, RECT r, const std::function<void(int, int, uint32_t)>& f) {
  for (int y = r.top < 0 ? 0 : r.top; y < r.bottom && y < p.height; ++y)
    for (int x = r.left < 0 ? 0 : r.left; x < r.right && x < p.width; ++x) f(x, y, At(p, x, y));
}

// Mean red, green and blue over `r`.
inline std::array<double, 3> Mean(const Picture& p, RECT r) {
  std::array<double, 3> sum{};
  double n = 0;
  ForEach(p, r, [&](int, int, uint32_t px) {
    sum[0] += Red(px), sum[1] += Green(px), sum[2] += Blue(px);
    ++n;
  });
  for (double& v : sum) v = n > 0 ? v / n : 0;
  return sum;
}

inline size_t Distinct(const Picture& p, RECT r) {
  std::set<uint32_t> seen;
  ForEach(p, r, [&](int, int, uint32_t px) { seen.insert(px); });
  return seen.size();
}

inline int Count(const Picture& p, RECT r, const std::function<bool(uint32_t)>& pred) {
  int n = 0;
  ForEach(p, r, [&](int, int, uint32_t px) { n += pred(px) ? 1 : 0; });
  return n;
}

// How many pixels of `r` differ between two pictures by more than `tolerance` in a channel.
inline int Changed(const Picture& a, const Picture& b, RECT r, int tolerance = 8) {
  int n = 0;
  ForEach(a, r, [&](int x, int y, uint32_t pa) {
    const uint32_t pb = At(b, x, y);
    n += std::abs(Red(pa) - Red(pb)) > tolerance || std::abs(Green(pa) - Green(pb)) > tolerance ||
         std::abs(Blue(pa) - Blue(pb)) > tolerance;
  });
  return n;
}

// The stand-in's desktop and window colours.
constexpr uint32_t kDesktop = 0x008080;
constexpr uint32_t kFace = 0xC0C0C0;

// The caption bar of the active window: the highest run of the active caption's blue,
// from its dark left end. Nothing when no window is active.
inline std::optional<RECT> ActiveCaption(const Picture& p) {
  auto captionBlue = [](uint32_t px) { return Red(px) <= 16 && Green(px) <= 132 && Blue(px) >= 128 && Blue(px) <= 208; };
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      if (At(p, x, y) != 0x000080) continue;
      int right = x;
      while (right < p.width && captionBlue(At(p, right, y))) ++right;
      if (right - x < 40) continue;
      int bottom = y;
      while (bottom < p.height && At(p, x, bottom) == 0x000080) ++bottom;
      if (bottom - y < 10) continue;
      return RECT{x, y, right, bottom};
    }
  return std::nullopt;
}

}  // namespace acceptance
