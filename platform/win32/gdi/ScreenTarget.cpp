#include "gdi/ScreenTarget.h"
#include "print/PrinterTarget.h"

#include <cstring>
#include <strings.h>

#include "display/Screen.h"
#include "WinPrintDlg.h"
#include "gdi/ApiSupport.h"

namespace plat::gdi {

struct ScreenTarget::Held {
  display::Screen::Access access;
};

ScreenTarget::ScreenTarget() {
  auto access = display::Screen::Get().Lock();
  surface_.bits = reinterpret_cast<uint8_t*>(access.Row(0));
  surface_.width = access.Width();
  surface_.height = access.Height();
  surface_.bpp = 32;
  surface_.stride = static_cast<ptrdiff_t>(surface_.width) * 4;
}

ScreenTarget::~ScreenTarget() = default;

void ScreenTarget::Lock() {
  if (depth_++ == 0) held_ = std::make_unique<Held>(Held{display::Screen::Get().Lock()});
}

void ScreenTarget::Unlock() {
  if (depth_ > 0 && --depth_ == 0) held_.reset();
}

void ScreenTarget::Changed(const RECT& r) {
  if (held_)
    held_->access.MarkDirty(r);
  else
    display::Screen::Get().Lock().MarkDirty(r);
}

HDC CreateDesktopDc() { return CreateDcOn(std::make_shared<ScreenTarget>()); }

SIZE ScreenSize() {
  auto& screen = display::Screen::Get();
  return {screen.Width(), screen.Height()};
}

}  // namespace plat::gdi

using namespace plat::gdi;

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR, const void* initData) {
  auto is = [](LPCSTR s) { return s && strcasecmp(s, "DISPLAY") == 0; };
  if (is(driver) || (!driver && is(device))) return CreateDesktopDc();
  // A printer's DEVMODE carries the copies the print dialog asked for.
  auto* mode = static_cast<const DEVMODEA*>(initData);
  int copies = mode && (mode->dmFields & DM_COPIES) ? mode->dmCopies : 1;
  return plat::print::CreatePrinterDc(device, copies);
}

// GetDC and ReleaseDC belong to the window manager (user/WindowDc.cpp).
