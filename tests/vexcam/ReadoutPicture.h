// A bottom-up 24-bit picture for the readout tests, filled with a marker byte; Px(r, x)
// gives blue, green and red of picture row r counted from the top.
#pragma once
#include <array>
#include <vector>

#include "ReadoutKernels.h"

namespace vexcam::test {

using Bgr = std::array<int, 3>;

struct ReadoutPicture {
  ReadoutPicture(LONG w, LONG h) : width(w), height(h), stride((w * 3 + 3) & ~3), bits(size_t(stride * h), 0xEE) {}
  PictureTarget Target(DWORD orientation) { return {bits.data(), width, height, orientation}; }
  Bgr Px(LONG row, LONG x) const {
    const BYTE* p = bits.data() + (height - 1 - row) * stride + 3 * x;
    return {p[0], p[1], p[2]};
  }
  LONG width, height, stride;
  std::vector<BYTE> bits;
};

}  // namespace vexcam::test
