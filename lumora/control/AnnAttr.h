// The attributes new annotations are drawn with, and one scale-bar preset: the records
// behind the SYSTEM section's annotation and scale texts.
#pragma once
#include <afxwin.h>

struct AnnTextAttr {
  LOGFONTA font{};
  COLORREF textColor = 0;
  COLORREF backColor = 0;
  LONG fontSize = 0;
  LONG backFilled = 0;
};

struct AnnLineAttr {
  LONG penWidth = 0;
  LONG styleCode = 0;  // arrow heads: 0 none, 1 where the drag ended, 2 where it began, 3 both, 4 measuring line
  LONG lineType = 0;
  COLORREF penColor = 0;
};

struct AnnShapeAttr {
  LONG penWidth = 0;
  LONG lineType = 0;
  COLORREF penColor = 0;
  COLORREF fillColor = 0;
  LONG square = 0;
  LONG filled = 0;
};

struct tScaleInfo {
  // The name is shown in the scale dialog and stored before the first comma, so it is
  // kept short and comma-free.
  static constexpr int kMaxName = 63;
  CString name;
  LONG vertical = 0;
  LONG thickness = 10;
  double lengthValue = 0.0;
  LONG unit = 2;  // 0 cm, 1 mm, 2 um, 3 nm
  LONG posX = 640, posY = 512;
  LONG divide = 0;
  COLORREF penColor = 0xff00;
  LONG filled = 0;
  COLORREF fillColor = 0;
  LONG labelMode = 3;  // 3: no label
  double cal1 = 1.0, cal2 = 1.0;
  LONG cal3 = 1;
  double cal4 = 1.0;
  LONG cal5 = 2, cal6 = 1;
  double cal7 = 1.0;
  LONG cal8 = 2;
  LONG barLength = 0;  // image pixels; 0: no scale
};
