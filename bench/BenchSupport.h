// What the benchmarks share: a scratch drive C: and DIB sections to blit between.
#pragma once
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "Config.h"
#include "windows.h"

namespace bench {

// Drive C: of the benchmark: a scratch folder, removed at exit. Answers its native path.
inline const std::string& UseScratchDrive() {
  struct Scratch {
    std::string dir;
    Scratch() {
      char templ[] = "/tmp/lumora-bench-XXXXXX";
      if (mkdtemp(templ)) dir = templ;
      if (!dir.empty()) plat::config::Set("DRIVE_C", dir);
    }
    ~Scratch() {
      std::error_code ec;
      if (!dir.empty()) std::filesystem::remove_all(dir, ec);
    }
  };
  static Scratch scratch;
  return scratch.dir;
}

// A bottom-up DIB section selected into a memory DC, every byte 0x5A.
struct DibDc {
  DibDc(int w, int h, int bitCount = 24) {
    BITMAPINFO bmi{};
    bmi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, WORD(bitCount), BI_RGB, 0, 0, 0, 0, 0};
    dc = CreateCompatibleDC(nullptr);
    bm = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old = SelectObject(dc, bm);
    std::memset(bits, 0x5A, size_t(WIDTHBYTES(w * bitCount)) * h);
  }
  ~DibDc() {
    SelectObject(dc, old);
    DeleteObject(bm);
    DeleteDC(dc);
  }
  DibDc(const DibDc&) = delete;
  DibDc& operator=(const DibDc&) = delete;
  HDC dc;
  HBITMAP bm;
  HGDIOBJ old;
  void* bits = nullptr;
};

}  // namespace bench
