#include "imaging/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include <jpeglib.h>
#include <jerror.h>

#include "imaging/ExifFields.h"

namespace plat::imaging::jpeg {
namespace {

constexpr int kFieldMarker = JPEG_APP0 + 11;
constexpr int kExifMarker = JPEG_APP0 + 1;
constexpr char kExifMark[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr char kFieldTag[] = "LumoraFields";  // with its NUL: 13 bytes
constexpr size_t kTagLen = sizeof kFieldTag;
constexpr size_t kChunk = 65533 - kTagLen - 2;
// libjpeg's own working memory (progressive coefficients) is capped as well.
constexpr long kMaxWorkMemory = 512L << 20;

// libjpeg reports errors by calling error_exit, which must not return: we jump
// back to the setjmp of the stage that was running. The stages below hold no
// object with a destructor between setjmp and the library calls.
struct ErrorMgr {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  Status status = status::kOk;
};

void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorMgr*>(cinfo->err);
  switch (cinfo->err->msg_code) {
    case JERR_OUT_OF_MEMORY:
    case JERR_BAD_ALLOC_CHUNK:
    case JERR_VIRTUAL_BUG:
    case JERR_NO_BACKING_STORE:
    case JERR_TFILE_CREATE:
      err->status = status::kNoMemory;
      break;
    case JERR_NO_SOI:
      err->status = status::kUnknownFormat;
      break;
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_NOT_COMPILED:
    case JERR_BAD_PRECISION:
      err->status = status::kUnsupported;
      break;
    default:
      err->status = status::kFileError;
  }
  std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
  // Image data that ends early (the file, or a segment cut by a marker) would be padded
  // with grey: refuse the picture as damaged instead of passing on a part of it.
  const int code = cinfo->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) {
    auto* err = reinterpret_cast<ErrorMgr*>(cinfo->err);
    err->status = status::kFileError;
    std::longjmp(err->jump, 1);
  }
}

void InitErrors(ErrorMgr& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
}

struct Decoder {
  jpeg_decompress_struct cinfo{};
  ErrorMgr err;
  bool created = false;
  ~Decoder() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
};

bool StartDecode(Decoder& d, const uint8_t* data, size_t size, bool markers) {
  if (setjmp(d.err.jump)) return false;
  d.cinfo.err = &d.err.pub;
  jpeg_create_decompress(&d.cinfo);
  d.created = true;
  d.cinfo.mem->max_memory_to_use = kMaxWorkMemory;
  jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
  if (markers) {
    jpeg_save_markers(&d.cinfo, kFieldMarker, 0xFFFF);
    jpeg_save_markers(&d.cinfo, kExifMarker, 0xFFFF);
  }
  jpeg_read_header(&d.cinfo, TRUE);
  return true;
}

bool ReadRows(Decoder& d, uint8_t** rows, int height) {
  if (setjmp(d.err.jump)) return false;
  jpeg_start_decompress(&d.cinfo);
  while (d.cinfo.output_scanline < d.cinfo.output_height) {
    const JDIMENSION at = d.cinfo.output_scanline;
    jpeg_read_scanlines(&d.cinfo, rows + at, std::min<JDIMENSION>(16, height - at));
  }
  jpeg_finish_decompress(&d.cinfo);
  return true;
}

// The private block, from its numbered APP11 segments; false when there is none whole.
bool ReadPrivateBlock(const jpeg_decompress_struct& cinfo, FileFields* fields) {
  std::map<int, std::pair<const uint8_t*, size_t>> chunks;
  int total = 0;
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
    if (m->marker != kFieldMarker || m->data_length < kTagLen + 2) continue;
    if (std::memcmp(m->data, kFieldTag, kTagLen) != 0) continue;
    const int seq = m->data[kTagLen], count = m->data[kTagLen + 1];
    if (total != 0 && count != total) return false;  // mixed blocks: trust none
    total = count;
    chunks[seq] = {m->data + kTagLen + 2, m->data_length - kTagLen - 2};
  }
  if (total == 0 || int(chunks.size()) != total) return false;
  std::vector<uint8_t> block;
  for (int i = 0; i < total; ++i) {
    auto it = chunks.find(i);
    if (it == chunks.end()) return false;
    block.insert(block.end(), it->second.first, it->second.first + it->second.second);
  }
  return fields->Parse(block.data(), block.size());
}

