#include "imaging/ImageFile.h"

#include <algorithm>
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

// The format from the file's first bytes: 20014 when it is none the control reads,
// 20009 when they cannot be read.
Status FormatOf(files::InputFile& file, short* format) {
  uint8_t head[4] = {};
  const size_t want = size_t(std::min<uint64_t>(sizeof head, file.Size()));
  if (file.ReadAt(0, head, want) != want) return status::kFileError;
  *format = FormatOf(head, want);
  return *format ? status::kOk : status::kUnknownFormat;
}

// Header and fields (when asked for) and pixels (when asked for). A TIFF file is read
// where its parts lie; JPEG and BMP files are read whole. BMP carries no fields.
Status Read(const std::string& path, FileInfo* info, Dib* out, FileFields* fields) {
  files::InputFile file;
  if (Status st = file.Open(path)) return st;
  short format = 0;
  if (Status st = FormatOf(file, &format)) return st;
  FileFields f;
  FileFields* want = fields ? &f : nullptr;
  FileInfo i;
  Dib d;
  Status st;
  if (format == kFormatTiff) {
    st = out ? tiff::Decode(file, &d, want) : tiff::ReadInfo(file, &i, want);
  } else {
    files::FileBytes b;
    if (Status read = files::ReadAll(file, &b)) return read;
    const uint8_t* data = b.data.get();
    if (format == kFormatJpeg)
      st = out ? jpeg::Decode(data, b.size, &d, want) : jpeg::ReadInfo(data, b.size, &i, want);
    else
      st = out ? bmp::Decode(data, b.size, &d) : bmp::ReadInfo(data, b.size, &i);
  }
  if (st != status::kOk) return st;
  if (info) *info = i;
  if (out) *out = std::move(d);
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

Status ReadInfo(const std::string& path, FileInfo* info) { return Read(path, info, nullptr, nullptr); }

Status Load(const std::string& path, Dib* out, FileFields* fields) { return Read(path, nullptr, out, fields); }

Status ReadFields(const std::string& path, FileFields* fields) {
  FileInfo info;
  return Read(path, &info, nullptr, fields);
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
  if (format == kFormatTiff) {
    // Straight into the caller's block; only a block too small takes the long way below,
    // which learns the size the picture needs.
    files::BlockAccess io(block, capacity);
    const Status st = tiff::Encode(*src, fields, io);
    if (!io.Full()) {
      if (st == status::kOk) *size = io.Size();
      return st;
    }
  }
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
  if (format == kFormatTiff) {
    // Written straight into the new file.
    files::ReplacingFile file;
    if (Status st = file.Create(path)) return st;
    if (Status st = tiff::Encode(*src, fields, file)) return st;
    return file.Commit();
  }
  std::vector<uint8_t> bytes;
  if (Status st = Encode(*src, format, 0, quality, fields, &bytes)) return st;
  return files::WriteReplacing(path, bytes);
}

}  // namespace plat::imaging::imagefile
