// Operations that change where pixels are: crop, resize, turns and mirrors.
#pragma once
#include "imaging/Dib.h"
#include "imaging/Status.h"

namespace plat::imaging {

enum class ResizeFilter { Nearest, Smooth };

// The part of `in` inside the rectangle, clipped to the picture.
Status Crop(const Dib& in, int left, int top, int width, int height, Dib* out);
// Exactly width x height; Smooth averages the covered area when shrinking and
// interpolates linearly when enlarging, so a flat picture stays flat.
Status Resize(const Dib& in, int width, int height, ResizeFilter filter, Dib* out);
// Quarter turns, positive clockwise; width and height are exchanged for odd counts.
Status RotateQuarters(const Dib& in, int quarters, Dib* out);
// Turn by hundredths of a degree, positive clockwise, about the centre. With
// `grow` the picture grows to hold the whole turned picture, else it keeps its size;
// uncovered pixels take `fill` (0x00BBGGRR). Exact quarter turns move pixels exactly.
Status Rotate(const Dib& in, LONG hundredths, bool grow, COLORREF fill, Dib* out);
void FlipHorizontal(Dib& d);
void FlipVertical(Dib& d);

}  // namespace plat::imaging
