#include "PatternScene.h"

#include <algorithm>

namespace plat::board {

uint32_t PatternScene::PatternCell(int line, int column, int shiftX, int shiftY) {
  uint32_t b0 = line & 0xFF, b1 = column & 0xFF;
  uint32_t b2 = ((line >> 8) & 0x3) | (((column >> 8) & 0x3) << 2);
  uint32_t tagX = std::clamp(shiftX / 10, 0, 15), tagY = std::clamp(shiftY / 10, 0, 15);
  uint32_t b3 = (tagY << 4) | tagX;
  return b0 | (b1 << 8) | (b2 << 16) | (b3 << 24);
}

void PatternScene::Render(const SensorGeometry& g, const Exposure& e, std::vector<uint32_t>& cells, int firstPair,
                          int endPair) const {
  for (int a = firstPair; a < endPair; ++a)
    for (int c = 0; c < g.cellsPerLine; ++c)
      cells[size_t(a) * g.cellsPerLine + c] = PatternCell(a, c, e.shiftX, e.shiftY);
}

}  // namespace plat::board
