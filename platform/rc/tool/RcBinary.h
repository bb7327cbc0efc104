// Little-endian writer for resource data; strings go out as UTF-16, as Windows keeps them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace rcc {

inline void PutWord(std::vector<uint8_t>& v, uint32_t w) {
  v.push_back(static_cast<uint8_t>(w));
  v.push_back(static_cast<uint8_t>(w >> 8));
}
inline void PutDword(std::vector<uint8_t>& v, uint32_t d) {
  PutWord(v, d & 0xFFFF);
  PutWord(v, d >> 16);
}
inline void AlignDword(std::vector<uint8_t>& v) {
  while (v.size() % 4) v.push_back(0);
}

std::u16string Utf8ToUtf16(const std::string& s);

// Writes UTF-16 code units, then a terminating 0 when `terminate`.
inline void PutText(std::vector<uint8_t>& v, const std::string& s, bool terminate = true) {
  for (char16_t c : Utf8ToUtf16(s)) PutWord(v, c);
  if (terminate) PutWord(v, 0);
}

}  // namespace rcc
