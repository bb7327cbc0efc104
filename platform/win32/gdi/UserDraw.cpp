// The window manager's drawing helpers that work on any DC: rectangle fills and frames,
// focus rectangles, 3-D edges and frame controls, in the system colours.
#include <algorithm>

#include "gdi/ApiSupport.h"
#include "gdi/LineRasterizer.h"
#include "gdi/SysColors.h"

using namespace plat::gdi;

namespace {

void Solid(DeviceContext& dc, const RECT& device, COLORREF c) {
  dc.FillRect(device, dc.SolidFill(c), RopCode(PATCOPY));
}

// FillRect also takes a system colour index plus one in place of a brush.
std::shared_ptr<Brush> BrushArg(HBRUSH h) {
  auto v = reinterpret_cast<uintptr_t>(h);
  if (v >= 1 && v <= 31) h = GetSysColorBrush(static_cast<int>(v - 1));
  return Find<Brush>(h);
}

Region FrameOf(const RECT& r, int w, int h) {
  return Region::Combine(Region(r), Region(RECT{r.left + w, r.top + h, r.right - w, r.bottom - h}), RGN_DIFF);
}

}  // namespace

int FillRect(HDC hdc, const RECT* rc, HBRUSH brush) {
  auto dc = DcOf(hdc);
  auto b = BrushArg(brush);
  if (!dc || !rc || !b) return 0;
  dc->Record("FillRect", {}, *rc);
  auto fill = dc->BrushFill(*b);
  if (fill) dc->FillRect(dc->ToDevice(*rc), *fill, RopCode(PATCOPY));
  return 1;
}

int FrameRect(HDC hdc, const RECT* rc, HBRUSH brush) {
  auto dc = DcOf(hdc);
  auto b = BrushArg(brush);
  if (!dc || !rc || !b) return 0;
  dc->Record("FrameRect", {}, *rc);
  auto fill = dc->BrushFill(*b);
  if (!fill) return 1;
  RECT d = dc->ToDevice(*rc);
  if (d.left >= d.right || d.top >= d.bottom) return 1;
  const Region area = FrameOf(d, 1, 1);
  for (const RECT& r : area.Rects()) dc->FillRect(r, *fill, RopCode(PATCOPY));
  return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rc) {
  auto dc = DcOf(hdc);
  if (!dc || !rc) return FALSE;
  dc->Record("InvertRect", {}, *rc);
  dc->FillRect(dc->ToDevice(*rc), Fill{}, RopCode(DSTINVERT));
  return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rc) {
  auto dc = DcOf(hdc);
  if (!dc || !rc) return FALSE;
  dc->Record("DrawFocusRect", {}, *rc);
  RECT d = dc->ToDevice(*rc);
  if (d.left >= d.right || d.top >= d.bottom) return TRUE;
  // Every other pixel of the one-pixel frame is inverted, so drawing it again erases it.
  Fill f;
  f.patterned = true;
  uint32_t all = PixelMask(dc->Pixels().bpp);
  for (int i = 0; i < 64; ++i) f.pattern[i] = ((i / 8 + i % 8) & 1) ? 0 : all;
  POINT o = dc->SurfaceOrigin();
  f.orgX = o.x, f.orgY = o.y;
  const Region area = FrameOf(d, 1, 1);
  for (const RECT& r : area.Rects()) dc->FillRect(r, f, RopCode(PATINVERT));
  return TRUE;
}

