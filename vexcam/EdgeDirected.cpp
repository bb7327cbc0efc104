#include "EdgeDirected.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "CodedRow.h"
#include "RowPool.h"

namespace vexcam {
namespace {

using namespace lanes;

// Green decisions, kept per column for the row before and the row being worked.
enum : BYTE { kNone = 0, kVertical = 1, kFourWay = 2, kHorizontal = 4 };

inline int Min3(int a, int b, int c) { return std::min(a, std::min(b, c)); }
inline int Max3(int a, int b, int c) { return std::max(a, std::max(b, c)); }

// ---- greens

// The green rows r - 2 .. r + 2 as the recurrence sees them at row r.
struct GreenRows {
  const BYTE *up2, *up1, *mid, *down1, *down2;
};

inline int Range3(int a, int b, int c) { return Max3(a, b, c) - Min3(a, b, c); }
inline Lanes Range3(Lanes a, Lanes b, Lanes c) { return Max(Max(a, b), c) - Min(Min(a, b), c); }

// The green at blue or red column x, with the neighbour columns l, rr and l2, r2 two away.
inline void GreenAt(const GreenRows g, LONG x, LONG l, LONG rr, LONG l2, LONG r2, BYTE* out, BYTE* decision) {
  const int L = g.mid[l], R = g.mid[rr], U = g.up1[x], D = g.down1[x];
  const int H = std::abs(L - R) + Range3(g.up1[l2], U, g.up1[r2]) + Range3(g.down1[l2], D, g.down1[r2]);
  const int V = std::abs(U - D) + Range3(g.up2[l], L, g.down2[l]) + Range3(g.up2[rr], R, g.down2[rr]);
  const bool vertical = V + 8 < H, fourWay = !vertical && V <= H + 8;
  out[x] = BYTE(vertical ? (U + D) / 2 : fourWay ? (unsigned(L) + R + U + D) >> 2 : (L + R) / 2);
  decision[x] = vertical ? kVertical : fourWay ? kFourWay : kHorizontal;
}

// Eight columns from x: the green pass in the lanes of `colours` (blue and red columns),
// the measured green in the others. Marks are written in every lane; only those of blue
// and red columns are ever read.
inline void GreenEight(const GreenRows g, LONG x, Lanes colours, BYTE* out, BYTE* decision) {
  const Lanes L = Load(g.mid + x - 1), R = Load(g.mid + x + 1), U = Load(g.up1 + x), D = Load(g.down1 + x);
  const Lanes H = Abs(L - R) + Range3(Load(g.up1 + x - 2), U, Load(g.up1 + x + 2)) +
                  Range3(Load(g.down1 + x - 2), D, Load(g.down1 + x + 2));
  const Lanes V = Abs(U - D) + Range3(Load(g.up2 + x - 1), L, Load(g.down2 + x - 1)) +
                  Range3(Load(g.up2 + x + 1), R, Load(g.down2 + x + 1));
  const Lanes vertical = V + Splat(8) < H, fourWay = ~vertical & ~(V > H + Splat(8));
  const Lanes value = Select(vertical, (U + D) >> 1, Select(fourWay, (L + R + U + D) >> 2, (L + R) >> 1));
  const Lanes mark = Select(vertical, Splat(kVertical), Select(fourWay, Splat(kFourWay), Splat(kHorizontal)));
  Store(out + x, Select(colours, value, Load(g.mid + x)));
  Store(decision + x, mark);
}

// Smoothing of the measured green at green column x: the mean of its four diagonal
// greens, where the row above was not decided vertical, neither neighbour in this row
// horizontal, and the diagonals and the green itself lie close together.
inline void SmoothAt(const GreenRows g, LONG x, LONG width, const BYTE* previous, const BYTE* decision, BYTE* out) {
  const LONG l = Reflect(x - 1, width), rr = Reflect(x + 1, width);
  const bool beside =
      (x > 0 && decision[x - 1] == kHorizontal) || (x + 1 < width && decision[x + 1] == kHorizontal);
  const int a = g.down1[l], b = g.up1[rr], d = g.up1[l];
  const int m3 = Min3(a, b, d), M3 = Max3(a, b, d), gc = g.mid[x];
  if (previous[x] != kVertical && !beside && M3 - m3 < 16 && std::max(gc, m3) - std::min(gc, M3) < 16)
    out[x] = BYTE((unsigned(d) + b + a + g.down1[rr]) >> 2);
}

inline void SmoothEight(const GreenRows g, LONG x, Lanes greens, const BYTE* previous, const BYTE* decision,
                        BYTE* out) {
  const Lanes a = Load(g.down1 + x - 1), b = Load(g.up1 + x + 1), d = Load(g.up1 + x - 1), gc = Load(g.mid + x);
  const Lanes m3 = Min(Min(a, b), d), M3 = Max(Max(a, b), d);
  const Lanes beside =
      (Load(decision + x - 1) == Splat(kHorizontal)) | (Load(decision + x + 1) == Splat(kHorizontal));
  const Lanes smooth = greens & ~(Load(previous + x) == Splat(kVertical)) & ~beside & (M3 - m3 < Splat(16)) &
                       (Max(gc, m3) - Min(gc, M3) < Splat(16));
  Store(out + x, Select(smooth, (a + b + d + Load(g.down1 + x + 1)) >> 2, Load(out + x)));
}

// Row r of the recurrence: its greens into `out`, its decisions into `decision`. Columns
// 2 .. width - 3 go eight at a time; the rest, where neighbours are mirrored, one by one.
void GreenRow(const BayerMosaic& m, const GreenRows g, LONG r, LONG width, const BYTE* previous, BYTE* decision,
              BYTE* out) {
  const LONG colour = (m.code[r & 1][0] == kBlue || m.code[r & 1][0] == kRed) ? 0 : 1;
  const Lanes colours = colour == 0 ? EvenLanes() : ~EvenLanes();
  auto one = [&](LONG x) {
    if ((x & 1) == colour)
      GreenAt(g, x, Reflect(x - 1, width), Reflect(x + 1, width), Reflect(x - 2, width), Reflect(x + 2, width), out,
              decision);
    else
      out[x] = g.mid[x];
  };
  LONG x = 0;
  for (; x < 2; ++x) one(x);
  for (; x + 8 <= width - 2; x += 8) GreenEight(g, x, colours, out, decision);
  for (; x < width; ++x) one(x);
  if (r == 0) return;  // the first row is never smoothed
  for (x = colour ^ 1; x < 2; x += 2) SmoothAt(g, x, width, previous, decision, out);
  for (x = 2; x + 8 <= width - 2; x += 8) SmoothEight(g, x, ~colours, previous, decision, out);
  for (x += (x & 1) != (colour ^ 1); x < width; x += 2) SmoothAt(g, x, width, previous, decision, out);
}

// The green pass of a row alone: the decisions that the row below reads.
void Decisions(const BayerMosaic& m, const GreenRows g, LONG r, LONG width, BYTE* scratch, BYTE* decision) {
  const LONG colour = (m.code[r & 1][0] == kBlue || m.code[r & 1][0] == kRed) ? 0 : 1;
  for (LONG x = colour; x < width; x += 2)
    GreenAt(g, x, Reflect(x - 1, width), Reflect(x + 1, width), Reflect(x - 2, width), Reflect(x + 2, width), scratch,
            decision);
}

// The five green rows around row r: finished rows above (from `done`), measured ones
// from r down, each row index mirrored at the picture's edges.
template <class Done>
GreenRows Around(const BayerMosaic& m, LONG r, LONG height, Done done) {
  const BYTE* g[5];
  for (int k = 0; k < 5; ++k) {
    const LONG q = Reflect(r - 2 + k, height);
    g[k] = q >= r ? m.Green(q) : done(q);
  }
  return {g[0], g[1], g[2], g[3], g[4]};
}

// ---- red and blue

// The finished greens of rows r - 1 and r and the measured samples around row r. The rows
// go by value: held in registers, not read again after every byte written.
struct ColourRows {
  const BYTE *gUp, *g;
  const BYTE *bUp, *b, *bDown, *rUp, *r, *rDown;
};

// The colour-difference rules. Sums are taken before halving, signed, truncated toward
// zero and then clamped.
inline BYTE Vertical(int above, int greenAbove, int green, int below) {
  return BYTE(above < greenAbove + 32 ? Clamp255(above + (green - greenAbove)) : (above + below) / 2);
}
inline BYTE Beside(int left, int right, int greenLeft, int greenRight, int green) {
  return BYTE(left < greenLeft + 32 ? Clamp255((left + right - greenLeft - greenRight + 2 * green) / 2)
                                    : (left + right) / 2);
}
inline BYTE Diagonal(int upLeft, int upRight, int test, int greenUpLeft, int greenUpRight, int green, int downLeft,
                     int downRight) {
  return BYTE(upLeft < test + 32 ? Clamp255((upLeft + upRight - greenUpLeft - greenUpRight + 2 * green) / 2)
                                 : (unsigned(upLeft) + upRight + downLeft + downRight) >> 2);
}
inline Lanes Vertical(Lanes above, Lanes greenAbove, Lanes green, Lanes below) {
  return Select(above < greenAbove + Splat(32), Clamp255(above + green - greenAbove), (above + below) >> 1);
}
inline Lanes Beside(Lanes left, Lanes right, Lanes greenLeft, Lanes greenRight, Lanes green) {
  return Select(left < greenLeft + Splat(32), Clamp255(DivPow2<1>(left + right - greenLeft - greenRight + green + green)),
                (left + right) >> 1);
}
inline Lanes Diagonal(Lanes upLeft, Lanes upRight, Lanes test, Lanes greenUpLeft, Lanes greenUpRight, Lanes green,
                      Lanes downLeft, Lanes downRight) {
  return Select(upLeft < test + Splat(32),
                Clamp255(DivPow2<1>(upLeft + upRight - greenUpLeft - greenUpRight + green + green)),
                (upLeft + upRight + downLeft + downRight) >> 2);
}

struct Colours {
  // Pixel x of code `kCode` (as the rules see it) of a row below the first.
  template <int kCode>
  static void One(const ColourRows n, PlanarRow& out, LONG x, LONG l, LONG rr) {
    const int green = n.g[x];
    BYTE b, r;
    if constexpr (kCode == kBlue) {
      b = n.b[x];
      r = Diagonal(n.rUp[l], n.rUp[rr], n.gUp[l], n.gUp[l], n.gUp[rr], green, n.rDown[l], n.rDown[rr]);
    } else if constexpr (kCode == kRed) {
      b = Diagonal(n.bUp[l], n.bUp[rr], n.g[l], n.gUp[l], n.gUp[rr], green, n.bDown[l], n.bDown[rr]);
      r = n.r[x];
    } else if constexpr (kCode == kGreen1) {  // red beside, blue above and below
      b = Vertical(n.bUp[x], n.gUp[x], green, n.bDown[x]);
      r = Beside(n.r[l], n.r[rr], n.g[l], n.g[rr], green);
    } else {  // red above and below, blue beside
      b = Beside(n.b[l], n.b[rr], n.g[l], n.g[rr], green);
      r = Vertical(n.rUp[x], n.gUp[x], green, n.rDown[x]);
    }
    out.Blue()[x] = b, out.Green()[x] = BYTE(green), out.Red()[x] = r;
  }

