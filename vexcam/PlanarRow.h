// One picture row built colour by colour: the row kernels fill its blue, green and red
// rows (eight pixels at a time, without the 3-byte interleave in the way), the chroma
// step works on them while they are in cache, and Put interleaves them into the
// picture's BGR bytes.
#pragma once
#include <vector>

#include "WinTypes.h"

namespace vexcam {

class PlanarRow {
 public:
  explicit PlanarRow(LONG width) : width_(width), bytes_(3 * size_t(width)) {}

  BYTE* Blue() { return bytes_.data(); }
  BYTE* Green() { return bytes_.data() + width_; }
  BYTE* Red() { return bytes_.data() + 2 * size_t(width_); }

  // The chroma step of the board revision on every pixel of the row.
  void Chroma(LONG revision);
  // The row as 3-byte pixels, blue first; exactly 3 x width bytes are written.
  void Put(BYTE* out) const;

 private:
  LONG width_;
  std::vector<BYTE> bytes_;
};

}  // namespace vexcam
