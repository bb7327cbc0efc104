// Puts a measured run on a DC: aligned to its reference point, turned by the
// font's escapement, with decorations, background and clipping.
#pragma once
#include <optional>
#include <utility>
#include <vector>

#include "text/TextRun.h"

namespace plat::gdi {
class DeviceContext;
}

namespace plat::text {

class FontObject;

struct PaintRequest {
  POINT origin{};                        // reference point, device coordinates
  UINT align = TA_LEFT | TA_TOP;         // TA_ horizontal and vertical bits
  std::optional<RECT> clip;              // device rectangle the text stays inside
  bool background = false;               // fill the text cell with the background colour
  std::vector<std::pair<int, int>> underlines;  // extra underlines, [from, to) along the run
};

// Draws the run; returns how far the reference point moves along the baseline
// (device x and y) for the run's width.
POINT PaintRun(gdi::DeviceContext& dc, FontObject& font, const TextRun& run, const PaintRequest& req);

}  // namespace plat::text
