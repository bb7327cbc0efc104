// Geometry and video timing of the simulated sensor, per camera model and board revision.
#pragma once
#include <cstdint>

namespace plat::board {

struct SensorGeometry {
  int model = 0xA;
  int cellsPerLine = 640;   // 2 x 2 cells per board line
  int activePairs = 512;    // board lines (row pairs) of the picture area
  int lineWords = 646;      // 32-bit words of a board line
  int leadWords = 2;        // words before cell 0 on the data port
  int blackRows = 26;       // sensor rows above the picture area
  int linesPerFrame = 534;  // line-counter units per frame period
  double linePeriodUs = 155.65;

  int FrameWidth() const { return cellsPerLine * 2; }
  int FrameHeight() const { return activePairs * 2; }
  double FramePeriodUs() const { return linePeriodUs * linesPerFrame; }
};

// Model 5, 8 or 0xA (others fall back to 0xA); the revision picks the sensor timing.
SensorGeometry GeometryFor(int model, int revision);

}  // namespace plat::board
