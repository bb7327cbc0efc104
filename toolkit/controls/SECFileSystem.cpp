#include "SECFileSystem.h"

CString SECFileSystem::GetPath(const CString& path) const {
  int last = path.ReverseFind('\\');
  int slash = path.ReverseFind('/');
  if (slash > last) last = slash;
  return last < 0 ? CString() : path.Left(last + 1);
}
