// A physical scene: the sensor sees a picture through its colour filters. Brightness
// follows exposure, gain and black level; each colour has its own sensitivity; noise is
// seeded; the picture may drift slowly so live view visibly moves.
#pragma once
#include <array>
#include <functional>
#include <future>
#include <mutex>
#include <vector>

#include "Picture.h"
#include "Scene.h"

namespace plat::board {

// The lamp over the scene: its brightness as a factor, and its colour as factors of red,
// green and blue light.
struct Lighting {
  double light = 1.0;
  std::array<double, 3> cast{1.0, 1.0, 1.0};
};

class PictureScene : public Scene {
 public:
  // `picture` is at sensor resolution (FrameWidth x FrameHeight); `noiseSigma` in output steps.
  PictureScene(Picture picture, double noiseSigma, Lighting lighting = {});
  // The picture is drawn when the first frame is rendered: the board comes up, and the
  // library calibrates against it, without paying for a picture no frame has shown yet.
  PictureScene(std::function<Picture()> draw, double noiseSigma, Lighting lighting = {});

  // Integration time (line periods) at which a full reflector reaches the full output range.
  static constexpr double kReferenceLines = 630.0;

  void Render(const SensorGeometry& geometry, const Exposure& exposure, std::vector<uint32_t>& cells, int firstPair,
              int endPair) const override;
  uint32_t DarkWord(const Exposure& exposure) const override;
  bool VariesPerFrame(const Exposure& exposure) const override;
  // Draws the picture on a thread of its own while the camera warms up.
  void GetReady() const override;

 private:
  // Draws the picture and the noise table once, whichever thread renders first.
  void Prepare() const;

  double noiseSigma_;
  Lighting lighting_;
  mutable std::once_flag prepared_;
  mutable std::function<Picture()> draw_;
  mutable Picture picture_;
  mutable std::vector<int8_t> noise_;  // a fixed table of normal noise, read at a per-frame offset
  // Last, so that it is waited for before the members it draws go.
  mutable std::future<void> drawing_;
};

}  // namespace plat::board
