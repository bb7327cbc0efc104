// CMemDC: an off-screen device context for painting without flicker. What is drawn
// into it goes to the target in one copy when it is destroyed; on a printer it is the
// printer's own context and nothing is copied.
#pragma once
#include <afxwin.h>

class CMemDC : public CDC {
 public:
  CMemDC(CDC* pDC, const RECT* pRect);
  ~CMemDC() override;
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

  // The area covered, in the target's logical coordinates.
  const CRect& GetRect() const { return m_rect; }
  BOOL IsMemDC() const { return m_bMemDC; }

 private:
  CBitmap m_bitmap;
  CBitmap* m_pOldBitmap = nullptr;
  CDC* m_pDC;
  CRect m_rect;
  BOOL m_bMemDC = FALSE;
};
