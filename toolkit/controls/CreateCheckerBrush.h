// An 8 by 8 checkerboard brush of two colours: the look of a checked button's face. Its
// colours are its own, whatever a DC's text and background colours are.
#pragma once
#include <afxwin.h>

// The new brush (the caller's to delete), null when it cannot be made.
HBRUSH CreateCheckerBrush(COLORREF clrFirst, COLORREF clrSecond);
