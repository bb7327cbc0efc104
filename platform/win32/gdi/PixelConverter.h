// Turns pixel values of one surface's format into another's.
#pragma once
#include <unordered_map>
#include <vector>

#include "gdi/Raster.h"

namespace plat::gdi {

class PixelConverter {
 public:
  // Plain conversion: by colour, nearest table entry where the target has a table.
  PixelConverter(const Surface& from, const Surface& to);
  // The rules of blts between DCs: a monochrome device bitmap's 0 and 1 become the target
  // DC's text and background colours; on a one-bit target, source pixels equal to the
  // source DC's background colour become 1 and all others 0.
  PixelConverter(const Surface& from, const Surface& to, COLORREF srcBk, COLORREF dstText, COLORREF dstBk);

  // True when values pass unchanged.
  bool Identity() const { return mode_ == Mode::Identity; }
  void Convert(const uint32_t* in, uint32_t* out, int n);

 private:
  enum class Mode { Identity, Table, MatchBk, Rgb, Nearest };
  void Init(const Surface& from, const Surface& to, bool bltRules, COLORREF srcBk, COLORREF dstText, COLORREF dstBk);
  Mode mode_ = Mode::Identity;
  Surface from_, to_;
  std::vector<uint32_t> table_;
  uint32_t bkPixel_ = 0;
  std::unordered_map<uint32_t, uint32_t> cache_;
};

}  // namespace plat::gdi
