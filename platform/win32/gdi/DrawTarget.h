// What a non-memory DC draws on: the screen for the desktop DC, the screen seen through a
// window for a window DC, a page for a printer DC.
#pragma once
#include "gdi/Region.h"
#include "gdi/Surface.h"

namespace plat::gdi {

class DrawTarget {
 public:
  virtual ~DrawTarget() = default;
  // The pixels; the view stays valid while the DC draws one primitive.
  virtual Surface Pixels() = 0;
  // Where device point (0, 0) lies on the surface (a window's client origin on the screen).
  virtual POINT Origin() const { return {0, 0}; }
  // The part of the surface the DC may touch, in device coordinates (the window's visible
  // part); the default is the whole surface.
  virtual Region Visible() const;
  // Called after drawing changed a rectangle of the surface (surface coordinates), so a
  // screen can present it.
  virtual void Changed(const RECT& surfaceRect) {}
  // Held around each drawing service while it writes the pixels (a shared screen's lock).
  // Pixels() and Changed() are called inside, so they must not take it (nor anything taken
  // before it elsewhere); Origin() and Visible() are asked before, outside the lock.
  virtual void Lock() {}
  virtual void Unlock() {}
  // GetDeviceCaps answers that differ from the screen's (a printer's page size and
  // resolution); return false to take the default.
  virtual bool Caps(int index, int& value) const { return false; }
  // OBJ_DC for the screen and windows.
  virtual DWORD DcType() const { return OBJ_DC; }
};

}  // namespace plat::gdi