  // Eight pixels from x as if all were of code `kCode`.
  template <int kCode>
  static EightColours Eight(const ColourRows n, LONG x) {
    auto at = [x](const BYTE* row, LONG dx) { return Load(row + x + dx); };
    const Lanes green = at(n.g, 0);
    if constexpr (kCode == kBlue) {
      return {at(n.b, 0), green,
              Diagonal(at(n.rUp, -1), at(n.rUp, 1), at(n.gUp, -1), at(n.gUp, -1), at(n.gUp, 1), green,
                       at(n.rDown, -1), at(n.rDown, 1))};
    } else if constexpr (kCode == kRed) {
      return {Diagonal(at(n.bUp, -1), at(n.bUp, 1), at(n.g, -1), at(n.gUp, -1), at(n.gUp, 1), green,
                       at(n.bDown, -1), at(n.bDown, 1)),
              green, at(n.r, 0)};
    } else if constexpr (kCode == kGreen1) {
      return {Vertical(at(n.bUp, 0), at(n.gUp, 0), green, at(n.bDown, 0)), green,
              Beside(at(n.r, -1), at(n.r, 1), at(n.g, -1), at(n.g, 1), green)};
    } else {
      return {Beside(at(n.b, -1), at(n.b, 1), at(n.g, -1), at(n.g, 1), green), green,
              Vertical(at(n.rUp, 0), at(n.gUp, 0), green, at(n.rDown, 0))};
    }
  }
};

// The first row: row 1 stands in for the row above. The blue pass copies the nearest
// blue, the red pass copies on the diagonals and reads row 1 as it stood for the rest.
void FirstRow(const BayerMosaic& m, const BYTE* greens, const BYTE* rowOne, PlanarRow& out, LONG width) {
  const BYTE *b0 = m.Blue(0), *b1 = m.Blue(1), *r0 = m.Red(0), *r1 = m.Red(1);
  for (LONG x = 0; x < width; ++x) {
    const LONG l = Reflect(x - 1, width), rr = Reflect(x + 1, width);
    const int green = greens[x];
    BYTE b, r;
    switch (m.mapped[0][x & 1]) {
      case kBlue: b = b0[x], r = r1[l]; break;
      case kRed: b = b1[l], r = r0[x]; break;
      case kGreen1: b = b1[x], r = Beside(r0[l], r0[rr], greens[l], greens[rr], green); break;
      default: b = b0[l], r = Vertical(r1[x], rowOne[3 * x + 1], green, r1[x]); break;
    }
    out.Blue()[x] = b, out.Green()[x] = BYTE(green), out.Red()[x] = r;
  }
}

}  // namespace

void EdgeDirectedGreens(const BayerMosaic& m, LONG width, LONG height, int bands, LONG warmUp, BYTE* greens) {
  bands = int(std::clamp<LONG>(bands, 1, height));
  const size_t w = size_t(width);
  auto finished = [&](LONG q) -> const BYTE* { return greens + size_t(q) * w; };
  struct Band {
    LONG first, last, warm;
    std::vector<BYTE> guess;     // rows first - warm .. first - 1, worked from a guess
    std::vector<BYTE> decision;  // two rows
  };
  std::vector<Band> all(static_cast<size_t>(bands));
  for (int k = 0; k < bands; ++k) {
    Band& b = all[size_t(k)];
    b.first = LONG(int64_t(height) * k / bands), b.last = LONG(int64_t(height) * (k + 1) / bands);
    b.warm = std::min(std::max<LONG>(0, warmUp), b.first);
    b.guess.resize(size_t(b.warm) * w);
    b.decision.assign(2 * w, kNone);
  }

  RunParts(bands, [&](int k) {
    Band& b = all[size_t(k)];
    const LONG top = b.first - b.warm;
    // Above the warm-up the rows are taken as measured: that is the guess.
    auto done = [&](LONG q) -> const BYTE* {
      if (q >= b.first) return finished(q);
      if (q >= top) return b.guess.data() + size_t(q - top) * w;
      return m.Green(q);
    };
    BYTE *previous = b.decision.data(), *current = previous + w;
    for (LONG r = top; r < b.last; ++r) {
      BYTE* out = r < b.first ? b.guess.data() + size_t(r - top) * w : greens + size_t(r) * w;
      GreenRow(m, Around(m, r, height, done), r, width, previous, current, out);
      std::swap(previous, current);
    }
  });

  // Each band's guess against the finished band above it, top to bottom. Three rows that
  // agree carry the same state into the next row, so from there on the band is right.
  std::vector<BYTE> row(w), decisions(2 * w);
  for (size_t k = 1; k < all.size(); ++k) {
    const Band& b = all[k];
    if (b.warm == b.first) continue;  // warmed up from the first row: no guess at all
    LONG agree = 0;
    for (LONG q = b.first - std::min<LONG>(3, b.warm); q < b.first; ++q)
      agree = std::memcmp(b.guess.data() + size_t(q - (b.first - b.warm)) * w, finished(q), w) == 0 ? agree + 1 : 0;
    if (agree >= 3) continue;
    BYTE *previous = decisions.data(), *current = previous + w;
    Decisions(m, Around(m, b.first - 1, height, finished), b.first - 1, width, row.data(), previous);
    for (LONG r = b.first; r < b.last && agree < 3; ++r) {
      GreenRow(m, Around(m, r, height, finished), r, width, previous, current, row.data());
      BYTE* kept = greens + size_t(r) * w;
      if (std::memcmp(row.data(), kept, w) == 0) {
        ++agree;
      } else {
        agree = 0;
        std::memcpy(kept, row.data(), w);
      }
      std::swap(previous, current);
    }
  }
}

void EdgeDirectedRows(const BayerMosaic& m, const BYTE* greens, const BYTE* rowOne, BYTE* bits, LONG width,
                      LONG height, LONG stride, LONG first, LONG last, LONG chromaRevision) {
  const size_t w = size_t(width);
  PlanarRow out(width);
  for (LONG r = first; r < last; ++r) {
    const BYTE* g = greens + size_t(r) * w;
    if (r == 0) {
      FirstRow(m, g, rowOne, out, width);
    } else {
      const LONG down = Reflect(r + 1, height);
      const ColourRows n{g - w, g, m.Blue(r - 1), m.Blue(r), m.Blue(down), m.Red(r - 1), m.Red(r), m.Red(down)};
      CodedRowOf<Colours>(m, r, n, out, width);
    }
    if (chromaRevision != kNoChroma) out.Chroma(chromaRevision);
    out.Put(PictureRow(bits, stride, height, r));
  }
}

}  // namespace vexcam
