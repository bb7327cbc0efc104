#include "Camera.h"

#include <algorithm>

namespace plat::board {
namespace {
// Position codes of the actuator: a 7 x 7 code space. Codes 7r + c (r, c < 4) are quarter
// cells; the 6 x 6 grid below hands out sixths of a cell, sharing the three codes where
// both grids mean the same place.
constexpr int kSixthsGrid[6][6] = {{0, 6, 4, 2, 5, 13},      {11, 20, 12, 27, 18, 34},
                                   {19, 37, 25, 38, 26, 39}, {14, 40, 28, 41, 29, 42},
                                   {30, 43, 31, 44, 32, 45}, {33, 46, 35, 47, 36, 48}};

struct CodeTable {
  int x[49] = {}, y[49] = {};
  CodeTable() {
    for (int r = 0; r < 6; ++r)
      for (int c = 0; c < 6; ++c) x[kSixthsGrid[r][c]] = 20 * c, y[kSixthsGrid[r][c]] = 20 * r;
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) x[7 * r + c] = 30 * c, y[7 * r + c] = 30 * r;
  }
};
const CodeTable& Codes() {
  static const CodeTable table;
  return table;
}

// Which register of a four-register group (gains 2-5, black levels) drives cell byte b.
int PlaneOfByte(int model, int b) {
  static constexpr int kA[4] = {2, 3, 0, 1}, k8[4] = {0, 1, 2, 3}, k5[4] = {3, 1, 2, 0};
  return model == 8 ? k8[b] : model == 5 ? k5[b] : kA[b];
}

constexpr int kBlockPairs = 16;  // rows rendered together

bool SameExposure(const Exposure& a, const Exposure& b) {
  return a.lines == b.lines && a.gain == b.gain && a.dark == b.dark && a.adScale == b.adScale &&
         a.shiftX == b.shiftX && a.shiftY == b.shiftY && a.driftPixels == b.driftPixels;
}
}  // namespace

Camera::Camera(const SensorGeometry& geometry, std::shared_ptr<const Scene> scene, uint32_t seed,
               double driftPixelsPerSecond)
    : geometry_(geometry), scene_(std::move(scene)), seed_(seed), drift_(driftPixelsPerSecond) {
  Reset();
  frame_.assign(size_t(geometry_.activePairs) * geometry_.cellsPerLine, darkWord_);
  rendered_.assign(size_t((geometry_.activePairs + kBlockPairs - 1) / kBlockPairs), true);
}

void Camera::Reset() {
  regs_.fill(0);
  bool a = geometry_.model == 0xA;
  for (int r = 2; r <= 5; ++r) regs_[r] = a ? 215 : 0;  // unity gain
  for (int r = 6; r <= 9; ++r) regs_[r] = a ? 128 : 0;  // model 0xA: black levels; others: AGC
  for (int r = 20; r <= 23; ++r) regs_[r] = 128;
  if (eepromWritten_) std::copy(eeprom_.begin(), eeprom_.end(), regs_.begin() + 2);
  regs_[15] = 0, regs_[16] = 128 + 16;  // 512 lines
  regs_[17] = regs_[24] = 130;
  darkWord_ = scene_->DarkWord(CurrentExposure(0));
  cacheValid_ = false;
}

void Camera::ShowScene(std::shared_ptr<const Scene> scene) {
  if (!scene) return;
  scene_ = std::move(scene);
  cacheValid_ = false;
}

void Camera::WriteRegister(int reg, uint8_t value) {
  regs_[reg & 31] = value;
  if ((reg & 31) != 12) return;
  // The strobe sequence 0, 16, 0, 32, 0, 64, 0 on register 12 stores the CDS settings.
  strobes_ = (strobes_ << 8) | value;
  if ((strobes_ & 0xFFFFFFFFFFFFFFull) == 0x00100020004000ull) {
    std::copy(regs_.begin() + 2, regs_.begin() + 10, eeprom_.begin());
    eepromWritten_ = true;
  }
}

double Camera::ExposureLines() const {
  // Normal units are sensor rows, two to a line-counter step (1068 rows make the 1/12 s
  // frame); long units are frame periods.
  int e = (regs_[16] & 0x3F) * 32 + (regs_[15] >> 3);
  double lines = 0.5;
  if (regs_[16] & 0x80)
    lines = e / 2.0;
  else if (regs_[16] & 0x40)
    lines = double(e) * geometry_.linesPerFrame;
  return std::max(lines, 0.5);
}

void Camera::ActuatorOffset(int* x, int* y) const {
  uint8_t v = regs_[10];
  if (v == 0) {
    *x = regs_[0], *y = regs_[1];
    return;
  }
  int code = (v & 0x80) ? ((v >> 3) & 7) * 7 + (v & 7) : (v & 0x7F);
  if (code > 48) code = 0;
  *x = Codes().x[code], *y = Codes().y[code];
}

Exposure Camera::CurrentExposure(double sceneSeconds) const {
  Exposure e;
  e.lines = ExposureLines();
  bool a = geometry_.model == 0xA;
  for (int b = 0; b < 4; ++b) {
    int p = PlaneOfByte(geometry_.model, b);
    int g = regs_[2 + p];
    // Model 0xA takes 215 - 2/3 of the gain setting; the others the setting itself.
    double setting = a ? (215 - g) * 1.5 : g;
    e.gain[b] = std::max(0.25, 1.0 + setting / 64.0);
    if (!a) e.gain[b] *= 1.0 + regs_[6 + p] / 128.0;  // the AGC stage of the other models
    e.dark[b] = regs_[(a ? 6 : 20) + p] * 12.0 / 128.0;
  }
  e.adScale = 132.0 / std::max(32, int(regs_[a ? 17 : 24]));
  ActuatorOffset(&e.shiftX, &e.shiftY);
  e.driftPixels = drift_ * sceneSeconds + offset_;
  return e;
}

void Camera::Latch(Exposure e, double sceneSeconds) {
  e.driftPixels = drift_ * sceneSeconds + offset_;
  ++frameCount_;
  e.noiseSeed = seed_ + frameCount_;
  darkWord_ = scene_->DarkWord(e);
  if (cacheValid_ && SameExposure(e, cached_) && !scene_->VariesPerFrame(e)) return;
  latchedScene_ = scene_;
  cached_ = e;
  cacheValid_ = true;
  std::fill(rendered_.begin(), rendered_.end(), false);
}

void Camera::RenderBlock(int block) const {
  const int first = block * kBlockPairs, end = std::min(first + kBlockPairs, geometry_.activePairs);
  latchedScene_->Render(geometry_, cached_, frame_, first, end);
  rendered_[size_t(block)] = true;
}

const uint32_t* Camera::Row(int pair) const {
  const int block = pair / kBlockPairs;
  if (!rendered_[size_t(block)]) RenderBlock(block);
  return &frame_[size_t(pair) * geometry_.cellsPerLine];
}

const std::vector<uint32_t>& Camera::Frame() const {
  for (size_t block = 0; block < rendered_.size(); ++block)
    if (!rendered_[block]) RenderBlock(int(block));
  return frame_;
}

}  // namespace plat::board
