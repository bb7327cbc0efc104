// Device contexts: creation, capabilities, saved states, coordinates, attributes, clipping.
#include <cstring>

#include "Faults.h"
#include "gdi/ApiSupport.h"
#include "gdi/RegionObject.h"

using namespace plat::gdi;

HDC CreateCompatibleDC(HDC hdc) {
  if (DWORD e = plat::faults::Check("CreateCompatibleDC")) {
    SetLastError(e);
    return nullptr;
  }
  if (hdc && !FindDc(hdc)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return Add<HDC>(DeviceContext::CreateMemory());
}

BOOL DeleteDC(HDC hdc) {
  auto dc = FindDc(hdc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  Table().Remove(dc->Id());
  return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
  auto dc = DcOf(hdc);
  if (!dc) return 0;
  int v = 0;
  if (dc->Target() && dc->Target()->Caps(index, v)) return v;
  SIZE screen = ScreenSize();
  switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return screen.cx * 254 / 960;  // millimetres at 96 dots per inch
    case VERTSIZE: return screen.cy * 254 / 960;
    case HORZRES: case DESKTOPHORZRES: return screen.cx;
    case VERTRES: case DESKTOPVERTRES: return screen.cy;
    case BITSPIXEL: return kScreenBpp;
    case PLANES: return 1;
    case NUMBRUSHES: case NUMPENS: case NUMCOLORS: return -1;  // true colour
    case NUMFONTS: return 0;
    case CURVECAPS: return 0xFF;
    case LINECAPS: return 0xFE;
    case POLYGONALCAPS: return 0xFF;
    case TEXTCAPS: return 0x7800;
    case CLIPCAPS: return CP_RECTANGLE;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB | RC_FLOODFILL;
    case ASPECTX: case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX: case LOGPIXELSY: return 96;
    case SIZEPALETTE: case NUMRESERVED: return 0;  // no palette device
    case COLORRES: return 24;
    case VREFRESH: return 60;
    default: return 0;
  }
}

int SaveDC(HDC hdc) {
  if (DWORD e = plat::faults::Check("SaveDC")) {
    SetLastError(e);
    return 0;
  }
  auto dc = DcOf(hdc);
  return dc ? dc->Save() : 0;
}

BOOL RestoreDC(HDC hdc, int saved) {
  if (DWORD e = plat::faults::Check("RestoreDC")) {
    SetLastError(e);
    return FALSE;
  }
  auto dc = DcOf(hdc);
  return dc && dc->Restore(saved) ? TRUE : FALSE;
}

int SetMapMode(HDC hdc, int mode) {
  auto dc = DcOf(hdc);
  if (!dc) return 0;
  // Only MM_TEXT: logical units are device pixels.
  if (mode != MM_TEXT) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return std::exchange(dc->State().mapMode, mode);
}

int GetMapMode(HDC hdc) {
  auto dc = DcOf(hdc);
  return dc ? dc->State().mapMode : 0;
}

namespace {
BOOL SetOrigin(HDC hdc, POINT DcState::*which, int x, int y, bool offset, LPPOINT old) {
  auto dc = DcOf(hdc);
  if (!dc) return FALSE;
  POINT& p = dc->State().*which;
  if (old) *old = p;
  if (offset)
    p = {ClampCoord(int64_t(p.x) + x), ClampCoord(int64_t(p.y) + y)};
  else
    p = {ClampCoord(x), ClampCoord(y)};
  return TRUE;
}
BOOL GetPoint(HDC hdc, POINT DcState::*which, LPPOINT out) {
  auto dc = DcOf(hdc);
  if (!dc || !out) return FALSE;
  *out = dc->State().*which;
  return TRUE;
}
}  // namespace

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old) { return SetOrigin(hdc, &DcState::windowOrg, x, y, false, old); }
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT old) { return SetOrigin(hdc, &DcState::windowOrg, dx, dy, true, old); }
BOOL GetWindowOrgEx(HDC hdc, LPPOINT pt) { return GetPoint(hdc, &DcState::windowOrg, pt); }
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old) { return SetOrigin(hdc, &DcState::viewportOrg, x, y, false, old); }
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old) { return SetOrigin(hdc, &DcState::viewportOrg, dx, dy, true, old); }
BOOL GetViewportOrgEx(HDC hdc, LPPOINT pt) { return GetPoint(hdc, &DcState::viewportOrg, pt); }
BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old) { return SetOrigin(hdc, &DcState::brushOrg, x, y, false, old); }
BOOL GetBrushOrgEx(HDC hdc, LPPOINT pt) { return GetPoint(hdc, &DcState::brushOrg, pt); }
BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pt) { return GetPoint(hdc, &DcState::position, pt); }

