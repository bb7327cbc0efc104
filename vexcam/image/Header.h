// CHeader: the headers of a 24-bit device-independent picture (BMP file header, info
// block, bitmap record), its texts and time stamps, its size and its memory DC. The
// camera library and the program share this class and its layout of meaning.
#pragma once
#include <memory>

#include "afxwin.h"
#include "afx.h"

class CHeader : public CObject {
  DECLARE_SERIAL(CHeader)

 public:
  CHeader();
  ~CHeader() override;

  // Fills every header for a picture of w x h with c bytes a pixel; returns the stride.
  LONG SetFormat(LONG w, LONG h, LONG c);
  void Serialize(CArchive& ar) override;

  BITMAPFILEHEADER m_FileHeader{};
  std::unique_ptr<BITMAPINFO> m_pInfo;  // 40-byte info header and one colour entry
  BITMAP m_Bitmap{};
  CString m_Text1;
  CString m_Text2;
  CTime m_Time1;
  CTime m_Time2;
  LONG m_nWidth = 0;   // 16-bit values
  LONG m_nHeight = 0;
  LONG m_nStride = 0;
  std::unique_ptr<BYTE[]> m_pExtra;
  CBitmap* m_pBitmap = nullptr;  // whatever bitmap holds the picture now, not owned here
  CDC m_MemDC;

 protected:
  // Selects a placeholder into the memory DC so the picture's bitmap is free to go.
  void ReleaseSelection();
};

// Bytes a row of w pixels of c bytes takes, rounded up to whole 32-bit words.
inline LONG RowStride(LONG w, LONG c) { return (w * c + 3) & ~3; }

static_assert(sizeof(BITMAPINFO) == 44);
