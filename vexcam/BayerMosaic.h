// The four planes of a single-shot capture seen as one Bayer mosaic of the picture: the
// plane that measured each pixel, and the codes the interpolation rules see there. The
// row kernels that use it read every sample straight from the planes, where the scatter
// would have put it, so a picture row never waits for another.
#pragma once
#include "PlaneSet.h"

namespace vexcam {

// Position codes: blue 0, first green 1, red 2, second green 4.
enum PositionCode : int { kBlue = 0, kGreen1 = 1, kRed = 2, kGreen2 = 4 };

// The board revision given to a row kernel that is to leave out the chroma step.
constexpr LONG kNoChroma = -1;

struct BayerMosaic {
  PlaneSet planes;
  int blue = 1, red = 2;
  int green[2] = {};   // by row parity: the green plane of that row
  int code[2][2] = {};    // [row parity][column parity]
  int mapped[2][2] = {};  // as the neighbour rules see it (greens exchanged under Mode 0x10)

  // Measured samples of row q, indexed by column; valid at that colour's own columns.
  const BYTE* Blue(LONG q) const { return planes.row[blue][q]; }
  const BYTE* Red(LONG q) const { return planes.row[red][q]; }
  const BYTE* Green(LONG q) const { return planes.row[green[q & 1]][q]; }
};

// The mosaic of a context for a width x height picture, when the row kernels can use it:
// every pixel measured by exactly one plane, greens on one diagonal of the cell, every
// neighbour the bilinear and edge-directed rules read holding the colour they read, and
// at least `minSide` rows and columns (so a mirrored neighbour keeps its colour).
bool MakeMosaic(const ColourContext& c, LONG width, LONG height, LONG minSide, BayerMosaic* out);

// Puts each plane's sample of picture rows [first, last) into its own channel, as the
// scatter does; the other channels keep their bytes.
void ScatterRows(const BayerMosaic& m, BYTE* bits, LONG width, LONG height, LONG stride, LONG first, LONG last);

// Mirrors an index that stepped one or two past either edge onto the nearest sample of
// the same colour, so -1 reads 1 and n reads n - 2.
inline LONG Reflect(LONG i, LONG n) {
  if (i < 0) i = -i;
  if (i >= n) i = 2 * (n - 1) - i;
  return i < 0 ? 0 : (i >= n ? n - 1 : i);
}

}  // namespace vexcam