BOOL DPtoLP(HDC hdc, LPPOINT pts, int count) {
  auto dc = DcOf(hdc);
  if (!dc || (!pts && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) pts[i] = dc->ToLogical(pts[i].x, pts[i].y);
  return TRUE;
}

BOOL LPtoDP(HDC hdc, LPPOINT pts, int count) {
  auto dc = DcOf(hdc);
  if (!dc || (!pts && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) pts[i] = dc->ToDevice(pts[i].x, pts[i].y);
  return TRUE;
}

namespace {
template <class T>
T SetAttr(HDC hdc, T DcState::*field, T value, T failure) {
  auto dc = DcOf(hdc);
  if (!dc) return failure;
  return std::exchange(dc->State().*field, value);
}
template <class T>
T GetAttr(HDC hdc, T DcState::*field, T failure) {
  auto dc = DcOf(hdc);
  return dc ? dc->State().*field : failure;
}
}  // namespace

COLORREF SetBkColor(HDC hdc, COLORREF c) { return SetAttr(hdc, &DcState::bkColor, c, CLR_INVALID); }
COLORREF GetBkColor(HDC hdc) { return GetAttr(hdc, &DcState::bkColor, CLR_INVALID); }
COLORREF SetTextColor(HDC hdc, COLORREF c) { return SetAttr(hdc, &DcState::textColor, c, CLR_INVALID); }
COLORREF GetTextColor(HDC hdc) { return GetAttr(hdc, &DcState::textColor, CLR_INVALID); }
int GetBkMode(HDC hdc) { return GetAttr(hdc, &DcState::bkMode, 0); }
int GetROP2(HDC hdc) { return GetAttr(hdc, &DcState::rop2, 0); }
int GetPolyFillMode(HDC hdc) { return GetAttr(hdc, &DcState::polyFillMode, 0); }
int GetStretchBltMode(HDC hdc) { return GetAttr(hdc, &DcState::stretchMode, 0); }

int SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return SetAttr(hdc, &DcState::bkMode, mode, 0);
}
int SetROP2(HDC hdc, int mode) {
  if (mode < R2_BLACK || mode > R2_WHITE) return 0;
  return SetAttr(hdc, &DcState::rop2, mode, 0);
}
int SetPolyFillMode(HDC hdc, int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  return SetAttr(hdc, &DcState::polyFillMode, mode, 0);
}
int SetStretchBltMode(HDC hdc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return SetAttr(hdc, &DcState::stretchMode, mode, 0);
}

COLORREF GetNearestColor(HDC hdc, COLORREF c) {
  auto dc = DcOf(hdc);
  if (!dc) return CLR_INVALID;
  // Memory DCs answer for their bitmap; the screen is true colour.
  if (!dc->IsMemory()) return c & 0xFFFFFF;
  Surface s = dc->Pixels();
  return PixelToColor(s, ColorToPixel(s, c));
}

BOOL GdiFlush() { return TRUE; }

// ---- clipping

namespace {
int ClipResult(DeviceContext& dc) {
  dc.ClipChanged();
  return dc.Clip().Complexity();
}
}  // namespace

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode) {
  auto dc = DcOf(hdc);
  if (!dc) return ERROR;
  auto& clip = dc->State().clip;
  if (!rgn) {
    if (mode != RGN_COPY) return ERROR;
    clip.reset();
    return ClipResult(*dc);
  }
  auto r = Find<RegionObject>(rgn);
  if (!r || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (mode == RGN_COPY || !clip) {
    // Without a clip region the DC is limited by its surface alone.
    Region base = clip ? *clip : Region(RECT{-(1 << 27), -(1 << 27), 1 << 27, 1 << 27});
    clip = mode == RGN_COPY ? r->region : Region::Combine(base, r->region, mode);
  } else {
    clip = Region::Combine(*clip, r->region, mode);
  }
  return ClipResult(*dc);
}

int SelectClipRgn(HDC hdc, HRGN rgn) { return ExtSelectClipRgn(hdc, rgn, RGN_COPY); }

namespace {
int ClipRect(HDC hdc, int l, int t, int r, int b, int mode) {
  auto dc = DcOf(hdc);
  if (!dc) return ERROR;
  RECT d = Normalized(dc->ToDevice(RECT{l, t, r, b}));
  auto& clip = dc->State().clip;
  Region base = clip ? *clip : Region(RECT{-(1 << 27), -(1 << 27), 1 << 27, 1 << 27});
  clip = Region::Combine(base, Region(d), mode);
  return ClipResult(*dc);
}
}  // namespace

int IntersectClipRect(HDC hdc, int l, int t, int r, int b) { return ClipRect(hdc, l, t, r, b, RGN_AND); }
int ExcludeClipRect(HDC hdc, int l, int t, int r, int b) { return ClipRect(hdc, l, t, r, b, RGN_DIFF); }

int OffsetClipRgn(HDC hdc, int dx, int dy) {
  auto dc = DcOf(hdc);
  if (!dc) return ERROR;
  if (dc->State().clip) dc->State().clip->Offset(dx, dy);
  return ClipResult(*dc);
}

int GetClipBox(HDC hdc, LPRECT rc) {
  auto dc = DcOf(hdc);
  if (!dc || !rc) return ERROR;
  const Region& clip = dc->Clip();
  RECT b = clip.Box();
  POINT a = dc->ToLogical(b.left, b.top), z = dc->ToLogical(b.right, b.bottom);
  *rc = {a.x, a.y, z.x, z.y};
  return clip.Complexity();
}

int GetClipRgn(HDC hdc, HRGN rgn) {
  auto dc = DcOf(hdc);
  auto r = Find<RegionObject>(rgn);
  if (!dc || !r) return -1;
  if (!dc->State().clip) return 0;
  r->region = *dc->State().clip;
  return 1;
}

BOOL RectVisible(HDC hdc, const RECT* rc) {
  auto dc = DcOf(hdc);
  if (!dc || !rc) return FALSE;
  return dc->Clip().Intersects(Normalized(dc->ToDevice(*rc))) ? TRUE : FALSE;
}

BOOL PtVisible(HDC hdc, int x, int y) {
  auto dc = DcOf(hdc);
  if (!dc) return FALSE;
  POINT d = dc->ToDevice(x, y);
  return dc->Clip().Contains(d.x, d.y) ? TRUE : FALSE;
}
