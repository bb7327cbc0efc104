#include "imaging/ImageFile.h"

#include <cstring>

#include "imaging/BmpCodec.h"
#include "imaging/ColorAdjust.h"
#include "imaging/FileAccess.h"
#include "imaging/JpegCodec.h"
#include "imaging/TiffCodec.h"

namespace plat::imaging::imagefile {
namespace {

short FormatOf(const uint8_t* data, size_t size) {
  if (jpeg::LooksLikeJpeg(data, size)) return kFormatJpeg;
  if (bmp::LooksLikeBmp(data, size)) return kFormatBmp;
  if (tiff::LooksLikeTiff(data, size)) return kFormatTiff;
  return 0;
}

// Header and fields without the pixels; BMP carries no fields.
Status Describe(const std::string& path, FileInfo* info, FileFields* fields) {
  files::FileBytes b;
  if (Status st = files::ReadAll(path, &b)) return st;
  const uint8_t* data = b.data.get();
  FileInfo i;
  FileFields f;
  FileFields* want = fields ? &f : nullptr;
  Status st = status::kUnknownFormat;
  switch (FormatOf(data, b.size)) {
    case kFormatJpeg: st = jpeg::ReadInfo(data, b.size, &i, want); break;
    case kFormatBmp: st = bmp::ReadInfo(data, b.size, &i); break;
    case kFormatTiff: st = tiff::ReadInfo(data, b.size, &i, want); break;
  }
  if (st != status::kOk) return st;
  *info = i;
  if (fields) *fields = std::move(f);
  return status::kOk;
}

// The picture at the depth asked for: `in` itself, or a converted copy kept in `converted`.
Status Prepare(const Dib& in, int format, int bits, int quality, Dib* converted, const Dib** src) {
  if (in.Empty()) return status::kNoImage;
  if (format != kFormatJpeg && format != kFormatBmp && format != kFormatTiff) return status::kInvalidArgument;
  if (bits != 0 && bits != 8 && bits != 24) return status::kInvalidArgument;
  if (quality < 0) return status::kInvalidArgument;
  *src = &in;
  if (bits != 0 && bits != in.Bits()) {
    if (Status st = Grayscale(in, bits, converted)) return st;
    *src = converted;
  }
  return status::kOk;
}

}  // namespace

Status ReadInfo(const std::string& path, FileInfo* info) { return Describe(path, info, nullptr); }

Status Load(const std::string& path, Dib* out, FileFields* fields) {
  files::FileBytes b;
  if (Status st = files::ReadAll(path, &b)) return st;
  const uint8_t* data = b.data.get();
  FileFields f;
  FileFields* want = fields ? &f : nullptr;
  Dib d;
  Status st = status::kUnknownFormat;
  switch (FormatOf(data, b.size)) {
    case kFormatJpeg: st = jpeg::Decode(data, b.size, &d, want); break;
    case kFormatBmp: st = bmp::Decode(data, b.size, &d); break;
    case kFormatTiff: st = tiff::Decode(data, b.size, &d, want); break;
  }
  if (st != status::kOk) return st;
  *out = std::move(d);
  if (fields) *fields = std::move(f);
  return status::kOk;
}

Status ReadFields(const std::string& path, FileFields* fields) {
  FileInfo info;
  return Describe(path, &info, fields);
}

Status Encode(const Dib& in, int format, int bits, int quality, const FileFields& fields,
              std::vector<uint8_t>* out) {
  Dib converted;
  const Dib* src = nullptr;
  if (Status st = Prepare(in, format, bits, quality, &converted, &src)) return st;
  switch (format) {
    case kFormatJpeg: return jpeg::Encode(*src, quality, fields, out);
    case kFormatBmp: return bmp::Encode(*src, out);
    default: return tiff::Encode(*src, fields, out);
  }
}

Status EncodeInto(const Dib& in, int format, int bits, int quality, const FileFields& fields, uint8_t* block,
                  size_t capacity, uint64_t* size) {
  Dib converted;
  const Dib* src = nullptr;
  if (Status st = Prepare(in, format, bits, quality, &converted, &src)) return st;
  if (format == kFormatBmp) return bmp::EncodeInto(*src, block, capacity, size);
  std::vector<uint8_t> bytes;
  if (Status st = Encode(*src, format, 0, quality, fields, &bytes)) return st;
  *size = bytes.size();
  if (bytes.size() > capacity) return status::kNoMemory;
  std::memcpy(block, bytes.data(), bytes.size());
  return status::kOk;
}

Status Save(const std::string& path, const Dib& in, int format, int bits, int quality, const FileFields& fields) {
  Dib converted;
  const Dib* src = nullptr;
  if (Status st = Prepare(in, format, bits, quality, &converted, &src)) return st;
  if (format == kFormatBmp) {
    // Headers, then the pixel block as it lies in memory: no copy of the picture.
    std::vector<uint8_t> head;
    uint64_t total = 0;
    if (Status st = bmp::Header(*src, &head, &total)) return st;
    return files::WriteReplacing(path, {files::Piece{head.data(), head.size()}, files::Piece{src->Bits0(), src->ByteSize()}});
  }
  std::vector<uint8_t> bytes;
  if (Status st = Encode(*src, format, 0, quality, fields, &bytes)) return st;
  return files::WriteReplacing(path, bytes);
}

}  // namespace plat::imaging::imagefile
