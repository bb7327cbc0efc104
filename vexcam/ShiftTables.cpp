#include "ShiftTables.h"

#include <initializer_list>

namespace vexcam {
namespace {

// Codes of the 6 x 6 grid in the 7 x 7 code space (7 y + x), kept clear of the 4 x 4 grid's.
constexpr BYTE kGridB[6][6] = {{0, 6, 4, 2, 5, 13},      {11, 20, 12, 27, 18, 34}, {19, 37, 25, 38, 26, 39},
                               {14, 40, 28, 41, 29, 42}, {30, 43, 31, 44, 32, 45}, {33, 46, 35, 47, 36, 48}};

void SetSteps(BYTE* row, std::initializer_list<int> values) {
  int i = 0;
  for (int v : values) row[i++] = BYTE(v);
}

}  // namespace

void ShiftTables::Build(bool fullSet) {
  *this = ShiftTables{};
  if (fullSet) {
    SetSteps(steps[2], {0, 2});
    SetSteps(steps[3], {0, 2, 4});
    SetSteps(steps[4], {0, 1, 2, 3});
    SetSteps(steps[6], {0, 1, 2, 3, 4, 5});
  } else {
    SetSteps(steps[2], {0, 2});
    SetSteps(steps[3], {0, 1, 3});
    SetSteps(steps[4], {0, 1, 2, 3});
  }
  for (int f : {1, 2, 3, 4, 6}) {
    for (int i = 0; i < f * f; ++i) {
      const int row = i / f, col = i % f;
      // Rows of 4 and 6 run back and forth so the actuator never jumps across the grid.
      const bool serpentine = (f == 4 || f == 6) && (row % 2 == 1);
      order[f][i] = BYTE(serpentine ? f - 1 - col : col);
    }
  }
  if (!fullSet)
    for (int i = 0; i < 9; ++i) order[3][i] = BYTE(i % 3 == 2 ? 3 : i % 3);  // (0, 1, 3) per row
  for (int f : {1, 2, 3, 4, 6}) {
    if (!fullSet && (f == 3 || f == 6)) continue;  // the small actuator has no codes there
    for (int i = 0; i < f * f; ++i) {
      const int r = steps[f][i / f], c = steps[f][order[f][i]];
      code[f][i] = fullSet && (f == 3 || f == 6) ? kGridB[r][c] : BYTE(fullSet ? 7 * r + c : 4 * r + c);
    }
  }
}

void ShiftTables::UseLinear() {
  for (int f : {4, 6})
    for (int i = 0; i < f * f; ++i) {
      order[f][i] = BYTE(i % f);
      code[f][i] = BYTE(10 * steps[f][i / f] + steps[f][i % f]);
    }
}

}  // namespace vexcam
