// Global memory blocks behind handles of the Global table. The address of a block is
// only handed out by GlobalLock, so a stale handle is refused instead of reaching
// freed memory.
#include <cstring>
#include <memory>
#include <new>

#include "Faults.h"
#include "HandleTable.h"
#include "LastError.h"
#include "WinError.h"
#include "WinSystem.h"


namespace {

struct Block {
  std::unique_ptr<std::byte[]> data;
  SIZE_T size = 0;
  int locks = 0;
};

plat::HandleTable<Block>& Blocks() {
  static plat::HandleTable<Block> table(plat::HandleKind::Global);
  return table;
}
std::mutex g_mutex;  // guards the blocks' contents bookkeeping (size, locks, data)

// A Win32 program cannot hold a block of 2 GB or more.
constexpr SIZE_T kLargest = 0x7FFFFFFF;

std::unique_ptr<std::byte[]> Allocate(SIZE_T bytes) {
  if (bytes > kLargest) return nullptr;
  // One byte at least, so that even an empty block has an address of its own.
  return std::unique_ptr<std::byte[]>(new (std::nothrow) std::byte[bytes ? bytes : 1]);
}

std::shared_ptr<Block> Find(HGLOBAL h) {
  auto block = Blocks().Find(plat::HandleId(h));
  if (!block) SetLastError(ERROR_INVALID_HANDLE);
  return block;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (DWORD e = plat::faults::Check("GlobalAlloc")) {
    SetLastError(e);
    return nullptr;
  }
  auto block = std::make_shared<Block>();
  block->data = Allocate(bytes);
  if (!block->data) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  block->size = bytes;
  if (flags & GMEM_ZEROINIT) std::memset(block->data.get(), 0, bytes);
  uint32_t id = Blocks().Insert(std::move(block));
  if (!id) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return plat::ToHandle<HGLOBAL>(id);
}

LPVOID GlobalLock(HGLOBAL h) {
  auto block = Find(h);
  if (!block) return nullptr;
  std::lock_guard lock(g_mutex);
  ++block->locks;
  return block->data.get();
}

BOOL GlobalUnlock(HGLOBAL h) {
  auto block = Find(h);
  if (!block) return FALSE;
  std::lock_guard lock(g_mutex);
  if (block->locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--block->locks > 0) return TRUE;
  SetLastError(NO_ERROR);  // unlocked now: FALSE with no error, as Windows answers
  return FALSE;
}

HGLOBAL GlobalFree(HGLOBAL h) {
  if (!Blocks().Remove(plat::HandleId(h))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return h;
  }
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL h) {
  auto block = Find(h);
  if (!block) return 0;
  std::lock_guard lock(g_mutex);
  return block->size;
}

HGLOBAL GlobalReAlloc(HGLOBAL h, SIZE_T bytes, UINT flags) {
  auto block = Find(h);
  if (!block) return nullptr;
  if (DWORD e = plat::faults::Check("GlobalAlloc")) {
    SetLastError(e);
    return nullptr;
  }
  std::lock_guard lock(g_mutex);
  if (bytes <= block->size) {  // shrinking stays in place
    block->size = bytes;
    return h;
  }
  // A locked block may move only when the caller allows it.
  if (block->locks > 0 && !(flags & GMEM_MOVEABLE)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto grown = Allocate(bytes);
  if (!grown) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;  // the old block stays as it was
  }
  std::memcpy(grown.get(), block->data.get(), block->size);
  if (flags & GMEM_ZEROINIT) std::memset(grown.get() + block->size, 0, bytes - block->size);
  block->data = std::move(grown);
  block->size = bytes;
  return h;
}

HGLOBAL GlobalHandle(LPCVOID address) {
  uint32_t found = 0;
  if (address) {
    std::lock_guard lock(g_mutex);
    Blocks().ForEach([&](uint32_t id, const std::shared_ptr<Block>& b) {
      if (b->data.get() == address) found = id;
    });
  }
  if (!found) SetLastError(ERROR_INVALID_HANDLE);
  return plat::ToHandle<HGLOBAL>(found);
}
