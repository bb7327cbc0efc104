// Picture files of the control: the format is known from the file's first bytes
// (JPEG, BMP, TIFF), whatever its name.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/Dib.h"
#include "imaging/FileFields.h"
#include "imaging/FileInfo.h"
#include "imaging/Status.h"

namespace plat::imaging::imagefile {

// Describes a file without decoding its pixels.
Status ReadInfo(const std::string& path, FileInfo* info);
// Loads a file; `fields` (may be null) gets the comment fields it carries.
Status Load(const std::string& path, Dib* out, FileFields* fields);
Status ReadFields(const std::string& path, FileFields* fields);

// Encodes a picture in format 98 (JPEG), 6 (BMP) or 3 (TIFF) with 24 or 8 (grey)
// bits per pixel; 0 keeps the picture's own depth. `quality` is the JPEG quality
// factor (lower is better); the other formats ignore it.
Status Encode(const Dib& in, int format, int bits, int quality, const FileFields& fields,
              std::vector<uint8_t>* out);
// Encodes into a caller's block; 20001, with *size set, when the block is too small.
// A BMP is written straight into the block.
Status EncodeInto(const Dib& in, int format, int bits, int quality, const FileFields& fields, uint8_t* block,
                  size_t capacity, uint64_t* size);
// Encodes and writes; the previous file of that name stays intact unless the new
// one was written completely.
Status Save(const std::string& path, const Dib& in, int format, int bits, int quality,
            const FileFields& fields);

}  // namespace plat::imaging::imagefile
