// A picture as the imaging control keeps it: a bottom-up device-independent bitmap,
// 24-bit BGR or 8-bit with a colour table (grey after Grayscale(8)), rows padded to
// 4 bytes, all pixels in one allocation that GDI can wrap as a DIB section.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "WinTypes.h"
#include "WinGdi.h"

namespace plat::imaging {

class Dib {
 public:
  // Largest side and largest pixel block the control accepts; decoders refuse
  // anything bigger before they allocate.
  static constexpr int kMaxSide = 65535;
  static constexpr size_t kMaxBytes = size_t(1) << 30;

  Dib() = default;

  // A black picture of the given size and depth (8 or 24); an 8-bit picture gets a
  // grey colour table. Returns an empty Dib when the size is invalid or memory is short.
  static Dib Create(int width, int height, int bits);
  static bool SizeAllowed(int width, int height, int bits);
  static int StrideFor(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

  bool Empty() const { return !pixels_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Bits() const { return bits_; }
  int Stride() const { return stride_; }
  size_t ByteSize() const { return size_t(stride_) * size_t(height_); }

  // Row `y` counted from the top of the picture (the memory is bottom-up).
  uint8_t* Row(int y) { return pixels_.get() + size_t(height_ - 1 - y) * size_t(stride_); }
  const uint8_t* Row(int y) const { return pixels_.get() + size_t(height_ - 1 - y) * size_t(stride_); }
  uint8_t* Bits0() { return pixels_.get(); }
  const uint8_t* Bits0() const { return pixels_.get(); }
  // The owner of the pixel memory, for a DIB section over it that must keep it alive.
  std::shared_ptr<uint8_t> PixelOwner() const { return pixels_; }

  std::array<RGBQUAD, 256>& Palette() { return palette_; }
  const std::array<RGBQUAD, 256>& Palette() const { return palette_; }
  bool HasGreyPalette() const;

  // Colour at (x, y), top-down, as 0x00BBGGRR; -1 outside the picture.
  LONG GetPixel(int x, int y) const;
  // The BITMAPINFO (header and, for 8 bits, the colour table) describing the pixels.
  std::vector<uint8_t> BitmapInfo() const;
  // A deep copy (empty when memory is short).
  Dib Clone() const;
  // Same size, depth and pixels (padding bytes excluded).
  bool SamePixels(const Dib& other) const;

 private:
  std::shared_ptr<uint8_t> pixels_;
  std::array<RGBQUAD, 256> palette_{};
  int width_ = 0;
  int height_ = 0;
  int bits_ = 0;
  int stride_ = 0;
};

}  // namespace plat::imaging
