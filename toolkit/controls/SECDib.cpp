#include "SECDib.h"

#include <climits>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(SECDibBase, CObject)
IMPLEMENT_SERIAL(SECDib, SECDibBase, 1)

namespace {

constexpr ULONGLONG kMaxImageBytes = 1ull << 30;  // far beyond any picture of the system
constexpr DWORD kFileHeaderBytes = 14;

ULONGLONG RowBytesOf(int nWidth, int nBitsPerPixel) {
  return ((static_cast<ULONGLONG>(nWidth) * static_cast<ULONGLONG>(nBitsPerPixel) + 31) / 32) * 4;
}

bool KnownDepth(int nBitsPerPixel) {
  switch (nBitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: return true;
    default: return false;
  }
}

void PutDword(BYTE* at, DWORD value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<BYTE>(value >> (8 * i));
}

DWORD GetDword(const BYTE* at) {
  return DWORD(at[0]) | (DWORD(at[1]) << 8) | (DWORD(at[2]) << 16) | (DWORD(at[3]) << 24);
}

}  // namespace

// ---- SECDibBase

SECDibBase::SECDibBase() {
  HDC screen = ::GetDC(nullptr);
  if (screen) {
    m_nScreenPlanes = ::GetDeviceCaps(screen, PLANES);
    m_nScreenBitsPerPixel = ::GetDeviceCaps(screen, BITSPIXEL);
    ::ReleaseDC(nullptr, screen);
  }
  switch (m_nScreenBitsPerPixel) {
    case 1: m_nScreenColors = 1 << m_nScreenPlanes; break;
    case 2: m_nScreenColors = 4; break;
    case 4: m_nScreenColors = 16; break;
    case 8: m_nScreenColors = 256; break;
    default: m_nScreenColors = 0; break;
  }
}

SECDibBase::~SECDibBase() { Free(); }

void SECDibBase::Free() {
  if (m_hDib) {
    ::GlobalUnlock(m_hDib);
    ::GlobalFree(m_hDib);
  }
  m_hDib = nullptr;
  m_lpBMI = nullptr;
  m_lpBits = nullptr;
  m_pPalette.reset();
  m_nWidth = m_nHeight = m_nBitsPerPixel = m_nColors = m_nRowBytes = 0;
  m_bPadded = TRUE;
}

SIZE_T SECDibBase::PackedSize() const {
  if (!m_hDib) return 0;
  return sizeof(BITMAPINFOHEADER) + static_cast<SIZE_T>(m_nColors) * sizeof(RGBQUAD) +
         static_cast<SIZE_T>(m_nRowBytes) * static_cast<SIZE_T>(m_nHeight);
}

BOOL SECDibBase::Allocate(int nWidth, int nHeight, int nBitsPerPixel, int nColors) {
  Free();
  const int rows = nHeight < 0 ? -nHeight : nHeight;
  if (nWidth <= 0 || rows <= 0 || nHeight == INT_MIN || !KnownDepth(nBitsPerPixel)) return FALSE;
  const int maxColors = nBitsPerPixel <= 8 ? 1 << nBitsPerPixel : 256;
  if (nColors < 0 || nColors > maxColors) return FALSE;
  const ULONGLONG rowBytes = RowBytesOf(nWidth, nBitsPerPixel);
  const ULONGLONG pixels = rowBytes * static_cast<ULONGLONG>(rows);
  if (rowBytes > kMaxImageBytes || pixels > kMaxImageBytes) return FALSE;
  const ULONGLONG total = sizeof(BITMAPINFOHEADER) + static_cast<ULONGLONG>(nColors) * sizeof(RGBQUAD) + pixels;

  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(total));
  if (!block) return FALSE;
  auto* memory = static_cast<LPBYTE>(::GlobalLock(block));
  if (!memory) {
    ::GlobalFree(block);
    return FALSE;
  }
  m_hDib = block;
  m_lpBMI = reinterpret_cast<LPBITMAPINFO>(memory);
  m_lpBits = memory + sizeof(BITMAPINFOHEADER) + static_cast<size_t>(nColors) * sizeof(RGBQUAD);
  m_nWidth = nWidth;
  m_nHeight = rows;
  m_nBitsPerPixel = nBitsPerPixel;
  m_nColors = nColors;
  m_nRowBytes = static_cast<int>(rowBytes);
  m_bPadded = TRUE;

  BITMAPINFOHEADER& header = m_lpBMI->bmiHeader;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = nWidth;
  header.biHeight = nHeight;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(nBitsPerPixel);
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(pixels);
  header.biClrUsed = nBitsPerPixel <= 8 && nColors == maxColors ? 0 : static_cast<DWORD>(nColors);
  return TRUE;
}

