// Colour reconstruction: the kernels that turn the four colour planes into the caller's
// bottom-up 24-bit BGR picture. Each returns 1 when done and 0 when it wrote nothing
// (planes not ready, abort) or the user cancelled through the progress window.
#pragma once
#include "BayerMosaic.h"
#include "ChromaStep.h"
#include "PlaneSet.h"

namespace vexcam {

// Position codes by parity.
struct CodeTable {
  int code[2][2] = {{1, 2}, {0, 4}};  // [row parity][column parity]
};

// Puts each plane's sample into its own channel; the other channels keep their bytes.
bool ScatterPlanes(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride, CodeTable* codes);
LONG RGBMosaic(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride);
LONG RGBFromCells(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride);
LONG InterpolateBilinear(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride);
LONG InterpolateAdaptive(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride);
// The same kernels row by row on the picture itself, scatter first: what the two above
// do for planes that are no full mosaic of the picture (too small, or an unusual layout).
LONG InterpolateBilinearInPlace(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride);
LONG InterpolateAdaptiveInPlace(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride);
// The chroma step over every whole 3-byte group of every row (a pad pixel included).
void ChromaEnhance(BYTE* bits, LONG height, LONG stride, LONG revision, int threads = 0);
LONG RGBFromPlanesRaw(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride);
// Width and height of the output, half the planes'.
LONG RGBHalfSize(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride);
LONG RGBFromShiftCells(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride);
LONG RGBHalfSizeShift(const ColourContext& c, BYTE* bits, LONG width, LONG height, LONG stride);
// The interpolations after an 18-position pixel-shift capture, by InterPolationMethod.
LONG RGBFromShift18(const ColourContext& c, int method, BYTE* bits, LONG width, LONG height, LONG stride);
// 0 when the two green planes agree (the frames may be combined), else 1.
int GreenStatistics(const ColourContext& c, LONG width, LONG height);
// The single-shot reconstruction chosen by InterPolationMethod (4-9 leave the bytes).
LONG Reconstruct(const ColourContext& c, int method, BYTE* bits, LONG width, LONG height, LONG stride);

}  // namespace vexcam
