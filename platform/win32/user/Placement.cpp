// Window placement: the normal rectangle (in the parent's client coordinates, or on the
// screen for a top-level window) and the show state.
#include "../LastError.h"
#include "../WinError.h"
#include "../WinUserUi.h"

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* lpwndpl) {
  if (!lpwndpl || !IsWindow(hwnd)) {
    ::SetLastError(lpwndpl ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(WINDOWPLACEMENT);
  placement.showCmd = IsIconic(hwnd) ? SW_SHOWMINIMIZED : IsZoomed(hwnd) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  placement.ptMinPosition = POINT{-1, -1};
  placement.ptMaxPosition = POINT{-1, -1};
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  if (HWND parent = GetParent(hwnd); parent && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&rect), 2);
  placement.rcNormalPosition = rect;
  *lpwndpl = placement;
  return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* lpwndpl) {
  if (!lpwndpl || lpwndpl->length != sizeof(WINDOWPLACEMENT) || lpwndpl->showCmd > SW_FORCEMINIMIZE) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!IsWindow(hwnd)) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const RECT& r = lpwndpl->rcNormalPosition;
  SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd, static_cast<int>(lpwndpl->showCmd));
  return TRUE;
}