BOOL SECDibBase::Copy(const SECDibBase& other) {
  if (&other == this) return TRUE;
  if (!other.IsValid()) {
    Free();
    return FALSE;
  }
  if (!Allocate(other.m_nWidth, other.m_lpBMI->bmiHeader.biHeight, other.m_nBitsPerPixel, other.m_nColors))
    return FALSE;
  std::memcpy(m_lpBMI, other.m_lpBMI, other.PackedSize());
  m_bHalftone = other.m_bHalftone;
  if (other.m_pPalette) {
    auto palette = std::make_unique<CPalette>();
    const int entries = other.m_pPalette->GetEntryCount();
    std::vector<BYTE> logical(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(entries));
    auto* lp = reinterpret_cast<LOGPALETTE*>(logical.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(entries);
    other.m_pPalette->GetPaletteEntries(0, static_cast<UINT>(entries), lp->palPalEntry);
    if (palette->CreatePalette(lp)) m_pPalette = std::move(palette);
  }
  return TRUE;
}

BOOL SECDibBase::PadRows(const void* pRows, size_t nBytes) {
  if (!IsValid() || !pRows) return FALSE;
  const size_t tight = (static_cast<size_t>(m_nWidth) * static_cast<size_t>(m_nBitsPerPixel) + 7) / 8;
  if (nBytes < tight * static_cast<size_t>(m_nHeight)) return FALSE;
  const auto* in = static_cast<const BYTE*>(pRows);
  for (int y = 0; y < m_nHeight; ++y) {
    BYTE* row = m_lpBits + static_cast<size_t>(y) * static_cast<size_t>(m_nRowBytes);
    std::memcpy(row, in + static_cast<size_t>(y) * tight, tight);
    std::memset(row + tight, 0, static_cast<size_t>(m_nRowBytes) - tight);
  }
  m_bPadded = TRUE;
  return TRUE;
}

// ---- SECDib

BOOL SECDib::CreateFromBitmap(CDC* pDC, CBitmap* pBitmap) {
  BITMAP bm{};
  if (!pDC || !pBitmap || !pBitmap->GetSafeHandle() || !pBitmap->GetBitmap(&bm)) return FALSE;
  Free();
  int bitsPerPixel = bm.bmBitsPixel > 8 ? 24 : bm.bmPlanes * bm.bmBitsPixel;
  int colors = 0;
  switch (bitsPerPixel) {
    case 1: colors = 1 << bm.bmPlanes; break;
    case 4: colors = 16; break;
    case 8: colors = 256; break;
    default: colors = 0; break;
  }
  if (!Allocate(bm.bmWidth, bm.bmHeight, bitsPerPixel, colors)) return FALSE;
  if (!::GetDIBits(pDC->GetSafeHdc(), static_cast<HBITMAP>(pBitmap->GetSafeHandle()), 0,
                   static_cast<UINT>(m_nHeight), m_lpBits, m_lpBMI, DIB_RGB_COLORS)) {
    Free();
    return FALSE;
  }
  // The fetch fills in what the header had open; the image keeps its own form.
  m_lpBMI->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  m_lpBMI->bmiHeader.biCompression = BI_RGB;
  m_lpBMI->bmiHeader.biClrUsed = 0;
  CreatePalette();
  return TRUE;
}

BOOL SECDib::CreatePalette() {
  if (!IsValid()) return FALSE;
  if (m_nBitsPerPixel > 8) return TRUE;  // a true-colour image needs no palette
  const DWORD used = m_lpBMI->bmiHeader.biClrUsed;
  const int tableEntries = used ? static_cast<int>(used) : m_nColors;
  const int entries = tableEntries > m_nColors ? tableEntries : m_nColors;
  std::vector<BYTE> logical(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(entries));
  auto* lp = reinterpret_cast<LOGPALETTE*>(logical.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = static_cast<WORD>(entries);
  for (int i = 0; i < entries && i < m_nColors; ++i) {
    const RGBQUAD& q = m_lpBMI->bmiColors[i];
    lp->palPalEntry[i] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
  }
  auto palette = std::make_unique<CPalette>();
  if (!palette->CreatePalette(lp)) return FALSE;
  m_pPalette = std::move(palette);
  return TRUE;
}

int SECDib::Draw(CDC* pDC, int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc, int ySrc, int nSrcWidth,
                 int nSrcHeight, const void* lpBits, const BITMAPINFO* lpBMI, UINT iUsage, DWORD dwRop) {
  if (!lpBits) lpBits = m_lpBits;
  if (!lpBMI) lpBMI = m_lpBMI;
  if (!pDC || !lpBits || !lpBMI) return 0;
  CPalette halftone;
  CPalette* pOldPalette = nullptr;
  int nOldMode = 0;
  const BOOL bHalftone = m_bHalftone && halftone.CreateHalftonePalette(pDC);
  if (bHalftone) {
    pOldPalette = pDC->SelectPalette(&halftone, FALSE);
    pDC->RealizePalette();
    nOldMode = pDC->SetStretchBltMode(HALFTONE);
  }
  int lines = ::StretchDIBits(pDC->GetSafeHdc(), xDest, yDest, nDestWidth, nDestHeight, xSrc, ySrc, nSrcWidth,
                              nSrcHeight, lpBits, lpBMI, iUsage, dwRop);
  if (bHalftone) {
    pDC->SetStretchBltMode(nOldMode);
    if (pOldPalette) pDC->SelectPalette(pOldPalette, FALSE);
  }
  return lines;
}

// Where a stored image comes from: a file or an archive.
class DibSource {
 public:
  virtual ~DibSource() = default;
  // Exactly `n` bytes, or false.
  virtual bool Read(void* out, size_t n) = 0;
  // Whether `n` more bytes are there.
  virtual bool Has(ULONGLONG n) = 0;
  bool Skip(ULONGLONG n) {
    if (!Has(n)) return false;
    BYTE scrap[256];
    while (n > 0) {
      size_t piece = n < sizeof scrap ? static_cast<size_t>(n) : sizeof scrap;
      if (!Read(scrap, piece)) return false;
      n -= piece;
    }
    return true;
  }
};

namespace {

class FileSource : public DibSource {
 public:
  explicit FileSource(CFile& file) : file_(file) {}
  bool Read(void* out, size_t n) override { return file_.Read(out, static_cast<UINT>(n)) == n; }
  bool Has(ULONGLONG n) override {
    ULONGLONG length = file_.GetLength(), position = file_.GetPosition();
    return position <= length && n <= length - position;
  }

 private:
  CFile& file_;
};

class ArchiveSource : public DibSource {
 public:
  explicit ArchiveSource(CArchive& ar) : ar_(ar) {}
  bool Read(void* out, size_t n) override { return ar_.Read(out, static_cast<UINT>(n)) == n; }
  bool Has(ULONGLONG n) override {
    try {
      ar_.CheckRemaining(n);
      return true;
    } catch (CArchiveException* e) {
      e->Delete();
      return false;
    }
  }

 private:
  CArchive& ar_;
};

// The 14-byte file header in front of the image.
void FileHeader(const SECDibBase& dib, DWORD packedSize, BYTE out[kFileHeaderBytes]) {
  const DWORD offBits = kFileHeaderBytes + sizeof(BITMAPINFOHEADER) + static_cast<DWORD>(dib.GetNumColors()) * sizeof(RGBQUAD);
  std::memset(out, 0, kFileHeaderBytes);
  out[0] = 'B';
  out[1] = 'M';
  PutDword(out + 2, kFileHeaderBytes + packedSize);
  PutDword(out + 10, offBits);
}

}  // namespace

BOOL SECDib::Load(DibSource& source) {
  Free();
  BYTE file[kFileHeaderBytes];
  if (!source.Read(file, sizeof file) || file[0] != 'B' || file[1] != 'M') return FALSE;
  const DWORD offBits = GetDword(file + 10);

  BYTE info[sizeof(BITMAPINFOHEADER)];
  if (!source.Read(info, 4)) return FALSE;
  const DWORD infoSize = GetDword(info);
  if (infoSize < sizeof info || !source.Read(info + 4, sizeof info - 4) || !source.Skip(infoSize - sizeof info))
    return FALSE;
  BITMAPINFOHEADER header;
  std::memcpy(&header, info, sizeof header);  // little-endian, as the file
  const int bitsPerPixel = header.biBitCount;
  if (header.biPlanes != 1 || header.biCompression != BI_RGB || !KnownDepth(bitsPerPixel)) return FALSE;
  if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT_MIN) return FALSE;
  const ULONGLONG maxColors = bitsPerPixel <= 8 ? 1u << bitsPerPixel : 256u;
  const ULONGLONG tableEntries = header.biClrUsed ? header.biClrUsed : (bitsPerPixel <= 8 ? maxColors : 0);
  if (tableEntries > maxColors) return FALSE;
  const int colors = bitsPerPixel <= 8 ? static_cast<int>(tableEntries) : 0;
  const ULONGLONG rows = static_cast<ULONGLONG>(header.biHeight < 0 ? -static_cast<LONGLONG>(header.biHeight) : header.biHeight);
  const ULONGLONG pixels = RowBytesOf(header.biWidth, bitsPerPixel) * rows;
  const ULONGLONG consumed = kFileHeaderBytes + infoSize + tableEntries * sizeof(RGBQUAD);
  const ULONGLONG gap = offBits > consumed ? offBits - consumed : 0;
  if (offBits != 0 && offBits < consumed) return FALSE;
  if (pixels > kMaxImageBytes || !source.Has(tableEntries * sizeof(RGBQUAD) + gap + pixels)) return FALSE;

  if (!Allocate(header.biWidth, header.biHeight, bitsPerPixel, colors)) return FALSE;
  if (colors > 0) {
    if (!source.Read(m_lpBMI->bmiColors, static_cast<size_t>(colors) * sizeof(RGBQUAD))) {
      Free();
      return FALSE;
    }
    m_lpBMI->bmiHeader.biClrUsed = header.biClrUsed;
  }
  if (!source.Skip((tableEntries - static_cast<ULONGLONG>(colors)) * sizeof(RGBQUAD) + gap) ||
      !source.Read(m_lpBits, static_cast<size_t>(pixels))) {
    Free();
    return FALSE;
  }
  CreatePalette();
  return TRUE;
}

BOOL SECDib::Read(CFile& file) {
  try {
    FileSource source(file);
    return Load(source);
  } catch (CException* e) {
    e->Delete();
    Free();
    return FALSE;
  }
}

BOOL SECDib::Write(CFile& file) const {
  if (!IsValid()) return FALSE;
  BYTE header[kFileHeaderBytes];
  FileHeader(*this, static_cast<DWORD>(PackedSize()), header);
  try {
    file.Write(header, sizeof header);
    file.Write(m_lpBMI, static_cast<UINT>(PackedSize()));
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

void SECDib::Serialize(CArchive& ar) {
  SECDibBase::Serialize(ar);
  if (ar.IsStoring()) {
    if (!IsValid()) AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
    BYTE header[kFileHeaderBytes];
    FileHeader(*this, static_cast<DWORD>(PackedSize()), header);
    ar.Write(header, sizeof header);
    ar.Write(m_lpBMI, static_cast<UINT>(PackedSize()));
  } else {
    ArchiveSource source(ar);
    if (!Load(source)) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
  }
}
