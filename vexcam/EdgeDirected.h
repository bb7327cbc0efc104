// The edge-directed kernel on a Bayer mosaic of the planes, in two halves. The greens are
// a recurrence from row to row (the smoothing of a row reads the finished greens above);
// red and blue then follow from the greens and the measured samples alone, so their rows
// may be built on any thread.
#pragma once
#include "BayerMosaic.h"

namespace vexcam {

// The finished green of every pixel into `greens` (row r at r * width). The rows are cut
// into `bands` bands worked at once: a band starts from a guess of the rows above it,
// warmed up over `warmUp` rows; once the band above is finished the guess is checked,
// and rows are worked again until they meet the guessed ones.
void EdgeDirectedGreens(const BayerMosaic& m, LONG width, LONG height, int bands, LONG warmUp, BYTE* greens);

// Picture rows [first, last) from the greens: every channel of every pixel, then the
// chroma step of `chromaRevision` unless it is kNoChroma. Row 0 reads picture row 1 as it
// was before the kernel (`rowOne`, 3 x width bytes).
void EdgeDirectedRows(const BayerMosaic& m, const BYTE* greens, const BYTE* rowOne, BYTE* bits, LONG width,
                      LONG height, LONG stride, LONG first, LONG last, LONG chromaRevision);

}  // namespace vexcam
