#include "PlanePlacement.h"

#include <algorithm>

namespace vexcam {

ShiftGrid GridOf(LONG factor) {
  if (factor <= 2) return {1, 2};
  if (factor == 4) return {2, 4};
  if (factor == 5) return {5, 10};
  return {3, 6};  // 3 and 6
}

PositionPhases PhasesOf(const PhaseTable& column, const PhaseTable& row, const BYTE schedule[36], LONG factor, LONG p,
                        DWORD mode) {
  const LONG f = std::clamp<LONG>(factor, 1, 6);
  p = std::clamp<LONG>(p, 0, f * f - 1);
  const LONG mirror = std::max<LONG>(2, GridOf(f).span - 1);
  LONG q = p / f, s = schedule[p];
  if (mode & 0x1) q = mirror - q;
  if (mode & 0x2) s = mirror - s;
  q = std::clamp<LONG>(q, 0, 5), s = std::clamp<LONG>(s, 0, 5);
  PositionPhases out;
  for (int k = 0; k < 4; ++k) out.row[k] = row[k][f][q], out.column[k] = column[k][f][s];
  return out;
}

void PlaceLine(const LinePlacement& p, const BYTE* cells, LONG count, LONG line) {
  if (!p.planes.Ready()) return;
  const LONG g = p.grid, L = line;
  const DWORD m = p.mode;
  for (int k = 0; k < 4; ++k) {
    BYTE* const* rows = p.planes.row[k];
    const BYTE* lut = p.lut[k];
    const LONG rk = p.phases.row[k], ck = p.phases.column[k];
    // Plane row and column of cell j along the line (down) and across it.
    const LONG down = (m & 0x4) ? (p.height - 2 * L - 1) * g - rk : 2 * g * L + rk;
    const LONG downSwapped = (m & 0x4) ? 2 * g * L + rk : (p.height - 2 * L - 1) * g - rk;
    for (LONG j = 0; j < count; ++j) {
      const LONG across = (m & 0x8) ? (p.width - 2 * j - 3) * g - ck : 2 * g * j + ck;
      LONG r = down, c = across;
      if (m & 0x10) r = across, c = downSwapped;
      if (r < 0 || r >= p.planes.rows || c < 0 || c >= p.planes.rowBytes) continue;
      const BYTE v = lut[cells[4 * j + k]];
      rows[r][c] = p.negative ? BYTE(255 - v) : v;
    }
  }
}

void SignalLatch::Check(const BYTE* cells, LONG count, bool sparse, int threshold) {
  if (set) return;
  const LONG step = sparse ? 2 : 1;
  for (LONG j = 3; j < count - 2; j += step) {
    const BYTE* w = cells + 4 * j;
    current |= uint32_t(w[0]) | uint32_t(w[1]) << 8 | uint32_t(w[2]) << 16 | uint32_t(w[3]) << 24;
  }
  auto largest = [](uint32_t v) {
    return int(std::max({v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, v >> 24}));
  };
  if (largest(current) < threshold || largest(previous) < threshold) {
    previous = current;
    current = 0;
    return;
  }
  set = true;
}

void Accumulate(uint16_t* sums, const BYTE* bytes, LONG n) {
  for (LONG i = 0; i < n; ++i) sums[i] = uint16_t(sums[i] + bytes[i]);
}

void AverageInto(BYTE* out, const uint16_t* sums, LONG n, LONG frames) {
  if (frames <= 0) return;
  for (LONG i = 0; i < n; ++i) out[i] = BYTE(std::min<LONG>(255, sums[i] / frames));
}

}  // namespace vexcam
