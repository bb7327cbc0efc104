// Beeps are not sounded; each call is recorded so tests can see that it was made.
#pragma once
#include <vector>

#include "WinTypes.h"

namespace plat::beeps {

struct Entry {
  bool messageBeep;  // MessageBeep(type), otherwise Beep(frequency, duration)
  UINT type;
  DWORD frequency;
  DWORD duration;
};

// The beeps since the last call, oldest first; clears the record.
std::vector<Entry> Take();

}  // namespace plat::beeps
