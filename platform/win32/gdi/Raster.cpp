#include "gdi/Raster.h"

#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace plat::gdi {

uint32_t PixelMask(int bpp) {
  switch (bpp) {
    case 1: return 0x1;
    case 4: return 0xF;
    case 8: return 0xFF;
    case 16: return 0x7FFF;
    default: return 0xFFFFFF;
  }
}

uint32_t ColorToPixel(const Surface& s, COLORREF c) {
  if (s.bpp > 8) {
    uint32_t r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    if (s.bpp == 16) return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    return (r << 16) | (g << 8) | b;
  }
  if ((c >> 24) == 0x01) return (c & 0xFFFF) & PixelMask(s.bpp);  // PALETTEINDEX
  if (!s.colors || s.colorCount <= 0) {
    // A table-less one-bit surface: black or white by brightness.
    return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) >= 12800 ? 1 : 0;
  }
  int best = 0;
  long bestDist = -1;
  for (int i = 0; i < s.colorCount; ++i) {
    long dr = long(GetRValue(c)) - s.colors[i].rgbRed, dg = long(GetGValue(c)) - s.colors[i].rgbGreen,
         db = long(GetBValue(c)) - s.colors[i].rgbBlue;
    long d = dr * dr + dg * dg + db * db;
    if (bestDist < 0 || d < bestDist) best = i, bestDist = d;
    if (d == 0) break;
  }
  return static_cast<uint32_t>(best);
}

