#include "gdi/Blitter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "gdi/Halftone.h"
#include "gdi/PixelConverter.h"

namespace plat::gdi {

namespace {

// Source index for each destination index (normalised extents): the pixel under the
// centre of each destination pixel, mirrored when asked.
// Only destination indexes [from, from + count) are worked out: the visible part.
std::vector<int> Map(int dn, int sn, int s0, bool flip, int from, int count) {
  std::vector<int> m(static_cast<size_t>(count));
  for (int j = 0; j < count; ++j) {
    int64_t i = from + j;
    int64_t k = dn == sn ? i : ((2 * i + 1) * sn) / (2 * int64_t(dn));
    m[static_cast<size_t>(j)] = s0 + static_cast<int>(flip ? sn - 1 - k : k);
  }
  return m;
}

// Source range [first, last] per destination index when shrinking with AND or OR scans.
std::vector<std::pair<int, int>> Ranges(int dn, int sn, int s0, bool flip, int from, int count) {
  std::vector<std::pair<int, int>> r(static_cast<size_t>(count));
  for (int j = 0; j < count; ++j) {
    int64_t i = from + j;
    int a = static_cast<int>(i * sn / dn), b = static_cast<int>((i + 1) * sn / dn) - 1;
    if (b < a) b = a;
    if (flip) a = sn - 1 - a, b = sn - 1 - b, std::swap(a, b);
    r[static_cast<size_t>(j)] = {s0 + a, s0 + b};
  }
  return r;
}

// Keeps a copy of the source rows when source and destination share memory, so a blt that
// scrolls reads the pixels as they were before it started.
struct SourceCopy {
  std::vector<uint8_t> bytes;
  Surface Take(const Surface& s) {
    bytes.assign(s.bits, s.bits + s.stride * s.height);
    Surface c = s;
    c.bits = bytes.data();
    return c;
  }
};

}  // namespace

void Blt(DeviceContext& dst, int x, int y, int w, int h, const BltSource* src, int sx, int sy, int sw, int sh,
         uint8_t code) {
  if (w == 0 || h == 0) return;
  DeviceContext::Drawing hold(dst);
  w = ClampCoord(w), h = ClampCoord(h), sw = ClampCoord(sw), sh = ClampCoord(sh);
  sx = ClampCoord(sx), sy = ClampCoord(sy);
  Surface ds = dst.Pixels();
  if (!ds.Valid()) return;
  const DcState& st = dst.State();
  bool useSrc = RopUsesSource(code), usePat = RopUsesPattern(code), useDst = RopUsesDest(code);
  if (useSrc && (!src || !src->pixels.Valid() || sw == 0 || sh == 0)) return;
  if (!useSrc) sw = w, sh = h, sx = sy = 0;

  bool flipX = (w < 0) != (sw < 0), flipY = (h < 0) != (sh < 0);
  if (w < 0) x += w, w = -w;
  if (h < 0) y += h, h = -h;
  if (sw < 0) sx += sw, sw = -sw;
  if (sh < 0) sy += sh, sh = -sh;

  Fill pat;
  if (usePat) {
    if (!st.brush) return;
    auto f = dst.BrushFill(*st.brush);
    if (!f) {
      // A null brush: patterns read as black, as the brush has no pixels.
      pat = Fill{};
      pat.pixel = 0;
    } else {
      pat = *f;
    }
  }

  SourceCopy copy;
  Surface ss;
  std::unique_ptr<PixelConverter> conv;
  if (useSrc) {
    ss = src->pixels.bits == ds.bits ? copy.Take(src->pixels) : src->pixels;
    conv = std::make_unique<PixelConverter>(ss, ds, src->bkColor, st.textColor, st.bkColor);
  }

  bool stretch = useSrc && (sw != w || sh != h);
  int mode = st.stretchMode;
  bool halftone = stretch && mode == HALFTONE;
  bool scansX = stretch && sw > w && (mode == BLACKONWHITE || mode == WHITEONBLACK);
  bool scansY = stretch && sh > h && (mode == BLACKONWHITE || mode == WHITEONBLACK);
  bool andScans = mode == BLACKONWHITE;

  // The part of the destination the clip lets through; maps are made for it alone.
  RECT box = dst.Clip().Box();
  RECT vis{std::max<LONG>(x, box.left), std::max<LONG>(y, box.top), std::min<LONG>(x + w, box.right),
           std::min<LONG>(y + h, box.bottom)};
  if (vis.left >= vis.right || vis.top >= vis.bottom) return;
  const int bx = vis.left, by = vis.top, nx = vis.right - vis.left, ny = vis.bottom - vis.top;
  std::vector<int> xmap = Map(w, sw, sx, flipX, bx - x, nx), ymap = Map(h, sh, sy, flipY, by - y, ny);
  std::vector<std::pair<int, int>> xr, yr;
  if (scansX) xr = Ranges(w, sw, sx, flipX, bx - x, nx);
  if (scansY) yr = Ranges(h, sh, sy, flipY, by - y, ny);
  std::unique_ptr<Halftone> filter;
  if (halftone)
    filter = std::make_unique<Halftone>(ss, Halftone::Axis(w, sw, sx, flipX, bx - x, nx, ss.width),
                                        Halftone::Axis(h, sh, sy, flipY, by - y, ny, ss.height));

  POINT o = dst.SurfaceOrigin();
  RopRowFn fn = RopRow(code);
  std::vector<uint32_t> sbuf, pbuf, dbuf, raw, conv1, acc, before, halftoned;
  std::vector<char> halftoneDrawn;

  auto inSrcX = [&](int c) { return c >= 0 && c < ss.width; };
  auto inSrcY = [&](int r) { return r >= 0 && r < ss.height; };

  dst.Clip().ForEachClipped(vis, [&](const RECT& c) {
    int left = c.left, right = c.right;
    if (useSrc) {
      // Only destination columns whose source column exists (the map is monotonic).
      while (left < right && !inSrcX(xmap[static_cast<size_t>(left - bx)])) ++left;
      while (right > left && !inSrcX(xmap[static_cast<size_t>(right - 1 - bx)])) --right;
    }
    int n = right - left;
    if (n <= 0) return;
    int surfX = left + o.x;
    bool plainCopy = code == 0xCC && useSrc && !stretch && !flipX && conv->Identity() && ss.bpp == ds.bpp &&
                     ss.bpp >= 8;
    // Stretched copies between equal true-colour formats pick bytes straight from the source row.
    bool pickCopy = code == 0xCC && useSrc && !plainCopy && !halftone && !scansX && !scansY && conv->Identity() &&
                    ss.bpp == ds.bpp && (ss.bpp == 24 || ss.bpp == 32);
    sbuf.resize(static_cast<size_t>(n));
    pbuf.resize(static_cast<size_t>(n));
    dbuf.resize(static_cast<size_t>(n));
    // Source columns span [lo, hi] for this clip piece.
    int lo = 0, hi = -1;
    if (useSrc) {
      int a = xmap[static_cast<size_t>(left - bx)], b = xmap[static_cast<size_t>(right - 1 - bx)];
      lo = std::min(a, b), hi = std::max(a, b);
      if (scansX) {
        lo = std::min(xr[static_cast<size_t>(left - bx)].first, xr[static_cast<size_t>(right - 1 - bx)].first);
        hi = std::max(xr[static_cast<size_t>(left - bx)].second, xr[static_cast<size_t>(right - 1 - bx)].second);
      }
      lo = std::max(lo, 0), hi = std::min(hi, ss.width - 1);
      raw.resize(static_cast<size_t>(hi - lo + 1));
      conv1.resize(raw.size());
    }
    // Loads source row r, converted, into conv1 (index = column - lo).
    int loaded = -1;
    auto loadSrc = [&](int r) {
      if (r == loaded) return;
      LoadRow(ss, lo, r, hi - lo + 1, raw.data());
      conv->Convert(raw.data(), conv1.data(), hi - lo + 1);
      loaded = r;
    };
    auto gather = [&](uint32_t* out) {
      for (int i = 0; i < n; ++i) {
        size_t k = static_cast<size_t>(left + i - bx);
        if (!scansX) {
          out[i] = conv1[static_cast<size_t>(xmap[k] - lo)];
          continue;
        }
        int a = std::max(xr[k].first, lo), b = std::min(xr[k].second, hi);
        uint32_t v = conv1[static_cast<size_t>(a - lo)];
        for (int j = a + 1; j <= b; ++j) v = andScans ? v & conv1[static_cast<size_t>(j - lo)] : v | conv1[static_cast<size_t>(j - lo)];
        out[i] = v;
      }
    };

    if (halftone) {
      // The whole clip piece at once, so its rows can be worked on together.
      halftoned.resize(static_cast<size_t>(n) * (c.bottom - c.top));
      filter->Rows(c.top - by, c.bottom - c.top, left - bx, n, ds, halftoned.data(), &halftoneDrawn);
    }
    for (int yy = c.top; yy < c.bottom; ++yy) {
      size_t ky = static_cast<size_t>(yy - by);
      int surfY = yy + o.y;
      if (useSrc && !halftone && !scansY && !inSrcY(ymap[ky])) continue;
      if (plainCopy) {
        const uint8_t* from = ss.Row(ymap[ky]) + (size_t(lo) * ss.bpp) / 8;
        uint8_t* to = ds.Row(surfY) + (size_t(surfX) * ds.bpp) / 8;
        std::memmove(to, from, (size_t(n) * ds.bpp) / 8);
        continue;
      }
      if (pickCopy) {
        const uint8_t* from = ss.Row(ymap[ky]);
        uint8_t* to = ds.Row(surfY) + size_t(surfX) * (ds.bpp / 8);
        const int* xm = xmap.data() + (left - bx);
        if (ds.bpp == 24)
          for (int i = 0; i < n; ++i, to += 3) std::memcpy(to, from + 3 * size_t(xm[i]), 3);
        else
          for (int i = 0; i < n; ++i, to += 4) std::memcpy(to, from + 4 * size_t(xm[i]), 4);
        continue;
      }
      if (useSrc) {
        if (halftone) {
          const size_t at = static_cast<size_t>(yy - c.top);
          if (!halftoneDrawn[at]) continue;
          std::memcpy(sbuf.data(), halftoned.data() + at * n, sizeof(uint32_t) * n);
        } else if (scansY) {
          bool any = false;
          acc.resize(static_cast<size_t>(n));
          for (int r = std::max(yr[ky].first, 0); r <= std::min(yr[ky].second, ss.height - 1); ++r) {
            loadSrc(r);
            gather(any ? sbuf.data() : acc.data());
            if (any)
              for (int i = 0; i < n; ++i) acc[static_cast<size_t>(i)] = andScans ? acc[static_cast<size_t>(i)] & sbuf[static_cast<size_t>(i)] : acc[static_cast<size_t>(i)] | sbuf[static_cast<size_t>(i)];
            any = true;
          }
          if (!any) continue;
          sbuf = acc;
        } else if (!stretch && !flipX) {
          // Unstretched: the source columns run alongside, no map needed.
          LoadRow(ss, lo, ymap[ky], n, sbuf.data());
          conv->Convert(sbuf.data(), sbuf.data(), n);
        } else {
          loadSrc(ymap[ky]);
          gather(sbuf.data());
        }
      }
      if (usePat) PatternRow(pat, surfX, surfY, n, pbuf.data());
      bool masked = usePat && pat.drawn != ~0ull;
      if (useDst || masked) LoadRow(ds, surfX, surfY, n, dbuf.data());
      if (masked) before = dbuf;
      fn(dbuf.data(), sbuf.data(), pbuf.data(), n);
      if (masked) KeepUndrawn(pat, surfX, surfY, n, before.data(), dbuf.data());
      StoreRow(ds, surfX, surfY, n, dbuf.data());
    }
  });
  dst.Touched(RECT{x, y, x + w, y + h});
}

}  // namespace plat::gdi
