// SECDibBase and SECDib: a device-independent bitmap held as a Windows BMP in global
// memory (the info header, the colour table, then the rows, each padded to 4 bytes),
// with its palette. SECDib adds making one from a bitmap, drawing, and the BMP file and
// archive forms.
#pragma once
#include <afxwin.h>

#include <memory>

class DibSource;

class SECDibBase : public CObject {
  DECLARE_DYNAMIC(SECDibBase)
 public:
  SECDibBase();
  ~SECDibBase() override;

  BOOL IsValid() const { return m_hDib != nullptr; }
  int GetWidth() const { return m_nWidth; }
  int GetHeight() const { return m_nHeight; }
  int GetBitsPerPixel() const { return m_nBitsPerPixel; }
  int GetNumColors() const { return m_nColors; }
  int GetRowBytes() const { return m_nRowBytes; }
  LPBITMAPINFO GetBitmapInfo() const { return m_lpBMI; }
  LPBYTE GetBits() const { return m_lpBits; }
  CPalette* GetPalette() const { return m_pPalette.get(); }
  // Drawing through a halftone palette, for screens with few colours.
  void SetHalftone(BOOL bHalftone) { m_bHalftone = bHalftone; }

  // Copies another image's header, colours and rows (and makes its palette).
  BOOL Copy(const SECDibBase& other);
  // Takes rows of this image's size written without padding and stores them padded.
  BOOL PadRows(const void* pRows, size_t nBytes);
  // Frees the memory and the palette; the image is empty afterwards.
  void Free();

 protected:
  // Allocates an image of the given form (every size checked first); the header is
  // filled, the colour table and rows are zero. FALSE leaves the image empty.
  BOOL Allocate(int nWidth, int nHeight, int nBitsPerPixel, int nColors);
  // Bytes of the header, colour table and rows.
  SIZE_T PackedSize() const;

  int m_nWidth = 0;
  int m_nHeight = 0;
  int m_nBitsPerPixel = 0;
  int m_nColors = 0;
  int m_nRowBytes = 0;
  HGLOBAL m_hDib = nullptr;
  LPBITMAPINFO m_lpBMI = nullptr;  // inside m_hDib
  LPBYTE m_lpBits = nullptr;       // inside m_hDib
  std::unique_ptr<CPalette> m_pPalette;
  BOOL m_bPadded = TRUE;
  BOOL m_bHalftone = FALSE;

  // The screen's colour form, read at construction.
  int m_nScreenPlanes = 0;
  int m_nScreenBitsPerPixel = 0;
  int m_nScreenColors = 0;
};

class SECDib : public SECDibBase {
  DECLARE_SERIAL(SECDib)
 public:
  SECDib() = default;

  // The bitmap's pixels through `pDC`: 24 bits above 8 bits per pixel, else its own
  // depth with its colour table.
  BOOL CreateFromBitmap(CDC* pDC, CBitmap* pBitmap);
  // A logical palette of the colour table; a true-colour image needs none.
  BOOL CreatePalette();
  // StretchDIBits of `lpBits` described by `lpBMI` (this image's when null); the number
  // of scan lines drawn.
  int Draw(CDC* pDC, int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc, int ySrc, int nSrcWidth,
           int nSrcHeight, const void* lpBits = nullptr, const BITMAPINFO* lpBMI = nullptr,
           UINT iUsage = DIB_RGB_COLORS, DWORD dwRop = SRCCOPY);

  // The BMP file form: the 14-byte file header ("BM"), then header, colours and rows.
  // Reading checks every size against what the file holds before it allocates.
  BOOL Read(CFile& file);
  BOOL Write(CFile& file) const;
  // The same bytes in an archive; a damaged image throws an archive exception.
  void Serialize(CArchive& ar) override;

 private:
  BOOL Load(DibSource& source);
};
