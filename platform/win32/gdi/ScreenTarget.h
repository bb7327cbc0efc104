// The screen as a DC target: the desktop DC draws on all of it; a window DC is this with
// the window's origin and visible part (override Origin and Visible).
#pragma once
#include <memory>

#include "gdi/DrawTarget.h"

namespace plat::gdi {

class ScreenTarget : public DrawTarget {
 public:
  ScreenTarget();
  ~ScreenTarget() override;
  // The screen's pixels (they stay where they are for the life of the process).
  Surface Pixels() override { return surface_; }
  void Changed(const RECT& surfaceRect) override;
  // Each drawing service holds the screen's lock, so a presenter never shows a
  // half-written row; nested holds by the same DC count.
  void Lock() override;
  void Unlock() override;

 private:
  struct Held;
  Surface surface_;
  std::unique_ptr<Held> held_;
  int depth_ = 0;
};

// A new DC on the whole screen (GetDC(NULL), CreateDC("DISPLAY")).
HDC CreateDesktopDc();

}  // namespace plat::gdi
