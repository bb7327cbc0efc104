#include "SECBtnDrawContext.h"

#include "SECAuxData.h"
#include "SECCustomToolBar.h"

SECBtnDrawContext::SECBtnDrawContext() {
  if (!m_monoDC.CreateCompatibleDC(nullptr) || !m_imageDC.CreateCompatibleDC(nullptr) ||
      !m_workDC.CreateCompatibleDC(nullptr))
    AfxThrowResourceException();
  RebuildDitherBrush();
  if (!m_ditherBrush.GetSafeHandle()) AfxThrowResourceException();
}

SECBtnDrawContext::~SECBtnDrawContext() {
  Release();
  if (m_hOldImage) m_imageDC.SelectObject(m_hOldImage);
}

void SECBtnDrawContext::RebuildDitherBrush() {
  // A checkerboard of the button face and the highlight, 8 by 8.
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = 8;
  info.header.biHeight = 8;
  info.header.biPlanes = 1;
  info.header.biBitCount = 1;
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  info.colours[0] = RGBQUAD{GetBValue(face), GetGValue(face), GetRValue(face), 0};
  info.colours[1] = RGBQUAD{GetBValue(light), GetGValue(light), GetRValue(light), 0};
  DWORD rows[8];
  for (int i = 0; i < 8; ++i) rows[i] = (i % 2) ? 0x55 : 0xAA;  // one byte a row, padded to four
  HDC screen = ::GetDC(nullptr);
  HBITMAP pattern = ::CreateDIBitmap(screen, &info.header, CBM_INIT, rows,
                                     reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  if (!pattern) return;
  CBrush brush;
  CBitmap* bitmap = CBitmap::FromHandle(pattern);
  if (brush.CreatePatternBrush(bitmap)) {
    m_ditherBrush.DeleteObject();
    m_ditherBrush.Attach(brush.Detach());
  }
  ::DeleteObject(pattern);
}

BOOL SECBtnDrawContext::Prepare(CDC* pDC, int nWidth, SECCustomToolBar* pBar) {
  Release();
  const int height = pBar->GetButtonHeight();
  if (!m_workBitmap.CreateCompatibleBitmap(pDC, nWidth, height)) return FALSE;
  if (!m_maskBitmap.CreateBitmap(nWidth, height, 1, 1, nullptr)) {
    m_workBitmap.DeleteObject();
    return FALSE;
  }
  m_hOldWork = m_workDC.SelectObject(m_workBitmap.GetSafeHandle());
  m_hOldMask = m_monoDC.SelectObject(m_maskBitmap.GetSafeHandle());
  return TRUE;
}

void SECBtnDrawContext::SelectImage(HBITMAP hbm) {
  if (hbm == m_hImage) return;
  HGDIOBJ old = m_imageDC.SelectObject(hbm);
  if (!m_hOldImage) m_hOldImage = old;
  m_hImage = hbm;
}

void SECBtnDrawContext::Release() {
  if (m_hOldWork) m_workDC.SelectObject(m_hOldWork);
  if (m_hOldMask) m_monoDC.SelectObject(m_hOldMask);
  if (m_hOldImage) m_imageDC.SelectObject(m_hOldImage);
  m_hOldWork = m_hOldMask = m_hOldImage = nullptr;
  m_hImage = nullptr;
  m_workBitmap.DeleteObject();
  m_maskBitmap.DeleteObject();
}
