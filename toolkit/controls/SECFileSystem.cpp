#include "SECFileSystem.h"

#include <crt.h>

#include <vector>

namespace {

int LastSeparator(const CString& path) {
  int backslash = path.ReverseFind('\\');
  int slash = path.ReverseFind('/');
  return backslash > slash ? backslash : slash;
}

}  // namespace

CString SECFileSystem::GetFileName(const CString& path) const {
  int last = LastSeparator(path);
  return last < 0 ? path : path.Mid(last + 1);
}

CString SECFileSystem::GetPath(const CString& path, BOOL bIncludeDrive) const {
  int last = LastSeparator(path);
  if (last < 0) return CString();
  CString folder = path.Left(last + 1);
  if (!bIncludeDrive) {
    int colon = folder.Find(':');
    if (colon >= 0) folder = folder.Mid(colon + 1);
  }
  return folder;
}

CString SECFileSystem::GetExtension(const CString& path) const {
  CString name = GetFileName(path);
  int dot = name.ReverseFind('.');
  if (dot < 0 || dot == name.GetLength() - 1) return CString();
  return name.Mid(dot + 1);
}

CString SECFileSystem::GetBaseFileName(const CString& path) const {
  CString name = GetFileName(path);
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

BOOL SECFileSystem::FileExists(const CString& path) const {
  struct _stat status;
  return _stat(path, &status) == 0;
}

BOOL SECFileSystem::DirectoryExists(const CString& path) const {
  DWORD attributes = ::GetFileAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

BOOL SECFileSystem::GetFileCreateTime(const CString& path, time_t& created) const {
  struct _stat status;
  if (_stat(path, &status) != 0) return FALSE;
  created = status.st_ctime;
  return TRUE;
}

BOOL SECFileSystem::GetFileSize(const CString& path, LONG& size) const {
  struct _stat status;
  if (_stat(path, &status) != 0) return FALSE;
  size = status.st_size;
  return TRUE;
}

CString SECFileSystem::GetFullPath(const CString& directory) const {
  UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
  std::vector<char> buffer(static_cast<size_t>(m_nMaxPath > 0 ? m_nMaxPath : 1));
  // The folder to come back to. Threads and dialogs share the current folder, so it is
  // put back exactly; only when it has gone meanwhile does its drive's root stand in.
  CString previous;
  if (_getcwd(buffer.data(), m_nMaxPath) != nullptr) previous = buffer.data();
  CString root;
  root.Format("%c:\\", 'A' + _getdrive() - 1);

  CString result;
  if (directory.IsEmpty() || _chdir(directory) == 0) {
    if (_getcwd(buffer.data(), m_nMaxPath) != nullptr) result = buffer.data();
    if (!directory.IsEmpty() && (previous.IsEmpty() || _chdir(previous) != 0)) _chdir(root);
  }
  ::SetErrorMode(oldMode);
  return result;
}
