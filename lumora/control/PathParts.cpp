#include "PathParts.h"

#include <string>

PathParts SplitPath(const CString& path) {
  std::string text = (LPCSTR)path;
  if (text.size() >= MAX_PATH) text.resize(MAX_PATH - 1);
  char drive[MAX_PATH], dir[MAX_PATH], base[MAX_PATH], ext[MAX_PATH];
  _splitpath(text.c_str(), drive, dir, base, ext);
  return {CString(drive) + dir, base, ext};
}

int PathExists(const CString& path) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(path, &found);
  if (h == INVALID_HANDLE_VALUE) return 0;
  FindClose(h);
  return 1;
}
