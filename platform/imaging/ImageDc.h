// A memory DC whose selected bitmap is a held picture's own pixel memory: drawing
// through the DC changes the picture, and writes into the bitmap's bits are the
// picture's pixels. The bitmap keeps the memory alive while any DC uses it.
#pragma once
#include <memory>

#include "WinGdi.h"
#include "imaging/Dib.h"

namespace plat::imaging {

class ImageDc {
 public:
  ImageDc() = default;
  ~ImageDc() { Release(); }
  ImageDc(const ImageDc&) = delete;
  ImageDc& operator=(const ImageDc&) = delete;

  // Opens a DC over `picture`'s memory; null on failure. Opening again while open
  // answers the open DC when it is over the same picture.
  HDC Open(const std::shared_ptr<Dib>& picture);
  // Deselects and deletes the bitmap and the DC; false when none was open.
  bool Release();
  HDC Dc() const { return dc_; }
  const Dib* Picture() const { return picture_.get(); }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::shared_ptr<Dib> picture_;
};

}  // namespace plat::imaging
