// Neighbourhood filters: sharpening and the two noise filters. Borders repeat the
// edge pixels. All are deterministic; neutral values return the picture unchanged.
#pragma once
#include "imaging/Dib.h"
#include "imaging/Status.h"

namespace plat::imaging {

// -1000 .. 1000: above 0 adds up to twice the difference from the 3 x 3 mean;
// below 0 blends towards the mean (-1000 is the mean itself).
Status Sharpen(const Dib& in, int value, Dib* out);
// Median of each sample's size x size neighbourhood (odd size 1 .. 15).
Status MedianFilter(const Dib& in, int size, Dib* out);
// Mean of each sample's size x size neighbourhood (odd size 1 .. 15).
Status AverageFilter(const Dib& in, int size, Dib* out);

}  // namespace plat::imaging
