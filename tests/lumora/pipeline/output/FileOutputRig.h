// The file output as the main frame makes it (child 1131, both displays registered),
// with readers that look at what it wrote the way outside programs do: libjpeg-turbo,
// libtiff and a BMP header read here.
#pragma once
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <tiffio.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../StageRig.h"
#include "OleAuto.h"
#include "TestEnv.h"
#include "pipeline/VexCommentField.h"
#include "pipeline/output/VexFileOutput.h"

namespace fileoutputrig {

inline std::string Native(const std::string& windowsPath) {
  std::string rest = windowsPath.substr(2);
  for (char& c : rest) c = c == '\\' ? '/' : c;
  return testenv::DriveC() + rest;
}

inline std::string Bytes(const std::string& windowsPath) {
  std::ifstream in(Native(windowsPath), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A decoded picture: its size, channels and samples (R, G, B or grey), top row first.
struct Decoded {
  int width = 0, height = 0, channels = 0;
  std::vector<unsigned char> samples;
  bool ok = false;
};

inline Decoded DecodeJpeg(const std::string& windowsPath) {
  Decoded out;
  const std::string data = Bytes(windowsPath);
  if (data.empty()) return out;
  struct Error {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
  } err{};
  jpeg_decompress_struct d{};
  d.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<Error*>(c->err)->jump, 1); };
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&d);
    return Decoded{};
  }
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&d, TRUE);
  jpeg_start_decompress(&d);
  out.width = int(d.output_width);
  out.height = int(d.output_height);
  out.channels = d.output_components;
  out.samples.resize(size_t(out.width) * out.height * out.channels);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = &out.samples[size_t(d.output_scanline) * out.width * out.channels];
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  out.ok = true;
  return out;
}

inline Decoded DecodeTiff(const std::string& windowsPath) {
  Decoded out;
  TIFF* t = TIFFOpen(Native(windowsPath).c_str(), "r");
  if (!t) return out;
  uint32_t w = 0, h = 0;
  uint16_t spp = 0;
  TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(t, TIFFTAG_IMAGELENGTH, &h);
  TIFFGetField(t, TIFFTAG_SAMPLESPERPIXEL, &spp);
  out.width = int(w);
  out.height = int(h);
  out.channels = spp;
  out.samples.resize(size_t(w) * h * spp);
  out.ok = true;
  for (uint32_t y = 0; y < h; ++y)
    if (TIFFReadScanline(t, &out.samples[size_t(y) * w * spp], y, 0) < 0) out.ok = false;
  TIFFClose(t);
  return out;
}

// The BMP file header and info header as a reader needs them.
struct BmpHeader {
  int width = 0, height = 0, bits = 0;
  bool ok = false;
};

inline BmpHeader ReadBmpHeader(const std::string& windowsPath) {
  const std::string d = Bytes(windowsPath);
  BmpHeader h;
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') return h;
  auto le32 = [&](size_t at) {
    return int32_t(uint32_t(uint8_t(d[at])) | uint32_t(uint8_t(d[at + 1])) << 8 | uint32_t(uint8_t(d[at + 2])) << 16 |
                   uint32_t(uint8_t(d[at + 3])) << 24);
  };
  h.width = le32(18);
  h.height = le32(22);
  h.bits = uint8_t(d[28]) | uint8_t(d[29]) << 8;
  h.ok = true;
  return h;
}

class FileOutputRig : public stagerig::StageRig {
 protected:
  void SetUp() override {
    StageRig::SetUp();
    if (HasFatalFailure()) return;
    output = MakeStage<CVexFileOutput>(1131);
    ASSERT_NE(output, nullptr);
    output->SetDisplayOutput(1, left);
    output->SetDisplayOutput(0, right);
  }

  // The picture of `slot` shown as the still picture, to be saved at `path`.
  void Show(SHORT slot, const CString& path, LONG format = 98, LONG quality = 2) {
    buffers->SetSecondBitmap(buffers->GetBuffer(slot));
    doc->SetSavePath(path, format, 24, quality);
  }
  // A picture of w x h with a colour gradient (never grey), shown and saved at `path`.
  int SaveGradient(const CString& path, int w, int h, LONG format = 98, LONG quality = 2) {
    PutPicture(0, w, h, [](int x, int y, BYTE* p) { p[0] = BYTE(x), p[1] = BYTE(y), p[2] = BYTE(x + y + 7); });
    Show(0, path, format, quality);
    return output->Output(0);
  }

  // A field as the control reads it back from a file; the value is handed over.
  COleVariant Field(const CString& path, short id) {
    COleVariant v;
    *static_cast<VARIANT*>(&v) = checker.ReadFileField(path, 0, id);
    return v;
  }
  // A text field (22, 23).
  std::string TextField(const CString& path, short id) {
    COleVariant v = Field(path, id);
    return v.vt == VT_BSTR ? plat::ole::Utf8FromBstr(v.bstrVal) : std::string("(empty)");
  }
  std::string TitleField(const CString& path, short id = vexcomment::kTitleField) {
    COleVariant v = Field(path, id);
    return v.vt == VT_EMPTY ? std::string("(empty)") : std::string(vexcomment::DecodeTitle(v));
  }
  std::pair<LONG, LONG> ExposureField(const CString& path) {
    COleVariant v = Field(path, vexcomment::kExposureField);
    if (v.vt != (VT_ARRAY | VT_I4) || !v.parray) return {-1, -1};
    LONG* values = nullptr;
    SafeArrayAccessData(v.parray, reinterpret_cast<void**>(&values));
    std::pair<LONG, LONG> out{values[0], values[1]};
    SafeArrayUnaccessData(v.parray);
    return out;
  }

  CVexFileOutput* output = nullptr;
};

}  // namespace fileoutputrig
