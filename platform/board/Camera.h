// The simulated camera head: its register file, the actuator of the pixel shift, and
// the frame the sensor last handed to the board.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "Scene.h"
#include "SensorGeometry.h"

namespace plat::board {

class Camera {
 public:
  Camera(const SensorGeometry& geometry, std::shared_ptr<const Scene> scene, uint32_t seed,
         double driftPixelsPerSecond);

  // Registers to their power-on values; the gain and black-level registers come from
  // the EEPROM once something was stored there.
  void Reset();
  void WriteRegister(int reg, uint8_t value);
  uint8_t Register(int reg) const { return regs_[reg & 31]; }

  // Integration time in line periods (half a period at the least) from registers 15 and 16.
  double ExposureLines() const;
  // Actuator offset in 1/120 cell: register 10 holds a position code (bit 7 set), or 0
  // for the raw targets of registers 0 and 1.
  void ActuatorOffset(int* x, int* y) const;
  Exposure CurrentExposure(double sceneSeconds) const;

  // Takes the frame exposed with `exposure` (as decoded when the exposure began); the
  // scene drifts by its time and each frame gets fresh noise.
  void Latch(Exposure exposure, double sceneSeconds);
  // The latched frame: one row pair of cells, or all of them. Rows are rendered when first
  // asked for, so a reading of a few lines (white balance measures a small window) does
  // not pay for the whole sensor.
  const uint32_t* Row(int pair) const;
  const std::vector<uint32_t>& Frame() const;
  uint32_t DarkWord() const { return darkWord_; }
  const SensorGeometry& Geometry() const { return geometry_; }
  // Test steering: another scene, and a lasting sideways offset of it.
  void ShowScene(std::shared_ptr<const Scene> scene);
  // Switched on: the scene may get its picture ready before the first frame.
  void GetSceneReady() const { scene_->GetReady(); }
  void MoveScene(double pixels) { offset_ += pixels; }

 private:
  void RenderBlock(int block) const;

  SensorGeometry geometry_;
  std::shared_ptr<const Scene> scene_;
  uint32_t seed_;
  double drift_;
  double offset_ = 0;
  std::array<uint8_t, 32> regs_{};
  std::array<uint8_t, 8> eeprom_{};  // registers 2-9 as last stored
  bool eepromWritten_ = false;
  uint64_t strobes_ = 0;             // the last bytes written to register 12
  // The frame as far as it is rendered: blocks of rows, each rendered whole from the
  // scene and exposure of the latch.
  mutable std::vector<uint32_t> frame_;
  mutable std::vector<bool> rendered_;
  std::shared_ptr<const Scene> latchedScene_;
  uint32_t darkWord_ = 0;
  uint32_t frameCount_ = 0;
  bool cacheValid_ = false;
  Exposure cached_{};  // what the latched frame is exposed with
};

}  // namespace plat::board
