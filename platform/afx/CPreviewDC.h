// CPreviewDC: the DC a view prints on during print preview. Pages are drawn at the
// printer's resolution into a page picture (attributes come from the printer's DC),
// which the preview then shows scaled to the screen.
#pragma once
#include "CDC.h"

class CPreviewDC : public CDC {
  DECLARE_DYNAMIC(CPreviewDC)
 public:
  CPreviewDC() = default;
  ~CPreviewDC() override;
  CPreviewDC(const CPreviewDC&) = delete;
  CPreviewDC& operator=(const CPreviewDC&) = delete;

  // FALSE when the page picture cannot be made.
  BOOL Open(HDC hPrinter);
  void ClearPage();
  // The size the printable area has on the screen, which scales printer units.
  void SetScreenSize(CSize size) { m_screen = size; }
  void PrinterDPtoScreenDP(LPPOINT lpPoint) const;
  // Copies the page picture, scaled, into `rect` of `hScreen`.
  void ShowPage(HDC hScreen, const CRect& rect) const;
  CSize GetPageSize() const { return m_page; }

 private:
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_oldBitmap = nullptr;
  CSize m_page;    // the printable area in printer pixels
  CSize m_screen;
};
