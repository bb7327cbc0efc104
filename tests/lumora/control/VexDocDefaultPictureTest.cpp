// The first pictures a user sees: the camera library driven with the settings block as
// the document fills it from a fresh INI file, as the camera input takes a still (the
// shooting mode) and a live frame (the live mode), of the simulated camera's built-in
// chart and of a microscope picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Clock.h"
#include "Config.h"
#include "PictureMeans.h"
#include "TestEnv.h"
#include "TrueImage.h"
#include "VexcamApi.h"
#include "board/BoardTestApi.h"
#include "control/VexDoc.h"
#include "display/Png.h"

namespace {

enum CaptureMode : SHORT { kShot = 0, kLive = 1 };

class DefaultPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA("C:\\Lumora", nullptr);
    DeleteFileA("C:\\Lumora\\Lumora.ini");
    TheSettingSources() = VexSettingSources{};
    plat::clock::UseVirtual(true, 10);
  }
  void TearDown() override {
    for (auto& k : keys_) plat::config::Set(k, std::nullopt);
    plat::board::Reset();
    plat::clock::UseVirtual(false);
  }
  // The camera at noise 0 looks at the chart, or at the picture file `scene`.
  void Look(const std::string& scene = "") {
    std::vector<std::pair<std::string, std::string>> keys = {
        {"BOARD_SCENE", "chart"}, {"BOARD_SCENE_FILE", scene}, {"BOARD_NOISE", "0"}};
    for (auto& [k, v] : keys) plat::config::Set(k, v), keys_.push_back(k);
    plat::board::Reset();
  }
  // The camera input's exposure step: the exposure, then the gains of the gain level.
  void ApplyExposure() {
    KQ_SetExposure(doc->GetCameraSettings());
    KQ_SetCDSGain(nullptr, doc->GetCameraSettings());
  }
  // A fresh document, and the main frame's start: camera off, no preset board, a power
  // check with a test exposure of 1 and the document's exposure put back.
  void StartUp() {
    doc = std::make_unique<CVexDoc>();
    tCameraSettings* s = doc->GetCameraSettings();
    KQ_PowerOff(s);
    doc->SetPCIAddress(0xFFFFFFFFu);
    const LONG mode = s->ExpMode, param = s->ExpParam;
    s->ExpMode = s->ExpParam = 1;
    ASSERT_EQ(KQ_CheckCameraPower(s), 1);
    s->ExpMode = mode, s->ExpParam = param;
    ApplyExposure();
  }
  // One frame as the main frame and the camera input take it: a still in the shooting
  // mode (the capture area), a live frame (the whole live picture) in the live mode.
  void Capture(CaptureMode mode, CTrueImage& image) {
    doc->SetCaptureMode(mode);
    ApplyExposure();
    tCameraSettings* s = doc->GetCameraSettings();
    RECT area = mode == kLive ? RECT{} : doc->GetCaptureArea();
    image.m_nReserved = mode == kLive ? 0 : 10;  // the capture kind
    KQ_GetMallocSize(&image, area, s);
    image.CreateDIB();
    ASSERT_EQ(KQ_CheckCameraPower(s), 1);
    ASSERT_GT(KQ_OnShutter(&image, area, 0, s), 0);
  }

  std::unique_ptr<CVexDoc> doc;

 private:
  std::vector<std::string> keys_;
};

// Means of a rectangle given in fractions of the picture.
std::array<double, 3> Means(const CTrueImage& p, double x0, double y0, double x1, double y1) {
  const int w = p.m_nWidth, h = p.m_nHeight;
  return testenv::ChannelMeans(p.m_pBits, w, h, int(x0 * w), int(y0 * h), int(x1 * w), int(y1 * h));
}

// The largest byte of a rectangle given in fractions of the picture.
int Peak(const CTrueImage& p, double x0, double y0, double x1, double y1) {
  const int w = p.m_nWidth, h = p.m_nHeight, stride = (w * 3 + 3) & ~3;
  int peak = 0;
  for (int y = int(y0 * h); y < int(y1 * h); ++y)
    for (int x = 3 * int(x0 * w); x < 3 * int(x1 * w); ++x)
      peak = std::max<int>(peak, p.m_pBits[size_t(h - 1 - y) * stride + x]);
  return peak;
}

