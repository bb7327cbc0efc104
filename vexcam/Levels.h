// Pictures from per-pixel planes, automatic level, contrast and edge enhancement,
// exposure statistics and grey conversion.
#pragma once
#include "PlaneSet.h"

namespace vexcam {

// Enhancement parameters of the current capture, derived from the settings block.
struct Enhancement {
  bool autoLevel = false, extraCont = false, edgeApp = false;
  bool enabled = false;  // the capture's enhancement switch
  int cut = 0;           // automatic-level cut, per mille
  int wa = 0, wb = 0;    // edge weights
  int contrast = 0;      // C
  int threshold = 48;    // edge coring threshold T
  // True when ApplyLevels will run after the reconstruction.
  bool Follows() const { return enabled && (autoLevel || edgeApp || (extraCont && contrast != 0)); }
};

// Black point and scale of the level mapping v' = clamp(((v - black) * gain) >> 8).
struct LevelPoint {
  int black = 0;
  double scale = 1.0;
  int Gain() const { return int(scale * 256.0); }
};

// Level point without automatic level: black C / 2, range 255 - C.
LevelPoint ContrastLevels(int contrast);
// Level point from a 256-bin histogram of n samples.
LevelPoint HistogramLevels(const unsigned histogram[256], unsigned n, int cut, int contrast);
// Automatic-level statistics over the mean of the four planes.
LevelPoint PlaneLevelStats(const PlaneSet& planes, LONG width, LONG height, int cut, int contrast);

// The edge strength s at (x) of the middle of five reference rows r-2..r+2.
int EdgeStrength(const BYTE* const rows[5], LONG x, int threshold, int wa, int wb);

struct PlaneJob {
  const PlaneSet& planes;
  const PlaneRoles& roles;
  const Enhancement& enh;
  LONG revision;
  LONG tranMode;
  const ProgressFn& progress;
};

LONG RGBFromPlanes(const PlaneJob& job, BYTE* bits, LONG width, LONG height, LONG stride);
LONG GreyFromPlanes(const PlaneJob& job, BYTE* bits, LONG width, LONG height, LONG stride);
// Enhancement of a finished picture; plane 0 (when large enough) holds the green copy.
LONG ApplyLevels(const PlaneSet& planes, const Enhancement& enh, const ProgressFn& progress, BYTE* bits, LONG width,
                 LONG height, LONG stride);

void PictureExposureStats(const BYTE* bits, LONG width, LONG height, DWORD mode, LONG autoExpThresh, LONG* mean,
                          LONG* peak);
void GreenExposureStats(const BYTE* bits, LONG width, LONG height, LONG autoExpThresh, LONG* mean, LONG* peak);

// The stride of a picture of `width` pixels: 3 bytes a pixel, rounded up to 4.
LONG PictureStride(LONG width);

}  // namespace vexcam

// Grey conversion of a finished picture in place.
void ConvertToGrey(LONG width, LONG height, BYTE* bits);
