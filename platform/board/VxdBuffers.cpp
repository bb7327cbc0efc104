#include "VxdBuffers.h"

#include <map>
#include <mutex>

namespace plat::board {
namespace {
struct Pinned {
  void* buffer;
  DWORD size;
};
std::mutex g_mutex;
std::map<DWORD, Pinned>& Buffers() {
  static std::map<DWORD, Pinned> buffers;
  return buffers;
}
DWORD g_next = 0x1000;
}  // namespace

DWORD PinVxdBuffer(void* buffer, DWORD size) {
  if (!buffer) return 0;
  std::lock_guard lock(g_mutex);
  DWORD token = g_next++;
  if (g_next == 0) g_next = 0x1000;
  Buffers()[token] = Pinned{buffer, size};
  return token;
}

void UnpinVxdBuffer(DWORD token) {
  std::lock_guard lock(g_mutex);
  Buffers().erase(token);
}

void* FindVxdBuffer(DWORD token, DWORD size) {
  std::lock_guard lock(g_mutex);
  auto it = Buffers().find(token);
  return it != Buffers().end() && it->second.size >= size ? it->second.buffer : nullptr;
}

}  // namespace plat::board
