// Lines, shapes and single pixels.
#include <algorithm>
#include <utility>
#include <vector>

#include "gdi/ApiSupport.h"
#include "gdi/LineRasterizer.h"

using namespace plat::gdi;

namespace {

// The DC's pen made ready for one primitive.
struct PenDraw {
  bool null = true;
  int width = 1;
  int style = PS_SOLID;
  Fill fg, bg;
  bool opaqueGaps = false;
  uint8_t code = 0;
};

PenDraw PenOf(DeviceContext& dc) {
  PenDraw p;
  const auto& pen = dc.State().pen;
  if (!pen || pen->Style() == PS_NULL) return p;
  p.null = false;
  p.width = pen->Width();
  p.style = pen->Style();
  p.fg = dc.SolidFill(pen->log.lopnColor);
  p.bg = dc.SolidFill(dc.State().bkColor);
  p.opaqueGaps = dc.State().bkMode == OPAQUE;
  p.code = Rop2ToRop3(dc.State().rop2);
  return p;
}

void FillRegion(DeviceContext& dc, const Region& r, const Fill& f, uint8_t code) {
  for (const RECT& rc : r.Rects()) dc.FillRect(rc, f, code);
}

// Pixels of a one-pixel pen along a-b, split into dashes and gaps; `step` is where the
// dash pattern stands and moves on by the segment's length.
void ThinSegment(DeviceContext& dc, const PenDraw& pen, POINT a, POINT b, int& step, PixelSet& on, PixelSet& off) {
  const std::vector<int>& dash = DashPattern(pen.style);
  int period = 0;
  for (int d : dash) period += d;
  RECT box = dc.Clip().Box();
  int base = step;
  LinePixels(a, b, box, [&](int x, int y, int64_t i) {
    if (period == 0) {
      on.Add(x, y);
      return;
    }
    int pos = static_cast<int>((base + i) % period);
    size_t k = 0;
    while (pos >= dash[k]) pos -= dash[k], ++k;
    if (k % 2 == 0)
      on.Add(x, y);
    else if (pen.opaqueGaps)
      off.Add(x, y);
  });
  if (period) step = static_cast<int>((base + LineSteps(a, b)) % period);
}

// The pixels a pen puts on a path (device points): one region for the pen's colour and
// one for the gaps of a styled pen on an opaque background.
std::pair<Region, Region> PathPixels(DeviceContext& dc, const PenDraw& pen, const std::vector<POINT>& pts, int& step) {
  if (pen.width > 1) {
    RECT box = dc.Clip().Box();
    box = {box.left - pen.width, box.top - pen.width, box.right + pen.width, box.bottom + pen.width};
    std::vector<Region> parts;
    parts.reserve(pts.size());
    for (size_t i = 0; i + 1 < pts.size(); ++i) parts.push_back(WideSegment(pts[i], pts[i + 1], pen.width, box));
    // Joined pairwise, so a path of many segments never copies one growing region
    // again and again.
    while (parts.size() > 1) {
      for (size_t i = 0; i + 1 < parts.size(); i += 2)
        parts[i / 2] = Region::Combine(parts[i], parts[i + 1], RGN_OR);
      if (parts.size() % 2) parts[parts.size() / 2] = std::move(parts.back());
      parts.resize((parts.size() + 1) / 2);
    }
    return {parts.empty() ? Region() : std::move(parts.front()), Region()};
  }
  PixelSet on, off;
  for (size_t i = 0; i + 1 < pts.size(); ++i) ThinSegment(dc, pen, pts[i], pts[i + 1], step, on, off);
  return {on.ToRegion(), off.ToRegion()};
}

void StrokePath(DeviceContext& dc, const std::vector<POINT>& pts, int& step) {
  PenDraw pen = PenOf(dc);
  if (pen.null || pts.size() < 2) return;
  if (pen.width <= 1) {
    // Segment by segment, as each is its own line: a crossing is drawn twice.
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
      PixelSet on, off;
      ThinSegment(dc, pen, pts[i], pts[i + 1], step, on, off);
      FillRegion(dc, on.ToRegion(), pen.fg, pen.code);
      FillRegion(dc, off.ToRegion(), pen.bg, pen.code);
    }
    return;
  }
  auto [on, off] = PathPixels(dc, pen, pts, step);
  FillRegion(dc, on, pen.fg, pen.code);
}

