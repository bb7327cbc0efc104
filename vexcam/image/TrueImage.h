// CTrueImage: a 24-bit picture whose pixels live in a DIB section (or in memory its
// owner lends through SetBits); the camera library writes captures into it.
#pragma once
#include "Header.h"

class CTrueImage : public CHeader {
  DECLARE_SERIAL(CTrueImage)

 public:
  CTrueImage();
  ~CTrueImage() override;

  BOOL CreateDIB();
  void Clear();
  // Draws the picture into pDC, tile by tile; 0 for bad source positions, negative or
  // zero sizes, a zoom of 0 or less, or a failed blit.
  BOOL Draw(int x, int y, int dw, int dh, CDC* pDC, int sx, int sy, double zoom);
  // Points the picture at outside pixel memory; returns the previous pixel pointer.
  BYTE* SetBits(BYTE* bits);
  // The focus measure of one channel, 0 for a flat picture and growing with its
  // sharpness. Only the program's copy of the class defines them (its focus stage).
  SHORT MeasureFocusRed(int step);
  SHORT MeasureFocusGreen(int step);
  SHORT MeasureFocusBlue(int step);

  double m_dZoom = 1.0;
  BYTE* m_pBits = nullptr;
  CBitmap m_Spare;  // owns the DIB section while there is one
  LONG m_nReserved = 0;

 private:
  SHORT MeasureFocus(int channel, int step) const;
  void ReleaseSection();
  BOOL BlitTiles(int x, int y, int dw, int dh, CDC* pDC, int sx, int sy, double zoom);
};
