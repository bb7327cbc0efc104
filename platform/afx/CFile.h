// A file opened through the Win32 file API. Failures throw CFileException, except Open,
// which answers FALSE and describes the failure in the caller's exception object.
#pragma once
#include "AfxCoreTypes.h"
#include "CFileException.h"
#include "CTime.h"
#include "WinFile.h"  // GetFileTitle is a macro there, as in Windows

struct CFileStatus {
  CTime m_ctime;      // creation
  CTime m_mtime;      // last write
  CTime m_atime;      // last access
  LONG m_size;        // bytes (the low 32 bits)
  BYTE m_attribute;   // CFile::Attribute bits
  BYTE _m_padding;
  TCHAR m_szFullName[MAX_PATH];
};

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)

 public:
  enum OpenFlags {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,    // CStdioFile only
    typeBinary = 0x8000,  // CStdioFile only
  };
  enum Attribute { normal = 0x00, readOnly = 0x01, hidden = 0x02, system = 0x04, volume = 0x08, directory = 0x10, archive = 0x20 };
  enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

  // What m_hFile holds while no file is open.
  static inline const HANDLE hFileNull = INVALID_HANDLE_VALUE;

  CFile();
  explicit CFile(HANDLE hFile);  // attached: not closed by the destructor
  CFile(LPCTSTR lpszFileName, UINT nOpenFlags);
  // Closes an open file quietly; call Close to see its errors.
  ~CFile() override;

  operator HANDLE() const { return m_hFile; }

  virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual LONG Seek(LONG lOff, UINT nFrom);
  void SeekToBegin() { Seek(0, begin); }
  DWORD SeekToEnd() { return static_cast<DWORD>(Seek(0, end)); }
  virtual DWORD GetPosition() const;
  virtual DWORD GetLength() const;
  virtual void SetLength(DWORD dwNewLen);
  virtual void Flush();
  virtual void Close();
  virtual void Abort();

  virtual CString GetFileName() const;   // "x.txt" of "C:\dir\x.txt"
  virtual CString GetFileTitle() const;  // as GetFileTitle shows it
  virtual CString GetFilePath() const;   // the full path
  virtual void SetFilePath(LPCTSTR lpszNewName);

  BOOL GetStatus(CFileStatus& rStatus) const;
  static BOOL PASCAL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);
  // Sets the times that are not 0 (only when the write time is set) and the attributes.
  static void PASCAL SetStatus(LPCTSTR lpszFileName, const CFileStatus& status);
  static void PASCAL Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName);
  static void PASCAL Remove(LPCTSTR lpszFileName);

  HANDLE m_hFile;

 protected:
  BOOL m_bCloseOnDelete;
  CString m_strFileName;
};
