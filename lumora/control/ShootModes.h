// The fixed table of shoot resolutions: one row per fine and quick photo mode, and
// row 14 for live view. Every lookup is guarded so a stored setting outside the table
// yields no row instead of reading past it.
#pragma once
#include <windows.h>

struct tShootMode {
  LONG sizeCode;      // the row number
  LONG transferMode;  // camera transfer mode of the capture
  LONG width, height; // capture buffer
  RECT area;          // part of the buffer that makes the picture
  LONG zoomCode;      // sensor readout per pixel of the 640 x 512 live frame
};

namespace shootmodes {

constexpr SHORT kRows = 14;     // 0-9 fine, 10-13 quick
constexpr SHORT kLiveRow = 14;  // live view

// The row, or null for a number outside 0..13.
const tShootMode* Find(LONG row);
// Half size of the shading sample area of a row; false outside 0..13.
bool ShadingHalfSize(LONG row, SIZE* half);
// Pixels of the row's picture (area width x height); 0 outside 0..13.
LONG AreaPixels(LONG row);

}  // namespace shootmodes
