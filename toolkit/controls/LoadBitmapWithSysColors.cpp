#include "LoadBitmapWithSysColors.h"

#include <cstring>
#include <vector>

namespace {

struct ColorMap {
  COLORREF from;
  int sysColor;
};

constexpr ColorMap kSysColorMap[] = {
    {RGB(0, 0, 0), COLOR_BTNTEXT},
    {RGB(128, 128, 128), COLOR_BTNSHADOW},
    {RGB(192, 192, 192), COLOR_BTNFACE},
    {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT},
};

// The table's blue-green-red order.
RGBQUAD QuadOf(COLORREF color) { return RGBQUAD{GetBValue(color), GetGValue(color), GetRValue(color), 0}; }

}  // namespace

BOOL LoadBitmapWithSysColors(CBitmap& bitmap, LPCSTR lpszResourceName) {
  HINSTANCE instance = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
  HRSRC resource = ::FindResource(instance, lpszResourceName, RT_BITMAP);
  if (!resource) return FALSE;
  HGLOBAL loaded = ::LoadResource(instance, resource);
  const auto* data = static_cast<const BYTE*>(::LockResource(loaded));
  const DWORD size = ::SizeofResource(instance, resource);
  if (!data || size < sizeof(BITMAPINFOHEADER)) return FALSE;

  // Everything the header declares must be in the resource.
  BITMAPINFOHEADER header;
  std::memcpy(&header, data, sizeof header);
  const int bits = header.biBitCount;
  if (header.biSize < sizeof header || header.biSize > size || header.biPlanes != 1) return FALSE;
  if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight < -0x7FFFFFFF) return FALSE;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return FALSE;
  if (header.biCompression != BI_RGB) return FALSE;
  const ULONGLONG maxColors = bits <= 8 ? 1u << bits : 256u;
  if (header.biClrUsed > maxColors) return FALSE;
  const ULONGLONG colors = header.biClrUsed ? header.biClrUsed : (bits <= 8 ? maxColors : 0);
  const ULONGLONG rowBytes = ((static_cast<ULONGLONG>(header.biWidth) * bits + 31) / 32) * 4;
  const ULONGLONG rows = header.biHeight < 0 ? -static_cast<LONGLONG>(header.biHeight) : header.biHeight;
  const ULONGLONG tableEnd = header.biSize + colors * sizeof(RGBQUAD);
  if (tableEnd > size || rowBytes * rows > size - tableEnd) return FALSE;

  // A copy of the header and its colour table, with the fixed greys made system colours.
  std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + static_cast<size_t>(colors) * sizeof(RGBQUAD));
  std::memcpy(info.data(), &header, sizeof header);
  reinterpret_cast<BITMAPINFOHEADER*>(info.data())->biSize = sizeof(BITMAPINFOHEADER);
  auto* table = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
  std::memcpy(table, data + header.biSize, static_cast<size_t>(colors) * sizeof(RGBQUAD));
  if (bits <= 8) {
    for (size_t i = 0; i < colors; ++i) {
      const COLORREF color = RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
      for (const ColorMap& m : kSysColorMap)
        if (color == m.from) {
          table[i] = QuadOf(::GetSysColor(m.sysColor));
          break;
        }
    }
  }

  HDC screen = ::GetDC(nullptr);
  HBITMAP made = screen ? ::CreateCompatibleBitmap(screen, header.biWidth, static_cast<int>(rows)) : nullptr;
  HDC memory = screen ? ::CreateCompatibleDC(screen) : nullptr;
  BOOL drawn = FALSE;
  if (made && memory) {
    HGDIOBJ old = ::SelectObject(memory, made);
    drawn = ::StretchDIBits(memory, 0, 0, header.biWidth, static_cast<int>(rows), 0, 0, header.biWidth,
                            static_cast<int>(rows), data + tableEnd, reinterpret_cast<BITMAPINFO*>(info.data()),
                            DIB_RGB_COLORS, SRCCOPY) != 0;
    ::SelectObject(memory, old);
  }
  if (memory) ::DeleteDC(memory);
  if (screen) ::ReleaseDC(nullptr, screen);
  if (!drawn) {
    if (made) ::DeleteObject(made);
    return FALSE;
  }
  bitmap.DeleteObject();
  return bitmap.Attach(made);
}
