// TIFF files through libtiff: written uncompressed, 24-bit RGB or 8-bit grey, with a
// resolution, the comment fields with a standard home in their tags (ImageDescription
// and the Exif IFD) and the others in a private tag; read from whatever layout
// libtiff decodes (strips or tiles, any of its compressions).
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/Dib.h"
#include "imaging/FileFields.h"
#include "imaging/FileInfo.h"
#include "imaging/Status.h"

namespace plat::imaging::files {
class RandomAccess;
}

namespace plat::imaging::tiff {

// The private tag that carries the comment fields without a standard home.
inline constexpr uint32_t kFieldTag = 65000;

bool LooksLikeTiff(const uint8_t* data, size_t size);
// Files are read where needed (a file need not be in memory) and written in place.
Status ReadInfo(files::RandomAccess& io, FileInfo* info, FileFields* fields);
Status Decode(files::RandomAccess& io, Dib* out, FileFields* fields);
Status Encode(const Dib& in, const FileFields& fields, files::RandomAccess& io);
// The same over a block of memory.
Status ReadInfo(const uint8_t* data, size_t size, FileInfo* info, FileFields* fields);
Status Decode(const uint8_t* data, size_t size, Dib* out, FileFields* fields);
Status Encode(const Dib& in, const FileFields& fields, std::vector<uint8_t>* out);

}  // namespace plat::imaging::tiff
