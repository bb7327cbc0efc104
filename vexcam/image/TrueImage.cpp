#include "TrueImage.h"

#include <algorithm>
#include <vector>

IMPLEMENT_SERIAL(CTrueImage, CHeader, 0)

CTrueImage::CTrueImage() { m_MemDC.CreateCompatibleDC(nullptr); }

CTrueImage::~CTrueImage() { Clear(); }

// Frees the DIB section and the DC; the section is deselected first.
void CTrueImage::ReleaseSection() {
  if (m_Spare.m_hObject) {
    ReleaseSelection();
    m_MemDC.DeleteDC();
    m_Spare.DeleteObject();
    m_pBitmap = nullptr;
    m_pBits = nullptr;
  } else {
    m_MemDC.DeleteDC();
  }
}

BOOL CTrueImage::CreateDIB() {
  if (!m_MemDC.m_hDC) m_MemDC.CreateCompatibleDC(nullptr);
  ReleaseSection();
  m_pBits = nullptr;
  m_MemDC.CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP section = ::CreateDIBSection(m_MemDC.m_hDC, m_pInfo.get(), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section || !bits) {
    if (section) ::DeleteObject(section);
    return FALSE;
  }
  m_Spare.Attach(section);
  m_pBitmap = &m_Spare;
  m_pBits = static_cast<BYTE*>(bits);
  return TRUE;
}

void CTrueImage::Clear() {
  m_pExtra.reset();
  m_Text1.Empty();
  m_Text2.Empty();
  if (m_MemDC.m_hDC) ReleaseSection();
}

BYTE* CTrueImage::SetBits(BYTE* bits) {
  if (!bits) return nullptr;
  BYTE* previous = m_pBits;
  if (previous && bits != previous) m_pBits = bits;
  return previous;
}

namespace {

// Splits `size` destination pixels into `count` tiles of `tile` pixels and returns the
// destination and source extent of each; a last tile of 0 pixels is dropped.
struct Span {
  int dest, source;
};
std::vector<Span> Tiles(int count, int tile, int size, double zoom) {
  std::vector<Span> spans;
  for (int j = 0; j < count; ++j) {
    int dest = std::min(tile, size - j * tile);
    if (dest <= 0) break;
    spans.push_back({dest, int(dest / zoom)});
  }
  return spans;
}

// Tile size along one axis: the destination split evenly, grown while the zoomed source
// tile would not fit, never beyond the picture.
int TileSize(int count, int size, int picture, double zoom) {
  int tile = size / count;
  if (zoom * (picture / count) > tile) {
    while (tile < picture && zoom * int(tile / zoom) > tile) ++tile;
  }
  return tile;
}

}  // namespace

BOOL CTrueImage::Draw(int x, int y, int dw, int dh, CDC* pDC, int sx, int sy, double zoom) {
  m_dZoom = zoom;
  if (m_nWidth < sx || m_nHeight < sy || dw < 0 || dh < 0) return FALSE;
  // A zoom of 0 or less has no source extent; nothing sensible can be drawn.
  if (!(zoom > 0) || dw == 0 || dh == 0 || !pDC || !pDC->m_hDC) return FALSE;
  return BlitTiles(x, y, dw, dh, pDC, sx, sy, zoom);
}

BOOL CTrueImage::BlitTiles(int x, int y, int dw, int dh, CDC* pDC, int sx, int sy, double zoom) {
  int cols = (dw - 1) / 640 + 1, rows = (dh - 1) / 480 + 1;
  int tw = TileSize(cols, dw, m_nWidth, zoom), th = TileSize(rows, dh, m_nHeight, zoom);
  auto columns = Tiles(cols, tw, dw, zoom), lines = Tiles(rows, th, dh, zoom);

  bool bitmap = m_pBitmap && m_pBitmap->m_hObject && m_MemDC.m_hDC;
  std::vector<BYTE> copy;
  const void* bits = m_pBits;
  enum class Way { Blt, CopyStretch, Stretch, Bits } way;
  if (bitmap) {
    m_MemDC.SelectObject(m_pBitmap);
    if (zoom == 1.0) {
      way = Way::Blt;
    } else if (zoom > 1.0) {
      way = Way::CopyStretch;
      size_t bytes = (size_t(m_nHeight) * size_t(m_nStride) + 128 + 4095) / 4096 * 4096;
      copy.resize(bytes);
      // GetDIBits needs the section out of the DC; the copy is taken from the handle.
      if (!::GetDIBits(m_MemDC.m_hDC, *m_pBitmap, 0, m_nHeight, copy.data(), m_pInfo.get(), DIB_RGB_COLORS))
        return FALSE;
      bits = copy.data();
    } else {
      way = Way::Stretch;
      pDC->SetStretchBltMode(COLORONCOLOR);
    }
  } else {
    if (!m_pBits) return FALSE;
    way = Way::Bits;
    pDC->SetStretchBltMode(COLORONCOLOR);
  }

  int destY = y, sourceTop = sy;
  for (const Span& row : lines) {
    int destX = x, sourceX = sx;
    // Bottom-up rows: the source row of a tile counts from the bottom of the picture.
    int sourceBottom = m_nHeight - sourceTop - row.source;
    for (const Span& col : columns) {
      BOOL ok = FALSE;
      switch (way) {
        case Way::Blt:
          ok = pDC->BitBlt(destX, destY, col.dest, row.dest, &m_MemDC, sourceX, sourceTop, SRCCOPY);
          break;
        case Way::Stretch:
          ok = pDC->StretchBlt(destX, destY, col.dest, row.dest, &m_MemDC, sourceX, sourceTop, col.source, row.source,
                               SRCCOPY);
          break;
        case Way::CopyStretch:
        case Way::Bits:
          ok = ::StretchDIBits(pDC->m_hDC, destX, destY, col.dest, row.dest, sourceX, sourceBottom, col.source,
                               row.source, bits, m_pInfo.get(), DIB_RGB_COLORS, SRCCOPY) != 0;
          break;
      }
      if (!ok) return FALSE;
      destX += col.dest;
      sourceX += col.source;
    }
    destY += row.dest;
    sourceTop += row.source;
  }
  return TRUE;
}
