// A scene of exact, known bytes: every cell tells where it is and where the actuator
// stood, whatever exposure and gain are set. Tests compare against PatternCell.
#pragma once
#include "Scene.h"

namespace plat::board {

class PatternScene : public Scene {
 public:
  // Byte 0: line low byte; byte 1: cell column low byte; byte 2: line bits 8-9 in bits
  // 0-1 and column bits 8-9 in bits 2-3; byte 3: actuator offset in twelfths of a cell,
  // y in the high nibble and x in the low one.
  static uint32_t PatternCell(int line, int column, int shiftX = 0, int shiftY = 0);
  static constexpr uint32_t kDarkWord = 0x10101010;

  void Render(const SensorGeometry& geometry, const Exposure& exposure, std::vector<uint32_t>& cells, int firstPair,
              int endPair) const override;
  uint32_t DarkWord(const Exposure&) const override { return kDarkWord; }
};

}  // namespace plat::board
