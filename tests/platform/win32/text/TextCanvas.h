// A 32-bit memory DC for text tests, and what was drawn on it.
#pragma once
#include <cstdint>
#include <cstring>

#include "windows.h"

class TextCanvas {
 public:
  TextCanvas(int w, int h) : w_(w), h_(h) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bmp_ = CreateDIBSection(dc_, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    old_ = SelectObject(dc_, bmp_);
    Clear();
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(0, 0, 0));
  }
  ~TextCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  TextCanvas(const TextCanvas&) = delete;
  TextCanvas& operator=(const TextCanvas&) = delete;

  HDC dc() const { return dc_; }
  void Clear(uint32_t pixel = 0xFFFFFF) {
    for (int i = 0; i < w_ * h_; ++i) bits_[i] = pixel;
  }
  uint32_t At(int x, int y) const { return bits_[y * w_ + x] & 0xFFFFFF; }
  // Bounding box of the pixels equal to `pixel` (right and bottom exclusive; empty when none).
  RECT BoxOf(uint32_t pixel) const {
    RECT r{w_, h_, 0, 0};
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (At(x, y) == pixel) {
          if (x < r.left) r.left = x;
          if (y < r.top) r.top = y;
          if (x + 1 > r.right) r.right = x + 1;
          if (y + 1 > r.bottom) r.bottom = y + 1;
        }
    if (r.right == 0) r = RECT{0, 0, 0, 0};
    return r;
  }
  int Count(uint32_t pixel) const {
    int n = 0;
    for (int i = 0; i < w_ * h_; ++i) n += (bits_[i] & 0xFFFFFF) == pixel;
    return n;
  }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
  uint32_t* bits_ = nullptr;
};

// A font of the test font family with the given height, selected for the life of the object.
class TestFontIn {
 public:
  TestFontIn(HDC dc, LONG height, LONG escapement = 0, bool underline = false, bool strike = false) : dc_(dc) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strike;
    std::strcpy(lf.lfFaceName, "Arial");
    font_ = CreateFontIndirectA(&lf);
    old_ = SelectObject(dc, font_);
  }
  ~TestFontIn() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }
  HFONT font() const { return font_; }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
