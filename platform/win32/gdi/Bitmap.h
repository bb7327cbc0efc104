// Bitmaps: device bitmaps (CreateBitmap, CreateCompatibleBitmap) and DIB sections, over
// memory of their own or memory another module owns.
#pragma once
#include <memory>
#include <vector>

#include "gdi/GdiObject.h"
#include "gdi/Surface.h"

namespace plat::gdi {

class Bitmap : public GdiObject {
 public:
  struct Format {
    int width = 0;
    int height = 0;  // always positive
    int bpp = 32;
    bool bottomUp = false;
    bool dibSection = false;
    std::vector<RGBQUAD> colors;  // for 1, 4 and 8 bits
  };
  // Own, zero-filled storage; nullptr when the format is not supported or too large. As
  // with a DIB section on Windows, its pages take memory only once they are written.
  static std::shared_ptr<Bitmap> Create(Format format);
  // Storage that owner keeps alive (rows 4-byte aligned, as a DIB).
  static std::shared_ptr<Bitmap> Over(Format format, uint8_t* bits, std::shared_ptr<void> owner);
  // The 1x1 monochrome bitmap every new memory DC starts with.
  static std::shared_ptr<Bitmap> DefaultMono();

  DWORD Type() const override { return OBJ_BITMAP; }
  int Describe(int size, void* out) const override;

  const Format& Fmt() const { return format_; }
  Surface Pixels();
  uint8_t* Bits() { return bits_; }
  ptrdiff_t Stride() const { return stride_; }
  bool IsMono() const { return format_.bpp == 1 && !format_.dibSection; }
  BITMAPINFOHEADER InfoHeader() const;
  std::vector<RGBQUAD>& Colors() { return format_.colors; }

  // The memory DC the bitmap is selected into (a bitmap is in at most one).
  uint32_t selectedIn = 0;

 private:
  Format format_;
  uint8_t* bits_ = nullptr;
  ptrdiff_t stride_ = 0;
  std::shared_ptr<void> owner_;  // the storage: the bitmap's own or another module's
};

// Default colour tables: black and white for 1 bit, the 16 VGA colours for 4 bits and
// the halftone palette for 8 bits.
std::vector<RGBQUAD> DefaultColorTable(int bpp);

}  // namespace plat::gdi
