// Region objects and painting regions.
#include "gdi/ApiSupport.h"
#include "gdi/RegionObject.h"

using namespace plat::gdi;

namespace {
HRGN AddRegion(Region r) { return Add<HRGN>(std::make_shared<RegionObject>(std::move(r))); }
std::shared_ptr<RegionObject> Rgn(HRGN h) {
  auto r = Find<RegionObject>(h);
  if (!r) SetLastError(ERROR_INVALID_HANDLE);
  return r;
}
}  // namespace

HRGN CreateRectRgn(int l, int t, int r, int b) { return AddRegion(Region(Normalized(RECT{l, t, r, b}))); }
HRGN CreateRectRgnIndirect(const RECT* rc) { return rc ? CreateRectRgn(rc->left, rc->top, rc->right, rc->bottom) : nullptr; }
HRGN CreateEllipticRgn(int l, int t, int r, int b) { return AddRegion(Region::Ellipse(RECT{l, t, r, b})); }
HRGN CreateEllipticRgnIndirect(const RECT* rc) { return rc ? CreateEllipticRgn(rc->left, rc->top, rc->right, rc->bottom) : nullptr; }

HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode) {
  if (!pts || count < 2 || (fillMode != ALTERNATE && fillMode != WINDING)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return AddRegion(Region::Polygon(pts, &count, 1, fillMode));
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
  auto d = Rgn(dest), ra = Rgn(a);
  auto rb = mode == RGN_COPY ? ra : Rgn(b);
  if (!d || !ra || !rb || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  d->region = Region::Combine(ra->region, rb->region, mode);
  return d->region.Complexity();
}

BOOL SetRectRgn(HRGN h, int l, int t, int r, int b) {
  auto d = Rgn(h);
  if (!d) return FALSE;
  d->region = Region(Normalized(RECT{l, t, r, b}));
  return TRUE;
}

int OffsetRgn(HRGN h, int dx, int dy) {
  auto d = Rgn(h);
  if (!d) return ERROR;
  d->region.Offset(dx, dy);
  return d->region.Complexity();
}

int GetRgnBox(HRGN h, LPRECT rc) {
  auto d = Rgn(h);
  if (!d || !rc) return ERROR;
  *rc = d->region.Box();
  return d->region.Complexity();
}

BOOL PtInRegion(HRGN h, int x, int y) {
  auto d = Rgn(h);
  return d && d->region.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN h, const RECT* rc) {
  auto d = Rgn(h);
  return d && rc && d->region.Intersects(Normalized(*rc)) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
  auto ra = Rgn(a), rb = Rgn(b);
  return ra && rb && ra->region == rb->region ? TRUE : FALSE;
}

namespace {
// The region in device coordinates of the DC.
Region OnDevice(DeviceContext& dc, const Region& r) {
  Region d = r;
  POINT o = dc.ToDevice(0, 0);
  d.Offset(o.x, o.y);
  return d;
}

BOOL PaintWith(HDC hdc, HRGN h, HBRUSH brush, bool mix, const char* call) {
  auto dc = DcOf(hdc);
  auto r = Rgn(h);
  auto b = brush ? Find<Brush>(brush) : dc ? dc->State().brush : nullptr;
  if (!dc || !r || !b) return FALSE;
  dc->Record(call, {}, r->region.Box());
  auto fill = dc->BrushFill(*b);
  if (!fill) return TRUE;
  uint8_t code = mix ? Rop2ToRop3(dc->State().rop2) : RopCode(PATCOPY);
  const Region area = OnDevice(*dc, r->region);
  for (const RECT& rc : area.Rects()) dc->FillRect(rc, *fill, code);
  return TRUE;
}
}  // namespace

BOOL FillRgn(HDC hdc, HRGN h, HBRUSH brush) { return brush ? PaintWith(hdc, h, brush, false, "FillRgn") : FALSE; }
BOOL PaintRgn(HDC hdc, HRGN h) { return PaintWith(hdc, h, nullptr, true, "PaintRgn"); }

BOOL InvertRgn(HDC hdc, HRGN h) {
  auto dc = DcOf(hdc);
  auto r = Rgn(h);
  if (!dc || !r) return FALSE;
  dc->Record("InvertRgn", {}, r->region.Box());
  Fill none;
  const Region area = OnDevice(*dc, r->region);
  for (const RECT& rc : area.Rects()) dc->FillRect(rc, none, RopCode(DSTINVERT));
  return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN h, HBRUSH brush, int w, int hgt) {
  auto dc = DcOf(hdc);
  auto r = Rgn(h);
  auto b = Find<Brush>(brush);
  if (!dc || !r || !b || w < 0 || hgt < 0) return FALSE;
  dc->Record("FrameRgn", {}, r->region.Box());
  // The frame is what is left of the region after shrinking it by w and h on every side.
  Region inner = r->region;
  for (auto [dx, dy] : {std::pair{w, 0}, {-w, 0}, {0, hgt}, {0, -hgt}}) {
    Region moved = r->region;
    moved.Offset(dx, dy);
    inner = Region::Combine(inner, moved, RGN_AND);
  }
  Region frame = Region::Combine(r->region, inner, RGN_DIFF);
  auto fill = dc->BrushFill(*b);
  if (!fill) return TRUE;
  const Region area = OnDevice(*dc, frame);
  for (const RECT& rc : area.Rects()) dc->FillRect(rc, *fill, RopCode(PATCOPY));
  return TRUE;
}
