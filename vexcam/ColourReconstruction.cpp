#include "ColourReconstruction.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "BilinearRows.h"
#include "EdgeDirected.h"
#include "RowPool.h"

namespace vexcam {
namespace {

// Rows of warm-up before each band of the edge-directed greens: enough for the guess to
// meet the finished rows almost always, so a band is seldom worked twice.
constexpr LONG kWarmUpRows = 8;

int ChannelOf(const PlaneRoles& roles, int plane) {
  if (plane == roles.blue) return 0;
  if (plane == roles.red) return 2;
  return 1;
}

int CodeOf(const PlaneRoles& roles, int plane) {
  if (plane == roles.blue) return kBlue;
  if (plane == roles.red) return kRed;
  if (plane == roles.green1) return kGreen1;
  return kGreen2;
}

// How many cell rows and columns the planes can supply for a picture of this size.
struct Extent {
  LONG rows, cols;
};
Extent Readable(const PlaneSet& p, LONG width, LONG height) {
  return {std::min(height, p.rows - 1), std::min(width, p.rowBytes - 1)};
}

void Scatter(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride, bool clear) {
  const PlaneSet& pl = c.planes;
  Extent e = Readable(pl, width, height);
  for (LONG i = 0; i < height; i += 2) {
    if (clear) {
      std::memset(PictureRow(bits, stride, height, i), 0, size_t(stride));
      if (i + 1 < height) std::memset(PictureRow(bits, stride, height, i + 1), 0, size_t(stride));
    }
    if (i >= e.rows) continue;
    for (int p = 0; p < 4; ++p) {
      LONG r = i + c.phases.rp[p];
      if (r >= height || r >= pl.rows) continue;
      const BYTE* src = pl.row[p][r];
      BYTE* dst = PictureRow(bits, stride, height, r) + ChannelOf(c.roles, p);
      for (LONG x = c.phases.cp[p]; x < e.cols + 1 && x < width; x += 2) dst[3 * x] = src[x];
    }
  }
}

CodeTable Codes(const ColourContext& c) {
  CodeTable t;
  for (int p = 0; p < 4; ++p) t.code[c.phases.rp[p] & 1][c.phases.cp[p] & 1] = CodeOf(c.roles, p);
  return t;
}

int Percent(const ColourContext& c, LONG done, LONG total) {
  int pct = int(int64_t(done) * 100 / total);
  return c.enhancementFollows ? pct / 2 : pct;
}

// Channel value at (row pointer, column).
inline int At(const BYTE* row, LONG x, int ch) { return row[3 * x + ch]; }

// Runs rows [0, count) of a pass with its progress reports in the order and with the
// percentages of a pass row by row (see ReportingPass); the rows done up to the report
// that cancelled, all rows when none did. With `ahead` (the picture rows the pass writes)
// the threads work on past the reports.
template <class ReportsAfter, class PercentAfter>
LONG InReportOrder(const ColourContext& c, int threads, LONG count, ReportsAfter reportsAfter,
                   PercentAfter percentAfter, const std::function<void(LONG, LONG)>& rows, bool* cancelled,
                   const PassRows* ahead = nullptr) {
  *cancelled = false;
  if (!c.progress) {
    ShareRows(threads, 0, count, rows);
    return count;
  }
  return ReportingPass(
      threads, count, reportsAfter, [&](LONG r) { return c.Report(percentAfter(r)) != 0; }, rows, ahead,
      cancelled);
}

// Threads for a pass that writes whole rows: rows that overlap in memory (a stride
// shorter than the row) are worked in order on one.
int RowThreads(const ColourContext& c, LONG width, LONG stride) {
  return int64_t(stride) >= 3 * int64_t(width) ? PassThreads(c.threads) : 1;
}

// The chroma step on the pad pixels of every row, which a row pass does not reach.
void PadChroma(BYTE* bits, LONG width, LONG height, LONG stride, LONG revision) {
  const LONG groups = stride / 3 - width;
  if (groups <= 0) return;
  for (LONG r = 0; r < height; ++r) ChromaGroups(bits + ptrdiff_t(r) * stride + 3 * width, groups, revision);
}

}  // namespace

bool ScatterPlanes(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride, CodeTable* codes) {
  if (codes) *codes = Codes(c);
  if (!c.planes.Ready() || width <= 0 || height <= 0) return false;
  Scatter(c, bits, width, height, stride, false);
  return true;
}

LONG RGBMosaic(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride) {
  if (!c.planes.Ready() || width <= 0 || height <= 0) return 0;
  // Row pair by row pair so that progress and a cancel fall between pairs.
  auto pair = [&](LONG i) {
    LONG rows = std::min<LONG>(2, height - i);
    for (LONG k = 0; k < rows; ++k) std::memset(PictureRow(bits, stride, height, i + k), 0, size_t(stride));
    for (int p = 0; p < 4; ++p) {
      LONG r = i + c.phases.rp[p];
      if (r >= height || r >= c.planes.rows) continue;
      const BYTE* src = c.planes.row[p][r];
      BYTE* dst = PictureRow(bits, stride, height, r) + ChannelOf(c.roles, p);
      LONG end = std::min(width, c.planes.rowBytes);
      for (LONG x = c.phases.cp[p]; x < end; x += 2) dst[3 * x] = src[x];
    }
  };
  bool cancelled;
  InReportOrder(
      c, RowThreads(c, width, stride), (height + 1) / 2, [&](LONG k) { return (height - 1 - 2 * k) % 50 < 2; },
      [&](LONG k) { return int(int64_t(2 * k + 1) * 100 / height); },
      [&](LONG first, LONG last) {
        for (LONG k = first; k < last; ++k) pair(2 * k);
      },
      &cancelled);
  return cancelled ? 0 : 1;
}

// ---- cell replication

namespace {

struct CellReader {
  const PlaneSet& pl;
  int plane;
  int cp, rp;
  BYTE Get(LONG i, LONG j) const { return pl.row[plane][i + rp][j + cp]; }
};

struct CellColours {
  int b, g0, g1, r;
};

void PutPixel(BYTE* row, LONG x, LONG width, int b, int g, int r) {
  if (x >= width) return;
  BYTE* px = row + 3 * x;
  px[0] = BYTE(b), px[1] = BYTE(g), px[2] = BYTE(r);
}

void PutChannel(BYTE* row, LONG x, LONG width, int ch, int v) {
  if (x < width) row[3 * x + ch] = BYTE(v);
}

// Writes one cell row pair. `first`/`last` write at fixed columns; inner cells at each
// colour's column phase (a phase-1 colour spills one pixel into the next cell).
struct CellWriter {
  BYTE* top;
  BYTE* bottom;  // null past the picture's last row
  LONG width;
  int cb, cr, cg0, cg1;  // column phase of blue, red, G0 (row i) and G1 (row i+1)
  bool fixedAll;         // zoom 0.5: every cell at its own columns

