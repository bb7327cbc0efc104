// Device contexts on windows: the screen seen through a window's client area or whole
// window, clipped to what shows of it (and, while painting, to the update area).
#pragma once
#include <optional>

#include "../WinUser.h"
#include "gdi/ScreenTarget.h"

namespace plat::user {

class WindowTarget : public gdi::ScreenTarget {
 public:
  // `flags` are DCX_ flags; `limit` (client or window coordinates, as the DC's) narrows
  // the visible part further, as the update area does during painting.
  WindowTarget(HWND hwnd, DWORD flags, std::optional<gdi::Region> limit = std::nullopt);

  POINT Origin() const override;
  gdi::Region Visible() const override;
  HWND Hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
  DWORD flags_;
  std::optional<gdi::Region> limit_;
};

// A new DC on a window (DCX_ flags); `limit` as for WindowTarget.
HDC CreateWindowDc(HWND hwnd, DWORD flags, std::optional<gdi::Region> limit = std::nullopt);

}  // namespace plat::user
