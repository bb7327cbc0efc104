#include "kernel/TextCopy.h"

#include <cstring>

#include "LastError.h"
#include "WinError.h"

namespace plat {

DWORD CopyTruncated(std::string_view text, char* buffer, DWORD size) {
  if (!buffer || size == 0) {
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (text.size() < size) {
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    ::SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(text.size());
  }
  std::memcpy(buffer, text.data(), size - 1);
  buffer[size - 1] = '\0';
  ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}

DWORD CopyOrNeed(std::string_view text, char* buffer, DWORD size) {
  if (!buffer || text.size() >= size) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return static_cast<DWORD>(text.size());
}

int CopyCounted(std::string_view text, char* buffer, int size) {
  int needed = static_cast<int>(text.size()) + 1;
  if (size == 0) return needed;
  if (size < 0 || !buffer) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (size < needed) {
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return needed;
}

}  // namespace plat
