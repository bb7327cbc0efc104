// Whole-region virtual memory: VirtualAlloc maps fresh pages, VirtualFree releases
// the whole region. Locking is best effort: a host that refuses mlock (a small
// RLIMIT_MEMLOCK) leaves the pages usable, so VirtualLock still succeeds.
#include <sys/mman.h>

#include <map>
#include <mutex>

#include "Faults.h"
#include "LastError.h"
#include "WinError.h"
#include "WinSystem.h"

namespace {

std::mutex g_mutex;
std::map<uintptr_t, SIZE_T>& Regions() {  // start -> length
  static std::map<uintptr_t, SIZE_T> regions;
  return regions;
}

int Protection(DWORD protect) {
  switch (protect) {
    case PAGE_NOACCESS: return PROT_NONE;
    case PAGE_READONLY: return PROT_READ;
    case PAGE_READWRITE: return PROT_READ | PROT_WRITE;
    default: return -1;
  }
}

// True when [address, address + size) lies inside one region.
bool InsideRegion(LPVOID address, SIZE_T size) {
  auto a = reinterpret_cast<uintptr_t>(address);
  std::lock_guard lock(g_mutex);
  auto& regions = Regions();
  auto it = regions.upper_bound(a);
  if (it == regions.begin()) return false;
  --it;
  return a >= it->first && size <= it->second && a - it->first <= it->second - size;
}

}  // namespace

LPVOID VirtualAlloc(LPVOID address, SIZE_T size, DWORD type, DWORD protect) {
  int prot = Protection(protect);
  // Only fresh regions are made here; committing inside a reserved one is not needed.
  if (address || size == 0 || prot < 0 || !(type & (MEM_COMMIT | MEM_RESERVE)) ||
      (type & ~(MEM_COMMIT | MEM_RESERVE))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (DWORD e = plat::faults::Check("VirtualAlloc")) {
    SetLastError(e);
    return nullptr;
  }
  if (!(type & MEM_COMMIT)) prot = PROT_NONE;  // reserved only: no access yet
  void* p = mmap(nullptr, size, prot, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  std::lock_guard lock(g_mutex);
  Regions()[reinterpret_cast<uintptr_t>(p)] = size;
  return p;
}

BOOL VirtualFree(LPVOID address, SIZE_T size, DWORD type) {
  std::lock_guard lock(g_mutex);
  auto it = Regions().find(reinterpret_cast<uintptr_t>(address));
  if (it == Regions().end() || type != MEM_RELEASE || size != 0) {
    // Releasing takes the whole region from its start, with size 0.
    SetLastError(it == Regions().end() ? ERROR_INVALID_ADDRESS : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  munmap(address, it->second);
  Regions().erase(it);
  return TRUE;
}

BOOL VirtualLock(LPVOID address, SIZE_T size) {
  if (!InsideRegion(address, size)) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  if (DWORD e = plat::faults::Check("VirtualLock")) {
    SetLastError(e);
    return FALSE;
  }
  mlock(address, size);  // refused by the host: the pages stay usable, only pageable
  return TRUE;
}

BOOL VirtualUnlock(LPVOID address, SIZE_T size) {
  if (!InsideRegion(address, size)) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  munlock(address, size);
  return TRUE;
}
