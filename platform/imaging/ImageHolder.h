// One hold on a picture of the image store: what a control, one of its numbered
// slots or an image slot of the program keeps. Holding keeps the picture alive;
// changing it through the holder never shows through any other holder.
#pragma once
#include <memory>
#include <utility>

#include "imaging/Dib.h"

namespace plat::imaging {

class ImageHolder {
 public:
  ImageHolder() = default;
  ~ImageHolder() { Clear(); }
  ImageHolder(ImageHolder&& other) noexcept : handle_(std::exchange(other.handle_, 0)) {}
  ImageHolder& operator=(ImageHolder&& other) noexcept;
  ImageHolder(const ImageHolder&) = delete;
  ImageHolder& operator=(const ImageHolder&) = delete;

  DWORD Handle() const { return handle_; }
  bool Empty() const { return handle_ == 0; }
  // Holds the picture `h` names (0 lets go); false, and nothing changed, when `h`
  // names no picture.
  bool Hold(DWORD h);
  void Clear();
  // Holds a new picture; false (and the old one kept) when it cannot be stored.
  bool Adopt(Dib dib);
  // The held picture for reading, or null.
  std::shared_ptr<const Dib> Picture() const;
  // The held picture made private for a change (the handle may change); null when
  // nothing is held or the private copy does not fit in memory.
  std::shared_ptr<Dib> ForWrite();
  // Puts `dib` in place of the held picture (the handle may change); false when
  // nothing is held or it cannot be stored.
  bool Replace(Dib dib);

 private:
  DWORD handle_ = 0;
};

}  // namespace plat::imaging
