// What a picture file says about itself before it is loaded.
#pragma once
#include <cstdint>

namespace plat::imaging {

// The control's file format codes.
inline constexpr short kFormatTiff = 3;
inline constexpr short kFormatBmp = 6;
inline constexpr short kFormatJpeg = 98;

struct FileInfo {
  int width = 0;
  int height = 0;
  int bits = 0;             // bits per pixel of the loaded picture: 8 (grey) or 24
  short format = 0;         // one of the format codes above
  uint64_t fileBytes = 0;   // size of the file
  uint64_t imageBytes = 0;  // size of the loaded picture's pixel block
};

}  // namespace plat::imaging
