#include "imaging/TiffCodec.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include <tiffio.h>

namespace plat::imaging::tiff {
namespace {

// libtiff reads and writes through these callbacks, over memory.
struct MemFile {
  const uint8_t* data = nullptr;
  size_t size = 0;
  std::vector<uint8_t>* out = nullptr;  // set when writing
  size_t pos = 0;
};

tmsize_t ReadProc(thandle_t h, void* buf, tmsize_t n) {
  auto* f = static_cast<MemFile*>(h);
  const size_t len = f->out ? f->out->size() : f->size;
  const uint8_t* base = f->out ? f->out->data() : f->data;
  if (n < 0 || f->pos >= len) return 0;
  const size_t k = std::min(size_t(n), len - f->pos);
  std::memcpy(buf, base + f->pos, k);
  f->pos += k;
  return tmsize_t(k);
}
tmsize_t WriteProc(thandle_t h, void* buf, tmsize_t n) {
  auto* f = static_cast<MemFile*>(h);
  if (!f->out || n < 0) return 0;
  if (f->pos + size_t(n) > f->out->size()) f->out->resize(f->pos + size_t(n));
  std::memcpy(f->out->data() + f->pos, buf, size_t(n));
  f->pos += size_t(n);
  return n;
}
toff_t SeekProc(thandle_t h, toff_t off, int whence) {
  auto* f = static_cast<MemFile*>(h);
  const size_t len = f->out ? f->out->size() : f->size;
  uint64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? f->pos : len;
  const uint64_t to = base + off;
  if (to > (uint64_t(1) << 32) * 4) return toff_t(-1);
  f->pos = size_t(to);
  return to;
}
int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t h) {
  auto* f = static_cast<MemFile*>(h);
  return f->out ? f->out->size() : f->size;
}
int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

TIFFExtendProc g_parentExtender = nullptr;
void ExtendTags(TIFF* tif) {
  static const TIFFFieldInfo info[] = {{ttag_t(kFieldTag), TIFF_VARIABLE2, TIFF_VARIABLE2, TIFF_UNDEFINED,
                                        FIELD_CUSTOM, 1, 1, const_cast<char*>("LumoraFields")}};
  TIFFMergeFieldInfo(tif, info, 1);
  if (g_parentExtender) g_parentExtender(tif);
}

void InitLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    g_parentExtender = TIFFSetTagExtender(ExtendTags);
    // Damaged files are reported through our statuses, not printed.
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
  });
}

struct Handle {
  TIFF* tif = nullptr;
  ~Handle() {
    if (tif) TIFFClose(tif);
  }
};

TIFF* OpenRead(MemFile* f) {
  InitLibrary();
  return TIFFClientOpen("picture", "rm", f, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc, MapProc, UnmapProc);
}

struct Shape {
  uint32_t width = 0, height = 0;
  uint16_t bps = 0, spp = 0, photometric = 0, planar = 0;
  bool direct = false;  // strips of 8-bit grey or RGB that we copy ourselves
  int outBits = 24;
};

Status ReadShape(TIFF* tif, Shape* s) {
  if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &s->width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &s->height))
    return status::kFileError;
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &s->bps);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &s->spp);
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &s->planar);
  if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &s->photometric)) s->photometric = PHOTOMETRIC_MINISBLACK;
  const bool grey = s->photometric == PHOTOMETRIC_MINISBLACK || s->photometric == PHOTOMETRIC_MINISWHITE;
  s->outBits = grey && s->spp == 1 ? 8 : 24;
  if (s->width < 1 || s->height < 1 || s->width > uint32_t(Dib::kMaxSide) || s->height > uint32_t(Dib::kMaxSide) ||
      !Dib::SizeAllowed(int(s->width), int(s->height), s->outBits))
    return status::kUnsupported;
  s->direct = !TIFFIsTiled(tif) && s->bps == 8 && s->planar == PLANARCONFIG_CONTIG &&
              ((s->outBits == 8) || (s->photometric == PHOTOMETRIC_RGB && (s->spp == 3 || s->spp == 4)));
  if (!s->direct) {
    char msg[1024];
    if (!TIFFRGBAImageOK(tif, msg)) return status::kUnsupported;
    // The general path decodes into 32 bits a pixel first.
    if (uint64_t(s->width) * s->height * 4 > Dib::kMaxBytes) return status::kUnsupported;
  }
  return status::kOk;
}

void ReadFields(TIFF* tif, FileFields* fields) {
  if (!fields) return;
  fields->Clear();
  uint32_t count = 0;
  void* data = nullptr;
  if (TIFFGetField(tif, ttag_t(kFieldTag), &count, &data) && data)
    fields->Parse(static_cast<const uint8_t*>(data), count);
}

// An opened file with its checked shape.
struct Reader {
  MemFile file;
  Handle handle;
  Shape shape;
  Status Open(const uint8_t* data, size_t size) {
    file = MemFile{data, size};
    handle.tif = OpenRead(&file);
    if (!handle.tif) return status::kFileError;
    return ReadShape(handle.tif, &shape);
  }
};

