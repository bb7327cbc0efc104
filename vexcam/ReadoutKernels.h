// The single-frame readout: board lines of 2 x 2 cell words written straight into a
// bottom-up 24-bit picture, one family parametrised by picture size, pixel rule and
// orientation, plus the next-exposure point and the green-pair balance.
#pragma once
#include <cstdint>

#include <windows.h>

namespace vexcam {

enum class PixelRule { Plain, Chroma, Negative, Grey, NegativeGrey };

// What one readout kernel makes of a cell.
struct ReadoutKind {
  bool full = false;        // each cell becomes a 2 x 2 block of pixels
  PixelRule rule = PixelRule::Plain;
  bool invertRaw = false;   // the raw byte is complemented before the level table
  bool fullChroma = false;  // full-size colour: chroma step on each of the four pixels
  bool blocks = false;      // full-size: one colour in all four pixels of a cell
};

// The picture a readout writes; orientation is Mode & 0xC (0x4 bottom to top, 0x8 mirrored).
struct PictureTarget {
  BYTE* bits = nullptr;
  LONG width = 0, height = 0;
  DWORD orientation = 0;
};

// Level tables of the four byte lanes of a cell word (already those of the gain level).
using LaneTables = const BYTE* const[4];

// Writes board line `line` (cells = `count` little-endian cell words) into the picture:
// half size one row, full size two. Rows or columns outside the picture are not written.
void WriteLine(const ReadoutKind& kind, LaneTables lut, const BYTE* cells, LONG count, LONG line,
               const PictureTarget& picture);

// The line at which the next exposure starts so that the rest of the readout lasts about
// f x the frame time: a = height argument, n = line steps counted, meanMs = mean capture time.
LONG NextExposurePoint(LONG a, LONG n, double f, LONG frameMs, LONG meanMs);

// Green-pair statistics: per raw lower-green value, the sum and count of the upper greens
// seen beside it over flat parts of the picture.
struct GreenPairs {
  uint32_t sum[256] = {};
  uint32_t count[256] = {};
  void Clear() { *this = GreenPairs{}; }
  // Compares the current line with the saved one, cell by cell of the window.
  void Gather(const BYTE* saved, const BYTE* current, LONG cells);
};

// Re-tunes the lower-green table so that the two greens agree where the statistics say so;
// values without enough samples are interpolated only under overlap.
void UpdateGreenBalance(const GreenPairs& pairs, bool overlap, const BYTE upper[256], BYTE lower[256]);

}  // namespace vexcam
