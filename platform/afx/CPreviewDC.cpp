#include "afxwin.h"
#include "CPreviewDC.h"

IMPLEMENT_DYNAMIC(CPreviewDC, CDC)

CPreviewDC::~CPreviewDC() {
  if (m_hDC) {
    ::SelectObject(m_hDC, m_oldBitmap);
    ::DeleteDC(m_hDC);
  }
  if (m_bitmap) ::DeleteObject(m_bitmap);
  m_hDC = m_hAttribDC = nullptr;  // the printer's DC belongs to the print job
}

BOOL CPreviewDC::Open(HDC hPrinter) {
  m_page = CSize(::GetDeviceCaps(hPrinter, HORZRES), ::GetDeviceCaps(hPrinter, VERTRES));
  if (m_page.cx <= 0 || m_page.cy <= 0) return FALSE;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  m_bitmap = ::CreateCompatibleBitmap(screen, m_page.cx, m_page.cy);
  ::ReleaseDC(nullptr, screen);
  if (!memory || !m_bitmap) {
    if (memory) ::DeleteDC(memory);
    return FALSE;
  }
  m_oldBitmap = ::SelectObject(memory, m_bitmap);
  m_hDC = memory;
  m_hAttribDC = hPrinter;
  m_bPrinting = TRUE;
  ClearPage();
  return TRUE;
}

void CPreviewDC::ClearPage() {
  RECT all{0, 0, m_page.cx, m_page.cy};
  ::FillRect(m_hDC, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

void CPreviewDC::PrinterDPtoScreenDP(LPPOINT lpPoint) const {
  if (m_page.cx <= 0 || m_page.cy <= 0) return;
  lpPoint->x = static_cast<LONG>(static_cast<long long>(lpPoint->x) * m_screen.cx / m_page.cx);
  lpPoint->y = static_cast<LONG>(static_cast<long long>(lpPoint->y) * m_screen.cy / m_page.cy);
}

void CPreviewDC::ShowPage(HDC hScreen, const CRect& rect) const {
  int oldMode = ::SetStretchBltMode(hScreen, HALFTONE);
  ::StretchBlt(hScreen, rect.left, rect.top, rect.Width(), rect.Height(), m_hDC, 0, 0, m_page.cx, m_page.cy, SRCCOPY);
  ::SetStretchBltMode(hScreen, oldMode);
}
