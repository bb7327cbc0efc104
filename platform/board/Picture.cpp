// Scene pictures from files: PNG through libpng, JPEG through libjpeg.
#include "Picture.h"

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <memory>

namespace plat::board {

void Picture::Resize(int w, int h) {
  width = w, height = h;
  red.assign(size_t(w) * h, 0.f);
  green.assign(size_t(w) * h, 0.f);
  blue.assign(size_t(w) * h, 0.f);
}

namespace {
constexpr int kMaxSide = 16384;  // refuse absurd sizes before allocating

struct Rgb8 {
  int width = 0, height = 0;
  std::vector<uint8_t> bytes;  // 3 per pixel
};

bool ReadPng(const std::string& path, Rgb8& out, std::string* error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    *error = image.message;
    return false;
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
    png_image_free(&image);
    *error = "picture size out of range";
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  out.width = int(image.width), out.height = int(image.height);
  out.bytes.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.bytes.data(), 0, nullptr)) {
    *error = image.message;
    png_image_free(&image);
    return false;
  }
  return true;
}

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void JpegFail(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

bool ReadJpeg(FILE* file, Rgb8& out, std::string* error) {
  jpeg_decompress_struct info{};
  JpegError err{};
  info.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegFail;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    *error = "damaged JPEG file";
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxSide ||
      info.image_height > kMaxSide) {
    jpeg_destroy_decompress(&info);
    *error = "picture size out of range";
    return false;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  out.width = int(info.output_width), out.height = int(info.output_height);
  out.bytes.resize(size_t(out.width) * out.height * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.bytes.data() + size_t(info.output_scanline) * out.width * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}
}  // namespace

Picture LoadPictureFile(const std::string& path, int width, int height, std::string* error) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    *error = "cannot open " + path;
    return {};
  }
  unsigned char magic[4] = {};
  size_t got = std::fread(magic, 1, 4, file.get());
  std::rewind(file.get());
  Rgb8 rgb;
  bool ok = false;
  if (got == 4 && magic[0] == 0x89 && magic[1] == 'P' && magic[2] == 'N' && magic[3] == 'G') {
    file.reset();
    ok = ReadPng(path, rgb, error);
  } else if (got >= 2 && magic[0] == 0xFF && magic[1] == 0xD8) {
    ok = ReadJpeg(file.get(), rgb, error);
  } else {
    *error = "not a PNG or JPEG file: " + path;
  }
  if (!ok) return {};

  // sRGB bytes to linear light, then fit by cropping the longer side and sampling.
  std::array<float, 256> linear{};
  for (int i = 0; i < 256; ++i) linear[i] = std::pow(i / 255.f, 2.2f);
  double scale = std::max(double(width) / rgb.width, double(height) / rgb.height);
  double offX = (rgb.width * scale - width) / 2, offY = (rgb.height * scale - height) / 2;
  Picture p;
  p.Resize(width, height);
  for (int y = 0; y < height; ++y) {
    int sy = std::min(rgb.height - 1, int((y + offY) / scale));
    for (int x = 0; x < width; ++x) {
      int sx = std::min(rgb.width - 1, int((x + offX) / scale));
      const uint8_t* s = &rgb.bytes[(size_t(sy) * rgb.width + sx) * 3];
      size_t i = p.Index(x, y);
      p.red[i] = linear[s[0]], p.green[i] = linear[s[1]], p.blue[i] = linear[s[2]];
    }
  }
  return p;
}

}  // namespace plat::board
