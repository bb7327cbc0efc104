#include "PlaneSet.h"

namespace vexcam {

void ModeSlots(DWORD mode, int slots[4]) {
  int s[4] = {0, 1, 2, 3};
  if (mode & 0x8) {
    int t[4] = {s[2], s[3], s[0], s[1]};
    for (int i = 0; i < 4; ++i) s[i] = t[i];
  }
  if (mode & 0x4) {
    int t[4] = {s[1], s[0], s[3], s[2]};
    for (int i = 0; i < 4; ++i) s[i] = t[i];
  }
  if (mode & 0x10) {
    int t[4] = {s[1], s[3], s[0], s[2]};
    for (int i = 0; i < 4; ++i) s[i] = t[i];
  }
  for (int i = 0; i < 4; ++i) slots[i] = s[i];
}

static int PhaseOf(int v) {
  if (v < 0) v += 4;
  return (v / 2) & 1;
}

Phases SingleShotPhases(const PhaseTable& column, const PhaseTable& row, DWORD mode, int columnEntry, int rowEntry) {
  int cp[4], rp[4];
  for (int p = 0; p < 4; ++p) {
    cp[p] = PhaseOf(column[p][columnEntry / 6][columnEntry % 6]);
    rp[p] = PhaseOf(row[p][rowEntry / 6][rowEntry % 6]);
  }
  int slots[4];
  ModeSlots(mode, slots);
  Phases out;
  // Each plane takes the phases of the place it holds in the slot list.
  for (int j = 0; j < 4; ++j) {
    out.cp[slots[j]] = cp[j];
    out.rp[slots[j]] = rp[j];
  }
  return out;
}

}  // namespace vexcam
