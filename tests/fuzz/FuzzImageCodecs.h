// Small pictures and their files, as seeds for the image decoders.
#pragma once
#include <string>

#include "FuzzSeeds.h"
#include "imaging/Dib.h"
#include "imaging/FileFields.h"
#include "imaging/ImageFile.h"

namespace fuzzseeds {

inline plat::imaging::Dib SmallPicture(int bits) {
  plat::imaging::Dib d = plat::imaging::Dib::Create(7, 5, bits);
  for (int y = 0; y < 5; ++y)
    for (int i = 0; i < 7 * bits / 8; ++i) d.Row(y)[i] = uint8_t(y * 40 + i * 9);
  return d;
}

inline plat::imaging::FileFields SomeFields() {
  plat::imaging::FileFields f;
  f.Set(22, std::string("2026:12:09 10:11:12"));
  f.Set(34, std::vector<int32_t>{1, 250});
  f.Set(36, std::vector<uint8_t>{'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'x', 0});
  f.Set(37, std::vector<uint8_t>{'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'y', 0});
  f.Set(100, std::string("private"));
  return f;
}

// Writes the picture in `format` at both depths, with and without fields.
inline void WritePictures(short format, const std::string& ext) {
  for (int bits : {8, 24}) {
    std::vector<uint8_t> out;
    if (plat::imaging::imagefile::Encode(SmallPicture(bits), format, 0, 10, SomeFields(), &out) == 0)
      Write("seed" + std::to_string(bits) + "." + ext, out);
    if (plat::imaging::imagefile::Encode(SmallPicture(bits), format, 0, 10, {}, &out) == 0)
      Write("plain" + std::to_string(bits) + "." + ext, out);
  }
}

}  // namespace fuzzseeds
