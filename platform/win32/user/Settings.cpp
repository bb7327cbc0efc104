// System settings the programs read, and telling windows that they changed.
#include <cstring>

#include "../WinUserUi.h"
#include "Focus.h"
#include "LastError.h"
#include "WinError.h"
#include "gdi/SysColors.h"

namespace {

LOGFONTA UiFont(LONG weight) {
  LOGFONTA lf{};
  lf.lfHeight = -12;
  lf.lfWeight = weight;
  lf.lfCharSet = 128;
  // The Japanese user-interface face, as the system's code expects it.
  std::strcpy(lf.lfFaceName, "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF");
  return lf;
}

}  // namespace

BOOL SystemParametersInfoA(UINT action, UINT, PVOID data, UINT) {
  switch (action) {
    case SPI_GETWORKAREA: {
      if (!data) return FALSE;
      // No task bar: the whole screen is the work area.
      *static_cast<RECT*>(data) = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      return TRUE;
    }
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICSA*>(data);
      if (!m || m->cbSize < sizeof(NONCLIENTMETRICSA)) return FALSE;
      m->iBorderWidth = 1;
      m->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
      m->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
      m->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
      m->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
      m->lfCaptionFont = UiFont(FW_BOLD);
      m->iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
      m->iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
      m->lfSmCaptionFont = UiFont(FW_BOLD);
      m->iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
      m->iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
      m->lfMenuFont = UiFont(FW_NORMAL);
      m->lfStatusFont = UiFont(FW_NORMAL);
      m->lfMessageFont = UiFont(FW_NORMAL);
      return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
      if (!data) return FALSE;
      *static_cast<LOGFONTA*>(data) = UiFont(FW_NORMAL);
      return TRUE;
    case SPI_GETDRAGFULLWINDOWS:
      if (!data) return FALSE;
      *static_cast<BOOL*>(data) = TRUE;
      return TRUE;
    case SPI_GETWHEELSCROLLLINES:
      if (!data) return FALSE;
      *static_cast<UINT*>(data) = 3;  // the system's default
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL SetSysColors(int count, const INT* elements, const COLORREF* values) {
  if (count < 0 || (count > 0 && (!elements || !values))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (int i = 0; i < count; ++i)
    if (elements[i] < 0 || elements[i] > COLOR_MENUBAR) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
  for (int i = 0; i < count; ++i) plat::gdi::SetSysColor(elements[i], values[i] & 0x00FFFFFF);
  plat::user::BroadcastSettingChange(WM_SYSCOLORCHANGE);
  return TRUE;
}

namespace plat::user {

void BroadcastSettingChange(UINT msg, WPARAM wParam, LPARAM lParam) {
  for (HWND top : TopLevelWindows()) SendMessageA(top, msg, wParam, lParam);
  // Colours changed: everything on the screen is drawn again.
  if (msg == WM_SYSCOLORCHANGE) RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace plat::user