Status DecodeDirect(TIFF* tif, const Shape& s, Dib& d) {
  const tmsize_t line = TIFFScanlineSize(tif);
  if (line < tmsize_t(s.width) * s.spp) return status::kFileError;
  std::vector<uint8_t> buf(static_cast<size_t>(line));
  for (uint32_t y = 0; y < s.height; ++y) {
    if (TIFFReadScanline(tif, buf.data(), y, 0) < 0) return status::kFileError;
    uint8_t* o = d.Row(int(y));
    if (s.outBits == 8) {
      if (s.photometric == PHOTOMETRIC_MINISWHITE)
        for (uint32_t x = 0; x < s.width; ++x) o[x] = uint8_t(255 - buf[x]);
      else
        std::memcpy(o, buf.data(), s.width);
    } else {
      const uint8_t* p = buf.data();
      for (uint32_t x = 0; x < s.width; ++x, p += s.spp, o += 3) {
        o[0] = p[2];
        o[1] = p[1];
        o[2] = p[0];
      }
    }
  }
  return status::kOk;
}

Status DecodeGeneral(TIFF* tif, const Shape& s, Dib& d) {
  std::vector<uint32_t> rgba;
  rgba.resize(size_t(s.width) * s.height);
  if (!TIFFReadRGBAImageOriented(tif, s.width, s.height, rgba.data(), ORIENTATION_TOPLEFT, 0))
    return status::kFileError;
  for (uint32_t y = 0; y < s.height; ++y) {
    const uint32_t* p = &rgba[size_t(y) * s.width];
    uint8_t* o = d.Row(int(y));
    for (uint32_t x = 0; x < s.width; ++x) {
      if (d.Bits() == 8) {
        o[x] = uint8_t(TIFFGetR(p[x]));
      } else {
        o[3 * x] = uint8_t(TIFFGetB(p[x]));
        o[3 * x + 1] = uint8_t(TIFFGetG(p[x]));
        o[3 * x + 2] = uint8_t(TIFFGetR(p[x]));
      }
    }
  }
  return status::kOk;
}

}  // namespace

bool LooksLikeTiff(const uint8_t* data, size_t size) {
  return size >= 4 && ((data[0] == 'I' && data[1] == 'I' && (data[2] == 42 || data[2] == 43) && data[3] == 0) ||
                       (data[0] == 'M' && data[1] == 'M' && data[2] == 0 && (data[3] == 42 || data[3] == 43)));
}

Status ReadInfo(const uint8_t* data, size_t size, FileInfo* info, FileFields* fields) {
  Reader r;
  if (Status st = r.Open(data, size)) return st;
  const Shape& s = r.shape;
  info->width = int(s.width);
  info->height = int(s.height);
  info->bits = s.outBits;
  info->format = kFormatTiff;
  info->fileBytes = size;
  info->imageBytes = uint64_t(Dib::StrideFor(info->width, s.outBits)) * s.height;
  ReadFields(r.handle.tif, fields);
  return status::kOk;
}

Status Decode(const uint8_t* data, size_t size, Dib* out, FileFields* fields) {
  Reader r;
  if (Status st = r.Open(data, size)) return st;
  const Shape& s = r.shape;
  Dib d = Dib::Create(int(s.width), int(s.height), s.outBits);
  if (d.Empty()) return status::kNoMemory;
  TIFF* tif = r.handle.tif;
  if (Status st = s.direct ? DecodeDirect(tif, s, d) : DecodeGeneral(tif, s, d)) return st;
  ReadFields(tif, fields);
  *out = std::move(d);
  return status::kOk;
}

Status Encode(const Dib& in, const FileFields& fields, std::vector<uint8_t>* out) {
  if (in.Empty()) return status::kNoImage;
  InitLibrary();
  std::vector<uint8_t> bytes;
  bytes.reserve(in.ByteSize() + 4096);
  MemFile f;
  f.out = &bytes;
  Handle h{TIFFClientOpen("picture", "w", &f, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc, MapProc,
                          UnmapProc)};
  if (!h.tif) return status::kNoMemory;
  const bool grey = in.Bits() == 8;
  const uint32_t rowBytes = uint32_t(in.Width()) * (grey ? 1 : 3);
  TIFFSetField(h.tif, TIFFTAG_IMAGEWIDTH, uint32_t(in.Width()));
  TIFFSetField(h.tif, TIFFTAG_IMAGELENGTH, uint32_t(in.Height()));
  TIFFSetField(h.tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(h.tif, TIFFTAG_SAMPLESPERPIXEL, grey ? 1 : 3);
  TIFFSetField(h.tif, TIFFTAG_PHOTOMETRIC, grey ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
  TIFFSetField(h.tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(h.tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  TIFFSetField(h.tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(h.tif, TIFFTAG_ROWSPERSTRIP, std::max<uint32_t>(1, 65536 / std::max<uint32_t>(rowBytes, 1)));
  const std::vector<uint8_t> block = fields.Serialize();
  if (!block.empty()) TIFFSetField(h.tif, ttag_t(kFieldTag), uint32_t(block.size()), block.data());
  std::vector<uint8_t> row(rowBytes);
  for (int y = 0; y < in.Height(); ++y) {
    const uint8_t* s = in.Row(y);
    if (grey) {
      std::memcpy(row.data(), s, rowBytes);
    } else {
      for (int x = 0; x < in.Width(); ++x) {
        row[3 * x] = s[3 * x + 2];
        row[3 * x + 1] = s[3 * x + 1];
        row[3 * x + 2] = s[3 * x];
      }
    }
    if (TIFFWriteScanline(h.tif, row.data(), uint32_t(y), 0) < 0) return status::kFileError;
  }
  if (!TIFFWriteDirectory(h.tif)) return status::kFileError;
  TIFFClose(h.tif);
  h.tif = nullptr;
  *out = std::move(bytes);
  return status::kOk;
}

}  // namespace plat::imaging::tiff
