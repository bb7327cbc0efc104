#include "SECAuxData.h"

SECAuxData secData;

BOOL IsWindows4OrLater() {
  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionEx(&info)) return FALSE;
  return info.dwMajorVersion > 3;
}

SECAuxData::SECAuxData() {
  bWin4 = IsWindows4OrLater();
  cxBorder2 = cyBorder2 = bWin4 ? 2 : 1;
  hcurArrow = ::LoadCursor(nullptr, IDC_ARROW);
  lcidUser = ::GetUserDefaultLCID();
  UpdateSysColors();
}

void SECAuxData::UpdateSysColors() {
  clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
  clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
  clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
  clr3DLight = ::GetSysColor(COLOR_3DLIGHT);
  clr3DDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
  clrWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
  clrWindow = ::GetSysColor(COLOR_WINDOW);
  clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
  clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
}
