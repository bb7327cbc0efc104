// A memory DC over a 24-bit DIB section, the kind of picture the imaging control keeps
// (a full camera picture by default).
#pragma once
#include <cstring>

#include "windows.h"

struct Dib {
  explicit Dib(int w = 3840, int h = 3072) {
    BITMAPINFO bmi{};
    bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    dc = CreateCompatibleDC(nullptr);
    bm = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old = SelectObject(dc, bm);
    std::memset(bits, 0x5A, size_t(WIDTHBYTES(w * 24)) * h);
  }
  ~Dib() {
    SelectObject(dc, old);
    DeleteObject(bm);
    DeleteDC(dc);
  }
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
  HDC dc;
  HBITMAP bm;
  HGDIOBJ old;
  void* bits = nullptr;
};
