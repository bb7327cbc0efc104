// A font as a GDI object: the LOGFONT it was made from, made real on first use.
#pragma once
#include <memory>
#include <mutex>

#include "gdi/GdiObject.h"
#include "text/RealizedFont.h"

namespace plat::gdi {
class DeviceContext;
}

namespace plat::text {

class FontObject final : public gdi::GdiObject {
 public:
  explicit FontObject(const LOGFONTA& lf);
  DWORD Type() const override { return OBJ_FONT; }
  int Describe(int size, void* out) const override;

  const LOGFONTA& LogFont() const { return lf_; }
  RealizedFont& Realized();

 private:
  LOGFONTA lf_;
  std::once_flag once_;
  std::shared_ptr<RealizedFont> realized_;
};

// The font selected into a DC (the stock system font when none is).
std::shared_ptr<FontObject> FontOf(const gdi::DeviceContext& dc);
// Makes sure the stock fonts are known to GetStockObject.
void RegisterStockFonts();

}  // namespace plat::text
