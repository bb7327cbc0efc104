#include "text/Utf8.h"

namespace plat::text {

char32_t DecodeAt(std::string_view s, size_t pos, size_t* length) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char b = byte(pos);
  size_t need = 0;
  char32_t c = 0, min = 0;
  if (b < 0x80) {
    *length = 1;
    return b;
  } else if ((b & 0xE0) == 0xC0) {
    need = 1, c = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    need = 2, c = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    need = 3, c = b & 0x07, min = 0x10000;
  } else {
    *length = 1;
    return 0xFFFD;
  }
  if (pos + need >= s.size()) {  // truncated at the end
    *length = 1;
    return 0xFFFD;
  }
  for (size_t i = 1; i <= need; ++i) {
    unsigned char t = byte(pos + i);
    if ((t & 0xC0) != 0x80) {
      *length = 1;
      return 0xFFFD;
    }
    c = (c << 6) | (t & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    *length = 1;
    return 0xFFFD;
  }
  *length = need + 1;
  return c;
}

size_t CutAtBoundary(std::string_view s, size_t n) {
  if (n >= s.size()) return s.size();
  size_t start = n;
  while (start > 0 && n - start < 4 && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80) --start;
  if (start == n) return n;
  // A character whose lead byte promises bytes past the cut is dropped whole.
  unsigned char lead = static_cast<unsigned char>(s[start]);
  size_t len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return start + len > n ? start : n;
}

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

std::u16string ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (size_t pos = 0; pos < s.size();) {
    size_t length = 1;
    char32_t c = DecodeAt(s, pos, &length);
    pos += length;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

}  // namespace plat::text
