#include "gdi/ScreenTarget.h"

#include <cstring>
#include <strings.h>

#include "display/Screen.h"
#include "gdi/ApiSupport.h"

namespace plat::gdi {

Surface ScreenTarget::Pixels() {
  auto access = display::Screen::Get().Lock();
  Surface s;
  s.bits = reinterpret_cast<uint8_t*>(access.Row(0));
  s.width = access.Width();
  s.height = access.Height();
  s.bpp = 32;
  s.stride = static_cast<ptrdiff_t>(s.width) * 4;
  return s;
}

void ScreenTarget::Changed(const RECT& r) { display::Screen::Get().Lock().MarkDirty(r); }

HDC CreateDesktopDc() { return CreateDcOn(std::make_shared<ScreenTarget>()); }

SIZE ScreenSize() {
  auto& screen = display::Screen::Get();
  return {screen.Width(), screen.Height()};
}

}  // namespace plat::gdi

using namespace plat::gdi;

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR, const void*) {
  auto is = [](LPCSTR s) { return s && strcasecmp(s, "DISPLAY") == 0; };
  if (is(driver) || (!driver && is(device))) return CreateDesktopDc();
  // Printer DCs come with printing.
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

// GetDC and ReleaseDC belong to the window manager (user/WindowDc.cpp).
