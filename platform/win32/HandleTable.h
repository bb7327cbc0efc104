// Process-wide tables that turn objects into 32-bit handle ids and back.
#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "WinTypes.h"

namespace plat {

// Each family of handles has its own table; the kind is part of the id, so a handle
// of one family passed where another is expected is refused.
enum class HandleKind : uint32_t {
  Kernel = 1,  // files, devices, events, mutexes, threads, processes
  Gdi = 2,     // DCs, pens, brushes, fonts, bitmaps, regions, palettes
  Window = 3,
  Menu = 4,
  Image = 5,   // pictures held by the imaging control
  Module = 6,  // HINSTANCE / HMODULE
  User = 7,    // cursors, icons, accelerators, defer-window-pos, hooks
  Global = 8,  // GlobalAlloc / LocalAlloc blocks
  Hook = 9,
  DeferPos = 10,  // BeginDeferWindowPos batches
  ImageList = 11,
};

// Id layout: bit 31 clear (ids are positive as a LONG), bits 27-30 the kind,
// bits 16-26 the generation of the slot, bits 0-15 the slot number plus one.
constexpr uint32_t MakeHandleId(HandleKind kind, uint32_t generation, uint32_t slot) {
  return (static_cast<uint32_t>(kind) << 27) | ((generation & 0x7FF) << 16) | ((slot + 1) & 0xFFFF);
}
constexpr HandleKind HandleIdKind(uint32_t id) { return static_cast<HandleKind>((id >> 27) & 0xF); }

inline uint32_t HandleId(const void* h) {
  auto v = reinterpret_cast<uintptr_t>(h);
  return v > 0x7FFFFFFFu ? 0 : static_cast<uint32_t>(v);
}
template <class H>
H ToHandle(uint32_t id) {
  return reinterpret_cast<H>(static_cast<uintptr_t>(id));
}

template <class T>
class HandleTable {
 public:
  explicit HandleTable(HandleKind kind) : kind_(kind) {}

  // Returns 0 when the table is full.
  uint32_t Insert(std::shared_ptr<T> obj) {
    std::lock_guard lock(mutex_);
    uint32_t slot;
    if (!free_.empty() && (slots_.size() >= kMaxSlots || free_.size() > kReuseDelay)) {
      slot = free_.front();
      free_.pop_front();
    } else if (slots_.size() < kMaxSlots) {
      slot = static_cast<uint32_t>(slots_.size());
      slots_.emplace_back();
    } else {
      return 0;
    }
    Slot& s = slots_[slot];
    s.generation = (s.generation + 1) & 0x7FF;
    if (s.generation == 0) s.generation = 1;
    s.object = std::move(obj);
    ++count_;
    return MakeHandleId(kind_, s.generation, slot);
  }

  std::shared_ptr<T> Find(uint32_t id) const {
    std::lock_guard lock(mutex_);
    const Slot* s = Locate(id);
    return s ? s->object : nullptr;
  }

  // Removes the object and returns it (so the caller can release it outside the lock).
  std::shared_ptr<T> Remove(uint32_t id) {
    std::lock_guard lock(mutex_);
    Slot* s = const_cast<Slot*>(Locate(id));
    if (!s) return nullptr;
    std::shared_ptr<T> obj = std::move(s->object);
    s->object.reset();
    free_.push_back(static_cast<uint32_t>(s - slots_.data()));
    --count_;
    return obj;
  }

  size_t Size() const {
    std::lock_guard lock(mutex_);
    return count_;
  }

  // Calls f(id, object) for a snapshot of the live entries, outside the lock.
  template <class F>
  void ForEach(F f) const {
    std::vector<std::pair<uint32_t, std::shared_ptr<T>>> snapshot;
    {
      std::lock_guard lock(mutex_);
      for (size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].object)
          snapshot.emplace_back(MakeHandleId(kind_, slots_[i].generation, static_cast<uint32_t>(i)),
                                slots_[i].object);
    }
    for (auto& [id, obj] : snapshot) f(id, obj);
  }

 private:
  static constexpr size_t kMaxSlots = 0xFFFF;
  // Freed slots wait in line before reuse, so a stale handle rarely meets a new
  // object with a matching generation.
  static constexpr size_t kReuseDelay = 64;

  struct Slot {
    std::shared_ptr<T> object;
    uint32_t generation = 0;
  };

  const Slot* Locate(uint32_t id) const {
    if (id == 0 || HandleIdKind(id) != kind_) return nullptr;
    uint32_t slot = (id & 0xFFFF);
    if (slot == 0 || slot > slots_.size()) return nullptr;
    const Slot& s = slots_[slot - 1];
    if (!s.object || s.generation != ((id >> 16) & 0x7FF)) return nullptr;
    return &s;
  }

  HandleKind kind_;
  mutable std::mutex mutex_;
  std::vector<Slot> slots_;
  std::deque<uint32_t> free_;
  size_t count_ = 0;
};

}  // namespace plat
