#include "CFile.h"

#include <cstring>
#include <memory>
#include <string>

#include "LastError.h"
#include "WinError.h"
#include "WinFile.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

namespace {

// 100-nanosecond steps between 1601-01-01 and 1970-01-01.
constexpr long long kFileTimeEpoch = 116444736000000000LL;

FILETIME ToFileTime(const CTime& time) {
  auto ticks = static_cast<unsigned long long>(time.GetTime() * 10000000LL + kFileTimeEpoch);
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// A time the file system left unset reads as the last write time.
void FillTimes(CFileStatus& status, const FILETIME& created, const FILETIME& accessed, const FILETIME& written) {
  status.m_ctime = CTime(created);
  status.m_atime = CTime(accessed);
  status.m_mtime = CTime(written);
  if (created.dwLowDateTime == 0 && created.dwHighDateTime == 0) status.m_ctime = status.m_mtime;
  if (accessed.dwLowDateTime == 0 && accessed.dwHighDateTime == 0) status.m_atime = status.m_mtime;
}

void CopyName(TCHAR (&out)[MAX_PATH], LPCTSTR name) {
  std::strncpy(out, name ? name : "", MAX_PATH - 1);
  out[MAX_PATH - 1] = '\0';
}

// The full path of a name, or empty when it has none.
std::string FullPath(LPCTSTR name) {
  char buffer[MAX_PATH];
  DWORD n = GetFullPathNameA(name, MAX_PATH, buffer, nullptr);
  return n == 0 || n >= MAX_PATH ? std::string() : std::string(buffer, n);
}

struct HandleCloser {
  void operator()(void* h) const { CloseHandle(h); }
};

}  // namespace

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile() {
  if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete) Abort();
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  m_bCloseOnDelete = FALSE;
  m_hFile = INVALID_HANDLE_VALUE;
  m_strFileName.Empty();
  auto fail = [&](LONG error) {
    if (pError) {
      pError->m_lOsError = error;
      pError->m_cause = CFileException::OsErrorToException(error);
      pError->m_strFileName = lpszFileName ? lpszFileName : "";
    }
    return FALSE;
  };
  std::string full = lpszFileName && *lpszFileName ? FullPath(lpszFileName) : std::string();
  if (full.empty()) return fail(lpszFileName && *lpszFileName && GetLastError() ? GetLastError() : ERROR_PATH_NOT_FOUND);
  m_strFileName = full.c_str();

  DWORD access = 0;
  switch (nOpenFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default: return fail(ERROR_INVALID_PARAMETER);
  }
  DWORD share = 0;
  switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: return fail(ERROR_INVALID_PARAMETER);
  }
  DWORD disposition = OPEN_EXISTING;
  if (nOpenFlags & modeCreate) disposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

  HANDLE h = CreateFileA(lpszFileName, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    LONG error = static_cast<LONG>(GetLastError());
    m_strFileName.Empty();
    return fail(error);
  }
  m_hFile = h;
  m_bCloseOnDelete = TRUE;
  return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  DWORD done = 0;
  if (!ReadFile(m_hFile, lpBuf, nCount, &done, nullptr)) CFileException::ThrowOsError(GetLastError(), m_strFileName);
  return done;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  DWORD done = 0;
  if (!WriteFile(m_hFile, lpBuf, nCount, &done, nullptr)) CFileException::ThrowOsError(GetLastError(), m_strFileName);
  // A short write means the disk is full.
  if (done != nCount) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

