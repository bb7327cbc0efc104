// Red and blue change places between the control's pictures (blue first) and files
// that keep red first (TIFF): the one pixel loop the TIFF codec spends its time in.
#pragma once
#include <cstddef>
#include <cstdint>

namespace plat::imaging {

// Copies `pixels` 3-byte pixels from `in` to `out` with the first and third bytes
// exchanged. `in` and `out` must not overlap.
void SwapRedBlue(const uint8_t* in, uint8_t* out, size_t pixels);

}  // namespace plat::imaging
