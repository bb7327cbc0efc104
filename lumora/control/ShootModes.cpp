#include "ShootModes.h"

namespace shootmodes {
namespace {

constexpr tShootMode kModes[kRows] = {
    {0, 5, 3840, 3072, {0, 0, 3840, 3072}, 6},  {1, 5, 3600, 2880, {0, 0, 3600, 2880}, 6},
    {2, 5, 3204, 2562, {2, 1, 3202, 2561}, 6},  {3, 5, 2562, 2052, {1, 2, 2561, 2050}, 6},
    {4, 5, 2252, 1800, {1, 0, 2251, 1800}, 6},  {5, 5, 1602, 1200, {1, 0, 1601, 1200}, 6},
    {6, 5, 1284, 1026, {2, 1, 1282, 1025}, 6},  {7, 5, 1026, 768, {1, 0, 1025, 768}, 6},
    {8, 5, 804, 600, {2, 0, 802, 600}, 6},      {9, 5, 642, 480, {1, 0, 641, 480}, 6},
    {10, 2, 1280, 1024, {0, 0, 1280, 1024}, 2}, {11, 2, 1024, 768, {0, 0, 1024, 768}, 2},
    {12, 2, 800, 600, {0, 0, 800, 600}, 2},     {13, 2, 640, 480, {0, 0, 640, 480}, 2},
};

constexpr SIZE kShadingHalf[kRows] = {
    {1920, 1536}, {1800, 1440}, {1600, 1280}, {1280, 1024}, {1126, 900}, {800, 600}, {640, 512},
    {512, 384},   {400, 300},   {320, 240},   {640, 512},   {512, 384},  {400, 300}, {320, 240},
};

}  // namespace

const tShootMode* Find(LONG row) { return row >= 0 && row < kRows ? &kModes[row] : nullptr; }

bool ShadingHalfSize(LONG row, SIZE* half) {
  if (row < 0 || row >= kRows) return false;
  *half = kShadingHalf[row];
  return true;
}

LONG AreaPixels(LONG row) {
  const tShootMode* m = Find(row);
  return m ? (m->area.right - m->area.left) * (m->area.bottom - m->area.top) : 0;
}

}  // namespace shootmodes
