// The bilinear kernel's picture rows built straight from a Bayer mosaic of the planes:
// every channel of every pixel of rows [first, last), measured or interpolated, then the
// chroma step of `chromaRevision` unless it is kNoChroma. Rows do not depend on one
// another, so any rows may be built on any thread.
#pragma once
#include "BayerMosaic.h"

namespace vexcam {

void BilinearRows(const BayerMosaic& m, BYTE* bits, LONG width, LONG height, LONG stride, LONG first, LONG last,
                  LONG chromaRevision);

}  // namespace vexcam