// The private block, then the standard tags of the first Exif segment over it.
void ReadFields(const jpeg_decompress_struct& cinfo, FileFields* fields) {
  if (!fields) return;
  if (!ReadPrivateBlock(cinfo, fields)) fields->Clear();
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
    if (m->marker != kExifMarker || m->data_length < sizeof kExifMark) continue;
    if (std::memcmp(m->data, kExifMark, sizeof kExifMark) != 0) continue;
    exif::Give(exif::Decode(m->data + sizeof kExifMark, m->data_length - sizeof kExifMark), fields);
    break;
  }
}

Status HeaderStatus(const Decoder& d, int* bits) {
  const auto& c = d.cinfo;
  if (c.num_components == 1)
    *bits = 8;
  else if (c.jpeg_color_space == JCS_YCbCr || c.jpeg_color_space == JCS_RGB)
    *bits = 24;
  else
    return status::kUnsupported;  // CMYK and the like
  if (c.image_width > unsigned(Dib::kMaxSide) || c.image_height > unsigned(Dib::kMaxSide)) return status::kUnsupported;
  return status::kOk;
}

// A picture the control can hold: the query describes any header, the load refuses
// before it allocates.
Status HoldableStatus(const Decoder& d, int bits) {
  return Dib::SizeAllowed(int(d.cinfo.image_width), int(d.cinfo.image_height), bits) ? status::kOk
                                                                                      : status::kUnsupported;
}

struct Encoder {
  jpeg_compress_struct cinfo{};
  ErrorMgr err;
  bool created = false;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  ~Encoder() {
    if (created) jpeg_destroy_compress(&cinfo);
    std::free(buffer);
  }
};

bool RunEncode(Encoder& e, const Dib& in, int quality, const std::vector<uint8_t>* exifBlock,
               const std::vector<uint8_t>* block) {
  if (setjmp(e.err.jump)) return false;
  e.cinfo.err = &e.err.pub;
  jpeg_create_compress(&e.cinfo);
  e.created = true;
  jpeg_mem_dest(&e.cinfo, &e.buffer, &e.size);
  e.cinfo.image_width = JDIMENSION(in.Width());
  e.cinfo.image_height = JDIMENSION(in.Height());
  if (in.Bits() == 8) {
    e.cinfo.input_components = 1;
    e.cinfo.in_color_space = JCS_GRAYSCALE;
  } else {
    e.cinfo.input_components = 3;
    e.cinfo.in_color_space = JCS_EXT_BGR;  // the DIB's own byte order, no copy
  }
  jpeg_set_defaults(&e.cinfo);
  jpeg_set_quality(&e.cinfo, quality, TRUE);
  jpeg_start_compress(&e.cinfo, TRUE);
  if (!exifBlock->empty()) {
    jpeg_write_m_header(&e.cinfo, kExifMarker, unsigned(sizeof kExifMark + exifBlock->size()));
    for (char c : kExifMark) jpeg_write_m_byte(&e.cinfo, c);
    for (uint8_t c : *exifBlock) jpeg_write_m_byte(&e.cinfo, c);
  }
  if (!block->empty()) {
    const int total = int((block->size() + kChunk - 1) / kChunk);
    unsigned char head[kTagLen + 2];
    std::memcpy(head, kFieldTag, kTagLen);
    for (int i = 0; i < total; ++i) {
      const size_t off = size_t(i) * kChunk, len = std::min(kChunk, block->size() - off);
      jpeg_write_m_header(&e.cinfo, kFieldMarker, unsigned(kTagLen + 2 + len));
      head[kTagLen] = uint8_t(i);
      head[kTagLen + 1] = uint8_t(total);
      for (unsigned char c : head) jpeg_write_m_byte(&e.cinfo, c);
      for (size_t k = 0; k < len; ++k) jpeg_write_m_byte(&e.cinfo, (*block)[off + k]);
    }
  }
  JSAMPROW rows[16];
  while (e.cinfo.next_scanline < e.cinfo.image_height) {
    const int at = int(e.cinfo.next_scanline);
    const int n = std::min(16, in.Height() - at);
    for (int i = 0; i < n; ++i) rows[i] = const_cast<uint8_t*>(in.Row(at + i));
    jpeg_write_scanlines(&e.cinfo, rows, JDIMENSION(n));
  }
  jpeg_finish_compress(&e.cinfo);
  return true;
}

}  // namespace