std::vector<POINT> ToDevice(DeviceContext& dc, const POINT* pts, size_t n) {
  std::vector<POINT> d(n);
  for (size_t i = 0; i < n; ++i) d[i] = dc.ToDevice(pts[i].x, pts[i].y);
  return d;
}

// Fills `area` with the DC's brush under the mix mode, leaving out what the outline covers.
void FillInterior(DeviceContext& dc, const Region& area, const Region& outline) {
  const auto& brush = dc.State().brush;
  if (!brush) return;
  auto fill = dc.BrushFill(*brush);
  if (!fill) return;
  FillRegion(dc, Region::Combine(area, outline, RGN_DIFF), *fill, Rop2ToRop3(dc.State().rop2));
}

BOOL DrawPolygons(HDC hdc, const POINT* pts, const INT* counts, int polygons, const char* call) {
  auto dc = DcOf(hdc);
  if (!dc || !pts || !counts || polygons <= 0) return FALSE;
  size_t total = 0;
  for (int i = 0; i < polygons; ++i) {
    if (counts[i] < 2) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    total += static_cast<size_t>(counts[i]);
  }
  dc->Record(call, std::vector<POINT>(pts, pts + total));
  std::vector<POINT> dev = ToDevice(*dc, pts, total);
  RECT box = dc->Clip().Box();
  Region area = Region::Polygon(dev.data(), counts, polygons, dc->State().polyFillMode, &box);
  PenDraw pen = PenOf(*dc);
  std::vector<std::vector<POINT>> rings;
  size_t at = 0;
  for (int i = 0; i < polygons; ++i) {
    std::vector<POINT> ring(dev.begin() + static_cast<ptrdiff_t>(at), dev.begin() + static_cast<ptrdiff_t>(at + static_cast<size_t>(counts[i])));
    ring.push_back(ring.front());
    rings.push_back(std::move(ring));
    at += static_cast<size_t>(counts[i]);
  }
  Region outline;
  if (!pen.null) {
    for (const auto& ring : rings) {
      int step = 0;
      auto [on, off] = PathPixels(*dc, pen, ring, step);
      outline = Region::Combine(outline, Region::Combine(on, off, RGN_OR), RGN_OR);
    }
  }
  FillInterior(*dc, area, outline);
  for (const auto& ring : rings) {
    int step = 0;
    StrokePath(*dc, ring, step);
  }
  return TRUE;
}

}  // namespace

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
  auto dc = DcOf(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->State().position;
  dc->State().position = {x, y};
  dc->State().styleStep = 0;
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  auto dc = DcOf(hdc);
  if (!dc) return FALSE;
  POINT from = dc->State().position;
  dc->Record("LineTo", {from, {x, y}});
  StrokePath(*dc, {dc->ToDevice(from.x, from.y), dc->ToDevice(x, y)}, dc->State().styleStep);
  dc->State().position = {x, y};
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pts, int count) {
  auto dc = DcOf(hdc);
  if (!dc || !pts || count < 2) return FALSE;
  dc->Record("Polyline", std::vector<POINT>(pts, pts + count));
  int step = 0;
  StrokePath(*dc, ToDevice(*dc, pts, static_cast<size_t>(count)), step);
  return TRUE;
}

BOOL PolylineTo(HDC hdc, const POINT* pts, DWORD count) {
  auto dc = DcOf(hdc);
  if (!dc || !pts) return FALSE;
  if (count == 0) return TRUE;
  std::vector<POINT> path{dc->State().position};
  path.insert(path.end(), pts, pts + count);
  dc->Record("PolylineTo", path);
  std::vector<POINT> dev = ToDevice(*dc, path.data(), path.size());
  StrokePath(*dc, dev, dc->State().styleStep);
  dc->State().position = pts[count - 1];
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* pts, int count) {
  INT n = count;
  return DrawPolygons(hdc, pts, &n, 1, "Polygon");
}

BOOL PolyPolygon(HDC hdc, const POINT* pts, const INT* counts, int polygons) {
  return DrawPolygons(hdc, pts, counts, polygons, "PolyPolygon");
}

