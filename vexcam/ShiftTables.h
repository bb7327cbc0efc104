// Actuator position tables of the pixel shift: per factor f, the column visited at each
// position and the register-10 code that drives the actuator there.
#pragma once
#include <windows.h>

namespace vexcam {

struct ShiftTables {
  BYTE steps[7][6] = {};  // actuator steps of the rows and columns, by factor
  BYTE order[7][36] = {};  // column index of position i (row i / f)
  BYTE code[7][36] = {};   // register-10 code of position i
  // fullSet: the seven-step actuator; otherwise the four-step one of the smaller camera.
  void Build(bool fullSet);
  // Older cameras: no serpentine rows for f 4 and 6, decimal row/column codes.
  void UseLinear();
};

}  // namespace vexcam
