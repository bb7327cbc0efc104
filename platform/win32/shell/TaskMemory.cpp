// The task allocator: what the shell hands out is freed with CoTaskMemFree or through
// the allocator object of SHGetMalloc, which are one and the same.
#include <cstdlib>

#include "ComBase.h"
#include "WinShellFolders.h"

LPVOID CoTaskMemAlloc(SIZE_T size) { return std::malloc(size ? size : 1); }

void CoTaskMemFree(LPVOID block) { std::free(block); }

namespace {
class TaskAllocator final : public IMalloc {
 public:
  ULONG AddRef() override { return 1; }   // one object for the life of the process
  ULONG Release() override { return 1; }
  void* Alloc(SIZE_T size) override { return CoTaskMemAlloc(size); }
  void Free(void* block) override { CoTaskMemFree(block); }
};
}  // namespace

HRESULT SHGetMalloc(LPMALLOC* allocator) {
  if (!allocator) return E_INVALIDARG;
  static TaskAllocator instance;
  *allocator = &instance;
  return S_OK;
}
