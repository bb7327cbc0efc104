// Bitmaps from resources and files, with the system-colour mapping toolbars rely on.
#include <cstring>
#include <vector>

#include "../LastError.h"
#include "../WinError.h"
#include "../WinFile.h"
#include "MenuDraw.h"
#include "ResourceLookup.h"

namespace {

COLORREF Swap(const RGBQUAD& q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); }

// The greys of bitmap artwork and the system colours they stand for.
bool Map3d(BYTE& r, BYTE& g, BYTE& b) {
  int index = -1;
  COLORREF c = RGB(r, g, b);
  if (c == RGB(128, 128, 128)) index = COLOR_3DSHADOW;
  else if (c == RGB(192, 192, 192)) index = COLOR_3DFACE;
  else if (c == RGB(223, 223, 223)) index = COLOR_3DLIGHT;
  if (index < 0) return false;
  COLORREF s = GetSysColor(index);
  r = GetRValue(s);
  g = GetGValue(s);
  b = GetBValue(s);
  return true;
}

// A packed DIB (header, colours, bits) made into a bitmap.
HBITMAP FromPackedDib(const unsigned char* data, size_t size, UINT flags) {
  if (size < sizeof(BITMAPINFOHEADER)) return nullptr;
  BITMAPINFOHEADER h;
  std::memcpy(&h, data, sizeof h);
  if (h.biSize < sizeof h || h.biWidth <= 0 || h.biHeight == 0 || h.biWidth > 32768 || std::abs(h.biHeight) > 32768)
    return nullptr;
  int colors = h.biBitCount <= 8 ? (h.biClrUsed ? static_cast<int>(h.biClrUsed) : 1 << h.biBitCount) : 0;
  size_t masks = h.biCompression == BI_BITFIELDS ? 12 : 0;
  size_t headerSize = h.biSize + masks + static_cast<size_t>(colors) * 4;
  size_t stride = ((static_cast<size_t>(h.biWidth) * h.biBitCount + 31) / 32) * 4;
  size_t bitsSize = stride * static_cast<size_t>(std::abs(h.biHeight));
  if (h.biBitCount == 0 || headerSize + bitsSize > size) return nullptr;
  std::vector<unsigned char> info(data, data + headerSize);
  std::vector<unsigned char> bits(data + headerSize, data + headerSize + bitsSize);
  if (flags & LR_LOADMAP3DCOLORS) {
    auto* table = reinterpret_cast<RGBQUAD*>(info.data() + h.biSize + masks);
    for (int i = 0; i < colors; ++i) Map3d(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
    if (h.biBitCount == 24 || h.biBitCount == 32) {
      size_t step = h.biBitCount / 8;
      for (size_t y = 0; y < static_cast<size_t>(std::abs(h.biHeight)); ++y)
        for (size_t x = 0; x < static_cast<size_t>(h.biWidth); ++x) {
          unsigned char* p = bits.data() + y * stride + x * step;
          Map3d(p[2], p[1], p[0]);
        }
    }
  }
  auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
  HDC screen = GetDC(nullptr);
  HBITMAP bmp = nullptr;
  if (flags & LR_CREATEDIBSECTION) {
    void* out = nullptr;
    bmp = CreateDIBSection(screen, bi, DIB_RGB_COLORS, &out, nullptr, 0);
    if (bmp && out) std::memcpy(out, bits.data(), bitsSize);
  } else {
    bmp = CreateDIBitmap(screen, &bi->bmiHeader, CBM_INIT, bits.data(), bi, DIB_RGB_COLORS);
  }
  ReleaseDC(nullptr, screen);
  return bmp;
}

HBITMAP FromFile(LPCSTR path, UINT flags) {
  HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return nullptr;
  DWORD size = GetFileSize(f, nullptr);
  std::vector<unsigned char> data(size == INVALID_FILE_SIZE ? 0 : size);
  DWORD read = 0;
  bool ok = size != INVALID_FILE_SIZE && size > 14 && ReadFile(f, data.data(), size, &read, nullptr) && read == size;
  CloseHandle(f);
  if (!ok || data[0] != 'B' || data[1] != 'M') return nullptr;
  return FromPackedDib(data.data() + 14, data.size() - 14, flags);
}

HBITMAP CopyBitmap(HBITMAP src, int cx, int cy) {
  BITMAP bm{};
  if (!GetObjectA(src, sizeof bm, &bm)) return nullptr;
  if (cx <= 0) cx = bm.bmWidth;
  if (cy <= 0) cy = bm.bmHeight;
  HDC screen = GetDC(nullptr);
  HBITMAP out = bm.bmBitsPixel == 1 ? CreateBitmap(cx, cy, 1, 1, nullptr) : CreateCompatibleBitmap(screen, cx, cy);
  ReleaseDC(nullptr, screen);
  HDC s = CreateCompatibleDC(nullptr), d = CreateCompatibleDC(nullptr);
  HGDIOBJ os = SelectObject(s, src), od = SelectObject(d, out);
  StretchBlt(d, 0, 0, cx, cy, s, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  SelectObject(s, os);
  SelectObject(d, od);
  DeleteDC(s);
  DeleteDC(d);
  return out;
}

}  // namespace

// The system's own small bitmaps, drawn as the frame controls draw them.
HBITMAP StandardBitmap(ULONG_PTR id) {
  UINT state;
  switch (id) {
    case 32760: state = DFCS_MENUCHECK; break;       // OBM_CHECK
    case 32739: state = DFCS_MENUARROW; break;       // OBM_MNARROW
    default: return nullptr;
  }
  const int size = GetSystemMetrics(SM_CXMENUCHECK);
  HBITMAP bmp = CreateBitmap(size, size, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT r{0, 0, size, size};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  plat::user::DrawMenuGlyph(dc, r, state, RGB(0, 0, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  return bmp;
}

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) {
  if (!instance && IS_INTRESOURCE(name)) {
    HBITMAP b = StandardBitmap(reinterpret_cast<ULONG_PTR>(name));
    if (!b) ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return b;
  }
  return static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, 0));
}

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if (type == IMAGE_ICON) return LoadIconA(instance, name);
  if (type == IMAGE_CURSOR) return LoadCursorA(instance, name);
  if (type != IMAGE_BITMAP) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HBITMAP bmp = nullptr;
  if (flags & LR_LOADFROMFILE) {
    bmp = FromFile(name, flags);
  } else if (const plat::rc::Entry* e = plat::user::FindEntry(instance, name, RT_BITMAP)) {
    bmp = FromPackedDib(e->data, e->size, flags);
  }
  if (!bmp) {
    ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  if (cx > 0 || cy > 0) {
    HBITMAP sized = CopyBitmap(bmp, cx, cy);
    DeleteObject(bmp);
    bmp = sized;
  }
  return bmp;
}

HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags) {
  if (type != IMAGE_BITMAP) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto src = static_cast<HBITMAP>(image);
  BITMAP bm{};
  if (!GetObjectA(src, sizeof bm, &bm)) return nullptr;
  if ((flags & LR_COPYRETURNORG) && (cx <= 0 || cx == bm.bmWidth) && (cy <= 0 || cy == bm.bmHeight)) return src;
  HBITMAP out = CopyBitmap(src, cx, cy);
  if (out && (flags & LR_COPYDELETEORG)) DeleteObject(src);
  return out;
}

HBITMAP CreateMappedBitmap(HINSTANCE instance, INT_PTR id, UINT, LPCOLORMAP map, int count) {
  const plat::rc::Entry* e = plat::user::FindEntry(instance, MAKEINTRESOURCEA(id), RT_BITMAP);
  if (!e) return nullptr;
  std::vector<unsigned char> data(e->data, e->data + e->size);
  if (data.size() >= sizeof(BITMAPINFOHEADER)) {
    BITMAPINFOHEADER h;
    std::memcpy(&h, data.data(), sizeof h);
    int colors = h.biBitCount <= 8 ? (h.biClrUsed ? static_cast<int>(h.biClrUsed) : 1 << h.biBitCount) : 0;
    if (h.biSize + static_cast<size_t>(colors) * 4 <= data.size()) {
      auto* table = reinterpret_cast<RGBQUAD*>(data.data() + h.biSize);
      for (int i = 0; i < colors; ++i)
        for (int k = 0; k < count; ++k)
          if (map && Swap(table[i]) == map[k].from) {
            table[i] = RGBQUAD{GetBValue(map[k].to), GetGValue(map[k].to), GetRValue(map[k].to), 0};
            break;
          }
    }
  }
  return FromPackedDib(data.data(), data.size(), 0);
}
