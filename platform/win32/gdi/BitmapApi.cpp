// Bitmaps: creation, DIB sections, and reading and writing their pixels as DIB rows.
#include <cstring>

#include "Faults.h"
#include "gdi/ApiSupport.h"
#include "gdi/DibFormat.h"
#include "gdi/DibSection.h"
#include "gdi/PixelConverter.h"
#include "gdi/StockObjects.h"

using namespace plat::gdi;

namespace {

HBITMAP DefaultBitmap() { return static_cast<HBITMAP>(StockObject(kDefaultBitmap)->Handle()); }

HBITMAP AddBitmap(std::shared_ptr<Bitmap> bm) {
  if (!bm) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return Add<HBITMAP>(std::move(bm));
}

// Copies n pixels of one row between surfaces (plain colour conversion).
void CopyRow(const Surface& from, int fromRow, const Surface& to, int toRow, int n, PixelConverter& conv,
             std::vector<uint32_t>& buf) {
  if (conv.Identity() && from.bpp == to.bpp) {
    std::memcpy(to.Row(toRow), from.Row(fromRow), (size_t(n) * size_t(from.bpp) + 7) / 8);
    return;
  }
  buf.resize(static_cast<size_t>(n));
  LoadRow(from, 0, fromRow, n, buf.data());
  conv.Convert(buf.data(), buf.data(), n);
  StoreRow(to, 0, toRow, n, buf.data());
}

// The word-aligned, top-down rows GetBitmapBits and CreateBitmap use.
Surface DdbView(const Bitmap::Format& f, const void* bits) {
  Surface s;
  s.bits = static_cast<uint8_t*>(const_cast<void*>(bits));
  s.width = f.width;
  s.height = f.height;
  s.bpp = f.bpp;
  s.stride = ((f.width * f.bpp + 15) / 16) * 2;
  return s;
}

// What CreateCompatibleBitmap makes for a DC: the format of the bitmap selected into a
// memory DC (so a fresh memory DC gives monochrome), the screen's for others.
Bitmap::Format CompatibleFormat(DeviceContext* dc, int w, int h) {
  Bitmap::Format f;
  f.width = w;
  f.height = h;
  f.bpp = kScreenBpp;
  if (dc && dc->IsMemory() && dc->State().bitmap) {
    const Bitmap::Format& sel = dc->State().bitmap->Fmt();
    f.bpp = sel.bpp;
    f.colors = sel.colors;
    f.dibSection = sel.dibSection;
    f.bottomUp = sel.dibSection;
  }
  return f;
}

}  // namespace

