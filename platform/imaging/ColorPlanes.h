// Splitting a picture into three 8-bit plane pictures and building it back.
// Mode 0: plane 0 blue, 1 green, 2 red. Mode 2: plane 2 the intensity
// (R + 2G + B) / 4, planes 0 and 1 the two colour differences, halved into 8 bits.
#pragma once
#include <array>

#include "imaging/Dib.h"
#include "imaging/Status.h"

namespace plat::imaging {

Status SplitPlanes(const Dib& in, int mode, std::array<Dib, 3>* planes);
// Builds a 24-bit picture from three planes of one size. For mode 2, `original` is
// the picture the planes were split from (or null): where a pixel's colour
// difference samples are still as the split made them, its exact differences are
// taken from the original, so merging the unchanged planes gives the original back
// bit for bit, and a changed intensity moves the colour by exactly that much.
Status MergePlanes(const std::array<const Dib*, 3>& planes, int mode, const Dib* original, Dib* out);

}  // namespace plat::imaging
