// A CFile kept in memory: growing storage of its own, or a caller's buffer.
#pragma once
#include <vector>

#include "CFile.h"

class CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)

 public:
  // Empty; the storage grows in steps of nGrowBytes.
  explicit CMemFile(UINT nGrowBytes = 1024);
  // Over the caller's buffer, which must outlive the file. With nGrowBytes 0 the buffer
  // is the file's content and cannot grow (writing past it throws a memory exception);
  // otherwise the file starts empty and moves to storage of its own when it outgrows it.
  CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);

  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  LONG Seek(LONG lOff, UINT nFrom) override;
  DWORD GetPosition() const override { return m_nPosition; }
  DWORD GetLength() const override { return m_nFileSize; }
  void SetLength(DWORD dwNewLen) override;
  void Flush() override {}
  void Close() override;
  void Abort() override { Close(); }

 private:
  void Reserve(DWORD size);

  UINT m_nGrowBytes;
  DWORD m_nPosition = 0;
  DWORD m_nFileSize = 0;
  DWORD m_nBufferSize = 0;
  BYTE* m_lpBuffer = nullptr;  // m_owned's data, or the caller's buffer
  std::vector<BYTE> m_owned;
};
