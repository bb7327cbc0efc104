#include "Header.h"

IMPLEMENT_SERIAL(CHeader, CObject, 0)

CHeader::CHeader() : m_pInfo(std::make_unique<BITMAPINFO>()) {}

CHeader::~CHeader() = default;

LONG CHeader::SetFormat(LONG w, LONG h, LONG c) {
  LONG stride = RowStride(w, c);
  m_FileHeader.bfType = 0x4D42;  // "BM"
  m_FileHeader.bfSize = DWORD(h) * DWORD(stride) + 54;
  m_FileHeader.bfReserved1 = 0;
  m_FileHeader.bfReserved2 = 0;
  m_FileHeader.bfOffBits = c == 1 ? 54 + 256 * 4 : 54;

  *m_pInfo = BITMAPINFO{};
  BITMAPINFOHEADER& info = m_pInfo->bmiHeader;
  info.biSize = sizeof(BITMAPINFOHEADER);
  info.biWidth = w;
  info.biHeight = h;  // positive: rows run bottom-up
  info.biPlanes = 1;
  info.biBitCount = WORD(8 * c);

  m_Bitmap = BITMAP{};
  m_Bitmap.bmWidth = w;
  m_Bitmap.bmHeight = h;
  m_Bitmap.bmWidthBytes = stride;
  m_Bitmap.bmPlanes = 1;
  m_Bitmap.bmBitsPixel = WORD(8 * c);

  m_nWidth = SHORT(w);
  m_nHeight = SHORT(h);
  m_nStride = stride;
  return stride;
}

// The headers alone are never stored.
void CHeader::Serialize(CArchive&) {}

void CHeader::ReleaseSelection() {
  if (!m_MemDC.m_hDC) return;
  CBitmap placeholder;
  placeholder.CreateCompatibleBitmap(&m_MemDC, 0, 0);
  m_MemDC.SelectObject(placeholder.m_hObject);
}
