#include "FileList.h"

#include <windows.h>

#include <algorithm>

namespace testenv {

std::vector<std::string> Files(const std::string& pattern) {
  std::vector<std::string> out;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(pattern.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(found.cFileName);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace testenv
