// The least of COM that the shell services hand out: reference-counted interfaces and
// the task allocator that frees what they return.
#pragma once
#include "WinTypes.h"

// The shell's objects are only ever released by their users; nothing asks them for
// another interface, so QueryInterface is not offered.
struct IUnknown {
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};

struct IMalloc : IUnknown {
  virtual void* Alloc(SIZE_T size) = 0;
  virtual void Free(void* block) = 0;

 protected:
  ~IMalloc() = default;
};
typedef IMalloc* LPMALLOC;

LPVOID CoTaskMemAlloc(SIZE_T size);
void CoTaskMemFree(LPVOID block);  // null is allowed
