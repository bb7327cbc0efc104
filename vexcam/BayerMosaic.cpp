#include "BayerMosaic.h"

#include <algorithm>

namespace vexcam {
namespace {

int ChannelOfCode(int code) { return code == kBlue ? 0 : code == kRed ? 2 : 1; }

// Whether the cell at (i, j) (parities) measured colour `channel`.
bool Holds(const BayerMosaic& m, int i, int j, int channel) { return ChannelOfCode(m.code[i & 1][j & 1]) == channel; }

// Every read of the rules at position (i, j) lands on a sample of the colour it reads.
bool RulesReadMeasured(const BayerMosaic& m, int i, int j) {
  const int up = i ^ 1, side = j ^ 1;
  const int code = m.code[i][j], mapped = m.mapped[i][j];
  const bool crossGreen = Holds(m, up, j, 1) && Holds(m, i, side, 1);
  if (code == kBlue || code == kRed) {
    // green from the four neighbours, the other colour from the diagonals
    const int other = code == kBlue ? 2 : 0;
    return crossGreen && Holds(m, up, side, other);
  }
  // A green: its diagonals are green (smoothing); red and blue lie beside it and above it.
  const bool redBeside = mapped == kGreen1;
  return Holds(m, up, side, 1) && Holds(m, i, side, redBeside ? 2 : 0) && Holds(m, up, j, redBeside ? 0 : 2);
}

}  // namespace

bool MakeMosaic(const ColourContext& c, LONG width, LONG height, LONG minSide, BayerMosaic* out) {
  const PlaneSet& pl = c.planes;
  if (!pl.Ready() || width < minSide || height < minSide) return false;
  // The scatter reaches every pixel only when the planes hold one more row than the
  // picture and a row as long as it.
  if (pl.rows <= height || pl.rowBytes < width) return false;
  const PlaneRoles& ro = c.roles;
  bool role[4] = {};
  for (int p : {ro.blue, ro.red, ro.green1, ro.green2}) {
    if (p < 0 || p > 3 || role[p]) return false;
    role[p] = true;
  }
  BayerMosaic m;
  m.planes = pl;
  m.blue = ro.blue, m.red = ro.red;
  int plane[2][2] = {{-1, -1}, {-1, -1}};
  for (int p = 0; p < 4; ++p) {
    int& at = plane[c.phases.rp[p] & 1][c.phases.cp[p] & 1];
    if (at >= 0) return false;
    at = p;
  }
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) {
      const int p = plane[i][j];
      const int code = p == ro.blue ? kBlue : p == ro.red ? kRed : p == ro.green1 ? kGreen1 : kGreen2;
      m.code[i][j] = code;
      const bool swap = (c.mode & 0x10) && (code == kGreen1 || code == kGreen2);
      m.mapped[i][j] = swap ? (code == kGreen1 ? kGreen2 : kGreen1) : code;
      if (code == kGreen1 || code == kGreen2) m.green[i] = p;
    }
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j)
      if (!RulesReadMeasured(m, i, j)) return false;
  *out = m;
  return true;
}

void ScatterRows(const BayerMosaic& m, BYTE* bits, LONG width, LONG height, LONG stride, LONG first, LONG last) {
  for (LONG r = first; r < last; ++r) {
    BYTE* row = PictureRow(bits, stride, height, r);
    for (int j = 0; j < 2; ++j) {
      const int code = m.code[r & 1][j];
      const int channel = ChannelOfCode(code);
      const BYTE* src = channel == 0 ? m.Blue(r) : channel == 2 ? m.Red(r) : m.Green(r);
      for (LONG x = j; x < width; x += 2) row[3 * x + channel] = src[x];
    }
  }
}

}  // namespace vexcam
