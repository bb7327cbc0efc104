#include "MemDC.h"

CMemDC::CMemDC(CDC* pDC, const RECT* pRect) : m_pDC(pDC), m_rect(pRect ? *pRect : CRect()) {
  if (!pDC->IsPrinting() && CreateCompatibleDC(pDC)) {
    pDC->GetClipBox(&m_rect);
    // Nothing visible to paint (an empty clip): drawing goes to a one-pixel page that is
    // never copied, not straight onto the target.
    const int cx = m_rect.IsRectEmpty() ? 1 : m_rect.Width();
    const int cy = m_rect.IsRectEmpty() ? 1 : m_rect.Height();
    if (m_bitmap.CreateCompatibleBitmap(pDC, cx, cy)) {
      m_pOldBitmap = SelectObject(&m_bitmap);
      SetWindowOrg(m_rect.left, m_rect.top);
      m_bMemDC = TRUE;
      return;
    }
    DeleteDC();
  }
  // A printer, or no room off screen: drawing goes straight to the target.
  m_hDC = pDC->m_hDC;
  m_hAttribDC = pDC->m_hAttribDC;
  m_bPrinting = pDC->m_bPrinting;
}

CMemDC::~CMemDC() {
  if (m_bMemDC) {
    if (!m_rect.IsRectEmpty())
      m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
    SelectObject(m_pOldBitmap);
  } else {
    // The target's handles were only borrowed.
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
  }
}
