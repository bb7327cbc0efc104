// A memory DC over a DIB section the tests can read directly.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "windows.h"

namespace gditest {

// Pixels are 0x00RRGGBB words of a top-down 32-bit DIB section (or bottom-up when asked).
class Canvas {
 public:
  Canvas(int w, int h, int bpp = 32, bool topDown = true, const std::vector<RGBQUAD>& table = {})
      : w_(w), h_(h), bpp_(bpp) {
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    bmi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, topDown ? -h : h, 1, WORD(bpp), BI_RGB, 0, 0, 0,
                                      DWORD(table.size()), 0};
    if (!table.empty()) std::memcpy(bmi->bmiColors, table.data(), table.size() * sizeof(RGBQUAD));
    dc = CreateCompatibleDC(nullptr);
    bm = CreateDIBSection(dc, bmi, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old = SelectObject(dc, bm);
    stride_ = WIDTHBYTES(w * bpp);
    topDown_ = topDown;
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bm);
    DeleteDC(dc);
  }
  uint8_t* Row(int y) const {
    return static_cast<uint8_t*>(bits_) + (topDown_ ? y : h_ - 1 - y) * stride_;
  }
  // 0x00RRGGBB for 24/32 bits, the index for 8, the bit for 1.
  uint32_t At(int x, int y) const {
    const uint8_t* r = Row(y);
    switch (bpp_) {
      case 1: return (r[x >> 3] >> (7 - (x & 7))) & 1;
      case 8: return r[x];
      case 24: return r[3 * x] | (r[3 * x + 1] << 8) | (uint32_t(r[3 * x + 2]) << 16);
      default: {
        uint32_t v;
        std::memcpy(&v, r + 4 * x, 4);
        return v & 0xFFFFFF;
      }
    }
  }
  void Fill(uint32_t v) {
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) Set(x, y, v);
  }
  void Set(int x, int y, uint32_t v) {
    uint8_t* r = Row(y);
    switch (bpp_) {
      case 1: r[x >> 3] = uint8_t((r[x >> 3] & ~(0x80 >> (x & 7))) | ((v & 1) << (7 - (x & 7)))); break;
      case 8: r[x] = uint8_t(v); break;
      case 24: r[3 * x] = uint8_t(v), r[3 * x + 1] = uint8_t(v >> 8), r[3 * x + 2] = uint8_t(v >> 16); break;
      default: std::memcpy(r + 4 * x, &v, 4);
    }
  }
  // The picture as text, one character per pixel: '.' for `bg`, '#' for anything else.
  std::string Art(uint32_t bg) const {
    std::string s;
    for (int y = 0; y < h_; ++y) {
      for (int x = 0; x < w_; ++x) s += At(x, y) == bg ? '.' : '#';
      s += '\n';
    }
    return s;
  }
  std::vector<uint8_t> Bytes() const {
    const uint8_t* b = static_cast<const uint8_t*>(bits_);
    return std::vector<uint8_t>(b, b + stride_ * h_);
  }
  int W() const { return w_; }
  int H() const { return h_; }

  HDC dc = nullptr;
  HBITMAP bm = nullptr;
  HGDIOBJ old = nullptr;

 private:
  int w_, h_, bpp_;
  void* bits_ = nullptr;
  ptrdiff_t stride_ = 0;
  bool topDown_ = true;
};

// 0x00RRGGBB of a COLORREF, as the canvas reads pixels.
constexpr uint32_t Px(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

}  // namespace gditest
