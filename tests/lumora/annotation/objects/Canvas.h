// A picture to draw annotations on: a memory DC over a 24-bit DIB section, as the
// imaging control's image DC is, with its bytes at hand.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(90, 120, 150)) : width_(width), height_(height) {
    BITMAPINFO bmi{};
    bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) Set(x, y, fill);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  size_t stride() const { return static_cast<size_t>((width_ * 3 + 3) & ~3); }
  std::vector<uint8_t> Bytes() const { return std::vector<uint8_t>(bits_, bits_ + stride() * height_); }
  COLORREF At(int x, int y) const {
    const uint8_t* p = bits_ + stride() * y + 3 * x;
    return RGB(p[2], p[1], p[0]);
  }
  void Set(int x, int y, COLORREF c) {
    uint8_t* p = bits_ + stride() * y + 3 * x;
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
  }
  // Pixels that differ from `before`.
  int Changed(const std::vector<uint8_t>& before) const {
    int n = 0;
    const std::vector<uint8_t> now = Bytes();
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (std::memcmp(&now[stride() * y + 3 * x], &before[stride() * y + 3 * x], 3) != 0) ++n;
    return n;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  uint8_t* bits_ = nullptr;
};