BOOL Rectangle(HDC hdc, int l, int t, int r, int b) {
  auto dc = DcOf(hdc);
  if (!dc) return FALSE;
  dc->Record("Rectangle", {{l, t}, {r, b}}, {l, t, r, b});
  RECT d = Normalized(dc->ToDevice(RECT{l, t, r, b}));
  PenDraw pen = PenOf(*dc);
  if (pen.null) {
    // Without a pen the brush covers the area a one-pixel outline would have enclosed
    // together with its top and left edges.
    FillInterior(*dc, Region(RECT{d.left, d.top, d.right - 1, d.bottom - 1}), Region());
    return TRUE;
  }
  int w = pen.width;
  bool inside = dc->State().pen->Style() == PS_INSIDEFRAME;
  // A wide pen straddles the edge (its middle on the outline) unless it draws inside the frame.
  RECT outer = inside ? d : RECT{d.left - w / 2, d.top - w / 2, d.right - 1 - w / 2 + w, d.bottom - 1 - w / 2 + w};
  RECT inner{outer.left + w, outer.top + w, outer.right - w, outer.bottom - w};
  Region frame = Region::Combine(Region(outer), Region(inner), RGN_DIFF);
  FillInterior(*dc, Region(inner), Region());
  if (w == 1 && pen.style != PS_SOLID && pen.style != PS_INSIDEFRAME) {
    int step = 0;
    StrokePath(*dc, {{d.left, d.top}, {d.right - 1, d.top}, {d.right - 1, d.bottom - 1}, {d.left, d.bottom - 1}, {d.left, d.top}},
               step);
  } else {
    FillRegion(*dc, frame, pen.fg, pen.code);
  }
  return TRUE;
}

BOOL Ellipse(HDC hdc, int l, int t, int r, int b) {
  auto dc = DcOf(hdc);
  if (!dc) return FALSE;
  dc->Record("Ellipse", {{l, t}, {r, b}}, {l, t, r, b});
  RECT d = Normalized(dc->ToDevice(RECT{l, t, r, b}));
  RECT box = dc->Clip().Box();
  PenDraw pen = PenOf(*dc);
  RECT outer = d;
  if (pen.null) outer = {d.left, d.top, d.right - 1, d.bottom - 1};
  else if (pen.width > 1 && dc->State().pen->Style() != PS_INSIDEFRAME)
    outer = {d.left - pen.width / 2, d.top - pen.width / 2, d.right - pen.width / 2 + pen.width - 1,
             d.bottom - pen.width / 2 + pen.width - 1};
  int w = pen.null ? 0 : pen.width;
  Region whole = Region::Ellipse(outer, &box);
  Region inner = w ? Region::Ellipse(RECT{outer.left + w, outer.top + w, outer.right - w, outer.bottom - w}, &box) : whole;
  Region ring = Region::Combine(whole, inner, RGN_DIFF);
  FillInterior(*dc, inner, Region());
  if (!pen.null) FillRegion(*dc, ring, pen.fg, pen.code);
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF c) {
  auto dc = DcOf(hdc);
  if (!dc) return CLR_INVALID;
  POINT d = dc->ToDevice(x, y);
  if (!dc->Clip().Contains(d.x, d.y)) return CLR_INVALID;
  dc->Record("SetPixel", {{x, y}});
  DeviceContext::Drawing hold(*dc);
  Surface s = dc->Pixels();
  POINT o = dc->SurfaceOrigin();
  uint32_t v = ColorToPixel(s, c);
  StoreRow(s, d.x + o.x, d.y + o.y, 1, &v);
  dc->Touched(RECT{d.x, d.y, d.x + 1, d.y + 1});
  return PixelToColor(s, v);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF c) { return SetPixel(hdc, x, y, c) != CLR_INVALID ? TRUE : FALSE; }

COLORREF GetPixel(HDC hdc, int x, int y) {
  auto dc = DcOf(hdc);
  if (!dc) return CLR_INVALID;
  POINT d = dc->ToDevice(x, y);
  if (!dc->Clip().Contains(d.x, d.y)) return CLR_INVALID;
  DeviceContext::Drawing hold(*dc);
  Surface s = dc->Pixels();
  POINT o = dc->SurfaceOrigin();
  uint32_t v = 0;
  LoadRow(s, d.x + o.x, d.y + o.y, 1, &v);
  return PixelToColor(s, v);
}
