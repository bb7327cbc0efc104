#include "AfxGdiClasses.h"

#include <map>
#include <memory>

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (!hObject || m_hObject) return FALSE;
  m_hObject = hObject;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

namespace {

// Temporary wrappers own nothing: they detach before they go.
template <class T>
T* TemporaryWrapper(HGDIOBJ h) {
  if (!h) return nullptr;
  struct Temp : T {
    ~Temp() override { this->Detach(); }
  };
  thread_local std::map<HGDIOBJ, std::unique_ptr<T>> wrappers;
  auto& slot = wrappers[h];
  if (!slot) {
    slot = std::make_unique<Temp>();
    slot->m_hObject = h;
  }
  return slot.get();
}

}  // namespace

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) { return TemporaryWrapper<CBitmap>(hObject); }

CBitmap* PASCAL CBitmap::FromHandle(HBITMAP hBitmap) { return TemporaryWrapper<CBitmap>(hBitmap); }

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
  return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
  return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

int CBitmap::GetBitmap(BITMAP* pBitMap) { return ::GetObjectA(m_hObject, sizeof(BITMAP), pBitMap); }

CDC::~CDC() { DeleteDC(); }

BOOL CDC::Attach(HDC hDC) {
  if (!hDC || m_hDC) return FALSE;
  m_hDC = m_hAttribDC = hDC;
  return TRUE;
}

HDC CDC::Detach() {
  HDC h = m_hDC;
  m_hDC = m_hAttribDC = nullptr;
  return h;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)); }

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  HGDIOBJ old = ::SelectObject(m_hDC, pBitmap ? pBitmap->m_hObject : nullptr);
  return CBitmap::FromHandle(static_cast<HBITMAP>(old));
}

int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }

int CDC::SetStretchBltMode(int nStretchMode) { return ::SetStretchBltMode(m_hDC, nStretchMode); }

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
  return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
  return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, nSrcWidth,
                      nSrcHeight, dwRop);
}