  void Fixed(LONG j, const CellColours& v) const {
    for (LONG x = j; x < j + 2; ++x) {
      PutPixel(top, x, width, v.b, v.g0, v.r);
      if (bottom) PutPixel(bottom, x, width, v.b, v.g1, v.r);
    }
  }
  void Phased(LONG j, const CellColours& v) const {
    for (LONG k = 0; k < 2; ++k) {
      PutChannel(top, j + cb + k, width, 0, v.b);
      PutChannel(top, j + cr + k, width, 2, v.r);
      PutChannel(top, j + cg0 + k, width, 1, v.g0);
      if (bottom) {
        PutChannel(bottom, j + cb + k, width, 0, v.b);
        PutChannel(bottom, j + cr + k, width, 2, v.r);
        PutChannel(bottom, j + cg1 + k, width, 1, v.g1);
      }
    }
  }
  void Write(LONG j, const CellColours& v) const {
    bool last = j + 2 >= width;
    if (fixedAll || last) return Fixed(j, v);
    if (j == 0) {
      Fixed(0, v);
      // and the phase-shifted second pixel of each colour
      PutChannel(top, cb + 1, width, 0, v.b);
      PutChannel(top, cr + 1, width, 2, v.r);
      PutChannel(top, cg0 + 1, width, 1, v.g0);
      if (bottom) {
        PutChannel(bottom, cb + 1, width, 0, v.b);
        PutChannel(bottom, cr + 1, width, 2, v.r);
        PutChannel(bottom, cg1 + 1, width, 1, v.g1);
      }
      return;
    }
    Phased(j, v);
  }
};

// Which green plane sits on row phase 0 (G0) and which on 1 (G1).
void GreenOrder(const ColourContext& c, int* g0, int* g1) {
  *g0 = c.roles.green1, *g1 = c.roles.green2;
  if (c.phases.rp[*g0] != 0 && c.phases.rp[*g1] == 0) std::swap(*g0, *g1);
}

// Gb: the green on the blue rows, Gr: the green on the red rows; each colour moves away
// from them (board revision 217 and later, single shots only).
inline void CellChroma(CellColours& v, bool g0IsSecond) {
  const int gb = g0IsSecond ? v.g0 : v.g1, gr = g0IsSecond ? v.g1 : v.g0;
  const int b = v.b, r = v.r, g0 = v.g0, g1 = v.g1;
  v.b = Clamp255(b + (b - gb) / 4);
  v.g0 = Clamp255(g0 + (2 * g0 - r - b) / 8);
  v.g1 = Clamp255(g1 + (2 * g1 - r - b) / 8);
  v.r = Clamp255(r + (r - gr) / 4);
}

// The inner cells of a row pair, from j = 2 while j < end: each colour at its column
// phase, with no bound to check (j + 2 stays inside the row).
template <bool kBottom>
void InnerCells(const CellWriter& w, const BYTE* const src[4], LONG end, bool chroma, bool g0IsSecond) {
  for (LONG j = 2; j < end; j += 2) {
    CellColours v{src[0][j], src[1][j], src[2][j], src[3][j]};
    if (chroma) CellChroma(v, g0IsSecond);
    for (LONG k = 0; k < 2; ++k) {
      w.top[3 * (j + w.cb + k)] = BYTE(v.b);
      w.top[3 * (j + w.cr + k) + 2] = BYTE(v.r);
      w.top[3 * (j + w.cg0 + k) + 1] = BYTE(v.g0);
      if constexpr (kBottom) {
        w.bottom[3 * (j + w.cb + k)] = BYTE(v.b);
        w.bottom[3 * (j + w.cr + k) + 2] = BYTE(v.r);
        w.bottom[3 * (j + w.cg1 + k) + 1] = BYTE(v.g1);
      }
    }
  }
}

enum class ShiftRead { Plain, Partner, Combined };

LONG CellsCommon(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride, bool shift, ShiftRead how) {
  if (!c.planes.Ready() || c.Aborted() || width <= 0 || height <= 0) return 0;
  const PlaneRoles& ro = c.roles;
  const Phases& ph = c.phases;
  int g0, g1;
  GreenOrder(c, &g0, &g1);
  Phases partner = ph;  // every plane at its partner's phases
  auto swapPh = [&](int a, int b) {
    partner.cp[a] = ph.cp[b], partner.rp[a] = ph.rp[b];
    partner.cp[b] = ph.cp[a], partner.rp[b] = ph.rp[a];
  };
  swapPh(ro.blue, ro.red);
  swapPh(ro.green1, ro.green2);
  const Phases& read = how == ShiftRead::Partner ? partner : ph;
  bool inCell = true;  // phases of 0 and 1 only: the inner cells need no bound checks
  for (int p = 0; p < 4; ++p)
    inCell = inCell && (ph.cp[p] | read.cp[p] | read.rp[p]) >= 0 && (ph.cp[p] | read.cp[p] | read.rp[p]) <= 1;

  const bool chroma = !shift && c.revision >= 217 && !(c.mode & 0x20000);
  const bool g0IsSecond = g0 == ro.green2;
  const CellWriter blank{nullptr, nullptr, width, ph.cp[ro.blue], ph.cp[ro.red], ph.cp[ro.green1], ph.cp[ro.green2],
                         !shift && c.zoom == 0.5};
  const Extent e = Readable(c.planes, width, height);
  auto at = [&](int plane, int phasesOf, LONG i, LONG j) {
    return int(c.planes.row[plane][i + ph.rp[phasesOf]][j + ph.cp[phasesOf]]);
  };
  auto cellRow = [&](LONG i) {
    CellWriter w = blank;
    w.top = PictureRow(bits, stride, height, i);
    w.bottom = i + 1 < height ? PictureRow(bits, stride, height, i + 1) : nullptr;
    if (how == ShiftRead::Combined) {
      for (LONG j = 0; j < e.cols; j += 2) {
        // Row i takes blue and red at the red plane's phases, row i+1 at the blue
        // plane's; each row's green is the mean of both greens at that row's phase.
        CellColours top{at(ro.blue, ro.red, i, j), (at(g0, g0, i, j) + at(g1, g0, i, j)) / 2, 0,
                        at(ro.red, ro.red, i, j)};
        CellColours bot{at(ro.blue, ro.blue, i, j), 0, (at(g0, g1, i, j) + at(g1, g1, i, j)) / 2,
                        at(ro.red, ro.blue, i, j)};
        CellWriter wt = w, wb = w;
        wt.bottom = nullptr;
        wb.top = w.bottom;
        wb.bottom = nullptr;
        wt.Write(j, top);
        if (wb.top) {
          CellColours b2 = bot;
          b2.g0 = bot.g1;
          wb.cg0 = w.cg1;
          wb.Write(j, b2);
        }
      }
      return;
    }
    // Each colour's samples along the row, at the phases read.
    const BYTE* src[4];
    const int planes[4] = {ro.blue, g0, g1, ro.red};
    for (int k = 0; k < 4; ++k) src[k] = c.planes.row[planes[k]][i + read.rp[planes[k]]] + read.cp[planes[k]];
    auto cell = [&](LONG j) {
      CellColours v{src[0][j], src[1][j], src[2][j], src[3][j]};
      if (chroma && j > 0 && j + 2 < width) CellChroma(v, g0IsSecond);
      w.Write(j, v);
    };
    LONG j = 0;
    if (j < e.cols) cell(j), j += 2;
    if (inCell && !w.fixedAll) {
      const LONG end = std::min(e.cols, width - 2);
      if (w.bottom)
        InnerCells<true>(w, src, end, chroma, g0IsSecond);
      else
        InnerCells<false>(w, src, end, chroma, g0IsSecond);
      j = std::max(j, end + (end & 1));
    }
    for (; j < e.cols; j += 2) cell(j);
  };
  ShareRows(RowThreads(c, width, stride), 0, (e.rows + 1) / 2, [&](LONG first, LONG last) {
    for (LONG k = first; k < last; ++k) cellRow(2 * k);
  });
  if ((height & 1) && !c.Report(100)) return 0;
  return 1;
}

}  // namespace

LONG RGBFromCells(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride) {
  if (!c.planes.Ready() || c.Aborted()) return 0;
  if (c.statisticsFlag) GreenStatistics(c, width, height);
  return CellsCommon(c, bits, width, height, stride, false, ShiftRead::Plain);
}

namespace {
// The combine rule of pixel-shift frames.
bool CombineFrames(const ColourContext& c, LONG width, LONG height) {
  bool agree = false;
  if (c.statisticsFlag) agree = GreenStatistics(c, width, height) == 0;
  return (c.combineOption && !c.preview) || agree;
}
}  // namespace

LONG RGBFromShiftCells(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride) {
  if (!c.planes.Ready() || c.Aborted()) return 0;
  ShiftRead how = CombineFrames(c, width, height) ? ShiftRead::Combined
                  : c.frameParity                 ? ShiftRead::Partner
                                                  : ShiftRead::Plain;
  return CellsCommon(c, bits, width, height, stride, true, how);
}

// ---- bilinear

namespace {

// Fills the missing channels of pixel x of row `cur` from rows `up` and `dn`, columns
// xl and xr, for a pixel of the given code.
inline void BilinearPixel(int code, const BYTE* up, BYTE* cur, const BYTE* dn, LONG x, LONG xl, LONG xr) {
  BYTE* px = cur + 3 * x;
  switch (code) {
    case kBlue:
    case kRed: {
      int other = code == kBlue ? 2 : 0;
      px[1] = BYTE((unsigned(At(up, x, 1)) + At(dn, x, 1) + At(cur, xl, 1) + At(cur, xr, 1)) >> 2);
      px[other] = BYTE((unsigned(At(up, xl, other)) + At(up, xr, other) + At(dn, xl, other) + At(dn, xr, other)) >> 2);
      break;
    }
    case kGreen1:
      px[2] = BYTE((unsigned(At(cur, xl, 2)) + At(cur, xr, 2)) / 2);
      px[0] = BYTE((unsigned(At(up, x, 0)) + At(dn, x, 0)) / 2);
      break;
    default:
      px[2] = BYTE((unsigned(At(up, x, 2)) + At(dn, x, 2)) / 2);
      px[0] = BYTE((unsigned(At(cur, xl, 0)) + At(cur, xr, 0)) / 2);
      break;
  }
}

int NeighbourCode(int code, DWORD mode) {
  if (!(mode & 0x10)) return code;
  return code == kGreen1 ? kGreen2 : code == kGreen2 ? kGreen1 : code;
}

}  // namespace

LONG InterpolateBilinearInPlace(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride) {
  CodeTable codes;
  ScatterPlanes(c, bits, width, height, stride, &codes);
  if (width <= 0 || height <= 0) return 0;
  LONG step = ProgressStep(height);
  for (LONG r = 0; r < height; ++r) {
    const BYTE* up = PictureRow(bits, stride, height, Reflect(r - 1, height));
    BYTE* cur = PictureRow(bits, stride, height, r);
    const BYTE* dn = PictureRow(bits, stride, height, Reflect(r + 1, height));
    for (int parity = 0; parity < 2; ++parity) {
      int code = NeighbourCode(codes.code[r & 1][parity], c.mode);
      LONG x = parity;
      if (x == 0 && x < width) BilinearPixel(code, up, cur, dn, 0, Reflect(-1, width), Reflect(1, width)), x += 2;
      for (; x + 1 < width; x += 2) BilinearPixel(code, up, cur, dn, x, x - 1, x + 1);
      if (x < width) BilinearPixel(code, up, cur, dn, x, Reflect(x - 1, width), Reflect(x + 1, width));
    }
    if ((height - 1 - r) % step < 2 && !c.Report(Percent(c, r + 1, height))) return 0;
  }
  return 1;
}

// ---- edge-directed

namespace {

enum : BYTE { kNone = 0, kVertical = 1, kFourWay = 2, kHorizontal = 4 };

// Plain comparisons: the list forms of min and max cost a great deal in unoptimised builds.
inline int Min3(int a, int b, int c) { return a < b ? (a < c ? a : c) : (b < c ? b : c); }
inline int Max3(int a, int b, int c) { return a > b ? (a > c ? a : c) : (b > c ? b : c); }
inline int Range3(int a, int b, int c) { return Max3(a, b, c) - Min3(a, b, c); }

// One picture row of the edge-directed kernel. `row[k]` is picture row r - 2 + k (held
// at the edges); Col maps a column index, mirroring it near the left and right edges.
struct AdaptiveRow {
  const BYTE* row[5];
  BYTE* cur;
  LONG r;
  const CodeTable& codes;
  DWORD mode;
  const std::vector<BYTE>& previous;
  std::vector<BYTE>& current;
  LONG width;

