// What the simulated sensor looks at. A scene renders the picture area of one frame in
// the board's cell format: one 32-bit word per 2 x 2 cell, byte 0 the upper green, 1 blue,
// 2 red, 3 the lower green.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "SensorGeometry.h"

namespace plat::board {

// The camera state a frame is exposed with, already decoded from its registers.
struct Exposure {
  double lines = 0;                  // integration time in line periods
  std::array<double, 4> gain{};      // amplification per cell byte (1.0 = unity)
  std::array<double, 4> dark{};      // output level of a black sample per cell byte
  double adScale = 1.0;              // A/D range factor from the A/D top level
  int shiftX = 0, shiftY = 0;        // actuator offset in 1/120 cell
  double driftPixels = 0;            // horizontal scene drift (slow motion)
  uint32_t noiseSeed = 0;            // differs per frame
};

class Scene {
 public:
  virtual ~Scene() = default;
  // Fills rows [firstPair, endPair) of `cells`, a frame of activePairs x cellsPerLine
  // words; a row comes out the same whichever rows are rendered with it.
  virtual void Render(const SensorGeometry& geometry, const Exposure& exposure, std::vector<uint32_t>& cells,
                      int firstPair, int endPair) const = 0;
  // The word of a cell outside the picture area (black rows, beyond the sensor).
  virtual uint32_t DarkWord(const Exposure& exposure) const = 0;
  // Whether two frames with equal settings differ (noise, motion).
  virtual bool VariesPerFrame(const Exposure& exposure) const { return false; }
  // The camera was switched on: frames will follow once it is ready.
  virtual void GetReady() const {}
};

}  // namespace plat::board
