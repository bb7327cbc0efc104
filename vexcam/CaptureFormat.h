// Turning the caller's capture rectangle into a picture format: the full frame of each
// transfer mode, the pixel-shift factor, and the bytes the caller must provide.
#pragma once
#include "TrueImage.h"
#include "tCameraSettings.h"

// The picture size of a transfer mode when the caller names no rectangle.
SIZE FullFrame(const tCameraSettings& s);
// Sensor positions per side of the pixel-shift capture of a transfer mode.
LONG ShiftFactor(LONG tranMode);

constexpr LONG kRectTooLarge = -2;

// Fills an empty rectangle with the full frame, sets the image's width, height, stride
// and headers, and returns 1. A rectangle that leaves the frame, or a picture too large
// to address, gives -2 and leaves the image untouched. image may be null.
LONG FormatImage(CTrueImage* image, RECT& rect, const tCameraSettings& s);
// Pixel bytes for a picture: height x stride + 128, rounded up to whole 4096-byte pages.
LONG MallocSize(LONG width, LONG height);