// The neutral patches of the chart (fractions of the picture, inside each patch) and the
// band every channel of a well-exposed picture puts them in.
struct Patch {
  const char* name;
  double x0, y0, x1, y1;
  double lo, hi;
  bool white;
};
constexpr double kStepTop = 0.33, kStepBottom = 0.42;  // the grey steps, 11 across
constexpr Patch kPatches[] = {
    {"white bar", 0.02, 0.05, 0.10, 0.25, 215, 245, true},
    {"white step", 10.2 / 11, kStepTop, 10.8 / 11, kStepBottom, 215, 245, true},
    {"mid grey step", 5.2 / 11, kStepTop, 5.8 / 11, kStepBottom, 110, 145, false},
    {"black step", 0.2 / 11, kStepTop, 0.8 / 11, kStepBottom, 0, 40, false},
};

// A picture as three planes of levels (red, green, blue), top row first.
struct Planes {
  int width = 0, height = 0;
  std::array<std::vector<double>, 3> level;
};

// The picture reduced by whole blocks to `w` x `h`: each pixel the mean of its block.
Planes Reduce(const CTrueImage& p, int w, int h) {
  Planes out{w, h, {}};
  const int bw = p.m_nWidth / w, bh = p.m_nHeight / h;
  for (auto& c : out.level) c.resize(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::array<double, 3> m = testenv::ChannelMeans(p.m_pBits, p.m_nWidth, p.m_nHeight, x * bw, y * bh,
                                                            (x + 1) * bw, (y + 1) * bh);
      for (int c = 0; c < 3; ++c) out.level[c][size_t(y) * w + x] = m[c];
    }
  return out;
}

Planes PlanesOf(const plat::display::PixelImage& png) {
  Planes out{png.width, png.height, {}};
  for (auto& c : out.level) c.resize(png.pixels.size());
  for (size_t i = 0; i < png.pixels.size(); ++i)  // BGRX
    for (int c = 0; c < 3; ++c) out.level[c][i] = double((png.pixels[i] >> (16 - 8 * c)) & 0xFF);
  return out;
}

// The scene with each channel's levels mapped by the rising curve that comes nearest the
// shot (least squares: the mean shot level of each scene level, neighbours pooled where
// the means fall).
Planes FitScene(const Planes& scene, const Planes& shot) {
  Planes out = scene;
  for (int c = 0; c < 3; ++c) {
    struct Block {
      double sum, n;
      int last;  // the highest scene level it holds
    };
    std::array<double, 256> sum{}, n{};
    for (size_t i = 0; i < scene.level[c].size(); ++i) {
      const int s = int(scene.level[c][i]);
      sum[s] += shot.level[c][i], n[s] += 1;
    }
    std::vector<Block> blocks;
    for (int s = 0; s < 256; ++s) {
      if (n[s] == 0) continue;
      blocks.push_back({sum[s], n[s], s});
      auto mean = [](const Block& b) { return b.sum / b.n; };
      while (blocks.size() > 1 && mean(blocks[blocks.size() - 2]) > mean(blocks.back())) {
        const Block top = blocks.back();
        blocks.pop_back();
        blocks.back() = {blocks.back().sum + top.sum, blocks.back().n + top.n, top.last};
      }
    }
    std::array<double, 256> curve{};
    for (size_t b = 0, s = 0; b < blocks.size(); ++b)
      for (; int(s) <= blocks[b].last; ++s) curve[s] = blocks[b].sum / blocks[b].n;
    for (double& v : out.level[c]) v = curve[size_t(v)];
  }
  return out;
}

// Structural similarity of two pictures: the mean over the three channels and over 8 x 8
// windows four pixels apart.
double Ssim(const Planes& a, const Planes& b) {
  const double c1 = (0.01 * 255) * (0.01 * 255), c2 = (0.03 * 255) * (0.03 * 255);
  double total = 0;
  int windows = 0;
  for (int c = 0; c < 3; ++c)
    for (int y0 = 0; y0 + 8 <= a.height; y0 += 4)
      for (int x0 = 0; x0 + 8 <= a.width; x0 += 4) {
        double ma = 0, mb = 0, vaa = 0, vbb = 0, vab = 0;
        for (int y = y0; y < y0 + 8; ++y)
          for (int x = x0; x < x0 + 8; ++x) {
            const double u = a.level[c][size_t(y) * a.width + x], v = b.level[c][size_t(y) * b.width + x];
            ma += u, mb += v, vaa += u * u, vbb += v * v, vab += u * v;
          }
        ma /= 64, mb /= 64;
        vaa = vaa / 64 - ma * ma, vbb = vbb / 64 - mb * mb, vab = vab / 64 - ma * mb;
        total += (2 * ma * mb + c1) * (2 * vab + c2) / ((ma * ma + mb * mb + c1) * (vaa + vbb + c2));
        ++windows;
      }
  return total / windows;
}

}  // namespace

