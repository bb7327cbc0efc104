// The process-wide store of pictures behind image handles. A picture lives as long as
// someone holds it (a control, one of its numbered slots, an image slot of the
// program); plain copies of a handle do not keep it alive, and a handle whose picture
// is gone is refused. A holder that changes a picture others hold gets a private copy
// first, so a change never shows through another holder.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "HandleTable.h"
#include "imaging/Dib.h"

namespace plat::imaging {

class ImageStore {
 public:
  static ImageStore& Instance();

  // Stores a picture; the caller becomes its only holder. 0 for an empty picture or a full table.
  DWORD Add(Dib dib);
  // One more holder of `h`; false when `h` names no picture.
  bool Acquire(DWORD h);
  // One holder less; the picture goes with its last holder.
  void Release(DWORD h);
  // The picture for reading; it stays readable while the pointer is kept.
  std::shared_ptr<const Dib> Find(DWORD h) const;
  // Makes the caller's picture private before a change: when others hold `h` too, the
  // caller's hold moves to a copy under a new handle. Returns the handle to use from
  // now on (0 when `h` is unknown or the copy does not fit) and the picture to change.
  DWORD DetachForWrite(DWORD h, std::shared_ptr<Dib>* out);
  // Puts a new picture in place of the caller's: under the same handle when the caller
  // is the only holder, else under a new handle (the other holders keep the old one).
  DWORD Replace(DWORD h, Dib dib);
  int Holders(DWORD h) const;
  size_t Count() const;
  // Whole pictures copied so far to keep a change private (DetachForWrite); a measure
  // of how much pixel traffic sharing costs.
  uint64_t Copies() const { return copies_.load(); }

 private:
  struct Entry {
    std::shared_ptr<Dib> dib;
    int holders = 1;
  };
  ImageStore() : table_(HandleKind::Image) {}

  HandleTable<Entry> table_;
  std::atomic<uint64_t> copies_{0};
  // Guards the holder counts and the picture pointers inside the entries.
  mutable std::mutex mutex_;
};

}  // namespace plat::imaging
