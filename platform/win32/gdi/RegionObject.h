// The GDI object behind an HRGN.
#pragma once
#include "gdi/GdiObject.h"
#include "gdi/Region.h"

namespace plat::gdi {

class RegionObject : public GdiObject {
 public:
  explicit RegionObject(Region r = Region()) : region(std::move(r)) {}
  DWORD Type() const override { return OBJ_REGION; }
  Region region;
};

}  // namespace plat::gdi
