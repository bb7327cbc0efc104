#include "TextFit.h"

#include <cstdio>
#include <cstring>

namespace textfit {

size_t WholeCharacters(const char* text, size_t length, size_t room) {
  if (length <= room) return length;
  size_t end = room;
  // Step back over continuation bytes to the start of the character that crosses the end.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return end;
}

char* FormatBounded(char* buffer, size_t size, const char* format, va_list args) {
  if (!buffer || size == 0) return buffer;
  const int wanted = std::vsnprintf(buffer, size, format, args);
  if (wanted < 0) {
    buffer[0] = '\0';
  } else if (static_cast<size_t>(wanted) >= size) {
    // vsnprintf cuts at a byte; a character cut in two would show as garbage.
    size_t kept = std::strlen(buffer);
    size_t start = kept;
    while (start > 0 && (static_cast<unsigned char>(buffer[start - 1]) & 0xC0) == 0x80) --start;
    if (start > 0) {
      const auto lead = static_cast<unsigned char>(buffer[start - 1]);
      const size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
      if (start - 1 + need > kept) kept = start - 1;
    }
    buffer[kept] = '\0';
  }
  return buffer;
}

}  // namespace textfit
