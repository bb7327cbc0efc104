#include "CStringFormat.h"

#include <cstring>

namespace plat::text {

int CharLength(const char* p) {
  auto b = reinterpret_cast<const unsigned char*>(p);
  int need;
  if (b[0] < 0x80) return 1;
  if (b[0] >= 0xC2 && b[0] <= 0xDF) {
    need = 2;
  } else if (b[0] >= 0xE0 && b[0] <= 0xEF) {
    need = 3;
  } else if (b[0] >= 0xF0 && b[0] <= 0xF4) {
    need = 4;
  } else {
    return 1;  // a stray byte counts as a character of its own
  }
  for (int i = 1; i < need; ++i) {
    if ((b[i] & 0xC0) != 0x80) return 1;  // also stops at the terminator
  }
  return need;
}

std::string ToNativeFormat(const char* format) {
  std::string out;
  const char* p = format;
  while (*p != 0) {
    if (*p != '%') {
      out += *p++;
      continue;
    }
    size_t specStart = out.size();
    out += *p++;
    if (*p == '%') {
      out += *p++;
      continue;
    }
    // Flags, width and precision pass through unchanged.
    while (*p != 0 && std::strchr("-+ #0", *p) != nullptr) out += *p++;
    while (*p != 0 && (std::strchr("0123456789*.", *p) != nullptr)) out += *p++;
    // Size prefix.
    std::string size;
    if (std::strncmp(p, "I64", 3) == 0) {
      size = "ll";
      p += 3;
    } else if (std::strncmp(p, "I32", 3) == 0) {
      p += 3;
    } else if (*p == 'I') {
      size = "z";
      ++p;
    } else if (p[0] == 'l' && p[1] == 'l') {
      size = "ll";
      p += 2;
    } else if (*p == 'l' || *p == 'w') {
      ++p;  // 32-bit long; narrow text only
    } else if (*p == 'h') {
      size = "h";
      ++p;
    } else if (*p == 'L') {
      size = "L";
      ++p;
    }
    char conv = *p;
    if (conv == 0) {
      out.resize(specStart);  // an unfinished conversion at the end prints nothing
      break;
    }
    ++p;
    switch (conv) {
      case 'n':
        out += ".0s";  // consumes the pointer, writes nothing
        break;
      case 'S':
        out += 's';
        break;
      case 'C':
        out += 'c';
        break;
      case 'c':
      case 's':
      case 'p':
        out += conv;
        break;
      case 'e': case 'E': case 'f': case 'F': case 'g': case 'G': case 'a': case 'A':
        if (size == "L") out += size;
        out += conv;
        break;
      default:
        out += size;
        out += conv;
        break;
    }
  }
  return out;
}

}  // namespace plat::text
