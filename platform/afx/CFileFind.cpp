#include "CFileFind.h"

#include <cstring>

#include "LastError.h"

IMPLEMENT_DYNAMIC(CFileFind, CObject)

BOOL CFileFind::FindFile(LPCTSTR pstrName, DWORD) {
  Close();
  const char* pattern = pstrName && *pstrName ? pstrName : "*.*";
  char full[MAX_PATH];
  char* filePart = nullptr;
  DWORD n = GetFullPathNameA(pattern, MAX_PATH, full, &filePart);
  if (n == 0 || n >= MAX_PATH) return FALSE;
  m_hContext = ::FindFirstFileA(pattern, &m_next);
  if (m_hContext == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    Close();
    SetLastError(error);
    return FALSE;
  }
  // The folder of the pattern; a drive's root keeps its backslash.
  size_t rootLength = filePart ? static_cast<size_t>(filePart - full) : std::strlen(full);
  if (rootLength > 3 && (full[rootLength - 1] == '\\' || full[rootLength - 1] == '/')) --rootLength;
  m_strRoot = CString(full, static_cast<int>(rootLength));
  m_bGotNext = true;
  return TRUE;
}

BOOL CFileFind::FindNextFile() {
  if (m_hContext == INVALID_HANDLE_VALUE || !m_bGotNext) return FALSE;
  m_found = m_next;
  m_bGotNext = ::FindNextFileA(m_hContext, &m_next) != FALSE;
  return m_bGotNext ? TRUE : FALSE;
}

void CFileFind::Close() {
  if (m_hContext != INVALID_HANDLE_VALUE) FindClose(m_hContext);
  m_hContext = INVALID_HANDLE_VALUE;
  m_bGotNext = false;
  m_found = WIN32_FIND_DATAA{};
  m_strRoot.Empty();
}

CString CFileFind::GetFileName() const { return CString(m_found.cFileName); }

CString CFileFind::GetFilePath() const {
  CString path = m_strRoot;
  int n = path.GetLength();
  if (n > 0 && path[n - 1] != '\\' && path[n - 1] != '/') path += '\\';
  return path + m_found.cFileName;
}

CString CFileFind::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot > 0 ? name.Left(dot) : name;
}

BOOL CFileFind::GetLastWriteTime(CTime& refTime) const {
  if (m_hContext == INVALID_HANDLE_VALUE) return FALSE;
  refTime = CTime(m_found.ftLastWriteTime);
  return TRUE;
}

BOOL CFileFind::IsDots() const {
  return IsDirectory() && (std::strcmp(m_found.cFileName, ".") == 0 || std::strcmp(m_found.cFileName, "..") == 0);
}
