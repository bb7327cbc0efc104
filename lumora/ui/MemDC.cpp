#include "MemDC.h"

CMemDC::CMemDC(CDC* pDC, const RECT* pRect) : m_pDC(pDC), m_rect(pRect ? *pRect : CRect()) {
  if (!pDC->IsPrinting() && CreateCompatibleDC(pDC)) {
    pDC->GetClipBox(&m_rect);
    if (m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height())) {
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
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
    SelectObject(m_pOldBitmap);
  } else {
    // The target's handles were only borrowed.
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
  }
}
