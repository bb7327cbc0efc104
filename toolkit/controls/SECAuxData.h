// SECAuxData: the toolkit-wide record of system colours and metrics that the controls
// draw with. One instance, filled at start-up; controls refresh it when they are created
// and when the system colours change.
#pragma once
#include <afxwin.h>

class SECAuxData {
 public:
  SECAuxData();

  // Rereads the ten colours.
  void UpdateSysColors();

  int cxBorder2;  // 2 on Windows 4 and later, else 1
  int cyBorder2;

  COLORREF clrBtnFace;
  COLORREF clrBtnShadow;
  COLORREF clrBtnHilite;
  COLORREF clrWindowFrame;
  COLORREF clr3DLight;
  COLORREF clr3DDkShadow;
  COLORREF clrWindowText;
  COLORREF clrWindow;
  COLORREF clrHighlight;
  COLORREF clrHighlightText;

  HCURSOR hcurArrow;
  BOOL bWin4;  // major version above 3
  LCID lcidUser;  // the user's default locale, read once
};

extern SECAuxData secData;

// The toolkit's version test: TRUE from Windows 4 (95, NT 4) on.
BOOL IsWindows4OrLater();
