#include "SECBtnDrawContext.h"

#include "CreateCheckerBrush.h"
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
  // A checkerboard of the button face and the highlight.
  if (HBRUSH brush = CreateCheckerBrush(::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNHIGHLIGHT))) {
    m_ditherBrush.DeleteObject();
    m_ditherBrush.Attach(brush);
  }
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
