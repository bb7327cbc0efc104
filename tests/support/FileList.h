// The files a wildcard pattern names on the stand-in's drives (folders left out), sorted.
#pragma once
#include <string>
#include <vector>

namespace testenv {

std::vector<std::string> Files(const std::string& pattern);

}  // namespace testenv
