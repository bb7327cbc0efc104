// The focus measures of the picture class: an edge energy per pixel, averaged over the
// strongest values, with integer arithmetic and a histogram in place of a sort.
#include <algorithm>
#include <array>
#include <cstdint>

#include "TrueImage.h"

namespace {

constexpr int kBins = 1024;
constexpr int kStartScale = 400;
constexpr int kMostValues = 100;
constexpr int kWeightCap = 10;

}  // namespace

SHORT CTrueImage::MeasureFocusRed(int step) { return MeasureFocus(2, step); }
SHORT CTrueImage::MeasureFocusGreen(int step) { return MeasureFocus(1, step); }
SHORT CTrueImage::MeasureFocusBlue(int step) { return MeasureFocus(0, step); }

SHORT CTrueImage::MeasureFocus(int channel, int step) const {
  const int width = m_nWidth, height = m_nHeight, stride = m_nStride, a = step;
  if (!m_pBits || width <= 0 || height <= 0 || a <= 0) return 0;
  const int strongest = std::clamp(width * height / 200, 1, kMostValues);
  auto value = [&](int row, int column) { return int(m_pBits[size_t(row) * stride + size_t(column) * 3 + channel]); };

  // Counts of a bin never wrap, whatever the picture's size.
  std::array<uint32_t, kBins> histogram{};
  int64_t scale = kStartScale;
  int largest = 0;
  for (bool rescan = true; rescan;) {
    rescan = false;
    histogram.fill(0);
    largest = 0;
    for (int i = 2; i < height - 2 && !rescan; ++i) {
      const int f = std::min(i, height - i - 2);
      if (i - a < 0 || i + a >= height) continue;
      for (int g = 2; g < width - 5; g += a) {
        if (g - a < 0 || g + a >= width) continue;
        const int h = std::min(g, width - g - 4);
        const int64_t w = std::min({f, h, kWeightCap});
        const int c = value(i, g);
        const int64_t dh = c - value(i, g - a) / 2 - value(i, g + a) / 2;
        const int64_t dv = c - value(i - a, g) / 2 - value(i + a, g) / 2;
        const int64_t e = (w * dh * dh + scale / 2) / scale + (w * dv * dv + scale / 2) / scale;
        if (e >= kBins) {
          // Too sharp for this scale: start again at twice the scale.
          scale *= 2;
          rescan = true;
          break;
        }
        ++histogram[size_t(e)];
        largest = std::max(largest, int(e));
      }
    }
  }

  int64_t sum = 0, taken = 0;
  for (int b = largest; b >= 0 && taken < strongest; --b) {
    const int64_t count = std::min<int64_t>(histogram[size_t(b)], strongest - taken);
    sum += (scale * b + 100) / 200 * count;
    taken += count;
  }
  return static_cast<SHORT>(sum / strongest);
}
