// JPEG files through libjpeg-turbo: 24-bit colour and 8-bit grey; the comment fields
// with a standard home in an Exif segment (APP1), the others in APP11 segments.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/Dib.h"
#include "imaging/FileFields.h"
#include "imaging/FileInfo.h"
#include "imaging/Status.h"

namespace plat::imaging::jpeg {

// The control's quality factor runs the other way from libjpeg's quality: lower is
// better. Factor f gives quality 100 - f, within 1 .. 100 (2 -> 98, 35 -> 65).
int QualityFromFactor(int factor);

bool LooksLikeJpeg(const uint8_t* data, size_t size);
// `fields` may be null.
Status ReadInfo(const uint8_t* data, size_t size, FileInfo* info, FileFields* fields);
Status Decode(const uint8_t* data, size_t size, Dib* out, FileFields* fields);
// An 8-bit picture is written as a one-component (grey) JPEG.
Status Encode(const Dib& in, int factor, const FileFields& fields, std::vector<uint8_t>* out);

}  // namespace plat::imaging::jpeg
