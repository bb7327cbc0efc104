// Correction curves of a gain level: the four 256-entry level tables built from the
// measured colour offsets at six exposure steps, optionally bent by a two-segment gamma
// curve. Plain functions over the tables, so start-up and white balance share them.
#pragma once
#include <windows.h>

namespace vexcam {

using LevelTable = BYTE[256];

// In-place smoothing: each value becomes the mean of straight lines through pairs of
// points around it; the span widens above 48.
void SmoothCurve(double values[256], int halfWidth);

// Rebuilds the tables of the three non-reference colours from offsets[position][step]
// (step 5 is set to 0 here) and makes the reference colour's table the identity. Colour c
// is measured at position siteMap[c] and corrected by tables[tableOf[c]].
void BuildLevelTables(double offsets[4][6], const LONG siteMap[4], const LONG tableOf[4], LevelTable tables[4]);

// Bends all four tables by the gamma curve of `gammaMode` (nonzero) from the step
// exposures; equal first and fifth exposures, or measurements no curve can be drawn
// through (no reference level, no positive exposure), leave them as they are.
void BendLevelTables(const double offsets[4][6], const LONG exposures[6], LONG reference, BYTE gammaMode,
                     LevelTable tables[4]);

}  // namespace vexcam
