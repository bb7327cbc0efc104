#include "imaging/TiffCodec.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include <tiffio.h>

#include "imaging/ChannelOrder.h"
#include "imaging/ExifFields.h"
#include "imaging/FileAccess.h"

namespace plat::imaging::tiff {
namespace {

// Limits checked before libtiff is asked to decode anything: samples and bits the
// control's pictures can come from, and a tile the size of a large strip at most.
constexpr uint16_t kMaxSamples = 8;
constexpr uint64_t kMaxTileBytes = uint64_t(64) << 20;
// Saved pictures state 72 pixels per inch: they carry no physical size of their own.
constexpr float kResolution = 72.0f;

// libtiff reads and writes through these callbacks, over memory or a file. Contents
// in memory are handed to libtiff as mapped, so strips are used where they lie.
struct Client {
  files::RandomAccess* io;
  bool writing;
  uint64_t pos = 0;
};

tmsize_t ReadProc(thandle_t h, void* buf, tmsize_t n) {
  auto* c = static_cast<Client*>(h);
  if (n < 0) return 0;
  const size_t k = c->io->ReadAt(c->pos, buf, size_t(n));
  c->pos += k;
  return tmsize_t(k);
}
tmsize_t WriteProc(thandle_t h, void* buf, tmsize_t n) {
  auto* c = static_cast<Client*>(h);
  if (!c->writing || n < 0 || !c->io->WriteAt(c->pos, buf, size_t(n))) return 0;
  c->pos += uint64_t(n);
  return n;
}
toff_t SeekProc(thandle_t h, toff_t off, int whence) {
  auto* c = static_cast<Client*>(h);
  uint64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? c->pos : c->io->Size();
  const uint64_t to = base + off;
  if (to > (uint64_t(1) << 32) * 4) return toff_t(-1);
  c->pos = to;
  return to;
}
int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t h) { return static_cast<Client*>(h)->io->Size(); }
int MapProc(thandle_t h, void** base, toff_t* size) {
  auto* c = static_cast<Client*>(h);
  const uint8_t* memory = c->io->Memory();
  if (c->writing || !memory) return 0;
  *base = const_cast<uint8_t*>(memory);
  *size = c->io->Size();
  return 1;
}
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

TIFF* OpenTiff(Client* c, const char* mode) {
  InitLibrary();
  return TIFFClientOpen("picture", mode, c, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc, MapProc, UnmapProc);
}

enum class Path { Strips, CompressedStrips, Tiles, General };

struct Shape {
  uint32_t width = 0, height = 0;
  uint16_t bps = 0, spp = 0, photometric = 0, planar = 0, compression = 0;
  Path path = Path::General;
  int outBits = 24;
};

Status ReadShape(TIFF* tif, Shape* s) {
  if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &s->width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &s->height))
    return status::kFileError;
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &s->bps);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &s->spp);
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &s->planar);
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &s->compression);
  if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &s->photometric)) s->photometric = PHOTOMETRIC_MINISBLACK;
  // Sizes first: libtiff's own buffers grow with samples and bits per pixel.
  if (s->spp < 1 || s->spp > kMaxSamples) return status::kUnsupported;
  if (s->bps != 1 && s->bps != 2 && s->bps != 4 && s->bps != 8 && s->bps != 16) return status::kUnsupported;
  const bool grey = s->photometric == PHOTOMETRIC_MINISBLACK || s->photometric == PHOTOMETRIC_MINISWHITE;
  s->outBits = grey && s->spp == 1 ? 8 : 24;
  if (s->width < 1 || s->height < 1 || s->width > uint32_t(Dib::kMaxSide) || s->height > uint32_t(Dib::kMaxSide) ||
      !Dib::SizeAllowed(int(s->width), int(s->height), s->outBits))
    return status::kUnsupported;
  const bool tiled = TIFFIsTiled(tif);
  if (tiled) {
    uint32_t tw = 0, tl = 0;
    if (!TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tw) || !TIFFGetField(tif, TIFFTAG_TILELENGTH, &tl) || tw == 0 ||
        tl == 0 || TIFFTileSize64(tif) == 0 || TIFFTileSize64(tif) > kMaxTileBytes)
      return status::kFileError;
  }
  const bool plain = s->bps == 8 && s->planar == PLANARCONFIG_CONTIG &&
                     ((s->outBits == 8) || (s->photometric == PHOTOMETRIC_RGB && (s->spp == 3 || s->spp == 4)));
  if (plain) {
    s->path = tiled ? Path::Tiles : s->compression == COMPRESSION_NONE ? Path::Strips : Path::CompressedStrips;
    return status::kOk;
  }
  s->path = Path::General;
  char msg[1024];
  if (!TIFFRGBAImageOK(tif, msg)) return status::kUnsupported;
  // The general path decodes into 32 bits a pixel first.
  if (uint64_t(s->width) * s->height * 4 > Dib::kMaxBytes) return status::kUnsupported;
  return status::kOk;
}