// Each path's picture: every neutral patch in its band and within 12 levels of neutral;
// white unclipped, yet its channels apart enough that white balance has work to do.
TEST_F(DefaultPicture, ChartPatchesOfTheShotAndTheLivePicture) {
  Look();
  StartUp();
  const struct {
    CaptureMode mode;
    LONG width, height;
  } paths[] = {{kShot, 3840, 3072}, {kLive, 640, 512}};
  for (const auto& path : paths) {
    CTrueImage image;
    Capture(path.mode, image);
    ASSERT_EQ(image.m_nWidth, path.width);
    ASSERT_EQ(image.m_nHeight, path.height);
    for (const Patch& p : kPatches) {
      SCOPED_TRACE(std::string(path.mode == kShot ? "shot, " : "live, ") + p.name);
      const std::array<double, 3> m = Means(image, p.x0, p.y0, p.x1, p.y1);
      for (double v : m) {
        EXPECT_GE(v, p.lo);
        EXPECT_LE(v, p.hi);
      }
      EXPECT_LE(testenv::Spread(m), 12.0) << m[0] << " " << m[1] << " " << m[2];
      if (p.white) {
        EXPECT_LT(Peak(image, p.x0, p.y0, p.x1, p.y1), 255);
        EXPECT_GE(testenv::Spread(m), 4.0) << m[0] << " " << m[1] << " " << m[2];
      }
    }
  }
}

// A microscope picture as the scene: the default still, reduced to the scene's size,
// shows the scene's structure, its highlights bright and none clipped.
TEST_F(DefaultPicture, StillOfAMicroscopePictureFollowsIt) {
  const std::string file = testenv::DataPath("board/specimen.png");
  const auto png = plat::display::ReadPng(file);
  ASSERT_TRUE(png);
  Look(file);
  StartUp();
  CTrueImage image;
  Capture(kShot, image);
  const Planes scene = PlanesOf(*png), shot = Reduce(image, png->width, png->height);
  EXPECT_GE(Ssim(shot, FitScene(scene, shot)), 0.8);
  // Well exposed: the brightest hundredth of the picture is bright, and no part is blown.
  for (int c = 0; c < 3; ++c) {
    std::vector<double> levels = shot.level[c];
    std::sort(levels.begin(), levels.end());
    EXPECT_GE(levels[levels.size() * 99 / 100], 200.0) << "channel " << c;
    EXPECT_LE(levels.back(), 250.0) << "channel " << c;
  }
}

// The default still of the chart kept as a picture at the sensor's size, each pixel the
// mean of its 3 x 3 block. LUMORA_STILL_SHOT names a file to keep it in (the
// documentation's copy).
TEST_F(DefaultPicture, StillOfTheChartAsAPicture) {
  Look();
  StartUp();
  CTrueImage image;
  Capture(kShot, image);
  const Planes still = Reduce(image, 1280, 1024);
  std::vector<plat::display::Pixel> pixels(size_t(still.width) * still.height);
  for (size_t i = 0; i < pixels.size(); ++i)
    for (int c = 0; c < 3; ++c) pixels[i] |= plat::display::Pixel(still.level[c][i] + 0.5) << (16 - 8 * c);
  const char* keep = std::getenv("LUMORA_STILL_SHOT");
  const std::string path = keep ? keep : testenv::ScratchDir() + "/still.png";
  ASSERT_TRUE(plat::display::WritePng(path, pixels.data(), still.width, still.height, still.width));
  const auto back = plat::display::ReadPng(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 1280);
  EXPECT_EQ(back->height, 1024);
  // The picture shows the still's patches.
  const Planes shown = PlanesOf(*back);
  for (const Patch& p : kPatches) {
    const std::array<double, 3> m = Means(image, p.x0, p.y0, p.x1, p.y1);
    for (int c = 0; c < 3; ++c) {
      double sum = 0, n = 0;
      for (int y = int(p.y0 * shown.height); y < int(p.y1 * shown.height); ++y)
        for (int x = int(p.x0 * shown.width); x < int(p.x1 * shown.width); ++x, ++n)
          sum += shown.level[c][size_t(y) * shown.width + x];
      EXPECT_NEAR(sum / n, m[c], 1.0) << p.name << " channel " << c;
    }
  }
}