LONG CFile::Seek(LONG lOff, UINT nFrom) {
  SetLastError(NO_ERROR);
  DWORD pos = SetFilePointer(m_hFile, lOff, nullptr, nFrom);
  if (pos == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
    CFileException::ThrowOsError(GetLastError(), m_strFileName);
  return static_cast<LONG>(pos);
}

DWORD CFile::GetPosition() const {
  SetLastError(NO_ERROR);
  DWORD pos = SetFilePointer(m_hFile, 0, nullptr, FILE_CURRENT);
  if (pos == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
    CFileException::ThrowOsError(GetLastError(), m_strFileName);
  return pos;
}

DWORD CFile::GetLength() const {
  SetLastError(NO_ERROR);
  DWORD size = GetFileSize(m_hFile, nullptr);
  if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
    CFileException::ThrowOsError(GetLastError(), m_strFileName);
  return size;
}

void CFile::SetLength(DWORD dwNewLen) {
  Seek(static_cast<LONG>(dwNewLen), begin);
  if (!SetEndOfFile(m_hFile)) CFileException::ThrowOsError(GetLastError(), m_strFileName);
}

void CFile::Flush() {
  if (m_hFile == INVALID_HANDLE_VALUE) return;
  if (!FlushFileBuffers(m_hFile)) CFileException::ThrowOsError(GetLastError(), m_strFileName);
}

void CFile::Close() {
  CString name = m_strFileName;
  BOOL failed = FALSE;
  if (m_hFile != INVALID_HANDLE_VALUE) failed = !CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
  if (failed) CFileException::ThrowOsError(GetLastError(), name);
}

void CFile::Abort() {
  if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
  m_bCloseOnDelete = FALSE;
  m_strFileName.Empty();
}

CString CFile::GetFileName() const {
  int cut = -1;
  for (int i = 0; i < m_strFileName.GetLength(); ++i) {
    char c = m_strFileName[i];
    if (c == '\\' || c == '/' || c == ':') cut = i;
  }
  return m_strFileName.Mid(cut + 1);
}

CString CFile::GetFileTitle() const {
  char title[MAX_PATH];
  if (::GetFileTitleA(m_strFileName, title, MAX_PATH) != 0) return CString();
  return CString(title);
}

CString CFile::GetFilePath() const { return m_strFileName; }

void CFile::SetFilePath(LPCTSTR lpszNewName) { m_strFileName = lpszNewName; }

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
  rStatus = CFileStatus{};
  CopyName(rStatus.m_szFullName, m_strFileName);
  if (m_hFile == INVALID_HANDLE_VALUE) return TRUE;
  FILETIME created, accessed, written;
  if (!GetFileTime(m_hFile, &created, &accessed, &written)) return FALSE;
  SetLastError(NO_ERROR);
  DWORD size = GetFileSize(m_hFile, nullptr);
  if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return FALSE;
  rStatus.m_size = static_cast<LONG>(size);
  DWORD attributes = m_strFileName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(m_strFileName);
  rStatus.m_attribute = attributes == INVALID_FILE_ATTRIBUTES ? 0 : static_cast<BYTE>(attributes & ~FILE_ATTRIBUTE_NORMAL);
  FillTimes(rStatus, created, accessed, written);
  return TRUE;
}

BOOL PASCAL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus) {
  rStatus = CFileStatus{};
  if (!lpszFileName || !*lpszFileName) return FALSE;
  // A pattern would report some other file that matches it.
  if (std::strpbrk(lpszFileName, "*?")) {
    SetLastError(ERROR_INVALID_NAME);
    return FALSE;
  }
  std::string full = FullPath(lpszFileName);
  if (full.empty()) return FALSE;
  CopyName(rStatus.m_szFullName, full.c_str());
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA(lpszFileName, &found);
  if (find == INVALID_HANDLE_VALUE) {
    rStatus.m_szFullName[0] = '\0';
    return FALSE;
  }
  FindClose(find);
  rStatus.m_attribute = static_cast<BYTE>(found.dwFileAttributes & ~FILE_ATTRIBUTE_NORMAL);
  rStatus.m_size = static_cast<LONG>(found.nFileSizeLow);
  FillTimes(rStatus, found.ftCreationTime, found.ftLastAccessTime, found.ftLastWriteTime);
  return TRUE;
}

void PASCAL CFile::SetStatus(LPCTSTR lpszFileName, const CFileStatus& status) {
  DWORD current = GetFileAttributesA(lpszFileName);
  if (current == INVALID_FILE_ATTRIBUTES) CFileException::ThrowOsError(GetLastError(), lpszFileName);
  bool changeAttributes = status.m_attribute != (current & ~FILE_ATTRIBUTE_NORMAL);
  // A read-only file must lose that bit before its times can be written.
  if (changeAttributes && (current & FILE_ATTRIBUTE_READONLY)) {
    if (!SetFileAttributesA(lpszFileName, status.m_attribute)) CFileException::ThrowOsError(GetLastError(), lpszFileName);
  }
  if (status.m_mtime.GetTime() != 0) {
    FILETIME written = ToFileTime(status.m_mtime);
    FILETIME accessed = ToFileTime(status.m_atime);
    FILETIME created = ToFileTime(status.m_ctime);
    std::unique_ptr<void, HandleCloser> file(CreateFileA(lpszFileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
      file.release();
      CFileException::ThrowOsError(GetLastError(), lpszFileName);
    }
    if (!SetFileTime(file.get(), status.m_ctime.GetTime() != 0 ? &created : nullptr,
                     status.m_atime.GetTime() != 0 ? &accessed : nullptr, &written))
      CFileException::ThrowOsError(GetLastError(), lpszFileName);
    if (!CloseHandle(file.release())) CFileException::ThrowOsError(GetLastError(), lpszFileName);
  }
  if (changeAttributes && !(current & FILE_ATTRIBUTE_READONLY)) {
    if (!SetFileAttributesA(lpszFileName, status.m_attribute)) CFileException::ThrowOsError(GetLastError(), lpszFileName);
  }
}

void PASCAL CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName) {
  if (!MoveFileA(lpszOldName, lpszNewName)) CFileException::ThrowOsError(GetLastError(), lpszOldName);
}

void PASCAL CFile::Remove(LPCTSTR lpszFileName) {
  if (!DeleteFileA(lpszFileName)) CFileException::ThrowOsError(GetLastError(), lpszFileName);
}
