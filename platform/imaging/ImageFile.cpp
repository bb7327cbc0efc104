#include "imaging/ImageFile.h"

#include "imaging/BmpCodec.h"
#include "imaging/ColorAdjust.h"
#include "imaging/FileAccess.h"
#include "imaging/JpegCodec.h"
#include "imaging/TiffCodec.h"

namespace plat::imaging::imagefile {
namespace {

short FormatOf(const std::vector<uint8_t>& b) {
  if (jpeg::LooksLikeJpeg(b.data(), b.size())) return kFormatJpeg;
  if (bmp::LooksLikeBmp(b.data(), b.size())) return kFormatBmp;
  if (tiff::LooksLikeTiff(b.data(), b.size())) return kFormatTiff;
  return 0;
}

// Header and fields without the pixels; BMP carries no fields.
Status Describe(const std::string& path, FileInfo* info, FileFields* fields) {
  std::vector<uint8_t> b;
  if (Status st = files::ReadAll(path, &b)) return st;
  FileInfo i;
  FileFields f;
  FileFields* want = fields ? &f : nullptr;
  Status st = status::kUnknownFormat;
  switch (FormatOf(b)) {
    case kFormatJpeg: st = jpeg::ReadInfo(b.data(), b.size(), &i, want); break;
    case kFormatBmp: st = bmp::ReadInfo(b.data(), b.size(), &i); break;
    case kFormatTiff: st = tiff::ReadInfo(b.data(), b.size(), &i, want); break;
  }
  if (st != status::kOk) return st;
  *info = i;
  if (fields) *fields = std::move(f);
  return status::kOk;
}

}  // namespace

Status ReadInfo(const std::string& path, FileInfo* info) { return Describe(path, info, nullptr); }

Status Load(const std::string& path, Dib* out, FileFields* fields) {
  std::vector<uint8_t> b;
  if (Status st = files::ReadAll(path, &b)) return st;
  FileFields f;
  Dib d;
  Status st = status::kUnknownFormat;
  switch (FormatOf(b)) {
    case kFormatJpeg: st = jpeg::Decode(b.data(), b.size(), &d, &f); break;
    case kFormatBmp: st = bmp::Decode(b.data(), b.size(), &d); break;
    case kFormatTiff: st = tiff::Decode(b.data(), b.size(), &d, &f); break;
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
  if (in.Empty()) return status::kNoImage;
  if (format != kFormatJpeg && format != kFormatBmp && format != kFormatTiff) return status::kInvalidArgument;
  if (bits != 0 && bits != 8 && bits != 24) return status::kInvalidArgument;
  if (quality < 0) return status::kInvalidArgument;
  const Dib* src = &in;
  Dib converted;
  if (bits != 0 && bits != in.Bits()) {
    if (Status st = Grayscale(in, bits, &converted)) return st;
    src = &converted;
  }
  switch (format) {
    case kFormatJpeg: return jpeg::Encode(*src, quality, fields, out);
    case kFormatBmp: return bmp::Encode(*src, out);
    default: return tiff::Encode(*src, fields, out);
  }
}

Status Save(const std::string& path, const Dib& in, int format, int bits, int quality, const FileFields& fields) {
  std::vector<uint8_t> bytes;
  if (Status st = Encode(in, format, bits, quality, fields, &bytes)) return st;
  return files::WriteReplacing(path, bytes);
}

}  // namespace plat::imaging::imagefile
