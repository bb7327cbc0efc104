// The chroma step on a run of 3-byte pixels: each channel moves away from the other two
// (board revision below 217: /8, /16, /8; from 217: /4, /8, /4), truncated toward zero
// and clamped. Eight pixels a step, without a branch per pixel.
#pragma once
#include "WinTypes.h"

namespace vexcam {

void ChromaGroups(BYTE* px, LONG groups, LONG revision);

// The chroma step on one pixel.
void ChromaPixel(BYTE* px, LONG revision);

}  // namespace vexcam
