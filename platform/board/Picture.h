// A picture as light: linear reflectance 0..1 per colour, row-major, top row first.
#pragma once
#include <string>
#include <vector>

namespace plat::board {

struct Picture {
  int width = 0, height = 0;
  std::vector<float> red, green, blue;

  void Resize(int w, int h);
  size_t Index(int x, int y) const { return size_t(y) * width + x; }
};

// The built-in test chart: colour bars, grey steps, fine lines and text-like detail.
Picture MakeTestChart(int width, int height);

// Loads a PNG or JPEG file (by its first bytes) and fits it to width x height, cropping
// the longer side. Returns an empty picture and sets `error` when the file cannot be used.
Picture LoadPictureFile(const std::string& path, int width, int height, std::string* error);

}  // namespace plat::board
