// SECBtnDrawContext: what toolbar buttons draw with: memory DCs for a monochrome mask,
// the toolbar images and the work bitmap of one button, and the checkerboard brush of
// checked buttons. One serves a whole paint; its work bitmaps live for that paint.
#pragma once
#include <afxwin.h>

class SECCustomToolBar;

class SECBtnDrawContext {
 public:
  // Throws the framework's resource exception when a DC or the brush cannot be made.
  SECBtnDrawContext();
  ~SECBtnDrawContext();
  SECBtnDrawContext(const SECBtnDrawContext&) = delete;
  SECBtnDrawContext& operator=(const SECBtnDrawContext&) = delete;

  // Work and mask bitmaps of `nWidth` by the bar's button height; FALSE (nothing kept)
  // when either cannot be made.
  BOOL Prepare(CDC* pDC, int nWidth, SECCustomToolBar* pBar);
  // Selects a toolbar bitmap into the image DC unless it is there already.
  void SelectImage(HBITMAP hbm);
  // Puts the DCs' own bitmaps back and frees the work bitmaps.
  void Release();
  void RebuildDitherBrush();

  CDC m_monoDC;
  CDC m_imageDC;
  CDC m_workDC;
  CBrush m_ditherBrush;
  CBitmap m_workBitmap;
  HGDIOBJ m_hOldWork = nullptr;
  CBitmap m_maskBitmap;
  HGDIOBJ m_hOldMask = nullptr;
  HGDIOBJ m_hOldImage = nullptr;  // the image DC's own bitmap, kept the first time
  HBITMAP m_hImage = nullptr;     // the toolbar bitmap selected now
};
