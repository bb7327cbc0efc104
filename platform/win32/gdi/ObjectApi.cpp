// GDI objects: stock objects, selection, deletion, description; pens, brushes, palettes.
#include <algorithm>
#include <cstring>

#include "Faults.h"
#include "gdi/ApiSupport.h"
#include "gdi/RegionObject.h"

using namespace plat::gdi;

HGDIOBJ GetStockObject(int index) {
  auto obj = StockObject(index);
  return obj ? obj->Handle() : nullptr;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
  auto dc = DcOf(hdc);
  auto obj = FindObject(h);
  if (!dc || !obj) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (obj->Type() == OBJ_REGION) {
    // Selecting a region sets a copy as the clip region and answers its complexity.
    int kind = SelectClipRgn(hdc, static_cast<HRGN>(h));
    return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(kind));
  }
  auto old = dc->Select(obj);
  if (old && old->Type() == OBJ_BITMAP) dc->ClipChanged();
  return old ? old->Handle() : nullptr;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  auto dc = DcOf(hdc);
  if (!dc) return nullptr;
  auto obj = dc->Current(type);
  return obj ? obj->Handle() : nullptr;
}

DWORD GetObjectType(HGDIOBJ h) {
  auto obj = FindObject(h);
  if (!obj) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return obj->Type();
}

int GetObjectA(HGDIOBJ h, int size, LPVOID out) {
  if (DWORD e = plat::faults::Check("GetObjectA")) {
    SetLastError(e);
    return 0;
  }
  auto obj = FindObject(h);
  if (!obj) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return obj->Describe(size, out);
}

BOOL DeleteObject(HGDIOBJ h) {
  auto obj = FindObject(h);
  if (!obj || dynamic_cast<DeviceContext*>(obj.get())) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return RequestDelete(*obj) ? TRUE : FALSE;
}

BOOL UnrealizeObject(HGDIOBJ h) { return FindObject(h) ? TRUE : FALSE; }

// ---- pens

HPEN CreatePenIndirect(const LOGPEN* lp) {
  if (!lp) return nullptr;
  LOGPEN p = *lp;
  UINT style = p.lopnStyle & PS_STYLE_MASK;
  if (style > PS_INSIDEFRAME) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (p.lopnWidth.x < 0) p.lopnWidth.x = 0;
  // Dashes and dots exist only on one-pixel pens; a wider styled pen draws solid.
  if (p.lopnWidth.x > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT) p.lopnStyle = PS_SOLID;
  p.lopnColor &= 0x03FFFFFF;
  return Add<HPEN>(std::make_shared<Pen>(p));
}

HPEN CreatePen(int style, int width, COLORREF color) {
  LOGPEN lp{static_cast<UINT>(style), {width, 0}, color};
  return CreatePenIndirect(&lp);
}

// ---- brushes

HBRUSH CreateSolidBrush(COLORREF color) { return Add<HBRUSH>(std::make_shared<Brush>(LOGBRUSH{BS_SOLID, color, 0})); }

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Add<HBRUSH>(std::make_shared<Brush>(LOGBRUSH{BS_HATCHED, color, static_cast<ULONG_PTR>(hatch)}));
}

HBRUSH CreatePatternBrush(HBITMAP hbm) {
  auto bm = Find<Bitmap>(hbm);
  if (!bm) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto b = std::make_shared<Brush>(LOGBRUSH{BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(hbm)});
  Surface s = bm->Pixels();
  b->monoPattern = bm->IsMono();
  // The top-left 8x8 pixels, repeated when the bitmap is smaller.
  for (int y = 0; y < 8; ++y) {
    uint32_t px[8];
    LoadRow(s, 0, y % s.height, std::min(8, s.width), px);
    for (int x = 0; x < 8; ++x) {
      uint32_t v = px[x % std::min(8, s.width)];
      b->patternBits[static_cast<size_t>(y * 8 + x)] = static_cast<uint8_t>(v & 1);
      b->patternColors[static_cast<size_t>(y * 8 + x)] = PixelToColor(s, v);
    }
  }
  return Add<HBRUSH>(b);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return nullptr;
  switch (lb->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(lb->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(lb->lbHatch), lb->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

// ---- palettes

HPALETTE CreatePalette(const LOGPALETTE* lp) {
  if (!lp || lp->palVersion != 0x300 || lp->palNumEntries == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<PALETTEENTRY> e(lp->palPalEntry, lp->palPalEntry + lp->palNumEntries);
  return Add<HPALETTE>(std::make_shared<Palette>(std::move(e)));
}

HPALETTE CreateHalftonePalette(HDC) { return Add<HPALETTE>(std::make_shared<Palette>(HalftoneEntries())); }

HPALETTE SelectPalette(HDC hdc, HPALETTE pal, BOOL) {
  auto dc = DcOf(hdc);
  auto p = Find<Palette>(pal);
  if (!dc || !p) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto old = dc->Select(p);
  return old ? static_cast<HPALETTE>(old->Handle()) : nullptr;
}

// The screen is true colour: nothing is mapped into a hardware palette.
UINT RealizePalette(HDC hdc) { return DcOf(hdc) ? 0 : static_cast<UINT>(-1); }

UINT GetPaletteEntries(HPALETTE pal, UINT start, UINT count, LPPALETTEENTRY out) {
  auto p = Find<Palette>(pal);
  if (!p) return 0;
  UINT n = static_cast<UINT>(p->entries.size());
  if (!out) return n;
  if (start >= n) return 0;
  count = std::min(count, n - start);
  std::copy_n(p->entries.begin() + start, count, out);
  return count;
}

UINT SetPaletteEntries(HPALETTE pal, UINT start, UINT count, const PALETTEENTRY* in) {
  auto p = Find<Palette>(pal);
  if (!p || !in || p->IsStock()) return 0;
  UINT n = static_cast<UINT>(p->entries.size());
  if (start >= n) return 0;
  count = std::min(count, n - start);
  std::copy_n(in, count, p->entries.begin() + start);
  return count;
}

UINT GetNearestPaletteIndex(HPALETTE pal, COLORREF c) {
  auto p = Find<Palette>(pal);
  if (!p || p->entries.empty()) return CLR_INVALID;
  UINT best = 0;
  long bestDist = -1;
  for (UINT i = 0; i < p->entries.size(); ++i) {
    const PALETTEENTRY& e = p->entries[i];
    long dr = long(GetRValue(c)) - e.peRed, dg = long(GetGValue(c)) - e.peGreen, db = long(GetBValue(c)) - e.peBlue;
    long d = dr * dr + dg * dg + db * db;
    if (bestDist < 0 || d < bestDist) best = i, bestDist = d;
  }
  return best;
}
