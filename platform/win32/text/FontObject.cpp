#include "text/FontObject.h"

#include <algorithm>
#include <cstring>

#include "gdi/DeviceContext.h"
#include "text/FontCache.h"
#include "text/Utf8.h"

namespace plat::text {
namespace {

LOGFONTA Make(LONG height, LONG weight, BYTE charSet, BYTE pitchAndFamily, const char* face) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = charSet;
  lf.lfPitchAndFamily = pitchAndFamily;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

// The stock fonts of a Japanese system: its GUI font is the Japanese default face.
struct StockFont {
  int index;
  LOGFONTA lf;
};
const StockFont kStock[] = {
    {SYSTEM_FONT, Make(16, FW_BOLD, SHIFTJIS_CHARSET, VARIABLE_PITCH | FF_SWISS, "System")},
    {DEVICE_DEFAULT_FONT, Make(16, FW_BOLD, SHIFTJIS_CHARSET, VARIABLE_PITCH | FF_SWISS, "System")},
    {SYSTEM_FIXED_FONT, Make(16, FW_NORMAL, SHIFTJIS_CHARSET, FIXED_PITCH | FF_MODERN, "Fixedsys")},
    {OEM_FIXED_FONT, Make(12, FW_NORMAL, OEM_CHARSET, FIXED_PITCH | FF_MODERN, "Terminal")},
    {ANSI_FIXED_FONT, Make(12, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, "Courier")},
    {ANSI_VAR_FONT, Make(12, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif")},
    {DEFAULT_GUI_FONT, Make(-12, FW_NORMAL, SHIFTJIS_CHARSET, VARIABLE_PITCH | FF_SWISS, "ＭＳ Ｐゴシック")},
};

}  // namespace

FontObject::FontObject(const LOGFONTA& lf) : lf_(lf) {
  // The face name is at most 31 bytes and always terminated, never cut inside a character.
  std::string_view face(lf_.lfFaceName, strnlen(lf_.lfFaceName, LF_FACESIZE));
  size_t n = CutAtBoundary(face, std::min<size_t>(face.size(), LF_FACESIZE - 1));
  std::memset(lf_.lfFaceName + n, 0, LF_FACESIZE - n);
}

int FontObject::Describe(int size, void* out) const {
  if (!out) return sizeof(LOGFONTA);
  int n = std::min<int>(size, sizeof(LOGFONTA));
  if (n <= 0) return 0;
  std::memcpy(out, &lf_, n);
  return n;
}

RealizedFont& FontObject::Realized() {
  std::call_once(once_, [this] { realized_ = Realize(lf_); });
  return *realized_;
}

std::shared_ptr<FontObject> FontOf(const gdi::DeviceContext& dc) {
  if (auto f = std::dynamic_pointer_cast<FontObject>(dc.State().font)) return f;
  RegisterStockFonts();
  if (auto f = std::dynamic_pointer_cast<FontObject>(gdi::StockObject(SYSTEM_FONT))) return f;
  static const auto fallback = std::make_shared<FontObject>(kStock[0].lf);  // never without a font
  return fallback;
}

void RegisterStockFonts() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (const auto& s : kStock) {
      LOGFONTA lf = s.lf;
      gdi::RegisterStockProvider(s.index, [lf] { return std::make_shared<FontObject>(lf); });
    }
  });
}

namespace {
// Registered when the library loads, before anyone can ask GetStockObject.
const bool g_registered = (RegisterStockFonts(), true);
}  // namespace

}  // namespace plat::text
