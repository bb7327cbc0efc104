#include "CFileException.h"

#include <cerrno>
#include <memory>
#include <utility>

#include "WinError.h"

IMPLEMENT_DYNAMIC(CFileException, CException)

CFileException::CFileException(int cause, LONG lOsError, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName ? lpszArchiveName : "") {}

int PASCAL CFileException::OsErrorToException(LONG lOsError) {
  static const std::pair<LONG, int> kMap[] = {
      {NO_ERROR, none},
      {ERROR_FILE_NOT_FOUND, fileNotFound},
      {ERROR_PATH_NOT_FOUND, badPath},
      {ERROR_TOO_MANY_OPEN_FILES, tooManyOpenFiles},
      {ERROR_ACCESS_DENIED, accessDenied},
      {ERROR_INVALID_HANDLE, fileNotFound},
      {ERROR_INVALID_DRIVE, badPath},
      {ERROR_CURRENT_DIRECTORY, removeCurrentDir},
      {ERROR_NOT_SAME_DEVICE, badPath},
      {ERROR_NO_MORE_FILES, fileNotFound},
      {ERROR_WRITE_PROTECT, accessDenied},
      {ERROR_NOT_READY, hardIO},
      {ERROR_CRC, hardIO},
      {ERROR_SEEK, badSeek},
      {ERROR_WRITE_FAULT, accessDenied},
      {ERROR_READ_FAULT, badSeek},
      {ERROR_GEN_FAILURE, hardIO},
      {ERROR_SHARING_VIOLATION, sharingViolation},
      {ERROR_LOCK_VIOLATION, lockViolation},
      {ERROR_HANDLE_EOF, endOfFile},
      {ERROR_HANDLE_DISK_FULL, diskFull},
      {ERROR_FILE_EXISTS, accessDenied},
      {ERROR_DISK_FULL, diskFull},
      {ERROR_INVALID_NAME, badPath},
      {ERROR_NEGATIVE_SEEK, badSeek},
      {ERROR_DIR_NOT_EMPTY, removeCurrentDir},
      {ERROR_BAD_PATHNAME, badPath},
      {ERROR_BUSY, accessDenied},
      {ERROR_ALREADY_EXISTS, accessDenied},
      {ERROR_BAD_EXE_FORMAT, invalidFile},
      {ERROR_FILENAME_EXCED_RANGE, badPath},
      {ERROR_DIRECTORY, badPath},
      {ERROR_OPERATION_ABORTED, hardIO},
      {ERROR_IO_INCOMPLETE, hardIO},
      {ERROR_IO_PENDING, hardIO},
  };
  for (const auto& [error, cause] : kMap)
    if (error == lOsError) return cause;
  return generic;
}

int PASCAL CFileException::ErrnoToException(int nErrno) {
  switch (nErrno) {
    case 0: return none;
    case EPERM:
    case EACCES:
    case EROFS:
    case EEXIST: return accessDenied;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EISDIR:
    case EXDEV:
    case EINVAL: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EBADF: return invalidFile;
    case ENOTEMPTY:
    case EBUSY: return removeCurrentDir;
    case ESPIPE: return badSeek;
    case EIO: return hardIO;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFull;
    case EDEADLK: return lockViolation;
    default: return generic;
  }
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCTSTR lpszFileName) {
  AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void PASCAL CFileException::ThrowErrno(int nErrno, LPCTSTR lpszFileName) {
  AfxThrowFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  static const char* const kTexts[] = {
      "No error occurred.",
      "An unexpected error occurred while accessing %s.",
      "%s was not found.",
      "%s contains an incorrect path.",
      "%s could not be opened because there are too many open files.",
      "Access to %s was denied.",
      "An incorrect file handle was associated with %s.",
      "%s could not be removed because it is the current directory.",
      "%s could not be created because the directory is full.",
      "Seek failed on %s.",
      "A hardware I/O error was reported while accessing %s.",
      "A sharing violation occurred while accessing %s.",
      "A locking violation occurred while accessing %s.",
      "Disk full while accessing %s.",
      "An attempt was made to access %s past its end.",
  };
  const char* form = (m_cause >= 0 && m_cause <= endOfFile) ? kTexts[m_cause] : kTexts[generic];
  return plat::afx::CopyErrorText(form, m_strFileName, lpszError, nMaxError);
}

void AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName) {
  THROW(std::make_unique<CFileException>(cause, lOsError, lpszFileName).release());
}
