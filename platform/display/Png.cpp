#include "display/Png.h"

#include <png.h>

#include <cstring>

namespace plat::display {

bool WritePng(const std::string& path, const Pixel* pixels, int width, int height, int stride) {
  if (!pixels || width <= 0 || height <= 0 || stride < width) return false;
  std::vector<png_byte> rgb(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const Pixel* src = pixels + static_cast<size_t>(y) * stride;
    png_byte* dst = &rgb[static_cast<size_t>(y) * width * 3];
    for (int x = 0; x < width; ++x) {
      dst[3 * x] = static_cast<png_byte>(src[x] >> 16);
      dst[3 * x + 1] = static_cast<png_byte>(src[x] >> 8);
      dst[3 * x + 2] = static_cast<png_byte>(src[x]);
    }
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = PNG_FORMAT_RGB;
  bool ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr) != 0;
  png_image_free(&image);
  return ok;
}

std::optional<PixelImage> ReadPng(const std::string& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
  // The limit keeps a damaged header from asking for an absurd buffer.
  if (image.width == 0 || image.height == 0 || image.width > 65535 || image.height > 65535) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_BGRA;
  PixelImage out;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.pixels.resize(static_cast<size_t>(out.width) * out.height);
  if (!png_image_finish_read(&image, nullptr, out.pixels.data(), out.width * 4, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  for (Pixel& p : out.pixels) p &= 0x00FFFFFF;  // BGRX: the fourth byte carries nothing
  return out;
}

bool SavePng(const Screen& screen, const std::string& path, const RECT* rect) {
  RECT all{0, 0, screen.Width(), screen.Height()};
  RECT got;
  std::vector<Pixel> pixels = screen.Copy(rect ? *rect : all, &got);
  if (pixels.empty()) return false;
  int w = got.right - got.left;
  return WritePng(path, pixels.data(), w, got.bottom - got.top, w);
}

bool SavePng(const std::string& path, const RECT* rect) { return SavePng(Screen::Get(), path, rect); }

}  // namespace plat::display
