// The HALFTONE stretch: each destination pixel is the area average of the source
// pixels it covers. Weights are fixed point (12 bits an axis), rows are summed first
// and columns after, and large pictures are split into bands worked on at once.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "gdi/Surface.h"

namespace plat::gdi {

class Halftone {
 public:
  // Destination extent dn shown from source extent sn starting at s0 (mirrored when
  // flip); only destination indexes [from, from + count) are prepared.
  struct Axis {
    Axis() = default;
    Axis(int dn, int sn, int s0, bool flip, int from, int count, int sourceSize);
    std::vector<int> first;      // first source index of each destination index
    std::vector<uint32_t> start;  // where its weights begin in `w`; one more entry ends the last
    std::vector<uint32_t> w;     // weights of the source indexes in range, summing to 4096
    int Taps(size_t i) const { return int(start[i + 1] - start[i]); }
  };

  Halftone(const Surface& source, Axis x, Axis y) : src_(source), x_(std::move(x)), y_(std::move(y)) {}

  // Destination pixels in `dst`'s format for prepared rows [row, row + rows) and
  // columns [col, col + cols), row after row. A row with no source rows under it is
  // left out: `drawn` says which were made.
  void Rows(int row, int rows, int col, int cols, const Surface& dst, uint32_t* out, std::vector<char>* drawn) const;

 private:
  void Band(int row, int rows, int col, int cols, const Surface& dst, uint32_t* out, char* drawn) const;

  const Surface& src_;
  Axis x_, y_;
};

}  // namespace plat::gdi
