#include "PictureBlocks.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define PICTURE_BLOCKS_OFF 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define PICTURE_BLOCKS_OFF 1
#endif
#endif

#ifdef PICTURE_BLOCKS_OFF

namespace pictureblocks {
bool Available() { return false; }
void Start(size_t) {}
Tally Stop() { return {}; }
}  // namespace pictureblocks

#else

#include <sys/syscall.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace pictureblocks {
namespace {

constexpr int kMaxBlocks = 512;
struct Block {
  void* at = nullptr;
  size_t bytes = 0;
};

// No allocation in here: this runs inside malloc.
struct Counter {
  std::atomic<bool> on{false};
  size_t minBytes = SIZE_MAX;
  std::mutex mutex;
  Block blocks[kMaxBlocks];
  Tally tally;
  unsigned char pages[1 << 16] = {};

  size_t Resident(const Block& b) {
    const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    uintptr_t from = uintptr_t(b.at) & ~(page - 1);
    const uintptr_t to = (uintptr_t(b.at) + b.bytes + page - 1) & ~(page - 1);
    size_t resident = 0;
    while (from < to) {
      const size_t n = std::min<uintptr_t>((to - from) / page, sizeof pages);
      if (mincore(reinterpret_cast<void*>(from), n * page, pages) != 0) return b.bytes;  // count it whole
      for (size_t i = 0; i < n; ++i) resident += (pages[i] & 1) ? page : 0;
      from += n * page;
    }
    return std::min(resident, b.bytes);
  }
  // Called with the mutex held, whenever a block comes or is about to go.
  void Sample() {
    size_t resident = 0, allocated = 0;
    for (const Block& b : blocks)
      if (b.at) resident += Resident(b), allocated += b.bytes;
    tally.peakResident = std::max(tally.peakResident, resident);
    tally.peakAllocated = std::max(tally.peakAllocated, allocated);
  }
  void Add(void* at, size_t bytes) {
    if (!at || bytes < minBytes || !on.load(std::memory_order_relaxed)) return;
    std::lock_guard lock(mutex);
    for (Block& b : blocks)
      if (!b.at) {
        b = {at, bytes};
        ++tally.blocks;
        break;
      }
    Sample();
  }
  void Remove(void* at) {
    if (!at || !on.load(std::memory_order_relaxed)) return;
    std::lock_guard lock(mutex);
    for (Block& b : blocks)
      if (b.at == at) {
        Sample();  // the block is at its fullest just before it goes
        b = {};
        break;
      }
  }
};

Counter& TheCounter() {
  static Counter counter;  // constant-initialised storage: safe to reach from malloc
  return counter;
}

}  // namespace

bool Available() { return true; }

void Start(size_t minBytes) {
  Counter& c = TheCounter();
  std::lock_guard lock(c.mutex);
  for (Block& b : c.blocks) b = {};
  c.tally = {};
  c.minBytes = minBytes;
  c.on = true;
}

Tally Stop() {
  Counter& c = TheCounter();
  std::lock_guard lock(c.mutex);
  c.Sample();
  c.on = false;
  for (Block& b : c.blocks)
    if (b.at) c.tally.keptAllocated += b.bytes, b = {};
  return c.tally;
}

}  // namespace pictureblocks

using pictureblocks::TheCounter;

extern "C" {

void* malloc(size_t n) {
  void* p = __libc_malloc(n);
  TheCounter().Add(p, n);
  return p;
}
void* calloc(size_t count, size_t size) {
  void* p = __libc_calloc(count, size);
  TheCounter().Add(p, count * size);
  return p;
}
void* realloc(void* old, size_t n) {
  TheCounter().Remove(old);
  void* p = __libc_realloc(old, n);
  TheCounter().Add(p, n);
  return p;
}
void* memalign(size_t align, size_t n) {
  void* p = __libc_memalign(align, n);
  TheCounter().Add(p, n);
  return p;
}
void* aligned_alloc(size_t align, size_t n) { return memalign(align, n); }
int posix_memalign(void** out, size_t align, size_t n) {
  void* p = memalign(align, n);
  if (!p) return 12;  // ENOMEM
  *out = p;
  return 0;
}
void free(void* p) {
  TheCounter().Remove(p);
  __libc_free(p);
}

// VirtualAlloc's blocks are anonymous mappings.
void* mmap(void* at, size_t n, int prot, int flags, int fd, off_t offset) {
  void* p = reinterpret_cast<void*>(syscall(SYS_mmap, at, n, prot, flags, fd, offset));
  if (p != MAP_FAILED && (flags & MAP_ANONYMOUS)) TheCounter().Add(p, n);
  return p;
}
int munmap(void* at, size_t n) {
  TheCounter().Remove(at);
  return int(syscall(SYS_munmap, at, n));
}

}  // extern "C"

#endif