COLORREF PixelToColor(const Surface& s, uint32_t p) {
  if (s.bpp > 16) return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  if (s.bpp == 16) {
    auto five = [](uint32_t v) { return static_cast<BYTE>((v << 3) | (v >> 2)); };
    return RGB(five((p >> 10) & 31), five((p >> 5) & 31), five(p & 31));
  }
  if (!s.colors || static_cast<int>(p) >= s.colorCount) return p ? RGB(255, 255, 255) : RGB(0, 0, 0);
  const RGBQUAD& q = s.colors[p];
  return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

void LoadRow(const Surface& s, int x, int y, int n, uint32_t* out) {
  const uint8_t* row = s.Row(y);
  switch (s.bpp) {
    case 1:
      for (int i = 0; i < n; ++i) {
        int c = x + i;
        out[i] = (row[c >> 3] >> (7 - (c & 7))) & 1;
      }
      break;
    case 4:
      for (int i = 0; i < n; ++i) {
        int c = x + i;
        out[i] = (c & 1) ? row[c >> 1] & 0xF : row[c >> 1] >> 4;
      }
      break;
    case 8:
      for (int i = 0; i < n; ++i) out[i] = row[x + i];
      break;
    case 16:
      for (int i = 0; i < n; ++i) out[i] = (row[2 * (x + i)] | (row[2 * (x + i) + 1] << 8)) & 0x7FFF;
      break;
    case 24: {
      const uint8_t* p = row + 3 * x;
      for (int i = 0; i < n; ++i, p += 3) out[i] = p[0] | (p[1] << 8) | (uint32_t(p[2]) << 16);
      break;
    }
    default: {
      const uint8_t* p = row + 4 * x;
      for (int i = 0; i < n; ++i, p += 4) out[i] = p[0] | (p[1] << 8) | (uint32_t(p[2]) << 16);
      break;
    }
  }
}

void StoreRow(const Surface& s, int x, int y, int n, const uint32_t* in) {
  uint8_t* row = s.Row(y);
  switch (s.bpp) {
    case 1:
      for (int i = 0; i < n; ++i) {
        int c = x + i;
        uint8_t bit = static_cast<uint8_t>(0x80 >> (c & 7));
        if (in[i] & 1)
          row[c >> 3] |= bit;
        else
          row[c >> 3] &= static_cast<uint8_t>(~bit);
      }
      break;
    case 4:
      for (int i = 0; i < n; ++i) {
        int c = x + i;
        uint8_t& b = row[c >> 1];
        b = (c & 1) ? static_cast<uint8_t>((b & 0xF0) | (in[i] & 0xF))
                    : static_cast<uint8_t>((b & 0x0F) | ((in[i] & 0xF) << 4));
      }
      break;
    case 8:
      for (int i = 0; i < n; ++i) row[x + i] = static_cast<uint8_t>(in[i]);
      break;
    case 16:
      for (int i = 0; i < n; ++i) {
        row[2 * (x + i)] = static_cast<uint8_t>(in[i]);
        row[2 * (x + i) + 1] = static_cast<uint8_t>((in[i] >> 8) & 0x7F);
      }
      break;
    case 24: {
      uint8_t* p = row + 3 * x;
      for (int i = 0; i < n; ++i, p += 3) {
        p[0] = static_cast<uint8_t>(in[i]);
        p[1] = static_cast<uint8_t>(in[i] >> 8);
        p[2] = static_cast<uint8_t>(in[i] >> 16);
      }
      break;
    }
    default: {
      // The fourth byte of a 32-bit pixel is cleared, as drawing leaves no alpha.
      uint32_t* p = reinterpret_cast<uint32_t*>(row + 4 * x);
      for (int i = 0; i < n; ++i) std::memcpy(p + i, &in[i], 4), reinterpret_cast<uint8_t*>(p + i)[3] = 0;
      break;
    }
  }
}

namespace {

// Each set bit of the truth table contributes one minterm; the compiler folds the sum.
template <uint8_t C>
inline uint32_t Rop3(uint32_t P, uint32_t S, uint32_t D) {
  uint32_t r = 0;
  if constexpr ((C & 0x01) != 0) r |= ~P & ~S & ~D;
  if constexpr ((C & 0x02) != 0) r |= ~P & ~S & D;
  if constexpr ((C & 0x04) != 0) r |= ~P & S & ~D;
  if constexpr ((C & 0x08) != 0) r |= ~P & S & D;
  if constexpr ((C & 0x10) != 0) r |= P & ~S & ~D;
  if constexpr ((C & 0x20) != 0) r |= P & ~S & D;
  if constexpr ((C & 0x40) != 0) r |= P & S & ~D;
  if constexpr ((C & 0x80) != 0) r |= P & S & D;
  return r;
}

template <uint8_t C>
void RopRowT(uint32_t* d, const uint32_t* s, const uint32_t* p, int n) {
  for (int i = 0; i < n; ++i) d[i] = Rop3<C>(p[i], s[i], d[i]);
}

// The common codes spelled out, so they stay simple however the compiler folds the rest.
void RowSrcCopy(uint32_t* d, const uint32_t* s, const uint32_t*, int n) { std::memcpy(d, s, sizeof(uint32_t) * n); }
void RowPatCopy(uint32_t* d, const uint32_t*, const uint32_t* p, int n) { std::memcpy(d, p, sizeof(uint32_t) * n); }
void RowSrcAnd(uint32_t* d, const uint32_t* s, const uint32_t*, int n) { for (int i = 0; i < n; ++i) d[i] &= s[i]; }
void RowSrcPaint(uint32_t* d, const uint32_t* s, const uint32_t*, int n) { for (int i = 0; i < n; ++i) d[i] |= s[i]; }
void RowSrcInvert(uint32_t* d, const uint32_t* s, const uint32_t*, int n) { for (int i = 0; i < n; ++i) d[i] ^= s[i]; }
void RowDstInvert(uint32_t* d, const uint32_t*, const uint32_t*, int n) { for (int i = 0; i < n; ++i) d[i] = ~d[i]; }
void RowPatInvert(uint32_t* d, const uint32_t*, const uint32_t* p, int n) { for (int i = 0; i < n; ++i) d[i] ^= p[i]; }
void RowMergeCopy(uint32_t* d, const uint32_t* s, const uint32_t* p, int n) { for (int i = 0; i < n; ++i) d[i] = s[i] & p[i]; }
void RowBlack(uint32_t* d, const uint32_t*, const uint32_t*, int n) { std::memset(d, 0, sizeof(uint32_t) * n); }
void RowWhite(uint32_t* d, const uint32_t*, const uint32_t*, int n) { for (int i = 0; i < n; ++i) d[i] = ~0u; }
// 0xB8 "PSDPxax": where the source is 1 keep the destination, else take the pattern
// (a brush painted through a monochrome mask).
void RowB8(uint32_t* d, const uint32_t* s, const uint32_t* p, int n) { for (int i = 0; i < n; ++i) d[i] = (s[i] & d[i]) | (~s[i] & p[i]); }
// 0xE2 "DSPDxax": where the source is 1 take the pattern, else keep the destination.
void RowE2(uint32_t* d, const uint32_t* s, const uint32_t* p, int n) { for (int i = 0; i < n; ++i) d[i] = (s[i] & p[i]) | (~s[i] & d[i]); }

template <size_t... I>
constexpr std::array<RopRowFn, 256> MakeTable(std::index_sequence<I...>) {
  return {&RopRowT<static_cast<uint8_t>(I)>...};
}

std::array<RopRowFn, 256> BuildTable() {
  auto t = MakeTable(std::make_index_sequence<256>{});
  t[0xCC] = RowSrcCopy;
  t[0xF0] = RowPatCopy;
  t[0x88] = RowSrcAnd;
  t[0xEE] = RowSrcPaint;
  t[0x66] = RowSrcInvert;
  t[0x55] = RowDstInvert;
  t[0x5A] = RowPatInvert;
  t[0xC0] = RowMergeCopy;
  t[0x00] = RowBlack;
  t[0xFF] = RowWhite;
  t[0xB8] = RowB8;
  t[0xE2] = RowE2;
  return t;
}

}  // namespace

RopRowFn RopRow(uint8_t code) {
  static const std::array<RopRowFn, 256> table = BuildTable();
  return table[code];
}

uint8_t Rop2ToRop3(int rop2) {
  // R2 codes minus one are truth tables over (pen << 1 | dest); spread them over the source.
  int t = (rop2 - 1) & 0xF;
  uint8_t code = 0;
  for (int i = 0; i < 8; ++i) {
    int p = (i >> 2) & 1, d = i & 1;
    if ((t >> ((p << 1) | d)) & 1) code |= static_cast<uint8_t>(1 << i);
  }
  return code;
}

void PatternRow(const Fill& fill, int x, int y, int n, uint32_t* out) {
  if (!fill.patterned) {
    for (int i = 0; i < n; ++i) out[i] = fill.pixel;
    return;
  }
  const uint32_t* row = fill.pattern + 8 * ((y - fill.orgY) & 7);
  int c = (x - fill.orgX) & 7;
  for (int i = 0; i < n; ++i) out[i] = row[(c + i) & 7];
}

void KeepUndrawn(const Fill& fill, int x, int y, int n, const uint32_t* before, uint32_t* d) {
  uint64_t row = fill.drawn >> (8 * ((y - fill.orgY) & 7));
  for (int i = 0; i < n; ++i)
    if (!((row >> ((x + i - fill.orgX) & 7)) & 1)) d[i] = before[i];
}

namespace {

// Solid PATCOPY: store the value straight into the row.
bool FillSolidFast(const Surface& s, const RECT& rc, uint32_t v) {
  int n = rc.right - rc.left;
  for (int y = rc.top; y < rc.bottom; ++y) {
    uint8_t* row = s.Row(y);
    switch (s.bpp) {
      case 8:
        std::memset(row + rc.left, static_cast<int>(v), static_cast<size_t>(n));
        break;
      case 24: {
        uint8_t* p = row + 3 * rc.left;
        for (int i = 0; i < n; ++i, p += 3) p[0] = uint8_t(v), p[1] = uint8_t(v >> 8), p[2] = uint8_t(v >> 16);
        break;
      }
      case 32: {
        uint32_t w = v & 0xFFFFFF;
        uint8_t* p = row + 4 * rc.left;
        for (int i = 0; i < n; ++i) std::memcpy(p + 4 * i, &w, 4);
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

}  // namespace

void FillRect(const Surface& s, const RECT& rc, const Fill& fill, uint8_t code) {
  int n = rc.right - rc.left;
  if (n <= 0 || rc.bottom <= rc.top) return;
  bool transparent = fill.patterned && fill.drawn != ~0ull;
  if (code == 0xF0 && !fill.patterned && FillSolidFast(s, rc, fill.pixel)) return;
  RopRowFn fn = RopRow(code);
  bool needDest = RopUsesDest(code) || transparent;
  // Rows are worked in per-thread buffers: lines fill many one-pixel rectangles.
  thread_local std::vector<uint32_t> d, p, zero, keep;
  d.assign(static_cast<size_t>(n), 0);
  p.resize(static_cast<size_t>(n));
  zero.assign(static_cast<size_t>(n), 0);
  for (int y = rc.top; y < rc.bottom; ++y) {
    if (needDest) LoadRow(s, rc.left, y, n, d.data());
    if (transparent) keep = d;
    PatternRow(fill, rc.left, y, n, p.data());
    fn(d.data(), zero.data(), p.data(), n);
    if (transparent) KeepUndrawn(fill, rc.left, y, n, keep.data(), d.data());
    StoreRow(s, rc.left, y, n, d.data());
  }
}

}  // namespace plat::gdi