  int G(int dr, LONG x) const { return row[2 + dr][3 * x + 1]; }
  int K(int dr, LONG x, int ch) const { return row[2 + dr][3 * x + ch]; }

  template <class Col>
  void Green(LONG x, Col col) const {
    int code = codes.code[r & 1][x & 1];
    if (code != kBlue && code != kRed) return;
    LONG l = col(x - 1), rr = col(x + 1), l2 = col(x - 2), r2 = col(x + 2);
    int L = G(0, l), R = G(0, rr), U = G(-1, x), D = G(1, x);
    int H = std::abs(L - R) + Range3(G(-1, l2), U, G(-1, r2)) + Range3(G(1, l2), D, G(1, r2));
    int V = std::abs(U - D) + Range3(G(-2, l), L, G(2, l)) + Range3(G(-2, rr), R, G(2, rr));
    BYTE& out = cur[3 * x + 1];
    if (V + 8 < H) {
      out = BYTE((U + D) / 2);
      current[size_t(x)] = kVertical;
    } else if (V <= H + 8) {
      out = BYTE((unsigned(L) + R + U + D) >> 2);
      current[size_t(x)] = kFourWay;
    } else {
      out = BYTE((L + R) / 2);
      current[size_t(x)] = kHorizontal;
    }
  }

