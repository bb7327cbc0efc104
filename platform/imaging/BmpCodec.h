// Windows bitmap files: written as 24-bit or 8-bit grey; read with 1, 4, 8, 24 or
// 32 bits per pixel (uncompressed), palettes other than grey becoming 24-bit.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/Dib.h"
#include "imaging/FileInfo.h"
#include "imaging/Status.h"

namespace plat::imaging::bmp {

bool LooksLikeBmp(const uint8_t* data, size_t size);
Status ReadInfo(const uint8_t* data, size_t size, FileInfo* info);
Status Decode(const uint8_t* data, size_t size, Dib* out);
Status Encode(const Dib& in, std::vector<uint8_t>* out);
// What comes before the pixels (headers, colour table) and the whole file's size: the
// file is that followed by the picture's own pixel block, as it lies in memory.
Status Header(const Dib& in, std::vector<uint8_t>* head, uint64_t* fileSize);
// Encodes into a caller's block; 20001 (with *size set) when it is too small.
Status EncodeInto(const Dib& in, uint8_t* block, size_t capacity, uint64_t* size);

}  // namespace plat::imaging::bmp
