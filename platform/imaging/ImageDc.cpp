#include "imaging/ImageDc.h"

#include <vector>

#include "gdi/DibSection.h"

namespace plat::imaging {

HDC ImageDc::Open(const std::shared_ptr<Dib>& picture) {
  if (!picture || picture->Empty()) return nullptr;
  if (dc_) {
    if (picture_ == picture) return dc_;
    Release();
  }
  const std::vector<uint8_t> info = picture->BitmapInfo();
  HBITMAP bitmap = plat::gdi::CreateDibSectionOver(reinterpret_cast<const BITMAPINFO*>(info.data()),
                                                   picture->Bits0(), picture->PixelOwner());
  if (!bitmap) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) {
    DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ previous = SelectObject(dc, bitmap);
  if (!previous) {
    DeleteDC(dc);
    DeleteObject(bitmap);
    return nullptr;
  }
  dc_ = dc;
  bitmap_ = bitmap;
  previous_ = previous;
  picture_ = picture;
  return dc_;
}

bool ImageDc::Release() {
  if (!dc_) return false;
  SelectObject(dc_, previous_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  previous_ = nullptr;
  picture_.reset();
  return true;
}

}  // namespace plat::imaging