  template <class Col>
  void Colour(LONG x, int ch, Col col) const {
    bool redPass = ch == 2;
    int code = NeighbourCode(codes.code[r & 1][x & 1], mode);
    if (code == (redPass ? kRed : kBlue)) return;
    bool greenPixel = code == kGreen1 || code == kGreen2;
    // Red lies left and right of the first green, above and below the second; blue the
    // other way round.
    bool vertical = greenPixel && ((code == kGreen2) == redPass);
    LONG l = col(x - 1), rr = col(x + 1);
    BYTE& out = cur[3 * x + ch];
    if (r == 0 && (!redPass || !greenPixel)) {
      // First row: copy from the nearest sample instead of the rules (row 1 is row[3]).
      out = BYTE(!greenPixel ? K(1, l, ch) : vertical ? K(1, x, ch) : cur[3 * l + ch]);
      return;
    }
    if (greenPixel && redPass && r > 0) {
      int a = G(1, l), b = G(-1, rr), d = G(-1, l);
      int m3 = Min3(a, b, d), M3 = Max3(a, b, d);
      int gc = cur[3 * x + 1];
      bool besideHorizontal = (x > 0 && current[size_t(x - 1)] == kHorizontal) ||
                              (x + 1 < width && current[size_t(x + 1)] == kHorizontal);
      if (previous[size_t(x)] != kVertical && !besideHorizontal && M3 - m3 < 16 &&
          std::max(gc, m3) - std::min(gc, M3) < 16)
        cur[3 * x + 1] = BYTE((unsigned(d) + b + a + G(1, rr)) >> 2);
    }
    int g = cur[3 * x + 1];
    if (greenPixel && vertical) {
      int ka = K(-1, x, ch), ga = G(-1, x);
      out = BYTE(ka < ga + 32 ? Clamp255(ka + (g - ga)) : (ka + K(1, x, ch)) / 2);
    } else if (greenPixel) {
      int kl = cur[3 * l + ch], kr = cur[3 * rr + ch], gl = cur[3 * l + 1], gr = cur[3 * rr + 1];
      out = BYTE(kl < gl + 32 ? Clamp255((kl + kr - gl - gr + 2 * g) / 2) : (kl + kr) / 2);
    } else {
      int k1 = K(-1, l, ch), k2 = K(-1, rr, ch);
      int gt = redPass ? G(-1, l) : cur[3 * l + 1];
      if (k1 < gt + 32)
        out = BYTE(Clamp255((k1 + k2 - G(-1, l) - G(-1, rr) + 2 * g) / 2));
      else
        out = BYTE((unsigned(k1) + k2 + K(1, l, ch) + K(1, rr, ch)) >> 2);
    }
  }

