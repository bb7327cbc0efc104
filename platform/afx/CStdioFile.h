// A CFile read and written as lines. In text mode (the default) reading turns CR-LF
// into LF and stops at Ctrl-Z, and writing turns LF into CR-LF, as Windows does.
#pragma once
#include <vector>

#include "CFile.h"

class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)

 public:
  CStdioFile() = default;
  CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags);

  // typeBinary turns the translation off; typeText (or neither) keeps it on.
  BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;

  // One line without its line end; FALSE at the end of the file when nothing was read.
  virtual BOOL ReadString(CString& rString);
  // Up to nMax - 1 bytes, stopping after a line end (which is kept) and never inside a
  // character; NULL at the end of the file when nothing was read.
  virtual LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
  virtual void WriteString(LPCTSTR lpsz);

  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  LONG Seek(LONG lOff, UINT nFrom) override;
  DWORD GetPosition() const override;
  void SetLength(DWORD dwNewLen) override;
  void Flush() override;
  void Close() override;
  void Abort() override;

 private:
  // The next byte after translation, or -1 at the end; Peek leaves it unread.
  int Next();
  int Peek();
  int PeekRaw(size_t ahead);
  bool Fill(size_t wanted);
  // Gives back what was read ahead, so that the file position is the caller's again.
  void DropReadAhead();

  bool m_text = true;
  bool m_atEnd = false;  // Ctrl-Z met in text mode
  std::vector<char> m_ahead;
  size_t m_next = 0;
};