int QualityFromFactor(int factor) {
  const int q = 100 - factor;
  return q < 1 ? 1 : q > 100 ? 100 : q;
}

bool LooksLikeJpeg(const uint8_t* data, size_t size) {
  return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

Status ReadInfo(const uint8_t* data, size_t size, FileInfo* info, FileFields* fields) {
  Decoder d;
  InitErrors(d.err);
  if (!StartDecode(d, data, size, fields != nullptr)) return d.err.status;
  int bits = 0;
  if (Status st = HeaderStatus(d, &bits)) return st;
  info->width = int(d.cinfo.image_width);
  info->height = int(d.cinfo.image_height);
  info->bits = bits;
  info->format = kFormatJpeg;
  info->fileBytes = size;
  info->imageBytes = uint64_t(Dib::StrideFor(info->width, bits)) * uint64_t(info->height);
  ReadFields(d.cinfo, fields);
  return status::kOk;
}

Status Decode(const uint8_t* data, size_t size, Dib* out, FileFields* fields) {
  Decoder d;
  InitErrors(d.err);
  if (!StartDecode(d, data, size, fields != nullptr)) return d.err.status;
  int bits = 0;
  if (Status st = HeaderStatus(d, &bits)) return st;
  if (Status st = HoldableStatus(d, bits)) return st;
  d.cinfo.out_color_space = bits == 8 ? JCS_GRAYSCALE : JCS_EXT_BGR;
  Dib dib = Dib::Create(int(d.cinfo.image_width), int(d.cinfo.image_height), bits);
  if (dib.Empty()) return status::kNoMemory;
  // The saved segments go with the decoder's image memory when decoding ends.
  FileFields found;
  ReadFields(d.cinfo, fields ? &found : nullptr);
  std::vector<uint8_t*> rows(dib.Height());
  for (int y = 0; y < dib.Height(); ++y) rows[y] = dib.Row(y);
  if (!ReadRows(d, rows.data(), dib.Height())) return d.err.status;
  if (fields) *fields = std::move(found);
  *out = std::move(dib);
  return status::kOk;
}

Status Encode(const Dib& in, int factor, const FileFields& fields, std::vector<uint8_t>* out) {
  if (in.Empty()) return status::kNoImage;
  if (in.Width() > JPEG_MAX_DIMENSION || in.Height() > JPEG_MAX_DIMENSION) return status::kInvalidArgument;
  // Fields with a standard home go into the Exif segment, the others into the private block.
  FileFields rest = fields;
  const exif::StandardFields standard = exif::Take(&rest);
  const std::vector<uint8_t> exifBlock = standard.Any() ? exif::Encode(standard) : std::vector<uint8_t>();
  const std::vector<uint8_t> block = rest.Serialize();
  if (block.size() > FileFields::kMaxBlock) return status::kInvalidArgument;
  Encoder e;
  InitErrors(e.err);
  if (!RunEncode(e, in, QualityFromFactor(factor), &exifBlock, &block)) return e.err.status;
  out->assign(e.buffer, e.buffer + e.size);
  return status::kOk;
}

}  // namespace plat::imaging::jpeg
