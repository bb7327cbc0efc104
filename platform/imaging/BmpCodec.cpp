#include "imaging/BmpCodec.h"

#include <cstring>

namespace plat::imaging::bmp {
namespace {

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
void Put16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// The parsed and checked headers: every offset and size below lies inside the file.
struct Layout {
  int width = 0, height = 0, fileBits = 0, outBits = 0;
  bool topDown = false;
  size_t dataOffset = 0, fileStride = 0;
  RGBQUAD palette[256]{};
  int paletteCount = 0;
};

Status Parse(const uint8_t* data, size_t size, Layout* l) {
  if (!LooksLikeBmp(data, size)) return status::kUnknownFormat;
  if (size < 14 + 12) return status::kFileError;
  const uint32_t offBits = Get32(data + 10);
  const uint32_t hdr = Get32(data + 14);
  int64_t w, h;
  int bits, paletteEntry;
  uint32_t compression = 0, clrUsed = 0;
  if (hdr == 12) {  // the old core header
    w = Get16(data + 18);
    h = Get16(data + 20);  // unsigned here: the old header has no top-down form
    bits = Get16(data + 24);
    paletteEntry = 3;
  } else if (hdr >= 40 && hdr <= 124) {
    if (size < 14 + size_t(hdr)) return status::kFileError;
    w = int32_t(Get32(data + 18));
    h = int32_t(Get32(data + 22));
    bits = Get16(data + 28);
    compression = Get32(data + 30);
    clrUsed = Get32(data + 46);
    paletteEntry = 4;
  } else {
    return status::kUnsupported;
  }
  if (compression == BI_BITFIELDS && bits == 32 && hdr >= 40) {
    // Only the usual layout (blue in the low byte) is read; the masks follow the
    // 40-byte header (inside the longer headers, after the short one).
    if (size < 66) return status::kFileError;
    if (Get32(data + 54) != 0x00FF0000 || Get32(data + 58) != 0x0000FF00 || Get32(data + 62) != 0x000000FF)
      return status::kUnsupported;
  } else if (compression != BI_RGB) {
    return status::kUnsupported;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return status::kUnsupported;
  l->topDown = h < 0;
  if (h < 0) h = -h;
  if (w < 1 || h < 1 || w > Dib::kMaxSide || h > Dib::kMaxSide) return status::kUnsupported;
  l->width = int(w);
  l->height = int(h);
  l->fileBits = bits;
  l->fileStride = size_t(Dib::StrideFor(l->width, bits));
  if (bits <= 8) {
    const size_t max = size_t(1) << bits;
    const size_t count = clrUsed == 0 ? max : clrUsed;
    if (count > max) return status::kFileError;
    const size_t at = 14 + hdr;
    if (at + count * paletteEntry > size) return status::kFileError;
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* p = data + at + i * paletteEntry;
      l->palette[i] = RGBQUAD{p[0], p[1], p[2], 0};
    }
    l->paletteCount = int(count);
  }
  // The pixels must all be in the file before anything is allocated for them.
  if (offBits < 14 + hdr || offBits > size) return status::kFileError;
  if (uint64_t(size - offBits) < uint64_t(l->fileStride) * uint64_t(l->height)) return status::kFileError;
  l->dataOffset = offBits;
  bool grey = bits <= 8;
  for (int i = 0; grey && i < l->paletteCount; ++i) {
    const RGBQUAD& q = l->palette[i];
    // An 8-bit picture with the identity grey table stays 8-bit.
    grey = bits == 8 && q.rgbBlue == i && q.rgbGreen == i && q.rgbRed == i;
  }
  l->outBits = grey ? 8 : 24;
  if (!Dib::SizeAllowed(l->width, l->height, l->outBits)) return status::kUnsupported;
  return status::kOk;
}

}  // namespace

bool LooksLikeBmp(const uint8_t* data, size_t size) { return size >= 2 && data[0] == 'B' && data[1] == 'M'; }

Status ReadInfo(const uint8_t* data, size_t size, FileInfo* info) {
  Layout l;
  if (Status st = Parse(data, size, &l)) return st;
  info->width = l.width;
  info->height = l.height;
  info->bits = l.outBits;
  info->format = kFormatBmp;
  info->fileBytes = size;
  info->imageBytes = uint64_t(Dib::StrideFor(l.width, l.outBits)) * uint64_t(l.height);
  return status::kOk;
}

Status Decode(const uint8_t* data, size_t size, Dib* out) {
  Layout l;
  if (Status st = Parse(data, size, &l)) return st;
  Dib d = Dib::Create(l.width, l.height, l.outBits);
  if (d.Empty()) return status::kNoMemory;
  for (int y = 0; y < l.height; ++y) {
    const int fileRow = l.topDown ? y : l.height - 1 - y;
    const uint8_t* s = data + l.dataOffset + size_t(fileRow) * l.fileStride;
    uint8_t* o = d.Row(y);
    if (l.fileBits == 24) {
      std::memcpy(o, s, size_t(l.width) * 3);
    } else if (l.fileBits == 32) {
      for (int x = 0; x < l.width; ++x) std::memcpy(o + 3 * x, s + 4 * x, 3);
    } else if (l.outBits == 8) {
      std::memcpy(o, s, size_t(l.width));
    } else {
      const int per = 8 / l.fileBits, mask = (1 << l.fileBits) - 1;
      for (int x = 0; x < l.width; ++x) {
        const int shift = 8 - l.fileBits * (x % per + 1);
        const int idx = (s[x / per] >> shift) & mask;
        // An index beyond a short palette reads as black.
        const RGBQUAD q = idx < l.paletteCount ? l.palette[idx] : RGBQUAD{0, 0, 0, 0};
        o[3 * x] = q.rgbBlue;
        o[3 * x + 1] = q.rgbGreen;
        o[3 * x + 2] = q.rgbRed;
      }
    }
  }
  *out = std::move(d);
  return status::kOk;
}

Status Header(const Dib& in, std::vector<uint8_t>* head, uint64_t* fileSize) {
  if (in.Empty()) return status::kNoImage;
  const uint32_t paletteBytes = in.Bits() == 8 ? 256 * 4 : 0;
  const uint32_t offBits = 14 + 40 + paletteBytes;
  const uint64_t total = offBits + uint64_t(in.ByteSize());
  if (total > 0xFFFFFFFFu) return status::kInvalidArgument;
  std::vector<uint8_t> f(offBits, 0);
  f[0] = 'B';
  f[1] = 'M';
  Put32(&f[2], uint32_t(total));
  Put32(&f[10], offBits);
  Put32(&f[14], 40);
  Put32(&f[18], uint32_t(in.Width()));
  Put32(&f[22], uint32_t(in.Height()));
  Put16(&f[26], 1);
  Put16(&f[28], uint16_t(in.Bits()));
  Put32(&f[30], BI_RGB);
  Put32(&f[34], uint32_t(in.ByteSize()));
  if (in.Bits() == 8) {
    Put32(&f[46], 256);
    std::memcpy(&f[54], in.Palette().data(), paletteBytes);
  }
  *head = std::move(f);
  *fileSize = total;
  return status::kOk;
}

Status EncodeInto(const Dib& in, uint8_t* block, size_t capacity, uint64_t* size) {
  std::vector<uint8_t> head;
  if (Status st = Header(in, &head, size)) return st;
  if (*size > capacity) return status::kNoMemory;
  std::memcpy(block, head.data(), head.size());
  // The picture is already a bottom-up DIB: its block is the file's pixel data.
  std::memcpy(block + head.size(), in.Bits0(), in.ByteSize());
  return status::kOk;
}

Status Encode(const Dib& in, std::vector<uint8_t>* out) {
  std::vector<uint8_t> head;
  uint64_t total = 0;
  if (Status st = Header(in, &head, &total)) return st;
  head.insert(head.end(), in.Bits0(), in.Bits0() + in.ByteSize());
  *out = std::move(head);
  return status::kOk;
}

}  // namespace plat::imaging::bmp
