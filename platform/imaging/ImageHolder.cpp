#include "imaging/ImageHolder.h"

#include "imaging/ImageStore.h"

namespace plat::imaging {

ImageHolder& ImageHolder::operator=(ImageHolder&& other) noexcept {
  if (this != &other) {
    Clear();
    handle_ = std::exchange(other.handle_, 0);
  }
  return *this;
}

bool ImageHolder::Hold(DWORD h) {
  if (h == handle_) return true;
  if (h != 0 && !ImageStore::Instance().Acquire(h)) return false;
  Clear();
  handle_ = h;
  return true;
}

void ImageHolder::Clear() {
  if (handle_) ImageStore::Instance().Release(std::exchange(handle_, 0));
}

bool ImageHolder::Adopt(Dib dib) {
  DWORD h = ImageStore::Instance().Add(std::move(dib));
  if (!h) return false;
  Clear();
  handle_ = h;
  return true;
}

std::shared_ptr<const Dib> ImageHolder::Picture() const {
  return handle_ ? ImageStore::Instance().Find(handle_) : nullptr;
}

std::shared_ptr<Dib> ImageHolder::ForWrite() {
  if (!handle_) return nullptr;
  std::shared_ptr<Dib> dib;
  DWORD h = ImageStore::Instance().DetachForWrite(handle_, &dib);
  if (!h) return nullptr;
  handle_ = h;
  return dib;
}

bool ImageHolder::Replace(Dib dib) {
  if (!handle_) return false;
  DWORD h = ImageStore::Instance().Replace(handle_, std::move(dib));
  if (!h) return false;
  handle_ = h;
  return true;
}

}  // namespace plat::imaging