  // Runs `f` over every column: mirrored near the edges, direct in between.
  template <class F>
  void Columns(F f) const {
    LONG w = width;
    auto mirrored = [w](LONG i) { return Reflect(i, w); };
    auto direct = [](LONG i) { return i; };
    LONG x = 0;
    for (; x < std::min<LONG>(2, w); ++x) f(x, mirrored);
    for (; x < w - 2; ++x) f(x, direct);
    for (; x < w; ++x) f(x, mirrored);
  }
};

}  // namespace

LONG InterpolateAdaptiveInPlace(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride) {
  CodeTable codes;
  ScatterPlanes(c, bits, width, height, stride, &codes);
  if (width <= 0 || height <= 0) return 0;
  // Green decisions of the previous and the current picture row.
  std::vector<BYTE> previous(size_t(width), kNone), current(size_t(width), kNone);
  LONG step = ProgressStep(height);
  for (LONG r = 0; r < height; ++r) {
    std::fill(current.begin(), current.end(), kNone);
    AdaptiveRow a{{}, PictureRow(bits, stride, height, r), r, codes, c.mode, previous, current, width};
    for (int k = 0; k < 5; ++k) a.row[k] = PictureRow(bits, stride, height, Reflect(r - 2 + k, height));
    a.Columns([&](LONG x, auto col) { a.Green(x, col); });
    a.Columns([&](LONG x, auto col) { a.Colour(x, 2, col); });
    a.Columns([&](LONG x, auto col) { a.Colour(x, 0, col); });
    std::swap(previous, current);
    if ((height - 1 - r) % step < 2 && !c.Report(Percent(c, r + 1, height))) return 0;
  }
  return 1;
}

void ChromaEnhance(BYTE* bits, LONG height, LONG stride, LONG revision, int threads) {
  const LONG groups = stride / 3;
  ShareRows(PassThreads(threads), 0, height, [&](LONG first, LONG last) {
    for (LONG r = first; r < last; ++r) ChromaGroups(bits + ptrdiff_t(r) * stride, groups, revision);
  });
}

// ---- the interpolating kernels on a mosaic of the planes

namespace {

// A row pass over the mosaic: `build(first, last, chroma)` writes whole picture rows,
// with the chroma step of board revision `chroma` unless it is kNoChroma, so the step
// works on each row while it is still in cache.
using RowBuilder = std::function<void(LONG, LONG, LONG)>;

LONG MosaicPass(const ColourContext& c, const BayerMosaic& m, BYTE* bits, LONG width, LONG height, LONG stride,
                bool chroma, const RowBuilder& build) {
  const LONG step = ProgressStep(height), revision = chroma ? c.revision : kNoChroma;
  const int threads = RowThreads(c, width, stride);
  const PassRows picture{[&](LONG r) { return PictureRow(bits, stride, height, r); }, size_t(stride)};
  bool cancelled;
  const LONG done = InReportOrder(
      c, threads, height, [&](LONG r) { return (height - 1 - r) % step < 2; },
      [&](LONG r) { return Percent(c, r + 1, height); }, [&](LONG first, LONG last) { build(first, last, revision); },
      &cancelled, &picture);
  if (cancelled) {
    // As a pass row by row leaves it: the rows after the cancel hold the measured samples
    // only, and the rows before it have no chroma step, which follows a finished pass.
    ScatterRows(m, bits, width, height, stride, done, height);
    if (chroma) ShareRows(threads, 0, done, [&](LONG first, LONG last) { build(first, last, kNoChroma); });
    return 0;
  }
  if (chroma) PadChroma(bits, width, height, stride, c.revision);
  return 1;
}

LONG Bilinear(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride, bool chroma) {
  BayerMosaic m;
  if (int64_t(stride) < 3 * int64_t(width) || !MakeMosaic(c, width, height, 2, &m)) {
    const LONG done = InterpolateBilinearInPlace(c, bits, width, height, stride);
    if (done && chroma) ChromaEnhance(bits, height, stride, c.revision, c.threads);
    return done;
  }
  return MosaicPass(c, m, bits, width, height, stride, chroma, [&](LONG first, LONG last, LONG revision) {
    BilinearRows(m, bits, width, height, stride, first, last, revision);
  });
}

LONG Adaptive(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride, bool chroma) {
  BayerMosaic m;
  std::unique_ptr<BYTE[]> greens;
  std::vector<BYTE> rowOne;
  if (int64_t(stride) >= 3 * int64_t(width) && MakeMosaic(c, width, height, 3, &m)) {
    try {
      greens = std::make_unique_for_overwrite<BYTE[]>(size_t(width) * size_t(height));
      // The first row reads row 1 as it stood before the kernel.
      const BYTE* one = PictureRow(bits, stride, height, 1);
      rowOne.assign(one, one + 3 * size_t(width));
    } catch (const std::bad_alloc&) {
      greens.reset();
    }
  }
  if (!greens) {
    const LONG done = InterpolateAdaptiveInPlace(c, bits, width, height, stride);
    if (done && chroma) ChromaEnhance(bits, height, stride, c.revision, c.threads);
    return done;
  }
  EdgeDirectedGreens(m, width, height, PassThreads(c.threads), kWarmUpRows, greens.get());
  return MosaicPass(c, m, bits, width, height, stride, chroma, [&](LONG first, LONG last, LONG revision) {
    EdgeDirectedRows(m, greens.get(), rowOne.data(), bits, width, height, stride, first, last, revision);
  });
}

}  // namespace

LONG InterpolateBilinear(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride) {
  return Bilinear(c, bits, width, height, stride, false);
}

LONG InterpolateAdaptive(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride) {
  return Adaptive(c, bits, width, height, stride, false);
}

LONG RGBFromPlanesRaw(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride) {
  if (!c.planes.Ready() || width <= 0 || height <= 0) return 0;
  const PlaneRoles& ro = c.roles;
  LONG rows = std::min(height, c.planes.rows), cols = std::min(width, c.planes.rowBytes);
  for (LONG r = 0; r < rows; ++r) {
    const BYTE *b = c.planes.row[ro.blue][r], *g1 = c.planes.row[ro.green1][r], *g2 = c.planes.row[ro.green2][r],
               *rd = c.planes.row[ro.red][r];
    BYTE* out = PictureRow(bits, stride, height, r);
    for (LONG x = 0; x < cols; ++x, out += 3) {
      out[0] = b[x];
      out[1] = std::max(g1[x], g2[x]);
      out[2] = rd[x];
    }
  }
  return 1;
}

// ---- half size

namespace {

enum class HalfRead { Plain, Partner, Combined };

LONG HalfCommon(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride, HalfRead how) {
  if (!c.planes.Ready() || width <= 0 || height <= 0) return 0;
  const PlaneRoles& ro = c.roles;
  const Phases& ph = c.phases;
  LONG rows = std::min(height, (c.planes.rows - 1) / 2), cols = std::min(width, (c.planes.rowBytes - 1) / 2);
  LONG step = ProgressStep(height);
  // src[p][q]: plane p of this cell row read at plane q's phases, indexed by the cell column.
  const BYTE* src[4][4];
  auto run = [&](auto pixel) {
    for (LONG k = 0; k < rows; ++k) {
      if ((2 * k) % step < 2 && !c.Report(Percent(c, k, height))) return LONG(0);
      for (int p = 0; p < 4; ++p)
        for (int q = 0; q < 4; ++q) src[p][q] = c.planes.row[p][2 * k + ph.rp[q]] + ph.cp[q];
      BYTE* out = PictureRow(bits, stride, height, k);
      for (LONG x = 0; x < cols; ++x, out += 3) {
        pixel(2 * x, out);
        ChromaPixel(out, c.revision);
      }
    }
    return LONG(1);
  };
  const int b = ro.blue, r = ro.red, g1 = ro.green1, g2 = ro.green2;
  switch (how) {
    case HalfRead::Plain:
      return run([&](LONG j, BYTE* out) {
        out[0] = src[b][b][j], out[2] = src[r][r][j];
        out[1] = BYTE((src[g1][g1][j] + src[g2][g2][j]) / 2);
      });
    case HalfRead::Partner:
      return run([&](LONG j, BYTE* out) {
        out[0] = src[b][r][j], out[2] = src[r][b][j];
        out[1] = BYTE((src[g1][g2][j] + src[g2][g1][j]) / 2);
      });
    default:
      return run([&](LONG j, BYTE* out) {
        out[0] = BYTE((src[b][b][j] + src[b][r][j]) / 2);
        out[2] = BYTE((src[r][r][j] + src[r][b][j]) / 2);
        out[1] = BYTE((src[g1][g1][j] + src[g1][g2][j] + src[g2][g1][j] + src[g2][g2][j]) >> 2);
      });
  }
}

}  // namespace

LONG RGBHalfSize(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride) {
  return HalfCommon(c, bits, width, height, stride, HalfRead::Plain);
}

LONG RGBHalfSizeShift(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride) {
  if (!c.planes.Ready()) return 0;
  HalfRead how = CombineFrames(c, width * 2, height * 2) ? HalfRead::Combined
                 : c.frameParity                         ? HalfRead::Partner
                                                         : HalfRead::Plain;
  return HalfCommon(c, bits, width, height, stride, how);
}

// ---- after 18 positions

LONG RGBFromShift18(const ColourContext& c, int method, BYTE* bits, LONG width, LONG height, LONG stride) {
  if (method >= 4 && method <= 9) return 1;
  if (!c.planes.Ready() || width <= 0 || height <= 0) return 0;
  Scatter(c, bits, width, height, stride, true);
  const PlaneRoles& ro = c.roles;
  const Phases& ph = c.phases;
  Extent e = Readable(c.planes, width, height);
  // The pixel-shift extras: each position also gets the partner channel its frames hold.
  struct Extra {
    int plane, phasesOf, channel;
  } extras[4] = {{ro.green1, ro.blue, 1}, {ro.blue, ro.green1, 0}, {ro.red, ro.green2, 2}, {ro.green2, ro.red, 1}};
  for (LONG i = 0; i < e.rows; i += 2)
    for (const Extra& x : extras) {
      LONG r = i + ph.rp[x.phasesOf];
      if (r >= height) continue;
      BYTE* dst = PictureRow(bits, stride, height, r) + x.channel;
      const BYTE* src = c.planes.row[x.plane][r];
      for (LONG col = ph.cp[x.phasesOf]; col < e.cols + 1 && col < width; col += 2) dst[3 * col] = src[col];
    }
  if (method == 3 || method == 13) return 1;

  CodeTable codes = Codes(c);
  // Neighbours of the same kind lie along the axis where the other row (or column) of the
  // 2 x 2 cell holds the missing colour.
  auto holds = [](int code, int ch) { return ch == 2 ? (code == kRed || code == kGreen2) : (code == kBlue || code == kGreen1); };
  LONG step = ProgressStep(height);
  for (LONG r = 0; r < height; ++r) {
    BYTE* row = PictureRow(bits, stride, height, r);
    for (LONG x = 0; x < width; ++x) {
      int code = codes.code[r & 1][x & 1];
      int ch = (code == kBlue || code == kGreen1) ? 2 : 0;
      bool vertical = holds(codes.code[(r + 1) & 1][x & 1], ch);
      const BYTE *p, *q;
      LONG px, qx;
      if (vertical) {
        p = PictureRow(bits, stride, height, Reflect(r - 1, height)), px = x;
        q = PictureRow(bits, stride, height, Reflect(r + 1, height)), qx = x;
      } else {
        p = q = row, px = Reflect(x - 1, width), qx = Reflect(x + 1, width);
      }
      int pk = p[3 * px + ch], qk = q[3 * qx + ch], pg = p[3 * px + 1], qg = q[3 * qx + 1];
      int v;
      switch (method) {
        case 0:
        case 10: v = qk; break;
        case 12:
        case 2: v = pk < pg + 32 ? Clamp255((pk + qk - pg - qg + 2 * row[3 * x + 1]) / 2) : (pk + qk) / 2; break;
        default: v = (pk + qk) / 2; break;
      }
      row[3 * x + ch] = BYTE(v);
    }
    if ((height - 1 - r) % step < 2 && !c.Report(Percent(c, r + 1, height))) return 0;
  }
  if (method == 1 || method == 2) ChromaEnhance(bits, height, stride, c.revision, c.threads);
  return 1;
}

// ---- green statistics

int GreenStatistics(const ColourContext& c, LONG width, LONG height) {
  if (!c.planes.Ready() || !c.green || width <= 0 || height <= 0) return 1;
  GreenStatsState& st = *c.green;
  const PlaneRoles& ro = c.roles;
  const Phases& ph = c.phases;
  LONG x0 = (width / 20) * 2, x1 = std::max(x0 + 2, (9 * width / 20) * 2);
  LONG y0 = (height / 20) * 2, y1 = std::max(y0 + 2, (9 * height / 20) * 2);
  LONG downDiv = std::max<LONG>(1, std::min<LONG>(64, 8 * height / 10));
  LONG acrossDiv = std::max<LONG>(1, std::min<LONG>(64, (8 * width / 20) * 2));
  LONG down = std::max<LONG>(2, (height / downDiv) * 2), across = std::max<LONG>(2, (width / acrossDiv) * 2);
  // Keep every read inside the planes.
  y1 = std::min(y1, c.planes.rows - 1);
  x1 = std::min(x1, c.planes.rowBytes - 1);
  int64_t sum = 0, mean = 0, signedSum = 0;
  int maxD = 0, m = 0;
  LONG n = 0;
  auto at = [&](int plane, int phasesOf, LONG r, LONG x) {
    return int(c.planes.row[plane][r + ph.rp[phasesOf]][x + ph.cp[phasesOf]]);
  };
  for (LONG r = y0; r < y1; r += down)
    for (LONG x = x0; x < x1; x += across) {
      int A = at(ro.green1, ro.green1, r, x), A2 = at(ro.green1, ro.green2, r, x);
      int B = at(ro.green2, ro.green2, r, x), B2 = at(ro.green2, ro.green1, r, x);
      int k1 = int(A2 * st.ratio), k2 = int(A * st.ratio);
      int d = std::abs(A2 - k1 - B) + std::abs(A - k2 - B2);
      sum += d;
      maxD = std::max(maxD, d);
      mean += (A + A2) / 2;
      m = std::max(m, std::abs(A - A2));
      signedSum += (A2 - B) + (A - B2);
      ++n;
    }
  // Nothing sampled: no evidence that the frames agree, and the kept state stays as it was.
  if (n == 0) return 1;
  st.ratio = double((signedSum / n) / 2) / double(std::max<int64_t>(1, mean / n));
  for (int i = 0; i < 7; ++i) st.history[i] = st.history[i + 1];
  st.history[7] = LONG(sum * 128 / n);
  LONG lo = *std::min_element(st.history, st.history + 7), hi = *std::max_element(st.history, st.history + 7);
  if (hi - lo < 8 * m) {
    int64_t all = 0;
    for (LONG v : st.history) all += v;
    st.reference = LONG(all / 8);
  }
  return (st.history[7] <= st.reference + 4 * m && maxD <= std::max(48, (3 * m) / 2)) ? 0 : 1;
}

LONG Reconstruct(const ColourContext& c, int method, BYTE* bits, LONG width, LONG height, LONG stride) {
  switch (method) {
    case 0:
    case 10: return RGBFromCells(c, bits, width, height, stride);
    case 1: return Bilinear(c, bits, width, height, stride, true);
    case 2: return Adaptive(c, bits, width, height, stride, true);
    case 11: return InterpolateBilinear(c, bits, width, height, stride);
    case 12: return InterpolateAdaptive(c, bits, width, height, stride);
    case 3:
    case 13: return RGBMosaic(c, bits, width, height, stride);
    default: return 1;
  }
}

}  // namespace vexcam
