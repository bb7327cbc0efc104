// Small helpers shared by the GDI entry points.
#pragma once
#include <memory>

#include "LastError.h"
#include "WinError.h"
#include "gdi/DeviceContext.h"

namespace plat::gdi {

// The DC behind a handle, ready for a call (ERROR_INVALID_HANDLE when there is none).
inline std::shared_ptr<DeviceContext> DcOf(HDC hdc) {
  auto dc = FindDc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  dc->Refresh();
  return dc;
}

inline RECT Normalized(RECT r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

// The screen's size and depth as GDI reports them.
SIZE ScreenSize();
constexpr int kScreenBpp = 32;

}  // namespace plat::gdi
