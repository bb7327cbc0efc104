// Walks the files that match a name or pattern. FindFile finds the first match;
// each FindNextFile moves to the next one and answers FALSE when that one is the last,
// so the found file's details are read after FindNextFile.
#pragma once
#include "AfxCoreTypes.h"
#include "CTime.h"
#include "WinFile.h"

class CFileFind : public CObject {
  DECLARE_DYNAMIC(CFileFind)

 public:
  CFileFind() = default;
  ~CFileFind() override { Close(); }

  // NULL looks for "*.*" in the current folder.
  virtual BOOL FindFile(LPCTSTR pstrName = nullptr, DWORD dwUnused = 0);
  virtual BOOL FindNextFile();
  void Close();

  CString GetFileName() const;
  CString GetFilePath() const;
  CString GetFileTitle() const;  // the name without its extension
  CString GetRoot() const { return m_strRoot; }
  DWORD GetLength() const { return m_found.nFileSizeLow; }
  BOOL GetLastWriteTime(CTime& refTime) const;
  BOOL MatchesMask(DWORD dwMask) const { return (m_found.dwFileAttributes & dwMask) != 0; }
  BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
  BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
  BOOL IsDots() const;

 private:
  HANDLE m_hContext = INVALID_HANDLE_VALUE;
  bool m_bGotNext = false;
  WIN32_FIND_DATAA m_next{};
  WIN32_FIND_DATAA m_found{};
  CString m_strRoot;
};
