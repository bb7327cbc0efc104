#include "PlaneMerge.h"

#include <algorithm>
#include <cstring>

namespace vexcam {
namespace {

struct Period {
  LONG m, u;
};
Period PeriodFor(LONG grid) {
  if (grid < 3) return {2, 1};
  if (grid == 4) return {4, 2};
  if (grid == 5) return {10, 5};
  return {6, 3};
}

// Writes one sample into the planes; placements outside them are skipped.
inline void Place(const PlaneSet& pl, int plane, LONG row, LONG col, BYTE v, bool average) {
  if (row < 0 || col < 0 || row >= pl.rows || col >= pl.rowBytes) return;
  BYTE& dst = pl.row[plane][row][col];
  dst = average ? BYTE((dst + v) >> 1) : v;
}

void ClearPlanes(const PlaneSet& pl, LONG firstRow, LONG rows, LONG bytes) {
  bytes = std::min(bytes, pl.rowBytes);
  if (bytes <= 0) return;
  for (int p = 0; p < 4; ++p)
    for (LONG r = std::max<LONG>(0, firstRow); r < firstRow + rows && r < pl.rows; ++r)
      std::memset(pl.row[p][r], 0, size_t(bytes));
}

// Where a cell's sample lands, by the mirror, flip and swap bits of Mode.
struct Placement {
  DWORD mode;
  LONG width, height, u;
  void At(LONG x, LONG y, LONG cp, LONG rp, LONG* row, LONG* col) const {
    bool mirror = bool(mode & 0x8) != bool(mode & 0x10);
    LONG c = mirror ? (width - 2 * x) * u - cp - 1 : cp + 2 * u * x;
    LONG r = (mode & 0x4) ? rp + 2 * u * y : (height - 2 * y) * u - rp - 1;
    if (mode & 0x10) std::swap(r, c);
    *row = r, *col = c;
  }
};

// The sample bytes of cell x start two bytes into its word (the store keeps each cell's
// word that way), so planes 2 and 3 read the following word's first bytes.
inline const BYTE* CellByte(const SubFrameStore& f, const BYTE* row, LONG x, int p) {
  LONG at = 4 * x + 2 + p;
  return (row && at < f.rowBytes) ? row + at : nullptr;
}

void PlaceFrame(const MergeJob& job, LONG width, LONG height, Period per, LONG block, const int cp[4],
                const int rp[4], const bool nextWord[4], const bool nextRow[4], bool averageGreens) {
  const PlaneSet& pl = job.planes;
  Placement place{job.mode, width, height, per.u};
  for (LONG y = 0; y < height / 2; ++y)
    for (int p = 0; p < 4; ++p) {
      const BYTE* src = job.frames.Row(block, y + (nextRow[p] ? 1 : 0));
      if (!src) continue;
      bool avg = averageGreens && (p == job.roles.green1 || p == job.roles.green2);
      for (LONG x = 0; x < width / 2; ++x) {
        const BYTE* b = CellByte(job.frames, src, x + (nextWord[p] ? 1 : 0), p);
        if (!b) break;
        LONG r, c;
        place.At(x, y, cp[p], rp[p], &r, &c);
        Place(pl, p, r, c, *b, avg);
      }
    }
}

}  // namespace

LONG GridForPositions(LONG positions) {
  switch (positions) {
    case 1: return 1;
    case 4: return 2;
    case 9: return 3;
    case 16: return 4;
    case 18:
    case 36: return 6;
    default: return 0;
  }
}

LONG PlanesFromSubFrame(const MergeJob& job, LONG columnStep, LONG rowStep, LONG rowLength, LONG rows) {
  const PlaneSet& pl = job.planes;
  if (!pl.Ready() || !job.column || !job.row || !job.lut) return 0;
  int cp[4], rp[4];
  int ce = (job.mode & 0x2) ? 27 : 24, re = (job.mode & 0x1) ? 27 : 24;
  for (int p = 0; p < 4; ++p) {
    int c = (*job.column)[p][ce / 6][ce % 6], r = (*job.row)[p][re / 6][re % 6];
    cp[p] = (c < 0 ? c + 4 : c) / 2;
    rp[p] = (r < 0 ? r + 4 : r) / 2;
  }
  ClearPlanes(pl, 0, rows, rowLength);
  LONG block = columnStep + 6 * rowStep;
  LONG cells = (rowLength % 65536) / 2;
  LONG gain = std::clamp<LONG>(job.gainLv, 0, 2);
  for (LONG y = 0; y < rows / 2; ++y) {
    const BYTE* src = job.frames.Row(block, y);
    if (!src) continue;
    LONG words = std::min(cells, job.frames.rowBytes / 4);
    for (LONG x = 0; x < words; ++x)
      for (int k = 0; k < 4; ++k)
        Place(pl, k, 2 * y + rp[k], 2 * x + cp[k], (*job.lut)[gain][job.lanes[k] & 3][src[4 * x + k]], false);
  }
  return 1;
}

void MergeSubFrame(const MergeJob& job, LONG width, LONG height, LONG grid, LONG k) {
  if (!job.planes.Ready() || !job.column || !job.row || !job.steps || grid < 1 || grid > 6) return;
  if (width > job.maxWidth || height > job.maxHeight || k < 0 || k >= 36) return;
  Period per = PeriodFor(grid);
  LONG s0 = (*job.steps)[grid][k], t0 = k / grid;
  LONG s = (job.mode & 0x2) ? std::max<LONG>(2, per.m - 1) - s0 : s0;
  LONG t = (job.mode & 0x1) ? std::max<LONG>(2, per.m - 1) - t0 : t0;
  if (s < 0 || s > 5 || t < 0 || t > 5) return;
  int cp[4], rp[4];
  bool nextWord[4], nextRow[4];
  for (int p = 0; p < 4; ++p) {
    int c = (*job.column)[p][grid][s], r = (*job.row)[p][grid][t];
    nextWord[p] = c < 0, nextRow[p] = r < 0;
    cp[p] = c < 0 ? c + int(per.m) : c;
    rp[p] = r < 0 ? r + int(per.m) : r;
  }
  bool average = grid % 2 == 0 && t0 >= grid / 2 && job.tranMode != 6;
  PlaceFrame(job, width, height, per, s0 + 6 * t0, cp, rp, nextWord, nextRow, average);
}

void MergeSubFrameLut(const MergeJob& job, LONG width, LONG height, LONG grid, LONG k) {
  if (!job.planes.Ready() || !job.column || !job.row || !job.steps || !job.lut || grid < 1 || grid > 6) return;
  if (width > job.maxWidth + 4 || height > job.maxHeight + 4 || k < 0 || k >= 36) return;
  Period per = PeriodFor(grid);
  LONG s = (*job.steps)[grid][k], t = k / grid;
  LONG block = ((job.cameraVer >> 8) & 0xF) > 5 ? 0 : s + 6 * t;
  if (s > 5 || t > 5) return;
  LONG gain = std::clamp<LONG>(job.gainLv, 0, 2);
  Placement place{job.mode, width, height, per.u};
  for (LONG y = 0; y <= height / 2; ++y) {
    const BYTE* src = job.frames.Row(block, y);
    if (!src) continue;
    for (LONG x = 0; x <= width / 2 && 4 * x + 3 < job.frames.rowBytes; ++x)
      for (int p = 0; p < 4; ++p) {
        LONG r, c;
        place.At(x, y, (*job.column)[p][grid][s], (*job.row)[p][grid][t], &r, &c);
        Place(job.planes, p, r, c, (*job.lut)[gain][job.lanes[p] & 3][src[4 * x + p]], false);
      }
  }
}

namespace {
void MergeDriver(const MergeJob& job, LONG positions, LONG scale, LONG width, LONG height, bool lut) {
  if (positions <= 0 || width <= 0 || height <= 0 || !job.planes.Ready()) return;
  if (scale == 0) scale = 1;
  LONG grid = (lut && positions == 2) ? 2 : GridForPositions(positions);
  if (!grid) return;
  LONG w = width, h = height;
  if (job.mode & 0x10) std::swap(w, h);
  if (job.tranMode == 0)
    ClearPlanes(job.planes, 0, h * scale, w * scale);
  else
    ClearPlanes(job.planes, h * scale - 6, 6, 5);
  auto merge = [&](LONG k) {
    if (lut)
      MergeSubFrameLut(job, width, height, grid, k);
    else
      MergeSubFrame(job, width, height, grid, k);
  };
  if (lut && positions == 2) {
    merge(0);
    merge(3);
    return;
  }
  LONG stepK = positions == 18 ? 2 : 1;
  bool offsetOddRows = positions == 18 && (job.cameraVer & 3) == 3;
  for (LONG k = 0; k < grid * grid; k += stepK) merge(offsetOddRows ? k + (k / grid) % 2 : k);
}
}  // namespace

void MergeSubFrames(const MergeJob& job, LONG positions, LONG scale, LONG width, LONG height) {
  MergeDriver(job, positions, scale, width, height, false);
}

void MergeSubFramesLut(const MergeJob& job, LONG positions, LONG scale, LONG width, LONG height) {
  MergeDriver(job, positions, scale, width, height, true);
}

void MergeContinuousFrame(const MergeJob& job, LONG columnStep, LONG rowStep, LONG scale, LONG width, LONG height) {
  if (!job.planes.Ready() || !job.column || !job.row || width <= 0 || height <= 0) return;
  if (width > job.maxWidth || height > job.maxHeight) return;
  if (scale <= 0) scale = 1;
  LONG s = (job.mode & 0x2) ? scale - columnStep + 1 : columnStep;
  LONG t = (job.mode & 0x1) ? scale - rowStep + 1 : rowStep;
  if (s < 0 || s > 5 || t < 0 || t > 5 || columnStep < 0 || rowStep < 0) return;
  int cp[4], rp[4];
  bool none[4] = {false, false, false, false};
  for (int p = 0; p < 4; ++p) {
    int c = (*job.column)[p][4][s], r = (*job.row)[p][4][t];
    if (c < 0) c += 4;
    if (r < 0) r += 4;
    cp[p] = scale == 1 ? c / 2 : c;
    rp[p] = scale == 1 ? r / 2 : r;
  }
  Period per = PeriodFor(std::min<LONG>(scale, 6));
  PlaceFrame(job, width, height, per, columnStep + 6 * rowStep, cp, rp, none, none, rowStep >= 2);
}

}  // namespace vexcam
