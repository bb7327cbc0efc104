// JPEG fixtures whose frame header (SOF0) claims another size than the data holds.
#pragma once
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testenv {

// Rewrites height and width of the first SOF0 (after its marker, length and precision);
// false when there is none.
inline bool SetJpegFrameSize(std::vector<uint8_t>& bytes, uint16_t width, uint16_t height) {
  for (size_t i = 0; i + 8 < bytes.size(); ++i) {
    if (bytes[i] != 0xFF || bytes[i + 1] != 0xC0) continue;
    bytes[i + 5] = uint8_t(height >> 8), bytes[i + 6] = uint8_t(height);
    bytes[i + 7] = uint8_t(width >> 8), bytes[i + 8] = uint8_t(width);
    return true;
  }
  return false;
}

// The same on the file at the native path `native`.
inline bool SetJpegFrameSize(const std::string& native, uint16_t width, uint16_t height) {
  std::vector<uint8_t> bytes;
  {
    std::ifstream in(native, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (!SetJpegFrameSize(bytes, width, height)) return false;
  std::ofstream out(native, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

}  // namespace testenv
