#include "imaging/ImageStore.h"

#include <utility>

namespace plat::imaging {

ImageStore& ImageStore::Instance() {
  static ImageStore store;
  return store;
}

DWORD ImageStore::Add(Dib dib) {
  if (dib.Empty()) return 0;
  auto entry = std::make_shared<Entry>();
  entry->dib = std::make_shared<Dib>(std::move(dib));
  return table_.Insert(std::move(entry));
}

bool ImageStore::Acquire(DWORD h) {
  auto e = table_.Find(h);
  if (!e) return false;
  std::lock_guard lock(mutex_);
  if (e->holders <= 0) return false;  // released while we looked it up
  ++e->holders;
  return true;
}

void ImageStore::Release(DWORD h) {
  auto e = table_.Find(h);
  if (!e) return;
  std::shared_ptr<Entry> gone;
  {
    std::lock_guard lock(mutex_);
    if (e->holders <= 0) return;
    if (--e->holders == 0) gone = table_.Remove(h);
  }
  // The pixels are freed here, outside the lock, when no reader keeps them.
}

std::shared_ptr<const Dib> ImageStore::Find(DWORD h) const {
  auto e = table_.Find(h);
  if (!e) return nullptr;
  std::lock_guard lock(mutex_);
  return e->holders > 0 ? e->dib : nullptr;
}

DWORD ImageStore::DetachForWrite(DWORD h, std::shared_ptr<Dib>* out) {
  auto e = table_.Find(h);
  if (!e) return 0;
  std::shared_ptr<Dib> source;
  {
    std::lock_guard lock(mutex_);
    if (e->holders <= 0) return 0;
    if (e->holders == 1) {
      *out = e->dib;
      return h;
    }
    source = e->dib;
  }
  // Copy outside the lock: a large picture takes a while, and the other holders
  // only read it.
  Dib copy = source->Clone();
  if (copy.Empty()) return 0;
  ++copies_;
  auto fresh = std::make_shared<Entry>();
  fresh->dib = std::make_shared<Dib>(std::move(copy));
  std::shared_ptr<Dib> mine = fresh->dib;
  DWORD nh = table_.Insert(std::move(fresh));
  if (nh == 0) return 0;
  Release(h);
  *out = std::move(mine);
  return nh;
}

DWORD ImageStore::Replace(DWORD h, Dib dib) {
  if (dib.Empty()) return 0;
  auto e = table_.Find(h);
  if (!e) return 0;
  auto fresh = std::make_shared<Dib>(std::move(dib));
  std::shared_ptr<Dib> old;
  {
    std::lock_guard lock(mutex_);
    if (e->holders <= 0) return 0;
    if (e->holders == 1) {
      old = std::exchange(e->dib, std::move(fresh));
      return h;
    }
  }
  auto entry = std::make_shared<Entry>();
  entry->dib = std::move(fresh);
  DWORD nh = table_.Insert(std::move(entry));
  if (nh == 0) return 0;
  Release(h);
  return nh;
}

int ImageStore::Holders(DWORD h) const {
  auto e = table_.Find(h);
  if (!e) return 0;
  std::lock_guard lock(mutex_);
  return e->holders;
}

size_t ImageStore::Count() const { return table_.Size(); }

}  // namespace plat::imaging
