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
  // Where the bar's pixel count comes from, and what each source works from.
  LONG source = 3;  // 0 optical, 1 measurement, 2 pixel, 3 none (no label)
  double lens = 1.0, magnification = 1.0;  // objective lens and intermediate magnification
  LONG measuredPixels = 1;                 // Fine pixels of a full-size picture
  double measuredLength = 1.0;
  LONG measuredUnit = 2, pixelCount = 1;
  double pixelLength = 1.0;
  LONG pixelUnit = 2;
  LONG barLength = 0;  // Fine pixels of a full-size picture; 0: no scale
};
