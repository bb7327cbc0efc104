// SECFileSystem: path splitting and file tests. Callers make one on the stack for one
// use. Paths are Windows paths; the scans look for ASCII bytes only, which never occur
// inside a multi-byte character.
#pragma once
#include <afx.h>

#include <ctime>

class SECFileSystem : public CObject {
 public:
  SECFileSystem() = default;

  // The part after the last "\" or "/"; the whole path without either.
  CString GetFileName(const CString& path) const;
  // Up to and including the last "\" or "/"; empty without either. Without the drive,
  // the text up to and including the first ":" goes as well.
  CString GetPath(const CString& path, BOOL bIncludeDrive = TRUE) const;
  // After the file name's last "."; empty when it has none or ends with it.
  CString GetExtension(const CString& path) const;
  // The file name without its last "." and extension.
  CString GetBaseFileName(const CString& path) const;

  // TRUE when the path's status can be read: files, folders and drive roots.
  BOOL FileExists(const CString& path) const;
  BOOL DirectoryExists(const CString& path) const;
  BOOL GetFileCreateTime(const CString& path, time_t& created) const;
  BOOL GetFileSize(const CString& path, LONG& size) const;

  // The absolute form of a folder (empty when it cannot be made current); of "" the
  // current folder. The current folder and the error mode are as they were afterwards.
  CString GetFullPath(const CString& directory) const;

  int m_nMaxPath = 1024;  // buffer length for reading the current folder
};