// One row of 8-bit samples into the picture's form: grey as it is (or turned over),
// RGB(A) to BGR.
void ConvertRow(const Shape& s, const uint8_t* in, uint8_t* o, uint32_t count) {
  if (s.outBits == 8) {
    if (s.photometric == PHOTOMETRIC_MINISWHITE)
      for (uint32_t x = 0; x < count; ++x) o[x] = uint8_t(255 - in[x]);
    else
      std::memcpy(o, in, count);
    return;
  }
  if (s.spp == 3) {
    SwapRedBlue(in, o, count);
    return;
  }
  const uint16_t spp = s.spp;
  for (uint32_t x = 0; x < count; ++x, in += spp, o += 3) {
    o[0] = in[2];
    o[1] = in[1];
    o[2] = in[0];
  }
}

// Uncompressed strips are converted straight from the file's bytes where they lie in
// memory, else read a band of rows at a time.
Status DecodeStrips(TIFF* tif, files::RandomAccess& io, const Shape& s, Dib& d) {
  uint32_t rps = s.height;
  TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rps);
  rps = std::clamp<uint32_t>(rps, 1, s.height);
  const uint64_t* offsets = nullptr;
  const uint64_t* counts = nullptr;
  if (!TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets) || !TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &counts) ||
      !offsets || !counts)
    return status::kFileError;
  const uint32_t strips = (s.height + rps - 1) / rps;
  if (TIFFNumberOfStrips(tif) < strips) return status::kFileError;
  const size_t line = size_t(s.width) * s.spp;
  const uint8_t* memory = io.Memory();
  const uint64_t size = io.Size();
  const uint32_t band = uint32_t(std::max<size_t>(1, (size_t(256) << 10) / line));
  std::vector<uint8_t> buf(memory ? 0 : line * std::min(band, rps));
  for (uint32_t k = 0; k < strips; ++k) {
    const uint32_t first = k * rps, rows = std::min(rps, s.height - first);
    const uint64_t need = uint64_t(rows) * line;
    if (offsets[k] > size || need > size - offsets[k] || counts[k] < need) return status::kFileError;
    for (uint32_t r = 0; r < rows;) {
      const uint32_t n = memory ? rows : std::min(band, rows - r);
      const uint8_t* p = memory ? memory + offsets[k] : buf.data();
      if (!memory && io.ReadAt(offsets[k] + uint64_t(r) * line, buf.data(), n * line) != n * line)
        return status::kFileError;
      for (uint32_t i = 0; i < n; ++i, p += line) ConvertRow(s, p, d.Row(int(first + r + i)), s.width);
      r += n;
    }
  }
  return status::kOk;
}

Status DecodeCompressedStrips(TIFF* tif, const Shape& s, Dib& d) {
  const tmsize_t line = TIFFScanlineSize(tif);
  if (line < tmsize_t(s.width) * s.spp) return status::kFileError;
  std::vector<uint8_t> buf(static_cast<size_t>(line));
  for (uint32_t y = 0; y < s.height; ++y) {
    if (TIFFReadScanline(tif, buf.data(), y, 0) < 0) return status::kFileError;
    ConvertRow(s, buf.data(), d.Row(int(y)), s.width);
  }
  return status::kOk;
}

