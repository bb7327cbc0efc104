#include "PictureScene.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <random>
#include <system_error>
#include <utility>

namespace plat::board {
namespace {
// Relative sensitivity of the sites behind the filters, per cell byte (upper green, blue,
// red, lower green): silicon answers blue least.
constexpr double kSensitivity[4] = {1.0, 0.63, 0.77, 1.0};
// The light (red 0, green 1, blue 2) each cell byte sees.
constexpr int kColourOfByte[4] = {1, 2, 0, 1};
constexpr size_t kNoiseTable = 1 << 16;

uint8_t ToByte(double v) { return uint8_t(std::clamp(v + 0.5, 0.0, 255.0)); }
}  // namespace

PictureScene::PictureScene(Picture picture, double noiseSigma, Lighting lighting)
    : noiseSigma_(std::max(0.0, noiseSigma)), lighting_(lighting), picture_(std::move(picture)) {}

PictureScene::PictureScene(std::function<Picture()> draw, double noiseSigma, Lighting lighting)
    : noiseSigma_(std::max(0.0, noiseSigma)), lighting_(lighting), draw_(std::move(draw)) {}

void PictureScene::Prepare() const {
  std::call_once(prepared_, [this] {
    if (draw_) picture_ = std::exchange(draw_, nullptr)();
    std::mt19937 gen(12345);
    std::normal_distribution<double> normal(0.0, noiseSigma_);
    noise_.resize(kNoiseTable);
    for (auto& n : noise_) n = int8_t(std::clamp(std::lround(normal(gen)), -127L, 127L));
  });
}

void PictureScene::GetReady() const {
  if (drawing_.valid()) return;
  try {
    drawing_ = std::async(std::launch::async, [this] { Prepare(); });
  } catch (const std::system_error&) {
    // No thread to spare: the first frame draws it.
  }
}

bool PictureScene::VariesPerFrame(const Exposure& e) const { return noiseSigma_ > 0 || e.driftPixels != 0; }

uint32_t PictureScene::DarkWord(const Exposure& e) const {
  uint32_t w = 0;
  for (int b = 0; b < 4; ++b) w |= uint32_t(ToByte(e.dark[b])) << (8 * b);
  return w;
}

void PictureScene::Render(const SensorGeometry& g, const Exposure& e, std::vector<uint32_t>& cells, int firstPair,
                          int endPair) const {
  Prepare();
  const int W = picture_.width, H = picture_.height;
  if (W <= 0 || H <= 0) {
    const auto row = [&](int pair) { return cells.begin() + std::ptrdiff_t(pair) * g.cellsPerLine; };
    std::fill(row(firstPair), row(endPair), DarkWord(e));
    return;
  }
  // One cell is two pixels and 120 actuator units. Sensor pixel (x, y) sees the picture at
  // (x - shift + drift, y - shift); the fraction is the same for every pixel, so the
  // bilinear weights are computed once per frame.
  double ox = -e.shiftX / 60.0 + e.driftPixels, oy = -e.shiftY / 60.0;
  double fx0 = std::floor(ox), fy0 = std::floor(oy);
  float ax = float(ox - fx0), ay = float(oy - fy0);
  int ix = int(fx0), iy = int(fy0);
  const float w00 = (1 - ax) * (1 - ay), w10 = ax * (1 - ay), w01 = (1 - ax) * ay, w11 = ax * ay;
  bool wrapX = e.driftPixels != 0;

  double k[4];
  for (int b = 0; b < 4; ++b)
    k[b] = 255.0 * e.lines / kReferenceLines * kSensitivity[b] * lighting_.light *
           lighting_.cast[kColourOfByte[b]] * e.gain[b] * e.adScale;

  std::vector<int> col(size_t(g.FrameWidth()) + 1);
  for (int x = 0; x <= g.FrameWidth(); ++x) {
    int px = x + ix;
    col[x] = wrapX ? ((px % W) + W) % W : std::clamp(px, 0, W - 1);
  }
  // Plain pointers and comparisons in the loop below: it runs for every cell of every
  // frame, and unoptimised builds pay dearly for the library's helpers.
  const float *green = picture_.green.data(), *blue = picture_.blue.data(), *red = picture_.red.data();
  const int* cols = col.data();
  auto rowStart = [&](int y) {
    const int r = y + iy;
    return size_t(r < 0 ? 0 : (r > H - 1 ? H - 1 : r)) * size_t(W);
  };
  auto toByte = [](double v) {
    const double t = v + 0.5;
    return uint32_t(uint8_t(t < 0.0 ? 0.0 : (t > 255.0 ? 255.0 : t)));
  };

  // The noise of a frame walks the table in fixed steps, one a byte from the first row on.
  uint32_t seed = e.noiseSeed * 2654435761u + 1;
  uint32_t step = (seed >> 16) | 1;
  size_t noiseAt = (seed + uint64_t(firstPair) * g.cellsPerLine * 4 * step) % kNoiseTable;
  const int8_t* noise = noise_.data();
  const bool noisy = noiseSigma_ > 0;
  const double* dark = e.dark.data();
  for (int a = firstPair; a < endPair; ++a) {
    uint32_t* out = &cells[size_t(a) * g.cellsPerLine];
    const int y = 2 * a;
    const size_t top = rowStart(y), middle = rowStart(y + 1), bottom = rowStart(y + 2);
    for (int c = 0; c < g.cellsPerLine; ++c) {
      const int x = 2 * c;
      const int c0 = cols[x], c1 = cols[x + 1], c2 = cols[x + 2];
      // Sites of a cell: upper green left, red right; blue lower left, lower green right.
      const float* gt = green + top;
      const float* gm = green + middle;
      const float* gb = green + bottom;
      const float* bm = blue + middle;
      const float* bb = blue + bottom;
      const float* rt = red + top;
      const float* rm = red + middle;
      double v[4] = {w00 * gt[c0] + w10 * gt[c1] + w01 * gm[c0] + w11 * gm[c1],
                     w00 * bm[c0] + w10 * bm[c1] + w01 * bb[c0] + w11 * bb[c1],
                     w00 * rt[c1] + w10 * rt[c2] + w01 * rm[c1] + w11 * rm[c2],
                     w00 * gm[c1] + w10 * gm[c2] + w01 * gb[c1] + w11 * gb[c2]};
      uint32_t w = 0;
      for (int b = 0; b < 4; ++b) {
        double n = 0;
        if (noisy) {
          noiseAt = (noiseAt + step) & (kNoiseTable - 1);
          n = noise[noiseAt];
        }
        w |= toByte(dark[b] + k[b] * v[b] + n) << (8 * b);
      }
      out[c] = w;
    }
  }
}

}  // namespace plat::board