HBITMAP CreateBitmap(int w, int h, UINT planes, UINT bpp, const void* bits) {
  if (w < 0 || h < 0 || planes != 1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (w == 0 || h == 0) return DefaultBitmap();
  Bitmap::Format f;
  f.width = w;
  f.height = h;
  f.bpp = static_cast<int>(bpp);
  auto bm = Bitmap::Create(f);
  if (!bm) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (bits) {
    Surface from = DdbView(bm->Fmt(), bits), to = bm->Pixels();
    for (int y = 0; y < h; ++y) std::memcpy(to.Row(y), from.Row(y), static_cast<size_t>(from.stride));
  }
  return AddBitmap(bm);
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm) {
  if (!bm) return nullptr;
  return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int w, int h) {
  if (DWORD e = plat::faults::Check("CreateCompatibleBitmap")) {
    SetLastError(e);
    return nullptr;
  }
  auto dc = DcOf(hdc);
  if (!dc) return nullptr;
  if (w < 0 || h < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (w == 0 || h == 0) return DefaultBitmap();
  return AddBitmap(Bitmap::Create(CompatibleFormat(dc.get(), w, h)));
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section, DWORD) {
  if (bits) *bits = nullptr;
  auto dc = hdc ? DcOf(hdc) : nullptr;
  auto fmt = ReadDibFormat(bmi, usage, dc ? dc->State().palette.get() : nullptr);
  if (!fmt || section) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Bitmap::Format f{fmt->width, fmt->height, fmt->bpp, fmt->bottomUp, true, fmt->colors};
  auto bm = Bitmap::Create(f);
  if (!bm) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (bits) *bits = bm->Bits();
  return AddBitmap(bm);
}

namespace plat::gdi {
HBITMAP CreateDibSectionOver(const BITMAPINFO* info, void* bits, std::shared_ptr<void> owner) {
  auto fmt = ReadDibFormat(info, DIB_RGB_COLORS, nullptr);
  if (!fmt || !bits) return nullptr;
  Bitmap::Format f{fmt->width, fmt->height, fmt->bpp, fmt->bottomUp, true, fmt->colors};
  auto bm = Bitmap::Over(f, static_cast<uint8_t*>(bits), std::move(owner));
  return bm ? Add<HBITMAP>(bm) : nullptr;
}
}  // namespace plat::gdi

int SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage) {
  auto dc = hdc ? DcOf(hdc) : nullptr;
  auto bm = Find<Bitmap>(hbm);
  auto fmt = ReadDibFormat(bmi, usage, dc ? dc->State().palette.get() : nullptr);
  if (!bm || !fmt || !bits) {
    SetLastError(bm ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return 0;
  }
  Surface to = bm->Pixels();
  int n = std::min(fmt->width, to.width), copied = 0;
  Surface from = fmt->View(bits, 1);
  from.bottomUp = false;
  PixelConverter conv(from, to);
  std::vector<uint32_t> buf;
  // Memory row i of the buffer is scan start + i; scans count from the bottom of a
  // bottom-up DIB and from the top of a top-down one.
  for (UINT i = 0; i < lines; ++i) {
    int scan = static_cast<int>(start + i);
    if (scan >= fmt->height || scan >= to.height) break;
    int row = fmt->bottomUp ? to.height - 1 - scan : scan;
    from.bits = static_cast<uint8_t*>(const_cast<void*>(bits)) + ptrdiff_t(i) * fmt->Stride();
    CopyRow(from, 0, to, row, n, conv, buf);
    ++copied;
  }
  return copied;
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* bmi,
                       UINT usage) {
  if (!header || header->biWidth <= 0 || header->biHeight == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto dc = hdc ? DcOf(hdc) : nullptr;
  int h = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  Bitmap::Format f = CompatibleFormat(dc.get(), header->biWidth, h);
  f.dibSection = false;
  f.bottomUp = false;
  HBITMAP hbm = AddBitmap(Bitmap::Create(f));
  if (hbm && (init & CBM_INIT) && bits && bmi) {
    auto fmt = ReadDibFormat(bmi, usage, dc ? dc->State().palette.get() : nullptr);
    if (!fmt) {
      DeleteObject(hbm);
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    SetDIBits(hdc, hbm, 0, static_cast<UINT>(fmt->height), bits, bmi, usage);
  }
  return hbm;
}

int GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO bmi, UINT usage) {
  auto bm = Find<Bitmap>(hbm);
  if (!bm || !bmi) {
    SetLastError(bm ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return 0;
  }
  BITMAPINFOHEADER& h = bmi->bmiHeader;
  const Bitmap::Format& bf = bm->Fmt();
  if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  if (!bits && h.biBitCount == 0) {
    // Describe the bitmap.
    h.biWidth = bf.width;
    h.biHeight = bf.dibSection && !bf.bottomUp ? -bf.height : bf.height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bf.bpp);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(WIDTHBYTES(bf.width * bf.bpp) * bf.height);
    h.biClrUsed = 0;
    h.biClrImportant = 0;
    return 1;
  }
  int bpp = h.biBitCount;
  if ((bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) || h.biWidth <= 0 ||
      h.biWidth > 65536 || h.biHeight > 65536 || h.biHeight < -65536 || h.biCompression != BI_RGB) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int dibH = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  bool bottomUp = h.biHeight > 0;
  h.biSizeImage = static_cast<DWORD>(WIDTHBYTES(h.biWidth * bpp) * dibH);
  std::vector<RGBQUAD> table;
  if (bpp <= 8) {
    table = bpp == bf.bpp ? bf.colors : DefaultColorTable(bpp);
    table.resize(size_t(1) << bpp);
    uint8_t* out = reinterpret_cast<uint8_t*>(bmi) + h.biSize;
    if (usage == DIB_PAL_COLORS)
      for (size_t i = 0; i < table.size(); ++i) {
        WORD idx = static_cast<WORD>(i);
        std::memcpy(out + 2 * i, &idx, 2);
      }
    else
      std::memcpy(out, table.data(), table.size() * sizeof(RGBQUAD));
  }
  if (!bits) return 1;
  Surface from = bm->Pixels();
  Surface to;
  to.width = h.biWidth;
  to.height = 1;
  to.bpp = bpp;
  to.stride = WIDTHBYTES(h.biWidth * bpp);
  to.colors = table.empty() ? nullptr : table.data();
  to.colorCount = static_cast<int>(table.size());
  PixelConverter conv(from, to);
  std::vector<uint32_t> buf;
  int n = std::min(to.width, from.width), copied = 0;
  for (UINT i = 0; i < lines; ++i) {
    int scan = static_cast<int>(start + i);
    if (scan >= dibH || scan >= from.height) break;
    int row = bottomUp ? from.height - 1 - scan : scan;
    to.bits = static_cast<uint8_t*>(bits) + ptrdiff_t(i) * to.stride;
    std::memset(to.bits, 0, static_cast<size_t>(to.stride));  // padding and missing columns
    CopyRow(from, row, to, 0, n, conv, buf);
    ++copied;
  }
  return copied;
}

LONG GetBitmapBits(HBITMAP hbm, LONG size, LPVOID bits) {
  auto bm = Find<Bitmap>(hbm);
  if (!bm) return 0;
  Surface from = bm->Pixels(), to = DdbView(bm->Fmt(), bits);
  LONG total = static_cast<LONG>(to.stride * to.height);
  if (!bits) return total;
  LONG done = 0;
  for (int y = 0; y < to.height && done + to.stride <= size; ++y, done += static_cast<LONG>(to.stride))
    std::memcpy(to.Row(y), from.Row(y), static_cast<size_t>(to.stride));
  return done;
}

LONG SetBitmapBits(HBITMAP hbm, DWORD size, const void* bits) {
  auto bm = Find<Bitmap>(hbm);
  if (!bm || !bits) return 0;
  Surface to = bm->Pixels(), from = DdbView(bm->Fmt(), bits);
  LONG done = 0;
  for (int y = 0; y < to.height && DWORD(done + from.stride) <= size; ++y, done += static_cast<LONG>(from.stride))
    std::memcpy(to.Row(y), from.Row(y), static_cast<size_t>(from.stride));
  return done;
}

UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors) {
  auto dc = DcOf(hdc);
  if (!dc || !dc->State().bitmap || !colors) return 0;
  auto& t = dc->State().bitmap->Colors();
  if (!dc->State().bitmap->Fmt().dibSection || start >= t.size()) return 0;
  count = std::min<UINT>(count, static_cast<UINT>(t.size()) - start);
  std::copy_n(t.begin() + start, count, colors);
  return count;
}

UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors) {
  auto dc = DcOf(hdc);
  if (!dc || !dc->State().bitmap || !colors) return 0;
  auto& t = dc->State().bitmap->Colors();
  if (!dc->State().bitmap->Fmt().dibSection || start >= t.size()) return 0;
  count = std::min<UINT>(count, static_cast<UINT>(t.size()) - start);
  std::copy_n(colors, count, t.begin() + start);
  return count;
}
