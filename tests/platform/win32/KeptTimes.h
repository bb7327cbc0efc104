// Creation times live in an extended attribute; a scratch folder on a file system
// without user attributes cannot keep them, and tests of that skip.
#pragma once
#include <sys/xattr.h>

#include <fstream>
#include <string>

#include "TestEnv.h"

inline bool CanKeepCreationTimes() {
  std::string probe = testenv::DriveC() + "/.xattr-probe";
  std::ofstream(probe) << "";
  bool ok = setxattr(probe.c_str(), "user.lumora.probe", "1", 1, 0) == 0;
  std::remove(probe.c_str());
  return ok;
}
