#include "LevelCurves.h"

#include <algorithm>
#include <cmath>

namespace vexcam {
namespace {

// x + 0.5 truncated toward zero.
double Near(double x) { return std::trunc(x + 0.5); }

// A table index from a level; levels outside the table (or no number at all) land just
// outside it, where the callers' bounds take over.
int Index(double x) { return std::isnan(x) ? 0 : int(std::clamp(Near(x), -1.0, 256.0)); }

BYTE ClampByte(double v) { return std::isnan(v) ? 0 : BYTE(std::clamp(v, 0.0, 255.0)); }

// Entries [lo, hi) of the tables that exposure step n covers: between the reference
// levels of steps n + 1 and n. Measured levels need not rise with exposure, so the
// bounds are held inside the table and the segment is never empty.
struct Segment {
  int lo, hi;
};
Segment SegmentOf(const double reference[6], int n) {
  const int below = std::clamp(Index(reference[n + 1]), 0, 255);
  const int hi = std::clamp(std::max(Index(reference[n]), below + 1), 1, 256);
  return {n == 4 ? 0 : below, hi};
}

int TopOf(const double reference[6]) { return std::clamp(Index(reference[0]), 0, 255); }

struct GammaConstants {
  double g, k, knee;
};
GammaConstants ConstantsOf(BYTE mode) {
  switch (mode) {
    case 1: return {0.35, 1.2, 0.6};
    case 2: return {0.3, 1.4, 0.65};
    case 3: return {0.25, 1.6, 0.7};
    default: return {0.45, 0.45, 0.55};
  }
}

}  // namespace

void SmoothCurve(double values[256], int halfWidth) {
  double copy[256];
  std::copy(values, values + 256, copy);
  int span = 2 * halfWidth, count = halfWidth;
  for (int j = 0; j < 256; ++j) {
    if (j > 48 && j % 4 == 0) span += 2, ++count;
    double sum = 0;
    int lines = 0;
    for (int k = j, n = 0; n < count && k >= 0; --k, ++n) {
      const int e = std::min(k + span, 255);
      if (e == k) continue;
      sum += ((j - k) * copy[e] + (e - j) * copy[k]) / (e - k);
      ++lines;
    }
    if (lines > 0) values[j] = sum / lines;
  }
}

void BuildLevelTables(double offsets[4][6], const LONG siteMap[4], const LONG tableOf[4], LevelTable tables[4]) {
  for (int p = 0; p < 4; ++p) offsets[p][5] = 0;
  const double* reference = offsets[siteMap[0] & 3];
  for (int c : {2, 1, 3}) {
    const double* o = offsets[siteMap[c] & 3];
    BYTE* table = tables[tableOf[c] & 3];
    for (int n = 4; n >= 0; --n) {
      const Segment s = SegmentOf(reference, n);
      const double base = s.lo > 0 ? o[n + 1] : 0.0;
      for (int i = s.lo; i < s.hi; ++i)
        table[i] = ClampByte(i + Near(((i - s.lo) * o[n] + base * (s.hi - i)) / (s.hi - s.lo)));
    }
    const int t = TopOf(reference);
    for (int j = t; j < 256; ++j) table[j] = ClampByte(j + Near(o[0] * (256 - j) / (256 - t)));
  }
  BYTE* identity = tables[tableOf[0] & 3];
  for (int i = 0; i < 256; ++i) identity[i] = BYTE(i);
}

void BendLevelTables(const double offsets[4][6], const LONG exposures[6], LONG reference, BYTE gammaMode,
                     LevelTable tables[4]) {
  const LONG* e = exposures;
  if (e[0] == e[4]) return;
  const double* ref = offsets[reference & 3];
  // A curve needs a reference level to scale by and exposures on one side of zero.
  if (!(ref[0] > 0) || std::any_of(e, e + 6, [](LONG v) { return v < 0; })) return;
  const GammaConstants c = ConstantsOf(gammaMode);
  const double a = Near(std::pow(255.0 / ref[0], 1.0 / 0.45) * e[0]);
  if (!(a > 0) || !std::isfinite(a)) return;
  const double s = c.knee / std::pow(std::pow(c.knee, 1.0 / c.g), c.k);
  auto y = [&](double exposure) {
    const double upper = 255.0 * std::pow(exposure / a, c.g);
    return upper >= 255.0 * c.knee ? upper : 255.0 * s * std::pow(exposure / a, c.k);
  };

  double curve[256];
  for (int i = 0; i < 256; ++i) curve[i] = i;
  for (int n = 4; n >= 0; --n) {
    const Segment seg = SegmentOf(ref, n);
    const double yLo = seg.lo == 0 ? 0.0 : y(e[n + 1]), yHi = y(e[n]);
    for (int i = seg.lo; i < seg.hi; ++i)
      curve[i] = ((i - seg.lo) * yHi + (seg.hi - i) * yLo) / (seg.hi - seg.lo);
  }
  const int t = TopOf(ref);
  const double yTop = std::pow(e[0] / a, c.g);
  for (int i = t; i < 256; ++i) curve[i] = ((i - t) * 256.0 + yTop * 255.0 * (256 - i)) / (256 - t);

  double delta[256];
  for (int i = 0; i < 256; ++i) delta[i] = curve[i] - i;
  SmoothCurve(delta, 8);
  for (int i = 0; i < 256; ++i) curve[i] = std::clamp(i + delta[i], 0.0, 255.0);
  for (int p = 0; p < 4; ++p)
    for (BYTE& v : tables[p]) v = BYTE(curve[v]);
}

}  // namespace vexcam
