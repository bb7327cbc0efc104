// A Windows path taken apart: folder (drive and directory), base name and extension.
#pragma once
#include <afx.h>

struct PathParts {
  CString folder;     // drive and directory, with its final separator
  CString base;       // the name without extension
  CString extension;  // with its dot, or empty
};

PathParts SplitPath(const CString& path);
// 1 when the file finder finds the path (names match without regard to case), else 0.
int PathExists(const CString& path);
