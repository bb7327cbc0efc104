// SECFileSystem: path and file utilities; callers make one on the stack for one use.
#pragma once
#include <afx.h>

class SECFileSystem {
 public:
  SECFileSystem() = default;
  virtual ~SECFileSystem() = default;

  // The path up to and including its last backslash or slash; empty without either.
  CString GetPath(const CString& path) const;
};
