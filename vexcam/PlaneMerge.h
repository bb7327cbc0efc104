// Filling the colour planes from stored sub-frames: the plane fill through the level
// tables, the merge of a pixel-shift capture's sub-frames, and the placement of one
// continuous-capture frame.
#pragma once
#include "PlaneSet.h"

namespace vexcam {

// The raw line store of a multi-frame capture: 36 blocks of 516 rows (block = column
// step + 6 x row step), each row one 32-bit word per 2 x 2 cell.
struct SubFrameStore {
  static constexpr LONG kBlocks = 36, kBlockRows = 516;
  const BYTE* const* row = nullptr;  // kBlocks * kBlockRows entries; null rows are empty
  LONG rowBytes = 0;
  const BYTE* Row(LONG block, LONG r) const {
    if (!row || block < 0 || block >= kBlocks || r < 0 || r >= kBlockRows) return nullptr;
    return row[block * kBlockRows + r];
  }
};

using LevelTables = BYTE[3][4][256];
using StepTable = BYTE[7][36];  // [grid size][sub-frame] column step

struct MergeJob {
  PlaneSet planes;
  PlaneRoles roles;
  SubFrameStore frames;
  const PhaseTable* column = nullptr;
  const PhaseTable* row = nullptr;
  const StepTable* steps = nullptr;
  const LevelTables* lut = nullptr;
  int lanes[4] = {0, 1, 2, 3};
  LONG maxWidth = 0, maxHeight = 0;
  DWORD mode = 0;
  LONG tranMode = 0;
  LONG cameraVer = 0;
  LONG gainLv = 0;
};

LONG PlanesFromSubFrame(const MergeJob& job, LONG columnStep, LONG rowStep, LONG rowLength, LONG rows);
void MergeSubFrames(const MergeJob& job, LONG positions, LONG scale, LONG width, LONG height);
void MergeSubFramesLut(const MergeJob& job, LONG positions, LONG scale, LONG width, LONG height);
void MergeSubFrame(const MergeJob& job, LONG width, LONG height, LONG grid, LONG subFrame);
void MergeSubFrameLut(const MergeJob& job, LONG width, LONG height, LONG grid, LONG subFrame);
void MergeContinuousFrame(const MergeJob& job, LONG columnStep, LONG rowStep, LONG scale, LONG width, LONG height);

// Grid size for a position count (0 for counts that merge nothing).
LONG GridForPositions(LONG positions);

}  // namespace vexcam