namespace {

// Top-left and bottom-right colours of one ring of a 3-D edge (-1: not drawn).
struct Ring {
  int tl = -1, br = -1;
};

Ring OuterRing(UINT edge, UINT flags) {
  UINT b = edge & BDR_OUTER;
  if (!b) return {};
  if (flags & BF_MONO) return {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
  if (flags & BF_FLAT) return {COLOR_3DSHADOW, COLOR_3DSHADOW};
  bool soft = flags & BF_SOFT;
  if (b & BDR_RAISEDOUTER) return {soft ? COLOR_3DHILIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW};
  return {soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW, COLOR_3DHILIGHT};
}

Ring InnerRing(UINT edge, UINT flags) {
  UINT b = edge & BDR_INNER;
  if (!b) return {};
  if (flags & BF_MONO) return {COLOR_WINDOW, COLOR_WINDOW};
  if (flags & BF_FLAT) return {COLOR_3DFACE, COLOR_3DFACE};
  bool soft = flags & BF_SOFT;
  if (b & BDR_RAISEDINNER) return {soft ? COLOR_3DLIGHT : COLOR_3DHILIGHT, COLOR_3DSHADOW};
  return {soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
}

// Draws one ring on the sides asked for and moves those sides in by one pixel. The
// bottom-left and top-right corners take the bottom-right colour.
void DrawRing(DeviceContext& dc, RECT& r, const Ring& ring, UINT flags) {
  if (ring.tl < 0) return;
  COLORREF tl = SysColor(ring.tl), br = SysColor(ring.br);
  if (flags & BF_TOP) Solid(dc, {r.left, r.top, r.right - 1, r.top + 1}, tl);
  if (flags & BF_LEFT) Solid(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, tl);
  if (flags & BF_BOTTOM) Solid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, br);
  if (flags & BF_RIGHT) Solid(dc, {r.right - 1, r.top, r.right, r.bottom}, br);
  if (flags & BF_LEFT) ++r.left;
  if (flags & BF_TOP) ++r.top;
  if (flags & BF_RIGHT) --r.right;
  if (flags & BF_BOTTOM) --r.bottom;
}

void EdgeOnDevice(DeviceContext& dc, RECT& d, UINT edge, UINT flags) {
  DrawRing(dc, d, OuterRing(edge, flags), flags);
  DrawRing(dc, d, InnerRing(edge, flags), flags);
  if ((flags & BF_MIDDLE) && d.left < d.right && d.top < d.bottom)
    Solid(dc, d, SysColor(flags & (BF_MONO | BF_FLAT) ? COLOR_WINDOW : COLOR_3DFACE));
}

}  // namespace

BOOL DrawEdge(HDC hdc, LPRECT rc, UINT edge, UINT flags) {
  auto dc = DcOf(hdc);
  if (!dc || !rc) return FALSE;
  dc->Record("DrawEdge", {}, *rc);
  RECT d = dc->ToDevice(*rc);
  EdgeOnDevice(*dc, d, edge, flags);
  if (flags & BF_ADJUST) {
    POINT a = dc->ToLogical(d.left, d.top), b = dc->ToLogical(d.right, d.bottom);
    *rc = {a.x, a.y, b.x, b.y};
  }
  return TRUE;
}

namespace {

// Glyphs are drawn as pixel sets centred in the control; g is their size.
using Glyph = PixelSet;

void Span(Glyph& g, int x0, int x1, int y) {
  for (int x = x0; x < x1; ++x) g.Add(x, y);
}
void Box(Glyph& g, int l, int t, int r, int b) {
  for (int y = t; y < b; ++y) Span(g, l, r, y);
}

Glyph CaptionGlyph(UINT kind, const RECT& c) {
  Glyph g;
  int s = std::min(c.right - c.left, c.bottom - c.top);
  int n = std::max(4, (s * 6) / 10) & ~1;  // even, so the shapes sit square
  int x0 = c.left + (c.right - c.left - n) / 2, y0 = c.top + (c.bottom - c.top - n) / 2;
  switch (kind) {
    case DFCS_CAPTIONCLOSE:
      for (int i = 0; i < n; ++i) {
        Span(g, x0 + i, x0 + i + 2, y0 + i);
        Span(g, x0 + n - 1 - i, x0 + n + 1 - i, y0 + i);
      }
      break;
    case DFCS_CAPTIONMIN:
      Box(g, x0, y0 + n - 2, x0 + n, y0 + n);
      break;
    case DFCS_CAPTIONMAX:
      Box(g, x0, y0, x0 + n + 1, y0 + 2);
      Box(g, x0, y0, x0 + 1, y0 + n);
      Box(g, x0 + n, y0, x0 + n + 1, y0 + n);
      Box(g, x0, y0 + n - 1, x0 + n + 1, y0 + n);
      break;
    case DFCS_CAPTIONRESTORE: {
      int m = n * 2 / 3;
      auto win = [&](int l, int t) {
        Box(g, l, t, l + m + 1, t + 2);
        Box(g, l, t, l + 1, t + m);
        Box(g, l + m, t, l + m + 1, t + m);
        Box(g, l, t + m - 1, l + m + 1, t + m);
      };
      win(x0 + n - m, y0);
      win(x0, y0 + n - m);
      break;
    }
    case DFCS_CAPTIONHELP: {
      int cx = x0 + n / 2;
      Box(g, cx - 2, y0, cx + 2, y0 + 1);
      Box(g, cx - 3, y0 + 1, cx - 1, y0 + 3);
      Box(g, cx + 1, y0 + 1, cx + 3, y0 + n / 2);
      Box(g, cx - 1, y0 + n / 2, cx + 1, y0 + n - 3);
      Box(g, cx - 1, y0 + n - 2, cx + 1, y0 + n);
      break;
    }
  }
  return g;
}

Glyph ArrowGlyph(UINT kind, const RECT& c) {
  Glyph g;
  int s = std::min(c.right - c.left, c.bottom - c.top);
  int n = std::max(2, (s + 1) / 3);  // rows of the triangle: 1, 3, 5 ... pixels
  int cx = c.left + (c.right - c.left) / 2, cy = c.top + (c.bottom - c.top) / 2;
  for (int k = 0; k < n; ++k) {
    switch (kind) {
      case DFCS_SCROLLUP:
        Span(g, cx - k, cx + k + 1, cy - n / 2 + k);
        break;
      case DFCS_SCROLLDOWN:
      case DFCS_SCROLLCOMBOBOX:
        Span(g, cx - (n - 1 - k), cx + (n - 1 - k) + 1, cy - n / 2 + k);
        break;
      case DFCS_SCROLLLEFT:
        for (int y = cy - k; y <= cy + k; ++y) g.Add(cx - n / 2 + k, y);
        break;
      case DFCS_SCROLLRIGHT:
        for (int y = cy - (n - 1 - k); y <= cy + (n - 1 - k); ++y) g.Add(cx - n / 2 + k, y);
        break;
    }
  }
  return g;
}

Glyph CheckGlyph(const RECT& c) {
  Glyph g;
  int n = std::max(3, std::min(c.right - c.left, c.bottom - c.top) - 6);
  int x0 = c.left + (c.right - c.left - n) / 2, y0 = c.top + (c.bottom - c.top - n) / 2;
  int knee = n / 3;
  for (int i = 0; i < n; ++i) {
    int y = i <= knee ? y0 + n / 2 + i : y0 + n / 2 + knee - (i - knee);
    Span(g, x0 + i, x0 + i + 1, y - 1);
    Span(g, x0 + i, x0 + i + 1, y);
    Span(g, x0 + i, x0 + i + 1, y + 1);
  }
  return g;
}

// Draws a glyph: inactive glyphs are engraved (a highlight copy one pixel down-right,
// then the shadow colour); pushed ones move one pixel down-right.
void DrawGlyph(DeviceContext& dc, const Glyph& g, UINT state) {
  Region r = g.ToRegion();
  if (state & DFCS_PUSHED) r.Offset(1, 1);
  if (state & DFCS_INACTIVE) {
    Region shadow = r;
    shadow.Offset(1, 1);
    for (const RECT& rc : shadow.Rects()) Solid(dc, rc, SysColor(COLOR_3DHILIGHT));
    for (const RECT& rc : r.Rects()) Solid(dc, rc, SysColor(COLOR_3DSHADOW));
    return;
  }
  for (const RECT& rc : r.Rects()) Solid(dc, rc, SysColor(COLOR_BTNTEXT));
}

void ButtonFace(DeviceContext& dc, RECT& d, UINT state) {
  if (state & DFCS_FLAT)
    EdgeOnDevice(dc, d, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_MIDDLE);
  else if (state & (DFCS_PUSHED | DFCS_CHECKED))
    EdgeOnDevice(dc, d, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_SOFT);
  else
    EdgeOnDevice(dc, d, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
}

}  // namespace

BOOL DrawFrameControl(HDC hdc, LPRECT rc, UINT type, UINT state) {
  auto dc = DcOf(hdc);
  if (!dc || !rc) return FALSE;
  dc->Record("DrawFrameControl", {}, *rc);
  RECT d = dc->ToDevice(*rc);
  UINT kind = state & 0xFF;
  // Glyphs are drawn pixel by pixel: controls beyond any screen's size get their face only.
  bool glyphs = d.right - d.left <= 4096 && d.bottom - d.top <= 4096;
  switch (type) {
    case DFC_CAPTION:
      if (kind > DFCS_CAPTIONHELP) return FALSE;
      ButtonFace(*dc, d, state);
      if (glyphs) DrawGlyph(*dc, CaptionGlyph(kind, d), state);
      return TRUE;
    case DFC_SCROLL:
      if (kind > DFCS_SCROLLCOMBOBOX || kind == 4) return FALSE;
      if (state & DFCS_PUSHED)
        EdgeOnDevice(*dc, d, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_MIDDLE);
      else
        ButtonFace(*dc, d, state);
      if (glyphs) DrawGlyph(*dc, ArrowGlyph(kind, d), state);
      return TRUE;
    case DFC_BUTTON:
      if (kind & DFCS_BUTTONPUSH) {
        ButtonFace(*dc, d, state);
        return TRUE;
      }
      // Check boxes: a sunken well, white unless inactive or pushed, with the tick.
      EdgeOnDevice(*dc, d, EDGE_SUNKEN, BF_RECT);
      Solid(*dc, d, SysColor(state & (DFCS_INACTIVE | DFCS_PUSHED) ? COLOR_3DFACE : COLOR_WINDOW));
      if ((state & DFCS_CHECKED) && glyphs) {
        Region r = CheckGlyph(d).ToRegion();
        for (const RECT& x : r.Rects())
          Solid(*dc, x, SysColor(state & DFCS_INACTIVE ? COLOR_3DSHADOW : COLOR_WINDOWTEXT));
      }
      return TRUE;
    default:
      return FALSE;
  }
}
