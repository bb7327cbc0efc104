#include "Image.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

IMPLEMENT_SERIAL(CImage, CHeader, 0)

namespace {

// The bitmap record travels in its 32-bit Windows form: four LONGs, two WORDs and a
// 32-bit bits pointer, which is never meaningful in a file and is stored as 0.
constexpr int kBitmapRecordBytes = 24;

CString PackBitmap(const BITMAP& bm) {
  BYTE raw[kBitmapRecordBytes] = {};
  std::memcpy(raw, &bm.bmType, 4);
  std::memcpy(raw + 4, &bm.bmWidth, 4);
  std::memcpy(raw + 8, &bm.bmHeight, 4);
  std::memcpy(raw + 12, &bm.bmWidthBytes, 4);
  std::memcpy(raw + 16, &bm.bmPlanes, 2);
  std::memcpy(raw + 18, &bm.bmBitsPixel, 2);
  return CString(reinterpret_cast<LPCSTR>(raw), kBitmapRecordBytes);
}

BITMAP UnpackBitmap(const CString& s) {
  BITMAP bm{};
  LPCSTR raw = s;
  std::memcpy(&bm.bmType, raw, 4);
  std::memcpy(&bm.bmWidth, raw + 4, 4);
  std::memcpy(&bm.bmHeight, raw + 8, 4);
  std::memcpy(&bm.bmWidthBytes, raw + 12, 4);
  std::memcpy(&bm.bmPlanes, raw + 16, 2);
  std::memcpy(&bm.bmBitsPixel, raw + 18, 2);
  return bm;
}

// A decimal size between 1 and 32767 (sizes are kept to 16 bits), else -1.
LONG ParseSize(const CString& text) {
  std::string s(static_cast<LPCSTR>(text), text.GetLength());
  if (s.empty() || s.size() > 5 || s.find_first_not_of("0123456789") != std::string::npos) return -1;
  LONG v = std::stol(s);
  return v >= 1 && v <= 32767 ? v : -1;
}

[[noreturn]] void Damaged(CArchive& ar) { AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName); }

}  // namespace

CImage::CImage() { m_MemDC.CreateCompatibleDC(nullptr); }

CImage::~CImage() { Clear(); }

BOOL CImage::CreateBitmap() {
  const BITMAPINFOHEADER& info = m_pInfo->bmiHeader;
  LONG width = info.biWidth, height = info.biHeight;
  LONG stride = RowStride(width * info.biBitCount / 8, 1);
  int bitsPixel = ::GetDeviceCaps(m_MemDC.m_hAttribDC, BITSPIXEL);
  int planes = ::GetDeviceCaps(m_MemDC.m_hAttribDC, PLANES);
  // The byte string holds at most INT_MAX bytes: sizes are checked in 64 bits first.
  const int64_t bytes = int64_t(height) * stride;
  if (width <= 0 || height <= 0 || bytes > INT_MAX) {
    Clear();
    return FALSE;
  }
  m_Data.GetBufferSetLength(int(bytes));
  m_Data.ReleaseBuffer(int(bytes));
  m_Spare.DeleteObject();
  if (!m_Spare.CreateBitmap(width, height, planes, bitsPixel, nullptr) ||
      !::SetDIBits(m_MemDC.m_hDC, m_Spare, 0, height, static_cast<LPCSTR>(m_Data), m_pInfo.get(), DIB_RGB_COLORS)) {
    Clear();
    return FALSE;
  }
  m_pBitmap = &m_Spare;
  m_MemDC.SelectObject(&m_Spare);
  return TRUE;
}

BOOL CImage::RebuildBitmap() {
  if (!m_MemDC.m_hDC) m_MemDC.CreateCompatibleDC(nullptr);
  ReleaseSelection();
  m_Spare.DeleteObject();
  m_pBitmap = nullptr;
  return CreateBitmap();
}

void CImage::Clear() {
  if (!m_MemDC.m_hDC) return;
  m_Text1.Empty();
  m_Text2.Empty();
  m_Data.Empty();
  ReleaseSelection();
  m_Spare.DeleteObject();
  m_pBitmap = nullptr;
  m_MemDC.DeleteDC();
  m_pExtra.reset();
}

void CImage::Serialize(CArchive& ar) {
  CHeader::Serialize(ar);
  if (ar.IsLoading()) {
    Load(ar);
    return;
  }
  ar << CString(reinterpret_cast<LPCSTR>(&m_FileHeader), sizeof(BITMAPFILEHEADER));
  ar << CString(reinterpret_cast<LPCSTR>(m_pInfo.get()), sizeof(BITMAPINFO));
  ar << PackBitmap(m_Bitmap);
  ar << m_Data << m_Text1 << m_Text2 << m_Time1 << m_Time2;
  CString width, height;
  width.Format("%d", int(m_nWidth));
  height.Format("%d", int(m_nHeight));
  ar << width << height;
}

// Everything is read and checked before the picture changes, so a damaged archive
// leaves the picture as it was and ends in an archive exception.
void CImage::Load(CArchive& ar) {
  CString file, info, bitmap, data, text1, text2, width, height;
  CTime time1, time2;
  ar >> file >> info >> bitmap >> data >> text1 >> text2 >> time1 >> time2 >> width >> height;
  if (file.GetLength() != int(sizeof(BITMAPFILEHEADER)) || info.GetLength() != int(sizeof(BITMAPINFO)) ||
      bitmap.GetLength() != kBitmapRecordBytes)
    Damaged(ar);
  BITMAPINFO header;
  std::memcpy(&header, static_cast<LPCSTR>(info), sizeof header);
  LONG w = ParseSize(width), h = ParseSize(height);
  // Only the form SetFormat writes: a 40-byte header of uncompressed 24-bit rows. Any
  // other form would make the bitmap calls read colour masks or a table that is not there.
  const BITMAPINFOHEADER& bi = header.bmiHeader;
  if (w < 0 || h < 0 || bi.biSize != sizeof(BITMAPINFOHEADER) || bi.biCompression != BI_RGB ||
      bi.biPlanes != 1 || bi.biBitCount != 24 || bi.biWidth != w || bi.biHeight != h)
    Damaged(ar);
  LONG stride = RowStride(w, 3);
  if (int64_t(data.GetLength()) != int64_t(h) * stride) Damaged(ar);

  std::memcpy(&m_FileHeader, static_cast<LPCSTR>(file), sizeof m_FileHeader);
  *m_pInfo = header;
  m_Bitmap = UnpackBitmap(bitmap);
  m_Data = std::move(data);
  m_Text1 = std::move(text1);
  m_Text2 = std::move(text2);
  m_Time1 = time1;
  m_Time2 = time2;
  m_nWidth = w;
  m_nHeight = h;
  m_nStride = stride;
  RebuildBitmap();
}
