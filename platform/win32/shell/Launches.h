// What ShellExecuteA opened, kept for tests. The opener is LUMORA_OPENER (default
// xdg-open); "none" records without running anything.
#pragma once
#include <string>
#include <vector>

namespace plat::shell {

struct Launch {
  std::string verb;    // "open" when none was given
  std::string target;  // as the caller named it
  std::string native;  // the native path (a URL stays as it is)
  bool ran = false;    // the opener was started
};

std::vector<Launch> Launches();
void ClearLaunches();

}  // namespace plat::shell
