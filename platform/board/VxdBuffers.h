// The line-read request of the 9x driver carries the buffer address in a 32-bit word,
// which cannot hold a pointer here. The caller pins its buffer and passes the token.
#pragma once
#include <cstddef>

#include "WinTypes.h"

namespace plat::board {

// A non-zero 32-bit token for `size` bytes at `buffer`, valid until unpinned.
DWORD PinVxdBuffer(void* buffer, DWORD size);
void UnpinVxdBuffer(DWORD token);
// The buffer behind `token` when it holds at least `size` bytes, else nullptr.
void* FindVxdBuffer(DWORD token, DWORD size);

}  // namespace plat::board
