#include "ItemIdList.h"

#include <cstring>

namespace plat::shell {
namespace {
// Our ids start with this mark, so a list made elsewhere is not read as a path.
constexpr char kMark[] = "LMRA";
constexpr size_t kMarkSize = sizeof kMark - 1;
}  // namespace

LPITEMIDLIST MakeIdList(const std::string& path) {
  size_t id = sizeof(USHORT) + kMarkSize + path.size() + 1;
  if (id > 0xFFFF) return nullptr;
  auto* bytes = static_cast<BYTE*>(CoTaskMemAlloc(id + sizeof(USHORT)));
  if (!bytes) return nullptr;
  auto cb = static_cast<USHORT>(id);
  std::memcpy(bytes, &cb, sizeof cb);
  std::memcpy(bytes + sizeof cb, kMark, kMarkSize);
  std::memcpy(bytes + sizeof cb + kMarkSize, path.c_str(), path.size() + 1);
  USHORT end = 0;
  std::memcpy(bytes + id, &end, sizeof end);
  return reinterpret_cast<LPITEMIDLIST>(bytes);
}

std::optional<std::string> PathOfIdList(LPCITEMIDLIST list) {
  if (!list) return std::nullopt;
  const auto* bytes = reinterpret_cast<const BYTE*>(list);
  USHORT cb = 0;
  std::memcpy(&cb, bytes, sizeof cb);
  if (cb < sizeof cb + kMarkSize + 1 || std::memcmp(bytes + sizeof cb, kMark, kMarkSize) != 0) return std::nullopt;
  const char* text = reinterpret_cast<const char*>(bytes + sizeof cb + kMarkSize);
  size_t max = cb - sizeof cb - kMarkSize;
  size_t len = strnlen(text, max);
  if (len == max) return std::nullopt;  // no terminator inside the id
  return std::string(text, len);
}

}  // namespace plat::shell