Status DecodeTiles(TIFF* tif, const Shape& s, Dib& d) {
  uint32_t tw = 0, tl = 0;
  TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tw);
  TIFFGetField(tif, TIFFTAG_TILELENGTH, &tl);
  const tmsize_t tileBytes = TIFFTileSize(tif);
  if (tileBytes < tmsize_t(uint64_t(tw) * tl * s.spp)) return status::kFileError;
  std::vector<uint8_t> tile(static_cast<size_t>(tileBytes));
  const size_t tileLine = size_t(tw) * s.spp;
  for (uint32_t ty = 0; ty < s.height; ty += tl) {
    for (uint32_t tx = 0; tx < s.width; tx += tw) {
      if (TIFFReadTile(tif, tile.data(), tx, ty, 0, 0) < 0) return status::kFileError;
      const uint32_t rows = std::min(tl, s.height - ty), cols = std::min(tw, s.width - tx);
      for (uint32_t r = 0; r < rows; ++r)
        ConvertRow(s, tile.data() + r * tileLine, d.Row(int(ty + r)) + size_t(tx) * (s.outBits / 8), cols);
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

// The private block, then the standard tags (IFD 0 and the Exif IFD) over it.
void ReadFields(TIFF* tif, files::RandomAccess& io, FileFields* fields) {
  if (!fields) return;
  fields->Clear();
  uint32_t count = 0;
  void* block = nullptr;
  if (TIFFGetField(tif, ttag_t(kFieldTag), &count, &block) && block)
    fields->Parse(static_cast<const uint8_t*>(block), count);
  exif::Give(exif::Decode([&io](uint64_t at, void* out, size_t n) { return io.ReadAt(at, out, n); }, io.Size()),
             fields);
}

// An opened file with its checked shape.
struct Reader {
  Client client;
  Handle handle;
  Shape shape;
  explicit Reader(files::RandomAccess& io) : client{&io, false} {}
  Status Open() {
    handle.tif = OpenTiff(&client, "r");
    if (!handle.tif) return status::kFileError;
    return ReadShape(handle.tif, &shape);
  }
};

// libtiff keeps a rational as a float, which cannot hold 1/3 or 7/12000: the exact
// fraction is written over the value libtiff stored (the file is little-endian).
void WriteExactExposure(files::RandomAccess& io, uint64_t exifIfd, uint32_t num, uint32_t den) {
  auto get16 = [](const uint8_t* p) { return uint32_t(p[0] | p[1] << 8); };
  auto get32 = [&](const uint8_t* p) { return get16(p) | get16(p + 2) << 16; };
  uint8_t count[2];
  if (io.ReadAt(exifIfd, count, 2) != 2) return;
  const uint32_t n = get16(count);
  std::vector<uint8_t> entries(size_t(n) * 12);
  if (io.ReadAt(exifIfd + 2, entries.data(), entries.size()) != entries.size()) return;
  for (uint32_t i = 0; i < n; ++i) {
    const uint8_t* e = entries.data() + 12 * i;
    if (get16(e) != EXIFTAG_EXPOSURETIME || get16(e + 2) != TIFF_RATIONAL || get32(e + 4) != 1) continue;
    uint8_t value[8];
    for (int k = 0; k < 4; ++k) {
      value[k] = uint8_t(num >> (8 * k));
      value[4 + k] = uint8_t(den >> (8 * k));
    }
    io.WriteAt(get32(e + 8), value, sizeof value);
    return;
  }
}

// Writes the Exif IFD after the picture's directory and points IFD 0 at it.
bool WriteExifDirectory(TIFF* tif, const exif::StandardFields& s, uint64_t* offset) {
  if (TIFFCreateEXIFDirectory(tif) != 0) return false;
  if (s.exposure) TIFFSetField(tif, EXIFTAG_EXPOSURETIME, double(s.exposure->first) / std::max(1u, s.exposure->second));
  TIFFSetField(tif, EXIFTAG_EXIFVERSION, "0230");
  if (s.original) TIFFSetField(tif, EXIFTAG_DATETIMEORIGINAL, s.original->c_str());
  if (s.digitized) TIFFSetField(tif, EXIFTAG_DATETIMEDIGITIZED, s.digitized->c_str());
  if (s.userComment) TIFFSetField(tif, EXIFTAG_USERCOMMENT, uint32_t(s.userComment->size()), s.userComment->data());
  TIFFSetField(tif, EXIFTAG_FLASHPIXVERSION, "0100");
  TIFFSetField(tif, EXIFTAG_COLORSPACE, 1);  // sRGB
  if (!TIFFWriteCustomDirectory(tif, offset)) return false;
  if (!TIFFSetDirectory(tif, 0)) return false;
  TIFFSetField(tif, TIFFTAG_EXIFIFD, *offset);
  return TIFFRewriteDirectory(tif) != 0;
}

}  // namespace

bool LooksLikeTiff(const uint8_t* data, size_t size) {
  return size >= 4 && ((data[0] == 'I' && data[1] == 'I' && (data[2] == 42 || data[2] == 43) && data[3] == 0) ||
                       (data[0] == 'M' && data[1] == 'M' && data[2] == 0 && (data[3] == 42 || data[3] == 43)));
}

Status ReadInfo(files::RandomAccess& io, FileInfo* info, FileFields* fields) {
  Reader r(io);
  if (Status st = r.Open()) return st;
  const Shape& s = r.shape;
  info->width = int(s.width);
  info->height = int(s.height);
  info->bits = s.outBits;
  info->format = kFormatTiff;
  info->fileBytes = io.Size();
  info->imageBytes = uint64_t(Dib::StrideFor(info->width, s.outBits)) * s.height;
  ReadFields(r.handle.tif, io, fields);
  return status::kOk;
}

Status Decode(files::RandomAccess& io, Dib* out, FileFields* fields) {
  Reader r(io);
  if (Status st = r.Open()) return st;
  const Shape& s = r.shape;
  Dib d = Dib::Create(int(s.width), int(s.height), s.outBits);
  if (d.Empty()) return status::kNoMemory;
  TIFF* tif = r.handle.tif;
  Status st = status::kOk;
  switch (s.path) {
    case Path::Strips: st = DecodeStrips(tif, io, s, d); break;
    case Path::CompressedStrips: st = DecodeCompressedStrips(tif, s, d); break;
    case Path::Tiles: st = DecodeTiles(tif, s, d); break;
    case Path::General: st = DecodeGeneral(tif, s, d); break;
  }
  if (st) return st;
  ReadFields(tif, io, fields);
  *out = std::move(d);
  return status::kOk;
}

Status ReadInfo(const uint8_t* data, size_t size, FileInfo* info, FileFields* fields) {
  files::MemoryAccess io(data, size);
  return ReadInfo(io, info, fields);
}

Status Decode(const uint8_t* data, size_t size, Dib* out, FileFields* fields) {
  files::MemoryAccess io(data, size);
  return Decode(io, out, fields);
}

Status Encode(const Dib& in, const FileFields& fields, files::RandomAccess& io) {
  if (in.Empty()) return status::kNoImage;
  FileFields rest = fields;
  const exif::StandardFields standard = exif::Take(&rest);
  const std::vector<uint8_t> block = rest.Serialize();
  Client client{&io, true};
  // Little-endian always, which the exposure fix-up below relies on.
  Handle h{OpenTiff(&client, "wl")};
  if (!h.tif) return io.WriteFailed() ? status::kFileError : status::kNoMemory;
  const bool grey = in.Bits() == 8;
  const uint32_t rowBytes = uint32_t(in.Width()) * (grey ? 1 : 3);
  const uint32_t rps = std::max<uint32_t>(1, 65536 / std::max<uint32_t>(rowBytes, 1));
  TIFFSetField(h.tif, TIFFTAG_IMAGEWIDTH, uint32_t(in.Width()));
  TIFFSetField(h.tif, TIFFTAG_IMAGELENGTH, uint32_t(in.Height()));
  TIFFSetField(h.tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(h.tif, TIFFTAG_SAMPLESPERPIXEL, grey ? 1 : 3);
  TIFFSetField(h.tif, TIFFTAG_PHOTOMETRIC, grey ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
  TIFFSetField(h.tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(h.tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  TIFFSetField(h.tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(h.tif, TIFFTAG_ROWSPERSTRIP, rps);
  TIFFSetField(h.tif, TIFFTAG_XRESOLUTION, kResolution);
  TIFFSetField(h.tif, TIFFTAG_YRESOLUTION, kResolution);
  TIFFSetField(h.tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  if (standard.description) TIFFSetField(h.tif, TIFFTAG_IMAGEDESCRIPTION, standard.description->c_str());
  const bool exifIfd = standard.original || standard.digitized || standard.exposure || standard.userComment;
  if (exifIfd) TIFFSetField(h.tif, TIFFTAG_EXIFIFD, uint64_t(0));  // set once the Exif IFD is written
  if (!block.empty()) TIFFSetField(h.tif, ttag_t(kFieldTag), uint32_t(block.size()), block.data());
  // Whole strips at a time: uncompressed strips go to the file without another copy.
  std::vector<uint8_t> strip(size_t(rowBytes) * rps);
  for (uint32_t first = 0, k = 0; first < uint32_t(in.Height()); first += rps, ++k) {
    const uint32_t rows = std::min<uint32_t>(rps, uint32_t(in.Height()) - first);
    for (uint32_t r = 0; r < rows; ++r) {
      const uint8_t* s = in.Row(int(first + r));
      uint8_t* o = strip.data() + size_t(r) * rowBytes;
      if (grey)
        std::memcpy(o, s, rowBytes);
      else
        SwapRedBlue(s, o, size_t(in.Width()));
    }
    if (TIFFWriteEncodedStrip(h.tif, k, strip.data(), tmsize_t(rows) * rowBytes) < 0) return status::kFileError;
  }
  if (!TIFFWriteDirectory(h.tif)) return status::kFileError;
  uint64_t exifAt = 0;
  if (exifIfd && !WriteExifDirectory(h.tif, standard, &exifAt)) return status::kFileError;
  TIFFClose(h.tif);
  h.tif = nullptr;
  if (standard.exposure) WriteExactExposure(io, exifAt, standard.exposure->first, standard.exposure->second);
  return status::kOk;
}

Status Encode(const Dib& in, const FileFields& fields, std::vector<uint8_t>* out) {
  std::vector<uint8_t> bytes;
  bytes.reserve(in.ByteSize() + 4096);
  files::MemoryAccess io(&bytes);
  if (Status st = Encode(in, fields, io)) return st;
  *out = std::move(bytes);
  return status::kOk;
}

}  // namespace plat::imaging::tiff
