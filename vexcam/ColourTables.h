// The measured colour tables of model 0xA, one set for the library: per gain level the
// offsets of each colour position at six exposure steps, and the exposures of the steps.
// White balance measures them and keeps them in the library's INI file; configuring the
// camera reads them back.
#pragma once
#include "WinTypes.h"

struct LevelColourTables {
  double ColorOffsetTable[3][4][6];
  LONG StepExposureTable[3][16];
};

LevelColourTables& ColourTables();

// Reads both tables of every gain level from the INI file at `iniPath`; levels that hold
// a measurement (entry (level, 0, 0) above -1) have their reference levels clamped to
// 0..255 and their offsets to -255..255, so curve indices stay inside the level tables.
// Answers the bit set of levels that hold one.
int LoadColourTables(const char* iniPath, int referencePosition);
