// The screen as a DC target: the desktop DC draws on all of it; a window DC is this with
// the window's origin and visible part (override Origin and Visible).
#pragma once
#include "gdi/DrawTarget.h"

namespace plat::gdi {

class ScreenTarget : public DrawTarget {
 public:
  // The screen's pixels. Drawing writes them without holding the screen's lock for the
  // whole primitive; a presenter may show a half-drawn primitive until the next frame.
  Surface Pixels() override;
  void Changed(const RECT& surfaceRect) override;
};

// A new DC on the whole screen (GetDC(NULL), CreateDC("DISPLAY")).
HDC CreateDesktopDc();

}  // namespace plat::gdi
