#include "Levels.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ColourReconstruction.h"

namespace vexcam {
namespace {

// The level mapping as a table over every value a formula can produce (-512..767), so the
// pixel loops index instead of multiplying.
class LevelMap {
 public:
  LevelMap(const LevelPoint& lp, bool active) : active_(active) {
    int gain = lp.Gain();
    for (int v = -kOffset; v < kSize - kOffset; ++v)
      table_[v + kOffset] = BYTE(Clamp255(active ? int((int64_t(v - lp.black) * gain) >> 8) : v));
  }
  BYTE operator()(int v) const { return table_[std::clamp(v, -kOffset, kSize - kOffset - 1) + kOffset]; }
  bool Active() const { return active_; }

 private:
  static constexpr int kOffset = 512, kSize = 1280;
  BYTE table_[kSize];
  bool active_;
};

// The edge coring and weighting of a reference sample.
int EdgeAt(const BYTE* const q[5], LONG x, int t, int wa, int wb) {
  int c = q[2][x];
  int l1 = 8 * c - (q[1][x - 1] + q[1][x] + q[1][x + 1] + q[2][x - 1] + q[2][x + 1] + q[3][x - 1] + q[3][x] +
                    q[3][x + 1]);
  int l2 = 8 * c - (q[0][x - 2] + q[0][x] + q[0][x + 2] + q[2][x - 2] + q[2][x + 2] + q[4][x - 2] + q[4][x] +
                    q[4][x + 2]);
  int e1 = 0, e2 = 0;
  if (l1 > 0 && l2 > 0) {
    e1 = std::max(0, l1 - t), e2 = std::max(0, l2 - t);
  } else if (l1 < 0 && l2 < 0) {
    e1 = std::min(0, l1 + t), e2 = std::min(0, l2 + t);
  }
  e2 /= 2;
  return (e2 * wb + e1 * wa) / 256;
}

// The colour form: the strength limited so the new green stays in range, then every
// channel keeps its difference from the old green.
void EdgeColour(BYTE* px, int c, int s, const LevelMap& map) {
  if (c > 0) s = std::clamp(s, -256, ((255 - c) * 256) / c);
  int c2 = ((s + 256) * c) >> 8;
  int b = px[0] - c + c2, r = px[2] - c + c2;
  px[0] = map(b), px[1] = map(c2), px[2] = map(r);
}

void Histogram(const PlaneSet& pl, int plane, LONG width, LONG height, unsigned hist[256], unsigned* n) {
  std::fill(hist, hist + 256, 0u);
  *n = 0;
  for (LONG r = 4; r < height - 3 && r < pl.rows; r += 4) {
    const BYTE* row = pl.row[plane][r];
    for (LONG x = 4; x < width - 3 && x < pl.rowBytes; x += 4) ++hist[row[x]], ++*n;
  }
}

struct Rows5 {
  const BYTE* q[5];
};

bool CancelAt(const ProgressFn& progress, int percent) { return progress && !progress(percent); }

}  // namespace

LONG PictureStride(LONG width) { return 4 * LONG(width * 0.75 + 0.8); }

LevelPoint ContrastLevels(int contrast) {
  return {contrast / 2, 255.0 / std::max(1, 255 - contrast)};
}

LevelPoint HistogramLevels(const unsigned histogram[256], unsigned n, int cut, int contrast) {
  // Nothing sampled: the mapping of the contrast alone.
  if (n == 0) return ContrastLevels(contrast);
  unsigned t = unsigned(cut) * n / 1000;
  int lo = 127, hi = 128;
  unsigned run = 0;
  for (int i = 0; i < 127; ++i)
    if ((run += histogram[i]) > t) {
      lo = i;
      break;
    }
  run = 0;
  for (int i = 255; i > 128; --i)
    if ((run += histogram[i]) > t) {
      hi = i;
      break;
    }
  return {lo + contrast / 2, 255.0 / std::max(1, hi - lo - contrast)};
}

LevelPoint PlaneLevelStats(const PlaneSet& pl, LONG width, LONG height, int cut, int contrast) {
  if (!pl.Ready()) return ContrastLevels(contrast);
  unsigned hist[256] = {}, n = 0;
  LONG r = std::min(height - 5, pl.rows - 1);
  for (LONG k = 0; k < (height - 4) / 4 && r >= 0; ++k, r -= 4) {
    const BYTE *p0 = pl.row[0][r], *p1 = pl.row[1][r], *p2 = pl.row[2][r], *p3 = pl.row[3][r];
    for (LONG x = 4; x < width - 3 && x < pl.rowBytes; x += 4) ++hist[(p0[x] + p1[x] + p2[x] + p3[x]) >> 2], ++n;
  }
  return HistogramLevels(hist, n, cut, contrast);
}

int EdgeStrength(const BYTE* const rows[5], LONG x, int threshold, int wa, int wb) {
  return EdgeAt(rows, x, threshold, wa, wb);
}

LONG RGBFromPlanes(const PlaneJob& job, BYTE* bits, LONG width, LONG height, LONG stride) {
  if (job.tranMode == 1 || job.tranMode == 2) return 1;
  const PlaneSet& pl = job.planes;
  if (!pl.Ready() || width <= 0 || height <= 0) return 0;
  const PlaneRoles& ro = job.roles;
  const Enhancement& e = job.enh;
  LONG rows = std::min(height, pl.rows), cols = std::min(width, pl.rowBytes);
  for (LONG r = 0; r < rows; ++r) {
    BYTE* g1 = pl.row[ro.green1][r];
    const BYTE* g2 = pl.row[ro.green2][r];
    for (LONG x = 0; x < cols; ++x) g1[x] = BYTE((g1[x] + g2[x]) >> 1);
  }
  LevelPoint lp = e.autoLevel ? PlaneLevelStats(pl, width, height, e.cut, e.contrast) : ContrastLevels(e.contrast);
  LevelMap map(lp, e.autoLevel || e.contrast || e.edgeApp);
  LONG step = ProgressStep(height);
  for (LONG r = 0; r < rows; ++r) {
    const BYTE *b = pl.row[ro.blue][r], *g = pl.row[ro.green1][r], *rd = pl.row[ro.red][r];
    BYTE* out = PictureRow(bits, stride, height, r);
    bool innerRow = e.edgeApp && r >= 2 && r < rows - 2 && cols >= 5;
    Rows5 q{};
    if (innerRow)
      for (int k = 0; k < 5; ++k) q.q[k] = pl.row[ro.green1][r - 2 + k];
    for (LONG x = 0; x < cols; ++x) {
      BYTE* px = out + 3 * x;
      px[0] = b[x], px[1] = g[x], px[2] = rd[x];
      ChromaPixel(px, job.revision);
      if (innerRow && x >= 2 && x < cols - 2) {
        EdgeColour(px, g[x], EdgeAt(q.q, x, e.threshold, e.wa, e.wb), map);
      } else if (map.Active()) {
        px[0] = map(px[0]), px[1] = map(px[1]), px[2] = map(px[2]);
      }
    }
    if (r % step == 0 && CancelAt(job.progress, int(int64_t(r) * 100 / height))) return 0;
  }
  return 1;
}

LONG GreyFromPlanes(const PlaneJob& job, BYTE* bits, LONG width, LONG height, LONG stride) {
  const PlaneSet& pl = job.planes;
  if (!pl.Ready() || width <= 0 || height <= 0) return 0;
  const Enhancement& e = job.enh;
  LevelPoint lp = ContrastLevels(e.contrast);
  if (e.autoLevel) {
    unsigned hist[256], n;
    Histogram(pl, 0, width, height, hist, &n);
    lp = HistogramLevels(hist, n, e.cut, e.contrast);
  }
  if (job.tranMode == 1 || job.tranMode == 2) return 1;
  LONG rows = std::min(height, pl.rows), cols = std::min(width, pl.rowBytes);
  for (LONG r = 0; r < rows; ++r) {
    BYTE *p0 = pl.row[0][r], *p1 = pl.row[1][r], *p2 = pl.row[2][r], *p3 = pl.row[3][r];
    for (LONG x = 0; x < cols; ++x) {
      unsigned a = (unsigned(p0[x]) + p3[x]) / 2;
      p0[x] = BYTE((p2[x] >> 2) + (a >> 3) + (a / 2) + (p1[x] >> 3));
    }
  }
  LevelMap map(lp, e.autoLevel || e.contrast || e.edgeApp);
  LONG step = ProgressStep(height);
  for (LONG r = 0; r < rows; ++r) {
    const BYTE* y = pl.row[0][r];
    BYTE* out = PictureRow(bits, stride, height, r);
    bool innerRow = e.edgeApp && r >= 2 && r < rows - 2 && cols >= 5;
    Rows5 q{};
    if (innerRow)
      for (int k = 0; k < 5; ++k) q.q[k] = pl.row[0][r - 2 + k];
    for (LONG x = 0; x < cols; ++x) {
      int v = y[x];
      BYTE o;
      if (innerRow && x >= 2 && x < cols - 2) {
        int s = EdgeAt(q.q, x, e.threshold, 2 * e.wa, 2 * e.wb);
        o = map((v * (256 + s)) >> 8);
      } else {
        o = map(v);
      }
      out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = o;
    }
    if (r % step == 0 && CancelAt(job.progress, int(int64_t(r) * 100 / height))) return 0;
  }
  return 1;
}

LONG ApplyLevels(const PlaneSet& pl, const Enhancement& enh, const ProgressFn& progress, BYTE* bits, LONG width,
                 LONG height, LONG stride) {
  if (!enh.Follows() || width <= 0 || height <= 0) return 1;
  int contrast = enh.extraCont ? enh.contrast : 0;
  // The green copy goes into plane 0 when it can hold the picture, else into rows of our own.
  std::vector<BYTE> own;
  std::vector<BYTE*> ownRows;
  BYTE* const* green = nullptr;
  if (pl.Ready() && pl.rows >= height && pl.rowBytes >= width) {
    green = pl.row[0];
  } else {
    own.resize(size_t(width) * size_t(height));
    for (LONG i = 0; i < height; ++i) ownRows.push_back(own.data() + size_t(i) * size_t(width));
    green = ownRows.data();
  }
  for (LONG i = 0; i < height; ++i) {
    const BYTE* src = bits + ptrdiff_t(i) * stride + 1;
    BYTE* dst = green[i];
    for (LONG x = 0; x < width; ++x) dst[x] = src[3 * x];
  }
  LevelPoint lp = ContrastLevels(contrast);
  if (enh.autoLevel) {
    unsigned hist[256] = {}, n = 0;
    for (LONG r = 4; r < height - 3; r += 4)
      for (LONG x = 4; x < width - 3; x += 4) ++hist[green[r][x]], ++n;
    lp = HistogramLevels(hist, n, enh.cut, contrast);
  }
  LevelMap map(lp, true);
  bool mapPlain = enh.autoLevel || contrast != 0;
  LONG step = ProgressStep(height);
  for (LONG i = 0; i < height; ++i) {
    BYTE* row = bits + ptrdiff_t(i) * stride;
    bool innerRow = enh.edgeApp && i >= 2 && i < height - 2 && width >= 5;
    if (innerRow) {
      const BYTE* q[5] = {green[i - 2], green[i - 1], green[i], green[i + 1], green[i + 2]};
      for (LONG x = 0; x < width; ++x) {
        BYTE* px = row + 3 * x;
        if (x >= 2 && x < width - 2)
          EdgeColour(px, q[2][x], EdgeAt(q, x, enh.threshold, enh.wa, enh.wb), map);
        else
          px[0] = map(px[0]), px[1] = map(px[1]), px[2] = map(px[2]);
      }
    } else if (enh.edgeApp || mapPlain) {
      for (LONG k = 0; k < 3 * width; ++k) row[k] = map(row[k]);
    }
    if (i % step == 0 && CancelAt(progress, int((int64_t(i) / 2 + height / 2) * 100 / height))) return 0;
  }
  return 1;
}

namespace {
LONG PeakOf(const unsigned hist[256], unsigned n, LONG autoExpThresh) {
  int64_t cut = std::max<int64_t>(10, int64_t(autoExpThresh) * n / 1000);
  int64_t above = 0;
  for (int i = 255; i >= 1; --i)
    if ((above += hist[i]) > cut) return i;
  return 0;
}
}  // namespace

void PictureExposureStats(const BYTE* bits, LONG width, LONG height, DWORD mode, LONG autoExpThresh, LONG* mean,
                          LONG* peak) {
  unsigned hist[256] = {}, n = 0;
  uint64_t sum = 0;
  LONG stride = PictureStride(width);
  BYTE flip = (mode & 0x20) ? 0xFF : 0;
  LONG first = 3 * width / 8, groups = (7 * width / 8 - width / 8 + 3) / 4;
  for (LONG r = height / 8; r < 7 * height / 8; r += 4) {
    const BYTE* row = bits + ptrdiff_t(r) * stride;
    for (LONG k = 0; k < groups; ++k) {
      LONG at = first + 12 * k;
      if (at + 3 > 3 * width) break;
      for (int b = 0; b < 3; ++b) {
        BYTE v = BYTE(row[at + b] ^ flip);
        sum += v, ++hist[v], ++n;
      }
    }
  }
  if (mean) *mean = n ? LONG(sum / n) : 0;
  if (peak) *peak = PeakOf(hist, n, autoExpThresh);
}

void GreenExposureStats(const BYTE* bits, LONG width, LONG height, LONG autoExpThresh, LONG* mean, LONG* peak) {
  unsigned hist[256] = {}, n = 0;
  uint64_t sum = 0;
  LONG stride = PictureStride(width);
  for (LONG r = 1; r <= height - 2; ++r) {
    const BYTE* row = bits + ptrdiff_t(r) * stride + 1;
    for (LONG x = 0; x <= width - 3; ++x) {
      BYTE v = row[3 * x];
      sum += v, ++hist[v], ++n;
    }
  }
  if (mean) *mean = n ? LONG(2 * sum / n) : 0;
  if (peak) *peak = PeakOf(hist, n, autoExpThresh);
}

}  // namespace vexcam

void ConvertToGrey(LONG width, LONG height, BYTE* bits) {
  if (!bits || width <= 0 || height <= 0) return;
  LONG stride = vexcam::PictureStride(width);
  for (LONG r = 0; r < height; ++r) {
    BYTE* px = bits + ptrdiff_t(r) * stride;
    for (LONG x = 0; x < width; ++x, px += 3) px[0] = px[1] = px[2] = BYTE((5 * px[1] + 2 * px[2] + px[0]) >> 3);
  }
}
