// GetDC and ReleaseDC for the desktop alone, for builds without the window manager. Weak:
// the window manager's own versions (which answer for windows too) replace these.
#include "gdi/ApiSupport.h"
#include "gdi/ScreenTarget.h"

__attribute__((weak)) HDC GetDC(HWND hwnd) {
  if (hwnd) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return plat::gdi::CreateDesktopDc();
}

__attribute__((weak)) int ReleaseDC(HWND, HDC hdc) { return DeleteDC(hdc) ? 1 : 0; }
