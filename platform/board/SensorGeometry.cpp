#include "SensorGeometry.h"

#include <algorithm>

namespace plat::board {

SensorGeometry GeometryFor(int model, int revision) {
  SensorGeometry g;
  switch (model) {
    case 5:
      g.model = 5, g.cellsPerLine = 320, g.activePairs = 240, g.lineWords = 1288 / 4, g.leadWords = 110;
      break;
    case 8:
      g.model = 8, g.cellsPerLine = 512, g.activePairs = 384, g.lineWords = 2056 / 4, g.leadWords = 0;
      break;
    default:
      g.model = 0xA, g.cellsPerLine = 640, g.activePairs = 512, g.lineWords = 2584 / 4, g.leadWords = 2;
      break;
  }
  // A lead longer than the line leaves (the model 5 figure is its port window offset) is cut
  // to what fits, so a data-port line always carries every cell.
  g.leadWords = std::clamp(g.leadWords, 0, g.lineWords - g.cellsPerLine);
  // Newer boards carry the sensor with 1068 clock rows at 46 MHz, older ones 1044 rows at
  // 40 MHz; one line-counter step is two rows (4 x clocks per line / pixel clock).
  if (revision >= 217) {
    g.blackRows = 26, g.linesPerFrame = 1068 / 2, g.linePeriodUs = 4.0 * 1790 / 46.0;
  } else {
    g.blackRows = revision >= 211 ? 6 : 9, g.linesPerFrame = 1044 / 2, g.linePeriodUs = 4.0 * 1616 / 40.0;
  }
  return g;
}

}  // namespace plat::board
