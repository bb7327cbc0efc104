#include "CreateCheckerBrush.h"

HBRUSH CreateCheckerBrush(COLORREF clrFirst, COLORREF clrSecond) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = 8;
  info.header.biHeight = 8;
  info.header.biPlanes = 1;
  info.header.biBitCount = 1;
  info.colours[0] = RGBQUAD{GetBValue(clrFirst), GetGValue(clrFirst), GetRValue(clrFirst), 0};
  info.colours[1] = RGBQUAD{GetBValue(clrSecond), GetGValue(clrSecond), GetRValue(clrSecond), 0};
  DWORD rows[8];
  for (int i = 0; i < 8; ++i) rows[i] = (i % 2) ? 0x55 : 0xAA;  // one byte a row, padded to four
  HDC screen = ::GetDC(nullptr);
  HBITMAP pattern = ::CreateDIBitmap(screen, &info.header, CBM_INIT, rows, reinterpret_cast<BITMAPINFO*>(&info),
                                     DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  if (!pattern) return nullptr;
  HBRUSH brush = ::CreatePatternBrush(pattern);
  ::DeleteObject(pattern);  // the brush keeps its own copy of the pattern
  return brush;
}
