// Screenshots and pixel buffers as PNG files (libpng), and reading them back.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "WinTypes.h"
#include "display/Screen.h"

namespace plat::display {

struct PixelImage {
  int width = 0, height = 0;
  std::vector<Pixel> pixels;  // BGRX, top-down, no padding
};

// Writes 32-bit BGRX pixels (`stride` in pixels, top-down) as an RGB PNG.
bool WritePng(const std::string& path, const Pixel* pixels, int width, int height, int stride);
// Reads an 8-bit RGB or RGBA PNG; nullopt when the file is missing or not such a PNG.
std::optional<PixelImage> ReadPng(const std::string& path);
// Saves `rect` of the process's screen (null: all of it), clipped to the screen.
bool SavePng(const std::string& path, const RECT* rect = nullptr);
bool SavePng(const Screen& screen, const std::string& path, const RECT* rect = nullptr);

}  // namespace plat::display
