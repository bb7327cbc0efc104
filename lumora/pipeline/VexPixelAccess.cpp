#include "VexPixelAccess.h"

#include "binding/CLead.h"

CVexPixelAccess::~CVexPixelAccess() { GiveBack(); }

void CVexPixelAccess::GiveBack() {
  if (m_dc.m_hDC) m_dc.Detach();
  if (m_bHaveImageDC) {
    m_bHaveImageDC = false;
    m_pLead->ReleaseImageDC();
  }
  m_bSaved = false;
}

int CVexPixelAccess::Open(bool saveState, bool readBitmap) {
  const LONG value = m_pLead ? m_pLead->GetImageDC() : 0;
  if (value == 0) return kNoImageDC;
  m_bHaveImageDC = true;
  const HDC dc = reinterpret_cast<HDC>(static_cast<INT_PTR>(value));
  if (!m_dc.Attach(dc)) {
    GiveBack();
    return kAttach;
  }
  if (readBitmap) {
    const HGDIOBJ bitmap = ::GetCurrentObject(m_dc.m_hDC, OBJ_BITMAP);
    if (!bitmap || ::GetObject(bitmap, sizeof m_bitmap, &m_bitmap) != sizeof m_bitmap || !m_bitmap.bmBits) {
      GiveBack();
      return kBitmapRecord;
    }
  }
  if (saveState) {
    if (!m_dc.SaveDC()) {
      GiveBack();
      return kSaveDC;
    }
    m_bSaved = true;
  }
  return kOk;
}

int CVexPixelAccess::Close() {
  if (m_bSaved && !m_dc.RestoreDC(-1)) {
    GiveBack();
    return kRestoreDC;
  }
  m_bSaved = false;
  if (m_dc.m_hDC) m_dc.Detach();
  if (!m_bHaveImageDC) return kOk;
  m_bHaveImageDC = false;
  return m_pLead->ReleaseImageDC() != 0 ? kRelease : kOk;
}
