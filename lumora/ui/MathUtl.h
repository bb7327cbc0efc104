// CMathUtl: the rounding the display uses to turn scaled points into pixels.
#pragma once
#include <afxwin.h>

class CMathUtl : public CWnd {
 public:
  // The nearest integer, halves away from zero: 2.5 gives 3, -2.5 gives -3.
  static int Round(double x);
};
